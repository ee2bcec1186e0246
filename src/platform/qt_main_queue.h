#pragma once

#include "main_queue.h"

#include <QObject>

#include <deque>
#include <memory>
#include <mutex>

namespace platform {

// Runs tasks in the Qt event loop of the thread that created it (the GUI thread), in the order
// they were submitted from whichever threads.
class QtMainQueue final : public MainQueue {
public:
    QtMainQueue();
    ~QtMainQueue() override;

    void async(Task task) override;
    void asyncAfter(std::chrono::milliseconds delay, Task task) override;

private:
    class Context;
    void runNext();

    // Tasks wait here rather than inside posted events: handed over under this lock, which
    // ThreadSanitizer can see, as it cannot see Qt's own (Qt is not instrumented).
    std::mutex m_mutex;
    std::deque<Task> m_pending;
    std::unique_ptr<Context> m_context; // lives on the GUI thread and receives the wake-ups
};

} // namespace platform
