#include "fake_global_event_monitor.h"

namespace testing_support {

using backend::EventMask;
using backend::EventType;

std::optional<backend::MonitorToken> FakeGlobalEventMonitor::addGlobalMonitor(EventMask mask,
                                                                              Handler handler) {
    if (refuseRegistrations)
        return std::nullopt;
    const auto token = m_next++;
    m_monitors.emplace(token, std::make_pair(mask, std::move(handler)));
    return token;
}

void FakeGlobalEventMonitor::send(const backend::Event& event) {
    if (m_ownDrag)
        return;
    const EventMask mask = event.type == EventType::LeftMouseUp        ? EventMask::LeftMouseUp
                           : event.type == EventType::LeftMouseDragged ? EventMask::LeftMouseDragged
                                                                       : EventMask::KeyDown;
    auto monitors = m_monitors; // a handler may add or remove monitors
    for (auto& [token, entry] : monitors) {
        if (entry.first == mask)
            entry.second(event);
    }
}

} // namespace testing_support
