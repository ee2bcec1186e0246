// Native Wayland drags as XWayland shows them, played by a fake compositor on the private X
// server: an X client that names its window in _NET_SUPPORTING_WM_CHECK and takes
// XdndSelection, answering TARGETS as mutter does or refusing as KWin does. No input reaches
// X clients meanwhile: the back-end itself reports the drag's start and end.
#include "backend/x11/compositor_drag_watcher.h"
#include "backend/x11/x11_connection.h"
#include "backend/x11/x11_drag_selection.h"
#include "backend/x11/x11_global_event_monitor.h"
#include "core/qt_main_queue.h"
#include "panel/drag_monitor.h"
#include "x11_tools.h"

#include <gtest/gtest.h>

#include <QSocketNotifier>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#include <vector>

using namespace std::chrono_literals;
using backend::DragContent;
using x11_tools::waitFor;

namespace {

xcb_atom_t intern(xcb_connection_t* c, const char* name) {
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::uint16_t(strlen(name)), name), nullptr),
        &std::free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// Answers requests for XdndSelection while its drag is on (mutter) or never (KWin).
class FakeCompositor {
public:
    explicit FakeCompositor(bool answersTargets)
        : m_connection(xcb_connect(nullptr, nullptr)), m_answersTargets(answersTargets) {
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
        m_root = screen->root;
        m_selection = intern(m_connection, "XdndSelection");
        m_targets = intern(m_connection, "TARGETS");
        m_uriList = intern(m_connection, "text/uri-list");
        m_check = intern(m_connection, "_NET_SUPPORTING_WM_CHECK");
        for (xcb_window_t* window : {&m_checkWindow, &m_owner}) {
            *window = xcb_generate_id(m_connection);
            xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, *window, m_root, -1, -1, 1, 1, 0,
                              XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
        }
        xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, m_root, m_check, XCB_ATOM_WINDOW,
                            32, 1, &m_checkWindow);
        xcb_flush(m_connection);
        m_notifier = std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(m_connection),
                                                       QSocketNotifier::Read);
        QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] { answer(); });
    }
    ~FakeCompositor() {
        m_notifier.reset();
        xcb_delete_property(m_connection, m_root, m_check);
        xcb_disconnect(m_connection);
    }

    void startDrag() {
        m_isDragging = true;
        xcb_set_selection_owner(m_connection, m_owner, m_selection, XCB_CURRENT_TIME);
        xcb_flush(m_connection);
    }
    // mutter keeps owning the selection after its drag, but stops answering.
    void endDrag() { m_isDragging = false; }

private:
    void answer() {
        while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
            if ((event->response_type & 0x7f) == XCB_SELECTION_REQUEST) {
                const auto* request = reinterpret_cast<xcb_selection_request_event_t*>(event);
                xcb_selection_notify_event_t notify{};
                notify.response_type = XCB_SELECTION_NOTIFY;
                notify.time = request->time;
                notify.requestor = request->requestor;
                notify.selection = request->selection;
                notify.target = request->target;
                if (m_isDragging && m_answersTargets && request->target == m_targets) {
                    const xcb_atom_t types[] = {m_targets, m_uriList};
                    xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, request->requestor,
                                        request->property, XCB_ATOM_ATOM, 32, 2, types);
                    notify.property = request->property;
                }
                xcb_send_event(m_connection, 0, request->requestor, 0,
                               reinterpret_cast<const char*>(&notify));
                xcb_flush(m_connection);
            }
            std::free(event);
        }
    }

    xcb_connection_t* m_connection;
    bool m_answersTargets;
    bool m_isDragging = false;
    xcb_window_t m_root = 0;
    xcb_window_t m_checkWindow = 0;
    xcb_window_t m_owner = 0;
    xcb_atom_t m_selection = 0;
    xcb_atom_t m_targets = 0;
    xcb_atom_t m_uriList = 0;
    xcb_atom_t m_check = 0;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

enum class EventType { LeftMouseDragged, LeftMouseUp };

// The back-end's services, the watcher and a DragMonitor on them.
struct Holdfin {
    Holdfin()
        : dragSelection(connection), eventMonitor(connection),
          watcher(connection, dragSelection, eventMonitor, {20ms, 300ms, 400ms}),
          monitor(mainQueue, dragSelection, eventMonitor) {
        QObject::connect(&eventMonitor, &backend::GlobalEventMonitor::leftButtonDragged,
                         [this] { events.push_back(EventType::LeftMouseDragged); });
        QObject::connect(&eventMonitor, &backend::GlobalEventMonitor::leftButtonReleased,
                         [this] { events.push_back(EventType::LeftMouseUp); });
    }
    int count(EventType type) const { return int(std::count(events.begin(), events.end(), type)); }

    core::QtMainQueue mainQueue;
    backend::x11::X11Connection connection;
    backend::x11::X11DragSelection dragSelection;
    backend::x11::X11GlobalEventMonitor eventMonitor;
    backend::x11::CompositorDragWatcher watcher;
    panel::DragMonitor monitor;
    std::vector<EventType> events;
};

struct Compositor {
    const char* name;
    bool answersTargets;
};

class CompositorDragTest : public testing::TestWithParam<Compositor> {};

// The drag shows as one dragged event once its types are known, the drag monitor's rule then
// publishes it; its end is one left-mouse-up: mutter's TARGETS going unanswered, or KWin's
// time bound.
TEST_P(CompositorDragTest, aNativeDragIsReportedFromItsStartToItsEnd) {
    FakeCompositor compositor(GetParam().answersTargets);
    Holdfin holdfin;
    compositor.startDrag();
    ASSERT_TRUE(waitFor([&] { return holdfin.monitor.isDragging(); }, 5s));
    EXPECT_EQ(holdfin.count(EventType::LeftMouseDragged), 1);
    EXPECT_TRUE(holdfin.dragSelection.isCompositorDrag());
    EXPECT_EQ(holdfin.dragSelection.hasCompositorAnsweredTargets(), GetParam().answersTargets);
    EXPECT_TRUE(holdfin.dragSelection.hasContent({DragContent::Url}))
        << "file URLs, as told or assumed";

    if (GetParam().answersTargets) {
        x11_tools::waitFor([] { return false; }, 200ms);
        EXPECT_TRUE(holdfin.watcher.isDragOn()) << "answering, the compositor's drag goes on";
    }
    compositor.endDrag();
    ASSERT_TRUE(waitFor([&] { return !holdfin.monitor.isDragging(); }, 5s));
    EXPECT_EQ(holdfin.count(EventType::LeftMouseUp), 1);
    EXPECT_FALSE(holdfin.watcher.isDragOn());

    compositor.startDrag();
    EXPECT_TRUE(waitFor([&] { return holdfin.monitor.isDragging(); }, 5s)) << "the next drag";
}

// The next owner of the selection, a drag of an X11 program, ends the native drag at once.
TEST_P(CompositorDragTest, theNextOwnerEndsTheDrag) {
    FakeCompositor compositor(GetParam().answersTargets);
    Holdfin holdfin;
    compositor.startDrag();
    ASSERT_TRUE(waitFor([&] { return holdfin.watcher.isDragOn(); }, 5s));

    xcb_connection_t* other = xcb_connect(nullptr, nullptr);
    const xcb_window_t window = xcb_generate_id(other);
    xcb_create_window(other, XCB_COPY_FROM_PARENT, window,
                      xcb_setup_roots_iterator(xcb_get_setup(other)).data->root, -1, -1, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    xcb_set_selection_owner(other, window, intern(other, "XdndSelection"), XCB_CURRENT_TIME);
    xcb_flush(other);
    EXPECT_TRUE(waitFor([&] { return holdfin.count(EventType::LeftMouseUp) == 1; }, 200ms));
    EXPECT_FALSE(holdfin.watcher.isDragOn());
    waitFor([&] { return !holdfin.dragSelection.isLearning(); }, 2s);
    EXPECT_FALSE(holdfin.dragSelection.isCompositorDrag()) << "an X11 program's drag";
    EXPECT_EQ(holdfin.count(EventType::LeftMouseDragged), 1) << "its input reports it, not we";
    xcb_disconnect(other);
}

INSTANTIATE_TEST_SUITE_P(Compositors, CompositorDragTest,
                         testing::Values(Compositor{"mutter", true}, Compositor{"kwin", false}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
