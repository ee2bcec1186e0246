#pragma once

#include "core/main_queue.h"

#include <memory>

namespace core {

// Posts its tasks as events to an object of the thread that created it (the GUI thread), so
// they run on that thread's event loop, first in, first out. Tasks still waiting when it is
// destroyed are dropped.
class QtMainQueue final : public MainQueue {
public:
    QtMainQueue();
    ~QtMainQueue() override;

    void async(Task task) override;
    void asyncAfter(std::chrono::milliseconds delay, Task task) override;

private:
    class Receiver;
    std::unique_ptr<Receiver> m_receiver;
};

} // namespace core
