#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <initializer_list>

namespace backend::x11 {

// Sends a 32-bit client message of `type` about `window` (up to five values) to `destination`,
// for the clients that selected `eventMask` there (none: the destination's owner). Not flushed.
inline void sendClientMessage(xcb_connection_t* connection, std::uint32_t destination,
                              std::uint32_t eventMask, std::uint32_t window, std::uint32_t type,
                              std::initializer_list<std::uint32_t> data) {
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = type;
    int i = 0;
    for (std::uint32_t value : data)
        event.data.data32[i++] = value;
    xcb_send_event(connection, 0, destination, eventMask, reinterpret_cast<const char*>(&event));
}

} // namespace backend::x11
