#include "panel/shelf_history.h"

#include "core/main_queue.h"
#include "panel/drag_monitor.h"

#include <QSet>

namespace panel {

using shelf::BucketItem;

ShelfHistory::ShelfHistory(DragMonitor& dragMonitor, core::MainQueue& mainQueue, QObject* parent)
    : QObject(parent), m_dragMonitor(dragMonitor), m_mainQueue(mainQueue) {}

void ShelfHistory::removeItem(const BucketItem& item) {
    const qsizetype index = m_dragMonitor.draggedItems().indexOf(item);
    if (index < 0)
        return;
    record({item}, index);
    m_dragMonitor.removeItem(item);
}

void ShelfHistory::clearItems() {
    // The clearing itself waits one turn: what it takes is what the shelf holds then. This
    // task is queued first, so it runs just before.
    m_mainQueue.post(this, [this] {
        if (!m_dragMonitor.draggedItems().isEmpty())
            record(m_dragMonitor.draggedItems(), -1);
    });
    m_dragMonitor.clearItems();
}

QList<BucketItem> ShelfHistory::heldItems() const {
    QList<BucketItem> items;
    for (const Step& step : m_steps)
        items += step.items;
    return items;
}

void ShelfHistory::undo() {
    if (m_steps.empty())
        return;
    const Step step = std::move(m_steps.back());
    m_steps.pop_back();
    QList<BucketItem> shelf = m_dragMonitor.draggedItems();
    QSet<QUuid> present;
    for (const BucketItem& item : shelf)
        present.insert(item.id);
    if (step.index >= 0) {
        const BucketItem& item = step.items.front();
        if (!present.contains(item.id))
            shelf.insert(std::min(step.index, shelf.size()), item);
    } else {
        for (const BucketItem& item : step.items) {
            if (!present.contains(item.id))
                shelf << item;
        }
    }
    m_dragMonitor.setDraggedItems(std::move(shelf));
    if (m_steps.empty())
        emit canUndoChanged();
}

void ShelfHistory::record(QList<BucketItem> items, qsizetype index) {
    const bool couldUndo = canUndo();
    const std::uint64_t serial = m_nextSerial++;
    m_steps.push_back({serial, std::move(items), index});
    if (m_steps.size() > kMaximumSteps)
        m_steps.pop_front();
    m_mainQueue.postAfter(kUndoWindow, this, [this, serial] { expire(serial); });
    if (!couldUndo)
        emit canUndoChanged();
}

void ShelfHistory::expire(std::uint64_t serial) {
    // Steps expire in the order they were recorded.
    const bool couldUndo = canUndo();
    while (!m_steps.empty() && m_steps.front().serial <= serial)
        m_steps.pop_front();
    if (couldUndo && !canUndo())
        emit canUndoChanged();
}

} // namespace panel
