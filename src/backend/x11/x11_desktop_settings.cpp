#include "backend/x11/x11_desktop_settings.h"

#include "backend/x11/xsettings.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace backend::x11 {

namespace {
struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <typename T> using Reply = std::unique_ptr<T, FreeDeleter>;

// Settings are small (a desktop's dozens of names); a bigger property is not one.
constexpr std::uint32_t kMaximumBytes = 1 << 20;

std::uint32_t internAtom(xcb_connection_t* c, const std::string& name) {
    Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(name.size()), name.c_str()), nullptr));
    return reply ? reply->atom : std::uint32_t{XCB_ATOM_NONE};
}

QByteArray readProperty(xcb_connection_t* c, std::uint32_t window, std::uint32_t property) {
    // Asks for everything at once: a manager may rewrite the property between two reads.
    // A manager that has just gone leaves a window id that fails the read: taking the error
    // here keeps it out of Qt's event stream.
    xcb_generic_error_t* error = nullptr;
    Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        c,
        xcb_get_property(c, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, kMaximumBytes / 4),
        &error));
    std::free(error);
    if (!reply || reply->format != 8 || reply->bytes_after != 0)
        return {};
    return QByteArray(static_cast<const char*>(xcb_get_property_value(reply.get())),
                      xcb_get_property_value_length(reply.get()));
}
} // namespace

QVariantMap X11DesktopSettings::values() const {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* c = x11 ? x11->connection() : nullptr;
    // Qt connects to the screen $DISPLAY names.
    char* host = nullptr;
    int display = 0;
    int screen = 0;
    const bool isParsed = c && xcb_parse_display(nullptr, &host, &display, &screen);
    std::free(host);
    if (!isParsed)
        return {};
    const std::uint32_t selection = internAtom(c, "_XSETTINGS_S" + std::to_string(screen));
    const std::uint32_t property = internAtom(c, "_XSETTINGS_SETTINGS");
    if (selection == XCB_ATOM_NONE || property == XCB_ATOM_NONE)
        return {};
    Reply<xcb_get_selection_owner_reply_t> owner(
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, selection), nullptr));
    if (!owner || owner->owner == XCB_WINDOW_NONE)
        return {};
    return parseXSettings(readProperty(c, owner->owner, property)).value_or(QVariantMap());
}

} // namespace backend::x11
