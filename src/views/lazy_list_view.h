#pragma once

#include <QAbstractScrollArea>
#include <QPersistentModelIndex>

#include <functional>
#include <vector>

class QAbstractItemModel;
class QScrollBar;

namespace views {

// A vertical list of fixed-height rows over a list model that creates row widgets only for
// the rows in view (plus one above and one below), so a list of 100,000 rows costs what a list
// of ten does. A row widget is bound to its row by a persistent index: it moves with the row
// when rows come and go around it, and goes with it. Row changes are laid out once the model's
// change is complete (before the next paint, or when the list is asked about its widgets), so
// a removal followed by an insertion creates no widget in between.
class LazyListView final : public QAbstractScrollArea {
    Q_OBJECT
public:
    struct Layout {
        int rowWidth = 150;
        int rowHeight = 90;
        int spacing = 4;
        int topPadding = 4;
        int bottomPadding = 4;
    };
    // Creates the widget of the row at `index`; the list parents, places and deletes it. Row
    // widgets follow changes of their row's data themselves.
    using Factory = std::function<QWidget*(const QModelIndex& index)>;

    // `model` must outlive the list.
    LazyListView(Layout layout, const QAbstractItemModel& model, Factory create,
                 QWidget* parent = nullptr);

    int rowCount() const;
    // The widgets that exist now, by row.
    QList<QWidget*> liveWidgets();
    QWidget* widgetForRow(int row);
    int contentHeight() const;

    // The row whose widget has, or holds, the window's keyboard focus; -1 for none.
    int focusedRow();
    // Scrolls `row` into view and gives its widget the keyboard focus; nothing out of range.
    void focusRow(int row, Qt::FocusReason reason = Qt::TabFocusReason);

protected:
    // The arrow keys, Home and End move the focus from row to row.
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    struct LiveRow {
        QPersistentModelIndex index;
        QWidget* widget;
        int row; // where it was last laid out: a removed row's index no longer says
    };

    void scheduleLayout();
    // Lays out row changes not laid out yet.
    void settle();
    void layoutRows();
    void relayout();
    void updateScrollRange();
    int rowTop(int row) const;

    Layout m_layout;
    const QAbstractItemModel& m_model;
    Factory m_create;
    std::vector<LiveRow> m_live;
    bool m_isLayoutPending = false;
    QScrollBar* m_indicator; // thin overlay scroll indicator; takes no width
};

} // namespace views
