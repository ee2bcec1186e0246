#include "fake_main_queue.h"

#include <algorithm>

namespace testing_support {

void FakeMainQueue::async(Task task) {
    std::lock_guard lock(m_mutex);
    m_ready.push_back(std::move(task));
}

void FakeMainQueue::asyncAfter(std::chrono::milliseconds delay, Task task) {
    std::lock_guard lock(m_mutex);
    m_delayed.push_back({m_now + delay, m_order++, std::move(task)});
}

void FakeMainQueue::promoteDueTasks() {
    std::stable_sort(m_delayed.begin(), m_delayed.end(), [](const Delayed& a, const Delayed& b) {
        return a.due != b.due ? a.due < b.due : a.order < b.order;
    });
    auto due = std::find_if(m_delayed.begin(), m_delayed.end(),
                            [this](const Delayed& d) { return d.due > m_now; });
    for (auto it = m_delayed.begin(); it != due; ++it)
        m_ready.push_back(std::move(it->task));
    m_delayed.erase(m_delayed.begin(), due);
}

bool FakeMainQueue::runOne() {
    Task task;
    {
        std::lock_guard lock(m_mutex);
        promoteDueTasks();
        if (m_ready.empty())
            return false;
        task = std::move(m_ready.front());
        m_ready.pop_front();
    }
    task();
    return true;
}

std::size_t FakeMainQueue::drain() {
    std::size_t ran = 0;
    while (runOne())
        ++ran;
    return ran;
}

std::size_t FakeMainQueue::advance(std::chrono::milliseconds by) {
    {
        std::lock_guard lock(m_mutex);
        m_now += by;
    }
    return drain();
}

std::size_t FakeMainQueue::pending() const {
    std::lock_guard lock(m_mutex);
    return m_ready.size() + m_delayed.size();
}

} // namespace testing_support
