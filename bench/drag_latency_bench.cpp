// Latency of drag detection: from the moment a drag source starts its XDND drag (just before
// it takes XdndSelection) to the moment the DragMonitor publishes isDragging, over real drags
// of our drag source program on a private X server, the pointer stepping every 5 ms.
//
//   holdfin_bench_drag_latency [drags]     (default 100)
#include "backend/x11/x11_connection.h"
#include "backend/x11/x11_drag_selection.h"
#include "backend/x11/x11_global_event_monitor.h"
#include "core/qt_main_queue.h"
#include "drag_bench_tools.h"
#include "panel/drag_monitor.h"
#include "support/x11/xvfb_session.h"

#include <QApplication>

#include <algorithm>
#include <cstdio>

using namespace std::chrono;
using namespace testing_support::x11;

using namespace bench_tools;

int main(int argc, char* argv[]) {
    const int drags = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100;
    XvfbSession session;
    if (auto error = session.start()) {
        std::fprintf(stderr, "drag latency: %s\n", error->c_str());
        return 1;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);

    core::QtMainQueue mainQueue;
    backend::x11::X11Connection connection;
    backend::x11::X11DragSelection dragSelection(connection);
    backend::x11::X11GlobalEventMonitor eventMonitor(connection);
    panel::DragMonitor monitor(mainQueue, dragSelection, eventMonitor);
    std::int64_t draggingAt = 0, countAt = 0;
    QObject::connect(&monitor, &panel::DragMonitor::isDraggingChanged, [&] {
        if (monitor.isDragging() && !draggingAt)
            draggingAt = nowNs();
    });
    QObject::connect(&dragSelection, &backend::x11::X11DragSelection::serialChanged, [&] {
        if (!countAt)
            countAt = nowNs();
    });

    const auto source = startDragSource("100,100");
    if (!source) {
        std::fprintf(stderr, "drag latency: the drag source did not start\n");
        return 1;
    }

    PointerDriver pointer;
    std::vector<double> detection, learning;
    for (int i = 0; i < drags; ++i) {
        draggingAt = countAt = 0;
        auto gesture = source->beginDrag(pointer);
        const auto started = source->process->waitForLine("drag-started ", seconds(5));
        const bool isDetected = waitUntil([&] { return draggingAt != 0; }, seconds(5));
        if (gesture)
            gesture->wait(seconds(10));
        pointer.release();
        source->process->waitForLine("drag-finished ", seconds(5));
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
