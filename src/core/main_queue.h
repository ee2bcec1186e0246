#pragma once

#include <chrono>
#include <functional>

class QObject;

namespace core {

// The GUI thread's queue: work submitted here runs on the GUI thread, one task per turn,
// in submission order.
class MainQueue {
public:
    using Task = std::function<void()>;
    virtual ~MainQueue() = default;

    // Runs `task` on a later turn of the GUI thread. Safe from any thread.
    virtual void async(Task task) = 0;
    // Runs `task` on the GUI thread no sooner than `delay` from now. Safe from any thread.
    virtual void asyncAfter(std::chrono::milliseconds delay, Task task) = 0;

    // As async and asyncAfter, but the task is dropped if `context` has been destroyed by the
    // time it would run. Called on `context`'s thread.
    void post(const QObject* context, Task task);
    void postAfter(std::chrono::milliseconds delay, const QObject* context, Task task);
};

} // namespace core
