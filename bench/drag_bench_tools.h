#pragma once

// What the benchmarks that time real drags on a private X server share.
#include "support/x11/child_process.h"
#include "support/x11/pointer_driver.h"
#include "support/x11/test_programs.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace bench_tools {

inline std::int64_t nowNs() {
    using namespace std::chrono;
    return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}

// The value below which the share `p` (0..1) of `values` lies.
inline double percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    const auto at = std::size_t(p * double(values.size() - 1) + 0.5);
    return values[std::min(at, values.size() - 1)];
}

// Delivers this thread's events (where it runs Qt's loop) until `condition` holds; false when
// `timeout` passes first.
inline bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        testing_support::x11::pumpEvents(std::chrono::milliseconds(1));
    }
    return true;
}

// The test drag source offering text, its window at `at` ("x,y").
struct DragSource {
    std::unique_ptr<testing_support::x11::ChildProcess> process;
    int x = 0, y = 0; // where its window is

    // Presses on the window and moves on while the caller runs its event loop, as a user's
    // drag would; the source prints "drag-started <ns>" once its drag runs. Release with
    // `pointer` when done; the returned process is the running gesture.
    std::unique_ptr<testing_support::x11::ChildProcess>
    beginDrag(testing_support::x11::PointerDriver& pointer) const {
        pointer.moveTo(x + 40, y + 40);
        pointer.press();
        std::vector<std::string> steps;
        for (int s = 0; s < 40; ++s)
            steps.insert(steps.end(), {"mousemove_relative", "--", "3", "1", "sleep", "0.005"});
        testing_support::x11::ChildProcess::Options quiet;
        quiet.captureStdout = false;
        return testing_support::x11::ChildProcess::start("xdotool", steps, quiet);
    }
};

inline std::optional<DragSource> startDragSource(const std::string& at) {
    using namespace std::chrono_literals;
    DragSource source;
    source.process = testing_support::x11::ChildProcess::start(
        testing_support::x11::testProgramPath("holdfin_test_drag_source"), {"text", "--at", at});
    const auto ready = source.process ? source.process->waitForLine("ready ", 10s) : std::nullopt;
    if (!ready)
        return std::nullopt;
    std::istringstream(ready->substr(6)) >> source.x >> source.y;
    return source;
}

} // namespace bench_tools
