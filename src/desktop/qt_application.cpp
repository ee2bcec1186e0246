#include "desktop/qt_application.h"

#include "backend/window_system.h"
#include "desktop/color_scheme_service.h"

#include <QApplication>
#include <QWidget>
#include <QWindow>

namespace desktop {

QtApplication::QtApplication(ColorSchemeService& colorSchemes, backend::WindowSystem* windowSystem,
                             QObject* parent)
    : QObject(parent), m_colorSchemes(colorSchemes), m_windowSystem(windowSystem) {
    // Windows created later take the listing as they are shown.
    if (qApp)
        qApp->installEventFilter(this);
}

QtApplication::~QtApplication() {
    if (qApp)
        qApp->removeEventFilter(this);
}

bool QtApplication::followsTaskbarListing(const QWidget* window) {
    if (!window || !window->isWindow())
        return false;
    const Qt::WindowType type = window->windowType();
    return type == Qt::Window || type == Qt::Dialog;
}

void QtApplication::applyTaskbarListing(QWidget* window) const {
    if (!m_windowSystem || !followsTaskbarListing(window) || !window->windowHandle())
        return;
    m_windowSystem->setSkipTaskbar(window->windowHandle(), !m_isListed);
}

void QtApplication::setListedInTaskbar(bool listed) {
    m_isListed = listed;
    for (QWidget* window : QApplication::topLevelWidgets())
        applyTaskbarListing(window);
}

bool QtApplication::eventFilter(QObject* watched, QEvent* event) {
    // A widget's show event arrives before its native window is mapped, which is when the
    // window manager reads the taskbar hint. The receiver is looked at first: events for other
    // objects may come from other threads, and are none of this filter's business.
    if (watched->isWidgetType() && event->type() == QEvent::Show)
        applyTaskbarListing(qobject_cast<QWidget*>(watched));
    // A tooltip shows over the shelf panel, which takes drops: a drag source that looks for
    // the window under the pointer would find the tooltip there, and the drop would be lost.
    // Nothing is ever done to a tooltip with the pointer. Each exposure may be of a new
    // native window.
    if (m_windowSystem && event->type() == QEvent::Expose) {
        auto* window = qobject_cast<QWindow*>(watched);
        if (window && window->type() == Qt::ToolTip)
            m_windowSystem->letInputPass(window);
    }
    return false;
}

void QtApplication::activate() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (followsTaskbarListing(window) && window->isVisible()) {
            window->raise();
            window->activateWindow();
            return;
        }
    }
}

void QtApplication::deactivate() {
    if (m_windowSystem)
        m_windowSystem->yieldActivation();
}

void QtApplication::terminate() {
    QCoreApplication::quit();
}

void QtApplication::setAppearance(Appearance appearance) {
    m_colorSchemes.setAppearance(appearance);
}

} // namespace desktop
