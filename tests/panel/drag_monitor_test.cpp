#include "panel/drag_monitor.h"
#include "support/fake_drag_selection.h"
#include "support/fake_global_event_monitor.h"
#include "support/fake_main_queue.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

using backend::DragContent;
using shelf::BucketItem;
using shelf::BucketItemData;
using shelf::UTType;

namespace {

class DragMonitorTest : public ::testing::Test {
protected:
    testing_support::FakeMainQueue queue;
    testing_support::FakeDragSelection dragSelection;
    testing_support::FakeGlobalEventMonitor events;

    std::unique_ptr<panel::DragMonitor> makeMonitor() {
        return std::make_unique<panel::DragMonitor>(queue, dragSelection, events);
    }

    static BucketItem entry(int payloads, bool locked = false) {
        QList<BucketItemData> items;
        for (int i = 0; i < payloads; ++i)
            items << BucketItemData(QStringLiteral("file:///f%1").arg(i), UTType::fileURL);
        return BucketItem(items, locked);
    }
};

// Starts a readable drag and lets the monitor notice it.
void startReadableDrag(testing_support::FakeDragSelection& dragSelection,
                       testing_support::FakeGlobalEventMonitor& events,
                       testing_support::FakeMainQueue& queue) {
    dragSelection.startDrag({DragContent::Url});
    events.leftMouseDragged();
    queue.drain();
}

} // namespace

TEST_F(DragMonitorTest, DragStartIsReportedOnceOnALaterTurn) {
    auto monitor = makeMonitor();
    QSignalSpy spy(monitor.get(), &panel::DragMonitor::isDraggingChanged);
    dragSelection.startDrag({DragContent::Text});
    events.leftMouseDragged();
    EXPECT_FALSE(monitor->isDragging()) << "no change inside the handler";
    queue.drain();
    EXPECT_TRUE(monitor->isDragging());
    EXPECT_EQ(monitor->lastChangeCount(), dragSelection.serial());
    EXPECT_EQ(spy.count(), 1);

    events.leftMouseDragged(); // same drag, same count: nothing more
    queue.drain();
    EXPECT_EQ(spy.count(), 1);
    EXPECT_EQ(dragSelection.readabilityQueries(), 1);
}

TEST_F(DragMonitorTest, SecondStepsQueuedBeforeTheFirstRunAllRepeat) {
    auto monitor = makeMonitor();
    QSignalSpy spy(monitor.get(), &panel::DragMonitor::isDraggingChanged);
    dragSelection.startDrag({DragContent::Image});
    events.leftMouseDragged();
    events.leftMouseDragged();
    events.leftMouseDragged();
    queue.drain();
    EXPECT_TRUE(monitor->isDragging());
    EXPECT_EQ(spy.count(), 3) << "each second step assigns (and notifies) again";
}

TEST_F(DragMonitorTest, EachReadableClassStartsADrag) {
    for (auto c : {DragContent::Image, DragContent::Color, DragContent::Text, DragContent::Url}) {
        auto monitor = makeMonitor();
        startReadableDrag(dragSelection, events, queue);
        dragSelection.startDrag({c});
        events.leftMouseDragged();
        queue.drain();
        EXPECT_TRUE(monitor->isDragging()) << static_cast<int>(c);
    }
}

TEST_F(DragMonitorTest, UnreadableDragIsConsumedWithoutRaisingTheState) {
    auto monitor = makeMonitor();
    QSignalSpy spy(monitor.get(), &panel::DragMonitor::isDraggingChanged);
    dragSelection.startDrag({});
    events.leftMouseDragged();
    queue.drain();
    EXPECT_FALSE(monitor->isDragging());
    EXPECT_EQ(spy.count(), 0);
    EXPECT_EQ(monitor->lastChangeCount(), dragSelection.serial()) << "count recorded anyway";
    events.leftMouseDragged();
    queue.drain();
    EXPECT_EQ(dragSelection.readabilityQueries(), 1) << "later events of the same drag do nothing";
}

TEST_F(DragMonitorTest, DragUnderWayAtStartIsNotReported) {
    dragSelection.startDrag({DragContent::Url});
    auto monitor = makeMonitor();
    EXPECT_EQ(monitor->lastChangeCount(), dragSelection.serial());
    events.leftMouseDragged();
    queue.drain();
    EXPECT_FALSE(monitor->isDragging());
}

TEST_F(DragMonitorTest, ReleaseAndEscapeEndTheDragOneTurnLater) {
    auto monitor = makeMonitor();
    for (bool byEscape : {false, true}) {
        EXPECT_FALSE(events.isWatchingKeys()) << "typing with no drag on wakes nothing";
        startReadableDrag(dragSelection, events, queue);
        ASSERT_TRUE(monitor->isDragging());
        EXPECT_TRUE(events.isWatchingKeys());
        if (byEscape)
            events.keyDown(Qt::Key_Escape);
        else
            events.leftMouseUp();
        EXPECT_TRUE(monitor->isDragging()) << "the end is published on the queue";
        EXPECT_EQ(queue.drain(), 1u);
        EXPECT_FALSE(monitor->isDragging());
    }
}

TEST_F(DragMonitorTest, OtherKeysAndIdleEventsDoNothing) {
    auto monitor = makeMonitor();
    QSignalSpy spy(monitor.get(), &panel::DragMonitor::isDraggingChanged);
    events.leftMouseUp();
    events.keyDown(Qt::Key_Escape);
    EXPECT_EQ(queue.pending(), 0u) << "nothing submitted while idle";

    startReadableDrag(dragSelection, events, queue);
    events.keyDown(Qt::Key_A);
    events.keyDown(Qt::Key_Return);
    queue.drain();
    EXPECT_TRUE(monitor->isDragging());
    EXPECT_EQ(spy.count(), 1);
}

TEST_F(DragMonitorTest, FollowsTheEventMonitorWhileItLives) {
    {
        auto monitor = makeMonitor();
        EXPECT_EQ(events.receiverCount(), 3);
    }
    EXPECT_EQ(events.receiverCount(), 0);
}

TEST_F(DragMonitorTest, QueuedWorkOutlivingTheMonitorIsDropped) {
    auto monitor = makeMonitor();
    dragSelection.startDrag({DragContent::Url});
    events.leftMouseDragged();
    monitor->clearItems();
    monitor.reset();
    EXPECT_NO_FATAL_FAILURE(queue.drain());
}

TEST_F(DragMonitorTest, AddPutsNewestFirstAndNotifies) {
    auto monitor = makeMonitor();
    QSignalSpy spy(monitor.get(), &panel::DragMonitor::draggedItemsChanged);
    const BucketItem a = entry(1), b = entry(1), c = entry(1), d = entry(2);
    for (const auto& e : {a, b, c})
        monitor->addItem(e);
    monitor->addItem(d);
    EXPECT_EQ(monitor->draggedItems(), (QList<BucketItem>{d, c, b, a}));
    EXPECT_EQ(spy.count(), 4);
}

TEST_F(DragMonitorTest, SplitReplacesInPlaceKeepingLockAndPayloads) {
    auto monitor = makeMonitor();
    const BucketItem last = entry(1), middle = entry(3, /*locked*/ true), first = entry(1);
    monitor->addItem(last);
    monitor->addItem(middle);
    monitor->addItem(first);
    monitor->splitItem(middle);
    const auto& items = monitor->draggedItems();
    ASSERT_EQ(items.size(), 5);
    EXPECT_EQ(items[0], first);
    EXPECT_EQ(items[4], last);
    for (int i = 0; i < 3; ++i) {
        const BucketItem& piece = items[1 + i];
        EXPECT_NE(piece.id, middle.id);
        EXPECT_TRUE(piece.isLocked);
        ASSERT_EQ(piece.items.size(), 1);
        EXPECT_EQ(piece.items[0], middle.items[i]) << "payload keeps id, content and type";
    }

    const BucketItem single = items[0];
    monitor->splitItem(single);
    EXPECT_NE(monitor->draggedItems()[0].id, single.id);
    EXPECT_EQ(monitor->draggedItems()[0].items, single.items);
    EXPECT_EQ(monitor->draggedItems().size(), 5);
}

TEST_F(DragMonitorTest, StaleCopiesAreIgnoredAfterALockFlip) {
    auto monitor = makeMonitor();
    const BucketItem original = entry(2);
    monitor->addItem(original);
    BucketItem locked = original;
    locked.isLocked = true;
    QSignalSpy spy(monitor.get(), &panel::DragMonitor::draggedItemsChanged);
    monitor->updateItem(locked); // the tile's lock toggle
    EXPECT_EQ(spy.count(), 1) << "an element write assigns the whole list";
    EXPECT_TRUE(monitor->draggedItems()[0].isLocked);

    monitor->splitItem(original);
    monitor->removeItem(original);
    EXPECT_EQ(monitor->draggedItems(), QList<BucketItem>{locked});
    EXPECT_EQ(spy.count(), 1);

    monitor->removeItem(locked); // the current copy, locked or not, is removed
    EXPECT_TRUE(monitor->draggedItems().isEmpty());
    monitor->updateItem(locked); // no longer on the shelf: ignored
    EXPECT_TRUE(monitor->draggedItems().isEmpty());
}

TEST_F(DragMonitorTest, ClearEmptiesLockedEntriesOneTurnLater) {
    auto monitor = makeMonitor();
    monitor->addItem(entry(1, true));
    monitor->addItem(entry(3, false));
    monitor->clearItems();
    EXPECT_EQ(monitor->draggedItems().size(), 2);
    queue.drain();
    EXPECT_TRUE(monitor->draggedItems().isEmpty());
}
