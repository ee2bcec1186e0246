#include "platform/qt_main_queue.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <mutex>
#include <thread>
#include <vector>

using namespace std::chrono_literals;

namespace {

void spinUntil(const std::function<bool()>& done) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

} // namespace

TEST(QtMainQueue, RunsOnTheGuiThreadInSubmissionOrder) {
    platform::QtMainQueue queue;
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
    spinUntil([&] {
        std::lock_guard lock(mutex);
        return order.size() == 5;
    });
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(onGuiThread, std::vector<bool>(5, true));
}

