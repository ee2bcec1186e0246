// The holdfin program itself on a private X server: what it does when the server lacks what
// drag detection needs, and when the server goes away under it.
#include "support/x11/child_process.h"
#include "support/x11/xvfb_session.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <thread>

using namespace std::chrono_literals;
using namespace testing_support::x11;

namespace {

// Standard output and error of holdfin, merged.
std::unique_ptr<ChildProcess> startHoldfin() {
    ChildProcess::Options options;
    options.mergeStderr = true;
    return ChildProcess::start(HOLDFIN_EXECUTABLE, {}, options);
}

std::vector<std::string> remainingLines(ChildProcess& process) {
    std::vector<std::string> lines;
    while (auto line = process.readLine(2s))
        lines.push_back(*line);
    return lines;
}

// Holdfin up and watching on a server of its own.
class RunningHoldfinTest : public testing::Test {
protected:
    void SetUp() override {
        if (auto error = session.start())
            GTEST_SKIP() << *error;
        holdfin = startHoldfin();
        ASSERT_TRUE(holdfin);
        std::this_thread::sleep_for(1500ms);
        ASSERT_TRUE(holdfin->isRunning());
    }

    XvfbSession session;
    std::unique_ptr<ChildProcess> holdfin;
};

TEST_F(RunningHoldfinTest, exitsWithOneLineWhenTheServerGoesAway) {
    session.killServer();
    EXPECT_EQ(holdfin->wait(10s), 1);
    EXPECT_EQ(remainingLines(*holdfin),
              std::vector<std::string>{"holdfin.x11: lost the connection to the X server"});
}

// Ending the session sends SIGTERM: holdfin quits through its event loop, as with Quit.
TEST_F(RunningHoldfinTest, exitsNormallyOnTerminationSignal) {
    ::kill(holdfin->pid(), SIGTERM);
    EXPECT_EQ(holdfin->wait(15s), 0);
    EXPECT_EQ(remainingLines(*holdfin), std::vector<std::string>{});
}

// A kept shelf that cannot be read: one line, the file kept aside, an empty shelf, no hang.
struct Damage {
    const char* name;
    std::string bytes; // empty: 100 MB of zero bytes
};
// Only the name: CMake's test discovery reads a '[' in a listed parameter as a list bracket.
void PrintTo(const Damage& damage, std::ostream* os) {
    *os << damage.name;
}

class DamagedShelfTest : public testing::TestWithParam<Damage> {};

TEST_P(DamagedShelfTest, startsEmptyWithOneLineAndKeepsTheFileAside) {
    XvfbSession session;
    if (auto error = session.start())
        GTEST_SKIP() << *error;
    const std::filesystem::path folder =
        std::filesystem::path(std::getenv("XDG_DATA_HOME")) / "holdfin";
    std::filesystem::create_directories(folder);
    const std::filesystem::path file = folder / "shelf.json";
    {
        std::ofstream out(file, std::ios::binary);
        out << GetParam().bytes;
    }
    if (GetParam().bytes.empty())
        std::filesystem::resize_file(file, 100 * 1024 * 1024); // 100 MB of zero bytes
    auto holdfin = startHoldfin();
    ASSERT_TRUE(holdfin);
    const auto line = holdfin->readLine(10s);
    ASSERT_TRUE(line);
    EXPECT_EQ(line->rfind("holdfin.shelf: the saved shelf could not be read (", 0), 0u) << *line;
    EXPECT_FALSE(holdfin->wait(1s).has_value()) << "still running";
    EXPECT_TRUE(std::filesystem::exists(folder / "shelf.json.broken"));
    ::kill(holdfin->pid(), SIGTERM);
    EXPECT_EQ(holdfin->wait(15s), 0);
    EXPECT_EQ(remainingLines(*holdfin), std::vector<std::string>{});
    EXPECT_FALSE(std::filesystem::exists(file)) << "an empty shelf is not written";
}

INSTANTIATE_TEST_SUITE_P(
    Damage, DamagedShelfTest,
    testing::Values(Damage{"truncated", R"({"format":1,"entries":[{"id":"6f1)"},
                    Damage{"notJson", "\x89PNG\r\n\x1a\n"},
                    Damage{"wrongTypes",
                           R"({"format":1,"entries":[{"id":7,"locked":"yes","items":{}}]})"},
                    Damage{"hundredMegabytes", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HoldfinProcessTest, keepsRunningWithOneLineWithoutXFixes) {
    XvfbSession session;
    XvfbSession::ServerOptions options;
    options.extraArgs = {"-extension", "XFIXES"};
    options.withWindowManager = false;
    if (auto error = session.start(options))
        GTEST_SKIP() << *error;
    auto holdfin = startHoldfin();
    ASSERT_TRUE(holdfin);
    EXPECT_EQ(holdfin->readLine(5s), "holdfin.x11: cannot watch drags: the X server lacks XFixes");
    EXPECT_FALSE(holdfin->wait(1s).has_value()); // still running
    EXPECT_EQ(holdfin->readLine(100ms), std::nullopt);
}

TEST(HoldfinProcessTest, exitsWithOneLineWithoutDisplay) {
    const char* saved = std::getenv("DISPLAY");
    const std::string display = saved ? saved : "";
    unsetenv("DISPLAY");
    auto holdfin = startHoldfin();
    if (saved)
        setenv("DISPLAY", display.c_str(), 1);
    ASSERT_TRUE(holdfin);
    EXPECT_EQ(holdfin->wait(10s), 1);
    const auto lines = remainingLines(*holdfin);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines.front().find("DISPLAY"), std::string::npos);
}

} // namespace
