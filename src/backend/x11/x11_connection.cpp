#include "backend/x11/x11_connection.h"

#include "backend/x11/logging.h"
#include "backend/x11/xcb_support.h"

#include <QSocketNotifier>

#include <xcb/xcb.h>
#include <xcb/xfixes.h>
#include <xcb/xinput.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace backend::x11 {

X11Connection::X11Connection(LostHandler onLost, QObject* parent)
    : QObject(parent), m_onLost(std::move(onLost)) {
    if (!m_onLost)
        m_onLost = [] {
            qCWarning(lcX11, "lost the connection to the X server");
            std::fflush(stdout);
            std::_Exit(1);
        };

    // Holdfin's own windows are Qt's: their ids carry the resource base of Qt's connection.
    if (xcb_connection_t* qt = qtConnection()) {
        const xcb_setup_t* setup = xcb_get_setup(qt);
        m_ownResourceBase = setup->resource_id_base;
        m_ownResourceMask = setup->resource_id_mask;
    }

    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        qCWarning(lcX11, "cannot watch drags: a second connection to the X server failed");
        return;
    }
    m_connection = connection;
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(m_connection));
    for (int i = 0; i < screenNumber && screens.rem; ++i)
        xcb_screen_next(&screens);
    m_root = screens.data->root;

    m_helperWindow = createRequestorWindow();
    queryExtensions();
    readServerTime();

    m_notifier =
        new QSocketNotifier(xcb_get_file_descriptor(m_connection), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &X11Connection::dispatchEvents);
    // Round trips made while setting up may have queued events the socket no longer shows.
    QMetaObject::invokeMethod(this, &X11Connection::dispatchEvents, Qt::QueuedConnection);
    flush();
}

X11Connection::~X11Connection() {
    if (m_connection)
        xcb_disconnect(m_connection);
}

void X11Connection::readServerTime() {
    // Nothing else is selected on this connection yet, so the property's notice is the one
    // event to wait for.
    const std::uint32_t window = createRequestorWindow(XCB_EVENT_MASK_PROPERTY_CHANGE);
    xcb_change_property(m_connection, XCB_PROP_MODE_APPEND, window, XCB_ATOM_WM_NAME,
                        XCB_ATOM_STRING, 8, 0, nullptr);
    xcb_flush(m_connection);
    while (Reply<xcb_generic_event_t> event{xcb_wait_for_event(m_connection)}) {
        if ((event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY) {
            m_serverTimeAtStart =
                reinterpret_cast<const xcb_property_notify_event_t*>(event.get())->time;
            m_sinceServerTime.start();
            break;
        }
    }
    // Unheard, its end would delete the property with one more notice.
    const std::uint32_t noEvents = 0;
    xcb_change_window_attributes(m_connection, window, XCB_CW_EVENT_MASK, &noEvents);
    xcb_destroy_window(m_connection, window);
}

std::uint32_t X11Connection::serverTimeNow() const {
    if (!m_sinceServerTime.isValid())
        return 0;
    return m_serverTimeAtStart + std::uint32_t(m_sinceServerTime.elapsed());
}

bool X11Connection::isFromTheFuture(std::uint32_t time) const {
    // Clocks of one machine agree to the millisecond; a remote server's may drift a little.
    constexpr std::int32_t kSlack = 60'000;
    return m_sinceServerTime.isValid() && time != 0 &&
           std::int32_t(time - serverTimeNow()) > kSlack;
}

void X11Connection::queryExtensions() {
    xcb_prefetch_extension_data(m_connection, &xcb_xfixes_id);
    xcb_prefetch_extension_data(m_connection, &xcb_input_id);
    const xcb_query_extension_reply_t* xfixes =
        xcb_get_extension_data(m_connection, &xcb_xfixes_id);
    if (xfixes && xfixes->present) {
        Reply<xcb_xfixes_query_version_reply_t> version(xcb_xfixes_query_version_reply(
            m_connection, xcb_xfixes_query_version(m_connection, 5, 0), nullptr));
        if (version && version->major_version >= 2)
            m_xfixesFirstEvent = xfixes->first_event;
    }
    const xcb_query_extension_reply_t* xinput = xcb_get_extension_data(m_connection, &xcb_input_id);
    if (xinput && xinput->present) {
        Reply<xcb_input_xi_query_version_reply_t> version(xcb_input_xi_query_version_reply(
            m_connection, xcb_input_xi_query_version(m_connection, 2, 2), nullptr));
        if (version && (version->major_version > 2 ||
                        (version->major_version == 2 && version->minor_version >= 2)))
            m_xinputOpcode = xinput->major_opcode;
    }
}

std::uint32_t X11Connection::createRequestorWindow(std::uint32_t eventMask) {
    const std::uint32_t window = xcb_generate_id(m_connection);
    xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, window, m_root, -1, -1, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT,
                      eventMask ? XCB_CW_EVENT_MASK : 0, eventMask ? &eventMask : nullptr);
    return window;
}

bool X11Connection::isOwnWindow(std::uint32_t window) const {
    return m_ownResourceMask != 0 && (window & ~m_ownResourceMask) == m_ownResourceBase;
}

std::uint32_t X11Connection::atom(const std::string& name) {
    internAtoms({name});
    const auto found = m_atoms.find(name);
    return found == m_atoms.end() ? 0 : found->second;
}

void X11Connection::internAtoms(const std::vector<std::string>& names) {
    if (!m_connection)
        return;
    std::vector<std::pair<std::string, xcb_intern_atom_cookie_t>> cookies;
    for (const std::string& name : names) {
        if (!m_atoms.contains(name))
            cookies.emplace_back(
                name, xcb_intern_atom(m_connection, 0, std::uint16_t(name.size()), name.data()));
    }
    for (const auto& [name, cookie] : cookies) {
        Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(m_connection, cookie, nullptr));
        if (reply) {
            m_atoms[name] = reply->atom;
            m_atomNames[reply->atom] = name;
        }
    }
    if (!cookies.empty())
        dispatchEventsLater();
    checkLost();
}

std::string X11Connection::atomName(std::uint32_t atom) {
    return atomNames({atom}).front();
}

std::vector<std::string> X11Connection::atomNames(const std::vector<std::uint32_t>& atoms) {
    std::vector<std::pair<std::uint32_t, xcb_get_atom_name_cookie_t>> cookies;
    if (m_connection) {
        for (std::uint32_t atom : atoms) {
            if (atom != XCB_ATOM_NONE && !m_atomNames.contains(atom))
                cookies.emplace_back(atom, xcb_get_atom_name(m_connection, atom));
        }
    }
    for (const auto& [atom, cookie] : cookies) {
        Reply<xcb_get_atom_name_reply_t> reply(
            xcb_get_atom_name_reply(m_connection, cookie, nullptr));
        if (reply)
            m_atomNames[atom] =
                std::string(xcb_get_atom_name_name(reply.get()),
                            std::size_t(xcb_get_atom_name_name_length(reply.get())));
    }
    if (!cookies.empty())
        dispatchEventsLater();
    checkLost();
    std::vector<std::string> names;
    names.reserve(atoms.size());
    for (std::uint32_t atom : atoms) {
        const auto found = m_atomNames.find(atom);
        names.push_back(found == m_atomNames.end() ? std::string() : found->second);
    }
    return names;
}

int X11Connection::addListener(Listener listener) {
    const int id = m_nextListener++;
    m_listeners.emplace(id, Registration{std::move(listener), false});
    return id;
}

void X11Connection::removeListener(int id) {
    const auto found = m_listeners.find(id);
    if (found == m_listeners.end())
        return;
    // During a dispatch the listener may be the one running, and the loop holds its place in
    // the map: it is only passed over until the dispatch is done.
    if (m_isDispatching)
        found->second.isRemoved = true;
    else
        m_listeners.erase(found);
}

void X11Connection::flush() {
    if (m_connection)
        xcb_flush(m_connection);
}

void X11Connection::sync() {
    if (!m_connection)
        return;
    Reply<xcb_get_input_focus_reply_t> reply(
        xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
    dispatchEvents();
}

void X11Connection::dispatchEvents() {
    if (!m_connection || m_isDispatching)
        return;
    // Listeners may make round trips, which can queue further events: keep going until none
    // is left, so that no event sits in the queue while the socket has nothing to read.
    m_isDispatching = true;
    while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
        std::unique_ptr<xcb_generic_event_t, FreeDeleter> owned(event);
        for (auto& entry : m_listeners) {
            if (!entry.second.isRemoved)
                entry.second.listener(event);
        }
    }
    m_isDispatching = false;
    std::erase_if(m_listeners, [](const auto& entry) { return entry.second.isRemoved; });
    flush();
    checkLost();
}

void X11Connection::dispatchEventsLater() {
    if (m_isDispatchPosted)
        return;
    m_isDispatchPosted = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_isDispatchPosted = false;
            dispatchEvents();
        },
        Qt::QueuedConnection);
}

void X11Connection::checkLost() {
    if (m_connection && xcb_connection_has_error(m_connection)) {
        if (m_notifier)
            m_notifier->setEnabled(false);
        m_onLost();
    }
}

} // namespace backend::x11
