// The shelf panel on a real X server with a window manager: what the window manager and other
// applications see of it.
#include "backend/qt_screens.h"
#include "backend/x11/x11_connection.h"
#include "backend/x11/x11_window_system.h"
#include "backend/x11/x11_work_area.h"
#include "desktop/color_scheme_service.h"
#include "desktop/symbol_image.h"
#include "panel/drag_monitor.h"
#include "panel/non_activating_panel.h"
#include "panel/window_manager.h"
#include "preferences/settings_access/settings_access_environment.h"
#include "shelf/mime_item_provider_factory.h"
#include "support/fake_application.h"
#include "support/fake_desktop_services.h"
#include "support/fake_drag_selection.h"
#include "support/fake_drag_session.h"
#include "support/fake_global_event_monitor.h"
#include "support/fake_main_queue.h"
#include "support/fake_thumbnails.h"
#include "support/recording_log.h"
#include "support/x11/child_process.h"
#include "support/x11/pointer_driver.h"
#include "support/x11/test_programs.h"
#include "views/content_view.h"
#include "x11_tools.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QWindow>

#include <cstdlib>
#include <functional>

using namespace std::chrono_literals;
using testing::HasSubstr;
using testing::Not;
using testing_support::x11::ChildProcess;
using x11_tools::output;
using x11_tools::trimmed;
using x11_tools::waitFor;

namespace {

class PanelWindowTest : public testing::Test {
protected:
    // Content of its own: the panel shows nothing without.
    PanelWindowTest() { windowManager.window()->setContentView(new QWidget); }

    std::string panelId() const { return std::to_string(windowManager.window()->winId()); }
    std::string properties() const {
        return output("xprop", {"-id", panelId(), "_NET_WM_STATE", "_NET_WM_DESKTOP", "WM_HINTS"});
    }
    // The panel's properties once the window manager has applied the states it asked for, which
    // it does in its own time.
    std::string settledProperties() const {
        std::string props;
        waitFor([&] {
            props = properties();
            return props.find("_NET_WM_STATE_SKIP_PAGER") != std::string::npos &&
                   props.find("4294967295") != std::string::npos;
        });
        return props;
    }
    bool isShown() const { return x11_tools::isOnScreen(panelId()); }
    // The window manager's frame around the panel.
    std::string frameId() const {
        const std::string tree = output("xwininfo", {"-tree", "-id", panelId()});
        const std::size_t at = tree.find("Parent window id: ");
        return at == std::string::npos ? std::string()
                                       : tree.substr(at + 18, tree.find(' ', at + 18) - at - 18);
    }
    std::string activeWindow() const { return trimmed(output("xdotool", {"getactivewindow"})); }

    testing_support::FakeMainQueue mainQueue;
    testing_support::FakeDragSelection dragSelection;
    testing_support::FakeGlobalEventMonitor eventMonitor;
    backend::x11::X11Connection connection;
    backend::x11::X11WorkArea workArea{connection};
    backend::QtScreens screens{&workArea};
    backend::x11::X11WindowSystem windowSystem{connection};
    panel::WindowManager windowManager{screens, &windowSystem};
};

TEST_F(PanelWindowTest, IsAboveStickyOutOfTaskbarAndPagerAndNeverTakesInput) {
    ASSERT_TRUE(waitFor([&] { return isShown(); }));
    windowManager.hidePanel();
    ASSERT_TRUE(waitFor([&] { return !isShown(); }));
    windowManager.showPanel();
    ASSERT_TRUE(waitFor([&] { return isShown(); }));
    const std::string props = settledProperties();
    EXPECT_THAT(props, HasSubstr("_NET_WM_STATE_ABOVE"));
    EXPECT_THAT(props, HasSubstr("_NET_WM_STATE_SKIP_TASKBAR"));
    EXPECT_THAT(props, HasSubstr("_NET_WM_STATE_SKIP_PAGER"));
    // On every desktop: sticky where the window manager knows the state (openbox does not), and
    // in any case on the all-desktops pseudo desktop.
    if (output("xprop", {"-root", "_NET_SUPPORTED"}).find("_NET_WM_STATE_STICKY") !=
        std::string::npos) {
        EXPECT_THAT(props, HasSubstr("_NET_WM_STATE_STICKY"));
    }
    EXPECT_THAT(props, HasSubstr("_NET_WM_DESKTOP(CARDINAL) = 4294967295"));
    EXPECT_THAT(props, HasSubstr("Client accepts input or input focus: False"));
}

// Drag sources that copy the window tree when their drag starts follow moves of the windows
// they know, but never see a window that the window manager frames anew.
TEST_F(PanelWindowTest, HidesOutsideTheScreenStillMappedInTheSameFrame) {
    ASSERT_TRUE(waitFor([&] { return isShown(); }));
    const std::string frame = frameId();
    ASSERT_FALSE(frame.empty());
    windowManager.hidePanel();
    EXPECT_TRUE(waitFor([&] { return x11_tools::isMappedOffScreen(panelId()); }))
        << "hidden: mapped, wholly outside the screen";
    EXPECT_EQ(frameId(), frame);
    windowManager.showPanel();
    ASSERT_TRUE(waitFor([&] { return isShown(); }));
    EXPECT_EQ(frameId(), frame);
    const x11_tools::WindowPlace place = x11_tools::windowPlace(panelId());
    EXPECT_EQ(std::vector<int>({place.x, place.y, place.width, place.height}),
              std::vector<int>({0, 245, 160, 310}))
        << "back at its place";
}

TEST_F(PanelWindowTest, KeepsItsHintsAndPlaceWhenShownRightAfterHiding) {
    ASSERT_TRUE(waitFor([&] { return isShown(); }));
    testing_support::x11::pumpEvents(200ms);
    for (int i = 0; i < 5; ++i) {
        windowManager.hidePanel();
        testing_support::x11::pumpEvents(std::chrono::milliseconds(1 + i));
        windowManager.showPanel();
    }
    ASSERT_TRUE(waitFor([&] {
        const x11_tools::WindowPlace place = x11_tools::windowPlace(panelId());
        return place.isViewable && place.x == 0 && place.y == 245;
    }));
    const std::string props = settledProperties();
    EXPECT_THAT(props, HasSubstr("_NET_WM_STATE_ABOVE"));
    EXPECT_THAT(props, HasSubstr("_NET_WM_STATE_SKIP_TASKBAR"));
    EXPECT_THAT(props, HasSubstr("_NET_WM_STATE_SKIP_PAGER"));
    EXPECT_THAT(props, HasSubstr("_NET_WM_DESKTOP(CARDINAL) = 4294967295"));
}

TEST_F(PanelWindowTest, SitsAtTheLeftEdgeCentredOnThePrimaryScreen) {
    ASSERT_TRUE(waitFor([&] { return isShown(); }));
    // The session's screen is 1280x800 without docks.
    const std::string geometry = output("xdotool", {"getwindowgeometry", panelId()});
    EXPECT_THAT(geometry, HasSubstr("Position: 0,245"));
    EXPECT_THAT(geometry, HasSubstr("Geometry: 160x310"));
}

TEST_F(PanelWindowTest, ClickingItLeavesTheActiveWindowActive) {
    auto target = ChildProcess::start(
        testing_support::x11::testProgramPath("holdfin_test_drop_target"), {"--at", "600,100"});
    ASSERT_TRUE(target && target->waitForLine("ready ", 10s));
    const std::string other = trimmed(output(
        "xdotool", {"search", "--sync", "--onlyvisible", "--pid", std::to_string(target->pid())}));
    ASSERT_FALSE(other.empty());
    output("xdotool", {"windowactivate", "--sync", other});
    ASSERT_TRUE(waitFor([&] { return activeWindow() == other; }));
    windowManager.hidePanel();
    windowManager.showPanel();
    ASSERT_TRUE(waitFor([&] { return isShown(); }));

    testing_support::x11::PointerDriver pointer;
    ASSERT_TRUE(pointer.moveTo(80, 400));
    ASSERT_TRUE(pointer.run({"click", "1"}));
    testing_support::x11::pumpEvents(300ms);

    EXPECT_EQ(activeWindow(), other) << "showing and clicking the panel activates nothing";
    EXPECT_EQ(QApplication::activeWindow(), nullptr);
    EXPECT_FALSE(windowManager.window()->windowHandle()->isActive());
}

TEST_F(PanelWindowTest, ShelfViewShowsThePanelOnlyWhileItHasReason) {
    testing_support::x11::PointerDriver pointer;
    ASSERT_TRUE(pointer.moveTo(1000, 700)); // well away from the panel
    panel::DragMonitor dragMonitor(mainQueue, dragSelection, eventMonitor);
    testing_support::RecordingLog log;
    testing_support::FakeDragSession session;
    testing_support::FakeDesktopServices desktopServices;
    testing_support::FakeThumbnails thumbnails;
    const desktop::SymbolImage symbols;
    testing_support::FakeApplication application;
    desktop::ColorSchemeService colorSchemes(nullptr);
    shelf::MimeItemProviderFactory providers(QDir::tempPath());
    const settings_access::SettingsAccessEnvironment settings;
    windowManager.window()->setContentView(new views::ContentView(
        dragMonitor, windowManager, mainQueue, log, session, desktopServices, thumbnails, symbols,
        application, colorSchemes, providers, settings));
    ASSERT_TRUE(waitFor([&] { return !isShown(); })) << "empty and idle: hidden";

    dragMonitor.setIsDragging(true);
    ASSERT_TRUE(waitFor([&] { return isShown(); }));
    testing_support::x11::pumpEvents(300ms);
    // For looking at the panel by hand: a picture of the whole screen.
    if (const char* path = std::getenv("HOLDFIN_TEST_SCREENSHOT"))
        ChildProcess::run("import", {"-window", "root", path});

    dragMonitor.setIsDragging(false);
    EXPECT_TRUE(waitFor([&] { return !isShown(); }));
}

} // namespace
