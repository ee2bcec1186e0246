#pragma once

#include "support/x11/child_process.h"

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace x11_tools {

// Everything `program` prints before it ends (xprop, xdotool and friends).
inline std::string output(const std::string& program, const std::vector<std::string>& args) {
    using namespace std::chrono_literals;
    auto child = testing_support::x11::ChildProcess::start(program, args);
    if (!child)
        return {};
    std::string text;
    while (auto line = child->readLine(5s))
        text += *line + '\n';
    child->wait(5s);
    return text;
}

// Where a window is, as xwininfo tells it: mapped and viewable, and its place on the root.
struct WindowPlace {
    bool isViewable = false;
    int x = 0, y = 0, width = 0, height = 0; // absolute upper left corner and size
};

// `window` is an id as xdotool prints it, or "root".
inline WindowPlace windowPlace(const std::string& window) {
    WindowPlace place;
    const std::string info =
        output("xwininfo", window == "root" ? std::vector<std::string>{"-root"}
                                            : std::vector<std::string>{"-id", window});
    place.isViewable = info.find("Map State: IsViewable") != std::string::npos;
    const auto field = [&info](const std::string& name) {
        const std::size_t at = info.find(name + ":");
        return at == std::string::npos ? 0 : std::atoi(info.c_str() + at + name.size() + 1);
    };
    place.x = field("Absolute upper-left X");
    place.y = field("Absolute upper-left Y");
    place.width = field("Width");
    place.height = field("Height");
    return place;
}

// Whether `window` (an id as xdotool prints it) can be seen: mapped and at least partly on
// the root window. Holdfin's panel stays mapped and waits outside the screen while hidden.
inline bool isOnScreen(const std::string& window) {
    const WindowPlace place = windowPlace(window);
    if (!place.isViewable)
        return false;
    const WindowPlace root = windowPlace("root");
    return place.x < root.width && place.y < root.height && place.x + place.width > 0 &&
           place.y + place.height > 0;
}

// Whether `window` is mapped but lies wholly outside the root window.
inline bool isMappedOffScreen(const std::string& window) {
    const WindowPlace place = windowPlace(window);
    return place.isViewable && !isOnScreen(window);
}

inline std::string trimmed(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    return text;
}

// Pumps events until `condition` holds; false when `timeout` passes first. Generous by
// default: on a loaded machine the window manager may take seconds to come to a window.
inline bool waitFor(const std::function<bool()>& condition,
                    std::chrono::milliseconds timeout = std::chrono::seconds(20)) {
    using namespace std::chrono_literals;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        testing_support::x11::pumpEvents(20ms);
    }
    return true;
}

} // namespace x11_tools
