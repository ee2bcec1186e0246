#include "drag_monitor.h"

#include "backend/drag_pasteboard.h"
#include "core/main_queue.h"

#include <QPointer>

namespace panel {

using backend::EventMask;
using backend::PasteboardClass;
using shelf::BucketItem;

DragMonitor::DragMonitor(core::MainQueue& mainQueue, backend::DragPasteboard& pasteboard,
                         backend::GlobalEventMonitor& eventMonitor, QObject* parent)
    : QObject(parent), m_pasteboard(pasteboard), m_mainQueue(mainQueue),
      m_eventSource(eventMonitor) {
    startMonitoring();
}

DragMonitor::~DragMonitor() {
    for (backend::MonitorToken token : m_eventMonitor)
        m_eventSource.removeMonitor(token);
}

void DragMonitor::startMonitoring() {
    m_lastChangeCount = m_pasteboard.changeCount();

    // Handlers only read state; every change they cause goes through the main queue. Queued
    // tasks guard against the monitor being gone by the time they run.
    QPointer<DragMonitor> self(this);
    auto endDrag = [this, self] {
        if (!m_isDragging)
            return;
        m_mainQueue.async([self] {
            if (self)
                self->setIsDragging(false);
        });
    };
    const std::pair<EventMask, backend::GlobalEventMonitor::Handler> monitors[] = {
        {EventMask::LeftMouseDragged,
         [this, self](const backend::Event&) {
             m_mainQueue.async([self] {
                 if (self)
                     self->checkPasteboard();
             });
         }},
        {EventMask::LeftMouseUp, [endDrag](const backend::Event&) { endDrag(); }},
        {EventMask::KeyDown,
         [this, self, endDrag](const backend::Event& event) {
             if (event.keyCode != backend::kEscapeKeyCode)
                 return;
             endDrag();
             if (m_isShelfRequested) {
                 m_mainQueue.async([self] {
                     if (self)
                         self->setIsShelfRequested(false);
                 });
             }
         }},
    };
    for (const auto& [mask, handler] : monitors) {
        if (auto token = m_eventSource.addGlobalMonitor(mask, handler))
            m_eventMonitor.push_back(*token);
    }
}

void DragMonitor::checkPasteboard() {
    const std::int64_t count = m_pasteboard.changeCount();
    if (count == m_lastChangeCount)
        return;
    QPointer<DragMonitor> self(this);
    m_mainQueue.async([self, count] {
        if (!self)
            return;
        self->m_lastChangeCount = count;
        const bool readable = self->m_pasteboard.canReadObjectForClasses(
            {PasteboardClass::Image, PasteboardClass::Color, PasteboardClass::String,
             PasteboardClass::Url});
        if (readable)
            self->setIsDragging(true);
    });
}

void DragMonitor::setIsDragging(bool value) {
    m_isDragging = value;
    // A new drag needs the shelf, put away or not.
    if (value && m_isShelfPutAway)
        setShelfRequest(m_isShelfRequested, false);
    emit isDraggingChanged();
}

void DragMonitor::setIsCursorInside(bool value) {
    m_isCursorInside = value;
    emit isCursorInsideChanged();
}

void DragMonitor::setIsShelfRequested(bool value) {
    setShelfRequest(value, m_isShelfPutAway && !value);
}

void DragMonitor::setShelfRequest(bool isRequested, bool isPutAway) {
    if (m_isShelfRequested == isRequested && m_isShelfPutAway == isPutAway)
        return;
    m_isShelfRequested = isRequested;
    m_isShelfPutAway = isPutAway;
    emit isShelfRequestedChanged();
}

bool DragMonitor::isShelfInSight() const {
    return m_isDragging || m_isShelfRequested || (!draggedItems().isEmpty() && !m_isShelfPutAway);
}

void DragMonitor::toggleShelf() {
    if (isShelfInSight())
        hideShelf();
    else
        showShelf();
}

void DragMonitor::setDraggedItems(QList<BucketItem> items) {
    m_shelf.assign(std::move(items));
    emit draggedItemsChanged();
}

qsizetype DragMonitor::indexOf(const BucketItem& item) const {
    return draggedItems().indexOf(item);
}

void DragMonitor::addItem(const BucketItem& item) {
    m_shelf.insert(0, item);
    emit draggedItemsChanged();
}

void DragMonitor::removeItem(const BucketItem& item) {
    const qsizetype index = indexOf(item);
    if (index < 0)
        return;
    m_shelf.remove(index);
    emit draggedItemsChanged();
}

void DragMonitor::splitItem(const BucketItem& item) {
    const qsizetype index = indexOf(item);
    if (index < 0)
        return;
    QList<BucketItem> pieces;
    pieces.reserve(item.items.size());
    for (const shelf::BucketItemData& payload : item.items)
        pieces << BucketItem({payload}, item.isLocked);
    m_shelf.replace(index, pieces);
    emit draggedItemsChanged();
}

void DragMonitor::clearItems() {
    QPointer<DragMonitor> self(this);
    m_mainQueue.async([self] {
        if (self)
            self->setDraggedItems({});
    });
}

void DragMonitor::updateItem(const BucketItem& item) {
    const QList<BucketItem>& items = draggedItems();
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (items.at(i).id == item.id) {
            m_shelf.set(i, item);
            emit draggedItemsChanged();
            return;
        }
    }
}

} // namespace panel
