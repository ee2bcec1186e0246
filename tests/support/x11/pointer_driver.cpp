#include "pointer_driver.h"

#include "child_process.h"

namespace testing_support::x11 {

bool PointerDriver::run(const std::vector<std::string>& args) {
    return ChildProcess::run("xdotool", args) == 0;
}

bool PointerDriver::moveTo(int x, int y) {
    return run({"mousemove", std::to_string(x), std::to_string(y)});
}

bool PointerDriver::press(int button) {
    return run({"mousedown", std::to_string(button)});
}

bool PointerDriver::release(int button) {
    return run({"mouseup", std::to_string(button)});
}

bool PointerDriver::moveBy(int dx, int dy, int steps, std::chrono::milliseconds pause) {
    std::vector<std::string> args;
    const std::string seconds = std::to_string(double(pause.count()) / 1000.0);
    for (int i = 0; i < steps; ++i) {
        if (i > 0) {
            args.push_back("sleep");
            args.push_back(seconds);
        }
        // "--" so that negative offsets are not read as options.
        args.insert(args.end(),
                    {"mousemove_relative", "--", std::to_string(dx), std::to_string(dy)});
    }
    return run(args);
}

bool PointerDriver::beginDrag(int x, int y, const DragSteps& steps) {
    return moveTo(x, y) && press(1) && moveBy(steps.dx, steps.dy, steps.stepCount, steps.pause);
}

bool PointerDriver::endDrag(int button) {
    return moveBy(2, 1, 4, std::chrono::milliseconds(20)) && release(button);
}

bool PointerDriver::key(const std::string& keysymName) {
    return run({"key", keysymName});
}

} // namespace testing_support::x11
