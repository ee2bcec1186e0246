#include "lazy_list_view.h"

#include <QScrollBar>

#include <algorithm>

namespace views {

namespace {
constexpr int kIndicatorWidth = 6;
}

LazyListView::LazyListView(Layout layout, Factory create, KeyOf keyOf, QWidget* parent)
    : QAbstractScrollArea(parent), m_layout(layout), m_create(std::move(create)),
      m_keyOf(std::move(keyOf)), m_indicator(new QScrollBar(Qt::Vertical, this)) {
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The built-in bar would take 10+ of the panel's 160 points; an overlay indicator
    // mirrors it instead. Wheel events still reach the hidden bar.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setAutoFillBackground(false);
    m_indicator->setStyleSheet(QStringLiteral(
        "QScrollBar:vertical { background: transparent; width: 6px; margin: 0; }"
        "QScrollBar::handle:vertical { background: rgba(128,128,128,0.55); border-radius: 3px;"
        " min-height: 20px; }"
        "QScrollBar::add-line, QScrollBar::sub-line { height: 0; }"
        "QScrollBar::add-page, QScrollBar::sub-page { background: transparent; }"));
    connect(verticalScrollBar(), &QScrollBar::rangeChanged, m_indicator, &QScrollBar::setRange);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, m_indicator, &QScrollBar::setValue);
    connect(m_indicator, &QScrollBar::valueChanged, verticalScrollBar(), &QScrollBar::setValue);
    verticalScrollBar()->setSingleStep(m_layout.rowHeight / 3);
}

int LazyListView::rowTop(int row) const {
    return m_layout.topPadding + row * (m_layout.rowHeight + m_layout.spacing);
}

int LazyListView::contentHeight() const {
    if (m_rowCount == 0)
        return m_layout.topPadding + m_layout.bottomPadding;
    return rowTop(m_rowCount) - m_layout.spacing + m_layout.bottomPadding;
}

void LazyListView::setRowCount(int count) {
    m_rowCount = std::max(0, count);
    // Widgets whose key left the list go; the others are re-matched to their new rows.
    QHash<QUuid, int> rows;
    for (int row = 0; row < m_rowCount && rows.size() < m_live.size(); ++row) {
        const QUuid key = m_keyOf(row);
        if (m_live.contains(key))
            rows.insert(key, row);
    }
    for (auto it = m_live.begin(); it != m_live.end();) {
        if (!rows.contains(it.key())) {
            it.value()->deleteLater();
            it.value()->hide();
            it = m_live.erase(it);
        } else {
            ++it;
        }
    }
    m_rowOfKey = rows;
    updateScrollRange();
    relayout();
}

void LazyListView::updateScrollRange() {
    QScrollBar* bar = verticalScrollBar();
    bar->setPageStep(viewport()->height());
    bar->setRange(0, std::max(0, contentHeight() - viewport()->height()));
    m_indicator->setVisible(bar->maximum() > 0);
    m_indicator->setPageStep(bar->pageStep());
}

void LazyListView::relayout() {
    const int stride = m_layout.rowHeight + m_layout.spacing;
    const int offset = verticalScrollBar()->value();
    int first = 0, last = -1;
    if (m_rowCount > 0) {
        first = std::clamp((offset - m_layout.topPadding) / stride - 1, 0, m_rowCount - 1);
        last = std::clamp((offset + viewport()->height() - m_layout.topPadding) / stride + 1, 0,
                          m_rowCount - 1);
    }
    // Drop widgets outside the window, then make sure every row inside has one.
    for (auto it = m_live.begin(); it != m_live.end();) {
        const int row = m_rowOfKey.value(it.key(), -1);
        if (row < first || row > last) {
            it.value()->deleteLater();
            it.value()->hide();
            m_rowOfKey.remove(it.key());
            it = m_live.erase(it);
        } else {
            ++it;
        }
    }
    const int x = (viewport()->width() - m_layout.rowWidth) / 2;
    for (int row = first; row <= last; ++row) {
        const QUuid key = m_keyOf(row);
        QWidget* widget = m_live.value(key);
        if (!widget) {
            widget = m_create(row);
            widget->setParent(viewport());
            m_live.insert(key, widget);
            m_rowOfKey.insert(key, row);
        }
        widget->setGeometry(x, rowTop(row) - offset, m_layout.rowWidth, m_layout.rowHeight);
        widget->show();
    }
    m_indicator->setGeometry(width() - kIndicatorWidth, 0, kIndicatorWidth, height());
    m_indicator->raise();
}

QList<QWidget*> LazyListView::liveWidgets() const {
    return m_live.values();
}

QWidget* LazyListView::widgetForRow(int row) const {
    if (row < 0 || row >= m_rowCount)
        return nullptr;
    return m_live.value(m_keyOf(row));
}

void LazyListView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollRange();
    relayout();
}

void LazyListView::scrollContentsBy(int, int) {
    relayout();
}

} // namespace views
