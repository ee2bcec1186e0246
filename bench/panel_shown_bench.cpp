// Latency from a drag's start in another program to holdfin's panel on screen: from the
// moment our drag source starts its XDND drag to the moment the panel window of the real
// holdfin process is on the screen (mapped there, or moved there while mapped), and to the
// moment it shows its content there: its first drawing after a map (XDamage), or at once when
// it comes on screen already drawn (a translucent window keeps its contents in a pixmap of
// the server's while mapped), over real drags on a private X server. Each drag is released
// outside the panel, so the shelf stays empty and the panel hides again before the next one.
//
//   holdfin_bench_panel_shown [drags]     (default 100)
//
// The X connection here only watches holdfin's window from outside, as xwininfo would; this
// program is a measuring instrument, not part of holdfin.
#include "drag_bench_tools.h"
#include "support/x11/xvfb_session.h"

#include <poll.h>
#include <stdlib.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>

// Last: Xlib defines macros (Status, Bool) that Qt's headers must not see.
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>

using namespace std::chrono;
using namespace testing_support::x11;
using namespace bench_tools;

namespace {

// Watches one window on a connection of its own, on a thread of its own: when it last came
// on the screen, when its content first showed there, and whether it is on the screen now.
class WindowWatcher final {
public:
    explicit WindowWatcher(unsigned long window) : m_window(window) {
        m_display = XOpenDisplay(nullptr);
        if (!m_display)
            return;
        int eventBase = 0, errorBase = 0;
        if (!XDamageQueryExtension(m_display, &eventBase, &errorBase)) {
            XCloseDisplay(m_display);
            m_display = nullptr;
            return;
        }
        m_damageEvent = eventBase + XDamageNotify;
        XSelectInput(m_display, m_window, StructureNotifyMask);
        m_damage = XDamageCreate(m_display, m_window, XDamageReportRawRectangles);
        m_isShown = isOnScreen();
        XWindowAttributes attributes;
        m_isDrawn = XGetWindowAttributes(m_display, m_window, &attributes) &&
                    attributes.map_state != IsUnmapped;
        XFlush(m_display);
        m_thread = std::thread([this] { run(); });
    }
    ~WindowWatcher() {
        m_isStopping = true;
        if (m_thread.joinable())
            m_thread.join();
        if (m_display) {
            XDamageDestroy(m_display, m_damage);
            XCloseDisplay(m_display);
        }
    }
    WindowWatcher(const WindowWatcher&) = delete;
    WindowWatcher& operator=(const WindowWatcher&) = delete;

    bool isValid() const { return m_display != nullptr; }
    bool isShown() const { return m_isShown; }
    std::int64_t shownAt() const { return m_shownAt; }
    std::int64_t paintedAt() const { return m_paintedAt; }
    void reset() { m_shownAt = m_paintedAt = 0; }

private:
    // Mapped and at least partly inside the root window.
    bool isOnScreen() {
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(m_display, m_window, &attributes) ||
            attributes.map_state != IsViewable)
            return false;
        XWindowAttributes root;
        int x = 0, y = 0;
        Window child = 0;
        if (!XGetWindowAttributes(m_display, attributes.root, &root) ||
            !XTranslateCoordinates(m_display, m_window, attributes.root, 0, 0, &x, &y, &child))
            return false;
        return x < root.width && y < root.height && x + attributes.width > 0 &&
               y + attributes.height > 0;
    }

    void run() {
        pollfd descriptor{ConnectionNumber(m_display), POLLIN, 0};
        while (!m_isStopping) {
            if (!XPending(m_display)) {
                poll(&descriptor, 1, 5);
                continue;
            }
            XEvent event;
            XNextEvent(m_display, &event);
            const std::int64_t at = nowNs();
            if (event.type == MapNotify || event.type == UnmapNotify ||
                event.type == ConfigureNotify) {
                // Unmapped, the window loses its contents.
                m_isDrawn = m_isDrawn && event.type != UnmapNotify;
                m_isShown = isOnScreen();
                if (m_isShown && !m_shownAt)
                    m_shownAt = at;
                if (m_isShown && m_isDrawn && !m_paintedAt)
                    m_paintedAt = at;
            } else if (event.type == m_damageEvent) {
                m_isDrawn = true;
                if (m_isShown && m_shownAt && !m_paintedAt)
                    m_paintedAt = at;
                XDamageSubtract(m_display, m_damage, None, None);
            }
        }
    }

    Display* m_display = nullptr;
    unsigned long m_window;
    Damage m_damage = 0;
    int m_damageEvent = 0;
    std::thread m_thread;
    std::atomic<bool> m_isStopping{false};
    std::atomic<bool> m_isShown{false};
    bool m_isDrawn = false; // watcher thread only
    std::atomic<std::int64_t> m_shownAt{0};
    std::atomic<std::int64_t> m_paintedAt{0};
};

std::string firstLineOf(const std::string& program, const std::vector<std::string>& args) {
    auto child = ChildProcess::start(program, args);
    if (!child)
        return {};
    const auto line = child->readLine(seconds(5));
    child->wait(seconds(5));
    return line.value_or("");
}

} // namespace

int main(int argc, char* argv[]) {
    const int drags = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100;
    XvfbSession session;
    if (auto error = session.start()) {
        std::fprintf(stderr, "panel shown: %s\n", error->c_str());
        return 1;
    }
    QTemporaryDir home;
    const QString config = home.filePath(QStringLiteral("config"));
    QDir().mkpath(config + QStringLiteral("/holdfin"));
    QFile settings(config + QStringLiteral("/holdfin/holdfin.conf"));
    if (settings.open(QIODevice::WriteOnly))
        settings.write("[General]\nhasLaunchedBefore=true\nshowMenuBarIcon=false\n");
    settings.close();
    setenv("XDG_CONFIG_HOME", config.toLocal8Bit().constData(), 1);
    setenv("XDG_CACHE_HOME", home.filePath(QStringLiteral("cache")).toLocal8Bit().constData(), 1);
    setenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toLocal8Bit().constData(), 1);

    ChildProcess::Options quiet;
    quiet.captureStdout = false;
    auto holdfin = ChildProcess::start(HOLDFIN_EXECUTABLE, {}, quiet);
    std::string panel;
    waitUntil(
        [&] {
            panel = firstLineOf("xdotool", {"search", "--pid", std::to_string(holdfin->pid())});
            return !panel.empty();
        },
        seconds(10));
    if (panel.empty()) {
        std::fprintf(stderr, "panel shown: holdfin built no panel\n");
        return 1;
    }
    std::this_thread::sleep_for(milliseconds(500));
    WindowWatcher watcher(std::stoul(panel));
    if (!watcher.isValid()) {
        std::fprintf(stderr, "panel shown: no X connection with the Damage extension\n");
        return 1;
    }

    const auto source = startDragSource("400,100");
    if (!source) {
        std::fprintf(stderr, "panel shown: the drag source did not start\n");
        return 1;
    }

    PointerDriver pointer;
    std::vector<double> shown, painted;
    int missed = 0;
    for (int i = 0; i < drags; ++i) {
        waitUntil([&] { return !watcher.isShown(); }, seconds(3));
        watcher.reset();
        auto gesture = source->beginDrag(pointer);
        const auto started = source->process->waitForLine("drag-started ", seconds(5));
        const bool isShown = waitUntil([&] { return watcher.paintedAt() != 0; }, seconds(3));
        if (gesture)
            gesture->wait(seconds(10));
        pointer.release(); // over the source itself, which takes no drops
        source->process->waitForLine("drag-finished ", seconds(5));
        if (!started || !isShown) {
            ++missed;
            std::fprintf(stderr, "panel shown: drag %d %s (on screen %d)\n", i + 1,
                         started ? "did not show the panel" : "did not start",
                         int(watcher.shownAt() != 0));
            continue;
        }
        const std::int64_t startNs = std::stoll(started->substr(13));
        shown.push_back(double(watcher.shownAt() - startNs) / 1e6);
        painted.push_back(double(watcher.paintedAt() - startNs) / 1e6);
    }
    if (painted.empty())
        return 1;
    std::printf("panel shown: %zu of %d drags showed the panel\n", painted.size(), drags);
    std::printf("  drag start -> panel on screen: median %.2f ms, p99 %.2f ms, max %.2f ms\n",
                percentile(shown, 0.5), percentile(shown, 0.99), percentile(shown, 1.0));
    std::printf("  drag start -> panel painted:   median %.2f ms, p99 %.2f ms, max %.2f ms\n",
                percentile(painted, 0.5), percentile(painted, 0.99), percentile(painted, 1.0));
    return missed == 0 ? 0 : 1;
}
