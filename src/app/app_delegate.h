#pragma once

#include "panel/drag_monitor.h"
#include "panel/window_manager.h"

#include <QObject>

#include <functional>

class QWidget;

namespace backend {
class DragSelection;
class GlobalEventMonitor;
class Screens;
class WindowSystem;
} // namespace backend

namespace core {
class MainQueue;
}

namespace desktop {
class Application;
class Settings;
} // namespace desktop

namespace app {

// The spine of the process: owns the drag monitor and the window manager, runs the start-up
// sequence, seeds the preferences on the first launch, applies the appearance and keeps
// Holdfin running when its last window closes. One per process, GUI thread only.
class AppDelegate final : public QObject {
    Q_OBJECT
public:
    // Builds the panel's content when start-up installs it; the panel owns the result.
    using ContentFactory = std::function<QWidget*(AppDelegate&)>;
    // Starts Holdfin at login from now on (true) or no longer (false).
    using LaunchAtLoginHandler = std::function<void(bool)>;

    // Creates the drag monitor on the main queue, drag selection and event monitor, then the window
    // manager on the screens and window system (which builds and shows the panel; see
    // WindowManager for a null window system). The delegate drives the application and keeps
    // the preferences in `settings`. Every service must outlive the delegate.
    AppDelegate(desktop::Application& application, desktop::Settings& settings,
                core::MainQueue& mainQueue, backend::DragSelection& dragSelection,
                backend::GlobalEventMonitor& eventMonitor, backend::Screens& screens,
                backend::WindowSystem* windowSystem, QObject* parent = nullptr);
    ~AppDelegate() override;

    // The delegate whose start-up sequence has run; null before. Only a sign that start-up
    // has happened: model code takes what it needs through its constructor.
    static AppDelegate* shared();

    panel::DragMonitor& dragMonitor() { return m_dragMonitor; }
    panel::WindowManager& windowManager() { return m_windowManager; }

    // The content start-up installs into the panel (the shelf view); set before it runs.
    void setContentFactory(ContentFactory factory) { m_contentFactory = std::move(factory); }
    // Where updateLaunchAtLogin goes; without one it does nothing.
    void setLaunchAtLoginHandler(LaunchAtLoginHandler handler) {
        m_launchAtLoginHandler = std::move(handler);
    }

    // The start-up sequence; run once, when the event loop is about to start.
    void applicationDidFinishLaunching();
    // The last window closed: back to accessory, deactivated, still running. Always false.
    bool applicationShouldTerminateAfterLastWindowClosed();
    void quitApp();
    // Applies `selectedAppearance` to the whole application: "Light", "Dark", else the desktop's.
    void applyAppearance();
    void updateLaunchAtLogin(bool enabled);

private:
    void seedDefaultsOnFirstLaunch();

    desktop::Application& m_application;
    desktop::Settings& m_settings;
    // Declaration order is construction order: the drag monitor comes first.
    panel::DragMonitor m_dragMonitor;
    panel::WindowManager m_windowManager;
    ContentFactory m_contentFactory;
    LaunchAtLoginHandler m_launchAtLoginHandler;
};

} // namespace app
