#include "bucket_item_view.h"

#include "content_face.h"
#include "desktop/symbol_image.h"
#include "drag_source_widget.h"
#include "draggable_view.h"
#include "panel/drag_monitor.h"
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

BucketItemView::BucketItemView(shelf::BucketItem item, panel::DragMonitor& dragMonitor,
                               TileActions actions, const core::Services& services,
                               desktop::ColorScheme colorScheme, QWidget* parent)
    : QWidget(parent), m_item(std::move(item)), m_dragMonitor(dragMonitor),
      m_actions(std::move(actions)), m_services(services), m_colorScheme(colorScheme) {
    Q_ASSERT(services.workspace && services.symbols && services.log);
    setFixedSize(kSize);

    m_draggableView = new DraggableView(nullptr, m_item, {}, m_services, this);
    m_draggableView->setGeometry(rect());
    buildControls();
    readFromShelf();
    build();

    connect(&m_dragMonitor, &panel::DragMonitor::draggedItemsChanged, this, [this] {
        const shelf::BucketItem previous = m_item;
        readFromShelf();
        if (!(m_item == previous))
            build();
    });
}

void BucketItemView::setItem(const shelf::BucketItem& item) {
    m_item = item;
    m_shelfIndexHint = -1;
    readFromShelf();
    build();
}

void BucketItemView::setActions(TileActions actions) {
    m_actions = std::move(actions);
    build();
}

void BucketItemView::setColorScheme(desktop::ColorScheme colorScheme) {
    if (colorScheme == m_colorScheme)
        return;
    m_colorScheme = colorScheme;
    build();
}

QWidget* BucketItemView::contentFace() const {
    return m_draggableView->dragSourceWidget()->hostedContent();
}

void BucketItemView::readFromShelf() {
    // The binding: this entry's place in the shelf, found by id. The hint makes the usual
    // case (the entry has not moved) one comparison.
    const QList<shelf::BucketItem>& shelfItems = m_dragMonitor.draggedItems();
    if (m_shelfIndexHint >= 0 && m_shelfIndexHint < shelfItems.size() &&
        shelfItems.at(m_shelfIndexHint).id == m_item.id) {
        m_item = shelfItems.at(m_shelfIndexHint);
        return;
    }
    for (qsizetype i = 0; i < shelfItems.size(); ++i) {
        if (shelfItems.at(i).id == m_item.id) {
            m_shelfIndexHint = i;
            m_item = shelfItems.at(i);
            return;
        }
    }
}

void BucketItemView::build() {
    const FaceEnvironment environment{*m_services.workspace, *m_services.symbols, *m_services.log,
                                      m_colorScheme};
    m_draggableView->refresh(makeContentFace(m_item, environment), m_item,
                             {m_actions.onRemove, m_actions.onDragStart, m_actions.onDragEnd});
    m_lockButton->setSymbolName(m_item.isLocked ? QStringLiteral("lock")
                                                : QStringLiteral("lock.open"));
    m_splitButton->setVisible(m_item.items.size() >= 2);
    placeControls();
}

void BucketItemView::buildControls() {
    m_controls = new QWidget(this);
    m_controls->setObjectName(QStringLiteral("controlsColumn"));
    auto* layout = new QVBoxLayout(m_controls);
    layout->setContentsMargins(0, 0, 0, 0);
    const desktop::SymbolImage& symbols = *m_services.symbols;
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
    // Like every state change, hovering builds the tile again.
    build();
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
