#include "window_manager.h"

#include "backend/screens.h"
#include "backend/window_system.h"
#include "non_activating_panel.h"

namespace panel {

namespace {
QRect toWidgetGeometry(const QRectF& frame) {
    return {qRound(frame.x()), qRound(frame.y()), qRound(frame.width()), qRound(frame.height())};
}
} // namespace

WindowManager::WindowManager(backend::Screens& screens, backend::WindowSystem* windowSystem,
                             QObject* parent)
    : QObject(parent), m_screens(screens), m_windowSystem(windowSystem) {
    const QRectF frame = panelFrame(m_screens.primaryAvailableGeometry());
    m_panelY = frame.y();
    if (auto primary = m_screens.primary())
        m_screenName = primary->name;
    auto panel = std::make_unique<NonActivatingPanel>(toWidgetGeometry(frame), windowSystem);
    panel->present();
    m_window = std::move(panel);
    connect(&m_screens, &backend::Screens::screensChanged, this, &WindowManager::onScreensChanged);
}

WindowManager::~WindowManager() = default;

QRectF WindowManager::panelFrame(const QRect& visibleFrame) {
    // QRect's centre is rounded down; the frame's true mid y keeps the half point.
    const double midY = visibleFrame.y() + visibleFrame.height() / 2.0;
    return {double(visibleFrame.x()), midY - 0.5 * panelHeight, panelWidth, panelHeight};
}

void WindowManager::showPanel() {
    if (m_window->isPresented())
        return;
    if (m_isPlacementStale)
        placeOnPrimary();
    m_window->present();
    // Lifted once in place: lifting may wait for the server, the drag's panel should not.
    setLifted(m_isDragInProgress);
}

void WindowManager::hidePanel() {
    if (!m_window->isPresented())
        return;
    // Before it leaves: what lifts it may keep it on screen.
    setLifted(false);
    m_window->dismiss();
}

void WindowManager::setDragInProgress(bool isInProgress) {
    m_isDragInProgress = isInProgress;
    setLifted(isInProgress && m_window->isPresented());
}

void WindowManager::setLifted(bool isLifted) {
    if (m_isLifted == isLifted || !m_windowSystem)
        return;
    m_isLifted = isLifted;
    m_windowSystem->liftAboveFullScreen(m_window->windowHandle(), isLifted);
}

void WindowManager::showPanelWithFocus() {
    showPanel();
    m_window->takeFocus();
}

void WindowManager::releasePanelFocus() {
    m_window->releaseFocus();
}

bool WindowManager::keepsPanelDuringDragOut() const {
    return m_windowSystem && m_windowSystem->keepsDragSourceInPlace();
}

void WindowManager::placeOnPrimary() {
    const QRectF frame = panelFrame(m_screens.primaryAvailableGeometry());
    m_panelY = frame.y();
    const auto primary = m_screens.primary();
    m_screenName = primary ? primary->name : QString();
    m_isPlacementStale = false;
    m_window->setFrame(toWidgetGeometry(frame));
}

void WindowManager::onScreensChanged() {
    const QList<backend::ScreenInfo> screens = m_screens.screens();
    if (screens.isEmpty())
        return;
    const QRect frame = m_window->frame();
    bool hasOwnScreen = false;
    bool touchesAScreen = false;
    for (const backend::ScreenInfo& screen : screens) {
        hasOwnScreen = hasOwnScreen || (!m_screenName.isEmpty() && screen.name == m_screenName);
        touchesAScreen = touchesAScreen || screen.geometry.intersects(frame);
    }
    // A panel in sight is not pulled away under the pointer, unless it became unreachable.
    if (m_window->isPresented() && hasOwnScreen && touchesAScreen)
        m_isPlacementStale = true;
    else
        placeOnPrimary();
}

} // namespace panel
