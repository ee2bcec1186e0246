#pragma once

#include <QStringList>
#include <QWidget>

namespace backend {
class WindowSystem;
}

namespace panel {

// The shelf's floating panel: frameless, above ordinary windows, on every desktop, out of
// taskbar and pager, and never the focus or active window, even when clicked; showing it never
// activates Holdfin. It draws nothing itself: its content paints the shelf's background.
class NonActivatingPanel final : public QWidget {
    Q_OBJECT
public:
    // Creates the native window at once (its first show is then cheap). `windowSystem` may
    // be null.
    NonActivatingPanel(const QRect& frame, backend::WindowSystem* windowSystem,
                       QWidget* parent = nullptr);

    // Shows the panel and puts it in front of other windows, without activating Holdfin.
    void present();
    // Hides the panel; its content and all of its state stay.
    void dismiss();

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
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    backend::WindowSystem* m_windowSystem;
    QWidget* m_content = nullptr;
};

} // namespace panel
