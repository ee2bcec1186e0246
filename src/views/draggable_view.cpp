#include "draggable_view.h"

#include "drag_source_widget.h"

#include <QVBoxLayout>

namespace views {

DraggableView::DraggableView(QWidget* content, shelf::BucketItem item, DragActions actions,
                             core::MainQueue& mainQueue, backend::DragSession& dragSession,
                             core::DiagnosticLog& log, QWidget* parent)
    : QWidget(parent), m_coordinator(std::make_shared<Coordinator>(
                           std::move(item), std::move(actions), mainQueue, &log)) {
    m_dragSource = new DragSourceWidget(content, m_coordinator, dragSession, mainQueue, log, this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_dragSource);
}

void DraggableView::refresh(shelf::BucketItem item, DragActions actions) {
    m_coordinator->setItem(std::move(item));
    m_coordinator->setActions(std::move(actions));
}

} // namespace views
