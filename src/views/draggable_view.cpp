#include "draggable_view.h"

#include "core/services.h"
#include "drag_source_widget.h"

#include <QVBoxLayout>

namespace views {

DraggableView::DraggableView(QWidget* content, shelf::BucketItem item, DragActions actions,
                             const core::Services& services, QWidget* parent)
    : QWidget(parent), m_coordinator(std::make_shared<Coordinator>(
                           std::move(item), std::move(actions), *services.mainQueue)) {
    Q_ASSERT(services.mainQueue && services.dragSession && services.log);
    m_dragSource = new DragSourceWidget(content, m_coordinator, *services.dragSession,
                                        *services.mainQueue, *services.log, this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_dragSource);
}

void DraggableView::refresh(QWidget* content, shelf::BucketItem item, DragActions actions) {
    m_dragSource->setHostedContent(content);
    m_coordinator->setItem(std::move(item));
    m_coordinator->setActions(std::move(actions));
}

} // namespace views
