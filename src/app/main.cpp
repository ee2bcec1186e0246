#include "panel/drag_monitor.h"
#include "platform/diagnostic_log.h"
#include "platform/drag_pasteboard.h"
#include "platform/qt_main_queue.h"
#include "platform/x11/x11_display.h"

#include <QApplication>

#include <cstdio>

namespace {

// Until the X11 services exist: a pasteboard that never changes and monitors that never fire.
class InactiveDragPasteboard final : public platform::DragPasteboard {
public:
    std::int64_t changeCount() const override { return 0; }
    bool canReadObjectForClasses(std::initializer_list<platform::PasteboardClass>) const override {
        return false;
    }
};

class InactiveEventMonitor final : public platform::GlobalEventMonitor {
public:
    std::optional<platform::MonitorToken> addGlobalMonitor(platform::EventMask, Handler) override {
        return std::nullopt;
    }
    void removeMonitor(platform::MonitorToken) override {}
    void setOwnDragInProgress(bool) override {}
};

} // namespace

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
    InactiveDragPasteboard pasteboard;
    InactiveEventMonitor eventMonitor;
    const platform::Services services{&mainQueue, &pasteboard, &eventMonitor, &log};

    panel::DragMonitor dragMonitor(services);
    return QApplication::exec();
}
