#pragma once

#include "core/main_queue.h"

#include <functional>
#include <mutex>
#include <vector>

namespace core {

// Counts outstanding work; once the count is back at zero the notified tasks are submitted
// to their queue. Thread safe.
class DispatchGroup final {
public:
    void enter();
    // Must balance an earlier enter(); an unbalanced leave() is ignored.
    void leave();
    // Submits `task` to `queue` once the group is empty (at once if it already is).
    void notify(MainQueue& queue, MainQueue::Task task);

private:
    struct Waiter {
        MainQueue* queue;
        MainQueue::Task task;
    };
    std::mutex m_mutex;
    int m_count = 0;
    std::vector<Waiter> m_waiters;
};

} // namespace core
