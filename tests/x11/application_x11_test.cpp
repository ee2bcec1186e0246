// The application service against a real window manager: the taskbar follows the activation
// listing, and deactivating hands activation to another application.
#include "backend/x11/x11_window_system.h"
#include "desktop/color_scheme_service.h"
#include "desktop/qt_application.h"
#include "support/x11/child_process.h"
#include "support/x11/test_programs.h"
#include "x11_tools.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QWidget>

#include <functional>

using namespace std::chrono_literals;
using testing::HasSubstr;
using testing::Not;
using testing_support::x11::ChildProcess;
using x11_tools::output;
using x11_tools::trimmed;
using x11_tools::waitFor;

namespace {

class ApplicationX11Test : public testing::Test {
protected:
    std::string id(const QWidget& window) const { return std::to_string(window.winId()); }
    std::string states(const QWidget& window) const {
        return output("xprop", {"-id", id(window), "_NET_WM_STATE"});
    }
    std::string activeWindow() const { return trimmed(output("xdotool", {"getactivewindow"})); }
    bool isViewable(const QWidget& window) const {
        return output("xwininfo", {"-id", id(window)}).find("IsViewable") != std::string::npos;
    }

    backend::x11::X11WindowSystem windowSystem;
    desktop::ColorSchemeService colorSchemes{nullptr};
    desktop::QtApplication application{colorSchemes, &windowSystem};
};

TEST_F(ApplicationX11Test, TaskbarFollowsTheListing) {
    application.setListedInTaskbar(false);
    QWidget settings;
    settings.resize(300, 200);
    settings.show();
    ASSERT_TRUE(waitFor([&] { return isViewable(settings); }));
    testing_support::x11::pumpEvents(200ms);
    EXPECT_THAT(states(settings), HasSubstr("_NET_WM_STATE_SKIP_TASKBAR"));

    application.setListedInTaskbar(true);
    EXPECT_TRUE(
        waitFor([&] { return states(settings).find("SKIP_TASKBAR") == std::string::npos; }));
}

TEST_F(ApplicationX11Test, DeactivateHandsActivationToAnotherApplication) {
    auto other = ChildProcess::start(
        testing_support::x11::testProgramPath("holdfin_test_drop_target"), {"--at", "600,100"});
    ASSERT_TRUE(other && other->waitForLine("ready ", 10s));
    const std::string otherId = trimmed(output(
        "xdotool", {"search", "--sync", "--onlyvisible", "--pid", std::to_string(other->pid())}));
    ASSERT_FALSE(otherId.empty());

    QWidget settings;
    settings.resize(300, 200);
    settings.show();
    ASSERT_TRUE(waitFor([&] { return isViewable(settings); }));
    application.activate();
    ASSERT_TRUE(waitFor([&] { return activeWindow() == id(settings); }));

    application.deactivate();
    EXPECT_TRUE(waitFor([&] { return activeWindow() == otherId; }));
    EXPECT_TRUE(settings.isVisible()) << "deactivating closes nothing";
}

} // namespace
