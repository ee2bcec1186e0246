#include "backend/x11/compositor_drag_watcher.h"

#include "backend/x11/logging.h"
#include "backend/x11/x11_connection.h"
#include "backend/x11/x11_drag_selection.h"
#include "backend/x11/x11_global_event_monitor.h"
#include "backend/x11/xcb_support.h"

#include <QCoreApplication>

#include "backend/x11/client_message.h"

#include <xcb/xcb.h>
#include <xcb/xfixes.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <memory>

namespace backend::x11 {

CompositorDragWatcher::CompositorDragWatcher(X11Connection& connection,
                                             X11DragSelection& dragSelection,
                                             X11GlobalEventMonitor& eventMonitor, Timing timing,
                                             QObject* parent)
    : QObject(parent), m_connection(connection), m_dragSelection(dragSelection),
      m_eventMonitor(eventMonitor), m_timing(timing) {
    m_pollTimer.setSingleShot(true);
    m_pollTimer.setInterval(m_timing.pollInterval);
    connect(&m_pollTimer, &QTimer::timeout, this, &CompositorDragWatcher::poll);
    m_answerTimer.setSingleShot(true);
    m_answerTimer.setInterval(m_timing.answerBound);
    // A compositor that stops answering at all has ended its drag too.
    connect(&m_answerTimer, &QTimer::timeout, this, &CompositorDragWatcher::end);
    m_boundTimer.setSingleShot(true);
    m_boundTimer.setInterval(m_timing.timeBound);
    connect(&m_boundTimer, &QTimer::timeout, this, &CompositorDragWatcher::end);
    if (!connection.isOpen() || connection.xfixesFirstEvent() < 0)
        return;
    // With the rest of what mutter offers (STRING, TIMESTAMP) named now, learning a first drag's
    // types waits for no names.
    connection.internAtoms({"XdndSelection", "TARGETS", "_HOLDFIN_COMPOSITOR_DRAG", "XdndEnter",
                            "XdndPosition", "XdndLeave", "XdndDrop", "_NET_ACTIVE_WINDOW", "STRING",
                            "TIMESTAMP"});
    m_selection = connection.atom("XdndSelection");
    m_targets = connection.atom("TARGETS");
    m_property = connection.atom("_HOLDFIN_COMPOSITOR_DRAG");
    m_enter = connection.atom("XdndEnter");
    m_position = connection.atom("XdndPosition");
    m_leave = connection.atom("XdndLeave");
    m_drop = connection.atom("XdndDrop");
    m_activeWindow = connection.atom("_NET_ACTIVE_WINDOW");
    // A window of its own: the drag selection takes every answer to its helper window for its own.
    m_requestor = connection.createRequestorWindow();
    connection.flush();
    m_listener = connection.addListener([this](const void* event) { handleEvent(event); });
    connect(&dragSelection, &X11DragSelection::serialChanged, this, [this] {
        if (m_dragSelection.isCompositorDrag())
            begin();
    });
    if (QCoreApplication::instance())
        QCoreApplication::instance()->installNativeEventFilter(this);
}

CompositorDragWatcher::~CompositorDragWatcher() {
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
    if (!m_requestor)
        return;
    m_connection.removeListener(m_listener);
    xcb_destroy_window(m_connection.connection(), m_requestor);
    m_connection.flush();
}

void CompositorDragWatcher::begin() {
    qCDebug(lcX11, "native Wayland drag (TARGETS %s)",
            m_dragSelection.hasCompositorAnsweredTargets() ? "answered" : "refused");
    m_isOn = true;
    m_answerTimer.stop();
    if (m_dragSelection.hasCompositorAnsweredTargets())
        m_pollTimer.start();
    else
        m_boundTimer.start();
    emit dragStarted();
    m_eventMonitor.reportLeftButtonDragged();
}

void CompositorDragWatcher::end() {
    if (!m_isOn)
        return;
    qCDebug(lcX11, "native Wayland drag over");
    m_isOn = false;
    m_pollTimer.stop();
    m_answerTimer.stop();
    m_boundTimer.stop();
    if (m_focusedWindow) {
        setAcceptsFocus(m_focusedWindow, false);
        m_focusedWindow = 0;
    }
    emit dragEnded();
    m_eventMonitor.reportLeftButtonReleased();
}

void CompositorDragWatcher::poll() {
    if (!m_isOn || m_answerTimer.isActive())
        return;
    xcb_convert_selection(m_connection.connection(), m_requestor, m_selection, m_targets,
                          m_property, m_dragSelection.ownerTime());
    m_connection.flush();
    m_answerTimer.start();
}

void CompositorDragWatcher::setAcceptsFocus(std::uint32_t window, bool accepts) {
    xcb_connection_t* c = m_connection.connection();
    // WM_HINTS: flags, input, then seven fields this leaves alone.
    std::array<std::uint32_t, 9> hints{};
    Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        c, xcb_get_property(c, 0, window, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS, 0, 9), nullptr));
    if (reply && reply->format == 32) {
        const int count = std::min<int>(xcb_get_property_value_length(reply.get()) / 4, 9);
        const auto* values = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
        std::copy(values, values + count, hints.begin());
    }
    m_connection.dispatchEventsLater();
    constexpr std::uint32_t kInputHint = 1;
    hints[0] |= kInputHint;
    hints[1] = accepts ? 1 : 0;
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS, 32,
                        hints.size(), hints.data());
    if (accepts) {
        constexpr std::uint32_t kFromPager = 2; // a request the user made, not the application
        sendClientMessage(c, m_connection.rootWindow(),
                          XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                          window, m_activeWindow, {kFromPager, XCB_CURRENT_TIME, 0});
    }
    m_connection.flush();
}

void CompositorDragWatcher::handleEvent(const void* data) {
    const auto& event = *static_cast<const xcb_generic_event_t*>(data);
    const int type = event.response_type & 0x7f;
    if (type == m_connection.xfixesFirstEvent() + XCB_XFIXES_SELECTION_NOTIFY) {
        const auto& e = reinterpret_cast<const xcb_xfixes_selection_notify_event_t&>(event);
        // Whoever owns the selection now, the drag that was on is over.
        if (e.selection == m_selection)
            end();
    } else if (type == XCB_SELECTION_NOTIFY) {
        const auto& e = reinterpret_cast<const xcb_selection_notify_event_t&>(event);
        if (e.requestor != m_requestor || !m_answerTimer.isActive())
            return;
        m_answerTimer.stop();
        if (e.property == XCB_NONE) {
            end(); // mutter stops answering once its drag is over
            return;
        }
        xcb_delete_property(m_connection.connection(), m_requestor, e.property);
        m_connection.flush();
        if (m_isOn)
            m_pollTimer.start();
    }
}

bool CompositorDragWatcher::nativeEventFilter(const QByteArray& eventType, void* message,
                                              qintptr*) {
    if (!m_isOn || eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE)
        return false;
    const auto* e = reinterpret_cast<const xcb_client_message_event_t*>(event);
    if (e->format != 32 || e->data.data32[0] != m_dragSelection.owner())
        return false;
    if (e->type == m_drop) {
        end();
    } else if (m_dragSelection.hasCompositorAnsweredTargets()) {
        // Over a Wayland window the drag may go on: ask at once.
        if (e->type == m_leave) {
            m_pollTimer.stop();
            poll();
        }
    } else if (e->type == m_enter || e->type == m_position || e->type == m_leave) {
        // KWin: a drag that left goes on over a Wayland window, where nothing tells of it, and
        // may come back; only the bound ends it.
        m_boundTimer.start();
        // KWin refuses data to a window that is not active, and gives the activation away each
        // time the drag leaves: asked again at every entry.
        if (e->type == m_enter) {
            if (m_focusedWindow && m_focusedWindow != e->window)
                setAcceptsFocus(m_focusedWindow, false);
            m_focusedWindow = e->window;
            setAcceptsFocus(m_focusedWindow, true);
        }
    }
    return false; // Qt and the drop reader handle the drag as usual
}

} // namespace backend::x11
