#include "backend/x11/x11_desktop_settings.h"

#include "backend/x11/x11_connection.h"
#include "backend/x11/xcb_support.h"
#include "backend/x11/xsettings.h"

#include <QByteArray>
#include <QCoreApplication>

#include <xcb/xcb.h>
#include <xcb/xfixes.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <utility>

namespace backend::x11 {

namespace {

// Settings are small (a desktop's dozens of names); a bigger property is not one.
constexpr std::uint32_t kMaximumBytes = 1 << 20;

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

// The atoms of the settings selection of the screen $DISPLAY names (Qt connects to that
// one) and of its property; nothing when they cannot be had.
std::optional<std::pair<std::uint32_t, std::uint32_t>> settingsAtoms(xcb_connection_t* c,
                                                                     X11Connection& atoms) {
    char* host = nullptr;
    int display = 0;
    int screen = 0;
    const bool isParsed = c && xcb_parse_display(nullptr, &host, &display, &screen);
    std::free(host);
    if (!isParsed)
        return std::nullopt;
    const std::uint32_t selection = atoms.atom("_XSETTINGS_S" + std::to_string(screen));
    const std::uint32_t property = atoms.atom("_XSETTINGS_SETTINGS");
    if (selection == XCB_ATOM_NONE || property == XCB_ATOM_NONE)
        return std::nullopt;
    return std::pair(selection, property);
}

std::uint32_t selectionOwner(xcb_connection_t* c, std::uint32_t selection) {
    Reply<xcb_get_selection_owner_reply_t> owner(
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, selection), nullptr));
    return owner ? owner->owner : std::uint32_t{XCB_WINDOW_NONE};
}
} // namespace

X11DesktopSettings::X11DesktopSettings(X11Connection& atoms) : m_atoms(atoms) {
    xcb_connection_t* c = qtConnection();
    const auto settings = settingsAtoms(c, m_atoms);
    const xcb_query_extension_reply_t* xfixes =
        settings ? xcb_get_extension_data(c, &xcb_xfixes_id) : nullptr;
    if (!xfixes || !xfixes->present)
        return;
    m_connection = c;
    std::tie(m_selection, m_property) = *settings;
    m_xfixesFirstEvent = xfixes->first_event;
    // Qt has set up XFixes on its connection for its clipboard.
    xcb_xfixes_select_selection_input(c, xcb_setup_roots_iterator(xcb_get_setup(c)).data->root,
                                      m_selection,
                                      XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER |
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY |
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
    watchOwner();
    QCoreApplication::instance()->installNativeEventFilter(this);
}

X11DesktopSettings::~X11DesktopSettings() {
    if (m_connection && QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

void X11DesktopSettings::watchOwner() {
    m_owner = selectionOwner(m_connection, m_selection);
    if (m_owner != XCB_WINDOW_NONE) {
        // Qt's own XSettings reader selects these on the same connection, for the same window:
        // asking for both keeps its share. An owner gone meanwhile fails the request harmlessly.
        const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
        const xcb_void_cookie_t cookie =
            xcb_change_window_attributes_checked(m_connection, m_owner, XCB_CW_EVENT_MASK, &mask);
        xcb_discard_reply(m_connection, cookie.sequence);
    }
    xcb_flush(m_connection);
}

bool X11DesktopSettings::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    const int type = event->response_type & 0x7f;
    if (type == XCB_PROPERTY_NOTIFY) {
        const auto* notify = reinterpret_cast<const xcb_property_notify_event_t*>(event);
        if (notify->window == m_owner && notify->atom == m_property)
            emit valuesChanged();
    } else if (type == m_xfixesFirstEvent + XCB_XFIXES_SELECTION_NOTIFY) {
        const auto* notify = reinterpret_cast<const xcb_xfixes_selection_notify_event_t*>(event);
        if (notify->selection == m_selection) {
            watchOwner();
            emit valuesChanged();
        }
    }
    return false;
}

QVariantMap X11DesktopSettings::values() const {
    // Watched, the owner is known already.
    if (m_connection) {
        return m_owner == XCB_WINDOW_NONE
                   ? QVariantMap()
                   : parseXSettings(readProperty(m_connection, m_owner, m_property))
                         .value_or(QVariantMap());
    }
    xcb_connection_t* c = qtConnection();
    const auto settings = settingsAtoms(c, m_atoms);
    if (!settings)
        return {};
    const std::uint32_t owner = selectionOwner(c, settings->first);
    if (owner == XCB_WINDOW_NONE)
        return {};
    return parseXSettings(readProperty(c, owner, settings->second)).value_or(QVariantMap());
}

} // namespace backend::x11
