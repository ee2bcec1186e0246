#include "app/holdfin_app.h"
#include "panel/drag_monitor.h"
#include "platform/application.h"
#include "platform/diagnostic_log.h"
#include "platform/drag_pasteboard.h"
#include "platform/qt_main_queue.h"
#include "platform/user_defaults.h"
#include "platform/x11/x11_display.h"
#include "preferences/launch_at_login.h"

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

// Until the application object and the delegate exist: the policy is only kept, Quit quits.
class InterimApplication final : public platform::Application {
public:
    void setActivationPolicy(platform::ActivationPolicy policy) override { m_policy = policy; }
    platform::ActivationPolicy activationPolicy() const override { return m_policy; }
    void activate() override {}
    void deactivate() override {}
    void terminate() override { QCoreApplication::quit(); }
    void setAppearance(platform::Appearance) override {}

private:
    platform::ActivationPolicy m_policy = platform::ActivationPolicy::Accessory;
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

    platform::UserDefaults userDefaults;
    InterimApplication application;
    preferences::XdgAutostartLoginItem loginItem;
    app::HoldfinApp::Options options;
    options.version = QApplication::applicationVersion();
    options.delegateHooks = {
        [] { return true; }, [] {},
        [&loginItem](bool isEnabled) { preferences::updateLaunchAtLogin(loginItem, isEnabled); }};
    app::HoldfinApp holdfin(userDefaults, application, mainQueue, std::move(options));
    return QApplication::exec();
}
