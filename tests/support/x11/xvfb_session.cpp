#include "xvfb_session.h"

#include "test_programs.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <random>
#include <thread>

namespace testing_support::x11 {

using namespace std::chrono;

namespace {

std::optional<std::string> environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
}

void restore(const char* name, const std::optional<std::string>& value) {
    if (value)
        setenv(name, value->c_str(), 1);
    else
        unsetenv(name);
}

// Reads the display number Xvfb writes to the -displayfd pipe once it accepts connections.
std::optional<std::string> readDisplayNumber(int fd, milliseconds timeout) {
    std::string text;
    const auto deadline = steady_clock::now() + timeout;
    while (steady_clock::now() < deadline) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 50) <= 0)
            continue;
        std::array<char, 32> chunk{};
        const ssize_t n = read(fd, chunk.data(), chunk.size());
        if (n <= 0)
            break;
        text.append(chunk.data(), std::size_t(n));
        if (text.find('\n') != std::string::npos)
            return text.substr(0, text.find('\n'));
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string> XvfbSession::startServer(int display, const ServerOptions& server) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        return std::nullopt;
    ChildProcess::Options options;
    options.captureStdout = false;
    options.passAsFd3 = fds[1];
    const std::string screen =
        std::to_string(server.width) + "x" + std::to_string(server.height) + "x24";
    std::vector<std::string> args = {":" + std::to_string(display),
                                     "-displayfd",
                                     "3",
                                     "-screen",
                                     "0",
                                     screen,
                                     "-nolisten",
                                     "tcp",
                                     "-noreset"};
    args.insert(args.end(), server.extraArgs.begin(), server.extraArgs.end());
    m_xvfb = ChildProcess::start("Xvfb", args, options);
    close(fds[1]);
    std::optional<std::string> number;
    if (m_xvfb)
        number = readDisplayNumber(fds[0], seconds(15));
    close(fds[0]);
    if (!number || number->empty()) {
        m_xvfb.reset();
        return std::nullopt;
    }
    return number;
}

XvfbSession::XvfbSession()
    : m_savedDisplay(environment("DISPLAY")), m_savedRuntimeDir(environment("XDG_RUNTIME_DIR")),
      m_savedBusAddress(environment("DBUS_SESSION_BUS_ADDRESS")),
      m_savedDataHome(environment("XDG_DATA_HOME")) {}

XvfbSession::~XvfbSession() {
    stop();
    restore("DISPLAY", m_savedDisplay);
    restore("XDG_RUNTIME_DIR", m_savedRuntimeDir);
    restore("DBUS_SESSION_BUS_ADDRESS", m_savedBusAddress);
    restore("XDG_DATA_HOME", m_savedDataHome);
}

std::optional<std::string> XvfbSession::start(const ServerOptions& options) {
    // Low display numbers are where other X servers and hard-wired DISPLAY values live: pick a
    // random high one, and another if it is taken. -displayfd tells when the server is ready.
    std::mt19937 random(std::random_device{}());
    std::uniform_int_distribution<int> displays(100, 4000);
    std::optional<std::string> number;
    for (int attempt = 0; attempt < 10 && !number; ++attempt)
        number = startServer(displays(random), options);
    if (!number)
        return "cannot start Xvfb (is the xvfb package installed?)";
    m_display = ":" + *number;
    setenv("DISPLAY", m_display.c_str(), 1);

    std::string pattern = (std::filesystem::temp_directory_path() / "holdfin-xdg-XXXXXX").string();
    if (mkdtemp(pattern.data()))
        m_runtimeDir = pattern; // mkdtemp creates it with mode 0700
    if (!m_runtimeDir.empty()) {
        setenv("XDG_RUNTIME_DIR", m_runtimeDir.c_str(), 1);
        // Holdfin keeps its shelf in the user's data: a test's shelf must not reach the next
        // test, nor the user's own shelf a test.
        setenv("XDG_DATA_HOME", (m_runtimeDir + "/data").c_str(), 1);
    }
    // Without a session bus, every Qt program would autolaunch one through the X server
    // (dbus-launch), which can stall its start by seconds and leaves daemons behind. Point
    // at a bus that is not there instead: D-Bus calls then fail at once. A test that needs a
    // bus starts its own and sets the address.
    if (!m_savedBusAddress)
        setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + m_runtimeDir + "/no-bus").c_str(), 1);

    if (!options.withWindowManager)
        return std::nullopt;
    ChildProcess::Options wmOptions;
    wmOptions.captureStdout = false;
    m_windowManager = ChildProcess::start("openbox", {"--sm-disable"}, wmOptions);
    if (!m_windowManager) {
        stop();
        return "cannot start openbox";
    }
    if (!waitForWindowManager(seconds(15))) {
        stop();
        return "openbox did not come up";
    }
    if (!waitUntilWindowsAreManaged(seconds(30))) {
        stop();
        return "openbox does not map windows";
    }
    return std::nullopt;
}

namespace {

// The first line a program prints, or an empty string.
std::string firstLine(const std::string& program, const std::vector<std::string>& args) {
    auto child = ChildProcess::start(program, args);
    if (!child)
        return {};
    auto line = child->readLine(seconds(5));
    child->wait(seconds(5));
    return line.value_or(std::string());
}

} // namespace

bool XvfbSession::waitUntilWindowsAreManaged(milliseconds timeout) {
    // openbox announces itself before its start-up is over, and a window mapped in between may
    // never be mapped at all: show a probe window (again) until it is on screen.
    const auto deadline = steady_clock::now() + timeout;
    while (steady_clock::now() < deadline) {
        auto probe =
            ChildProcess::start(testProgramPath("holdfin_test_drop_target"), {"--at", "0,0"});
        if (!probe || !probe->waitForLine("ready ", seconds(10)))
            return false;
        for (int i = 0; i < 40; ++i) {
            auto search = ChildProcess::start(
                "xdotool", {"search", "--onlyvisible", "--pid", std::to_string(probe->pid())});
            if (!search)
                return false;
            const auto line = search->readLine(seconds(5));
            search->wait(seconds(5));
            if (line && !line->empty())
                return true;
            std::this_thread::sleep_for(milliseconds(50));
        }
    }
    return false;
}

bool XvfbSession::waitForWindowManager(milliseconds timeout) {
    const auto deadline = steady_clock::now() + timeout;
    // The window manager announces itself on the root window early in its start-up...
    while (firstLine("xprop", {"-root", "-notype", "_NET_SUPPORTING_WM_CHECK"}).find("window id") ==
           std::string::npos) {
        if (steady_clock::now() >= deadline || !m_windowManager->isRunning())
            return false;
        std::this_thread::sleep_for(milliseconds(20));
    }
    // ...but windows mapped before it handles events can be left unmanaged for good: wait until
    // it acts on a request (switching to desktop 2 and back).
    for (const char* desktop : {"1", "0"}) {
        for (;;) {
            if (steady_clock::now() >= deadline || !m_windowManager->isRunning())
                return false;
            ChildProcess::run("xdotool", {"set_desktop", desktop});
            const std::string expected = std::string(" = ") + desktop;
            const auto until = steady_clock::now() + milliseconds(300);
            bool isDone = false;
            while (!isDone && steady_clock::now() < until) {
                const std::string line =
                    firstLine("xprop", {"-root", "-notype", "_NET_CURRENT_DESKTOP"});
                isDone =
                    line.size() >= expected.size() &&
                    line.compare(line.size() - expected.size(), expected.size(), expected) == 0;
                if (!isDone)
                    std::this_thread::sleep_for(milliseconds(10));
            }
            if (isDone)
                break;
        }
    }
    return true;
}

void XvfbSession::killServer() {
    if (m_xvfb)
        kill(m_xvfb->pid(), SIGKILL);
}

void XvfbSession::stop() {
    m_windowManager.reset();
    m_xvfb.reset();
    if (!m_runtimeDir.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(m_runtimeDir, ignored);
        m_runtimeDir.clear();
    }
}

} // namespace testing_support::x11
