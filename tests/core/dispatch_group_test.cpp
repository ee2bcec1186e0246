#include "core/dispatch_group.h"
#include "support/fake_main_queue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

using core::DispatchGroup;
using testing_support::FakeMainQueue;

TEST(DispatchGroup, NotifiesOnceEmptyAndOnlyThen) {
    FakeMainQueue queue;
    DispatchGroup group;
    int notified = 0;
    group.enter();
    group.enter();
    group.notify(queue, [&] { ++notified; });
    group.leave();
    queue.drain();
    EXPECT_EQ(notified, 0);
    group.leave();
    EXPECT_EQ(notified, 0) << "runs on the queue, not inside leave()";
    queue.drain();
    EXPECT_EQ(notified, 1);
    group.leave(); // unbalanced: ignored, no second notification
    queue.drain();
    EXPECT_EQ(notified, 1);
}

TEST(DispatchGroup, EmptyGroupNotifiesOnNextTurn) {
    FakeMainQueue queue;
    DispatchGroup group;
    bool notified = false;
    group.notify(queue, [&] { notified = true; });
    EXPECT_FALSE(notified);
    queue.drain();
    EXPECT_TRUE(notified);
}

TEST(DispatchGroup, LeavesFromManyThreads) {
    FakeMainQueue queue;
    DispatchGroup group;
    constexpr int kWorkers = 16;
    for (int i = 0; i < kWorkers; ++i)
        group.enter();
    std::atomic<int> notified = 0;
    group.notify(queue, [&] { ++notified; });
    std::vector<std::thread> workers;
    for (int i = 0; i < kWorkers; ++i)
        workers.emplace_back([&] { group.leave(); });
    for (auto& w : workers)
        w.join();
    queue.drain();
    EXPECT_EQ(notified, 1);
}
