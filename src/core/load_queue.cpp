#include "core/load_queue.h"

#include <algorithm>
#include <iterator>
#include <vector>

namespace core {

namespace {

// Orders a drainer's construction before its run on a pool thread. The pool hands the task
// over under its own lock, which ThreadSanitizer cannot see into (Qt is not instrumented);
// this hand-over it can see. Taken once per drainer started, not per task.
std::mutex& handOver() {
    static std::mutex mutex;
    return mutex;
}

} // namespace

LoadQueue::LoadQueue(QThreadPool& pool, int maxWorkers)
    : m_pool(&pool), m_maxWorkers(std::max(1, maxWorkers)) {}

void LoadQueue::submit(std::function<void()> task) {
    bool startsWorker = false;
    {
        std::lock_guard lock(m_mutex);
        m_tasks.push_back(std::move(task));
        if (m_running < m_maxWorkers && static_cast<std::size_t>(m_running) < m_tasks.size()) {
            ++m_running;
            startsWorker = true;
        }
    }
    if (!startsWorker)
        return;
    std::function<void()> drainer = [self = shared_from_this()] {
        { std::lock_guard handedOver(handOver()); }
        self->drain();
    };
    { std::lock_guard handingOver(handOver()); }
    m_pool->start(std::move(drainer));
}

void LoadQueue::drain() {
    // A few tasks per lock keep the submitting GUI thread and the workers from taking turns
    // at the mutex for every task; few enough that the other workers get their share.
    constexpr std::size_t kBatch = 16;
    std::vector<std::function<void()>> batch;
    batch.reserve(kBatch);
    for (;;) {
        {
            std::lock_guard lock(m_mutex);
            if (m_tasks.empty()) {
                --m_running;
                return;
            }
            const std::size_t count = std::min(kBatch, m_tasks.size());
            std::move(m_tasks.begin(), m_tasks.begin() + static_cast<std::ptrdiff_t>(count),
                      std::back_inserter(batch));
            m_tasks.erase(m_tasks.begin(), m_tasks.begin() + static_cast<std::ptrdiff_t>(count));
        }
        for (auto& task : batch)
            task();
        batch.clear();
    }
}

} // namespace core
