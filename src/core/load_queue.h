#pragma once

#include <QThreadPool>

#include <deque>
#include <functional>
#include <memory>
#include <mutex>

namespace core {

// Runs tasks on a pool's threads, oldest first, using a few long-lived pool tasks that drain
// the queue rather than one pool task each: a drop of many files costs one queue push per
// load instead of a thread wake-up. Thread safe. Create with std::make_shared.
class LoadQueue final : public std::enable_shared_from_this<LoadQueue> {
public:
    // `pool` must outlive the queued tasks; at most `maxWorkers` of its threads are used.
    LoadQueue(QThreadPool& pool, int maxWorkers);

    // Runs `task` on a pool thread, soon. Any thread.
    void submit(std::function<void()> task);

private:
    void drain();

    QThreadPool* m_pool;
    const int m_maxWorkers;
    std::mutex m_mutex;
    std::deque<std::function<void()>> m_tasks;
    int m_running = 0;
};

} // namespace core
