// The application service against a real window manager: the taskbar follows the activation
// listing, deactivating hands activation to another application, and tooltips let drags pass.
#include "backend/x11/x11_connection.h"
#include "backend/x11/x11_window_system.h"
#include "desktop/color_scheme_service.h"
#include "desktop/qt_application.h"
#include "settled_window.h"
#include "support/x11/child_process.h"
#include "support/x11/pointer_driver.h"
#include "support/x11/test_programs.h"
#include "x11_tools.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QToolTip>
#include <QWidget>

#include <functional>
#include <sstream>

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

    backend::x11::X11Connection connection;
    backend::x11::X11WindowSystem windowSystem{connection};
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

// A window that takes every text dropped on it.
class TextTarget final : public QWidget {
public:
    TextTarget() { setAcceptDrops(true); }
    QString dropped;

protected:
    void dragEnterEvent(QDragEnterEvent* event) override { event->acceptProposedAction(); }
    void dragMoveEvent(QDragMoveEvent* event) override { event->acceptProposedAction(); }
    void dropEvent(QDropEvent* event) override {
        dropped = event->mimeData()->text();
        event->acceptProposedAction();
    }
};

const QWidget* shownToolTip() {
    for (const QWidget* window : QApplication::topLevelWidgets()) {
        if (window->windowType() == Qt::ToolTip && window->isVisible())
            return window;
    }
    return nullptr;
}

// A tooltip left over a window that takes drops is what a drag source finds under the pointer
// there; the drop must still reach the window beneath.
TEST_F(ApplicationX11Test, ADropOnAToolTipReachesTheWindowBeneath) {
    TextTarget target;
    target.setGeometry(100, 100, 300, 300);
    target.show();
    const auto origin = x11_tools::waitUntilSettled(target);
    ASSERT_TRUE(origin);
    auto source =
        ChildProcess::start(testing_support::x11::testProgramPath("holdfin_test_drag_source"),
                            {"text", "--at", "500,100", "dropped", "through"});
    ASSERT_TRUE(source);
    const auto ready = source->waitForLine("ready ", 10s);
    ASSERT_TRUE(ready);
    std::istringstream in(ready->substr(6));
    int x = 0, y = 0;
    in >> x >> y;
    testing_support::x11::PointerDriver pointer;
    ASSERT_TRUE(pointer.beginDrag(x + 50, y + 50));
    ASSERT_TRUE(source->waitForLine("drag-started ", 5s));

    // Shown once the drag holds the pointer, so that no pointer crossing hides it.
    QToolTip::showText(*origin + QPoint(40, 40), QStringLiteral("a tooltip over the target"),
                       &target, QRect(), 60'000);
    ASSERT_TRUE(waitFor([] {
        const QWidget* tip = shownToolTip();
        return tip && tip->windowHandle() && tip->windowHandle()->isExposed();
    }));
    testing_support::x11::pumpEvents(200ms);
    const QRect tip = shownToolTip()->geometry();
    ASSERT_TRUE(QRect(*origin, target.size()).contains(tip.center()));
    ASSERT_TRUE(pointer.moveTo(tip.center().x() - 20, tip.center().y()));
    ASSERT_TRUE(pointer.moveBy(2, 0, 10));
    testing_support::x11::pumpEvents(300ms);
    ASSERT_TRUE(shownToolTip()) << "the tooltip is still over the target at the drop";
    ASSERT_TRUE(pointer.endDrag());
    EXPECT_TRUE(waitFor([&] { return target.dropped == QStringLiteral("dropped through"); }, 5s))
        << "dropped: " << target.dropped.toStdString();
}

} // namespace
