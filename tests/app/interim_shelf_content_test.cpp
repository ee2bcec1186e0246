#include "app/interim_shelf_content.h"
#include "panel/drag_monitor.h"
#include "panel/non_activating_panel.h"
#include "panel/window_manager.h"
#include "support/fake_drag_pasteboard.h"
#include "support/fake_global_event_monitor.h"
#include "support/fake_main_queue.h"
#include "support/fake_screens.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QEnterEvent>

namespace {

class InterimShelfContentTest : public testing::Test {
protected:
    platform::Services makeServices() {
        screens.setScreens({{"DP-1", {0, 0, 1280, 800}}});
        platform::Services result;
        result.mainQueue = &mainQueue;
        result.dragPasteboard = &pasteboard;
        result.eventMonitor = &eventMonitor;
        result.screens = &screens;
        return result;
    }

    // Installs the content into the shown panel, as start-up does, and lets it appear.
    app::InterimShelfContent* install() {
        auto* content = new app::InterimShelfContent(dragMonitor, windowManager, nullptr);
        windowManager.window()->setContentView(content);
        QApplication::processEvents();
        return content;
    }

    bool isShown() const { return windowManager.window()->isVisible(); }

    testing_support::FakeMainQueue mainQueue;
    testing_support::FakeDragPasteboard pasteboard;
    testing_support::FakeGlobalEventMonitor eventMonitor;
    testing_support::FakeScreens screens;
    platform::Services services = makeServices();
    panel::DragMonitor dragMonitor{services};
    panel::WindowManager windowManager{services};
};

TEST_F(InterimShelfContentTest, HidesTheEmptyPanelWhenItAppears) {
    ASSERT_TRUE(isShown());
    install();
    EXPECT_FALSE(isShown());
}

struct State {
    bool isDragging;
    bool hasItems;
    bool isCursorInside;
};

class InterimShelfContentRule : public InterimShelfContentTest,
                                public testing::WithParamInterface<State> {};

INSTANTIATE_TEST_SUITE_P(States, InterimShelfContentRule,
                         testing::Values(State{false, false, false}, State{true, false, false},
                                         State{false, true, false}, State{false, false, true},
                                         State{true, true, true}));

TEST_P(InterimShelfContentRule, ShowsWhileDraggingHoldingEntriesOrHovered) {
    install();
    const bool expected = GetParam().isDragging || GetParam().hasItems || GetParam().isCursorInside;
    // Each change runs the rule; the last one decides.
    dragMonitor.setIsDragging(GetParam().isDragging);
    dragMonitor.setDraggedItems(GetParam().hasItems ? QList<shelf::BucketItem>{shelf::BucketItem{}}
                                                    : QList<shelf::BucketItem>{});
    dragMonitor.setIsCursorInside(GetParam().isCursorInside);
    EXPECT_EQ(isShown(), expected);

    // Everything back to rest hides it again.
    dragMonitor.setIsDragging(false);
    dragMonitor.setDraggedItems({});
    dragMonitor.setIsCursorInside(false);
    EXPECT_FALSE(isShown());
}

TEST_F(InterimShelfContentTest, ReportsThePointerOverIt) {
    auto* content = install();
    dragMonitor.setIsDragging(true);
    ASSERT_TRUE(isShown());

    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(content, &enter);
    EXPECT_TRUE(dragMonitor.isCursorInside());
    dragMonitor.setIsDragging(false);
    EXPECT_TRUE(isShown()) << "the pointer keeps it up";

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(content, &leave);
    EXPECT_FALSE(dragMonitor.isCursorInside());
    EXPECT_FALSE(isShown());
}

} // namespace
