#pragma once

#include "support/x11/child_process.h"

#include <chrono>
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
