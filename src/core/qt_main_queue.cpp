#include "core/qt_main_queue.h"

#include "core/hand_over.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>

namespace core {

namespace {

const QEvent::Type kTaskEventType = static_cast<QEvent::Type>(QEvent::registerEventType());

// The task travels inside its event rather than inside a queued call's slot object: Qt builds
// that object after anything the caller could mark, so the hand-over could not be marked for
// ThreadSanitizer.
class TaskEvent final : public QEvent {
public:
    explicit TaskEvent(MainQueue::Task task) : QEvent(kTaskEventType), m_task(std::move(task)) {}
    // Also when the event is dropped unrun, with its receiver.
    ~TaskEvent() override { takeOver(this); }

    void run() {
        takeOver(this);
        m_task();
    }

private:
    MainQueue::Task m_task;
};

} // namespace

class QtMainQueue::Receiver final : public QObject {
protected:
    void customEvent(QEvent* event) override {
        if (auto* task =
                event->type() == kTaskEventType ? dynamic_cast<TaskEvent*>(event) : nullptr)
            task->run();
    }
};

QtMainQueue::QtMainQueue() : m_receiver(std::make_unique<Receiver>()) {}

QtMainQueue::~QtMainQueue() = default;

void QtMainQueue::async(Task task) {
    auto* event = new TaskEvent(std::move(task));
    handOver(event);
    // Posted events: first in, first out per receiving thread, whichever thread posts.
    QCoreApplication::postEvent(m_receiver.get(), event);
}

void QtMainQueue::asyncAfter(std::chrono::milliseconds delay, Task task) {
    // A timer belongs to the thread that starts it, and other threads may have no event loop
    // to run one: hop to the GUI thread first, then arm.
    async([receiver = m_receiver.get(), delay, task = std::move(task)]() mutable {
        QTimer::singleShot(delay, receiver, std::move(task));
    });
}

} // namespace core
