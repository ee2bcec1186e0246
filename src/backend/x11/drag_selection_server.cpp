#include "backend/x11/drag_selection_server.h"

#include "backend/drag_offer.h"
#include "backend/x11/logging.h"
#include "backend/x11/x11_connection.h"
#include "backend/x11/xcb_support.h"

#include <QCoreApplication>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace backend::x11 {

namespace {
// Room in a request for what surrounds the property's data.
constexpr std::size_t kRequestOverhead = 64;
} // namespace

DragSelectionServer::DragSelectionServer(X11Connection& connection, QObject* parent)
    : QObject(parent), m_x11(connection) {
    m_connection = qtConnection();
    if (!m_connection)
        return;
    m_selection = m_x11.atom("XdndSelection");
    m_targets = m_x11.atom("TARGETS");
    m_status = m_x11.atom("XdndStatus");
    const std::size_t maxRequest = std::size_t(xcb_get_maximum_request_length(m_connection)) * 4;
    m_maxBytes = maxRequest > kRequestOverhead ? maxRequest - kRequestOverhead : 0;
    QCoreApplication::instance()->installNativeEventFilter(this);
}

DragSelectionServer::~DragSelectionServer() {
    if (m_connection && QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

void DragSelectionServer::serve(const backend::DragOffer& offer) {
    if (!m_connection)
        return;
    m_data.clear();
    m_targetWindow = 0;
    m_targetList = {m_targets};
    for (const auto& [name, bytes] : offer.targets) {
        const std::uint32_t target = m_x11.atom(name.toStdString());
        if (target == XCB_ATOM_NONE || m_data.count(target))
            continue;
        m_data.emplace(target, bytes);
        m_targetList.push_back(target);
    }
}

bool DragSelectionServer::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t")
        return false;
    auto* event = static_cast<xcb_generic_event_t*>(message);
    const std::uint8_t type = event->response_type & 0x7f;
    if (type == XCB_CLIENT_MESSAGE) {
        const auto* status = reinterpret_cast<const xcb_client_message_event_t*>(event);
        if (status->type == m_status && status->format == 32)
            m_targetWindow = status->data.data32[0];
        return false;
    }
    if (type != XCB_SELECTION_REQUEST)
        return false;
    auto* e = reinterpret_cast<xcb_selection_request_event_t*>(event);
    if (e->selection == m_selection && e->target != m_targets && !m_data.empty())
        emit dataRequested();
    const bool isFromTheFuture = m_x11.isFromTheFuture(e->time);
    if (isFromTheFuture) {
        qCDebug(lcX11, "a selection request of window 0x%x carries time %u, after the server's %u",
                e->requestor, e->time, m_x11.serverTimeNow());
    }
    if (e->selection == m_selection && !m_data.empty() &&
        answer(e->requestor, e->target, e->property, e->time))
        return true;
    if (isFromTheFuture)
        e->time = m_x11.serverTimeNow();
    return false;
}

bool DragSelectionServer::answer(std::uint32_t requestor, std::uint32_t target,
                                 std::uint32_t property, std::uint32_t time) {
    // Old clients name no property: the target serves as one.
    if (property == XCB_ATOM_NONE)
        property = target;
    if (target == m_targets) {
        xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, requestor, property, m_atomType,
                            32, std::uint32_t(m_targetList.size()), m_targetList.data());
    } else if (auto it = m_data.find(target); it != m_data.end()) {
        if (std::size_t(it->second.size()) > m_maxBytes)
            return false; // Qt transfers it in parts
        // TEXT leaves the encoding to the owner; the offer's is Latin-1.
        const std::uint32_t type =
            target == m_x11.atom("TEXT") ? std::uint32_t(XCB_ATOM_STRING) : target;
        xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, requestor, property, type, 8,
                            std::uint32_t(it->second.size()), it->second.constData());
    } else {
        property = XCB_ATOM_NONE;
    }
    const bool isHandedOver = property != XCB_ATOM_NONE && target != m_targets;
    xcb_selection_notify_event_t notify{};
    notify.response_type = XCB_SELECTION_NOTIFY;
    notify.time = time;
    notify.requestor = requestor;
    notify.selection = m_selection;
    notify.target = target;
    notify.property = property;
    xcb_send_event(m_connection, 0, requestor, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&notify));
    xcb_flush(m_connection);
    if (isHandedOver)
        emit handedOver();
    return true;
}

} // namespace backend::x11
