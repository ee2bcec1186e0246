// holdfin_test_tree_cache_drag_source: an XDND drag source that finds its drop target the way
// Chromium does. When its drag starts it copies the window tree (every window's children in
// stacking order, geometry and map state), and from then on learns of changes only from the
// events SubstructureNotify brings it on the windows it knows: windows created, destroyed,
// configured (moved, resized, restacked), mapped and unmapped. A window reparented into a
// frame made after the copy stays where the copy had it, so a window that is mapped and framed
// anew during the drag is never found; one that is only moved or raised is.
//
//   holdfin_test_tree_cache_drag_source <files|text|link|image> [--at X,Y] [--junk-types N]
//                                       [payload...]
//
// mode:
//   files   text/uri-list of the payload paths (default: this program's own file)
//   text    text/plain;charset=utf-8, UTF8_STRING and text/plain: the payload words joined by
//           spaces (default "holdfin test text")
//   link    as a browser offers a link: text/x-moz-url (UTF-16, URL and title) and the URL as
//           text/plain;charset=utf-8 (default https://example.org/)
//   image   image/png, a 32x32 picture
// Data over 64 KiB goes in parts (INCR), as GTK programs send it.
// --junk-types N lists N more types (application/x-holdfin-junk-<i>) after the real ones, all
// interned before the window shows.
// The 300x300 window sits at --at (default 100,100). Standard output, one line each:
//   ready X Y W H          the window is shown; its global geometry
//   drag-started NS        the drag has started; NS is CLOCK_MONOTONIC in nanoseconds
//   target WINDOW          the drag is over a new XDND target (0x hex; 0x0 for none)
//   drag-finished ACTION   the drag ended: copy, move, link or ignore
// Every press starts a new drag, for as long as the program runs.
#include "selection_notify.h"

#include <QBuffer>
#include <QByteArray>
#include <QCoreApplication>
#include <QImage>
#include <QStringList>
#include <QUrl>

#include <xcb/xcb.h>

#include <poll.h>
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr qsizetype kPartSize = 64 * 1024;

volatile sig_atomic_t isEndWanted = 0;

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <typename T> using Reply = std::unique_ptr<T, FreeDeleter>;

void say(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

std::string hex(xcb_window_t window) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%x", window);
    return text;
}

class Connection {
public:
    Connection() {
        int screen = 0;
        m_c = xcb_connect(nullptr, &screen);
        if (xcb_connection_has_error(m_c))
            return;
        xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(m_c));
        for (int i = 0; i < screen; ++i)
            xcb_screen_next(&screens);
        m_root = screens.data->root;
    }
    ~Connection() { xcb_disconnect(m_c); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    bool isOpen() const { return !xcb_connection_has_error(m_c); }
    xcb_connection_t* get() const { return m_c; }
    xcb_window_t root() const { return m_root; }

    xcb_atom_t atom(const std::string& name) {
        if (auto found = m_atoms.find(name); found != m_atoms.end())
            return found->second;
        Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
            m_c, xcb_intern_atom(m_c, 0, std::uint16_t(name.size()), name.data()), nullptr));
        const xcb_atom_t value = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        m_atoms.emplace(name, value);
        return value;
    }

    // Many at once: the requests go out together, then the answers are read.
    std::vector<xcb_atom_t> atoms(const std::vector<std::string>& names) {
        std::vector<xcb_intern_atom_cookie_t> cookies;
        for (const std::string& name : names)
            cookies.push_back(xcb_intern_atom(m_c, 0, std::uint16_t(name.size()), name.data()));
        std::vector<xcb_atom_t> values;
        for (std::size_t i = 0; i < names.size(); ++i) {
            Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(m_c, cookies[i], nullptr));
            values.push_back(reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE));
            m_atoms.emplace(names[i], values.back());
        }
        return values;
    }

    void sendClientMessage(xcb_window_t to, const std::string& type,
                           std::initializer_list<std::uint32_t> data) {
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = to;
        event.type = atom(type);
        int i = 0;
        for (std::uint32_t value : data)
            event.data.data32[i++] = value;
        xcb_send_event(m_c, 0, to, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&event));
        xcb_flush(m_c);
    }

private:
    xcb_connection_t* m_c = nullptr;
    xcb_window_t m_root = 0;
    std::map<std::string, xcb_atom_t> m_atoms;
};

// The copy of the window tree.
class WindowTree {
public:
    explicit WindowTree(Connection& connection) : m_x(connection) {}

    // Copies the tree under the root, watching every window copied.
    void snapshot() {
        m_nodes.clear();
        m_nodes[m_x.root()] = Node{};
        copyChildren(m_x.root());
    }

    void handle(const xcb_generic_event_t& event) {
        switch (event.response_type & 0x7f) {
        case XCB_CREATE_NOTIFY: {
            const auto& e = reinterpret_cast<const xcb_create_notify_event_t&>(event);
            auto parent = m_nodes.find(e.parent);
            if (parent == m_nodes.end() || m_nodes.contains(e.window))
                return;
            parent->second.children.push_back(e.window); // new windows go on top
            m_nodes[e.window] =
                Node{e.parent, e.x, e.y, e.width, e.height, e.border_width, false, {}};
            watch(e.window);
            break;
        }
        case XCB_DESTROY_NOTIFY: {
            const auto& e = reinterpret_cast<const xcb_destroy_notify_event_t&>(event);
            forget(e.window);
            break;
        }
        case XCB_CONFIGURE_NOTIFY: {
            const auto& e = reinterpret_cast<const xcb_configure_notify_event_t&>(event);
            auto node = m_nodes.find(e.window);
            // Only what SubstructureNotify on the parent tells, in the parent's coordinates.
            if (e.event == e.window || node == m_nodes.end() || node->second.parent != e.event)
                return;
            node->second.x = e.x;
            node->second.y = e.y;
            node->second.width = e.width;
            node->second.height = e.height;
            node->second.border = e.border_width;
            restack(node->second.parent, e.window, e.above_sibling);
            break;
        }
        case XCB_MAP_NOTIFY: {
            const auto& e = reinterpret_cast<const xcb_map_notify_event_t&>(event);
            if (auto node = m_nodes.find(e.window); node != m_nodes.end())
                node->second.isMapped = true;
            break;
        }
        case XCB_UNMAP_NOTIFY: {
            const auto& e = reinterpret_cast<const xcb_unmap_notify_event_t&>(event);
            if (auto node = m_nodes.find(e.window); node != m_nodes.end())
                node->second.isMapped = false;
            break;
        }
        default: // ReparentNotify among them: the copy never follows a window into a new parent
            break;
        }
    }

    // The XdndAware window under the root position (x, y) as the copy has it: the topmost
    // mapped window there, or the first of its descendants (topmost first) that is aware.
    xcb_window_t targetAt(int x, int y, xcb_window_t except) {
        xcb_window_t window = m_x.root();
        int originX = 0, originY = 0;
        for (;;) {
            const auto node = m_nodes.find(window);
            if (node == m_nodes.end())
                return 0;
            const Node* hit = nullptr;
            for (auto it = node->second.children.rbegin(); it != node->second.children.rend();
                 ++it) {
                const auto child = m_nodes.find(*it);
                if (child == m_nodes.end() || *it == except)
                    continue;
                const Node& c = child->second;
                const int left = originX + c.x, top = originY + c.y;
                if (c.isMapped && x >= left && y >= top && x < left + c.width + 2 * c.border &&
                    y < top + c.height + 2 * c.border) {
                    window = *it;
                    hit = &c;
                    break;
                }
            }
            if (!hit)
                return 0;
            originX += hit->x + hit->border;
            originY += hit->y + hit->border;
            if (isAware(window))
                return window;
        }
    }

private:
    struct Node {
        xcb_window_t parent = 0;
        int x = 0, y = 0, width = 0, height = 0, border = 0;
        bool isMapped = false;
        std::vector<xcb_window_t> children; // bottom to top
    };

    void watch(xcb_window_t window) {
        const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_x.get(), window, XCB_CW_EVENT_MASK, &mask);
    }

    void copyChildren(xcb_window_t window) {
        // Watched before it is read, so that no change falls between the two.
        watch(window);
        xcb_connection_t* c = m_x.get();
        Reply<xcb_query_tree_reply_t> tree(
            xcb_query_tree_reply(c, xcb_query_tree(c, window), nullptr));
        if (!tree)
            return;
        const xcb_window_t* children = xcb_query_tree_children(tree.get());
        const int count = xcb_query_tree_children_length(tree.get());
        for (int i = 0; i < count; ++i) {
            const xcb_window_t child = children[i];
            Reply<xcb_get_geometry_reply_t> geometry(
                xcb_get_geometry_reply(c, xcb_get_geometry(c, child), nullptr));
            Reply<xcb_get_window_attributes_reply_t> attributes(
                xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, child), nullptr));
            if (!geometry || !attributes)
                continue; // gone meanwhile
            m_nodes[window].children.push_back(child);
            m_nodes[child] = Node{window,
                                  geometry->x,
                                  geometry->y,
                                  geometry->width,
                                  geometry->height,
                                  geometry->border_width,
                                  attributes->map_state != XCB_MAP_STATE_UNMAPPED,
                                  {}};
            copyChildren(child);
        }
    }

    void forget(xcb_window_t window) {
        auto node = m_nodes.find(window);
        if (node == m_nodes.end())
            return;
        if (auto parent = m_nodes.find(node->second.parent); parent != m_nodes.end())
            std::erase(parent->second.children, window);
        const std::vector<xcb_window_t> children = node->second.children;
        m_nodes.erase(node);
        for (xcb_window_t child : children)
            forget(child);
    }

    void restack(xcb_window_t parent, xcb_window_t window, xcb_window_t above) {
        std::vector<xcb_window_t>& children = m_nodes.at(parent).children;
        std::erase(children, window);
        auto sibling = std::find(children.begin(), children.end(), above);
        children.insert(sibling == children.end() ? children.begin() : std::next(sibling), window);
    }

    bool isAware(xcb_window_t window) {
        xcb_connection_t* c = m_x.get();
        Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
            c, xcb_get_property(c, 0, window, m_x.atom("XdndAware"), XCB_ATOM_ATOM, 0, 1),
            nullptr));
        return reply && reply->type == XCB_ATOM_ATOM && xcb_get_property_value_length(reply.get());
    }

    Connection& m_x;
    std::map<xcb_window_t, Node> m_nodes;
};

struct Offer {
    std::vector<std::pair<std::string, QByteArray>> types; // MIME or X target name, data
};

Offer makeOffer(const QString& mode, const QStringList& payload, const char* self) {
    Offer offer;
    if (mode == QLatin1String("files")) {
        QByteArray list;
        for (const QString& path :
             payload.isEmpty() ? QStringList{QString::fromLocal8Bit(self)} : payload)
            list += QUrl::fromLocalFile(path).toEncoded() + "\r\n";
        offer.types = {{"text/uri-list", list}};
    } else if (mode == QLatin1String("text")) {
        const QByteArray text = payload.isEmpty() ? QByteArray("holdfin test text")
                                                  : payload.join(QLatin1Char(' ')).toUtf8();
        offer.types = {
            {"text/plain;charset=utf-8", text}, {"UTF8_STRING", text}, {"text/plain", text}};
    } else if (mode == QLatin1String("link")) {
        const QString url = payload.value(0, QStringLiteral("https://example.org/"));
        const QString moz = url + QLatin1Char('\n') + QStringLiteral("Example");
        offer.types = {{"text/x-moz-url",
                        QByteArray(reinterpret_cast<const char*>(moz.utf16()), moz.size() * 2)},
                       {"text/plain;charset=utf-8", url.toUtf8()}};
    } else {
        QImage image(32, 32, QImage::Format_ARGB32);
        image.fill(Qt::darkCyan);
        QBuffer png;
        png.open(QIODevice::WriteOnly);
        image.save(&png, "PNG");
        offer.types = {{"image/png", png.data()}};
    }
    return offer;
}

std::int64_t monotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::int64_t(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

class DragSource {
public:
    DragSource(Connection& x, Offer offer, int atX, int atY)
        : m_x(x), m_tree(x), m_offer(std::move(offer)) {
        xcb_connection_t* c = m_x.get();
        m_window = xcb_generate_id(c);
        const std::uint32_t values[] = {XCB_EVENT_MASK_BUTTON_PRESS |
                                        XCB_EVENT_MASK_BUTTON_RELEASE |
                                        XCB_EVENT_MASK_BUTTON_MOTION | XCB_EVENT_MASK_EXPOSURE};
        xcb_create_window(c, XCB_COPY_FROM_PARENT, m_window, m_x.root(), std::int16_t(atX),
                          std::int16_t(atY), 300, 300, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                          XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, values);
        // Placed where asked, undecorated.
        std::uint32_t hints[18] = {};
        hints[0] = 1 | 4; // USPosition | PPosition
        hints[1] = std::uint32_t(atX);
        hints[2] = std::uint32_t(atY);
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, m_window, XCB_ATOM_WM_NORMAL_HINTS,
                            XCB_ATOM_WM_SIZE_HINTS, 32, 18, hints);
        const std::uint32_t motif[5] = {2, 0, 0, 0, 0};
        const xcb_atom_t motifAtom = m_x.atom("_MOTIF_WM_HINTS");
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, m_window, motifAtom, motifAtom, 32, 5, motif);
        std::vector<std::string> names;
        for (const auto& [name, data] : m_offer.types)
            names.push_back(name);
        const std::vector<xcb_atom_t> atoms = m_x.atoms(names);
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, m_window, m_x.atom("XdndTypeList"),
                            XCB_ATOM_ATOM, 32, std::uint32_t(atoms.size()), atoms.data());
        xcb_map_window(c, m_window);
        xcb_flush(c);
    }

    int run() {
        xcb_connection_t* c = m_x.get();
        while (!isEndWanted) {
            while (xcb_generic_event_t* event = xcb_poll_for_event(c)) {
                handle(*event);
                std::free(event);
            }
            if (xcb_connection_has_error(c))
                return 1;
            checkTimeouts();
            pollfd fd{xcb_get_file_descriptor(c), POLLIN, 0};
            poll(&fd, 1, 20);
        }
        return 0;
    }

private:
    void handle(const xcb_generic_event_t& event) {
        m_tree.handle(event);
        switch (event.response_type & 0x7f) {
        case XCB_EXPOSE:
            announce();
            break;
        case XCB_BUTTON_PRESS: {
            const auto& e = reinterpret_cast<const xcb_button_press_event_t&>(event);
            if (e.detail == 1 && !m_isDragging) {
                m_isPressed = true;
                m_pressX = e.root_x;
                m_pressY = e.root_y;
            }
            break;
        }
        case XCB_MOTION_NOTIFY: {
            const auto& e = reinterpret_cast<const xcb_motion_notify_event_t&>(event);
            if (m_isPressed && !m_isDragging &&
                std::abs(e.root_x - m_pressX) + std::abs(e.root_y - m_pressY) >= 4)
                startDrag(e.time);
            if (m_isDragging)
                moved(e.root_x, e.root_y, e.time);
            break;
        }
        case XCB_BUTTON_RELEASE: {
            const auto& e = reinterpret_cast<const xcb_button_release_event_t&>(event);
            if (e.detail != 1)
                break;
            m_isPressed = false;
            if (m_isDragging)
                released(e.time);
            break;
        }
        case XCB_SELECTION_REQUEST:
            answer(reinterpret_cast<const xcb_selection_request_event_t&>(event));
            break;
        case XCB_CLIENT_MESSAGE:
            clientMessage(reinterpret_cast<const xcb_client_message_event_t&>(event));
            break;
        case XCB_PROPERTY_NOTIFY:
            sendNextPart(reinterpret_cast<const xcb_property_notify_event_t&>(event));
            break;
        default:
            break;
        }
    }

    void announce() {
        if (m_isAnnounced)
            return;
        Reply<xcb_translate_coordinates_reply_t> at(xcb_translate_coordinates_reply(
            m_x.get(), xcb_translate_coordinates(m_x.get(), m_window, m_x.root(), 0, 0), nullptr));
        if (!at)
            return;
        m_isAnnounced = true;
        say("ready " + std::to_string(at->dst_x) + " " + std::to_string(at->dst_y) + " 300 300");
    }

    void startDrag(xcb_timestamp_t time) {
        xcb_connection_t* c = m_x.get();
        xcb_set_selection_owner(c, m_window, m_x.atom("XdndSelection"), time);
        xcb_grab_pointer(c, 0, m_window,
                         XCB_EVENT_MASK_BUTTON_RELEASE | XCB_EVENT_MASK_POINTER_MOTION,
                         XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC, XCB_NONE, XCB_NONE, time);
        m_tree.snapshot();
        xcb_flush(c);
        m_isDragging = true;
        m_target = 0;
        m_isAccepted = false;
        m_isAwaitingStatus = false;
        m_hasPendingPosition = false;
        m_finishDeadline.reset();
        say("drag-started " + std::to_string(monotonicNs()));
    }

    void moved(int x, int y, xcb_timestamp_t time) {
        if (m_finishDeadline)
            return; // dropped: waiting for the target to finish
        const xcb_window_t target = m_tree.targetAt(x, y, m_window);
        if (target != m_target) {
            if (m_target)
                m_x.sendClientMessage(m_target, "XdndLeave", {m_window});
            m_target = target;
            m_isAccepted = false;
            m_isAwaitingStatus = false;
            say("target " + hex(target));
            if (target)
                enter();
        }
        if (!m_target)
            return;
        m_lastX = x;
        m_lastY = y;
        m_lastTime = time;
        if (m_isAwaitingStatus) {
            m_hasPendingPosition = true;
            return;
        }
        sendPosition();
    }

    void enter() {
        std::uint32_t data[5] = {m_window, 5u << 24, 0, 0, 0};
        if (m_offer.types.size() > 3)
            data[1] |= 1;
        for (std::size_t i = 0; i < std::min<std::size_t>(3, m_offer.types.size()); ++i)
            data[2 + i] = m_x.atom(m_offer.types[i].first);
        m_x.sendClientMessage(m_target, "XdndEnter", {data[0], data[1], data[2], data[3], data[4]});
    }

    void sendPosition() {
        m_x.sendClientMessage(m_target, "XdndPosition",
                              {m_window, 0, std::uint32_t(m_lastX << 16 | (m_lastY & 0xffff)),
                               m_lastTime, m_x.atom("XdndActionCopy")});
        m_isAwaitingStatus = true;
        m_hasPendingPosition = false;
    }

    void released(xcb_timestamp_t time) {
        xcb_ungrab_pointer(m_x.get(), time);
        xcb_flush(m_x.get());
        if (m_target && m_isAccepted) {
            m_x.sendClientMessage(m_target, "XdndDrop", {m_window, 0, time});
            m_finishDeadline = Clock::now() + std::chrono::seconds(10);
            return;
        }
        if (m_target)
            m_x.sendClientMessage(m_target, "XdndLeave", {m_window});
        finish("ignore");
    }

    void clientMessage(const xcb_client_message_event_t& e) {
        if (!m_isDragging || e.data.data32[0] != m_target || !m_target)
            return;
        if (e.type == m_x.atom("XdndStatus")) {
            m_isAwaitingStatus = false;
            m_isAccepted = e.data.data32[1] & 1;
            if (m_hasPendingPosition && !m_finishDeadline)
                sendPosition();
        } else if (e.type == m_x.atom("XdndFinished") && m_finishDeadline) {
            const bool isAccepted = e.data.data32[1] & 1;
            const xcb_atom_t action = e.data.data32[2];
            finish(!isAccepted                            ? "ignore"
                   : action == m_x.atom("XdndActionMove") ? "move"
                   : action == m_x.atom("XdndActionLink") ? "link"
                                                          : "copy");
        }
    }

    void checkTimeouts() {
        if (m_finishDeadline && Clock::now() > *m_finishDeadline)
            finish("ignore"); // the target never finished
    }

    void finish(const char* action) {
        m_isDragging = false;
        m_finishDeadline.reset();
        m_target = 0;
        say(std::string("drag-finished ") + action);
    }

    void answer(const xcb_selection_request_event_t& request) {
        xcb_connection_t* c = m_x.get();
        const xcb_atom_t property = request.property ? request.property : request.target;
        xcb_atom_t answered = XCB_ATOM_NONE;
        if (request.target == m_x.atom("TARGETS")) {
            std::vector<xcb_atom_t> atoms{m_x.atom("TARGETS")};
            for (const auto& [name, data] : m_offer.types)
                atoms.push_back(m_x.atom(name));
            xcb_change_property(c, XCB_PROP_MODE_REPLACE, request.requestor, property,
                                XCB_ATOM_ATOM, 32, std::uint32_t(atoms.size()), atoms.data());
            answered = property;
        } else {
            for (const auto& [name, data] : m_offer.types) {
                if (m_x.atom(name) != request.target)
                    continue;
                if (data.size() > kPartSize) {
                    startParts(request, property, data);
                } else {
                    xcb_change_property(c, XCB_PROP_MODE_REPLACE, request.requestor, property,
                                        request.target, 8, std::uint32_t(data.size()),
                                        data.constData());
                }
                answered = property;
            }
        }
        test_programs::notifyRequestor(c, request, answered);
    }

    // The answer names INCR and the size; each deletion of the property by the requestor asks
    // for the next part, an empty one ends it.
    void startParts(const xcb_selection_request_event_t& request, xcb_atom_t property,
                    const QByteArray& data) {
        xcb_connection_t* c = m_x.get();
        const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_change_window_attributes(c, request.requestor, XCB_CW_EVENT_MASK, &mask);
        const auto size = std::uint32_t(data.size());
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, request.requestor, property, m_x.atom("INCR"),
                            32, 1, &size);
        m_parts = Parts{request.requestor, property, request.target, data, 0};
    }

    void sendNextPart(const xcb_property_notify_event_t& e) {
        if (!m_parts || e.window != m_parts->requestor || e.atom != m_parts->property ||
            e.state != XCB_PROPERTY_DELETE)
            return;
        const QByteArray part = m_parts->data.mid(m_parts->sent, kPartSize);
        xcb_change_property(m_x.get(), XCB_PROP_MODE_REPLACE, m_parts->requestor, m_parts->property,
                            m_parts->target, 8, std::uint32_t(part.size()), part.constData());
        xcb_flush(m_x.get());
        m_parts->sent += part.size();
        if (part.isEmpty())
            m_parts.reset();
    }

    struct Parts {
        xcb_window_t requestor;
        xcb_atom_t property;
        xcb_atom_t target;
        QByteArray data;
        qsizetype sent;
    };

    Connection& m_x;
    WindowTree m_tree;
    std::optional<Parts> m_parts;
    Offer m_offer;
    xcb_window_t m_window = 0;
    bool m_isAnnounced = false;
    bool m_isPressed = false;
    bool m_isDragging = false;
    int m_pressX = 0, m_pressY = 0;
    xcb_window_t m_target = 0;
    bool m_isAccepted = false;
    bool m_isAwaitingStatus = false;
    bool m_hasPendingPosition = false;
    int m_lastX = 0, m_lastY = 0;
    xcb_timestamp_t m_lastTime = 0;
    std::optional<Clock::time_point> m_finishDeadline;
};

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    int atX = 100, atY = 100;
    if (const qsizetype at = args.indexOf(QStringLiteral("--at"));
        at >= 0 && at + 1 < args.size()) {
        const QStringList parts = args.at(at + 1).split(QLatin1Char(','));
        atX = parts.value(0).toInt();
        atY = parts.value(1).toInt();
        args.remove(at, 2);
    }
    int junkTypes = 0;
    if (const qsizetype junk = args.indexOf(QStringLiteral("--junk-types"));
        junk >= 0 && junk + 1 < args.size()) {
        junkTypes = args.at(junk + 1).toInt();
        args.remove(junk, 2);
    }
    const QStringList modes = {"files", "text", "link", "image"};
    if (args.isEmpty() || !modes.contains(args.first())) {
        std::fprintf(stderr, "usage: holdfin_test_tree_cache_drag_source <files|text|link|image> "
                             "[--at X,Y] [--junk-types N] [payload...]\n");
        return 2;
    }
    struct sigaction end {};
    end.sa_handler = [](int) { isEndWanted = 1; };
    sigaction(SIGTERM, &end, nullptr);

    Connection x;
    if (!x.isOpen()) {
        std::fprintf(stderr, "holdfin_test_tree_cache_drag_source: cannot open the display\n");
        return 1;
    }
    Offer offer = makeOffer(args.first(), args.mid(1), argv[0]);
    for (int i = 0; i < junkTypes; ++i)
        offer.types.emplace_back("application/x-holdfin-junk-" + std::to_string(i), "junk");
    DragSource source(x, std::move(offer), atX, atY);
    return source.run();
}
