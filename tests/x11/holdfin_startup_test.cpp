// Holdfin started for real on a private X server with a window manager.
#include "support/x11/child_process.h"
#include "support/x11/xvfb_session.h"
#include "x11_tools.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

using namespace std::chrono_literals;
using testing::HasSubstr;
using testing_support::x11::ChildProcess;
using x11_tools::output;
using x11_tools::trimmed;

namespace {

class HoldfinStartupTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_config.isValid());
        if (auto error = m_session.start())
            GTEST_SKIP() << *error;
        setenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit().constData(), 1);
    }

    QString settingsPath() const { return m_config.filePath("holdfin/holdfin.conf"); }

    QTemporaryDir m_config;
    testing_support::x11::XvfbSession m_session;
};

TEST_F(HoldfinStartupTest, ShowsNoWindowAndKeepsRunning) {
    auto holdfin = ChildProcess::start(HOLDFIN_BINARY, {});
    ASSERT_TRUE(holdfin);
    // Start-up is over once the first launch has written the preferences.
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (!QFile::exists(settingsPath()) && std::chrono::steady_clock::now() < deadline)
        testing_support::x11::pumpEvents(50ms);
    ASSERT_TRUE(QFile::exists(settingsPath()));
    testing_support::x11::pumpEvents(1s);

    const std::string pid = std::to_string(holdfin->pid());
    EXPECT_EQ(trimmed(output("xdotool", {"search", "--onlyvisible", "--pid", pid})), "")
        << "nothing to show: no drag, no entry, no pointer";
    const std::string panel = trimmed(output("xdotool", {"search", "--pid", pid}));
    ASSERT_FALSE(panel.empty()) << "the panel is built, just hidden";
    EXPECT_THAT(output("xwininfo", {"-id", panel}), HasSubstr("Width: 160"));
    EXPECT_TRUE(holdfin->isRunning());

    QFile settings(settingsPath());
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    const std::string text = settings.readAll().toStdString();
    EXPECT_THAT(text, HasSubstr("hasLaunchedBefore=true"));
    EXPECT_THAT(text, HasSubstr("selectedAppearance=System"));
}

} // namespace

int main(int argc, char* argv[]) {
    testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
