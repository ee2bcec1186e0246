#pragma once

#include <cstdint>
#include <functional>
#include <optional>

namespace backend {

enum class EventMask : std::uint32_t {
    LeftMouseUp = 1u << 2,
    LeftMouseDragged = 1u << 6,
    KeyDown = 1u << 10,
};

enum class EventType { LeftMouseUp, LeftMouseDragged, KeyDown };

struct Event {
    EventType type;
    // Key code of a KeyDown event in the shelf's key-code space: Escape is kEscapeKeyCode.
    std::uint16_t keyCode = 0;
};

inline constexpr std::uint16_t kEscapeKeyCode = 53;

using MonitorToken = std::uint64_t;

// Sees input events delivered to other applications, system wide; never Holdfin's own.
// Called on the GUI thread; handlers are called on the GUI thread and must not change
// model state themselves (they submit changes to the main queue).
class GlobalEventMonitor {
public:
    using Handler = std::function<void(const Event&)>;
    virtual ~GlobalEventMonitor() = default;

    // Registers `handler` for events of `mask`. No token when the platform cannot deliver
    // such events; the handler then never runs.
    virtual std::optional<MonitorToken> addGlobalMonitor(EventMask mask, Handler handler) = 0;
    // Removes a registration; unknown tokens are ignored.
    virtual void removeMonitor(MonitorToken token) = 0;
    // Told by Holdfin's own drag session while it runs: nothing is reported meanwhile.
    virtual void setOwnDragInProgress(bool inProgress) = 0;
};

} // namespace backend
