#include "views/lazy_list_view.h"

#include <gtest/gtest.h>

#include <QScrollBar>
#include <QSet>
#include <QWheelEvent>

using views::LazyListView;

namespace {

// A list over a vector of keys, counting the widgets it was asked to create.
struct ListFixture {
    QList<QUuid> keys;
    int created = 0;
    LazyListView view{LazyListView::Layout{},
                      [this](int row) {
                          ++created;
                          auto* w = new QWidget;
                          w->setProperty("key", keys.at(row));
                          return w;
                      },
                      [this](int row) { return keys.at(row); }};

    explicit ListFixture(int rows) {
        for (int i = 0; i < rows; ++i)
            keys << QUuid::createUuid();
        view.resize(160, 280);
        view.show();
        view.setRowCount(rows);
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

TEST(LazyListView, KeepsWidgetsWithTheirKeysWhenRowsMove) {
    ListFixture list(3);
    QWidget* firstBefore = list.view.widgetForRow(0);
    list.keys.prepend(QUuid::createUuid()); // a new entry at the front
    list.view.setRowCount(4);
    EXPECT_EQ(list.view.widgetForRow(1), firstBefore) << "old first row moved down, same widget";
    EXPECT_EQ(firstBefore->geometry().top(), 4 + 94);

    const QUuid removed = list.keys.takeAt(1);
    list.view.setRowCount(3);
    for (QWidget* w : list.view.liveWidgets())
        EXPECT_NE(w->property("key").toUuid(), removed);
    EXPECT_EQ(list.view.liveWidgets().size(), 3);

    list.keys.clear();
    list.view.setRowCount(0);
    EXPECT_TRUE(list.view.liveWidgets().isEmpty());
}
