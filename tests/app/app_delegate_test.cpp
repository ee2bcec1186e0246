#include "app/app_delegate.h"
#include "desktop/settings.h"
#include "panel/non_activating_panel.h"
#include "support/fake_platform.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

namespace {

using app::AppDelegate;

// The services of one start-up, with the preferences in a private settings file.
class AppDelegateTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QString settingsPath() const { return m_dir.filePath(QStringLiteral("holdfin.conf")); }

    void writeSettings(const QByteArray& contents) {
        QFile file(settingsPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }

    // Opens the preferences and builds the delegate; every preference write and call on the
    // application is recorded in `events` from then on.
    void build() {
        settings = std::make_unique<desktop::Settings>(settingsPath());
        QObject::connect(settings.get(), &desktop::Settings::valueChanged,
                         [this](const QString& key) { events << QStringLiteral("write ") + key; });
        application.onCall = [this](const QString& call) {
            events << call;
            if (AppDelegate::shared() != delegate.get())
                events << QStringLiteral("(shared not set)");
        };
        delegate = std::make_unique<AppDelegate>(
            application, *settings, mainQueue, fakes.dragSelection, eventMonitor, screens, nullptr);
        delegate->setContentFactory([this](AppDelegate& owner) {
            events << QStringLiteral("content");
            Q_UNUSED(owner);
            return new QWidget;
        });
    }

    void startUp() {
        build();
        delegate->applicationDidFinishLaunching();
    }

    testing_support::FakePlatform fakes;
    testing_support::FakeMainQueue& mainQueue = fakes.queue;
    testing_support::FakeApplication& application = fakes.application;
    testing_support::FakeScreens& screens = fakes.screens;
    testing_support::FakeGlobalEventMonitor& eventMonitor = fakes.events;
    std::unique_ptr<desktop::Settings> settings;
    std::unique_ptr<AppDelegate> delegate;
    QStringList events;

private:
    QTemporaryDir m_dir;
};

TEST_F(AppDelegateTest, FirstLaunchRunsEveryStepInOrder) {
    startUp();

    EXPECT_EQ(events, (QStringList{"taskbar hidden", "write hasLaunchedBefore",
                                   "write showMenuBarIcon", "write launchAtLogin",
                                   "write selectedAppearance", "appearance System", "content"}));
    desktop::Settings reread(settingsPath());
    EXPECT_EQ(reread.value("hasLaunchedBefore").toString(), "true");
    EXPECT_EQ(reread.value("showMenuBarIcon").toString(), "true");
    EXPECT_EQ(reread.value("launchAtLogin").toString(), "false");
    EXPECT_EQ(reread.value("selectedAppearance").toString(), "System");
}

struct LaterLaunch {
    const char* name;
    QByteArray settings;
    QString appearance; // the call applyAppearance makes
};

class AppDelegateLaterLaunch : public AppDelegateTest,
                               public testing::WithParamInterface<LaterLaunch> {};

INSTANTIATE_TEST_SUITE_P(
    Settings, AppDelegateLaterLaunch,
    testing::Values(LaterLaunch{"darkChosen",
                                "[General]\nhasLaunchedBefore=true\nselectedAppearance=Dark\n",
                                "appearance Dark"},
                    LaterLaunch{"lightChosen",
                                "[General]\nhasLaunchedBefore=true\nselectedAppearance=Light\n",
                                "appearance Light"},
                    // Presence alone counts, whatever the stored value.
                    LaterLaunch{"launchedBeforeFalse",
                                "[General]\nhasLaunchedBefore=false\nselectedAppearance=Dark\n",
                                "appearance Dark"},
                    LaterLaunch{"launchedBeforeNotABool", "[General]\nhasLaunchedBefore=maybe\n",
                                "appearance System"},
                    // Case matters: anything but the two exact names follows the desktop.
                    LaterLaunch{"lowerCaseLight",
                                "[General]\nhasLaunchedBefore=true\nselectedAppearance=light\n",
                                "appearance System"},
                    LaterLaunch{"appearanceDeleted", "[General]\nhasLaunchedBefore=true\n",
                                "appearance System"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_P(AppDelegateLaterLaunch, SeedsNothingAndAppliesTheStoredAppearance) {
    writeSettings(GetParam().settings);
    startUp();

    EXPECT_EQ(events, (QStringList{"taskbar hidden", GetParam().appearance, "content"}));
    desktop::Settings reread(settingsPath());
    EXPECT_FALSE(reread.contains("showMenuBarIcon"));
    EXPECT_FALSE(reread.contains("launchAtLogin"));
    EXPECT_EQ(reread.contains("selectedAppearance"),
              GetParam().settings.contains("selectedAppearance"))
        << "a missing key stays missing";
}

TEST_F(AppDelegateTest, CorruptSettingsFileStillStartsWithTheFallbacks) {
    QByteArray garbage("\x00\xff\xfe[[[=\n\x01\x02=====\n[General\nselectedAppearance", 40);
    writeSettings(garbage);
    startUp();

    EXPECT_EQ(events.last(), "content");
    EXPECT_TRUE(events.contains("appearance System"));
    EXPECT_EQ(AppDelegate::shared(), delegate.get());
}

TEST_F(AppDelegateTest, UnreadableSettingsStillStartUp) {
    // A folder where the file should be: nothing can be read or written.
    ASSERT_TRUE(QDir().mkpath(settingsPath()));
    startUp();

    EXPECT_EQ(events.first(), "taskbar hidden");
    EXPECT_EQ(events.last(), "content");
    EXPECT_TRUE(events.contains("appearance System"));
}

TEST_F(AppDelegateTest, SharedIsSetByStartUpAndClearedWithTheDelegate) {
    build();
    EXPECT_EQ(AppDelegate::shared(), nullptr);
    delegate->applicationDidFinishLaunching();
    EXPECT_EQ(AppDelegate::shared(), delegate.get());
    EXPECT_FALSE(events.contains("(shared not set)"));
    delegate.reset();
    EXPECT_EQ(AppDelegate::shared(), nullptr);
}

TEST_F(AppDelegateTest, ConstructionStartsTheDragMonitorBeforeBuildingThePanel) {
    int receiversWhenPlaced = 0;
    screens.onVisibleFrameQueried = [&] { receiversWhenPlaced = eventMonitor.receiverCount(); };
    build();

    EXPECT_EQ(receiversWhenPlaced, 3);
    EXPECT_TRUE(delegate->windowManager().window()->isPresented()) << "built and ordered front";
    EXPECT_EQ(delegate->windowManager().window()->contentView(), nullptr)
        << "content waits for start-up";
}

TEST_F(AppDelegateTest, LastWindowClosedKeepsRunningAsAccessory) {
    startUp();
    events.clear();
    QWidget settingsWindow;
    // Qt reports the last window closing only from inside its event loop.
    QTimer::singleShot(0, [&] {
        settingsWindow.show();
        settingsWindow.close();
        QCoreApplication::exit();
    });
    QApplication::exec();

    EXPECT_EQ(events, (QStringList{"taskbar hidden", "deactivate"}));
    EXPECT_FALSE(delegate->applicationShouldTerminateAfterLastWindowClosed());
    EXPECT_FALSE(application.calls().contains("terminate"));
}

TEST_F(AppDelegateTest, QuitAppTerminates) {
    startUp();
    delegate->quitApp();
    EXPECT_EQ(application.calls().last(), "terminate");
}

TEST_F(AppDelegateTest, LaunchAtLoginGoesToTheHandler) {
    build();
    delegate->updateLaunchAtLogin(true); // no handler yet: nothing happens
    QList<bool> requests;
    delegate->setLaunchAtLoginHandler([&](bool enabled) { requests << enabled; });
    delegate->updateLaunchAtLogin(true);
    delegate->updateLaunchAtLogin(false);
    EXPECT_EQ(requests, (QList<bool>{true, false}));
}

TEST_F(AppDelegateTest, ApplyAppearanceReadsTheCurrentChoice) {
    startUp();
    events.clear();
    settings->setValue("selectedAppearance", "Dark");
    delegate->applyAppearance();
    settings->remove("selectedAppearance");
    delegate->applyAppearance();
    EXPECT_EQ(events, (QStringList{"write selectedAppearance", "appearance Dark",
                                   "write selectedAppearance", "appearance System"}));
}

} // namespace
