#include "coordinator.h"

#include "core/main_queue.h"

#include <chrono>

namespace views {

using backend::DragOperation;

namespace {

constexpr std::chrono::milliseconds kSuccessDelay{300};

// Runs a copy: the action may replace the coordinator's actions (through a tile update)
// while it runs, which must not destroy the function being executed.
void run(Action action) {
    if (action)
        action();
}

} // namespace

Coordinator::Coordinator(shelf::BucketItem item, DragActions actions, core::MainQueue& mainQueue)
    : m_item(std::move(item)), m_actions(std::move(actions)), m_mainQueue(mainQueue) {}

void Coordinator::runOnDragStart() const {
    run(m_actions.onDragStart);
}

backend::DragOperationMask Coordinator::sourceOperationMask(backend::DraggingContext) {
    if (m_item.isLocked)
        return static_cast<backend::DragOperationMask>(DragOperation::Copy);
    return DragOperation::Copy | DragOperation::Move;
}

void Coordinator::draggingSessionEnded(QPoint, DragOperation operation) {
    run(m_actions.onDragEnd);
    if (operation == DragOperation::None)
        return;
    if (m_item.isLocked)
        return;
    m_mainQueue.asyncAfter(kSuccessDelay,
                           [self = shared_from_this()] { run(self->m_actions.onSuccessfulDrop); });
}

} // namespace views
