#include "non_activating_panel.h"

#include "backend/window_system.h"
#include "shelf/logging.h"

#include <QAccessibleWidget>
#include <QDragEnterEvent>
#include <QGuiApplication>
#include <QMimeData>
#include <QMoveEvent>
#include <QScreen>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>

namespace panel {

namespace {
// Clear of the desktop's edge, so that no border or shadow a window manager adds reaches in.
constexpr int kDismissedGap = 64;
// The places last asked for that are remembered: the panel has two, more after screen changes.
constexpr qsizetype kRememberedPositions = 8;

// Screen readers see the panel as a window, out of sight while it is dismissed, though it
// waits mapped beside the screens.
class PanelAccessible final : public QAccessibleWidget {
public:
    explicit PanelAccessible(NonActivatingPanel* panel)
        : QAccessibleWidget(panel, QAccessible::Window) {}

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        const auto* panel = qobject_cast<const NonActivatingPanel*>(widget());
        if (!panel || !panel->isPresented() || !panel->contentView()) {
            state.invisible = true;
            state.offscreen = true;
        }
        return state;
    }
};

QAccessibleInterface* panelAccessible(const QString&, QObject* object) {
    auto* panel = qobject_cast<NonActivatingPanel*>(object);
    return panel ? new PanelAccessible(panel) : nullptr;
}

} // namespace

NonActivatingPanel::NonActivatingPanel(const QRect& frame, backend::WindowSystem* windowSystem,
                                       QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                          Qt::WindowDoesNotAcceptFocus),
      m_windowSystem(windowSystem), m_frame(frame) {
    // Before anything asks for the panel's accessible interface, which is then kept.
    static const bool isAccessibleInstalled = [] {
        QAccessible::installFactory(panelAccessible);
        return true;
    }();
    Q_UNUSED(isAccessibleInstalled);
    setAttribute(Qt::WA_ShowWithoutActivating);
    // Qt shows tooltips only in the active window, which the panel never is.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_QuitOnClose, false);
    setAttribute(Qt::WA_DeleteOnClose, false);
    setFocusPolicy(Qt::NoFocus);
    setAccessibleName(tr("Holdfin"));
    setAcceptDrops(true);
    setGeometry(frame);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    winId();
}

void NonActivatingPanel::setVisible(bool visible) {
    // The hints go onto the still unmapped window: the window manager reads them on map.
    if (visible && !isVisible() && m_windowSystem)
        m_windowSystem->preparePanel(windowHandle());
    QWidget::setVisible(visible);
}

QRect NonActivatingPanel::dismissedFrame(const QRect& frame, const QRect& desktop) {
    const int left = std::min(frame.left(), desktop.isEmpty() ? frame.left() : desktop.left());
    return frame.translated(left - kDismissedGap - frame.width() - frame.left(), 0);
}

QRect NonActivatingPanel::wantedGeometry() const {
    // Without content the panel has nothing to show: it waits out of sight until it has.
    if (m_isPresented && m_content)
        return m_frame;
    const QScreen* screen = QGuiApplication::primaryScreen();
    return dismissedFrame(m_frame, screen ? screen->virtualGeometry() : QRect());
}

void NonActivatingPanel::place() {
    const QRect wanted = wantedGeometry();
    m_askedPositions.removeAll(wanted.topLeft());
    m_askedPositions.append(wanted.topLeft());
    if (m_askedPositions.size() > kRememberedPositions)
        m_askedPositions.removeFirst();
    setGeometry(wanted);
    // Screen readers learn that the panel came into sight or went out of it.
    QAccessible::State changed;
    changed.invisible = true;
    changed.offscreen = true;
    QAccessibleStateChangeEvent event(this, changed);
    QAccessible::updateAccessibility(&event);
}

void NonActivatingPanel::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    // The window manager tells of each move as it makes it (Qt's own report of a move asked
    // for is not spontaneous). Dismissed and presented again quickly, the panel can hear of an
    // earlier move after Qt took it to be where it should be, and would stay where that move
    // put it: news of a place asked for earlier is stale, and the place it should be at is
    // asked for again. A place the window manager chose itself is left alone.
    const QRect wanted = wantedGeometry();
    if (event->spontaneous() && event->pos() != wanted.topLeft() &&
        m_askedPositions.contains(event->pos()))
        setGeometry(wanted);
}

void NonActivatingPanel::present() {
    m_isPresented = true;
    place();
    // The only map of the panel's life; from here on showing and hiding are moves.
    if (!isVisible())
        show();
    raise();
    emit presented();
}

void NonActivatingPanel::takeFocus() {
    // The native window's own flag says whether the window manager may give it the focus;
    // changing the widget's flags would make the window anew and map it a second time.
    m_isTakingFocus = true;
    windowHandle()->setFlag(Qt::WindowDoesNotAcceptFocus, false);
    if (m_windowSystem)
        m_windowSystem->preparePanel(windowHandle());
    activateWindow();
}

void NonActivatingPanel::releaseFocus() {
    if (!m_isTakingFocus)
        return;
    m_isTakingFocus = false;
    if (isActiveWindow() && m_windowSystem)
        m_windowSystem->yieldActivation();
    windowHandle()->setFlag(Qt::WindowDoesNotAcceptFocus, true);
    if (m_windowSystem)
        m_windowSystem->preparePanel(windowHandle());
}

void NonActivatingPanel::dismiss() {
    releaseFocus();
    m_isPresented = false;
    place();
    if (!isVisible())
        show();
    emit dismissed();
}

void NonActivatingPanel::setFrame(const QRect& frame) {
    m_frame = frame;
    place();
}

void NonActivatingPanel::setContentView(QWidget* content) {
    if (content == m_content)
        return;
    delete m_content;
    m_content = content;
    if (m_content) {
        layout()->addWidget(m_content);
        // On screen at once, not a turn later, when the panel is. Showing it may present or
        // dismiss the panel.
        if (isVisible())
            m_content->show();
    }
    place();
}

const QStringList& NonActivatingPanel::registeredDraggedTypes() {
    static const QStringList types{QStringLiteral("text/uri-list"), QStringLiteral("image/png"),
                                   QStringLiteral("text/plain"), QStringLiteral("application/pdf")};
    return types;
}

bool NonActivatingPanel::offersRegisteredType(const QStringList& formats) {
    for (const QString& format : formats) {
        // Text comes with a charset parameter as often as without.
        const QString type = format.section(QLatin1Char(';'), 0, 0).trimmed();
        if (registeredDraggedTypes().contains(type, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

void NonActivatingPanel::dragEnterEvent(QDragEnterEvent* event) {
    dragMoveEvent(event);
}

void NonActivatingPanel::dragMoveEvent(QDragMoveEvent* event) {
    // A drop here is refused, but a source learns that only at the end; until then it takes
    // the last answer for the outcome. Offered a move, some would delete what they offered.
    if (event->mimeData() && offersRegisteredType(event->mimeData()->formats()) &&
        (event->possibleActions() & Qt::CopyAction)) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void NonActivatingPanel::dropEvent(QDropEvent* event) {
    // What a drop becomes is the content's business; one that reaches the panel is refused.
    qCDebug(shelf::lcDrop, "a drop beside the drop region refused");
    event->ignore();
}

} // namespace panel
