#pragma once

#include "panel/shelf_history.h"
#include "panel/shelf_model.h"
#include "shelf/bucket_item.h"

#include <QList>
#include <QObject>

#include <cstdint>

namespace backend {
class DragSelection;
class GlobalEventMonitor;
} // namespace backend

namespace core {
class MainQueue;
}

namespace panel {

// Notices system-wide drags (isDragging) and owns the shelf (draggedItems, newest first).
// Lives on the GUI thread; every published property notifies on each assignment, changed
// value or not. Views follow the shelf through shelfModel(), whose row signals report only
// what changed.
class DragMonitor final : public QObject {
    Q_OBJECT
public:
    // Follows `eventMonitor` at once, and has it watch keys while a drag is on or the shelf is
    // shown on request; all three services must outlive the monitor.
    DragMonitor(core::MainQueue& mainQueue, backend::DragSelection& dragSelection,
                backend::GlobalEventMonitor& eventMonitor, QObject* parent = nullptr);
    ~DragMonitor() override;

    bool isDragging() const { return m_isDragging; }
    void setIsDragging(bool value);
    bool isCursorInside() const { return m_isCursorInside; }
    void setIsCursorInside(bool value);
    // The user asked to see the shelf (tray, shortcut, second launch): it stays shown until
    // hidden again, an entry is dragged out of it, or Escape is pressed.
    bool isShelfRequested() const { return m_isShelfRequested; }
    void setIsShelfRequested(bool value);
    // The user put the shelf away (tray, shortcut, "Hide Shelf"): out of sight even while it
    // holds entries, until it is asked for again or the next drag starts.
    bool isShelfPutAway() const { return m_isShelfPutAway; }
    // Whether the shelf is in sight by the user's and the drags' doing: a drag is on, it was
    // asked for, or it holds entries and was not put away.
    bool isShelfInSight() const;
    const QList<shelf::BucketItem>& draggedItems() const { return m_shelf.items(); }
    void setDraggedItems(QList<shelf::BucketItem> items);
    // The shelf as a list model; changed by the operations here only.
    const ShelfModel& shelfModel() const { return m_shelf; }

    std::int64_t lastChangeCount() const { return m_lastChangeCount; }
    void setLastChangeCount(std::int64_t count) { m_lastChangeCount = count; }
    backend::DragSelection& dragSelection() const { return m_dragSelection; }

    // Drag-start test, run on the main queue for every left-mouse-dragged event.
    void checkPasteboard();

    // Puts `item` at the front of the shelf.
    void addItem(const shelf::BucketItem& item);
    // Removes the first entry equal to `item`; nothing if none is.
    void removeItem(const shelf::BucketItem& item);
    // Replaces the first entry equal to `item` by one entry per payload, in place, keeping
    // the lock state; nothing if none is equal (a stale copy, for instance).
    void splitItem(const shelf::BucketItem& item);
    // Empties the shelf, locked entries included, one main-queue turn later.
    void clearItems();
    // Writes an edited entry (same id) back into the shelf, which counts as an assignment of
    // the whole list; an entry no longer on the shelf is ignored.
    void updateItem(const shelf::BucketItem& item);

    // The user's removals and clearing go through here to be undoable.
    ShelfHistory& history() { return m_history; }
    const ShelfHistory& history() const { return m_history; }

public slots:
    // The user's explicit requests; both notify through isShelfRequestedChanged.
    void showShelf() { setShelfRequest(true, false); }
    void hideShelf() { setShelfRequest(false, true); }
    // Hides the shelf if it is in sight, else shows it.
    void toggleShelf();

signals:
    void isDraggingChanged();
    void isShelfRequestedChanged();
    void isCursorInsideChanged();
    void draggedItemsChanged();

private:
    void startMonitoring();
    void endDrag();
    void watchKeys();
    void setShelfRequest(bool isRequested, bool isPutAway);
    qsizetype indexOf(const shelf::BucketItem& item) const;

    bool m_isDragging = false;
    bool m_isCursorInside = false;
    bool m_isShelfRequested = false;
    bool m_isShelfPutAway = false;
    ShelfModel m_shelf; // draggedItems
    backend::DragSelection& m_dragSelection;
    std::int64_t m_lastChangeCount = 0;
    core::MainQueue& m_mainQueue;
    backend::GlobalEventMonitor& m_eventSource;
    ShelfHistory m_history{*this, m_mainQueue};
};

} // namespace panel
