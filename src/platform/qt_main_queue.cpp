#include "qt_main_queue.h"

#include <QMetaObject>
#include <QTimer>

namespace platform {

QtMainQueue::QtMainQueue() = default;
QtMainQueue::~QtMainQueue() = default;

void QtMainQueue::async(Task task) {
    // Queued meta-calls are posted events: FIFO per receiving thread, whichever thread posts.
    QMetaObject::invokeMethod(&m_context, std::move(task), Qt::QueuedConnection);
}

void QtMainQueue::asyncAfter(std::chrono::milliseconds delay, Task task) {
    // Timers must be started on the thread that owns them: hop first, then arm.
    async([this, delay, task = std::move(task)]() mutable {
        QTimer::singleShot(delay, &m_context, std::move(task));
    });
}

} // namespace platform
