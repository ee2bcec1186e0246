#include "core/main_queue.h"

#include <QPointer>

namespace core {

namespace {

MainQueue::Task guarded(const QObject* context, MainQueue::Task task) {
    return [context = QPointer<const QObject>(context), task = std::move(task)] {
        if (context)
            task();
    };
}

} // namespace

void MainQueue::post(const QObject* context, Task task) {
    async(guarded(context, std::move(task)));
}

void MainQueue::postAfter(std::chrono::milliseconds delay, const QObject* context, Task task) {
    asyncAfter(delay, guarded(context, std::move(task)));
}

} // namespace core
