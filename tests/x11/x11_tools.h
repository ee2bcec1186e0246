#pragma once

#include "support/x11/child_process.h"

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

} // namespace x11_tools
