#include "qt_main_queue.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

namespace platform {

class QtMainQueue::Context final : public QObject {
public:
    explicit Context(QtMainQueue& queue) : m_queue(queue) {}

    // Only wake-ups are posted here, one per task; the event itself is left to Qt, as it was
    // allocated on the posting thread.
    bool event(QEvent* event) override {
        m_queue.runNext();
        return QObject::event(event);
    }

private:
    QtMainQueue& m_queue;
};

QtMainQueue::QtMainQueue() : m_context(std::make_unique<Context>(*this)) {}

QtMainQueue::~QtMainQueue() = default;

void QtMainQueue::async(Task task) {
    {
        std::lock_guard lock(m_mutex);
        m_pending.push_back(std::move(task));
    }
    // A wake-up per task: tasks run one per posted event, as queued calls did.
    QCoreApplication::postEvent(m_context.get(), new QEvent(QEvent::User));
}

void QtMainQueue::asyncAfter(std::chrono::milliseconds delay, Task task) {
    // Timers must be started on the thread that owns them: hop first, then arm.
    async([this, delay, task = std::move(task)]() mutable {
        QTimer::singleShot(delay, m_context.get(), std::move(task));
    });
}

void QtMainQueue::runNext() {
    Task task;
    {
        std::lock_guard lock(m_mutex);
        if (m_pending.empty())
            return;
        task = std::move(m_pending.front());
        m_pending.pop_front();
    }
    task();
}

} // namespace platform
