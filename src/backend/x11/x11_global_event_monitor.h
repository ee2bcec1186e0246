#pragma once

#include "backend/global_event_monitor.h"

#include <cstdint>
#include <vector>

namespace backend::x11 {

class X11Connection;

// Global input events from XInput 2.2 raw events on the root window (they arrive even while a
// drag source holds the pointer grab). Each kind is selected only while it can mean something,
// so that the rest of the session's input wakes nothing: raw motion while the logical left
// button is down, raw key presses while keys are wanted. Buttons go through the server's
// pointer mapping; Escape is found through the keymap. GUI thread only.
class X11GlobalEventMonitor final : public GlobalEventMonitor {
    Q_OBJECT
public:
    // Listens through `connection`, which must outlive this object. Without XInput 2.2 it never
    // reports anything, and one line on standard error says why.
    explicit X11GlobalEventMonitor(X11Connection& connection, QObject* parent = nullptr);
    ~X11GlobalEventMonitor() override;

    // Report what the back-end learnt of without input: the X server sends none during a
    // native Wayland drag. Kept quiet while Holdfin's own drag runs, as input would be.
    using GlobalEventMonitor::reportLeftButtonDragged;
    using GlobalEventMonitor::reportLeftButtonReleased;

    // Whether raw motion is currently selected (the logical left button is down).
    bool isWatchingMotion() const { return m_selected > 0 && (m_selected & kMotion); }
    // Whether raw key presses are currently selected.
    bool isSelectingKeys() const { return m_selected > 0 && (m_selected & kKeys); }

protected:
    void keysWantedChanged() override;
    // Also brings the drag selection up to date with the drag (one round trip).
    void ownDragEnded() override;

private:
    enum Selection { kMotion = 1, kKeys = 2 };

    void handleEvent(const void* event);
    void selectEvents();
    void readPointerMapping();
    void readKeyboardMapping();

    X11Connection& m_connection;
    int m_listener = 0;
    bool m_isAvailable = false;
    int m_selected = -1; // Selection bits; -1 until the first selection
    int m_leftButtonsDown = 0;
    std::vector<std::uint8_t> m_pointerMapping;
    std::vector<std::uint8_t> m_escapeKeycodes;
};

} // namespace backend::x11
