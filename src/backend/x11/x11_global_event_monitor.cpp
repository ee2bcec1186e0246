#include "backend/x11/x11_global_event_monitor.h"

#include "backend/x11/input_mapping.h"
#include "backend/x11/logging.h"
#include "backend/x11/x11_connection.h"
#include "backend/x11/xcb_support.h"

#include <xcb/xcb.h>
#include <xcb/xinput.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace backend::x11 {

namespace {

constexpr std::uint32_t kEscapeKeysym = 0xff1b; // XK_Escape

} // namespace

X11GlobalEventMonitor::X11GlobalEventMonitor(X11Connection& connection, QObject* parent)
    : GlobalEventMonitor(parent), m_connection(connection) {
    if (!connection.isOpen())
        return;
    if (connection.xinputOpcode() < 0) {
        qCWarning(lcX11, "cannot watch the mouse: the X server lacks XInput 2.2");
        return;
    }
    m_isAvailable = true;
    readPointerMapping();
    readKeyboardMapping();
    m_listener = connection.addListener([this](const void* event) { handleEvent(event); });
    // Started in the middle of a drag: its button is already down.
    xcb_connection_t* c = connection.connection();
    Reply<xcb_query_pointer_reply_t> pointer(
        xcb_query_pointer_reply(c, xcb_query_pointer(c, connection.rootWindow()), nullptr));
    if (pointer && (pointer->mask & XCB_BUTTON_MASK_1))
        m_leftButtonsDown = 1;
    connection.dispatchEventsLater();
    selectEvents();
}

X11GlobalEventMonitor::~X11GlobalEventMonitor() {
    m_connection.removeListener(m_listener);
}

void X11GlobalEventMonitor::keysWantedChanged() {
    selectEvents();
}

void X11GlobalEventMonitor::ownDragEnded() {
    // Our own drag's ownership of the XDND selection reaches the second connection
    // asynchronously: make sure it has been counted before the drag session reads the count.
    m_connection.sync();
}

void X11GlobalEventMonitor::selectEvents() {
    if (!m_isAvailable)
        return;
    const int wanted = (m_leftButtonsDown > 0 ? kMotion : 0) | (wantsKeys() ? kKeys : 0);
    if (wanted == m_selected)
        return;
    std::uint32_t bits =
        XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_PRESS | XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_RELEASE;
    if (wanted & kMotion)
        bits |= XCB_INPUT_XI_EVENT_MASK_RAW_MOTION;
    if (wanted & kKeys)
        bits |= XCB_INPUT_XI_EVENT_MASK_RAW_KEY_PRESS;
    struct {
        xcb_input_event_mask_t header;
        std::uint32_t bits;
    } mask{{XCB_INPUT_DEVICE_ALL_MASTER, 1}, bits};
    xcb_input_xi_select_events(m_connection.connection(), m_connection.rootWindow(), 1,
                               &mask.header);
    m_connection.flush();
    m_selected = wanted;
}

void X11GlobalEventMonitor::readPointerMapping() {
    xcb_connection_t* c = m_connection.connection();
    Reply<xcb_get_pointer_mapping_reply_t> reply(
        xcb_get_pointer_mapping_reply(c, xcb_get_pointer_mapping(c), nullptr));
    if (!reply)
        return;
    const std::uint8_t* map = xcb_get_pointer_mapping_map(reply.get());
    m_pointerMapping.assign(map, map + xcb_get_pointer_mapping_map_length(reply.get()));
}

void X11GlobalEventMonitor::readKeyboardMapping() {
    xcb_connection_t* c = m_connection.connection();
    const xcb_setup_t* setup = xcb_get_setup(c);
    const std::uint8_t first = setup->min_keycode;
    const std::uint8_t count = std::uint8_t(setup->max_keycode - first + 1);
    Reply<xcb_get_keyboard_mapping_reply_t> reply(
        xcb_get_keyboard_mapping_reply(c, xcb_get_keyboard_mapping(c, first, count), nullptr));
    if (!reply)
        return;
    const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(reply.get());
    const std::vector<std::uint32_t> table(
        keysyms, keysyms + xcb_get_keyboard_mapping_keysyms_length(reply.get()));
    m_escapeKeycodes = keycodesWithKeysym(first, reply->keysyms_per_keycode, table, kEscapeKeysym);
}

void X11GlobalEventMonitor::handleEvent(const void* data) {
    const auto& event = *static_cast<const xcb_generic_event_t*>(data);
    const int type = event.response_type & 0x7f;
    if (type == XCB_MAPPING_NOTIFY) {
        const auto& e = reinterpret_cast<const xcb_mapping_notify_event_t&>(event);
        if (e.request == XCB_MAPPING_POINTER)
            readPointerMapping();
        else if (e.request == XCB_MAPPING_KEYBOARD)
            readKeyboardMapping();
        return;
    }
    if (type != XCB_GE_GENERIC)
        return;
    const auto& generic = reinterpret_cast<const xcb_ge_generic_event_t&>(event);
    if (generic.extension != m_connection.xinputOpcode())
        return;
    const auto& raw = reinterpret_cast<const xcb_input_raw_button_press_event_t&>(event);
    switch (generic.event_type) {
    case XCB_INPUT_RAW_BUTTON_PRESS:
        if (logicalButton(m_pointerMapping, raw.detail) == 1 && m_leftButtonsDown++ == 0)
            selectEvents();
        break;
    case XCB_INPUT_RAW_BUTTON_RELEASE:
        if (logicalButton(m_pointerMapping, raw.detail) != 1)
            break;
        m_leftButtonsDown = std::max(0, m_leftButtonsDown - 1);
        if (m_leftButtonsDown == 0)
            selectEvents();
        reportLeftButtonReleased();
        break;
    case XCB_INPUT_RAW_MOTION:
        if (m_leftButtonsDown > 0)
            reportLeftButtonDragged();
        break;
    case XCB_INPUT_RAW_KEY_PRESS:
        if (std::find(m_escapeKeycodes.begin(), m_escapeKeycodes.end(), raw.detail) !=
            m_escapeKeycodes.end())
            reportEscapePressed();
        break;
    default:
        break;
    }
}

} // namespace backend::x11
