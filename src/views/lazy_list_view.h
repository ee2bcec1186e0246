#pragma once

#include <QAbstractScrollArea>
#include <QHash>
#include <QUuid>

#include <functional>

class QScrollBar;

namespace views {

// A vertical list of fixed-height rows that creates row widgets only for the rows in view
// (plus one above and one below), so a list of 100,000 rows costs what a list of ten does.
// Rows are identified by a key: a row widget stays with its key when rows move.
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
    // Creates the widget of `row`; the list parents and places it.
    using Factory = std::function<QWidget*(int row)>;
    using KeyOf = std::function<QUuid(int row)>;

    LazyListView(Layout layout, Factory create, KeyOf keyOf, QWidget* parent = nullptr);

    // The rows changed (count or order): widgets stay with their keys, the rest go.
    void setRowCount(int count);
    int rowCount() const { return m_rowCount; }
    // The widgets that exist now, by row.
    QList<QWidget*> liveWidgets() const;
    QWidget* widgetForRow(int row) const;
    int contentHeight() const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void relayout();
    void updateScrollRange();
    int rowTop(int row) const;

    Layout m_layout;
    Factory m_create;
    KeyOf m_keyOf;
    int m_rowCount = 0;
    QHash<QUuid, QWidget*> m_live; // key -> widget
    QHash<QUuid, int> m_rowOfKey;  // for live widgets only
    QScrollBar* m_indicator;       // thin overlay scroll indicator; takes no width
};

} // namespace views
