#include "panel/drag_monitor.h"
#include "platform/diagnostic_log.h"
#include "platform/qt_main_queue.h"
#include "platform/x11/x11_connection.h"
#include "platform/x11/x11_display.h"
#include "platform/x11/x11_drag_pasteboard.h"
#include "platform/x11/x11_global_event_monitor.h"

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
    const platform::Services services{&mainQueue, &pasteboard, &eventMonitor, &log};

    panel::DragMonitor dragMonitor(services);
    return QApplication::exec();
}
