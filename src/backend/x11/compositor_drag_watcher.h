#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QTimer>

#include <chrono>
#include <cstdint>

namespace backend::x11 {

class X11Connection;
class X11DragSelection;
class X11GlobalEventMonitor;

// Native Wayland drags, seen from XWayland. They send X clients no input at all, and nothing
// on the X side marks their end, so the drag monitor's input-driven rule would never see one:
// this watcher reports a left-button drag at their start (once the drag selection knows the
// compositor's drag) and a left-button release at their end. The end is the first of: a drop
// on one of Holdfin's windows, the next owner of XdndSelection, the compositor no longer
// answering TARGETS (polled every `pollInterval` while such a drag is on, where it answered
// at the start: mutter; at once after an XdndLeave), or `timeBound` without news of the drag
// where nothing can be polled (KWin).
//
// KWin tells an X client of its drag only while the drag is over one of the client's windows:
// XdndEnter as it enters, XdndPosition as it moves, XdndLeave as it leaves, and it makes that
// window the active one for the time. Away from them there is nothing: no selection request
// or owner change, no property change, no window made or destroyed, the pointer as X last saw
// it, even when the drag ends over a Wayland window. A drag that left the shelf may come back,
// then, and one that never reached it may still: the shelf stays for the bound after the last news.
// KWin hands a drop's data only to the active X window: while such a drag is on, the window it
// entered accepts focus and asks to be activated at each entry, and takes neither once the drag is
// over. Idle otherwise. GUI thread only.
class CompositorDragWatcher final : public QObject, private QAbstractNativeEventFilter {
    Q_OBJECT
public:
    // mutter answers a poll within a millisecond and refuses once its drag is over; a poll
    // left unanswered for answerBound counts as the end too (a busy machine is slow to answer).
    // timeBound outlasts a drag that lingers several seconds over a Wayland window before it
    // comes to the shelf.
    struct Timing {
        std::chrono::milliseconds pollInterval{80};
        std::chrono::milliseconds answerBound{1000};
        std::chrono::milliseconds timeBound{8000};
    };

    // All three must outlive the watcher; it listens on `connection` and to Qt's connection.
    CompositorDragWatcher(X11Connection& connection, X11DragSelection& dragSelection,
                          X11GlobalEventMonitor& eventMonitor, Timing timing,
                          QObject* parent = nullptr);
    ~CompositorDragWatcher() override;

    // Whether a native Wayland drag is under way, as far as can be known.
    bool isDragOn() const { return m_isOn; }

signals:
    void dragStarted();
    void dragEnded();

private:
    void begin();
    void end();
    void poll();
    // Lets `window` (Holdfin's) take focus or not, through its WM_HINTS input field.
    void setAcceptsFocus(std::uint32_t window, bool accepts);
    void handleEvent(const void* event);
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

    X11Connection& m_connection;
    X11DragSelection& m_dragSelection;
    X11GlobalEventMonitor& m_eventMonitor;
    Timing m_timing;
    int m_listener = 0;
    std::uint32_t m_requestor = 0; // receives the polls' answers
    std::uint32_t m_selection = 0;
    std::uint32_t m_targets = 0;
    std::uint32_t m_property = 0;
    std::uint32_t m_position = 0;
    std::uint32_t m_leave = 0;
    std::uint32_t m_drop = 0;
    std::uint32_t m_enter = 0;
    std::uint32_t m_activeWindow = 0;
    std::uint32_t m_focusedWindow = 0; // made focusable for the drag over it; 0: none
    QTimer m_pollTimer;
    QTimer m_answerTimer; // runs while a poll awaits its answer
    QTimer m_boundTimer;
    bool m_isOn = false;
};

} // namespace backend::x11
