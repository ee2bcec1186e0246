#include "interim_shelf_content.h"

#include "panel/drag_monitor.h"
#include "panel/window_manager.h"
#include "platform/color_scheme_service.h"

#include <QPainter>
#include <QPainterPath>

namespace app {

InterimShelfContent::InterimShelfContent(panel::DragMonitor& dragMonitor,
                                         panel::WindowManager& windowManager,
                                         platform::ColorSchemeService* colorSchemes,
                                         QWidget* parent)
    : QWidget(parent), m_dragMonitor(dragMonitor), m_windowManager(windowManager),
      m_colorSchemes(colorSchemes) {
    using panel::DragMonitor;
    for (auto signal : {&DragMonitor::isDraggingChanged, &DragMonitor::draggedItemsChanged,
                        &DragMonitor::isCursorInsideChanged})
        connect(&m_dragMonitor, signal, this, &InterimShelfContent::updatePanelVisibility);
    if (m_colorSchemes)
        connect(m_colorSchemes, &platform::ColorSchemeService::colorSchemeChanged, this,
                qOverload<>(&QWidget::update));
}

void InterimShelfContent::updatePanelVisibility() {
    if (m_dragMonitor.isDragging() || !m_dragMonitor.draggedItems().isEmpty() ||
        m_dragMonitor.isCursorInside())
        m_windowManager.showPanel();
    else
        m_windowManager.hidePanel();
}

void InterimShelfContent::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_hasAppeared)
        return;
    m_hasAppeared = true;
    // After the show has finished: the rule may hide the panel this content is appearing in.
    QMetaObject::invokeMethod(this, &InterimShelfContent::updatePanelVisibility,
                              Qt::QueuedConnection);
}

void InterimShelfContent::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    m_dragMonitor.setIsCursorInside(true);
}

void InterimShelfContent::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    m_dragMonitor.setIsCursorInside(false);
}

void InterimShelfContent::paintEvent(QPaintEvent*) {
    const bool isDark =
        m_colorSchemes && m_colorSchemes->colorScheme() == platform::ColorScheme::Dark;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()), 6, 6);
    painter.fillPath(shape, isDark ? palette().color(QPalette::Window) : QColor(Qt::white));
}

} // namespace app
