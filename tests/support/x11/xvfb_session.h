#pragma once

#include "child_process.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace testing_support::x11 {

// A private X server (Xvfb on a free display number) with openbox running on it.
// While it lives, DISPLAY, XDG_RUNTIME_DIR, XDG_DATA_HOME (a private folder) and, unless one
// is set, a D-Bus session bus address that leads nowhere, of this process point at it, so
// programs started afterwards (and a QGuiApplication created afterwards) use it. Create it before
// the QApplication of the test; the destructor ends both programs and restores the environment.
class XvfbSession final {
public:
    XvfbSession();
    ~XvfbSession();
    XvfbSession(const XvfbSession&) = delete;
    XvfbSession& operator=(const XvfbSession&) = delete;

    struct ServerOptions {
        int width = 1280;
        int height = 800;
        std::vector<std::string> extraArgs; // e.g. {"-extension", "XFIXES"} to disable one
        bool withWindowManager = true;      // openbox does not start without XFixes
    };

    // Starts Xvfb and openbox and waits until the window manager is up. On failure, the
    // reason (for a test to fail or skip with); nothing on success.
    std::optional<std::string> start() { return start(ServerOptions{}); }
    std::optional<std::string> start(const ServerOptions& options);
    bool isRunning() const { return m_xvfb != nullptr; }
    // ":<n>"
    const std::string& display() const { return m_display; }
    // Ends the X server at once (to test what clients do when the server goes away).
    void killServer();

private:
    // Starts Xvfb on `display`; the display number it reports, or nothing when it failed.
    std::optional<std::string> startServer(int display, const ServerOptions& options);
    bool waitForWindowManager(std::chrono::milliseconds timeout);
    bool waitUntilWindowsAreManaged(std::chrono::milliseconds timeout);
    void stop();

    std::unique_ptr<ChildProcess> m_xvfb;
    std::unique_ptr<ChildProcess> m_windowManager;
    std::string m_display;
    std::string m_runtimeDir;
    std::optional<std::string> m_savedDisplay;
    std::optional<std::string> m_savedRuntimeDir;
    std::optional<std::string> m_savedBusAddress;
    std::optional<std::string> m_savedDataHome;
};

} // namespace testing_support::x11
