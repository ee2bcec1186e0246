#include "core/load_queue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

using core::LoadQueue;

namespace {

TEST(LoadQueue, RunsEveryTaskOnceOnAtMostItsWorkers) {
    QThreadPool pool;
    pool.setMaxThreadCount(4);
    auto queue = std::make_shared<LoadQueue>(pool, 2);
    constexpr int kPerThread = 2000;
    std::vector<std::atomic<int>> runs(3 * kPerThread);
    std::atomic<int> running{0};
    std::atomic<int> mostRunning{0};

    std::vector<std::thread> submitters;
    for (int t = 0; t < 3; ++t) {
        submitters.emplace_back([&, t] {
            for (int i = 0; i < kPerThread; ++i) {
                queue->submit([&, index = t * kPerThread + i] {
                    const int now = ++running;
                    int seen = mostRunning.load();
                    while (now > seen && !mostRunning.compare_exchange_weak(seen, now)) {
                    }
                    ++runs[static_cast<std::size_t>(index)];
                    --running;
                });
            }
        });
    }
    for (auto& submitter : submitters)
        submitter.join();
    pool.waitForDone();

    for (const auto& count : runs)
        ASSERT_EQ(count.load(), 1);
    EXPECT_LE(mostRunning.load(), 2);
}

TEST(LoadQueue, TaskSubmittedFromATaskRuns) {
    QThreadPool pool;
    auto queue = std::make_shared<LoadQueue>(pool, 1);
    std::atomic<bool> ran{false};
    queue->submit([&] { queue->submit([&] { ran = true; }); });
    pool.waitForDone();
    EXPECT_TRUE(ran);
}

} // namespace
