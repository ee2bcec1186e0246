#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace testing_support::x11 {

// Drives the pointer and keyboard of the current DISPLAY through xdotool (XTest), as a user
// would: presses, releases and relative moves produce real (raw) input events. Each call
// waits for xdotool while pumping the Qt event loop of the calling thread.
class PointerDriver final {
public:
    struct DragSteps {
        int stepCount = 12; // relative moves after the press
        int dx = 8;         // pixels per step
        int dy = 4;
        std::chrono::milliseconds pause{15}; // between steps
    };

    // Warps the pointer (a warp produces no raw motion).
    bool moveTo(int x, int y);
    bool press(int button = 1);
    bool release(int button = 1);
    // `steps` relative moves of (dx, dy) with `pause` between them, in one xdotool run.
    bool moveBy(int dx, int dy, int steps = 1,
                std::chrono::milliseconds pause = std::chrono::milliseconds(15));
    // Press at (x, y) and step well past the drag threshold, button still down.
    bool beginDrag(int x, int y, const DragSteps& steps);
    bool beginDrag(int x, int y) { return beginDrag(x, y, DragSteps{}); }
    // A few more stepped moves (so that a drag target sees position updates), then release.
    bool endDrag(int button = 1);
    // Key press and release, by X keysym name ("Escape", "a").
    bool key(const std::string& keysymName);
    // Any xdotool command line; true when it exited with status 0.
    bool run(const std::vector<std::string>& args);
};

} // namespace testing_support::x11
