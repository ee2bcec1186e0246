// Idle cost of holdfin: CPU ticks and context switches of the running program (all its
// threads) while the pointer moves without a button, then while 1,000 keys are typed with no
// drag on and with the shelf shown on request, on a private X server.
//
//   holdfin_bench_idle_cost [seconds]     (default 30)
#include "support/x11/child_process.h"
#include "support/x11/xvfb_session.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>

using namespace std::chrono;
using namespace testing_support::x11;

namespace {

struct Cost {
    long ticks = 0;
    long switches = 0;
    std::map<std::string, long> switchesByThread; // by thread name
};

Cost costOf(pid_t pid) {
    Cost cost;
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), {});
    // Fields after the command name (which may hold spaces): utime and stime are 14 and 15.
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    for (int i = 3; i <= 15 && fields >> field; ++i)
        if (i >= 14)
            cost.ticks += std::stol(field);
    const std::filesystem::path tasks = "/proc/" + std::to_string(pid) + "/task";
    std::error_code error;
    for (const auto& task : std::filesystem::directory_iterator(tasks, error)) {
        std::ifstream status(task.path() / "status");
        std::string line, name;
        while (std::getline(status, line)) {
            if (line.rfind("Name:", 0) == 0)
                name = line.substr(line.find_first_not_of(" \t", 5)) + " (" +
                       task.path().filename().string() + ")";
            if (line.find("ctxt_switches:") != std::string::npos) {
                const long n = std::stol(line.substr(line.find(':') + 1));
                cost.switches += n;
                cost.switchesByThread[name] += n;
            }
        }
    }
    return cost;
}

void printThreads(const Cost& before, const Cost& after) {
    for (const auto& [name, n] : after.switchesByThread) {
        const auto was = before.switchesByThread.find(name);
        const long delta = n - (was == before.switchesByThread.end() ? 0 : was->second);
        if (delta)
            std::printf("    thread %s: %ld context switches\n", name.c_str(), delta);
    }
}

} // namespace

int main(int argc, char* argv[]) {
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;
    XvfbSession session;
    if (auto error = session.start()) {
        std::fprintf(stderr, "idle cost: %s\n", error->c_str());
        return 1;
    }
    ChildProcess::Options quiet;
    quiet.captureStdout = false;
    auto holdfin = ChildProcess::start(HOLDFIN_EXECUTABLE, {}, quiet);
    if (!holdfin) {
        std::fprintf(stderr, "idle cost: cannot start holdfin\n");
        return 1;
    }
    std::this_thread::sleep_for(2s); // past start-up
    ChildProcess::run("xdotool", {"mousemove", "200", "200"});
    // The same time without any input first: what the program costs on its own.
    const Cost quietStart = costOf(holdfin->pid());
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    const Cost before = costOf(holdfin->pid());

    // About 100 moves a second, back and forth, no button down.
    std::vector<std::string> steps;
    const int moves = seconds * 100;
    for (int i = 0; i < moves; ++i) {
        const std::string dx = (i / 50) % 2 ? "-4" : "4";
        steps.insert(steps.end(), {"mousemove_relative", "--", dx, "2", "sleep", "0.01"});
        steps.insert(steps.end(), {"mousemove_relative", "--", "0", "-2"});
    }
    const auto start = steady_clock::now();
    ChildProcess::run("xdotool", steps, std::chrono::seconds(seconds * 3));
    const double elapsed = duration<double>(steady_clock::now() - start).count();
    const Cost after = costOf(holdfin->pid());

    std::printf("idle cost: %.1f s of pointer motion without a button (%d moves)\n", elapsed,
                moves * 2);
    std::printf("  holdfin while the pointer moves: %ld CPU ticks (%ld a second), %ld context "
                "switches\n",
                after.ticks - before.ticks, sysconf(_SC_CLK_TCK), after.switches - before.switches);
    printThreads(before, after);
    std::printf("  holdfin without any input, same time: %ld CPU ticks, %ld context switches\n",
                before.ticks - quietStart.ticks, before.switches - quietStart.switches);

    // Typing with no drag on: none of these keys means anything to holdfin. Then the same with
    // the shelf shown on request (a second launch), when Escape would hide it: keys are watched
    // then, as they once were for the whole run. Context switches are holdfin's wake-ups.
    constexpr int kKeys = 1000;
    std::vector<std::string> typing = {"key", "--delay", "8"};
    for (int i = 0; i < kKeys; ++i)
        typing.push_back(std::string(1, char('a' + i % 26)));
    for (const bool isShelfRequested : {false, true}) {
        if (isShelfRequested) {
            ChildProcess::run(HOLDFIN_EXECUTABLE, {}, std::chrono::seconds(10));
            std::this_thread::sleep_for(1s);
        }
        // The server tells every client of the keyboard that xdotool's keys come from once
        // that changes: let that happen before counting.
        ChildProcess::run("xdotool", {"key", "a"});
        std::this_thread::sleep_for(500ms);
        const Cost beforeTyping = costOf(holdfin->pid());
        const auto typingStart = steady_clock::now();
        ChildProcess::run("xdotool", typing, std::chrono::seconds(60));
        const double typing = duration<double>(steady_clock::now() - typingStart).count();
        const Cost afterTyping = costOf(holdfin->pid());
        std::printf("typing: %d keys in %.1f s, %s\n", kKeys, typing,
                    isShelfRequested ? "the shelf shown on request" : "no drag on");
        std::printf("  holdfin wake-ups per 1,000 typed keys: %ld (%ld CPU ticks)\n",
                    afterTyping.switches - beforeTyping.switches,
                    afterTyping.ticks - beforeTyping.ticks);
        printThreads(beforeTyping, afterTyping);
    }
    return holdfin->isRunning() ? 0 : 1;
}
