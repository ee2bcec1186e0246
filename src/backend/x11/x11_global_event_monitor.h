#pragma once

#include "backend/global_event_monitor.h"

#include <cstdint>
#include <map>
#include <vector>

namespace backend::x11 {

class X11Connection;

// Global input events from XInput 2.2 raw events on the root window (they arrive even while a
// drag source holds the pointer grab). Raw motion is selected only while the logical left
// button is down, so moving the pointer without a button wakes nothing. Buttons go through
// the server's pointer mapping; Escape is found through the keymap and reported as
// kEscapeKeyCode, any other key as kOtherKeyCode. GUI thread only.
class X11GlobalEventMonitor final : public GlobalEventMonitor {
public:
    static constexpr std::uint16_t kOtherKeyCode = 0xffff;

    // Listens through `connection`, which must outlive this object. Without XInput 2.2 every
    // registration answers no token and one line on standard error says why.
    explicit X11GlobalEventMonitor(X11Connection& connection);
    ~X11GlobalEventMonitor() override;

    std::optional<MonitorToken> addGlobalMonitor(EventMask mask, Handler handler) override;
    void removeMonitor(MonitorToken token) override;
    // Ending an own drag also brings the drag pasteboard up to date with it (one round trip).
    void setOwnDragInProgress(bool inProgress) override;

    // Reports an event the back-end learnt of without input: the X server sends none during a
    // native Wayland drag. Not reported while Holdfin's own drag runs, as input would not be.
    void reportSynthesized(EventType type) { report(type); }

    // Whether raw motion is currently selected (the logical left button is down).
    bool isWatchingMotion() const { return m_isWatchingMotion; }

private:
    void handleEvent(const void* event);
    void selectEvents(bool withMotion);
    void readPointerMapping();
    void readKeyboardMapping();
    void report(EventType type, std::uint16_t keyCode = 0);

    X11Connection& m_connection;
    int m_listener = 0;
    bool m_isAvailable = false;
    bool m_isWatchingMotion = false;
    bool m_isOwnDragInProgress = false;
    int m_leftButtonsDown = 0;
    std::vector<std::uint8_t> m_pointerMapping;
    std::vector<std::uint8_t> m_escapeKeycodes;
    std::map<MonitorToken, std::pair<EventMask, Handler>> m_monitors;
    MonitorToken m_nextToken = 1;
};

} // namespace backend::x11
