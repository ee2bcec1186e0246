#include "backend/x11/x11_window_system.h"

#include "backend/x11/client_message.h"
#include "backend/x11/x11_connection.h"
#include "backend/x11/xcb_support.h"

#include <QCoreApplication>
#include <QVariant>
#include <QWindow>

#include <xcb/xcb.h>
#include <xcb/xfixes.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <utility>
#include <vector>

namespace backend::x11 {

namespace {
constexpr std::uint32_t kAllDesktops = 0xFFFFFFFF;
constexpr std::uint32_t kStateRemove = 0;
constexpr std::uint32_t kStateAdd = 1;
constexpr std::uint32_t kSourcePager = 2;

std::vector<std::uint32_t> readCardinals(xcb_connection_t* c, std::uint32_t window,
                                         std::uint32_t property, std::uint32_t type) {
    Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        c, xcb_get_property(c, 0, window, property, type, 0, 4096), nullptr));
    if (!reply || reply->format != 32 || reply->type != type)
        return {};
    const auto* data = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
    return {data, data + xcb_get_property_value_length(reply.get()) / 4};
}
} // namespace

X11WindowSystem::X11WindowSystem(X11Connection& atoms, bool isWaylandSession)
    : m_atoms(atoms), m_isWaylandSession(isWaylandSession) {
    m_connection = qtConnection();
    if (!m_connection)
        return;
    m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    // A drag's first showing of the panel then waits for nothing.
    m_atoms.internAtoms({"_NET_WM_STATE", "_NET_WM_STATE_ABOVE", "_NET_WM_STATE_STICKY",
                         "_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER",
                         "_NET_WM_STATE_FULLSCREEN", "_NET_WM_STATE_DEMANDS_ATTENTION",
                         "_NET_WM_DESKTOP", "_NET_ACTIVE_WINDOW", "_NET_CLIENT_LIST_STACKING",
                         "_NET_WM_WINDOW_TYPE", "_NET_WM_WINDOW_TYPE_DOCK",
                         "_NET_WM_WINDOW_TYPE_UTILITY"});
    QCoreApplication::instance()->installNativeEventFilter(this);
}

X11WindowSystem::~X11WindowSystem() {
    if (m_connection && QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool X11WindowSystem::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (m_panels.isEmpty() || eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY) {
        const auto* notify = reinterpret_cast<const xcb_property_notify_event_t*>(event);
        if (m_panels.contains(notify->window) && notify->atom == atom("_NET_WM_STATE"))
            dropDemandsAttention(notify->window);
        return false;
    }
    if ((event->response_type & 0x7f) != XCB_REPARENT_NOTIFY)
        return false;
    // A window manager that withdraws a window wipes its states, and one shown again quickly
    // can be managed with the wiped ones. Being put into a frame is the sure sign of being
    // managed (again): ask for the states then.
    const auto* reparent = reinterpret_cast<const xcb_reparent_notify_event_t*>(event);
    if (m_panels.contains(reparent->window) && reparent->parent != m_root)
        requestPanelStates(reparent->window);
    return false;
}

void X11WindowSystem::requestPanelStates(Window window) {
    const Atom netWmState = atom("_NET_WM_STATE");
    for (const char* state : {"_NET_WM_STATE_ABOVE", "_NET_WM_STATE_STICKY",
                              "_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"})
        sendToRoot(window, netWmState, {kStateAdd, atom(state), 0, 1});
    sendToRoot(window, atom("_NET_WM_DESKTOP"), {kAllDesktops, kSourcePager});
    xcb_flush(m_connection);
}

void X11WindowSystem::dropDemandsAttention(Window window) {
    const Atom attention = atom("_NET_WM_STATE_DEMANDS_ATTENTION");
    const auto states = readCardinals(m_connection, window, atom("_NET_WM_STATE"), XCB_ATOM_ATOM);
    if (std::find(states.begin(), states.end(), attention) == states.end())
        return;
    sendToRoot(window, atom("_NET_WM_STATE"), {kStateRemove, attention, 0, kSourcePager});
    xcb_flush(m_connection);
}

X11WindowSystem::Atom X11WindowSystem::atom(const char* name) {
    return m_atoms.atom(name);
}

bool X11WindowSystem::isMapped(Window window) const {
    Reply<xcb_get_window_attributes_reply_t> reply(xcb_get_window_attributes_reply(
        m_connection, xcb_get_window_attributes(m_connection, window), nullptr));
    return reply && reply->map_state != XCB_MAP_STATE_UNMAPPED;
}

bool X11WindowSystem::isOwn(Window window) const {
    const xcb_setup_t* setup = xcb_get_setup(m_connection);
    return (window & ~setup->resource_id_mask) == setup->resource_id_base;
}

void X11WindowSystem::sendToRoot(Window window, Atom type,
                                 std::initializer_list<std::uint32_t> data) {
    sendClientMessage(m_connection, m_root,
                      XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                      window, type, data);
}

void X11WindowSystem::changeStates(Window window, std::initializer_list<Atom> states, bool add) {
    const Atom netWmState = atom("_NET_WM_STATE");
    if (isMapped(window)) {
        for (Atom state : states)
            sendToRoot(window, netWmState, {add ? kStateAdd : kStateRemove, state, 0, 1});
        xcb_flush(m_connection);
        return;
    }
    // Qt merges its own states into what is already there when it maps the window.
    std::vector<std::uint32_t> current =
        readCardinals(m_connection, window, netWmState, XCB_ATOM_ATOM);
    for (Atom state : states) {
        std::erase(current, state);
        if (add)
            current.push_back(state);
    }
    xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, window, netWmState, XCB_ATOM_ATOM, 32,
                        static_cast<std::uint32_t>(current.size()), current.data());
    xcb_flush(m_connection);
}

void X11WindowSystem::preparePanel(QWindow* window) {
    if (!m_connection || !window)
        return;
    const auto id = static_cast<Window>(window->winId());
    m_panels.insert(id);
    changeStates(id,
                 {atom("_NET_WM_STATE_ABOVE"), atom("_NET_WM_STATE_STICKY"),
                  atom("_NET_WM_STATE_SKIP_TASKBAR"), atom("_NET_WM_STATE_SKIP_PAGER")},
                 true);
    const Atom desktop = atom("_NET_WM_DESKTOP");
    if (isMapped(id))
        sendToRoot(id, desktop, {kAllDesktops, kSourcePager});
    else
        xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, id, desktop, XCB_ATOM_CARDINAL, 32,
                            1, &kAllDesktops);
    // A dismissed panel waits outside the screens, mapped. Window managers keep a normal (or
    // utility) window at least partly on screen, openbox a tenth of it; a dock, which the panel
    // at the screen's edge is, may go anywhere. Openbox reads it on map only, others on every
    // change, and Qt writes its own type whenever the window's flags change.
    setWindowType(id, "_NET_WM_WINDOW_TYPE_DOCK");
    // Qt writes the type this property names (its xcb window types; 0x4 is a dock) whenever
    // it writes one itself, as it does when the panel takes or gives up the focus: a panel
    // retyped a utility window for a moment could be managed as one, kept partly on screen.
    window->setProperty("_q_xcb_wm_window_type", 0x4);
}

void X11WindowSystem::setSkipTaskbar(QWindow* window, bool skip) {
    if (!m_connection || !window)
        return;
    changeStates(static_cast<Window>(window->winId()), {atom("_NET_WM_STATE_SKIP_TASKBAR")}, skip);
}

void X11WindowSystem::letInputPass(QWindow* window) {
    if (!m_connection || !window)
        return;
    // Qt's own flag for this is lost when Qt recreates a window's native handle, as it does
    // for tooltips: an empty input shape set on the handle of the moment holds.
    constexpr std::uint8_t kInputShape = 2;
    const xcb_xfixes_region_t nothing = xcb_generate_id(m_connection);
    xcb_xfixes_create_region(m_connection, nothing, 0, nullptr);
    xcb_xfixes_set_window_shape_region(m_connection, static_cast<xcb_window_t>(window->winId()),
                                       kInputShape, 0, 0, nothing);
    xcb_xfixes_destroy_region(m_connection, nothing);
    xcb_flush(m_connection);
}

void X11WindowSystem::setOwnDragInProgress(bool inProgress) {
    if (!m_connection || !m_isWaylandSession)
        return;
    const Atom windowType = atom("_NET_WM_WINDOW_TYPE");
    if (inProgress) {
        // An unmapped panel lies under no pointer, and must be a dock when it maps.
        for (Window panel : std::as_const(m_panels)) {
            if (isMapped(panel))
                m_retypedPanels.push_back(panel);
        }
    }
    const Atom type = atom(inProgress ? "_NET_WM_WINDOW_TYPE_UTILITY" : "_NET_WM_WINDOW_TYPE_DOCK");
    for (Window panel : m_retypedPanels) {
        // A panel destroyed meanwhile has nothing left to restore: its error is dropped.
        const xcb_void_cookie_t cookie = xcb_change_property_checked(
            m_connection, XCB_PROP_MODE_REPLACE, panel, windowType, XCB_ATOM_ATOM, 32, 1, &type);
        xcb_discard_reply(m_connection, cookie.sequence);
    }
    if (!inProgress)
        m_retypedPanels.clear();
    xcb_flush(m_connection);
}

void X11WindowSystem::liftAboveFullScreen(QWindow* window, bool isLifted) {
    if (!m_connection || !window)
        return;
    const auto id = static_cast<Window>(window->winId());
    if (m_isWaylandSession) {
        liftInWaylandSession(id, isLifted);
        return;
    }
    if (!isLifted) {
        if (m_liftedPanels.remove(id))
            xcb_delete_property(m_connection, id, XCB_ATOM_WM_TRANSIENT_FOR);
        xcb_flush(m_connection);
        return;
    }
    const auto active =
        readCardinals(m_connection, m_root, atom("_NET_ACTIVE_WINDOW"), XCB_ATOM_WINDOW);
    if (active.empty() || active.front() == 0 || isOwn(active.front()))
        return;
    const auto states =
        readCardinals(m_connection, active.front(), atom("_NET_WM_STATE"), XCB_ATOM_ATOM);
    if (std::find(states.begin(), states.end(), atom("_NET_WM_STATE_FULLSCREEN")) == states.end())
        return;
    const Window owner = active.front();
    xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_TRANSIENT_FOR,
                        XCB_ATOM_WINDOW, 32, 1, &owner);
    m_liftedPanels.insert(id);
    // Raised within the full-screen layer it joined; a window manager that stacks transients
    // itself has done so already.
    const std::uint32_t above = XCB_STACK_MODE_ABOVE;
    xcb_configure_window(m_connection, id, XCB_CONFIG_WINDOW_STACK_MODE, &above);
    xcb_flush(m_connection);
}

void X11WindowSystem::setWindowType(Window window, const char* type) {
    const Atom value = atom(type);
    xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, window, atom("_NET_WM_WINDOW_TYPE"),
                        XCB_ATOM_ATOM, 32, 1, &value);
    xcb_flush(m_connection);
}

void X11WindowSystem::liftInWaylandSession(Window window, bool isLifted) {
    if (isLifted == m_liftedPanels.contains(window))
        return;
    // Shown next, the panel is raised within its new layer; it is a dock again before it
    // leaves the screens, where only a dock may wait.
    if (isLifted)
        m_liftedPanels.insert(window);
    else
        m_liftedPanels.remove(window);
    setWindowType(window, isLifted ? "_NET_WM_WINDOW_TYPE_UTILITY" : "_NET_WM_WINDOW_TYPE_DOCK");
}

void X11WindowSystem::yieldActivation() {
    if (!m_connection)
        return;
    const auto active =
        readCardinals(m_connection, m_root, atom("_NET_ACTIVE_WINDOW"), XCB_ATOM_WINDOW);
    if (active.empty() || active.front() == 0 || !isOwn(active.front()))
        return;
    // The topmost window of another client takes over, as if the user had clicked it.
    const auto stacking =
        readCardinals(m_connection, m_root, atom("_NET_CLIENT_LIST_STACKING"), XCB_ATOM_WINDOW);
    for (auto it = stacking.rbegin(); it != stacking.rend(); ++it) {
        if (isOwn(*it) || !isMapped(*it))
            continue;
        sendToRoot(*it, atom("_NET_ACTIVE_WINDOW"), {kSourcePager, XCB_CURRENT_TIME, 0});
        xcb_flush(m_connection);
        return;
    }
}

} // namespace backend::x11
