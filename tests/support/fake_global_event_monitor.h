#pragma once

#include "platform/global_event_monitor.h"

#include <map>

namespace testing_support {

// Delivers events that a test sends to the handlers registered for them.
class FakeGlobalEventMonitor final : public platform::GlobalEventMonitor {
public:
    std::optional<platform::MonitorToken> addGlobalMonitor(platform::EventMask mask,
                                                           Handler handler) override;
    void removeMonitor(platform::MonitorToken token) override { m_monitors.erase(token); }
    void setOwnDragInProgress(bool inProgress) override { m_ownDrag = inProgress; }

    void send(const platform::Event& event);
    void leftMouseDragged() { send({platform::EventType::LeftMouseDragged}); }
    void leftMouseUp() { send({platform::EventType::LeftMouseUp}); }
    void keyDown(std::uint16_t keyCode) { send({platform::EventType::KeyDown, keyCode}); }

    std::size_t registrations() const { return m_monitors.size(); }
    bool ownDragInProgress() const { return m_ownDrag; }
    // While set, registrations answer no token (a platform without the needed extension).
    bool refuseRegistrations = false;

private:
    std::map<platform::MonitorToken, std::pair<platform::EventMask, Handler>> m_monitors;
    platform::MonitorToken m_next = 1;
    bool m_ownDrag = false;
};

} // namespace testing_support
