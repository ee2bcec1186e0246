#include "panel/drag_monitor.h"
#include "panel/shelf_history.h"
#include "support/fake_drag_selection.h"
#include "support/fake_global_event_monitor.h"
#include "support/fake_main_queue.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

using namespace std::chrono_literals;
using panel::ShelfHistory;
using shelf::BucketItem;
using shelf::BucketItemData;
using shelf::UTType;

namespace {

class ShelfHistoryTest : public testing::Test {
protected:
    testing_support::FakeMainQueue queue;
    testing_support::FakeDragSelection dragSelection;
    testing_support::FakeGlobalEventMonitor events;
    panel::DragMonitor monitor{queue, dragSelection, events};
    ShelfHistory& history = monitor.history();

    static BucketItem entry(const QString& name, bool locked = false) {
        return BucketItem({BucketItemData(name, UTType::plainText)}, locked);
    }
    // A shelf of a, b (locked), c, top to bottom.
    QList<BucketItem> fill() {
        monitor.addItem(entry(QStringLiteral("c")));
        monitor.addItem(entry(QStringLiteral("b"), true));
        monitor.addItem(entry(QStringLiteral("a")));
        return monitor.draggedItems();
    }
};

} // namespace

TEST_F(ShelfHistoryTest, UndoOfAClearBringsBackEveryEntryLockedOnesIncluded) {
    const QList<BucketItem> before = fill();
    QSignalSpy canUndo(&history, &ShelfHistory::canUndoChanged);
    history.clearItems();
    EXPECT_EQ(monitor.draggedItems(), before) << "the clearing waits one turn";
    queue.drain();
    EXPECT_TRUE(monitor.draggedItems().isEmpty());
    ASSERT_TRUE(history.canUndo());
    EXPECT_EQ(canUndo.count(), 1);
    EXPECT_EQ(history.heldItems(), before);

    history.undo();
    EXPECT_EQ(monitor.draggedItems(), before);
    EXPECT_FALSE(history.canUndo());
    EXPECT_EQ(canUndo.count(), 2);
}

TEST_F(ShelfHistoryTest, ClearedEntriesComeBackBelowThoseAddedSince) {
    const QList<BucketItem> before = fill();
    history.clearItems();
    queue.drain();
    monitor.addItem(entry(QStringLiteral("new")));
    history.undo();
    ASSERT_EQ(monitor.draggedItems().size(), 4);
    EXPECT_EQ(monitor.draggedItems().front().items.front().content, QStringLiteral("new"));
    EXPECT_EQ(monitor.draggedItems().mid(1), before);
}

TEST_F(ShelfHistoryTest, RemovalsAreUndoneNewestFirstAtTheirPlaces) {
    const QList<BucketItem> before = fill();
    history.removeItem(before[1]);
    history.removeItem(before[2]);
    EXPECT_EQ(monitor.draggedItems(), QList<BucketItem>{before[0]});
    history.undo();
    EXPECT_EQ(monitor.draggedItems(), (QList<BucketItem>{before[0], before[2]}));
    history.undo();
    EXPECT_EQ(monitor.draggedItems(), before);
    history.undo(); // nothing left: nothing happens
    EXPECT_EQ(monitor.draggedItems(), before);
}

TEST_F(ShelfHistoryTest, RemovingWhatIsNotOnTheShelfRecordsNothing) {
    fill();
    history.removeItem(entry(QStringLiteral("stranger")));
    EXPECT_FALSE(history.canUndo());
    ShelfHistory& same = monitor.history();
    monitor.setDraggedItems({});
    same.clearItems(); // an empty shelf has nothing to bring back
    queue.drain();
    EXPECT_FALSE(history.canUndo());
}

TEST_F(ShelfHistoryTest, AnEntryAlreadyBackIsNotDoubled) {
    const QList<BucketItem> before = fill();
    history.removeItem(before[0]);
    monitor.addItem(before[0]);
    history.undo();
    EXPECT_EQ(monitor.draggedItems(), before);
}

TEST_F(ShelfHistoryTest, StepsExpireAfterTheUndoWindow) {
    const QList<BucketItem> before = fill();
    QSignalSpy canUndo(&history, &ShelfHistory::canUndoChanged);
    history.removeItem(before[0]);
    queue.advance(5s);
    history.removeItem(before[1]);
    queue.advance(ShelfHistory::kUndoWindow - 5s);
    EXPECT_TRUE(history.canUndo()) << "the second removal is still undoable";
    EXPECT_EQ(history.heldItems(), QList<BucketItem>{before[1]});
    queue.advance(5s);
    EXPECT_FALSE(history.canUndo());
    EXPECT_EQ(canUndo.count(), 2) << "became undoable, then no longer";
    history.undo();
    EXPECT_EQ(monitor.draggedItems(), QList<BucketItem>{before[2]});
}
