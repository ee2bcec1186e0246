// The shelf from the terminal, timed from outside on a private X server and session bus:
// `holdfin add` with 10,000 paths from start to its answer (the entry is on the shelf and the
// shelf asked to show), and the round trip of `holdfin list` and of the bus's List with 1,000
// entries on the shelf. Meanwhile the GUI pinger measures the longest time holdfin's GUI thread
// was busy (a frame is 16.7 ms). The shelf is not kept: writing a shelf of 70,000 files after
// each add is the shelf store's cost, measured by its own benchmark.
//
//   holdfin_bench_command_line [paths] [entries] [runs]     (default 10000, 1000, 7)
#include "support/x11/child_process.h"
#include "support/x11/test_programs.h"
#include "support/x11/xvfb_session.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <signal.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

using namespace std::chrono;
using namespace testing_support::x11;

namespace {

struct Figures {
    double median, low, high;
};

Figures figuresOf(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return {values[values.size() / 2], values.front(), values.back()};
}

double millisecondsOf(const std::function<void()>& work) {
    const auto start = steady_clock::now();
    work();
    return duration<double, std::milli>(steady_clock::now() - start).count();
}

// The longest GUI-thread wait the pinger saw since its last report.
double longestWait(ChildProcess& pinger) {
    ::kill(pinger.pid(), SIGUSR1);
    const auto line = pinger.waitForLine("report ", 5s);
    return line ? std::atof(line->c_str() + 7) : -1;
}

void print(const char* what, const Figures& time, const Figures& busy) {
    std::printf("%-34s median %8.1f ms (%.1f..%.1f); GUI thread busy at most %.1f ms (median "
                "%.1f)\n",
                what, time.median, time.low, time.high, busy.high, busy.median);
}

} // namespace

int main(int argc, char** argv) {
    const int paths = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int entries = argc > 2 ? std::atoi(argv[2]) : 1000;
    const int runs = argc > 3 ? std::atoi(argv[3]) : 7;
    XvfbSession session;
    if (auto error = session.start()) {
        std::fprintf(stderr, "command line: %s\n", error->c_str());
        return 1;
    }
    QTemporaryDir home;
    QDir().mkpath(home.filePath(QStringLiteral("config/holdfin")));
    QFile settings(home.filePath(QStringLiteral("config/holdfin/holdfin.conf")));
    settings.open(QIODevice::WriteOnly);
    settings.write("[General]\nhasLaunchedBefore=true\nshowMenuBarIcon=false\nkeepShelf=false\n");
    settings.close();
    setenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toLocal8Bit().constData(), 1);
    setenv("XDG_CACHE_HOME", home.filePath(QStringLiteral("cache")).toLocal8Bit().constData(), 1);
    auto daemon =
        ChildProcess::start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
    const auto address = daemon ? daemon->readLine(5s) : std::nullopt;
    if (!address) {
        std::fprintf(stderr, "command line: no dbus-daemon\n");
        return 1;
    }
    setenv("DBUS_SESSION_BUS_ADDRESS", address->c_str(), 1);
    QCoreApplication app(argc, argv);
    QDBusConnection bus = QDBusConnection::sessionBus();

    std::vector<std::string> files;
    for (int i = 0; i < paths; ++i) {
        files.push_back(home.filePath(QStringLiteral("files/file %1.txt").arg(i)).toStdString());
        if (i == 0)
            QDir().mkpath(home.filePath(QStringLiteral("files")));
        QFile(QString::fromStdString(files.back())).open(QIODevice::WriteOnly);
    }

    ChildProcess::Options quiet;
    quiet.captureStdout = false;
    auto holdfin = ChildProcess::start(HOLDFIN_EXECUTABLE, {}, quiet);
    std::string window;
    for (auto deadline = steady_clock::now() + 20s;
         window.empty() && steady_clock::now() < deadline; std::this_thread::sleep_for(20ms)) {
        auto search =
            ChildProcess::start("xdotool", {"search", "--pid", std::to_string(holdfin->pid())});
        if (auto line = search ? search->readLine(2s) : std::nullopt)
            window = *line;
    }
    auto pinger = ChildProcess::start(testProgramPath("holdfin_test_gui_pinger"), {window});
    if (window.empty() || !pinger || !pinger->waitForLine("ready", 20s)) {
        std::fprintf(stderr, "command line: holdfin did not come up\n");
        return 1;
    }

    std::vector<std::string> add = {"add"};
    add.insert(add.end(), files.begin(), files.end());
    std::vector<double> addTimes, addBusy;
    for (int run = 0; run < runs; ++run) {
        longestWait(*pinger);
        addTimes.push_back(
            millisecondsOf([&] { ChildProcess::run(HOLDFIN_EXECUTABLE, add, 120s); }));
        addBusy.push_back(longestWait(*pinger));
    }
    print(("holdfin add, " + std::to_string(paths) + " paths:").c_str(), figuresOf(addTimes),
          figuresOf(addBusy));

    ChildProcess::run(HOLDFIN_EXECUTABLE, {"clear"});
    std::this_thread::sleep_for(200ms);
    std::vector<std::string> split = {"add", "--split"};
    split.insert(split.end(), files.begin(), files.begin() + std::min(entries, paths));
    ChildProcess::run(HOLDFIN_EXECUTABLE, split, 120s);

    std::vector<double> listTimes, listBusy, busTimes, busBusy;
    const QDBusMessage list = QDBusMessage::createMethodCall(
        QStringLiteral("org.holdfin.Holdfin"), QStringLiteral("/org/holdfin/Holdfin"),
        QStringLiteral("org.holdfin.Shelf1"), QStringLiteral("List"));
    ChildProcess::Options toNowhere = quiet;
    for (int run = 0; run < runs; ++run) {
        longestWait(*pinger);
        listTimes.push_back(millisecondsOf([&] {
            auto lister = ChildProcess::start(HOLDFIN_EXECUTABLE, {"list"}, toNowhere);
            lister->wait(60s);
        }));
        listBusy.push_back(longestWait(*pinger));
        busTimes.push_back(millisecondsOf([&] { bus.call(list); }));
        busBusy.push_back(longestWait(*pinger));
    }
    const std::string count = std::to_string(std::min(entries, paths));
    print(("holdfin list, " + count + " entries:").c_str(), figuresOf(listTimes),
          figuresOf(listBusy));
    print(("List on the bus, " + count + " entries:").c_str(), figuresOf(busTimes),
          figuresOf(busBusy));
    ::kill(holdfin->pid(), SIGTERM);
    holdfin->wait(15s);
    return 0;
}
