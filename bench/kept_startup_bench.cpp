// Start-up of holdfin with a kept shelf against start-up without one, on a private X server:
// the time from starting the program until its GUI thread first answers a _NET_WM_PING (the
// event loop runs, so the shelf is read and the panel's content installed), and the CPU time
// its GUI thread used until then (less disturbed by other load on the machine). Each case is
// started several times, alternating; prints the median and the spread of each and the
// difference of the medians.
//
//   holdfin_bench_kept_startup [entries] [runs]     (default 1000 entries, 9 runs)
#include "sample_shelf.h"
#include "shelf/shelf_file.h"
#include "support/x11/child_process.h"
#include "support/x11/test_programs.h"
#include "support/x11/xvfb_session.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <signal.h>
#include <string>
#include <thread>
#include <vector>

using namespace std::chrono;
using namespace testing_support::x11;
using shelf::BucketItem;

namespace {

QByteArray savedShelf(int count) {
    QList<BucketItem> items = bench::sampleShelf(count);
    for (int i = 0; i < count; i += 7)
        items[i].isLocked = true;
    return shelf::ShelfFile::encode(items);
}

std::string panelOf(pid_t pid, steady_clock::time_point deadline) {
    while (steady_clock::now() < deadline) {
        auto search = ChildProcess::start("xdotool", {"search", "--pid", std::to_string(pid)});
        std::string window;
        if (search) {
            if (auto line = search->readLine(2s))
                window = *line;
            search->wait(2s);
        }
        if (!window.empty())
            return window;
        std::this_thread::sleep_for(2ms);
    }
    return {};
}

// CPU time of the process's main thread so far, in milliseconds.
double mainThreadCpu(pid_t pid) {
    QFile schedstat(QStringLiteral("/proc/%1/schedstat").arg(pid));
    if (!schedstat.open(QIODevice::ReadOnly))
        return 0;
    return schedstat.readAll().split(' ').value(0).toDouble() / 1e6;
}

struct Start {
    double wall; // ms
    double cpu;  // ms
};

// From start until holdfin's GUI thread answers; nothing when it never did.
std::optional<Start> startOnce(const QString& dataHome) {
    setenv("XDG_DATA_HOME", dataHome.toLocal8Bit().constData(), 1);
    ChildProcess::Options quiet;
    quiet.captureStdout = false;
    const auto start = steady_clock::now();
    auto holdfin = ChildProcess::start(HOLDFIN_EXECUTABLE, {}, quiet);
    if (!holdfin)
        return std::nullopt;
    const std::string window = panelOf(holdfin->pid(), start + 20s);
    std::optional<Start> elapsed;
    if (!window.empty()) {
        auto pinger = ChildProcess::start(testProgramPath("holdfin_test_gui_pinger"),
                                          {window, "--interval", "1"});
        if (pinger && pinger->waitForLine("ready", 20s))
            elapsed = Start{duration<double, std::milli>(steady_clock::now() - start).count(),
                            mainThreadCpu(holdfin->pid())};
    }
    ::kill(holdfin->pid(), SIGTERM);
    holdfin->wait(15s);
    return elapsed;
}

struct Figures {
    double median, low, high;
};

Figures figuresOf(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.front(), times.back()};
}

} // namespace

int main(int argc, char** argv) {
    const int entries = argc > 1 ? std::atoi(argv[1]) : 1000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 9;
    XvfbSession session;
    if (auto error = session.start()) {
        std::fprintf(stderr, "kept start-up: %s\n", error->c_str());
        return 1;
    }
    QTemporaryDir home;
    const QString config = home.filePath(QStringLiteral("config"));
    QDir().mkpath(config + QStringLiteral("/holdfin"));
    QFile settings(config + QStringLiteral("/holdfin/holdfin.conf"));
    settings.open(QIODevice::WriteOnly);
    settings.write("[General]\nhasLaunchedBefore=true\nshowMenuBarIcon=false\n");
    settings.close();
    setenv("XDG_CONFIG_HOME", config.toLocal8Bit().constData(), 1);
    setenv("XDG_CACHE_HOME", home.filePath(QStringLiteral("cache")).toLocal8Bit().constData(), 1);
    const QString none = home.filePath(QStringLiteral("none"));
    const QString kept = home.filePath(QStringLiteral("kept"));
    const QString shelfFile = kept + QStringLiteral("/holdfin/shelf.json");
    const QByteArray bytes = savedShelf(entries);

    std::vector<double> withNone, withKept, cpuNone, cpuKept;
    startOnce(none); // warms the file caches
    for (int run = 0; run < runs; ++run) {
        if (auto time = startOnce(none)) {
            withNone.push_back(time->wall);
            cpuNone.push_back(time->cpu);
        }
        // Written anew each time: quitting saves the shelf back, and must not shrink it.
        QDir().mkpath(kept + QStringLiteral("/holdfin"));
        QFile file(shelfFile);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        file.close();
        if (auto time = startOnce(kept)) {
            withKept.push_back(time->wall);
            cpuKept.push_back(time->cpu);
        }
    }
    if (withNone.empty() || withKept.empty()) {
        std::fprintf(stderr, "kept start-up: holdfin did not start\n");
        return 1;
    }
    const Figures a = figuresOf(withNone), b = figuresOf(withKept);
    std::printf("start-up, no saved shelf:     median %.1f ms (%.1f..%.1f, %zu runs)\n", a.median,
                a.low, a.high, withNone.size());
    std::printf("start-up, %d saved entries: median %.1f ms (%.1f..%.1f, %zu runs)\n", entries,
                b.median, b.low, b.high, withKept.size());
    std::printf("difference of medians: %.1f ms (%.1f KB file)\n", b.median - a.median,
                double(bytes.size()) / 1024.0);
    const Figures c = figuresOf(cpuNone), d = figuresOf(cpuKept);
    std::printf("GUI thread CPU until then: median %.1f ms without, %.1f ms with; difference "
                "%.1f ms\n",
                c.median, d.median, d.median - c.median);
    return 0;
}
