#include "core/qt_main_queue.h"

#include <QMetaMethod>
#include <QObject>
#include <QTimer>

namespace core {

// Turns each queued call into one task. The call is made by Qt from a method looked up by name,
// so the event carrying it is made and read by Qt alone and nothing of ours crosses threads
// outside the mutex.
class QtMainQueue::Receiver final : public QObject {
    Q_OBJECT
public:
    explicit Receiver(QtMainQueue& queue)
        : m_queue(queue),
          m_runNext(staticMetaObject.method(staticMetaObject.indexOfMethod("runNext()"))) {}

    void wakeUp() { m_runNext.invoke(this, Qt::QueuedConnection); }

    Q_INVOKABLE void runNext() { m_queue.runNext(); }

private:
    QtMainQueue& m_queue;
    const QMetaMethod m_runNext;
};

QtMainQueue::QtMainQueue() : m_receiver(std::make_unique<Receiver>(*this)) {}

QtMainQueue::~QtMainQueue() = default;

void QtMainQueue::async(Task task) {
    {
        std::lock_guard lock(m_mutex);
        m_tasks.push_back(std::move(task));
    }
    // Queued calls are posted events: FIFO per receiving thread, whichever thread posts.
    m_receiver->wakeUp();
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

} // namespace core

#include "qt_main_queue.moc"
