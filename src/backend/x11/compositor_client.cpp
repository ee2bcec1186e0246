#include "backend/x11/compositor_client.h"

#include "backend/x11/x11_connection.h"
#include "backend/x11/xcb_support.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace backend::x11 {

bool isCompositorWindow(X11Connection& connection, std::uint32_t window) {
    xcb_connection_t* c = connection.connection();
    if (!c || window == XCB_NONE)
        return false;
    const std::uint32_t check = connection.atom("_NET_SUPPORTING_WM_CHECK");
    Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        c, xcb_get_property(c, 0, connection.rootWindow(), check, XCB_ATOM_WINDOW, 0, 1), nullptr));
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) != 4)
        return false;
    const std::uint32_t wmWindow =
        *static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
    // Every client's ids share the server's mask; what lies outside it names the client.
    const std::uint32_t clientBits = ~xcb_get_setup(c)->resource_id_mask;
    return wmWindow != XCB_NONE && (wmWindow & clientBits) == (window & clientBits);
}

bool isWaylandSession(const QByteArray& waylandDisplay, const QByteArray& sessionType) {
    return !waylandDisplay.isEmpty() || sessionType.trimmed().toLower() == "wayland";
}

bool isWaylandSession() {
    return isWaylandSession(qgetenv("WAYLAND_DISPLAY"), qgetenv("XDG_SESSION_TYPE"));
}

} // namespace backend::x11
