#pragma once

#include "backend/global_event_monitor.h"

#include <map>

namespace testing_support {

// Delivers events that a test sends to the handlers registered for them.
class FakeGlobalEventMonitor final : public backend::GlobalEventMonitor {
public:
    std::optional<backend::MonitorToken> addGlobalMonitor(backend::EventMask mask,
                                                          Handler handler) override;
    void removeMonitor(backend::MonitorToken token) override { m_monitors.erase(token); }
    void setOwnDragInProgress(bool inProgress) override { m_ownDrag = inProgress; }

    void send(const backend::Event& event);
    void leftMouseDragged() { send({backend::EventType::LeftMouseDragged}); }
    void leftMouseUp() { send({backend::EventType::LeftMouseUp}); }
    void keyDown(std::uint16_t keyCode) { send({backend::EventType::KeyDown, keyCode}); }

    std::size_t registrations() const { return m_monitors.size(); }
    bool ownDragInProgress() const { return m_ownDrag; }
    // While set, registrations answer no token (a platform without the needed extension).
    bool refuseRegistrations = false;

private:
    std::map<backend::MonitorToken, std::pair<backend::EventMask, Handler>> m_monitors;
    backend::MonitorToken m_next = 1;
    bool m_ownDrag = false;
};

} // namespace testing_support
