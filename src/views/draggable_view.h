#pragma once

#include "views/coordinator.h"

#include <QWidget>

#include <memory>

namespace core {
struct Services;
}

namespace views {

class DragSourceWidget;

// Makes its content draggable out of the shelf as the given entry. Created once per tile and
// refreshed in place, so the coordinator always holds the latest entry and actions.
class DraggableView final : public QWidget {
    Q_OBJECT
public:
    // Takes ownership of `content`. Needs the main queue, drag session and log of `services`.
    DraggableView(QWidget* content, shelf::BucketItem item, DragActions actions,
                  const core::Services& services, QWidget* parent = nullptr);

    // Shows `content` (taking ownership, deleting the previous one) and hands the coordinator
    // the current entry and actions.
    void refresh(QWidget* content, shelf::BucketItem item, DragActions actions);

    DragSourceWidget* dragSourceWidget() const { return m_dragSource; }
    const std::shared_ptr<Coordinator>& coordinator() const { return m_coordinator; }

private:
    std::shared_ptr<Coordinator> m_coordinator;
    DragSourceWidget* m_dragSource = nullptr;
};

} // namespace views
