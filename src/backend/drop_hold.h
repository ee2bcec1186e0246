#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QTimer>

#include <chrono>
#include <functional>
#include <optional>

class QMouseEvent;
class QPointingDevice;

namespace backend {

// Holds back the drop at the end of Holdfin's own drag while the destination is still reading
// its data. Some destinations read between the button's release and the drop: KWin hands a
// Wayland window the drop at the release, and once the X source's drop arrives it ends the
// drag for good, after answering only the reads it had seen by then; the window's later reads
// get nothing. Held, the drop follows once the reads have paused for `quiet`, after `firstRead`
// when none came (mutter's windows read only after the drop), and never later than `bound`
// after the release (KWin gives up on a drop 2 s after it).
//
// Installed on the application after Qt's drag has installed its own filter, so it sees the
// release first: it keeps it, and hands it on to Qt's drag when the hold ends. Pointer moves in
// between are dropped, so the drop lands where the button was released. GUI thread only.
class DropHold final : public QObject {
    Q_OBJECT
public:
    struct Timing {
        std::chrono::milliseconds firstRead{60};
        std::chrono::milliseconds quiet{150};
        std::chrono::milliseconds bound{1500};
    };

    // `isReadingEarly` is asked at the release: whether the destination reads before the drop.
    DropHold(std::function<bool()> isReadingEarly, Timing timing, QObject* parent = nullptr);
    ~DropHold() override;

    // Watches the application's input from now on.
    void install();
    // The destination asked for the drag's data.
    void noteRead();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool isHolding() const { return m_release.has_value(); }
    // Holds `release` when the destination reads early; whether it did.
    bool holdRelease(QObject* receiver, const QMouseEvent& release);
    void letGo();

    std::function<bool()> m_isReadingEarly;
    Timing m_timing;
    QTimer m_quiet;
    QTimer m_bound;
    QElapsedTimer m_sinceRead;
    // What the release said: an event's positions change with the device's next event.
    struct Release {
        QPointF position;
        QPointF globalPosition;
        Qt::MouseButton button;
        Qt::MouseButtons buttons;
        Qt::KeyboardModifiers modifiers;
        QPointer<const QPointingDevice> device;
        QPointer<QObject> receiver;
    };
    std::optional<Release> m_release;
    bool m_isDone = false;
};

} // namespace backend
