#pragma once

#include <xcb/xcb.h>

// Shared by the X11 test programs that answer selection requests themselves.
namespace test_programs {

// Tells the requestor of `request` that its answer is in `property` (none: refused).
inline void notifyRequestor(xcb_connection_t* connection,
                            const xcb_selection_request_event_t& request, xcb_atom_t property) {
    xcb_selection_notify_event_t notify{};
    notify.response_type = XCB_SELECTION_NOTIFY;
    notify.time = request.time;
    notify.requestor = request.requestor;
    notify.selection = request.selection;
    notify.target = request.target;
    notify.property = property;
    xcb_send_event(connection, 0, request.requestor, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&notify));
    xcb_flush(connection);
}

} // namespace test_programs
