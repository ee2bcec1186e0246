#include "app_delegate.h"
#include "platform/color_scheme_service.h"
#include "platform/diagnostic_log.h"
#include "platform/portal_color_scheme.h"
#include "platform/qt_application.h"
#include "platform/qt_main_queue.h"
#include "platform/qt_screens.h"
#include "platform/user_defaults.h"
#include "platform/x11/x11_connection.h"
#include "platform/x11/x11_display.h"
#include "platform/x11/x11_drag_pasteboard.h"
#include "platform/x11/x11_global_event_monitor.h"
#include "platform/x11/x11_window_system.h"
#include "platform/x11/x11_work_area.h"

#include <QApplication>

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
    const platform::Services services{&mainQueue, &pasteboard,   &eventMonitor,
                                      &log,       &application,  &userDefaults,
                                      &screens,   &windowSystem, &colorSchemes};

    app::AppDelegate delegate(services);
    // Launching has finished once the event loop runs.
    QMetaObject::invokeMethod(&delegate, &app::AppDelegate::applicationDidFinishLaunching,
                              Qt::QueuedConnection);
    return QApplication::exec();
}
