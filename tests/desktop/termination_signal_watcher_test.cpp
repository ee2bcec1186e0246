#include "desktop/termination_signal_watcher.h"
#include "support/wait_until.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <signal.h>

#include <vector>

namespace {

std::vector<int> deliveredWhileWatching(desktop::TerminationSignalWatcher& watcher,
                                        const std::vector<int>& signalNumbers) {
    std::vector<int> delivered;
    QObject::connect(&watcher, &desktop::TerminationSignalWatcher::terminationRequested,
                     [&delivered](int signalNumber) { delivered.push_back(signalNumber); });
    for (int signalNumber : signalNumbers)
        raise(signalNumber);
    testing_support::waitUntil([&] { return delivered.size() >= signalNumbers.size(); });
    return delivered;
}

volatile sig_atomic_t earlierHandlerCalls = 0;

} // namespace

// Unwatched, either signal would end the test program: arriving here means they were caught.
TEST(TerminationSignalWatcher, ReportsEachSignalOnTheEventLoop) {
    desktop::TerminationSignalWatcher watcher;
    ASSERT_TRUE(watcher.isWatching());
    EXPECT_EQ(deliveredWhileWatching(watcher, {SIGTERM, SIGINT, SIGTERM}),
              (std::vector<int>{SIGTERM, SIGINT, SIGTERM}));
}

TEST(TerminationSignalWatcher, GivesTheSignalsBackWhenItGoes) {
    struct sigaction earlier {};
    earlier.sa_handler = [](int) { earlierHandlerCalls = earlierHandlerCalls + 1; };
    sigemptyset(&earlier.sa_mask);
    struct sigaction savedTerm {
    }, savedInt{};
    sigaction(SIGTERM, &earlier, &savedTerm);
    sigaction(SIGINT, &earlier, &savedInt);
    earlierHandlerCalls = 0;
    {
        desktop::TerminationSignalWatcher watcher;
        ASSERT_TRUE(watcher.isWatching());
        // A second watcher would take the signals from the first.
        desktop::TerminationSignalWatcher second;
        EXPECT_FALSE(second.isWatching());
        EXPECT_EQ(deliveredWhileWatching(watcher, {SIGINT}), std::vector<int>{SIGINT});
        EXPECT_EQ(earlierHandlerCalls, 0);
    }
    raise(SIGTERM);
    raise(SIGINT);
    EXPECT_EQ(earlierHandlerCalls, 2);
    {
        // And a new watcher can take them again.
        desktop::TerminationSignalWatcher again;
        EXPECT_TRUE(again.isWatching());
    }
    sigaction(SIGTERM, &savedTerm, nullptr);
    sigaction(SIGINT, &savedInt, nullptr);
}
