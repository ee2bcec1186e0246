#include "lazy_list_view.h"

#include <QAbstractItemModel>
#include <QAccessible>
#include <QKeyEvent>
#include <QScrollBar>
#include <QVarLengthArray>

#include <algorithm>

namespace views {

namespace {
constexpr int kIndicatorWidth = 6;
}

LazyListView::LazyListView(Layout layout, const QAbstractItemModel& model, Factory create,
                           QWidget* parent)
    : QAbstractScrollArea(parent), m_layout(layout), m_model(model), m_create(std::move(create)),
      m_indicator(new QScrollBar(Qt::Vertical, this)) {
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

    connect(&m_model, &QAbstractItemModel::rowsInserted, this, &LazyListView::scheduleLayout);
    connect(&m_model, &QAbstractItemModel::rowsRemoved, this, &LazyListView::scheduleLayout);
    connect(&m_model, &QAbstractItemModel::rowsMoved, this, &LazyListView::scheduleLayout);
    connect(&m_model, &QAbstractItemModel::modelReset, this, &LazyListView::scheduleLayout);
    connect(&m_model, &QAbstractItemModel::layoutChanged, this, &LazyListView::scheduleLayout);
    scheduleLayout();
}

int LazyListView::rowCount() const {
    return m_model.rowCount();
}

int LazyListView::rowTop(int row) const {
    return m_layout.topPadding + row * (m_layout.rowHeight + m_layout.spacing);
}

int LazyListView::contentHeight() const {
    const int rows = rowCount();
    if (rows == 0)
        return m_layout.topPadding + m_layout.bottomPadding;
    return rowTop(rows) - m_layout.spacing + m_layout.bottomPadding;
}

void LazyListView::scheduleLayout() {
    if (m_isLayoutPending)
        return;
    m_isLayoutPending = true;
    // A posted call runs before the repaint the change asks for, which Qt posts at low
    // priority.
    QMetaObject::invokeMethod(this, &LazyListView::settle, Qt::QueuedConnection);
}

void LazyListView::settle() {
    if (m_isLayoutPending)
        layoutRows();
}

void LazyListView::layoutRows() {
    m_isLayoutPending = false;
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
    const int rows = rowCount();
    const int stride = m_layout.rowHeight + m_layout.spacing;
    const int offset = verticalScrollBar()->value();
    int first = 0, last = -1;
    if (rows > 0) {
        first = std::clamp((offset - m_layout.topPadding) / stride - 1, 0, rows - 1);
        last = std::clamp((offset + viewport()->height() - m_layout.topPadding) / stride + 1, 0,
                          rows - 1);
    }
    // Widgets whose row went or left the window go.
    QVarLengthArray<QWidget*, 8> window(last - first + 1);
    std::fill(window.begin(), window.end(), nullptr);
    QVarLengthArray<QWidget*, 8> gone;
    // A row removed with the focus hands it to the row now in its place; hidden with the focus,
    // it would pass the focus on along the chain of creation.
    QWidget* focus = QWidget::window()->focusWidget();
    bool isFocusGone = false;
    int focusedRemovedRow = -1;
    std::erase_if(m_live, [&](const LiveRow& live) {
        const int row = live.index.isValid() ? live.index.row() : -1;
        if (row >= first && row <= last) {
            window[row - first] = live.widget;
            return false;
        }
        if (focus && (live.widget == focus || live.widget->isAncestorOf(focus))) {
            isFocusGone = true;
            focusedRemovedRow = live.index.isValid() ? -1 : live.row;
        }
        gone << live.widget;
        return true;
    });
    if (isFocusGone)
        focus->clearFocus();
    for (QWidget* widget : gone) {
        // It may be running its own handler (the remove control).
        widget->hide();
        widget->deleteLater();
    }
    const int x = (viewport()->width() - m_layout.rowWidth) / 2;
    for (int row = first; row <= last; ++row) {
        QWidget*& widget = window[row - first];
        const bool isNew = !widget;
        if (isNew) {
            const QModelIndex index = m_model.index(row, 0);
            widget = m_create(index);
            widget->setParent(viewport());
            m_live.push_back({index, widget, row});
        }
        widget->setGeometry(x, rowTop(row) - offset, m_layout.rowWidth, m_layout.rowHeight);
        widget->show();
        if (isNew) {
            // Screen readers learn of a row that came (a widget deleted tells of itself).
            QAccessibleEvent created(widget, QAccessible::ObjectCreated);
            QAccessible::updateAccessibility(&created);
        }
    }
    for (LiveRow& live : m_live)
        live.row = live.index.row();
    m_indicator->setGeometry(width() - kIndicatorWidth, 0, kIndicatorWidth, height());
    m_indicator->raise();
    if (focusedRemovedRow >= 0 && rows > 0)
        focusRow(std::min(focusedRemovedRow, rows - 1), Qt::OtherFocusReason);
}

QList<QWidget*> LazyListView::liveWidgets() {
    settle();
    QList<std::pair<int, QWidget*>> byRow;
    for (const LiveRow& live : m_live)
        byRow.emplaceBack(live.index.row(), live.widget);
    std::sort(byRow.begin(), byRow.end());
    QList<QWidget*> widgets;
    for (const auto& [row, widget] : byRow)
        widgets << widget;
    return widgets;
}

QWidget* LazyListView::widgetForRow(int row) {
    settle();
    for (const LiveRow& live : m_live) {
        if (live.index.row() == row)
            return live.widget;
    }
    return nullptr;
}

int LazyListView::focusedRow() {
    settle();
    const QWidget* focus = window()->focusWidget();
    for (const LiveRow& live : m_live) {
        if (focus && (live.widget == focus || live.widget->isAncestorOf(focus)))
            return live.index.row();
    }
    return -1;
}

void LazyListView::focusRow(int row, Qt::FocusReason reason) {
    settle();
    if (row < 0 || row >= rowCount())
        return;
    QScrollBar* bar = verticalScrollBar();
    const int top = rowTop(row) - m_layout.topPadding;
    const int bottom = rowTop(row) + m_layout.rowHeight + m_layout.bottomPadding;
    if (top < bar->value())
        bar->setValue(top);
    else if (bottom > bar->value() + viewport()->height())
        bar->setValue(bottom - viewport()->height());
    if (QWidget* widget = widgetForRow(row))
        widget->setFocus(reason);
}

void LazyListView::keyPressEvent(QKeyEvent* event) {
    const int row = focusedRow();
    const int rows = rowCount();
    int wanted = -1;
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Left:
        wanted = row - 1;
        break;
    case Qt::Key_Down:
    case Qt::Key_Right:
        wanted = row + 1;
        break;
    case Qt::Key_Home:
        wanted = 0;
        break;
    case Qt::Key_End:
        wanted = rows - 1;
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    if (row >= 0 && event->modifiers() == Qt::NoModifier)
        focusRow(std::clamp(wanted, 0, rows - 1));
    event->accept();
}

void LazyListView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    layoutRows();
}

void LazyListView::scrollContentsBy(int, int) {
    if (m_isLayoutPending)
        layoutRows();
    else
        relayout();
}

} // namespace views
