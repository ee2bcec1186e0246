#include "drag_monitor.h"

#include "backend/drag_selection.h"
#include "backend/global_event_monitor.h"
#include "core/main_queue.h"

namespace panel {

using backend::DragContent;
using shelf::BucketItem;

DragMonitor::DragMonitor(core::MainQueue& mainQueue, backend::DragSelection& dragSelection,
                         backend::GlobalEventMonitor& eventMonitor, QObject* parent)
    : QObject(parent), m_dragSelection(dragSelection), m_mainQueue(mainQueue),
      m_eventSource(eventMonitor) {
    startMonitoring();
}

DragMonitor::~DragMonitor() {
    m_eventSource.setWatchingKeys(false);
}

void DragMonitor::startMonitoring() {
    m_lastChangeCount = m_dragSelection.serial();

    // Handlers only read state; every change they cause goes through the main queue.
    using backend::GlobalEventMonitor;
    connect(&m_eventSource, &GlobalEventMonitor::leftButtonDragged, this,
            [this] { m_mainQueue.post(this, [this] { checkPasteboard(); }); });
    connect(&m_eventSource, &GlobalEventMonitor::leftButtonReleased, this, &DragMonitor::endDrag);
    connect(&m_eventSource, &GlobalEventMonitor::escapePressed, this, [this] {
        // Escape in Holdfin's own drag cancels that drag, and only it.
        if (m_eventSource.isOwnDragInProgress())
            return;
        endDrag();
        if (m_isShelfRequested)
            m_mainQueue.post(this, [this] { setIsShelfRequested(false); });
    });
}

void DragMonitor::endDrag() {
    if (m_isDragging)
        m_mainQueue.post(this, [this] { setIsDragging(false); });
}

void DragMonitor::checkPasteboard() {
    const std::int64_t count = m_dragSelection.serial();
    if (count == m_lastChangeCount)
        return;
    m_mainQueue.post(this, [this, count] {
        m_lastChangeCount = count;
        const bool readable = m_dragSelection.hasContent(
            {DragContent::Image, DragContent::Color, DragContent::Text, DragContent::Url});
        if (readable)
            setIsDragging(true);
    });
}

void DragMonitor::watchKeys() {
    m_eventSource.setWatchingKeys(m_isDragging || m_isShelfRequested);
}

void DragMonitor::setIsDragging(bool value) {
    m_isDragging = value;
    watchKeys();
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
    watchKeys();
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
    m_mainQueue.post(this, [this] { setDraggedItems({}); });
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
