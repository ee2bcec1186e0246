#pragma once

#include "shelf/bucket_item.h"

#include <QList>
#include <QObject>

#include <chrono>
#include <cstdint>
#include <deque>

namespace core {
class MainQueue;
}

namespace panel {

class DragMonitor;

// Makes the user's removals and clearing of the shelf undoable: each can be undone for
// kUndoWindow after it was asked for, the newest first. Entries dragged out of the shelf are
// handed over, not removed by the user, and are not recorded. GUI thread only.
class ShelfHistory final : public QObject {
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds kUndoWindow{15000};
    // Older steps are forgotten beyond this many.
    static constexpr std::size_t kMaximumSteps = 50;

    // Both must outlive the history.
    ShelfHistory(DragMonitor& dragMonitor, core::MainQueue& mainQueue, QObject* parent = nullptr);

    // Removes the first entry equal to `item`, undoably; nothing if none is.
    void removeItem(const shelf::BucketItem& item);
    // Empties the shelf, locked entries included, one main-queue turn later, undoably.
    void clearItems();

    bool canUndo() const { return !m_steps.empty(); }
    // Every entry an undo could bring back.
    QList<shelf::BucketItem> heldItems() const;

public slots:
    // Brings back what the newest step took: a removed entry at its place (as far as the shelf
    // still reaches), cleared entries below those added since. Entries already back on the
    // shelf are not doubled. Nothing when there is nothing to undo.
    void undo();

signals:
    void canUndoChanged();

private:
    struct Step {
        std::uint64_t serial;
        QList<shelf::BucketItem> items;
        qsizetype index; // of a removed entry; -1 for a clearing
    };
    void record(QList<shelf::BucketItem> items, qsizetype index);
    void expire(std::uint64_t serial);

    DragMonitor& m_dragMonitor;
    core::MainQueue& m_mainQueue;
    std::deque<Step> m_steps; // oldest first
    std::uint64_t m_nextSerial = 0;
};

} // namespace panel
