// One holdfin per session, with real processes on a private X server: later launches hand over
// to the first and end, over a private session bus or, without a bus, over the local socket.
#include "support/x11/child_process.h"
#include "support/x11/xvfb_session.h"
#include "x11_tools.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sstream>

#include <QFile>
#include <QTemporaryDir>

#include <signal.h>
#include <stdlib.h>

using namespace std::chrono_literals;
using testing_support::x11::ChildProcess;
using x11_tools::output;
using x11_tools::trimmed;

namespace {

enum class Bus { Private, None };

std::string busName(const testing::TestParamInfo<Bus>& info) {
    return info.param == Bus::Private ? "privateBus" : "noBus";
}

class SingleInstanceProcessTest : public testing::TestWithParam<Bus> {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_config.isValid() && m_cache.isValid());
        if (auto error = m_session.start())
            GTEST_SKIP() << *error;
        setenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit().constData(), 1);
        setenv("XDG_CACHE_HOME", m_cache.path().toLocal8Bit().constData(), 1);
        // The session points D-Bus nowhere; a test with a bus brings its own.
        if (GetParam() == Bus::Private) {
            ChildProcess::Options options;
            m_bus = ChildProcess::start("dbus-daemon",
                                        {"--session", "--nofork", "--print-address=1"}, options);
            auto address = m_bus ? m_bus->readLine(5s) : std::nullopt;
            if (!address)
                GTEST_SKIP() << "no dbus-daemon";
            setenv("DBUS_SESSION_BUS_ADDRESS", address->c_str(), 1);
        }
    }

    // Starts holdfin; with `waitForStartUp`, returns once its start-up is over (the first
    // launch has written the preferences).
    std::unique_ptr<ChildProcess> startHoldfin(const std::vector<std::string>& args = {},
                                               bool waitForStartUp = true) {
        auto holdfin = ChildProcess::start(HOLDFIN_EXECUTABLE, args);
        if (!holdfin || !waitForStartUp)
            return holdfin;
        x11_tools::waitFor([&] { return QFile::exists(settingsPath()); }, 10s);
        return holdfin;
    }

    QString settingsPath() const { return m_config.filePath("holdfin/holdfin.conf"); }

    // Holdfin's windows on screen whose name is exactly `name` (any name when empty): the
    // hidden panel stays mapped, outside every screen.
    static std::string visibleWindows(const ChildProcess& holdfin, const std::string& name = {}) {
        std::vector<std::string> args = {"search", "--all", "--onlyvisible", "--pid",
                                         std::to_string(holdfin.pid())};
        if (!name.empty()) {
            args.push_back("--name");
            args.push_back("^" + name + "$");
        }
        std::string onScreen;
        std::istringstream ids(output("xdotool", args));
        for (std::string id; std::getline(ids, id);) {
            if (!trimmed(id).empty() && x11_tools::isOnScreen(trimmed(id)))
                onScreen += trimmed(id) + "\n";
        }
        return onScreen;
    }

    static std::vector<std::string> lines(ChildProcess& process) {
        std::vector<std::string> all;
        while (auto line = process.readLine(2s))
            all.push_back(*line);
        return all;
    }

    QTemporaryDir m_config;
    QTemporaryDir m_cache;
    testing_support::x11::XvfbSession m_session;
    std::unique_ptr<ChildProcess> m_bus;
};

TEST_P(SingleInstanceProcessTest, aSecondLaunchShowsTheFirstsShelfAndEnds) {
    auto first = startHoldfin();
    ASSERT_TRUE(first && first->isRunning());
    ASSERT_TRUE(x11_tools::waitFor([&] { return visibleWindows(*first).empty(); }))
        << "nothing shows before a drag";

    auto second = startHoldfin({}, /*waitForStartUp*/ false);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->wait(20s), 0);
    EXPECT_EQ(lines(*second),
              std::vector<std::string>{"Holdfin is already running; showing its shelf."});
    EXPECT_TRUE(first->isRunning());
    EXPECT_TRUE(x11_tools::waitFor([&] { return !visibleWindows(*first).empty(); }))
        << "the first holdfin shows its shelf";
}

TEST_P(SingleInstanceProcessTest, aLaunchWithPreferencesOpensTheFirstsPreferences) {
    auto first = startHoldfin();
    ASSERT_TRUE(first && first->isRunning());

    auto second = startHoldfin({"--preferences"}, /*waitForStartUp*/ false);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->wait(20s), 0);
    EXPECT_EQ(lines(*second),
              std::vector<std::string>{"Holdfin is already running; showing its preferences."});
    EXPECT_TRUE(x11_tools::waitFor([&] { return !visibleWindows(*first, "Holdfin").empty(); }))
        << "the first holdfin opens its preferences window";
    EXPECT_TRUE(first->isRunning());
}

TEST_P(SingleInstanceProcessTest, aFirstLaunchWithPreferencesOpensThem) {
    auto holdfin = startHoldfin({"--preferences"});
    ASSERT_TRUE(holdfin);
    EXPECT_TRUE(x11_tools::waitFor([&] { return !visibleWindows(*holdfin, "Holdfin").empty(); }));
    EXPECT_TRUE(holdfin->isRunning());
}

TEST_P(SingleInstanceProcessTest, twoLaunchesAtOnceLeaveOneRunning) {
    auto one = startHoldfin({}, /*waitForStartUp*/ false);
    auto other = startHoldfin({}, /*waitForStartUp*/ false);
    ASSERT_TRUE(one && other);
    ASSERT_TRUE(x11_tools::waitFor([&] { return !one->isRunning() || !other->isRunning(); }));
    ChildProcess& ended = one->isRunning() ? *other : *one;
    ChildProcess& running = one->isRunning() ? *one : *other;
    EXPECT_EQ(ended.wait(1s), 0);
    EXPECT_EQ(lines(ended),
              std::vector<std::string>{"Holdfin is already running; showing its shelf."});
    EXPECT_FALSE(running.wait(2s).has_value()) << "the other one stays";
}

TEST_P(SingleInstanceProcessTest, aKilledFirstLeavesTheSessionToTheNext) {
    auto first = startHoldfin();
    ASSERT_TRUE(first && first->isRunning());
    ::kill(first->pid(), SIGKILL);
    first->wait(10s);

    auto next = startHoldfin({}, /*waitForStartUp*/ false);
    ASSERT_TRUE(next);
    EXPECT_FALSE(next->wait(3s).has_value()) << "the next launch is the session's holdfin";
    EXPECT_EQ(next->readLine(100ms), std::nullopt);

    auto third = startHoldfin({}, /*waitForStartUp*/ false);
    EXPECT_EQ(third->wait(20s), 0) << "and later ones hand over to it";
}

INSTANTIATE_TEST_SUITE_P(Buses, SingleInstanceProcessTest, testing::Values(Bus::Private, Bus::None),
                         busName);

} // namespace

int main(int argc, char* argv[]) {
    testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
