#pragma once

#include "support/x11/child_process.h"
#include "x11_tools.h"

#include <QElapsedTimer>
#include <QWidget>
#include <QWindow>

#include <chrono>
#include <cstdio>
#include <functional>
#include <optional>

namespace x11_tools {

// Waits until the top-level `window` is exposed and has kept its place on the X server for a
// while: a window can still move some milliseconds after its first exposure (it has been
// seen to land at 0,0 instead of where it was asked to be). Its global top left corner.
inline std::optional<QPoint> waitUntilSettled(QWidget& window) {
    using namespace std::chrono_literals;
    QPoint last(-1, -1);
    bool isExposed = false;
    int moves = 0;
    QElapsedTimer stableFor;
    stableFor.start();
    const bool isSettled = waitFor(
        [&] {
            isExposed = window.windowHandle() && window.windowHandle()->isExposed();
            const QPoint origin = window.mapToGlobal(QPoint(0, 0));
            moves += origin != last;
            if (!isExposed || origin != last)
                stableFor.restart();
            last = origin;
            testing_support::x11::pumpEvents(10ms);
            return stableFor.elapsed() >= 300;
        },
        10s);
    if (!isSettled) {
        std::fprintf(stderr, "window not settled: exposed %d, at %d,%d, moved %d times\n",
                     int(isExposed), last.x(), last.y(), moves);
        return std::nullopt;
    }
    return last;
}

} // namespace x11_tools
