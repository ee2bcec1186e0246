#include "app/app_delegate.h"
#include "app/holdfin_app.h"
#include "platform/color_scheme_service.h"
#include "platform/desktop_workspace.h"
#include "platform/diagnostic_log.h"
#include "platform/mime_item_provider_factory.h"
#include "platform/portal_color_scheme.h"
#include "platform/qt_application.h"
#include "platform/qt_drag_session.h"
#include "platform/qt_main_queue.h"
#include "platform/qt_screens.h"
#include "platform/symbol_image.h"
#include "platform/user_defaults.h"
#include "platform/x11/x11_connection.h"
#include "platform/x11/x11_display.h"
#include "platform/x11/x11_drag_pasteboard.h"
#include "platform/x11/x11_global_event_monitor.h"
#include "platform/x11/x11_window_system.h"
#include "platform/x11/x11_work_area.h"
#include "preferences/launch_at_login.h"
#include "preferences/settings_access/open_settings_injection_view.h"
#include "views/content_view.h"

#include <QApplication>
#include <QThreadPool>

#include <cstdio>

int main(int argc, char* argv[]) {
    // Holdfin watches X11 drags; in a Wayland session it runs through XWayland.
    qputenv("QT_QPA_PLATFORM", "xcb");
    if (auto why = platform::x11::whyNoDisplay()) {
        std::fprintf(stderr, "holdfin: %s\n", why->toLocal8Bit().constData());
        return 1;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("holdfin"));
    QApplication::setApplicationDisplayName(QStringLiteral("Holdfin"));
    QApplication::setApplicationVersion(QStringLiteral(HOLDFIN_VERSION));
    QApplication::setQuitOnLastWindowClosed(false);

    platform::QtMainQueue mainQueue;
    platform::StdoutDiagnosticLog log;
    // The system-wide watchers share a connection of their own to the X server.
    platform::x11::X11Connection x11;
    platform::x11::X11DragPasteboard pasteboard(x11);
    platform::x11::X11GlobalEventMonitor eventMonitor(x11);
    platform::UserDefaults userDefaults;
    platform::x11::X11WindowSystem windowSystem;
    platform::x11::X11WorkArea workArea;
    platform::QtScreens screens(&workArea);
    platform::PortalColorScheme desktopColorScheme;
    platform::ColorSchemeService colorSchemes(&desktopColorScheme);
    platform::QtApplication application(colorSchemes, &windowSystem);
    platform::QtDragSession dragSession(eventMonitor);
    platform::DesktopWorkspace workspace;
    const platform::SymbolImage symbols;
    const platform::Services services{.mainQueue = &mainQueue,
                                      .dragPasteboard = &pasteboard,
                                      .eventMonitor = &eventMonitor,
                                      .log = &log,
                                      .dragSession = &dragSession,
                                      .workspace = &workspace,
                                      .symbols = &symbols,
                                      .application = &application,
                                      .userDefaults = &userDefaults,
                                      .screens = &screens,
                                      .windowSystem = &windowSystem,
                                      .colorSchemes = &colorSchemes};

    // Drops load on this pool; declared after the queue and log it reports to, so it is
    // gone (and its loads finished) before they are.
    QThreadPool loadPool;
    const QString imageCache = platform::MimeItemProviderFactory::defaultImageCacheDirectory();
    // The shelf starts empty: images cached for an earlier run's entries are dead weight.
    platform::MimeItemProviderFactory::clearImageCache(imageCache);
    platform::MimeItemProviderFactory providers(imageCache, loadPool);

    app::AppDelegate delegate(services);
    app::HoldfinApp::Options options;
    options.version = QApplication::applicationVersion();
    options.delegateHooks = {[] { return app::AppDelegate::shared() != nullptr; },
                             [] {
                                 if (auto* shared = app::AppDelegate::shared())
                                     shared->applyAppearance();
                             },
                             [](bool isEnabled) {
                                 if (auto* shared = app::AppDelegate::shared())
                                     shared->updateLaunchAtLogin(isEnabled);
                             }};
    app::HoldfinApp holdfin(userDefaults, application, mainQueue, std::move(options));

    preferences::XdgAutostartLoginItem loginItem(QStringLiteral(HOLDFIN_APP_ID));
    delegate.setLaunchAtLoginHandler(
        [&loginItem](bool isEnabled) { preferences::updateLaunchAtLogin(loginItem, isEnabled); });
    delegate.setContentFactory([&](app::AppDelegate& self) -> QWidget* {
        auto* content = new views::ContentView(self.dragMonitor(), self.windowManager(), services,
                                               providers, holdfin.settingsAccess());
        return new settings_access::OpenSettingsInjectionView(holdfin.settingsAccess(), content);
    });
    // Launching has finished once the event loop runs.
    QMetaObject::invokeMethod(&delegate, &app::AppDelegate::applicationDidFinishLaunching,
                              Qt::QueuedConnection);
    const int status = QApplication::exec();
    // Drags still being prepared log through `log`: let them finish while it exists.
    QThreadPool::globalInstance()->waitForDone();
    return status;
}
