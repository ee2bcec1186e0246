#include "content_view.h"

#include "backend/drag_selection.h"
#include "desktop/application.h"
#include "desktop/color_scheme_service.h"
#include "desktop/desktop_services.h"
#include "desktop/symbol_image.h"
#include "panel/drag_monitor.h"
#include "panel/non_activating_panel.h"
#include "panel/shelf_history.h"
#include "panel/shelf_model.h"
#include "panel/window_manager.h"
#include "preferences/settings_access/settings_button.h"
#include "views/bucket_item_view.h"
#include "views/color_from_hex.h"
#include "views/drop_region_view.h"
#include "views/lazy_list_view.h"
#include "views/shelf_accessibility.h"
#include "views/spring_curve.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QShortcut>
#include <QToolButton>
#include <QToolTip>
#include <QVariantAnimation>

namespace views {

using desktop::ColorScheme;
using shelf::BucketItem;

namespace {

constexpr int kCornerRadius = 6;
constexpr QSize kBarButton{22, 22};
constexpr int kBarSymbolPadding = 4;

// The gear and the chevron side by side, as one menu label.
QPixmap menuLabel(const desktop::SymbolImage& symbols, const QColor& tint, qreal dpr) {
    const QSize gear(kBarButton.width(), kBarButton.height() - 2 * kBarSymbolPadding);
    const QSize chevron(6, 6);
    QPixmap label(QSize(kBarButton.width() + chevron.width(), kBarButton.height()) * dpr);
    label.setDevicePixelRatio(dpr);
    label.fill(Qt::transparent);
    QPainter painter(&label);
    const QPixmap gearImage = symbols.image(QStringLiteral("gear"), gear, tint, dpr);
    const QSizeF gearSize = gearImage.deviceIndependentSize();
    painter.drawPixmap(QPointF((kBarButton.width() - gearSize.width()) / 2,
                               (kBarButton.height() - gearSize.height()) / 2),
                       gearImage);
    const QPixmap chevronImage = symbols.image(QStringLiteral("chevron.down"), chevron, tint, dpr);
    const QSizeF chevronSize = chevronImage.deviceIndependentSize();
    painter.drawPixmap(QPointF(kBarButton.width() + (chevron.width() - chevronSize.width()) / 2,
                               (kBarButton.height() - chevronSize.height()) / 2),
                       chevronImage);
    return label;
}

// Reached by Tab, never by a click: the panel takes no focus from the pointer.
QToolButton* plainButton(QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::TabFocus);
    button->setStyleSheet(QStringLiteral(
        "QToolButton { border: none; background: transparent; padding: 0; } "
        "QToolButton:focus { border: 2px solid palette(highlight); border-radius: 4px; } "
        "QToolButton::menu-indicator { image: none; width: 0; }"));
    return button;
}

} // namespace

ContentView::ContentView(panel::DragMonitor& dragMonitor, panel::WindowManager& windowManager,
                         core::MainQueue& mainQueue, core::DiagnosticLog& log,
                         backend::DragSession& dragSession,
                         desktop::DesktopServices& desktopServices, desktop::Thumbnails& thumbnails,
                         const desktop::SymbolImage& symbols, desktop::Application& application,
                         desktop::ColorSchemeService& colorSchemes,
                         shelf::MimeItemProviderFactory& providers,
                         const settings_access::SettingsAccessEnvironment& settings,
                         QWidget* parent)
    : QWidget(parent), m_dragMonitor(dragMonitor), m_windowManager(windowManager),
      m_mainQueue(mainQueue), m_log(log), m_dragSession(dragSession),
      m_desktopServices(desktopServices), m_thumbnails(thumbnails), m_symbols(symbols),
      m_application(application), m_providers(providers), m_settings(settings),
      m_pasteIntake(mainQueue, log, providers,
                    [monitor = QPointer<panel::DragMonitor>(&dragMonitor)](const BucketItem& item) {
                        if (monitor)
                            monitor->addItem(item);
                    }),
      m_colorScheme(colorSchemes.colorScheme()), m_wasDragging(dragMonitor.isDragging()),
      m_wasCursorInside(dragMonitor.isCursorInside()), m_layout(new QVBoxLayout(this)) {
    installShelfAccessibility();
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    // Below whichever face shows; the faces go above it.
    m_undoStrip = new QWidget(this);
    auto* strip = new QHBoxLayout(m_undoStrip);
    strip->setContentsMargins(0, 0, 0, 0);
    strip->addWidget(makeUndoButton(m_undoStrip), 0, Qt::AlignHCenter);
    m_layout->addWidget(m_undoStrip);
    connect(&m_dragMonitor.history(), &panel::ShelfHistory::canUndoChanged, this,
            &ContentView::updateUndoAffordances);
    connect(&colorSchemes, &desktop::ColorSchemeService::colorSchemeChanged, this,
            &ContentView::setColorScheme);
    m_menu = buildMenu();

    // Handlers of isDragging and isCursorInside run on changes only; every assignment of
    // the shelf counts as a change.
    connect(&m_dragMonitor, &panel::DragMonitor::isDraggingChanged, this, [this] {
        if (m_wasDragging == m_dragMonitor.isDragging())
            return;
        m_wasDragging = m_dragMonitor.isDragging();
        // A tooltip left over the panel would be what a drag finds under the pointer there: a
        // window that takes no drops, so the drop would be lost.
        if (m_wasDragging)
            QToolTip::hideText();
        chooseFace(/*animated*/ true);
        updateUndoAffordances();
        updatePanelVisibility();
    });
    connect(&m_dragMonitor, &panel::DragMonitor::draggedItemsChanged, this, [this] {
        chooseFace(/*animated*/ false);
        updatePanelVisibility();
    });
    connect(&m_dragMonitor, &panel::DragMonitor::isShelfRequestedChanged, this, [this] {
        updatePanelVisibility();
        followShelfRequest();
    });
    // Heard only while the panel is the active window, which it is only on request.
    const std::pair<QKeySequence, std::function<void()>> keys[] = {
        {QKeySequence::Paste, [this] { m_pasteIntake.pasteClipboard(); }},
        {QKeySequence::Undo, [this] { m_dragMonitor.history().undo(); }},
        {QKeySequence(Qt::Key_Escape), [this] { m_dragMonitor.hideShelf(); }},
    };
    for (const auto& [sequence, action] : keys)
        connect(new QShortcut(sequence, this), &QShortcut::activated, this, action);
    connect(&m_dragMonitor, &panel::DragMonitor::isCursorInsideChanged, this, [this] {
        if (m_wasCursorInside == m_dragMonitor.isCursorInside())
            return;
        m_wasCursorInside = m_dragMonitor.isCursorInside();
        updatePanelVisibility();
    });
    chooseFace(/*animated*/ false);
}

ContentView::~ContentView() = default;

void ContentView::updatePanelVisibility() {
    // Hiding the panel for a drag out of a tile makes the pointer leave it, and the shelf
    // still holds the dragged entry: the rule must not bring the panel back until that
    // drag has ended.
    if (m_isDraggingOut)
        return;
    // A drag over the drop region keeps the panel up too: its drop arrives after the button
    // went up, which may have ended isDragging already.
    const bool isDropPending = m_dropRegion && m_dropRegion->isDragTargeted();
    // A shelf put away stays away from under the pointer too.
    const bool isPointerHolding = m_dragMonitor.isCursorInside() && !m_dragMonitor.isShelfPutAway();
    if (m_dragMonitor.isShelfInSight() || isPointerHolding || isDropPending) {
        m_windowManager.showPanel();
        return;
    }
    m_windowManager.hidePanel();
}

void ContentView::followShelfRequest() {
    if (!m_dragMonitor.isShelfRequested()) {
        m_windowManager.releasePanelFocus();
        return;
    }
    // A shelf a drag brought up stays out of the way of the drag's own keys.
    if (m_dragMonitor.isDragging())
        return;
    m_windowManager.showPanelWithFocus();
    focusFirst();
}

void ContentView::focusFirst() {
    if (m_entryList && m_entryList->rowCount() > 0)
        m_entryList->focusRow(0, Qt::ActiveWindowFocusReason);
    else
        setFocus(Qt::ActiveWindowFocusReason);
}

QList<QWidget*> ContentView::focusableButtons() const {
    QList<QWidget*> buttons;
    for (QWidget* button :
         {static_cast<QWidget*>(m_menuButton), static_cast<QWidget*>(m_undoButton),
          static_cast<QWidget*>(m_clearButton),
          static_cast<QWidget*>(m_undoStrip->findChild<QToolButton*>())}) {
        if (button && button->isVisibleTo(this))
            buttons << button;
    }
    return buttons;
}

bool ContentView::focusNextPrevChild(bool next) {
    // Tab runs through the tiles in their order, then the bar's buttons, and round again; the
    // list makes its tiles only as they come into view, so Qt's own chain cannot.
    const int rows = m_entryList ? m_entryList->rowCount() : 0;
    const QList<QWidget*> buttons = focusableButtons();
    const auto count = static_cast<int>(rows + buttons.size());
    if (count == 0)
        return true;
    const int row = m_entryList ? m_entryList->focusedRow() : -1;
    const auto button = static_cast<int>(buttons.indexOf(window()->focusWidget()));
    int position = row >= 0 ? row : button >= 0 ? rows + button : (next ? -1 : count);
    position = (position + (next ? 1 : -1) + count) % count;
    const Qt::FocusReason reason = next ? Qt::TabFocusReason : Qt::BacktabFocusReason;
    if (position < rows)
        m_entryList->focusRow(position, reason);
    else
        buttons.at(position - rows)->setFocus(reason);
    return true;
}

void ContentView::chooseFace(bool animated) {
    const bool wantsDropRegion =
        m_dragMonitor.draggedItems().isEmpty() || m_dragMonitor.isDragging();
    // The button goes up (ending isDragging) before the drop itself reaches the region; taking
    // the region away then would lose a drop its source is told was taken. It goes once the
    // drag has dropped or left.
    if (!wantsDropRegion && m_dropRegion && m_dropRegion->isDragTargeted())
        return;
    // The list follows the shelf's rows by itself.
    if (wantsDropRegion && !m_dropRegion)
        showDropRegion();
    else if (!wantsDropRegion && !m_entryList)
        showListFace();
    else
        return;
    updateUndoAffordances();
    // The focus went with the old face.
    if (m_windowManager.window()->isTakingFocus())
        focusFirst();
    if (animated)
        springIn(m_face);
}

void ContentView::showDropRegion() {
    if (m_face) {
        // A tile may be running its own handler: let it unwind first.
        m_face->hide();
        m_face->deleteLater();
    }
    m_entryList = nullptr;
    m_menuButton = nullptr;
    m_clearButton = nullptr;
    m_undoButton = nullptr;
    QPointer<panel::DragMonitor> monitor(&m_dragMonitor);
    m_dropRegion = new DropRegionView(
        m_mainQueue, m_log, &m_symbols, &m_dragMonitor.dragSelection(), m_providers,
        [monitor](const BucketItem& item) {
            if (monitor)
                monitor->addItem(item);
        },
        this);
    connect(
        m_dropRegion, &DropRegionView::isDragTargetedChanged, this,
        [this] {
            if (m_dropRegion && !m_dropRegion->isDragTargeted()) {
                chooseFace(/*animated*/ true);
                updatePanelVisibility();
            }
        },
        Qt::QueuedConnection);
    m_face = m_dropRegion;
    placeFace();
}

void ContentView::showListFace() {
    if (m_face) {
        m_face->hide();
        m_face->deleteLater();
    }
    m_dropRegion = nullptr;
    auto* face = new QWidget(this);
    auto* column = new QVBoxLayout(face);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    m_entryList = new LazyListView(
        LazyListView::Layout{}, m_dragMonitor.shelfModel(),
        [this](const QModelIndex& index) { return createTile(index); }, face);
    m_entryList->setAccessibleName(tr("Shelf"));
    column->addWidget(m_entryList, 1);
    column->addWidget(buildBottomBar());
    m_face = face;
    placeFace();
}

void ContentView::placeFace() {
    // Lay the new face out at once, so it never shows a frame at the wrong size.
    m_layout->insertWidget(0, m_face, 1);
    m_face->show();
    m_layout->activate();
}

QWidget* ContentView::createTile(const QModelIndex& index) {
    const QUuid id = panel::ShelfModel::itemAt(index).id;
    QPointer<panel::DragMonitor> monitor(&m_dragMonitor);
    QPointer<panel::WindowManager> windows(&m_windowManager);
    TileActions actions;
    // The success action runs 0.3 s after a drop, perhaps after the tile is gone: it holds
    // only the entry's id and reads the entry as the shelf has it then.
    // Undoable either way: what a drag out handed over may not be where the user wanted it.
    actions.onRemove = [monitor, id] {
        if (!monitor)
            return;
        for (const BucketItem& current : monitor->draggedItems()) {
            if (current.id == id) {
                monitor->history().removeItem(current);
                return;
            }
        }
    };
    QPointer<ContentView> self(this);
    // Taking an entry out is what a shelf shown on request was for: it goes with the drag.
    actions.onDragStart = [self, windows, monitor] {
        if (self)
            self->m_isDraggingOut = true;
        if (monitor)
            monitor->setIsShelfRequested(false);
        if (windows && !windows->keepsPanelDuringDragOut())
            windows->hidePanel();
    };
    // Holdfin's own drag changed the drag selection: record that before the panel comes back,
    // so it is not taken for a new drag.
    actions.onDragEnd = [self, monitor, windows] {
        if (self)
            self->m_isDraggingOut = false;
        if (monitor)
            monitor->setLastChangeCount(monitor->dragSelection().serial());
        if (windows)
            windows->showPanel();
    };
    return new BucketItemView(index, m_dragMonitor, std::move(actions), m_mainQueue, m_dragSession,
                              m_log, m_desktopServices, m_thumbnails, m_symbols, m_colorScheme);
}

QWidget* ContentView::buildBottomBar() {
    auto* bar = new QWidget;
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    m_menuButton = plainButton(bar);
    m_menuButton->setPopupMode(QToolButton::InstantPopup);
    m_menuButton->setMenu(m_menu);
    m_menuButton->setToolTip(tr("Menu"));
    m_menuButton->setAccessibleName(tr("Menu"));
    m_clearButton = plainButton(bar);
    m_clearButton->setFixedSize(kBarButton);
    m_clearButton->setIconSize(kBarButton - QSize(2, 2) * kBarSymbolPadding);
    m_clearButton->setToolTip(tr("Clear the shelf"));
    m_clearButton->setAccessibleName(tr("Clear shelf"));
    connect(m_clearButton, &QToolButton::clicked, this,
            [this] { m_dragMonitor.history().clearItems(); });
    m_undoButton = makeUndoButton(bar);
    row->addWidget(m_menuButton);
    row->addStretch(1);
    row->addWidget(m_undoButton);
    row->addStretch(1);
    row->addWidget(m_clearButton);
    paintBarSymbols();
    return bar;
}

QToolButton* ContentView::makeUndoButton(QWidget* parent) {
    auto* button = plainButton(parent);
    button->setText(tr("Undo"));
    button->setToolTip(tr("Bring back what was just removed (Ctrl+Z)"));
    button->setFixedHeight(kBarButton.height());
    connect(button, &QToolButton::clicked, &m_dragMonitor.history(), &panel::ShelfHistory::undo);
    return button;
}

void ContentView::updateUndoAffordances() {
    const bool canUndo = m_dragMonitor.history().canUndo();
    if (m_undoButton)
        m_undoButton->setVisible(canUndo);
    // The drop region has no bar: while it shows for an emptied shelf, the strip stands in.
    const bool showsStrip = canUndo && m_dropRegion && !m_dragMonitor.isDragging();
    if (showsStrip != m_undoStrip->isVisibleTo(this)) {
        m_undoStrip->setVisible(showsStrip);
        m_layout->activate(); // at once, as with a new face
    }
    for (QToolButton* button : {m_undoButton, m_undoStrip->findChild<QToolButton*>()}) {
        if (!button)
            continue;
        QPalette palette = button->palette();
        palette.setColor(QPalette::ButtonText, barSymbolColor());
        button->setPalette(palette);
    }
}

QMenu* ContentView::buildMenu() {
    auto* menu = new QMenu(this);
    menu->addAction(tr("About Holdfin"), this, [this] {
        const QUrl page(QString::fromLatin1(kProductPage), QUrl::StrictMode);
        if (page.isValid() && !page.isRelative())
            m_desktopServices.openUrl(page);
    });
    auto activate = [&application = m_application] { application.activate(); };
    menu->addAction(
        settings_access::settingsButton(m_settings, tr("Preferences…"), activate, activate, menu));
    menu->addSeparator();
    menu->addAction(tr("Quit Holdfin"), this, [this] { m_application.terminate(); });
    return menu;
}

void ContentView::paintBarSymbols() {
    if (!m_menuButton)
        return;
    const qreal dpr = devicePixelRatioF();
    const QColor tint = barSymbolColor();
    // Qt caches an icon's renderings under that icon, and a list face is built for every
    // drop: new icons each time would pile up in the pixmap cache.
    if (m_menuIcon.isNull() || tint != m_barIconTint || dpr != m_barIconRatio) {
        const QPixmap label = menuLabel(m_symbols, tint, dpr);
        m_menuIcon = QIcon(label);
        m_menuIconSize = label.deviceIndependentSize().toSize();
        m_clearIcon =
            QIcon(m_symbols.image(QStringLiteral("trash"), m_clearButton->iconSize(), tint, dpr));
        m_barIconTint = tint;
        m_barIconRatio = dpr;
    }
    m_menuButton->setIcon(m_menuIcon);
    m_menuButton->setIconSize(m_menuIconSize);
    m_menuButton->setFixedSize(m_menuIconSize);
    m_clearButton->setIcon(m_clearIcon);
}

void ContentView::setColorScheme(ColorScheme scheme) {
    m_colorScheme = scheme;
    paintBarSymbols();
    updateUndoAffordances();
    if (m_entryList) {
        for (QWidget* widget : m_entryList->liveWidgets()) {
            if (auto* tile = qobject_cast<BucketItemView*>(widget))
                tile->setColorScheme(scheme);
        }
    }
    update();
}

QColor ContentView::backgroundColor() const {
    if (m_colorScheme == ColorScheme::Dark)
        return palette().color(QPalette::Window);
    return Qt::white;
}

QColor ContentView::barSymbolColor() const {
    return colorFromHex(m_colorScheme == ColorScheme::Dark ? QStringLiteral("#DEDEDE")
                                                           : QStringLiteral("#5F5F5F"));
}

namespace {

// Covers a face in the panel's background and lifts off as the face springs in. Not a
// graphics effect: Qt cannot nest those, and the tiles fade their own parts with them.
class Veil final : public QWidget {
public:
    Veil(QWidget* face, QColor color, qreal cornerRadius)
        : QWidget(face->parentWidget()), m_face(face), m_color(color),
          m_cornerRadius(cornerRadius) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        face->installEventFilter(this);
        setGeometry(face->geometry());
        raise();
        show();
    }
    void setOpacity(qreal opacity) {
        m_opacity = opacity;
        update();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_face && (event->type() == QEvent::Move || event->type() == QEvent::Resize))
            setGeometry(m_face->geometry());
        return false;
    }
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setOpacity(m_opacity);
        // Only inside the panel's rounded shape, where the background is.
        QPainterPath panel;
        panel.addRoundedRect(QRectF(parentWidget()->rect()).translated(-QPointF(pos())),
                             m_cornerRadius, m_cornerRadius);
        painter.fillPath(panel, m_color);
    }

private:
    QWidget* m_face;
    QColor m_color;
    qreal m_cornerRadius;
    qreal m_opacity = 1.0;
};

} // namespace

void ContentView::springIn(QWidget* face) {
    if (!face)
        return;
    // The new face settles in on a quick spring; the veil goes once it has, or with the face.
    auto* veil = new Veil(face, backgroundColor(), kCornerRadius);
    connect(face, &QObject::destroyed, veil, &QObject::deleteLater);
    const SpringCurve spring(0.15, 0.85);
    auto* animation = new QVariantAnimation(veil);
    animation->setStartValue(0.0);
    animation->setEndValue(1.0);
    animation->setDuration(static_cast<int>(spring.settlingTime().count()));
    const double seconds = spring.settlingTime().count() / 1000.0;
    connect(animation, &QVariantAnimation::valueChanged, veil,
            [veil, spring, seconds](const QVariant& progress) {
                veil->setOpacity(
                    1.0 - std::clamp(spring.valueAt(progress.toDouble() * seconds), 0.0, 1.0));
            });
    connect(animation, &QVariantAnimation::finished, veil, &QObject::deleteLater);
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}

void ContentView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()), kCornerRadius, kCornerRadius);
    painter.fillPath(shape, backgroundColor());
}

void ContentView::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    m_dragMonitor.setIsCursorInside(true);
}

void ContentView::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    m_dragMonitor.setIsCursorInside(false);
}

void ContentView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_hasAppeared)
        return;
    m_hasAppeared = true;
    updatePanelVisibility();
    if (m_dragMonitor.isShelfRequested())
        followShelfRequest();
}

} // namespace views
