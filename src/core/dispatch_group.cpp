#include "core/dispatch_group.h"

namespace core {

void DispatchGroup::enter() {
    std::lock_guard lock(m_mutex);
    ++m_count;
}

void DispatchGroup::leave() {
    std::vector<Waiter> ready;
    {
        std::lock_guard lock(m_mutex);
        if (m_count == 0)
            return;
        if (--m_count == 0)
            ready.swap(m_waiters);
    }
    for (auto& waiter : ready)
        waiter.queue->async(std::move(waiter.task));
}

void DispatchGroup::notify(MainQueue& queue, MainQueue::Task task) {
    {
        std::lock_guard lock(m_mutex);
        if (m_count > 0) {
            m_waiters.push_back({&queue, std::move(task)});
            return;
        }
    }
    queue.async(std::move(task));
}

} // namespace core
