// System-wide drag detection end to end: a DragMonitor wired to the real X11 services in this
// process, real XDND drags of our drag source program, the pointer driven by xdotool, all on
// a private X server (see holdfin_test_main_x11).
#include "backend/x11/x11_connection.h"
#include "backend/x11/x11_drag_selection.h"
#include "backend/x11/x11_global_event_monitor.h"
#include "core/qt_main_queue.h"
#include "panel/drag_monitor.h"
#include "support/x11/child_process.h"
#include "support/x11/pointer_driver.h"
#include "support/x11/test_programs.h"
#include "x11_tools.h"

#include <gtest/gtest.h>

#include <xcb/xcb.h>
#include <xcb/xinput.h>

#include <QDrag>
#include <QMimeData>
#include <QSignalSpy>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>

#include <functional>
#include <memory>
#include <sstream>

using namespace std::chrono_literals;
using namespace testing_support::x11;
using x11_tools::waitFor;

namespace {

void pumpFor(std::chrono::milliseconds duration) {
    waitFor([] { return false; }, duration);
}

// Their standard error goes to the test log, to tell why one did not come up.
ChildProcess::Options programOptions() {
    ChildProcess::Options options;
    options.showStderr = true;
    return options;
}

// The X11 services and a DragMonitor on them, with what the monitor published.
struct Holdfin {
    Holdfin()
        : dragSelection(connection), eventMonitor(connection),
          monitor(mainQueue, dragSelection, eventMonitor) {
        QObject::connect(&monitor, &panel::DragMonitor::isDraggingChanged,
                         [this] { assignments.push_back(monitor.isDragging()); });
        // Raw key presses as they reach the connection, whatever they are.
        connection.addListener([this](const void* data) {
            const auto& event = *static_cast<const xcb_ge_generic_event_t*>(data);
            if ((event.response_type & 0x7f) == XCB_GE_GENERIC &&
                event.extension == connection.xinputOpcode() &&
                event.event_type == XCB_INPUT_RAW_KEY_PRESS)
                ++rawKeyPresses;
        });
    }
    int eventCount() const { return int(dragged.count() + released.count() + escapes.count()); }
    int trueAssignments() const {
        return int(std::count(assignments.begin(), assignments.end(), true));
    }

    core::QtMainQueue mainQueue;
    backend::x11::X11Connection connection;
    backend::x11::X11DragSelection dragSelection;
    backend::x11::X11GlobalEventMonitor eventMonitor;
    panel::DragMonitor monitor;
    std::vector<bool> assignments;
    QSignalSpy dragged{&eventMonitor, &backend::GlobalEventMonitor::leftButtonDragged};
    QSignalSpy released{&eventMonitor, &backend::GlobalEventMonitor::leftButtonReleased};
    QSignalSpy escapes{&eventMonitor, &backend::GlobalEventMonitor::escapePressed};
    int rawKeyPresses = 0;
};

class DragDetectionTest : public testing::Test {
protected:
    // Starts the drag source program in `mode`; where to press on it.
    QPoint startSource(const std::string& mode) { return startSource(std::vector{mode}); }
    // Starts the drag source program with `args` (its mode first).
    QPoint startSource(std::vector<std::string> args) {
        args.insert(args.end(), {"--at", "100,100"});
        m_source = ChildProcess::start(testProgramPath("holdfin_test_drag_source"), args,
                                       programOptions());
        if (!m_source)
            return {};
        auto line = m_source->waitForLine("ready ", 10s);
        if (!line)
            return {};
        std::istringstream in(line->substr(6));
        int x = 0, y = 0;
        in >> x >> y;
        return {x + 40, y + 40};
    }
    // Presses on the source and moves past the drag threshold; true once its drag started.
    bool startDrag(QPoint at) {
        return m_pointer.beginDrag(at.x(), at.y()) &&
               m_source->waitForLine("drag-started ", 5s).has_value();
    }

    std::unique_ptr<ChildProcess> m_source;
    PointerDriver m_pointer;
};

class ReadableDragTest : public DragDetectionTest,
                         public testing::WithParamInterface<std::string> {};

TEST_P(ReadableDragTest, startsOnDragAndEndsOnRelease) {
    Holdfin holdfin;
    const QPoint at = startSource(GetParam());
    ASSERT_FALSE(at.isNull());
    const auto countBefore = holdfin.dragSelection.serial();
    ASSERT_TRUE(startDrag(at));
    ASSERT_TRUE(m_pointer.moveBy(6, 3, 10));
    ASSERT_TRUE(waitFor([&] { return holdfin.monitor.isDragging(); }, 3s));
    EXPECT_NE(holdfin.dragSelection.serial(), countBefore);
    EXPECT_EQ(holdfin.monitor.lastChangeCount(), holdfin.dragSelection.serial());

    ASSERT_TRUE(m_pointer.endDrag());
    EXPECT_TRUE(waitFor([&] { return !holdfin.monitor.isDragging(); }, 3s));
    EXPECT_EQ(holdfin.assignments.back(), false);
}

INSTANTIATE_TEST_SUITE_P(Kinds, ReadableDragTest,
                         testing::Values("files", "text", "image", "color"));

class UnreadableDragTest : public DragDetectionTest,
                           public testing::WithParamInterface<std::string> {};

TEST_P(UnreadableDragTest, consumesTheCountWithoutDragging) {
    Holdfin holdfin;
    const QPoint at = startSource(GetParam());
    ASSERT_FALSE(at.isNull());
    const auto countBefore = holdfin.dragSelection.serial();
    ASSERT_TRUE(startDrag(at));
    // Keep dragging past the bound on learning the types.
    ASSERT_TRUE(m_pointer.moveBy(6, 3, 15, 30ms));
    ASSERT_TRUE(waitFor([&] { return holdfin.dragSelection.serial() != countBefore; }, 3s));
    ASSERT_TRUE(m_pointer.moveBy(6, 3, 5));
    EXPECT_TRUE(waitFor(
        [&] { return holdfin.monitor.lastChangeCount() == holdfin.dragSelection.serial(); }, 3s));
    EXPECT_EQ(holdfin.trueAssignments(), 0);
    ASSERT_TRUE(m_pointer.endDrag());
    pumpFor(200ms);
    EXPECT_EQ(holdfin.trueAssignments(), 0);
}

INSTANTIATE_TEST_SUITE_P(Kinds, UnreadableDragTest, testing::Values("unreadable", "unanswering"));

TEST_F(DragDetectionTest, plainMouseDragIsNoDrag) {
    Holdfin holdfin;
    const QPoint at = startSource("none");
    ASSERT_FALSE(at.isNull());
    ASSERT_TRUE(m_pointer.beginDrag(at.x(), at.y()));
    ASSERT_TRUE(m_pointer.endDrag());
    ASSERT_TRUE(waitFor([&] { return holdfin.released.count() == 1; }, 3s));
    pumpFor(100ms);
    EXPECT_GT(holdfin.dragged.count(), 0);
    EXPECT_EQ(holdfin.dragSelection.serial(), holdfin.monitor.lastChangeCount());
    EXPECT_TRUE(holdfin.assignments.empty()); // a release while idle assigns nothing
}

// Keys reach Holdfin only while a drag is on: typing otherwise wakes it not once.
TEST_F(DragDetectionTest, escapeEndsTheDragAndKeysAreWatchedOnlyDuringIt) {
    Holdfin holdfin;
    ASSERT_TRUE(m_pointer.key("a"));
    ASSERT_TRUE(m_pointer.key("Escape"));
    pumpFor(200ms);
    EXPECT_EQ(holdfin.rawKeyPresses, 0);
    EXPECT_EQ(holdfin.eventCount(), 0);

    const QPoint at = startSource("text");
    ASSERT_FALSE(at.isNull());
    ASSERT_TRUE(startDrag(at));
    ASSERT_TRUE(m_pointer.moveBy(6, 3, 10));
    ASSERT_TRUE(waitFor([&] { return holdfin.monitor.isDragging(); }, 3s));
    ASSERT_TRUE(holdfin.eventMonitor.isSelectingKeys());

    ASSERT_TRUE(m_pointer.key("a"));
    ASSERT_TRUE(waitFor([&] { return holdfin.rawKeyPresses == 1; }, 3s));
    pumpFor(100ms);
    EXPECT_TRUE(holdfin.monitor.isDragging());
    EXPECT_EQ(holdfin.escapes.count(), 0);

    ASSERT_TRUE(m_pointer.key("Escape"));
    EXPECT_TRUE(waitFor([&] { return !holdfin.monitor.isDragging(); }, 3s));
    EXPECT_EQ(holdfin.escapes.count(), 1);
    EXPECT_FALSE(holdfin.eventMonitor.isSelectingKeys());
    m_pointer.release();
}

TEST_F(DragDetectionTest, dragUnderWayAtStartIsNotReported) {
    const QPoint at = startSource("text");
    ASSERT_FALSE(at.isNull());
    ASSERT_TRUE(startDrag(at));
    Holdfin holdfin; // starts watching in the middle of the drag
    ASSERT_TRUE(m_pointer.moveBy(6, 3, 15));
    ASSERT_TRUE(waitFor([&] { return holdfin.dragged.count() > 5; }, 3s));
    pumpFor(300ms);
    EXPECT_TRUE(holdfin.assignments.empty());
    ASSERT_TRUE(m_pointer.endDrag());
}

TEST_F(DragDetectionTest, pointerMotionWithoutButtonDeliversNothing) {
    Holdfin holdfin;
    ASSERT_TRUE(m_pointer.moveTo(300, 300));
    ASSERT_TRUE(m_pointer.moveBy(5, 5, 20, 5ms));
    pumpFor(200ms);
    EXPECT_FALSE(holdfin.eventMonitor.isWatchingMotion());
    EXPECT_EQ(holdfin.eventCount(), 0);
}

TEST_F(DragDetectionTest, ownDragIsCountedNotProbedAndNotReported) {
    Holdfin holdfin;
    const auto countBefore = holdfin.dragSelection.serial();
    // Holdfin's own drag session, as the shelf will run it: announced to the event monitor.
    QWidget source;
    source.setGeometry(500, 400, 200, 200);
    source.show();
    ASSERT_TRUE(waitFor([&] { return source.windowHandle()->isExposed(); }, 5s));
    pumpFor(100ms);
    ASSERT_TRUE(m_pointer.moveTo(600, 500));
    ASSERT_TRUE(m_pointer.press());
    // The rest of the gesture runs while the drag session holds this thread.
    ChildProcess::Options quiet;
    quiet.captureStdout = false;
    auto gesture = ChildProcess::start("xdotool",
                                       {"sleep", "0.3", "mousemove_relative", "--", "10", "5",
                                        "sleep", "0.05", "mousemove_relative", "--", "10", "5",
                                        "sleep", "0.05", "mouseup", "1"},
                                       quiet);
    ASSERT_TRUE(gesture);
    holdfin.eventMonitor.setOwnDragInProgress(true);
    auto* drag = new QDrag(&source);
    auto* data = new QMimeData;
    data->setText(QStringLiteral("own"));
    drag->setMimeData(data);
    drag->exec(Qt::CopyAction);
    holdfin.eventMonitor.setOwnDragInProgress(false);
    // By the end of the session the count has moved on, with nothing asked of ourselves.
    EXPECT_NE(holdfin.dragSelection.serial(), countBefore);
    EXPECT_FALSE(holdfin.dragSelection.isLearning());
    pumpFor(100ms);
    EXPECT_FALSE(holdfin.dragSelection.hasContent({backend::DragContent::Text}));
    EXPECT_EQ(holdfin.eventCount(), 0);
}

// Whether the source answers requests for its data (refusals count) is known apart from its
// types: a source that lists its types but never answers must not be read from.
struct AnsweringCase {
    const char* name;
    std::vector<std::string> args;
    bool isAnswering;
};

void PrintTo(const AnsweringCase& c, std::ostream* os) {
    *os << c.name;
}

class SourceAnsweringTest : public DragDetectionTest,
                            public testing::WithParamInterface<AnsweringCase> {};

TEST_P(SourceAnsweringTest, IsToldApartFromItsTypes) {
    Holdfin holdfin;
    const QPoint at = startSource(GetParam().args);
    ASSERT_FALSE(at.isNull());
    const auto countBefore = holdfin.dragSelection.serial();
    ASSERT_TRUE(startDrag(at));
    ASSERT_TRUE(m_pointer.moveBy(6, 3, 10));
    ASSERT_TRUE(waitFor([&] { return holdfin.dragSelection.serial() != countBefore; }, 3s));
    // A silent source's types are known only when its type list is written after the watch
    // on its window began (it may come first); an answering one is asked.
    if (GetParam().isAnswering) {
        EXPECT_TRUE(holdfin.dragSelection.hasContent({backend::DragContent::Url}));
    }
    // A refusal or an answer comes within milliseconds; give a silent source as long.
    waitFor([&] { return holdfin.dragSelection.hasSourceAnswered(); }, 500ms);
    EXPECT_EQ(holdfin.dragSelection.hasSourceAnswered(), GetParam().isAnswering);
    m_pointer.endDrag();
    m_source->waitForLine("drag-finished ", 5s);
}

INSTANTIATE_TEST_SUITE_P(
    Sources, SourceAnsweringTest,
    testing::Values(AnsweringCase{"Answering", {"rawfiles", "--junk-types", "5"}, true},
                    AnsweringCase{"Garbage",
                                  {"rawfiles", "--junk-types", "5", "--conversions", "garbage"},
                                  true},
                    AnsweringCase{"Silent",
                                  {"rawfiles", "--junk-types", "5", "--conversions", "silent"},
                                  false}),
    [](const testing::TestParamInfo<AnsweringCase>& info) { return std::string(info.param.name); });

} // namespace
