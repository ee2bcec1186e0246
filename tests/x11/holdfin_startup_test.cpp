// Holdfin started for real on a private X server with a window manager.
#include "support/x11/child_process.h"
#include "support/x11/xvfb_session.h"
#include "x11_tools.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QDir>
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
        setenv("XDG_CACHE_HOME", m_cache.path().toLocal8Bit().constData(), 1);
    }

    // Starts holdfin and waits until its start-up is over (the first launch has written the
    // preferences).
    std::unique_ptr<ChildProcess> startHoldfin() {
        auto holdfin = ChildProcess::start(HOLDFIN_BINARY, {});
        if (!holdfin)
            return nullptr;
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        while (!QFile::exists(settingsPath()) && std::chrono::steady_clock::now() < deadline)
            testing_support::x11::pumpEvents(50ms);
        return holdfin;
    }

    QString settingsPath() const { return m_config.filePath("holdfin/holdfin.conf"); }

    QTemporaryDir m_config;
    QTemporaryDir m_cache;
    testing_support::x11::XvfbSession m_session;
};

TEST_F(HoldfinStartupTest, ShowsNoWindowAndKeepsRunning) {
    auto holdfin = startHoldfin();
    ASSERT_TRUE(holdfin);
    ASSERT_TRUE(QFile::exists(settingsPath()));
    testing_support::x11::pumpEvents(1s);

    const std::string pid = std::to_string(holdfin->pid());
    const std::string panel = trimmed(output("xdotool", {"search", "--pid", pid}));
    ASSERT_FALSE(panel.empty()) << "the panel is built, just hidden";
    ASSERT_EQ(panel.find('\n'), std::string::npos) << "one window: the panel";
    EXPECT_TRUE(x11_tools::isMappedOffScreen(panel))
        << "nothing to show (no drag, no entry, no pointer): mapped, but off the screen";
    EXPECT_THAT(output("xwininfo", {"-id", panel}), HasSubstr("Width: 160"));
    EXPECT_TRUE(holdfin->isRunning());

    QFile settings(settingsPath());
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    const std::string text = settings.readAll().toStdString();
    EXPECT_THAT(text, HasSubstr("hasLaunchedBefore=true"));
    EXPECT_THAT(text, HasSubstr("selectedAppearance=System"));
}

// The shelf starts empty, so images cached by an earlier run are removed; what merely sits in
// the cache folder is never followed out of it.
TEST_F(HoldfinStartupTest, EmptiesTheImageCacheWithoutFollowingLinks) {
    QTemporaryDir outside;
    ASSERT_TRUE(outside.isValid());
    const QString target = outside.filePath("precious.png");
    const QString targetFolder = outside.filePath("folder");
    ASSERT_TRUE(QDir().mkpath(targetFolder));
    QFile precious(target);
    ASSERT_TRUE(precious.open(QIODevice::WriteOnly));
    precious.write("keep me");
    precious.close();
    QFile inFolder(targetFolder + "/inside.png");
    ASSERT_TRUE(inFolder.open(QIODevice::WriteOnly));
    inFolder.close();

    const QDir cache(m_cache.filePath("holdfin"));
    ASSERT_TRUE(QDir().mkpath(cache.path()));
    QFile stale(cache.filePath("image-AbC123.png"));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write("stale");
    stale.close();
    ASSERT_TRUE(QFile::link(target, cache.filePath("image-link.png")));
    ASSERT_TRUE(QFile::link(targetFolder, cache.filePath("folder-link")));
    ASSERT_TRUE(QFile::link(outside.filePath("missing"), cache.filePath("dangling")));

    auto holdfin = startHoldfin();
    ASSERT_TRUE(holdfin);
    ASSERT_TRUE(QFile::exists(settingsPath()));
    EXPECT_TRUE(holdfin->isRunning());

    EXPECT_EQ(cache.entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot)
                  .join(' ')
                  .toStdString(),
              "")
        << "stale files and links are gone";
    ASSERT_TRUE(precious.open(QIODevice::ReadOnly));
    EXPECT_EQ(precious.readAll(), "keep me") << "a link's target is left alone";
    EXPECT_TRUE(QFile::exists(targetFolder + "/inside.png"))
        << "a link to a folder is not followed";
}

} // namespace

int main(int argc, char* argv[]) {
    testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
