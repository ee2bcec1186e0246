#include "app/holdfin_app.h"
#include "app/tray_item.h"

#include "desktop/settings.h"
#include "desktop/settings_keys.h"
#include "preferences/preferences_view.h"
#include "support/fake_application.h"
#include "support/qt_printers.h"
#include "support/wait_until.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest/QTest>

using app::HoldfinApp;

namespace {

class HoldfinAppTest : public testing::Test {
protected:
    std::unique_ptr<HoldfinApp> makeApp(QString version = QStringLiteral("1.2.3")) {
        HoldfinApp::Options options;
        options.version = std::move(version);
        return std::make_unique<HoldfinApp>(settings, application, std::move(options));
    }

    static QStringList menuTexts(const QMenu& menu) {
        QStringList texts;
        for (const QAction* action : menu.actions())
            texts << (action->isSeparator() ? QStringLiteral("---") : action->text());
        return texts;
    }
    static QAction* entry(const QMenu& menu, const QString& text) {
        for (QAction* action : menu.actions())
            if (action->text() == text)
                return action;
        return nullptr;
    }

    QTemporaryDir dir;
    desktop::Settings settings{dir.filePath(QStringLiteral("holdfin.conf"))};
    testing_support::FakeApplication application;
};

} // namespace

TEST_F(HoldfinAppTest, TrayItemIsPresentExactlyWhileTheKeyIsOn) {
    auto holdfin = makeApp();
    app::TrayItem& tray = holdfin->trayItem();
    EXPECT_TRUE(tray.isPresent()) << "an absent key counts as on";
    ASSERT_NE(tray.trayIcon(), nullptr);
    EXPECT_EQ(tray.trayIcon()->toolTip(), QStringLiteral("Holdfin"));

    settings.setValue(desktop::settings_keys::showMenuBarIcon, false);
    EXPECT_FALSE(tray.isPresent());
    EXPECT_EQ(tray.trayIcon(), nullptr);
    EXPECT_NE(tray.menu(), nullptr) << "the menu outlives the icon";

    settings.setValue(desktop::settings_keys::showMenuBarIcon, true);
    EXPECT_TRUE(tray.isPresent());
}

TEST_F(HoldfinAppTest, TrayItemIsAbsentWhenStartedWithTheKeyOff) {
    settings.setValue(desktop::settings_keys::showMenuBarIcon, false);
    auto holdfin = makeApp();
    EXPECT_FALSE(holdfin->trayItem().isPresent());
    settings.remove(desktop::settings_keys::showMenuBarIcon);
    EXPECT_TRUE(holdfin->trayItem().isPresent());
}

TEST_F(HoldfinAppTest, MenuHasVersionPreferencesSeparatorQuit) {
    auto holdfin = makeApp();
    const QMenu& menu = *holdfin->trayItem().menu();
    EXPECT_EQ(menuTexts(menu), (QStringList{"Holdfin v1.2.3", "Preferences\u2026", "---", "Quit"}));
    EXPECT_FALSE(menu.actions().at(0)->isEnabled());
    EXPECT_EQ(entry(menu, "Preferences\u2026")->shortcut(), QKeySequence(QStringLiteral("Ctrl+,")));
    EXPECT_EQ(entry(menu, "Quit")->shortcut(), QKeySequence(QStringLiteral("Ctrl+Q")));
}

TEST_F(HoldfinAppTest, VersionLineShowsAQuestionMarkWithoutAVersion) {
    auto holdfin = makeApp(QString());
    EXPECT_EQ(holdfin->trayItem().menu()->actions().at(0)->text(), QStringLiteral("Holdfin v?"));
}

TEST_F(HoldfinAppTest, QuitTerminatesTheApplication) {
    auto holdfin = makeApp();
    entry(*holdfin->trayItem().menu(), "Quit")->trigger();
    EXPECT_EQ(application.calls(), QStringList{"terminate"});
}

TEST_F(HoldfinAppTest, ShortcutsWorkWhileTheMenuIsOpen) {
    auto holdfin = makeApp();
    QMenu* menu = holdfin->trayItem().menu();
    QKeyEvent preferences(QEvent::KeyPress, Qt::Key_Comma, Qt::ControlModifier,
                          QStringLiteral(","));
    QCoreApplication::sendEvent(menu, &preferences);
    ASSERT_NE(holdfin->settingsWindow(), nullptr);
    EXPECT_TRUE(holdfin->settingsWindow()->isVisible());

    QKeyEvent quit(QEvent::KeyPress, Qt::Key_Q, Qt::ControlModifier, QStringLiteral("q"));
    QCoreApplication::sendEvent(menu, &quit);
    EXPECT_TRUE(application.calls().contains(QStringLiteral("terminate")));
}

TEST_F(HoldfinAppTest, PreferencesActivatesOpensTheGeneralPaneAndActivatesAgain) {
    auto holdfin = makeApp();
    EXPECT_EQ(holdfin->settingsWindow(), nullptr) << "created on first use";
    entry(*holdfin->trayItem().menu(), "Preferences\u2026")->trigger();
    QWidget* window = holdfin->settingsWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    auto* view = window->findChild<preferences::PreferencesView*>();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->selectedTab(), QStringLiteral("General"));
    EXPECT_EQ(application.calls().mid(0, 2), (QStringList{"activate", "activate"}));
    EXPECT_GE(window->minimumWidth(), 420) << "the window's limits are its content's";

    // A second request reuses the window.
    entry(*holdfin->trayItem().menu(), "Preferences\u2026")->trigger();
    EXPECT_EQ(holdfin->settingsWindow(), window);
}

TEST_F(HoldfinAppTest, SettingsWindowBecomingActiveMakesTheApplicationRegular) {
    auto holdfin = makeApp();
    application.setListedInTaskbar(false);
    application.clearCalls();
    holdfin->showSettingsWindow();
    ASSERT_TRUE(testing_support::waitUntil([&] { return application.isListedInTaskbar(); }));
    const QStringList calls = application.calls();
    const auto regular = calls.indexOf(QStringLiteral("taskbar listed"));
    ASSERT_GT(regular, 0);
    EXPECT_EQ(calls.at(regular - 1), QStringLiteral("activate"));
}

// The delegate's last-window reaction (back to accessory) needs this signal.
TEST_F(HoldfinAppTest, ClosingTheSettingsWindowReportsTheLastWindowClosed) {
    auto holdfin = makeApp();
    holdfin->showSettingsWindow();
    testing_support::waitUntil([&] { return application.isListedInTaskbar(); });

    // The last-window signal is only sent from inside the event loop.
    int lastWindowClosed = 0;
    const QMetaObject::Connection quitting =
        QObject::connect(qApp, &QGuiApplication::lastWindowClosed, qApp, [&] {
            ++lastWindowClosed;
            QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        });
    QTimer::singleShot(0, holdfin->settingsWindow(), &QWidget::close);
    QTimer::singleShot(5000, qApp, &QCoreApplication::quit);
    QApplication::exec();
    QObject::disconnect(quitting);

    EXPECT_EQ(lastWindowClosed, 1);
}

// An XEmbed tray pops the context menu up on a right click; a StatusNotifierItem host gets it
// over dbusmenu and draws it itself: one menu for both.
TEST_F(HoldfinAppTest, TheMenuIsTheTrayIconsContextMenuAndALeftClickWithoutHandlerOpensIt) {
    auto holdfin = makeApp();
    app::TrayItem& tray = holdfin->trayItem();
    ASSERT_NE(tray.trayIcon(), nullptr);
    EXPECT_EQ(tray.trayIcon()->contextMenu(), tray.menu());
    emit tray.trayIcon()->activated(QSystemTrayIcon::Trigger);
    EXPECT_TRUE(tray.menu()->isVisible());
    tray.menu()->hide();
    emit tray.trayIcon()->activated(QSystemTrayIcon::MiddleClick);
    EXPECT_FALSE(tray.menu()->isVisible());
}

TEST_F(HoldfinAppTest, SettingsWindowHasTheAppIconAndTheSizeOfItsContent) {
    auto holdfin = makeApp();
    holdfin->showSettingsWindow();
    QWidget* window = holdfin->settingsWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_FALSE(window->windowIcon().isNull());
    EXPECT_EQ(window->windowIcon().pixmap(32, 32).toImage(),
              app::appIcon().pixmap(32, 32).toImage());

    EXPECT_EQ(window->minimumSize(), window->maximumSize()) << "the window cannot be resized";
    EXPECT_EQ(window->size(), window->minimumSize());
    auto* view = window->findChild<preferences::PreferencesView*>();
    ASSERT_NE(view, nullptr);
    EXPECT_GE(window->width(), view->minimumSizeHint().width());
    EXPECT_GE(window->height(), view->minimumSizeHint().height());
    window->resize(window->width() * 2, window->height() * 2);
    EXPECT_EQ(window->size(), window->minimumSize()) << "a resize request changes nothing";
}

TEST_F(HoldfinAppTest, EscapeAndCtrlWCloseTheSettingsWindow) {
    auto holdfin = makeApp();
    for (const QKeySequence& keys :
         {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
        holdfin->showSettingsWindow();
        QWidget* window = holdfin->settingsWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window)) << qPrintable(keys.toString());
        QWidget* focus = QApplication::focusWidget() ? QApplication::focusWidget() : window;
        QTest::keySequence(focus, keys);
        EXPECT_FALSE(window->isVisible()) << qPrintable(keys.toString());
    }
}

TEST(MenuBarIcon, IsTwentyFourHighWithItsAspectKept) {
    struct Case {
        QSizeF image;
        QSizeF shown;
    };
    for (const Case& c :
         {Case{{512, 256}, {48, 24}}, Case{{100, 100}, {24, 24}}, Case{{256, 512}, {12, 24}},
          Case{{0, 0}, {24, 24}}, Case{{10, 0}, {24, 24}}})
        EXPECT_EQ(app::menuBarIconSize(c.image), c.shown)
            << c.image.width() << "x" << c.image.height();
}

TEST(MenuBarIcon, RendersTheImageAtItsTraySize) {
    const QIcon appIcon = app::menuBarIcon();
    ASSERT_FALSE(appIcon.isNull()) << "the AppIcon resource must be present";
    EXPECT_EQ(appIcon.availableSizes(), QList<QSize>{QSize(24, 24)});

    QTemporaryDir dir;
    const QString wide = dir.filePath(QStringLiteral("wide.svg"));
    QFile file(wide);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"(<svg xmlns="http://www.w3.org/2000/svg" width="512" height="256">)"
               R"(<rect width="512" height="256" fill="red"/></svg>)");
    file.close();
    EXPECT_EQ(app::menuBarIcon(wide).availableSizes(), QList<QSize>{QSize(48, 24)});
    EXPECT_TRUE(app::menuBarIcon(dir.filePath(QStringLiteral("missing.svg"))).isNull());
}

TEST_F(HoldfinAppTest, ShelfEntriesAndTheLeftClickReachTheShelf) {
    QStringList calls;
    HoldfinApp::Options options;
    options.version = QStringLiteral("1.2.3");
    options.showShelf = [&calls] { calls << QStringLiteral("show"); };
    options.hideShelf = [&calls] { calls << QStringLiteral("hide"); };
    options.toggleShelf = [&calls] { calls << QStringLiteral("toggle"); };
    options.pasteToShelf = [&calls] { calls << QStringLiteral("paste"); };
    HoldfinApp holdfin(settings, application, std::move(options));
    const QMenu& menu = *holdfin.trayItem().menu();
    EXPECT_EQ(menuTexts(menu), (QStringList{"Holdfin v1.2.3", "Show Shelf", "Paste to Shelf",
                                            "Preferences\u2026", "---", "Quit"}));
    entry(menu, "Show Shelf")->trigger();
    entry(menu, "Paste to Shelf")->trigger();
    ASSERT_NE(holdfin.trayItem().trayIcon(), nullptr);
    emit holdfin.trayItem().trayIcon()->activated(QSystemTrayIcon::Trigger);
    EXPECT_FALSE(menu.isVisible()) << "the left click shows the shelf instead of the menu";
    holdfin.setShelfShown(true);
    EXPECT_EQ(entry(menu, "Show Shelf"), nullptr) << "the shelf in sight";
    entry(menu, "Hide Shelf")->trigger();
    holdfin.setShelfShown(false);
    entry(menu, "Show Shelf")->trigger();
    EXPECT_EQ(calls, (QStringList{"show", "paste", "toggle", "hide", "show"}));
}
