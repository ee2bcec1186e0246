#include "backend/x11/x11_drag_selection.h"

#include "backend/x11/compositor_client.h"
#include "backend/x11/drag_types.h"
#include "backend/x11/logging.h"
#include "backend/x11/x11_connection.h"
#include "backend/x11/xcb_support.h"

#include <xcb/xcb.h>
#include <xcb/xfixes.h>
#include <xcb/xinput.h>

#include <cstdlib>
#include <memory>

namespace backend::x11 {

namespace {

constexpr const char* kSelection = "XdndSelection";
constexpr const char* kTypeList = "XdndTypeList";
constexpr const char* kTargets = "TARGETS";
constexpr const char* kProperty = "_HOLDFIN_DRAG_PROBE";
constexpr std::chrono::milliseconds kRetryInterval{8};

} // namespace

X11DragSelection::X11DragSelection(X11Connection& connection, std::chrono::milliseconds bound,
                                   QObject* parent)
    : QObject(parent), m_connection(connection), m_drops(connection) {
    m_bound.setSingleShot(true);
    m_bound.setInterval(bound);
    m_retry.setSingleShot(true);
    m_retry.setInterval(kRetryInterval);
    connect(&m_retry, &QTimer::timeout, this, [this] {
        if (isLearning() && !m_pending.askedTarget)
            askNextProbe();
    });
    connect(&m_bound, &QTimer::timeout, this, [this] {
        if (!isLearning())
            return;
        // The source did not tell in time: nothing counts as readable for now.
        if (m_pending.isCompositor) {
            finish({});
            return;
        }
        // A list already there when the source's window began to be watched is likely this
        // drag's, written before its news reached us; it may be an earlier drag's.
        if (!m_pending.earlierTypeList.empty()) {
            finish(m_connection.atomNames(m_pending.earlierTypeList));
            return;
        }
        // A busy source may answer once it has caught up: each motion asks again.
        m_pending.isLate = true;
        m_retry.stop();
        m_types.clear();
        ++m_serial;
        emit serialChanged();
    });
    if (!connection.isOpen())
        return;
    if (connection.xfixesFirstEvent() < 0) {
        qCWarning(lcX11, "cannot watch drags: the X server lacks XFixes");
        return;
    }
    std::vector<std::string> names = {kSelection, kTypeList, kTargets, kProperty,
                                      "_NET_SUPPORTING_WM_CHECK"};
    names.insert(names.end(), probeTypes().begin(), probeTypes().end());
    connection.internAtoms(names);
    m_selection = connection.atom(kSelection);
    m_typeList = connection.atom(kTypeList);
    m_targets = connection.atom(kTargets);
    m_property = connection.atom(kProperty);

    xcb_xfixes_select_selection_input(connection.connection(), connection.helperWindow(),
                                      m_selection,
                                      XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER);
    m_listener = connection.addListener([this](const void* event) { handleEvent(event); });
    connection.flush();
}

X11DragSelection::~X11DragSelection() {
    stopWatchingOwner();
    m_connection.removeListener(m_listener);
}

bool X11DragSelection::hasContent(std::initializer_list<DragContent> kinds) const {
    return canReadAny(m_types, kinds);
}

bool X11DragSelection::takeOverDrop(QWindow* window, DropHandler onDrop) {
    return m_drops.takeOverDrop(window, std::move(onDrop));
}

void X11DragSelection::handleEvent(const void* data) {
    const auto& event = *static_cast<const xcb_generic_event_t*>(data);
    const int type = event.response_type & 0x7f;
    if (type == m_connection.xfixesFirstEvent() + XCB_XFIXES_SELECTION_NOTIFY) {
        const auto& e = reinterpret_cast<const xcb_xfixes_selection_notify_event_t&>(event);
        if (e.selection == m_selection)
            ownerChanged(e.owner, e.selection_timestamp);
    } else if (type == XCB_SELECTION_NOTIFY) {
        const auto& e = reinterpret_cast<const xcb_selection_notify_event_t&>(event);
        if (e.selection == m_selection)
            selectionConverted(e.requestor, e.target, e.property, e.time);
    } else if (type == XCB_GE_GENERIC) {
        const auto& e = reinterpret_cast<const xcb_input_raw_button_press_event_t&>(event);
        if (e.extension != m_connection.xinputOpcode())
            return;
        if (e.event_type == XCB_INPUT_RAW_MOTION || e.event_type == XCB_INPUT_RAW_BUTTON_PRESS) {
            m_lastInputTime = e.time;
            // A source that refused everything so far may answer at the time of this motion.
            const bool isBetweenRounds =
                m_retry.isActive() || (m_pending.isLate && !m_pending.askedTarget);
            if (isLearning() && isBetweenRounds) {
                m_retry.stop();
                askNextProbe();
            }
        } else if (e.event_type == XCB_INPUT_RAW_BUTTON_RELEASE && m_pending.isLate) {
            stopWatchingOwner();
            m_pending = {};
        }
    } else if (type == XCB_PROPERTY_NOTIFY) {
        const auto& e = reinterpret_cast<const xcb_property_notify_event_t&>(event);
        if (e.state == XCB_PROPERTY_NEW_VALUE)
            propertyChanged(e.window, e.atom, e.time);
    }
}

void X11DragSelection::ownerChanged(std::uint32_t owner, std::uint32_t selectionTime) {
    qCDebug(lcX11, "drag selection owner 0x%x at %u", owner, selectionTime);
    // GTK sources give the selection up when their drag ends: that starts no new drag.
    if (owner == XCB_NONE)
        return;
    stopWatchingOwner();
    m_pending = {};
    m_owner = owner;
    m_ownerTime = selectionTime;
    m_hasOwnerAnswered = m_connection.isOwnWindow(owner);
    m_isCompositorOwner = false;
    m_hasCompositorAnsweredTargets = false;
    if (m_connection.isOwnWindow(owner)) {
        // Holdfin's own drag: asking our own GUI thread for data from here would deadlock.
        finish({});
        return;
    }
    m_pending.owner = owner;
    m_pending.time = selectionTime;
    m_pending.isCompositor = isCompositorWindow(m_connection, owner);
    // Sources that offer more than three types list them in XdndTypeList; hear it written.
    const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(m_connection.connection(), owner, XCB_CW_EVENT_MASK, &mask);
    m_pending.earlierTypeList = readAtomList(owner, m_typeList, false);
    m_bound.start();
    convert(m_targets, selectionTime);
}

void X11DragSelection::convert(std::uint32_t target, std::uint32_t time) {
    m_pending.askedTarget = target;
    m_pending.askedTime = time;
    xcb_convert_selection(m_connection.connection(), m_connection.helperWindow(), m_selection,
                          target, m_property, time);
    m_connection.flush();
}

void X11DragSelection::selectionConverted(std::uint32_t requestor, std::uint32_t target,
                                          std::uint32_t property, std::uint32_t time) {
    // Every request to the current owner carries its selection time or a later input time,
    // so an earlier time marks an answer of an earlier owner. Answers after the types came
    // from XdndTypeList still tell that the source answers.
    if (requestor == m_connection.helperWindow() &&
        (time == XCB_CURRENT_TIME || std::int32_t(time - m_ownerTime) >= 0))
        m_hasOwnerAnswered = true;
    // Answers to an earlier owner's requests (a slow source answering late) are stale. Qt
    // refuses with the target None: that answers the request outstanding.
    if (!isLearning() || requestor != m_connection.helperWindow() ||
        (target != m_pending.askedTarget && target != XCB_NONE) ||
        (time != m_pending.askedTime && time != XCB_CURRENT_TIME))
        return;
    target = m_pending.askedTarget;
    m_pending.askedTarget = 0;
    if (target == m_targets) {
        std::vector<std::uint32_t> atoms;
        if (property != XCB_NONE)
            atoms = readAtomList(m_connection.helperWindow(), property, true);
        if (!atoms.empty()) {
            m_hasCompositorAnsweredTargets = m_pending.isCompositor;
            finish(m_connection.atomNames(atoms));
        } else if (m_pending.isCompositor) {
            // Nothing else would answer either; the real types arrive with XdndEnter.
            finish({"text/uri-list", "text/plain"});
        } else {
            askNextProbe();
        }
        return;
    }
    if (property != XCB_NONE)
        finish({m_connection.atomName(target)});
    else
        askNextProbe();
}

void X11DragSelection::propertyChanged(std::uint32_t window, std::uint32_t atom,
                                       std::uint32_t time) {
    // Qt never deletes XdndTypeList: only a list written since this drag took the selection
    // is this drag's.
    if (!isLearning() || window != m_pending.owner || atom != m_typeList ||
        std::int32_t(time - m_pending.time) < 0)
        return;
    const std::vector<std::uint32_t> atoms = readAtomList(window, m_typeList, false);
    if (!atoms.empty())
        finish(m_connection.atomNames(atoms));
}

void X11DragSelection::askNextProbe() {
    const std::vector<std::string>& types = probeTypes();
    if (m_pending.nextProbe >= types.size()) {
        // Refused all round: ask again shortly until the bound, then at each motion.
        m_pending.nextProbe = 0;
        m_pending.round++;
        if (!m_pending.isLate)
            m_retry.start();
        return;
    }
    // Qt sources answer only a request made at the time of the input event their drag
    // handled last: the selection time until the pointer moves, the latest motion after.
    const std::uint32_t time =
        m_pending.round > 0 && m_lastInputTime ? m_lastInputTime : m_pending.time;
    convert(m_connection.atom(types[m_pending.nextProbe++]), time);
}

std::vector<std::uint32_t> X11DragSelection::readAtomList(std::uint32_t window,
                                                          std::uint32_t property, bool isDeleting) {
    xcb_connection_t* c = m_connection.connection();
    Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        c, xcb_get_property(c, isDeleting, window, property, XCB_ATOM_ATOM, 0, 4096), nullptr));
    if (!reply || reply->type != XCB_ATOM_ATOM || reply->format != 32)
        return {};
    const auto* values = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / 4;
    return std::vector<std::uint32_t>(values, values + count);
}

void X11DragSelection::finish(std::vector<std::string> types) {
    qCDebug(lcX11, "drag types learned: %zu", types.size());
    m_isCompositorOwner = m_pending.isCompositor;
    stopWatchingOwner();
    m_pending = {};
    m_bound.stop();
    m_retry.stop();
    m_types = std::move(types);
    ++m_serial;
    emit serialChanged();
}

void X11DragSelection::stopWatchingOwner() {
    if (!m_pending.owner || !m_connection.isOpen())
        return;
    const std::uint32_t none = XCB_EVENT_MASK_NO_EVENT;
    xcb_change_window_attributes(m_connection.connection(), m_pending.owner, XCB_CW_EVENT_MASK,
                                 &none);
    m_connection.flush();
}

} // namespace backend::x11
