#pragma once

#include "support/x11/child_process.h"
#include "support/x11/test_programs.h"

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

// Waits until the window manager really manages new windows. It announces itself before its
// start-up is over, and a window mapped in between may never be mapped at all; so a probe window
// is shown (and shown again) until it is on screen. False when that never happens in `timeout`.
inline bool
waitUntilWindowsAreManaged(std::chrono::milliseconds timeout = std::chrono::seconds(30)) {
    using namespace std::chrono_literals;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        auto probe = testing_support::x11::ChildProcess::start(
            testing_support::x11::testProgramPath("holdfin_test_drop_target"), {"--at", "0,0"});
        if (!probe || !probe->waitForLine("ready ", 10s))
            return false;
        for (int i = 0; i < 40; ++i) {
            const std::string id = trimmed(output(
                "xdotool", {"search", "--onlyvisible", "--pid", std::to_string(probe->pid())}));
            if (!id.empty())
                return true;
            testing_support::x11::pumpEvents(50ms);
        }
    }
    return false;
}

} // namespace x11_tools
