// Latency of drag detection: from the moment a drag source starts its XDND drag (just before
// it takes XdndSelection) to the moment the DragMonitor publishes isDragging, over real drags
// of our drag source program on a private X server, the pointer stepping every 5 ms.
//
//   holdfin_bench_drag_latency [drags]     (default 100)
#include "panel/drag_monitor.h"
#include "platform/qt_main_queue.h"
#include "platform/x11/x11_connection.h"
#include "platform/x11/x11_drag_pasteboard.h"
#include "platform/x11/x11_global_event_monitor.h"
#include "support/x11/child_process.h"
#include "support/x11/pointer_driver.h"
#include "support/x11/test_programs.h"
#include "support/x11/xvfb_session.h"

#include <QApplication>

#include <algorithm>
#include <cstdio>
#include <sstream>

using namespace std::chrono;
using namespace testing_support::x11;

namespace {

std::int64_t nowNs() {
    return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}

bool waitUntil(const std::function<bool()>& condition, milliseconds timeout) {
    const auto deadline = steady_clock::now() + timeout;
    while (!condition()) {
        if (steady_clock::now() >= deadline)
            return false;
        pumpEvents(milliseconds(1));
    }
    return true;
}

double percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    const auto at = std::size_t(p * double(values.size() - 1) + 0.5);
    return values[std::min(at, values.size() - 1)];
}

} // namespace

int main(int argc, char* argv[]) {
    const int drags = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100;
    XvfbSession session;
    if (auto error = session.start()) {
        std::fprintf(stderr, "drag latency: %s\n", error->c_str());
        return 1;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);

    platform::QtMainQueue mainQueue;
    platform::x11::X11Connection connection;
    platform::x11::X11DragPasteboard pasteboard(connection);
    platform::x11::X11GlobalEventMonitor eventMonitor(connection);
    panel::DragMonitor monitor(platform::Services{&mainQueue, &pasteboard, &eventMonitor, nullptr});
    std::int64_t draggingAt = 0, countAt = 0;
    QObject::connect(&monitor, &panel::DragMonitor::isDraggingChanged, [&] {
        if (monitor.isDragging() && !draggingAt)
            draggingAt = nowNs();
    });
    QObject::connect(&pasteboard, &platform::x11::X11DragPasteboard::changeCountChanged, [&] {
        if (!countAt)
            countAt = nowNs();
    });

    auto source = ChildProcess::start(testProgramPath("holdfin_test_drag_source"),
                                      {"text", "--at", "100,100"});
    const auto ready = source ? source->waitForLine("ready ", seconds(10)) : std::nullopt;
    if (!ready) {
        std::fprintf(stderr, "drag latency: the drag source did not start\n");
        return 1;
    }
    int x = 0, y = 0;
    std::istringstream(ready->substr(6)) >> x >> y;

    PointerDriver pointer;
    std::vector<double> detection, learning;
    ChildProcess::Options quiet;
    quiet.captureStdout = false;
    for (int i = 0; i < drags; ++i) {
        draggingAt = countAt = 0;
        pointer.moveTo(x + 40, y + 40);
        pointer.press();
        // Moves keep coming while this process runs its event loop, as a user's would.
        std::vector<std::string> steps;
        for (int s = 0; s < 40; ++s)
            steps.insert(steps.end(), {"mousemove_relative", "--", "3", "1", "sleep", "0.005"});
        auto gesture = ChildProcess::start("xdotool", steps, quiet);
        const auto started = source->waitForLine("drag-started ", seconds(5));
        const bool isDetected = waitUntil([&] { return draggingAt != 0; }, seconds(5));
        if (gesture)
            gesture->wait(seconds(10));
        pointer.release();
        source->waitForLine("drag-finished ", seconds(5));
        waitUntil([&] { return !monitor.isDragging(); }, seconds(2));
        if (!started || !isDetected) {
            std::fprintf(stderr, "drag latency: drag %d %s\n", i + 1,
                         started ? "was not detected" : "did not start");
            continue;
        }
        const std::int64_t startNs = std::stoll(started->substr(13));
        detection.push_back(double(draggingAt - startNs) / 1e6);
        learning.push_back(double(countAt - startNs) / 1e6);
    }
    if (detection.empty())
        return 1;
    std::printf("drag latency: %zu of %d drags detected\n", detection.size(), drags);
    std::printf("  drag start -> isDragging: median %.2f ms, p99 %.2f ms, max %.2f ms\n",
                percentile(detection, 0.5), percentile(detection, 0.99),
                percentile(detection, 1.0));
    std::printf("  drag start -> types known (change count): median %.2f ms, p99 %.2f ms\n",
                percentile(learning, 0.5), percentile(learning, 0.99));
    return detection.size() == std::size_t(drags) ? 0 : 1;
}
