#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QStringList>
#include <QWidget>

namespace backend {
class WindowSystem;
}

namespace panel {

// The shelf's floating panel: frameless, above ordinary windows, on every desktop, out of
// taskbar and pager, and not the focus or active window, even when clicked; showing it never
// activates Holdfin. Only when asked to take the keyboard focus (a shelf the user asked to see)
// does it become active, until it lets the focus go. It draws nothing itself: its content
// paints the shelf's background.
//
// Once shown, its window stays mapped for good: dismissed, it waits entirely outside the
// screens, and presenting it moves it back. Drag sources that keep their own copy of the
// window tree from the start of a drag learn of a move, but never of a window mapped (and
// framed anew by the window manager) after that start.
class NonActivatingPanel final : public QWidget {
    Q_OBJECT
public:
    // Creates the native window at once (its first show is then cheap). `windowSystem` may
    // be null.
    NonActivatingPanel(const QRect& frame, backend::WindowSystem* windowSystem,
                       QWidget* parent = nullptr);

    // Puts the panel at its frame, in front of other windows, without activating Holdfin;
    // a panel without content stays out of sight until it gets some.
    void present();
    // Takes the panel out of sight and reach; its content and all of its state stay.
    void dismiss();
    // Whether the panel was presented and not dismissed since.
    bool isPresented() const { return m_isPresented; }

    // Lets the panel take the keyboard focus and asks for it to be the active window, so that
    // it can be used without a pointer; it keeps taking the focus until releaseFocus().
    void takeFocus();
    // Makes the panel refuse the focus again; if it is the active window, another
    // application's window becomes active. Nothing while it is not taking the focus.
    void releaseFocus();
    bool isTakingFocus() const { return m_isTakingFocus; }

    // Where the panel sits while presented; moves it there at once if it is.
    void setFrame(const QRect& frame);
    QRect frame() const { return m_frame; }
    // Where the dismissed panel waits: `frame` moved left until it lies wholly outside the
    // virtual desktop that `desktop` spans (the bounding rectangle of all screens).
    static QRect dismissedFrame(const QRect& frame, const QRect& desktop);

    // Makes `content` (owned from now on) fill the panel, replacing and deleting any previous one.
    void setContentView(QWidget* content);
    QWidget* contentView() const { return m_content; }

    // MIME types the panel takes drops of: file URLs and URLs, PNG images, text and PDF.
    static const QStringList& registeredDraggedTypes();
    static bool offersRegisteredType(const QStringList& formats);

    void setVisible(bool visible) override;

signals:
    void presented();
    void dismissed();

protected:
    void moveEvent(QMoveEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QRect wantedGeometry() const;
    void place();

    backend::WindowSystem* m_windowSystem;
    QWidget* m_content = nullptr;
    QRect m_frame;
    bool m_isPresented = false;
    bool m_isTakingFocus = false;
    QList<QPoint> m_askedPositions; // the places last asked for, the latest last
};

} // namespace panel
