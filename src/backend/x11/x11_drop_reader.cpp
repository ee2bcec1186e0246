#include "backend/x11/x11_drop_reader.h"

#include "backend/x11/client_message.h"
#include "backend/x11/drop_formats.h"
#include "backend/x11/x11_connection.h"
#include "backend/x11/xcb_support.h"

#include <QCoreApplication>
#include <QPointer>
#include <QWindow>

#include <xcb/xcb.h>

#include <cstdlib>

namespace backend::x11 {

namespace {

constexpr std::uint32_t kWholeProperty = 0x1fffffff; // in 32-bit units
// An incremental transfer that goes on for longer, or grows bigger, is a source that never
// ends it: the drop counts as stalled.
constexpr qint64 kLongestTransferMs = 30'000;
constexpr qsizetype kLargestTransfer = qsizetype(256) << 20;

// Runs `fn` on the GUI thread once the current event has been handled.
template <typename Fn> void later(QObject* context, Fn fn) {
    QMetaObject::invokeMethod(context, std::move(fn), Qt::QueuedConnection);
}

QStringList toStringList(const std::vector<std::string>& names) {
    QStringList list;
    for (const std::string& name : names)
        list << QString::fromStdString(name);
    return list;
}

} // namespace

// What the reader and the drop it handed out share.
struct X11DropReader::DropState {
    std::uint32_t source = 0;
    std::uint32_t window = 0; // ours, the drop's target
    std::uint32_t time = 0;   // of the drop, for the conversions
    std::vector<std::string> offered;
    QStringList formats;
    bool hasStalled = false;
    bool isFinished = false;
};

class X11DropReader::Drop final : public PendingDrop {
public:
    Drop(X11DropReader& reader, std::shared_ptr<DropState> state)
        : m_reader(&reader), m_state(std::move(state)) {}
    // Let go unfinished: the source must not wait for ever.
    ~Drop() override { finish(false); }

    QStringList formats() const override { return m_state->formats; }

    void read(const QString& format, ReadHandler done) override {
        if (m_reader) {
            m_reader->read(m_state, format, std::move(done));
            return;
        }
        later(QCoreApplication::instance(), [done = std::move(done)] { done({}); });
    }

    void finish(bool isTaken) override {
        if (m_state->isFinished)
            return;
        m_state->isFinished = true;
        if (m_reader)
            m_reader->finish(*m_state, isTaken);
    }

private:
    QPointer<X11DropReader> m_reader;
    std::shared_ptr<DropState> m_state;
};

X11DropReader::X11DropReader(X11Connection& connection, std::chrono::milliseconds answerBound,
                             QObject* parent)
    : QObject(parent), m_connection(connection) {
    m_bound.setSingleShot(true);
    m_bound.setInterval(answerBound);
    connect(&m_bound, &QTimer::timeout, this, [this] {
        if (!m_isReading)
            return;
        // A source that answered before may still: its drop has stalled all the same.
        m_reads.front().drop->hasStalled = true;
        complete({});
    });
    if (!connection.isOpen())
        return;
    connection.internAtoms({"XdndSelection", "_HOLDFIN_DROP", "INCR", "XdndEnter", "XdndLeave",
                            "XdndDrop", "XdndFinished", "XdndTypeList", "XdndActionCopy"});
    m_selection = connection.atom("XdndSelection");
    m_property = connection.atom("_HOLDFIN_DROP");
    m_incr = connection.atom("INCR");
    m_enter = connection.atom("XdndEnter");
    m_leave = connection.atom("XdndLeave");
    m_drop = connection.atom("XdndDrop");
    m_finished = connection.atom("XdndFinished");
    m_typeList = connection.atom("XdndTypeList");
    m_actionCopy = connection.atom("XdndActionCopy");

    // Parts of a large answer are announced by property changes.
    m_requestor = connection.createRequestorWindow(XCB_EVENT_MASK_PROPERTY_CHANGE);
    connection.flush();
    m_listener = connection.addListener([this](const void* event) { handleEvent(event); });
    QCoreApplication::instance()->installNativeEventFilter(this);
}

X11DropReader::~X11DropReader() {
    if (!m_connection.isOpen())
        return;
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
    m_connection.removeListener(m_listener);
    xcb_destroy_window(m_connection.connection(), m_requestor);
    m_connection.flush();
}

bool X11DropReader::takeOverDrop(QWindow* window, DragSelection::DropHandler onDrop) {
    if (!window || !m_connection.isOpen())
        return false;
    const auto found = m_drags.find(std::uint32_t(window->winId()));
    // Qt hands its own drags to its own windows without any XDND message: none is found.
    if (found == m_drags.end() || m_connection.isOwnWindow(found->second.source))
        return false;
    found->second.onDrop = std::move(onDrop);
    return found->second.onDrop != nullptr;
}

bool X11DropReader::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE)
        return false;
    const auto* e = reinterpret_cast<const xcb_client_message_event_t*>(event);
    const std::uint32_t* data = e->data.data32;
    if (e->format != 32)
        return false;
    if (e->type == m_enter) {
        Drag drag{data[0], (data[1] & 1) != 0, {}, {}};
        for (int i = 2; i < 5; ++i) {
            if (data[i] != XCB_ATOM_NONE)
                drag.types.push_back(data[i]);
        }
        m_drags[e->window] = std::move(drag);
    } else if (e->type == m_leave) {
        if (auto found = m_drags.find(e->window);
            found != m_drags.end() && found->second.source == data[0])
            m_drags.erase(found);
    } else if (e->type == m_drop) {
        const auto found = m_drags.find(e->window);
        if (found == m_drags.end() || !found->second.onDrop || found->second.source != data[0])
            return false;
        const Drag drag = std::move(found->second);
        m_drags.erase(found);
        dropped(e->window, drag, data[2]);
        return true; // Qt never sees it: it would read the data itself, waiting on the source
    }
    return false;
}

void X11DropReader::dropped(std::uint32_t window, const Drag& drag, std::uint32_t time) {
    auto state = std::make_shared<DropState>();
    state->source = drag.source;
    state->window = window;
    state->time = time;
    std::vector<std::uint32_t> types = drag.types;
    if (drag.hasTypeList) {
        // Written by the source before its XdndEnter: reading it asks the server only.
        xcb_connection_t* c = m_connection.connection();
        Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
            c, xcb_get_property(c, 0, drag.source, m_typeList, XCB_ATOM_ATOM, 0, kWholeProperty),
            nullptr));
        if (reply && reply->type == XCB_ATOM_ATOM && reply->format == 32) {
            const auto* atoms =
                static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
            types.assign(atoms, atoms + xcb_get_property_value_length(reply.get()) / 4);
        }
        m_connection.dispatchEventsLater();
    }
    state->offered = m_connection.atomNames(types);
    state->formats = toStringList(dropFormats(state->offered));
    later(this,
          [onDrop = drag.onDrop, drop = std::make_shared<Drop>(*this, state)] { onDrop(drop); });
}

void X11DropReader::read(const std::shared_ptr<DropState>& drop, const QString& format,
                         PendingDrop::ReadHandler done) {
    Read read;
    read.drop = drop;
    read.format = format.toStdString();
    read.done = std::move(done);
    read.targets = dropTargets(read.format, drop->offered);
    m_reads.push_back(std::move(read));
    if (!m_isReading)
        later(this, [this] { startNextRead(); });
}

void X11DropReader::startNextRead() {
    if (m_isReading || m_reads.empty())
        return;
    m_isReading = true;
    askNextTarget();
}

void X11DropReader::askNextTarget() {
    Read& read = m_reads.front();
    if (read.drop->hasStalled || read.drop->isFinished || read.targets.empty() ||
        !m_connection.isOpen()) {
        complete({});
        return;
    }
    read.target = m_connection.atom(read.targets.front());
    read.targets.erase(read.targets.begin());
    read.isIncremental = false;
    read.received.clear();
    xcb_connection_t* c = m_connection.connection();
    xcb_delete_property(c, m_requestor, m_property);
    xcb_convert_selection(c, m_requestor, m_selection, read.target, m_property, read.drop->time);
    m_connection.flush();
    m_bound.start();
}

void X11DropReader::handleEvent(const void* data) {
    if (!m_isReading)
        return;
    const auto& event = *static_cast<const xcb_generic_event_t*>(data);
    const int type = event.response_type & 0x7f;
    const Read& read = m_reads.front();
    if (type == XCB_SELECTION_NOTIFY) {
        const auto& e = reinterpret_cast<const xcb_selection_notify_event_t&>(event);
        // Answers to earlier requests (a slow source answering late) carry another target or
        // time; a refusal may name no target.
        if (e.requestor == m_requestor && e.selection == m_selection && !read.isIncremental &&
            (e.target == read.target || e.target == XCB_ATOM_NONE) &&
            (e.time == read.drop->time || e.time == XCB_CURRENT_TIME))
            answered(e.property);
    } else if (type == XCB_PROPERTY_NOTIFY) {
        const auto& e = reinterpret_cast<const xcb_property_notify_event_t&>(event);
        if (e.window == m_requestor && e.atom == m_property && e.state == XCB_PROPERTY_NEW_VALUE &&
            read.isIncremental)
            partArrived();
    }
}

void X11DropReader::answered(std::uint32_t property) {
    if (property == XCB_ATOM_NONE) {
        targetDone({}); // refused
        return;
    }
    std::uint32_t type = 0;
    const QByteArray data = takeProperty(&type);
    if (type != m_incr) {
        targetDone(data);
        return;
    }
    // Too big for one property: it comes in parts, each asked for by deleting the last one
    // (taking the property just did), each within the bound again.
    m_reads.front().isIncremental = true;
    m_reads.front().transferTime.start();
    m_bound.start();
}

void X11DropReader::partArrived() {
    std::uint32_t type = 0;
    const QByteArray part = takeProperty(&type);
    if (part.isEmpty()) {
        targetDone(m_reads.front().received);
        return;
    }
    Read& read = m_reads.front();
    read.received += part;
    if (read.received.size() > kLargestTransfer ||
        read.transferTime.hasExpired(kLongestTransferMs)) {
        read.drop->hasStalled = true;
        complete({});
        return;
    }
    m_bound.start();
}

void X11DropReader::targetDone(const QByteArray& data) {
    Read& read = m_reads.front();
    const QByteArray converted = dropData(read.format, m_connection.atomName(read.target), data);
    if (!converted.isEmpty()) {
        complete(converted);
        return;
    }
    m_bound.stop();
    askNextTarget();
}

void X11DropReader::complete(const QByteArray& data) {
    m_bound.stop();
    Read read = std::move(m_reads.front());
    m_reads.pop_front();
    m_isReading = false;
    later(this, [done = std::move(read.done), data] { done(data); });
    startNextRead();
}

QByteArray X11DropReader::takeProperty(std::uint32_t* type) {
    xcb_connection_t* c = m_connection.connection();
    Reply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(c,
                               xcb_get_property(c, 1, m_requestor, m_property,
                                                XCB_GET_PROPERTY_TYPE_ANY, 0, kWholeProperty),
                               nullptr));
    m_connection.flush(); // the deletion asks an incremental source for its next part
    if (!reply)
        return {};
    *type = reply->type;
    return QByteArray(static_cast<const char*>(xcb_get_property_value(reply.get())),
                      xcb_get_property_value_length(reply.get()));
}

void X11DropReader::finish(const DropState& drop, bool isTaken) {
    if (!m_connection.isOpen())
        return;
    xcb_connection_t* c = m_connection.connection();
    sendClientMessage(
        c, drop.source, XCB_EVENT_MASK_NO_EVENT, drop.source, m_finished,
        {drop.window, isTaken ? 1u : 0u, isTaken ? m_actionCopy : std::uint32_t(XCB_ATOM_NONE)});
    // Qt still has the drag over our window: end it there as the source would have, unless
    // a new drag has come in since (Qt has let the old one go for it).
    if (!m_drags.contains(drop.window))
        sendClientMessage(c, drop.window, XCB_EVENT_MASK_NO_EVENT, drop.window, m_leave,
                          {drop.source});
    m_connection.flush();
}

} // namespace backend::x11
