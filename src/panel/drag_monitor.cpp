#include "drag_monitor.h"

#include "backend/drag_pasteboard.h"
#include "core/main_queue.h"

#include <QPointer>

namespace panel {

using backend::EventMask;
using backend::PasteboardClass;
using shelf::BucketItem;

DragMonitor::DragMonitor(const core::Services& services, QObject* parent)
    : QObject(parent), m_pasteboard(services.dragPasteboard), m_mainQueue(services.mainQueue),
      m_eventSource(services.eventMonitor) {
    Q_ASSERT(m_pasteboard && m_mainQueue && m_eventSource);
    startMonitoring();
}

DragMonitor::~DragMonitor() {
    for (backend::MonitorToken token : m_eventMonitor)
        m_eventSource->removeMonitor(token);
}

void DragMonitor::startMonitoring() {
    m_lastChangeCount = m_pasteboard->changeCount();

    // Handlers only read state; every change they cause goes through the main queue. Queued
    // tasks guard against the monitor being gone by the time they run.
    QPointer<DragMonitor> self(this);
    auto endDrag = [this, self] {
        if (!m_isDragging)
            return;
        m_mainQueue->async([self] {
            if (self)
                self->setIsDragging(false);
        });
    };
    const std::pair<EventMask, backend::GlobalEventMonitor::Handler> monitors[] = {
        {EventMask::LeftMouseDragged,
         [this, self](const backend::Event&) {
             m_mainQueue->async([self] {
                 if (self)
                     self->checkPasteboard();
             });
         }},
        {EventMask::LeftMouseUp, [endDrag](const backend::Event&) { endDrag(); }},
        {EventMask::KeyDown,
         [endDrag](const backend::Event& event) {
             if (event.keyCode == backend::kEscapeKeyCode)
                 endDrag();
         }},
    };
    for (const auto& [mask, handler] : monitors) {
        if (auto token = m_eventSource->addGlobalMonitor(mask, handler))
            m_eventMonitor.push_back(*token);
    }
}

void DragMonitor::checkPasteboard() {
    const std::int64_t count = m_pasteboard->changeCount();
    if (count == m_lastChangeCount)
        return;
    QPointer<DragMonitor> self(this);
    m_mainQueue->async([self, count] {
        if (!self)
            return;
        self->m_lastChangeCount = count;
        const bool readable = self->m_pasteboard->canReadObjectForClasses(
            {PasteboardClass::Image, PasteboardClass::Color, PasteboardClass::String,
             PasteboardClass::Url});
        if (readable)
            self->setIsDragging(true);
    });
}

void DragMonitor::setIsDragging(bool value) {
    m_isDragging = value;
    emit isDraggingChanged();
}

void DragMonitor::setIsCursorInside(bool value) {
    m_isCursorInside = value;
    emit isCursorInsideChanged();
}

void DragMonitor::setDraggedItems(QList<BucketItem> items) {
    m_draggedItems = std::move(items);
    emit draggedItemsChanged();
}

qsizetype DragMonitor::indexOf(const BucketItem& item) const {
    return m_draggedItems.indexOf(item);
}

void DragMonitor::addItem(const BucketItem& item) {
    QList<BucketItem> items = m_draggedItems;
    items.prepend(item);
    setDraggedItems(std::move(items));
}

void DragMonitor::removeItem(const BucketItem& item) {
    const qsizetype index = indexOf(item);
    if (index < 0)
        return;
    QList<BucketItem> items = m_draggedItems;
    items.removeAt(index);
    setDraggedItems(std::move(items));
}

void DragMonitor::splitItem(const BucketItem& item) {
    const qsizetype index = indexOf(item);
    if (index < 0)
        return;
    QList<BucketItem> items = m_draggedItems;
    items.removeAt(index);
    qsizetype at = index;
    for (const shelf::BucketItemData& payload : item.items)
        items.insert(at++, BucketItem({payload}, item.isLocked));
    setDraggedItems(std::move(items));
}

void DragMonitor::clearItems() {
    QPointer<DragMonitor> self(this);
    m_mainQueue->async([self] {
        if (self)
            self->setDraggedItems({});
    });
}

void DragMonitor::updateItem(const BucketItem& item) {
    for (qsizetype i = 0; i < m_draggedItems.size(); ++i) {
        if (m_draggedItems.at(i).id == item.id) {
            QList<BucketItem> items = m_draggedItems;
            items[i] = item;
            setDraggedItems(std::move(items));
            return;
        }
    }
}

} // namespace panel
