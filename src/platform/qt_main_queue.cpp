#include "qt_main_queue.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>

namespace platform {

// Turns each posted wake-up into one task. The wake-up event is made and read by Qt alone, so
// nothing of ours crosses threads outside the mutex.
class QtMainQueue::Receiver final : public QObject {
public:
    explicit Receiver(QtMainQueue& queue) : m_queue(queue) {}

protected:
    void customEvent(QEvent*) override { m_queue.runNext(); }

private:
    QtMainQueue& m_queue;
};

QtMainQueue::QtMainQueue() : m_receiver(std::make_unique<Receiver>(*this)) {}

QtMainQueue::~QtMainQueue() = default;

void QtMainQueue::async(Task task) {
    {
        std::lock_guard lock(m_mutex);
        m_tasks.push_back(std::move(task));
    }
    // Posted events are FIFO per receiving thread, whichever thread posts.
    QCoreApplication::postEvent(m_receiver.get(), new QEvent(QEvent::User));
}

void QtMainQueue::asyncAfter(std::chrono::milliseconds delay, Task task) {
    // Timers must be started on the thread that owns them: hop first, then arm.
    async([this, delay, task = std::move(task)]() mutable {
        QTimer::singleShot(delay, m_receiver.get(), std::move(task));
    });
}

void QtMainQueue::runNext() {
    Task task;
    {
        std::lock_guard lock(m_mutex);
        if (m_tasks.empty())
            return;
        task = std::move(m_tasks.front());
        m_tasks.pop_front();
    }
    task();
}

} // namespace platform
