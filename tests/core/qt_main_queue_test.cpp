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

namespace {} // namespace

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

// The GUI thread runs tasks while the worker still posts: under ThreadSanitizer, what a task
// carries, and the event that brings it, must reach the GUI thread through a hand-over it can
// see.
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
