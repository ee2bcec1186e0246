#pragma once

#include "core/main_queue.h"

#include <chrono>
#include <cstddef>
#include <deque>
#include <mutex>
#include <vector>

namespace testing_support {

// A main queue that tests drain by hand, one turn at a time, with a clock they advance.
// Submission is thread safe; draining happens on the test's thread.
class FakeMainQueue final : public core::MainQueue {
public:
    void async(Task task) override;
    void asyncAfter(std::chrono::milliseconds delay, Task task) override;

    // Runs the oldest due task; false when none is due.
    bool runOne();
    // Runs due tasks, those they submit included, until none is due; returns how many ran.
    std::size_t drain();
    // Moves the clock forward, then drains what became due.
    std::size_t advance(std::chrono::milliseconds by);
    std::size_t pending() const;
    std::chrono::milliseconds now() const { return m_now; }

private:
    struct Delayed {
        std::chrono::milliseconds due;
        std::size_t order;
        Task task;
    };
    void promoteDueTasks();

    mutable std::mutex m_mutex;
    std::deque<Task> m_ready;
    std::vector<Delayed> m_delayed;
    std::chrono::milliseconds m_now{0};
    std::size_t m_order = 0;
};

} // namespace testing_support
