#include "bucket_item_view.h"

#include "caption_label.h"
#include "content_face.h"
#include "desktop/symbol_image.h"
#include "drag_items.h"
#include "drag_source_widget.h"
#include "draggable_view.h"
#include "entry_actions.h"
#include "panel/drag_monitor.h"
#include "panel/shelf_model.h"
#include "payload_files.h"
#include "symbol_button.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QEnterEvent>
#include <QGraphicsOpacityEffect>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>
#include <QVBoxLayout>
#include <QVariantAnimation>

namespace views {

namespace {

constexpr int kControlsCentreOffset = 48;
constexpr int kHoverAnimationMs = 100;
// Easy to hit with a mouse or a touchpad.
constexpr int kControlTarget = 24;
constexpr QRect kLockBadge{6, 6, 12, 12};
constexpr qreal kMissingOpacity = 0.4;
// Entries up to this size are looked for on the GUI thread when hovered: a stat each, and the
// look stops at the first file found. Larger ones are looked for when a drag out begins.
constexpr qsizetype kPayloadsCheckedOnHover = 1000;
// A caption's tooltip shows the start of a long text only.
constexpr qsizetype kToolTipCharacters = 500;

// The system gray, the same in light and dark schemes.
const QColor kControlTint(142, 142, 147);

constexpr qreal kFocusRingWidth = 2;
constexpr qreal kFocusRingRadius = 6;

// The ring round a tile with the keyboard focus, in the highlight colour, which stands out in
// both looks.
class FocusRing final : public QWidget {
public:
    explicit FocusRing(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        QPen pen(palette().color(QPalette::Active, QPalette::Highlight), kFocusRingWidth);
        painter.setPen(pen);
        const qreal inset = kFocusRingWidth / 2;
        painter.drawRoundedRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset),
                                kFocusRingRadius, kFocusRingRadius);
    }
};

} // namespace

BucketItemView::BucketItemView(const QPersistentModelIndex& entry, panel::DragMonitor& dragMonitor,
                               TileActions actions, core::MainQueue& mainQueue,
                               backend::DragSession& dragSession, core::DiagnosticLog& log,
                               desktop::DesktopServices& desktopServices,
                               desktop::Thumbnails& thumbnails, const desktop::SymbolImage& symbols,
                               desktop::ColorScheme colorScheme, QWidget* parent)
    : QWidget(parent), m_entry(entry), m_dragMonitor(dragMonitor), m_actions(std::move(actions)),
      m_colorScheme(colorScheme), m_desktopServices(desktopServices), m_symbols(symbols) {
    Q_ASSERT(!entry.isValid() || entry.model() == &dragMonitor.shelfModel());
    setFixedSize(kSize);
    setFocusPolicy(Qt::TabFocus);
    readFromShelf();

    m_face = new ContentFace(desktopServices, thumbnails, log);
    m_draggableView = new DraggableView(m_face, m_item, {}, mainQueue, dragSession, log, this);
    m_draggableView->setGeometry(rect());
    DragSourceWidget* source = m_draggableView->dragSourceWidget();
    // Files renamed or deleted since the drop are not offered.
    source->setPayloadFilter(presentPayloads);
    connect(source, &DragSourceWidget::filesFoundMissing, this, [this] { setMissing(true); });
    connect(source, &DragSourceWidget::doubleClicked, this, &BucketItemView::open);
    m_lockBadge = new QLabel(this);
    m_lockBadge->setObjectName(QStringLiteral("lockBadge"));
    m_lockBadge->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_lockBadge->setGeometry(kLockBadge);
    m_focusRing = new FocusRing(this);
    m_focusRing->setGeometry(rect());
    m_focusRing->hide();
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

QList<QWidget*> BucketItemView::controls() const {
    return {m_lockButton, m_splitButton, m_removeButton};
}

QWidget* BucketItemView::lockBadge() const {
    return m_lockBadge;
}

QMenu* BucketItemView::contextMenu() const {
    return m_contextMenu;
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
    m_lockButton->setToolTip(m_item.isLocked ? tr("Unlock: leave the shelf once dragged out")
                                             : tr("Lock: stay on the shelf once dragged out"));
    m_lockButton->setAccessibleName(m_item.isLocked ? tr("Unlock") : tr("Lock"));
    m_splitButton->setVisible(m_item.items.size() >= 2);
    m_lockBadge->setPixmap(m_symbols.image(QStringLiteral("lock"), kLockBadge.size(), kControlTint,
                                           devicePixelRatioF()));
    m_lockBadge->setVisible(m_item.isLocked);
    m_lockBadge->raise();
    m_focusRing->raise();
    placeControls();
    describe();
}

void BucketItemView::describe() {
    const QModelIndex entry = m_entry;
    setAccessibleName(entry.data(Qt::DisplayRole).toString());
    setAccessibleDescription(entry.data(Qt::AccessibleTextRole).toString());
}

void BucketItemView::buildControls(const desktop::SymbolImage& symbols) {
    m_controls = new QWidget(this);
    m_controls->setObjectName(QStringLiteral("controlsColumn"));
    auto* layout = new QVBoxLayout(m_controls);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    m_lockButton =
        new SymbolButton(symbols, QStringLiteral("lock.open"), 15, kControlTint, kControlTarget);
    m_splitButton = new SymbolButton(symbols, QStringLiteral("arrow.trianglehead.branch"), 12,
                                     kControlTint, kControlTarget);
    m_splitButton->setToolTip(tr("Split into one entry per item"));
    m_splitButton->setAccessibleName(tr("Split"));
    m_removeButton =
        new SymbolButton(symbols, QStringLiteral("xmark"), 11, kControlTint, kControlTarget);
    m_removeButton->setToolTip(tr("Remove from the shelf"));
    m_removeButton->setAccessibleName(tr("Remove"));
    layout->addStretch();
    for (SymbolButton* button : {m_lockButton, m_splitButton, m_removeButton})
        layout->addWidget(button, 0, Qt::AlignHCenter);
    layout->addStretch();
    connect(m_lockButton, &QAbstractButton::clicked, this, &BucketItemView::toggleLock);
    connect(m_splitButton, &QAbstractButton::clicked, this, &BucketItemView::split);
    connect(m_removeButton, &QAbstractButton::clicked, this, &BucketItemView::remove);

    for (SymbolButton* button : {m_lockButton, m_splitButton, m_removeButton})
        button->setOpacity(m_controlsOpacity);
    m_controlsAnimation = new QVariantAnimation(this);
    connect(m_controlsAnimation, &QVariantAnimation::valueChanged, this,
            [this](const QVariant& value) {
                m_controlsOpacity = value.toReal();
                for (SymbolButton* button : {m_lockButton, m_splitButton, m_removeButton})
                    button->setOpacity(m_controlsOpacity);
            });
    m_controlsAnimation->setDuration(kHoverAnimationMs);
    m_controlsAnimation->setEasingCurve(QEasingCurve::InOutQuad);
    connect(m_controlsAnimation, &QVariantAnimation::finished, this, [this] {
        if (!m_isHovering)
            m_controls->hide();
    });
    m_controls->hide();
}

void BucketItemView::placeControls() {
    m_controls->layout()->activate();
    const int width = m_controls->layout()->sizeHint().width();
    const int centre = kSize.width() / 2 + kControlsCentreOffset;
    m_controls->setGeometry(centre - width / 2, 0, width, kSize.height());
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
    m_controlsAnimation->setStartValue(m_controlsOpacity);
    m_controlsAnimation->setEndValue(isHovering ? 1.0 : 0.0);
    if (isHovering)
        m_controls->show();
    m_controlsAnimation->start();
}

void BucketItemView::setMissing(bool isMissing) {
    if (isMissing == m_isMissing)
        return;
    m_isMissing = isMissing;
    if (isMissing) {
        m_dimming = new QGraphicsOpacityEffect(m_draggableView);
        m_dimming->setOpacity(kMissingOpacity);
        m_draggableView->setGraphicsEffect(m_dimming); // owns it from now on
    } else {
        m_draggableView->setGraphicsEffect(nullptr); // deletes it
        m_dimming = nullptr;
    }
}

void BucketItemView::lookForFiles() {
    if (m_item.items.size() <= kPayloadsCheckedOnHover)
        setMissing(areAllFilesMissing(m_item.items));
}

QString BucketItemView::toolTipText() const {
    if (m_isMissing) {
        return m_item.items.size() == 1 ? tr("This file is missing: it was moved or deleted.")
                                        : tr("These files are missing: they were moved or "
                                             "deleted.");
    }
    const auto* caption = m_face->findChild<CaptionLabel*>();
    if (!caption || !caption->isElided())
        return {};
    const QString& text = caption->text();
    return text.size() <= kToolTipCharacters ? text : text.left(kToolTipCharacters) + QChar(0x2026);
}

bool BucketItemView::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    const QString text = toolTipText();
    const auto* help = dynamic_cast<QHelpEvent*>(event);
    if (text.isEmpty() || !help) {
        QToolTip::hideText();
        event->ignore();
    } else {
        QToolTip::showText(help->globalPos(), text, this);
    }
    return true;
}

void BucketItemView::keyPressEvent(QKeyEvent* event) {
    const QKeyCombination pressed = event->keyCombination();
    if (event->matches(QKeySequence::Copy))
        copy();
    else if (pressed == QKeyCombination(Qt::Key_Return) ||
             pressed == QKeyCombination(Qt::KeypadModifier, Qt::Key_Enter))
        open();
    else if (pressed == QKeyCombination(Qt::Key_Space))
        toggleLock();
    else if (pressed == QKeyCombination(Qt::Key_Delete))
        remove();
    else if (pressed == QKeyCombination(Qt::Key_Menu) ||
             pressed == QKeyCombination(Qt::ShiftModifier, Qt::Key_F10))
        openContextMenu(mapToGlobal(rect().center()));
    else
        return QWidget::keyPressEvent(event);
    event->accept();
}

void BucketItemView::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    m_focusRing->show();
}

void BucketItemView::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    m_focusRing->hide();
}

void BucketItemView::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    lookForFiles();
    setHovering(true);
}

void BucketItemView::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    setHovering(false);
}

void BucketItemView::contextMenuEvent(QContextMenuEvent* event) {
    event->accept();
    openContextMenu(event->globalPos());
}

void BucketItemView::openContextMenu(const QPoint& globalPos) {
    if (m_contextMenu)
        m_contextMenu->close();
    lookForFiles();
    m_contextMenu = buildContextMenu();
    m_contextMenu->popup(globalPos);
}

QMenu* BucketItemView::buildContextMenu() {
    // Made for each opening, so it always names the entry as it is now.
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const QList<shelf::BucketItemData>& payloads = m_item.items;
    menu->addAction(tr("Open"), this, &BucketItemView::open)
        ->setEnabled(!openableUrls(payloads).isEmpty());
    menu->addAction(tr("Show in Folder"), this, &BucketItemView::showInFolder)
        ->setEnabled(!showableUrls(payloads).isEmpty());
    menu->addSeparator();
    menu->addAction(tr("Copy"), this, &BucketItemView::copy)
        ->setEnabled(!presentPayloads(payloads).isEmpty());
    menu->addAction(tr("Copy Path"), this, &BucketItemView::copyPath)
        ->setEnabled(!localPaths(payloads).isEmpty());
    menu->addSeparator();
    menu->addAction(m_item.isLocked ? tr("Unlock") : tr("Lock"), this, &BucketItemView::toggleLock);
    menu->addAction(tr("Split"), this, &BucketItemView::split)->setEnabled(payloads.size() >= 2);
    menu->addSeparator();
    menu->addAction(tr("Remove"), this, &BucketItemView::remove);
    return menu;
}

void BucketItemView::open() {
    readFromShelf();
    openPayloads(m_item.items, m_desktopServices);
}

void BucketItemView::showInFolder() {
    readFromShelf();
    showPayloadsInFolder(m_item.items, m_desktopServices);
}

void BucketItemView::copy() {
    readFromShelf();
    // What a drag out would offer, files that are gone left out.
    const QList<shelf::BucketItemData> present = presentPayloads(m_item.items);
    if (!present.isEmpty())
        QGuiApplication::clipboard()->setMimeData(makeEntryMimeData(present).release());
}

void BucketItemView::copyPath() {
    readFromShelf();
    const QString paths = localPaths(m_item.items);
    if (!paths.isEmpty())
        QGuiApplication::clipboard()->setText(paths);
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
