#include "coordinator.h"

#include "core/diagnostic_log.h"
#include "core/main_queue.h"

#include <chrono>

namespace views {

namespace {

constexpr std::chrono::milliseconds kSuccessDelay{300};

// Runs a copy: the action may replace the coordinator's actions (through a tile update)
// while it runs, which must not destroy the function being executed.
void run(Action action) { // NOLINT(performance-unnecessary-value-param): the copy is the point
    if (action)
        action();
}

} // namespace

Coordinator::Coordinator(shelf::BucketItem item, DragActions actions, core::MainQueue& mainQueue,
                         core::DiagnosticLog* log)
    : m_item(std::move(item)), m_actions(std::move(actions)), m_mainQueue(mainQueue), m_log(log) {}

void Coordinator::runOnDragStart() const {
    run(m_actions.onDragStart);
}

Qt::DropActions Coordinator::supportedDropActions(backend::DragContext) {
    if (m_item.isLocked)
        return Qt::CopyAction;
    return Qt::CopyAction | Qt::MoveAction;
}

void Coordinator::dragFinished(QPoint, Qt::DropAction) {
    run(m_actions.onDragEnd);
}

void Coordinator::dropHandedOver(bool isHandedOver) {
    if (!isHandedOver) {
        // The destination said yes and took nothing: the entry is all the user still has.
        if (m_log)
            core::print(*m_log, "drop delivered nothing; the entry stays");
        return;
    }
    if (m_item.isLocked)
        return;
    m_mainQueue.asyncAfter(kSuccessDelay,
                           [self = shared_from_this()] { run(self->m_actions.onSuccessfulDrop); });
}

} // namespace views
