#include "app_delegate.h"

#include "desktop/application.h"
#include "desktop/settings.h"
#include "desktop/settings_keys.h"
#include "panel/non_activating_panel.h"

#include <QGuiApplication>

namespace app {

namespace keys = desktop::settings_keys;

namespace {
AppDelegate* s_shared = nullptr;
} // namespace

AppDelegate::AppDelegate(desktop::Application& application, desktop::Settings& settings,
                         core::MainQueue& mainQueue, backend::DragSelection& dragSelection,
                         backend::GlobalEventMonitor& eventMonitor, backend::Screens& screens,
                         backend::WindowSystem* windowSystem, QObject* parent)
    : QObject(parent), m_application(application), m_settings(settings),
      m_dragMonitor(mainQueue, dragSelection, eventMonitor),
      m_windowManager(screens, windowSystem) {
    connect(&m_dragMonitor, &panel::DragMonitor::isDraggingChanged, this,
            [this] { m_windowManager.setDragInProgress(m_dragMonitor.isDragging()); });
    if (qGuiApp)
        connect(qGuiApp, &QGuiApplication::lastWindowClosed, this,
                &AppDelegate::applicationShouldTerminateAfterLastWindowClosed);
}

AppDelegate::~AppDelegate() {
    if (s_shared == this)
        s_shared = nullptr;
}

AppDelegate* AppDelegate::shared() {
    return s_shared;
}

void AppDelegate::applicationDidFinishLaunching() {
    s_shared = this;
    m_application.setListedInTaskbar(false);
    seedDefaultsOnFirstLaunch();
    applyAppearance();
    // From here on the content alone shows and hides the panel.
    if (m_contentFactory)
        m_windowManager.window()->setContentView(m_contentFactory(*this));
}

void AppDelegate::seedDefaultsOnFirstLaunch() {
    // Any stored value, false included, means an earlier launch; missing keys of an earlier
    // launch are left to their readers' fallbacks.
    if (m_settings.contains(keys::hasLaunchedBefore))
        return;
    m_settings.setValue(keys::hasLaunchedBefore, true);
    m_settings.setValue(keys::showMenuBarIcon, true);
    m_settings.setValue(keys::launchAtLogin, false);
    m_settings.setValue(keys::selectedAppearance, QString(keys::appearanceSystem));
}

void AppDelegate::applyAppearance() {
    const QString selected =
        m_settings.stringValue(keys::selectedAppearance).value_or(QString(keys::appearanceSystem));
    if (selected == keys::appearanceLight)
        m_application.setAppearance(desktop::Appearance::Light);
    else if (selected == keys::appearanceDark)
        m_application.setAppearance(desktop::Appearance::Dark);
    else
        m_application.setAppearance(desktop::Appearance::System);
}

bool AppDelegate::applicationShouldTerminateAfterLastWindowClosed() {
    m_application.setListedInTaskbar(false);
    m_application.deactivate();
    return false;
}

void AppDelegate::quitApp() {
    m_application.terminate();
}

void AppDelegate::updateLaunchAtLogin(bool enabled) {
    if (m_launchAtLoginHandler)
        m_launchAtLoginHandler(enabled);
}

} // namespace app
