#include "views/lazy_list_view.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPointer>
#include <QScrollBar>
#include <QStringListModel>

using views::LazyListView;

namespace {

// A list over a string model, counting the widgets it was asked to create; each widget
// carries the string of the row it was made for.
struct ListFixture {
    QStringListModel model;
    int created = 0;
    LazyListView view{LazyListView::Layout{}, model, [this](const QModelIndex& index) {
                          ++created;
                          auto* w = new QWidget;
                          w->setProperty("key", index.data());
                          return w;
                      }};

    explicit ListFixture(int rows) {
        QStringList keys;
        for (int i = 0; i < rows; ++i)
            keys << QStringLiteral("row %1").arg(i);
        model.setStringList(keys);
        view.resize(160, 280);
        view.show();
    }

    QString keyOf(int row) { return view.widgetForRow(row)->property("key").toString(); }
    void insert(int row, const QString& key) {
        model.insertRows(row, 1);
        model.setData(model.index(row), key);
    }
};

} // namespace

TEST(LazyListView, PlacesRowsCentredWithPaddingAndSpacing) {
    ListFixture list(3);
    ASSERT_EQ(list.view.liveWidgets().size(), 3);
    for (int row = 0; row < 3; ++row) {
        const QRect g = list.view.widgetForRow(row)->geometry();
        EXPECT_EQ(g, QRect(5, 4 + row * 94, 150, 90)) << row;
    }
    EXPECT_EQ(list.view.contentHeight(), 4 + 3 * 90 + 2 * 4 + 4);
    EXPECT_EQ(list.view.verticalScrollBar()->maximum(), 286 - 280);
}

TEST(LazyListView, BuildsOnlyTheRowsInViewWhateverTheLength) {
    for (int rows : {10, 100000}) {
        ListFixture list(rows);
        // 280 high shows rows 0..2 (row 2 partly); one more below is allowed.
        EXPECT_EQ(list.view.liveWidgets().size(), 4) << rows;
        EXPECT_EQ(list.created, 4) << rows;
        auto* bar = list.view.verticalScrollBar();
        for (int step = 1; step <= 100; ++step) {
            bar->setValue(bar->maximum() * step / 100);
            // At most four rows are in view at once (partly), plus one above and one below.
            EXPECT_LE(list.view.liveWidgets().size(), 6) << rows << " step " << step;
        }
        QWidget* last = list.view.widgetForRow(rows - 1);
        ASSERT_NE(last, nullptr) << "scrolled to the end, the last row exists";
        EXPECT_EQ(last->geometry().bottom() + 1 + 4, list.view.viewport()->height())
            << "bottom padding below the last row";
    }
}

TEST(LazyListView, KeepsWidgetsWithTheirRowsAsRowsComeAndGo) {
    ListFixture list(3);
    QWidget* firstBefore = list.view.widgetForRow(0);
    list.insert(0, QStringLiteral("new")); // a new entry at the front
    EXPECT_EQ(list.view.widgetForRow(1), firstBefore) << "old first row moved down, same widget";
    EXPECT_EQ(firstBefore->geometry().top(), 4 + 94);
    EXPECT_EQ(list.keyOf(0), QStringLiteral("new"));

    QPointer<QWidget> removed = list.view.widgetForRow(1);
    list.model.removeRows(1, 1);
    EXPECT_EQ(list.view.liveWidgets().size(), 3);
    EXPECT_FALSE(list.view.liveWidgets().contains(removed.data()));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(removed.isNull()) << "the removed row's widget is gone";

    list.model.setStringList({});
    EXPECT_TRUE(list.view.liveWidgets().isEmpty());
}

// A split removes a row and inserts its pieces where it stood: only the pieces get widgets,
// not the row that comes into view while the shelf is one row short.
TEST(LazyListView, ARemovalAndAnInsertionInARowMakeOnlyTheNewRowsWidgets) {
    ListFixture list(6);
    ASSERT_EQ(list.created, 4);
    QWidget* second = list.view.widgetForRow(1);
    list.model.removeRows(0, 1);
    for (int piece = 2; piece >= 0; --piece)
        list.insert(0, QStringLiteral("piece %1").arg(piece));
    EXPECT_EQ(list.view.widgetForRow(3), second);
    EXPECT_EQ(list.created, 4 + 3);
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(list.keyOf(row), QStringLiteral("piece %1").arg(row));
}

TEST(LazyListView, RowChangesAreLaidOutOnTheNextTurnWithoutBeingAsked) {
    ListFixture list(1);
    ASSERT_EQ(list.created, 1);
    list.insert(0, QStringLiteral("new"));
    QCoreApplication::processEvents();
    EXPECT_EQ(list.created, 2);
    EXPECT_EQ(list.view.verticalScrollBar()->maximum(), 0);
}
