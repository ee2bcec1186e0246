#pragma once

#include "views/coordinator.h"

#include <QWidget>

#include <memory>

namespace backend {
class DragSession;
}

namespace core {
class DiagnosticLog;
class MainQueue;
} // namespace core

namespace views {

class DragSourceWidget;

// Makes its content draggable out of the shelf as the given entry. Created once per tile and
// refreshed in place, so the coordinator always holds the latest entry and actions.
class DraggableView final : public QWidget {
    Q_OBJECT
public:
    // Takes ownership of `content`. The drag session begins drags; the main queue runs the
    // success action; the log takes what each drag provides. All three must outlive the view's
    // drags.
    DraggableView(QWidget* content, shelf::BucketItem item, DragActions actions,
                  core::MainQueue& mainQueue, backend::DragSession& dragSession,
                  core::DiagnosticLog& log, QWidget* parent = nullptr);

    // Hands the coordinator the current entry and actions.
    void refresh(shelf::BucketItem item, DragActions actions);

    DragSourceWidget* dragSourceWidget() const { return m_dragSource; }
    const std::shared_ptr<Coordinator>& coordinator() const { return m_coordinator; }

private:
    std::shared_ptr<Coordinator> m_coordinator;
    DragSourceWidget* m_dragSource = nullptr;
};

} // namespace views
