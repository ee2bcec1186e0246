#include "bucket_item_view.h"

#include "content_face.h"
#include "draggable_view.h"
#include "panel/drag_monitor.h"
#include "panel/shelf_model.h"
#include "symbol_button.h"

#include <QEnterEvent>
#include <QGraphicsOpacityEffect>
#include <QPropertyAnimation>
#include <QVBoxLayout>

namespace views {

namespace {

constexpr int kControlsHeight = 70;
constexpr int kControlsCentreOffset = 48;
constexpr int kHoverAnimationMs = 100;

// The system gray, the same in light and dark schemes.
const QColor kControlTint(142, 142, 147);

} // namespace

BucketItemView::BucketItemView(const QPersistentModelIndex& entry, panel::DragMonitor& dragMonitor,
                               TileActions actions, core::MainQueue& mainQueue,
                               backend::DragSession& dragSession, core::DiagnosticLog& log,
                               const desktop::Workspace& workspace, desktop::Thumbnails& thumbnails,
                               const desktop::SymbolImage& symbols,
                               desktop::ColorScheme colorScheme, QWidget* parent)
    : QWidget(parent), m_entry(entry), m_dragMonitor(dragMonitor), m_actions(std::move(actions)),
      m_colorScheme(colorScheme) {
    Q_ASSERT(!entry.isValid() || entry.model() == &dragMonitor.shelfModel());
    setFixedSize(kSize);
    readFromShelf();

    m_face = new ContentFace(workspace, thumbnails, log);
    m_draggableView = new DraggableView(m_face, m_item, {}, mainQueue, dragSession, log, this);
    m_draggableView->setGeometry(rect());
    buildControls(symbols);
    build();

    connect(&m_dragMonitor.shelfModel(), &QAbstractItemModel::dataChanged, this,
            &BucketItemView::onRowsChanged);
}

void BucketItemView::setColorScheme(desktop::ColorScheme colorScheme) {
    if (colorScheme == m_colorScheme)
        return;
    m_colorScheme = colorScheme;
    build();
}

QWidget* BucketItemView::contentFace() const {
    return m_face;
}

void BucketItemView::readFromShelf() {
    // The binding: the model keeps the index on the entry's row as rows come and go.
    if (m_entry.isValid())
        m_item = panel::ShelfModel::itemAt(m_entry);
}

void BucketItemView::onRowsChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight) {
    if (!m_entry.isValid() || m_entry.row() < topLeft.row() || m_entry.row() > bottomRight.row())
        return;
    const shelf::BucketItem previous = m_item;
    readFromShelf();
    if (!(m_item == previous))
        build();
}

void BucketItemView::build() {
    m_face->setEntry(m_item, m_colorScheme);
    m_draggableView->refresh(m_item,
                             {m_actions.onRemove, m_actions.onDragStart, m_actions.onDragEnd});
    m_lockButton->setSymbolName(m_item.isLocked ? QStringLiteral("lock")
                                                : QStringLiteral("lock.open"));
    m_splitButton->setVisible(m_item.items.size() >= 2);
    placeControls();
}

void BucketItemView::buildControls(const desktop::SymbolImage& symbols) {
    m_controls = new QWidget(this);
    m_controls->setObjectName(QStringLiteral("controlsColumn"));
    auto* layout = new QVBoxLayout(m_controls);
    layout->setContentsMargins(0, 0, 0, 0);
    m_lockButton = new SymbolButton(symbols, QStringLiteral("lock.open"), 15, kControlTint);
    m_splitButton =
        new SymbolButton(symbols, QStringLiteral("arrow.trianglehead.branch"), 12, kControlTint);
    m_removeButton = new SymbolButton(symbols, QStringLiteral("xmark"), 11, kControlTint);
    layout->addStretch();
    for (SymbolButton* button : {m_lockButton, m_splitButton, m_removeButton})
        layout->addWidget(button, 0, Qt::AlignHCenter);
    layout->addStretch();
    connect(m_lockButton, &QAbstractButton::clicked, this, &BucketItemView::toggleLock);
    connect(m_splitButton, &QAbstractButton::clicked, this, &BucketItemView::split);
    connect(m_removeButton, &QAbstractButton::clicked, this, &BucketItemView::remove);

    m_controlsOpacity = new QGraphicsOpacityEffect(m_controls);
    m_controlsOpacity->setOpacity(0.0);
    m_controls->setGraphicsEffect(m_controlsOpacity);
    m_controlsAnimation = new QPropertyAnimation(m_controlsOpacity, "opacity", this);
    m_controlsAnimation->setDuration(kHoverAnimationMs);
    m_controlsAnimation->setEasingCurve(QEasingCurve::InOutQuad);
    connect(m_controlsAnimation, &QPropertyAnimation::finished, this, [this] {
        if (!m_isHovering)
            m_controls->hide();
    });
    m_controls->hide();
}

void BucketItemView::placeControls() {
    m_controls->layout()->activate();
    const int width = m_controls->layout()->sizeHint().width();
    const int centre = kSize.width() / 2 + kControlsCentreOffset;
    m_controls->setGeometry(centre - width / 2, 0, width, kControlsHeight);
    m_controls->raise();
}

void BucketItemView::setHovering(bool isHovering) {
    if (isHovering == m_isHovering)
        return;
    m_isHovering = isHovering;
    // Like every state change, hovering shows the face anew (its file icons are looked up
    // again), but it makes no widget: the controls only fade.
    m_face->setEntry(m_item, m_colorScheme);
    m_controlsAnimation->stop();
    m_controlsAnimation->setStartValue(m_controlsOpacity->opacity());
    m_controlsAnimation->setEndValue(isHovering ? 1.0 : 0.0);
    if (isHovering)
        m_controls->show();
    m_controlsAnimation->start();
}

void BucketItemView::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    setHovering(true);
}

void BucketItemView::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    setHovering(false);
}

void BucketItemView::toggleLock() {
    readFromShelf();
    shelf::BucketItem edited = m_item;
    edited.isLocked = !edited.isLocked;
    m_dragMonitor.updateItem(edited);
}

void BucketItemView::split() {
    readFromShelf();
    m_dragMonitor.splitItem(m_item);
}

void BucketItemView::remove() {
    // The action may take this tile down: run a copy.
    const Action onRemove = m_actions.onRemove;
    if (onRemove)
        onRemove();
}

} // namespace views
