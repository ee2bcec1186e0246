#include "backend/x11/x11_work_area.h"

#include "backend/x11/x11_connection.h"
#include "backend/x11/xcb_support.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#include <vector>

namespace backend::x11 {

namespace {

std::vector<std::uint32_t> readCardinals(xcb_connection_t* c, std::uint32_t window,
                                         std::uint32_t property) {
    if (property == XCB_ATOM_NONE)
        return {};
    Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        c, xcb_get_property(c, 0, window, property, XCB_ATOM_CARDINAL, 0, 4096), nullptr));
    if (!reply || reply->format != 32 || reply->type != XCB_ATOM_CARDINAL)
        return {};
    const auto* data = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
    return {data, data + xcb_get_property_value_length(reply.get()) / 4};
}
} // namespace

std::optional<QRect> X11WorkArea::currentWorkArea() const {
    xcb_connection_t* c = qtConnection();
    if (!c)
        return std::nullopt;
    const std::uint32_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const auto areas = readCardinals(c, root, m_atoms.atom("_NET_WORKAREA"));
    const auto current = readCardinals(c, root, m_atoms.atom("_NET_CURRENT_DESKTOP"));
    const std::size_t desktop = current.empty() ? 0 : current.front();
    // Four values (x, y, width, height) per desktop.
    if (areas.size() < (desktop + 1) * 4)
        return std::nullopt;
    const std::uint32_t* area = areas.data() + desktop * 4;
    if (area[2] == 0 || area[3] == 0)
        return std::nullopt;
    return QRect(static_cast<int>(area[0]), static_cast<int>(area[1]), static_cast<int>(area[2]),
                 static_cast<int>(area[3]));
}

} // namespace backend::x11
