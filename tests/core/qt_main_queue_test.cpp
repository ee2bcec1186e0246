#include "core/qt_main_queue.h"
#include "support/wait_until.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QThread>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

using namespace std::chrono_literals;

TEST(QtMainQueue, RunsOnTheGuiThreadInSubmissionOrder) {
    core::QtMainQueue queue;
    std::mutex mutex;
    std::vector<int> order;
    std::vector<bool> onGuiThread;
    auto record = [&](int n) {
        std::lock_guard lock(mutex);
        order.push_back(n);
        onGuiThread.push_back(QThread::currentThread() == qApp->thread());
    };
    queue.async([&] { record(1); });
    std::thread worker([&] {
        queue.async([&] { record(2); });
        queue.async([&] { record(3); });
    });
    worker.join();
    queue.asyncAfter(20ms, [&] { record(5); });
    queue.async([&] { record(4); });
    testing_support::waitUntil([&] {
        std::lock_guard lock(mutex);
        return order.size() == 5;
    });
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(onGuiThread, std::vector<bool>(5, true));
}

// Like holdfin's application object, looks at every event the application delivers.
class EventTypeFilter final : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        m_lastType = event->type();
        return false;
    }

private:
    QEvent::Type m_lastType = QEvent::None;
};

// The GUI thread runs tasks while the worker still posts: each arrives whole, in order, and
// the event that brings it is one the application's filters may look at.
TEST(QtMainQueue, TasksPostedWhileTheGuiThreadRunsArriveWhole) {
    EventTypeFilter filter;
    qApp->installEventFilter(&filter);
    core::QtMainQueue queue;
    constexpr int count = 200;
    std::vector<std::string> received;
    std::thread worker([&] {
        for (int i = 0; i < count; ++i) {
            queue.async([&received, text = std::string(64, char('a' + i % 26))] {
                received.push_back(text);
            });
        }
    });
    testing_support::waitUntil([&] { return int(received.size()) == count; });
    worker.join();
    ASSERT_EQ(int(received.size()), count);
    for (int i = 0; i < count; ++i)
        EXPECT_EQ(received[std::size_t(i)], std::string(64, char('a' + i % 26))) << i;
}

// Tasks still waiting, for their turn or for their timer, go with the queue and never run.
TEST(QtMainQueue, TasksStillWaitingGoWithIt) {
    const auto captured = std::make_shared<int>(0);
    bool ran = false;
    {
        core::QtMainQueue queue;
        queue.asyncAfter(10ms, [&ran, captured] { ran = true; });
        QCoreApplication::processEvents(); // the timer is armed
        queue.async([&ran, captured] { ran = true; });
    }
    QThread::msleep(30);
    QCoreApplication::processEvents();
    EXPECT_FALSE(ran);
    EXPECT_EQ(captured.use_count(), 1) << "both tasks were destroyed";
}
