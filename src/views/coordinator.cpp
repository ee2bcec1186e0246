#include "coordinator.h"

#include "platform/main_queue.h"

#include <chrono>

namespace views {

using platform::DragOperation;

namespace {

constexpr std::chrono::milliseconds kSuccessDelay{300};

// Runs a copy: the action may replace the coordinator's actions (through a tile update)
// while it runs, which must not destroy the function being executed.
void run(Action action) {
    if (action)
        action();
}

} // namespace

Coordinator::Coordinator(shelf::BucketItem item, DragActions actions,
                         platform::MainQueue& mainQueue)
    : m_item(std::move(item)), m_actions(std::move(actions)), m_mainQueue(mainQueue) {}

void Coordinator::runOnDragStart() const {
    run(m_actions.onDragStart);
}

platform::DragOperationMask Coordinator::sourceOperationMask(platform::DraggingContext) {
    if (m_item.isLocked)
        return static_cast<platform::DragOperationMask>(DragOperation::Copy);
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
