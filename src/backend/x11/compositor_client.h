#pragma once

#include <QByteArray>

#include <cstdint>

namespace backend::x11 {

class X11Connection;

// Whether `window` belongs to the X client of the window manager, that is of the Wayland
// compositor in a Wayland session: the client that owns the window named by the root's
// _NET_SUPPORTING_WM_CHECK. Such a client taking XdndSelection marks a native Wayland drag.
// One server round trip; false without a window manager or a connection. GUI thread only.
bool isCompositorWindow(X11Connection& connection, std::uint32_t window);

// Whether the environment Holdfin started in is a Wayland session (Holdfin then runs through
// XWayland): WAYLAND_DISPLAY is set or XDG_SESSION_TYPE says wayland.
bool isWaylandSession(const QByteArray& waylandDisplay, const QByteArray& sessionType);
bool isWaylandSession();

} // namespace backend::x11
