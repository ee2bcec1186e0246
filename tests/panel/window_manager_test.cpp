#include "panel/non_activating_panel.h"
#include "panel/window_manager.h"
#include "support/fake_screens.h"
#include "support/fake_window_system.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDragEnterEvent>
#include <QGuiApplication>
#include <QMimeData>
#include <QMoveEvent>
#include <QScreen>
#include <QSignalSpy>
#include <QSpontaneKeyEvent>
#include <QWindow>

namespace {

using backend::ScreenInfo;
using panel::NonActivatingPanel;
using panel::WindowManager;
using testing_support::FakeScreens;
using testing_support::FakeWindowSystem;

struct Placement {
    const char* name;
    QList<ScreenInfo> screens;
    QRect visibleFrame;
    double x;
    double panelY;
    QRect geometry;
};

class WindowManagerPlacement : public testing::TestWithParam<Placement> {};

// Visible frames in Qt's top-left coordinates: a 1440x900 screen with a 25 high dock at the
// bottom; a monitor left of the primary, 1920x1080 with a 25 high panel at the top.
INSTANTIATE_TEST_SUITE_P(Screens, WindowManagerPlacement,
                         testing::Values(Placement{"dockAtBottom",
                                                   {{"eDP-1", {0, 0, 1440, 900}}},
                                                   {0, 0, 1440, 875},
                                                   0,
                                                   282.5,
                                                   {0, 283, 160, 310}},
                                         Placement{"leftOfOrigin",
                                                   {{"HDMI-1", {-1920, 0, 1920, 1080}}},
                                                   {-1920, 25, 1920, 1055},
                                                   -1920,
                                                   397.5,
                                                   {-1920, 398, 160, 310}},
                                         Placement{
                                             "noScreen", {}, {}, 0, -155, {0, -155, 160, 310}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_P(WindowManagerPlacement, PutsThePanelAtTheLeftEdgeCentredVertically) {
    FakeScreens screens;
    screens.setScreens(GetParam().screens, GetParam().visibleFrame);
    WindowManager manager(screens, nullptr);

    EXPECT_DOUBLE_EQ(manager.panelY(), GetParam().panelY);
    EXPECT_DOUBLE_EQ(WindowManager::panelFrame(GetParam().visibleFrame).x(), GetParam().x);
    EXPECT_EQ(manager.window()->frame(), GetParam().geometry);
    EXPECT_TRUE(manager.window()->isPresented()) << "built and ordered front";
    manager.window()->setContentView(new QWidget);
    EXPECT_EQ(manager.window()->geometry(), GetParam().geometry);
}

class WindowManagerTest : public testing::Test {
protected:
    WindowManagerTest() {
        screens.setScreens({{"DP-1", {0, 0, 1280, 800}}, {"DP-2", {1280, 0, 1920, 1080}}},
                           {0, 30, 1280, 770});
    }

    FakeScreens screens;
    FakeWindowSystem windowSystem;
};

TEST_F(WindowManagerTest, ShowAndHideDoNothingWhenAlreadySo) {
    WindowManager manager(screens, &windowSystem);
    QSignalSpy front(manager.window(), &NonActivatingPanel::presented);
    QSignalSpy out(manager.window(), &NonActivatingPanel::dismissed);

    manager.showPanel();
    EXPECT_EQ(front.count(), 0) << "already shown by construction";
    manager.hidePanel();
    manager.hidePanel();
    EXPECT_EQ(out.count(), 1);
    EXPECT_FALSE(manager.window()->isPresented());
    manager.showPanel();
    manager.showPanel();
    EXPECT_EQ(front.count(), 1);
    EXPECT_TRUE(manager.window()->isPresented());
}

// Hidden, the panel stays mapped wholly left of every screen, at its own height; shown, it is
// back at its frame.
TEST_F(WindowManagerTest, HidingMovesThePanelOutOfEveryScreenWithoutUnmapping) {
    WindowManager manager(screens, &windowSystem);
    manager.window()->setContentView(new QWidget);
    const QRect frame = manager.window()->frame();
    const QRect desktop = QGuiApplication::primaryScreen()->virtualGeometry();
    manager.hidePanel();

    EXPECT_TRUE(manager.window()->isVisible());
    const QRect hidden = manager.window()->geometry();
    EXPECT_EQ(hidden.size(), frame.size());
    EXPECT_EQ(hidden.y(), frame.y());
    EXPECT_LT(hidden.right(), std::min(desktop.left(), frame.left()));
    EXPECT_EQ(manager.window()->frame(), frame);

    manager.showPanel();
    EXPECT_EQ(manager.window()->geometry(), frame);
}

// What Qt does when the window manager reports that it moved `window` to `to`.
void reportMoveTo(QWidget& window, QPoint to) {
    const QPoint from = window.pos();
    window.move(to);
    QMoveEvent report(to, from);
    QSpontaneKeyEvent::setSpontaneous(&report);
    // Straight to the widget: sending it through the application would make it not spontaneous.
    static_cast<QObject&>(window).event(&report);
}

// The window manager reports each move as it makes it: after a quick dismiss and present, the
// report of the earlier move to the dismissed place comes late. The panel goes back to its
// frame then; a place the window manager chose itself is left alone.
TEST_F(WindowManagerTest, LateNewsOfAnEarlierMoveDoesNotLeaveThePanelThere) {
    WindowManager manager(screens, &windowSystem);
    NonActivatingPanel& panel = *manager.window();
    panel.setContentView(new QWidget);
    manager.hidePanel();
    const QPoint dismissed = panel.pos();
    manager.showPanel();

    reportMoveTo(panel, dismissed);
    EXPECT_EQ(panel.geometry(), panel.frame());

    const QPoint chosen = panel.frame().topLeft() + QPoint(0, 7);
    reportMoveTo(panel, chosen);
    EXPECT_EQ(panel.pos(), chosen);
}

// Its content paints all of the panel: until it has some, it shows nothing, even presented.
TEST_F(WindowManagerTest, PanelWithoutContentWaitsOutOfSight) {
    WindowManager manager(screens, &windowSystem);
    const QRect desktop = QGuiApplication::primaryScreen()->virtualGeometry();
    EXPECT_TRUE(manager.window()->isPresented());
    EXPECT_TRUE(manager.window()->isVisible()) << "mapped all the same";
    EXPECT_LT(manager.window()->geometry().right(), desktop.left());

    manager.window()->setContentView(new QWidget);
    EXPECT_EQ(manager.window()->geometry(), manager.window()->frame());
}

TEST(NonActivatingPanelFrames, DismissedFrameLiesLeftOfTheDesktopAndOfItsFrame) {
    const QRect frame(0, 245, 160, 310);
    EXPECT_LT(NonActivatingPanel::dismissedFrame(frame, {0, 0, 1280, 800}).right(), 0);
    EXPECT_LT(NonActivatingPanel::dismissedFrame(frame, {-1920, 0, 3200, 1080}).right(), -1920);
    const QRect leftOfDesktop(-4000, 10, 160, 310);
    EXPECT_LT(NonActivatingPanel::dismissedFrame(leftOfDesktop, {0, 0, 1280, 800}).right(), -4000);
    EXPECT_LT(NonActivatingPanel::dismissedFrame(frame, {}).right(), 0) << "no screen";
    EXPECT_EQ(NonActivatingPanel::dismissedFrame(frame, {0, 0, 1280, 800}).y(), 245);
}

TEST_F(WindowManagerTest, HintsGoOntoThePanelBeforeItsOnlyMap) {
    WindowManager manager(screens, &windowSystem);
    manager.hidePanel();
    manager.showPanel();
    manager.hidePanel();
    manager.showPanel();

    ASSERT_EQ(windowSystem.preparations().size(), 1);
    EXPECT_EQ(windowSystem.preparations().front().window, manager.window()->windowHandle());
    EXPECT_FALSE(windowSystem.preparations().front().wasVisible);
}

TEST_F(WindowManagerTest, HidingKeepsTheContent) {
    WindowManager manager(screens, &windowSystem);
    auto* content = new QWidget;
    manager.window()->setContentView(content);
    manager.hidePanel();
    manager.showPanel();
    QApplication::processEvents();

    EXPECT_EQ(manager.window()->contentView(), content);
    EXPECT_TRUE(content->isVisible());
    EXPECT_EQ(content->geometry(), manager.window()->rect()) << "content fills the panel";
}

// What the screens become after the panel was placed on DP-1 (0,0 1280x800, frame 0,30 x
// 1280x770), and where the panel must be then.
struct ScreenChange {
    const char* name;
    QList<ScreenInfo> screens;
    QRect visibleFrame;
    QRect geometry;
};

class WindowManagerScreenChange : public testing::TestWithParam<ScreenChange> {};

INSTANTIATE_TEST_SUITE_P(
    Screens, WindowManagerScreenChange,
    testing::Values(
        // Its screen went away: to the left edge of the (new) primary.
        ScreenChange{"ownScreenRemoved",
                     {{"DP-2", {1280, 0, 1920, 1080}}},
                     {1280, 0, 1920, 1050},
                     {1280, 370, 160, 310}},
        // A screen of the same name now somewhere else, the panel off every screen.
        ScreenChange{"offEveryScreen",
                     {{"DP-1", {3000, 0, 1280, 800}}},
                     {3000, 0, 1280, 800},
                     {3000, 245, 160, 310}},
        ScreenChange{"otherScreenRemoved",
                     {{"DP-1", {0, 0, 1280, 800}}},
                     {0, 0, 1280, 800},
                     {0, 245, 160, 310}},
        ScreenChange{"primaryChanged",
                     {{"DP-2", {1280, 0, 1920, 1080}}, {"DP-1", {0, 0, 1280, 800}}},
                     {1280, 0, 1920, 1080},
                     {1280, 385, 160, 310}},
        ScreenChange{"resolutionChanged",
                     {{"DP-1", {0, 0, 1024, 600}}},
                     {0, 0, 1024, 600},
                     {0, 145, 160, 310}},
        // A panel moved to the bottom edge.
        ScreenChange{"workAreaChanged",
                     {{"DP-1", {0, 0, 1280, 800}}, {"DP-2", {1280, 0, 1920, 1080}}},
                     {0, 0, 1280, 740},
                     {0, 215, 160, 310}},
        // No screen at all: nowhere better to go.
        ScreenChange{"allScreensGone", {}, {}, {0, 260, 160, 310}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_P(WindowManagerScreenChange, PutsTheHiddenPanelAtThePrimaryScreensWorkArea) {
    FakeScreens screens;
    screens.setScreens({{"DP-1", {0, 0, 1280, 800}}, {"DP-2", {1280, 0, 1920, 1080}}},
                       {0, 30, 1280, 770});
    WindowManager manager(screens, nullptr);
    manager.window()->setContentView(new QWidget);
    manager.hidePanel();
    ASSERT_EQ(manager.window()->frame(), QRect(0, 260, 160, 310));

    screens.setScreens(GetParam().screens, GetParam().visibleFrame);

    EXPECT_EQ(manager.window()->frame(), GetParam().geometry);
    EXPECT_FALSE(manager.window()->isPresented()) << "moving never shows the panel";
    manager.showPanel();
    EXPECT_EQ(manager.window()->geometry(), GetParam().geometry);
}

TEST(WindowManagerInSight, MovesAtTheNextShowingUnlessItsScreenIsGone) {
    FakeScreens screens;
    screens.setScreens({{"DP-1", {0, 0, 1280, 800}}, {"DP-2", {1280, 0, 1920, 1080}}});
    WindowManager manager(screens, nullptr);
    manager.window()->setContentView(new QWidget);
    screens.setScreens({{"DP-2", {1280, 0, 1920, 1080}}, {"DP-1", {0, 0, 1280, 800}}},
                       {1280, 0, 1920, 1080});
    EXPECT_EQ(manager.window()->geometry(), QRect(0, 245, 160, 310)) << "not under the pointer";
    manager.hidePanel();
    manager.showPanel();
    EXPECT_EQ(manager.window()->geometry(), QRect(1280, 385, 160, 310));
    screens.setScreens({{"DP-1", {0, 0, 1280, 800}}}, {0, 0, 1280, 800});
    EXPECT_EQ(manager.window()->geometry(), QRect(0, 245, 160, 310)) << "its screen went away";
}

TEST(WindowManagerWithoutScreen, ComesToTheFirstScreenThatAppears) {
    FakeScreens screens;
    WindowManager manager(screens, nullptr);

    screens.setScreens({{"DP-1", {0, 0, 1280, 800}}});

    EXPECT_EQ(manager.window()->frame(), QRect(0, 245, 160, 310));
    EXPECT_DOUBLE_EQ(manager.panelY(), 245);
}

struct DropOffer {
    QStringList formats;
    bool isTaken;
};

class NonActivatingPanelDrops : public testing::TestWithParam<DropOffer> {};

INSTANTIATE_TEST_SUITE_P(Formats, NonActivatingPanelDrops,
                         testing::Values(DropOffer{{"text/uri-list"}, true},
                                         DropOffer{{"image/png"}, true},
                                         DropOffer{{"text/plain;charset=utf-8"}, true},
                                         DropOffer{{"application/pdf"}, true},
                                         DropOffer{{"application/x-qt-image", "image/jpeg"}, false},
                                         DropOffer{{"application/x-color"}, false},
                                         DropOffer{{}, false}));

TEST_P(NonActivatingPanelDrops, TakesFilesUrlsPngTextAndPdf) {
    EXPECT_EQ(NonActivatingPanel::offersRegisteredType(GetParam().formats), GetParam().isTaken);
}

// A drop that reaches the panel itself is refused; the answer a source gets until then must
// never be a move, which some sources act on by deleting what they offered.
TEST(NonActivatingPanelDrags, AreAnsweredWithCopyOnlyAndNeverAMove) {
    NonActivatingPanel panel(QRect(0, 0, 160, 310), nullptr);
    QMimeData text;
    text.setText(QStringLiteral("parked"));
    QDragEnterEvent moveOrCopy(QPoint(10, 10), Qt::CopyAction | Qt::MoveAction, &text,
                               Qt::LeftButton, Qt::NoModifier);
    moveOrCopy.setDropAction(Qt::MoveAction);
    QCoreApplication::sendEvent(&panel, &moveOrCopy);
    EXPECT_TRUE(moveOrCopy.isAccepted());
    EXPECT_EQ(moveOrCopy.dropAction(), Qt::CopyAction);

    QDragEnterEvent moveOnly(QPoint(10, 10), Qt::MoveAction, &text, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&panel, &moveOnly);
    EXPECT_FALSE(moveOnly.isAccepted());
}

} // namespace
