#include "core/qt_main_queue.h"

#include <QTimer>

namespace core {

void QtMainQueue::async(Task task) {
    // Posted events: first in, first out per receiving thread, whichever thread posts.
    QMetaObject::invokeMethod(&m_context, std::move(task), Qt::QueuedConnection);
}

void QtMainQueue::asyncAfter(std::chrono::milliseconds delay, Task task) {
    // A timer belongs to the thread that starts it, and other threads may have no event loop
    // to run one: hop to the GUI thread first, then arm.
    async([context = &m_context, delay, task = std::move(task)]() mutable {
        QTimer::singleShot(delay, context, std::move(task));
    });
}

} // namespace core
