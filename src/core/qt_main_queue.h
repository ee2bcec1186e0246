#pragma once

#include "core/main_queue.h"

#include <deque>
#include <memory>
#include <mutex>

namespace core {

// Posts to the Qt event loop of the thread that created it (the GUI thread).
class QtMainQueue final : public MainQueue {
public:
    QtMainQueue();
    ~QtMainQueue() override;

    void async(Task task) override;
    void asyncAfter(std::chrono::milliseconds delay, Task task) override;

private:
    class Receiver;
    void runNext();

    // Tasks wait here rather than inside Qt's posted events: Qt orders its hand-over between
    // threads with locks ThreadSanitizer cannot see, this mutex it can.
    std::mutex m_mutex;
    std::deque<Task> m_tasks;
    std::unique_ptr<Receiver> m_receiver; // lives on the GUI thread; one wake-up per task
};

} // namespace core
