// The shelf as views see it: the row signals of the drag monitor's shelf model.
#include "panel/drag_monitor.h"
#include "panel/shelf_model.h"
#include "support/fake_drag_selection.h"
#include "support/fake_global_event_monitor.h"
#include "support/fake_main_queue.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QIcon>
#include <QSignalSpy>

using panel::ShelfModel;
using shelf::BucketItem;
using shelf::BucketItemData;
using shelf::UTType;

namespace {

BucketItem entry(int payloads, bool locked = false) {
    QList<BucketItemData> items;
    for (int i = 0; i < payloads; ++i)
        items << BucketItemData(QStringLiteral("file:///f%1").arg(i), UTType::fileURL);
    return BucketItem(items, locked);
}

BucketItem locked(BucketItem item) {
    item.isLocked = !item.isLocked;
    return item;
}

// Every row-level signal of a model, as "inserted 0-2", "removed 1-1", "changed 3-3", "reset".
struct RowLog {
    explicit RowLog(const QAbstractItemModel& model) {
        auto range = [](const char* what, int first, int last) {
            return QStringLiteral("%1 %2-%3").arg(QLatin1String(what)).arg(first).arg(last);
        };
        QObject::connect(&model, &QAbstractItemModel::rowsInserted, &context,
                         [this, range](const QModelIndex&, int first, int last) {
                             lines << range("inserted", first, last);
                         });
        QObject::connect(&model, &QAbstractItemModel::rowsRemoved, &context,
                         [this, range](const QModelIndex&, int first, int last) {
                             lines << range("removed", first, last);
                         });
        QObject::connect(&model, &QAbstractItemModel::dataChanged, &context,
                         [this, range](const QModelIndex& top, const QModelIndex& bottom) {
                             lines << range("changed", top.row(), bottom.row());
                         });
        QObject::connect(&model, &QAbstractItemModel::rowsMoved, &context,
                         [this] { lines << QStringLiteral("moved"); });
        QObject::connect(&model, &QAbstractItemModel::modelReset, &context,
                         [this] { lines << QStringLiteral("reset"); });
        QObject::connect(&model, &QAbstractItemModel::layoutChanged, &context,
                         [this] { lines << QStringLiteral("layout"); });
    }
    QObject context;
    QStringList lines;
};

// The shelf operations of the drag monitor, seen through its model.
class ShelfModelTest : public ::testing::Test {
protected:
    // Fills the shelf with `count` entries, oldest last, before any recording starts.
    void fill(int count) {
        for (int i = 0; i < count; ++i)
            monitor.addItem(entry(1 + i % 3));
        rows.lines.clear();
        published.clear();
    }
    const QList<BucketItem>& items() const { return monitor.draggedItems(); }

    testing_support::FakeMainQueue queue;
    testing_support::FakeDragSelection dragSelection;
    testing_support::FakeGlobalEventMonitor events;
    panel::DragMonitor monitor{queue, dragSelection, events};
    const ShelfModel& model = monitor.shelfModel();
    RowLog rows{model};
    QSignalSpy published{&monitor, &panel::DragMonitor::draggedItemsChanged};
};

} // namespace

TEST_F(ShelfModelTest, RowsHoldTheShelfInOrder) {
    fill(3);
    ASSERT_EQ(model.rowCount(), 3);
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(ShelfModel::itemAt(model.index(row)), items().at(row)) << row;
    }
    EXPECT_FALSE(model.index(3).isValid());
    EXPECT_EQ(ShelfModel::itemAt(model.index(3)).items.size(), 0) << "out of range: empty entry";
}

TEST_F(ShelfModelTest, EachOperationSignalsTheRowsItTouches) {
    fill(3);
    monitor.addItem(entry(1));
    EXPECT_EQ(rows.lines, QStringList{"inserted 0-0"});

    rows.lines.clear();
    monitor.updateItem(locked(items().at(2)));
    EXPECT_EQ(rows.lines, QStringList{"changed 2-2"}) << "a lock change is one row's data";
    EXPECT_TRUE(items().at(2).isLocked);

    rows.lines.clear();
    const BucketItem three = entry(3);
    monitor.setDraggedItems({items().at(0), three, items().at(1)});
    rows.lines.clear();
    monitor.splitItem(three);
    EXPECT_EQ(rows.lines, (QStringList{"removed 1-1", "inserted 1-3"}));
    ASSERT_EQ(items().size(), 5);
    for (int row = 1; row <= 3; ++row)
        EXPECT_EQ(items().at(row).items, QList<BucketItemData>{three.items.at(row - 1)});

    rows.lines.clear();
    monitor.splitItem(BucketItem({}, false)); // an entry of no payloads is not on the shelf
    BucketItem empty({}, false);
    monitor.addItem(empty);
    rows.lines.clear();
    monitor.splitItem(empty);
    EXPECT_EQ(rows.lines, QStringList{"removed 0-0"}) << "no payload: nothing takes its place";

    rows.lines.clear();
    monitor.removeItem(items().at(4));
    EXPECT_EQ(rows.lines, QStringList{"removed 4-4"});

    rows.lines.clear();
    monitor.clearItems();
    queue.drain();
    EXPECT_EQ(rows.lines, QStringList{"removed 0-3"});
    EXPECT_EQ(published.count(), 8) << "the published list still notifies every assignment";
}

TEST_F(ShelfModelTest, AssignmentsThatChangeNothingAreSilentAtRowLevel) {
    fill(3);
    published.clear();
    monitor.setDraggedItems(items());
    monitor.setDraggedItems(QList<BucketItem>(items().begin(), items().end())); // a deep copy
    monitor.updateItem(items().at(1));
    monitor.removeItem(entry(1)); // not on the shelf
    monitor.updateItem(entry(1));
    monitor.splitItem(locked(items().at(0))); // a stale copy
    EXPECT_TRUE(rows.lines.isEmpty()) << rows.lines.join(QStringLiteral(", ")).toStdString();
    EXPECT_EQ(published.count(), 3) << "the three assignments still notify";

    ShelfModel empty;
    RowLog emptyRows(empty);
    empty.assign({});
    EXPECT_TRUE(emptyRows.lines.isEmpty());
}

struct AssignCase {
    const char* name;
    // Both shelves as indexes into a pool of entries, a negative index standing for that entry
    // with its lock flipped.
    QList<int> before;
    QList<int> after;
    QStringList signalled;
};

// Assignments straight to a model that Qt's model tester watches: it fails the test (fatally)
// on any inconsistency between the rows signalled and the rows held.
class ShelfModelAssignTest : public ::testing::TestWithParam<AssignCase> {
protected:
    ShelfModel model;
    QAbstractItemModelTester tester{&model, QAbstractItemModelTester::FailureReportingMode::Fatal};
    RowLog rows{model};
};

TEST_P(ShelfModelAssignTest, MatchesEntriesByIdAtBothEnds) {
    QList<BucketItem> pool;
    for (int i = 0; i < 8; ++i)
        pool << entry(1 + i % 2);
    auto shelfOf = [&](const QList<int>& indexes) {
        QList<BucketItem> list;
        for (int i : indexes)
            list << (i < 0 ? locked(pool.at(-i)) : pool.at(i));
        return list;
    };
    model.assign(shelfOf(GetParam().before));
    rows.lines.clear();
    const QList<BucketItem> after = shelfOf(GetParam().after);
    model.assign(after);
    EXPECT_EQ(rows.lines, GetParam().signalled);
    EXPECT_EQ(model.items(), after);
}

INSTANTIATE_TEST_SUITE_P(
    Shelves, ShelfModelAssignTest,
    ::testing::Values(
        AssignCase{"fromEmpty", {}, {0, 1, 2}, {"inserted 0-2"}},
        AssignCase{"toEmpty", {0, 1, 2}, {}, {"removed 0-2"}},
        AssignCase{"newInFront", {1, 2}, {5, 1, 2}, {"inserted 0-0"}},
        AssignCase{"newAtTheEnd", {1, 2}, {1, 2, 5}, {"inserted 2-2"}},
        AssignCase{"oneGoneInTheMiddle", {1, 2, 3, 4}, {1, 2, 4}, {"removed 2-2"}},
        AssignCase{"newInFrontAndOneLocked", {1}, {5, -1}, {"inserted 0-0", "changed 1-1"}},
        AssignCase{"twoLockedApart", {1, 2, 3, 4}, {-1, 2, 3, -4}, {"changed 0-0", "changed 3-3"}},
        AssignCase{"runOfLocks", {1, 2, 3, 4}, {1, -2, -3, 4}, {"changed 1-2"}},
        AssignCase{
            "middleReplaced", {1, 2, 3, 4}, {1, 5, 6, 7, 4}, {"removed 1-2", "inserted 1-3"}},
        // A move is a removal and an insertion; every row stays right.
        AssignCase{"swapped", {1, 2}, {2, 1}, {"removed 0-1", "inserted 0-1"}},
        AssignCase{"duplicateIds", {1, 1}, {1, 2, 1}, {"inserted 1-1"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ShelfModelOperations, KeepTheRowsConsistentForQtsModelTester) {
    ShelfModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    const BucketItem a = entry(1), b = entry(2), c = entry(3);
    model.insert(0, a);
    model.insert(5, b); // past the end: appended
    model.insert(-1, c);
    EXPECT_EQ(model.items(), (QList<BucketItem>{c, a, b}));
    model.set(1, locked(a));
    model.set(7, a); // out of range: nothing
    model.replace(2, {entry(1), entry(1)});
    model.replace(9, {entry(1)});
    model.remove(0);
    model.remove(-1);
    ASSERT_EQ(model.rowCount(), 3);
    EXPECT_EQ(model.items().at(0), locked(a));
    EXPECT_EQ(model.rowCount(model.index(0)), 0) << "a list: rows have no children";
}

// Item views, tooltips and screen readers read an entry through Qt's own roles.
TEST(ShelfModelRoles, NameAndDescribeEachEntry) {
    auto one = [](const char* content, UTType type, bool locked = false) {
        return BucketItem({BucketItemData(QString::fromUtf8(content), type)}, locked);
    };
    ShelfModel model;
    model.assign({one("file:///tmp/notes.txt", UTType::fileURL),
                  one(" first\nsecond\nthird ", UTType::plainText, true),
                  one("https://example.org/page", UTType::url), entry(3)});
    const QStringList expected[] = {{"notes.txt", "file"},
                                    {"first\nsecond\nthird", "text, 3 lines, locked"},
                                    {"page", "link to example.org"},
                                    {"3 files", "3 files"}};
    for (int row = 0; row < model.rowCount(); ++row) {
        const QModelIndex index = model.index(row);
        EXPECT_EQ(
            (QStringList{index.data().toString(), index.data(Qt::AccessibleTextRole).toString()}),
            expected[row]);
        EXPECT_EQ(index.data(Qt::DecorationRole).metaType(), QMetaType::fromType<QIcon>());
    }
}
