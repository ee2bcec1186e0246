#pragma once

#include <QElapsedTimer>
#include <QObject>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

class QSocketNotifier;
struct xcb_connection_t;

namespace backend::x11 {

// Holdfin's second connection to the X server, for the system-wide watchers (drag selection,
// global event monitor): its own event stream, read by a QSocketNotifier on the GUI thread,
// so that nothing ever waits for it. GUI thread only.
class X11Connection final : public QObject {
    Q_OBJECT
public:
    // Receives each event as the xcb_generic_event_t it is (xcb declares it anonymously).
    using Listener = std::function<void(const void* event)>;
    using LostHandler = std::function<void()>;

    // Connects to $DISPLAY. `onLost` runs when the server goes away; by default it prints one
    // line on standard error and ends the process with status 1. When the connection cannot
    // be opened, isOpen() is false and one line on standard error says so.
    explicit X11Connection(LostHandler onLost = {}, QObject* parent = nullptr);
    ~X11Connection() override;

    bool isOpen() const { return m_connection != nullptr; }
    xcb_connection_t* connection() const { return m_connection; }
    std::uint32_t rootWindow() const { return m_root; }
    // A window of this connection that receives converted selection data.
    std::uint32_t helperWindow() const { return m_helperWindow; }
    // A new invisible window of this connection for selection answers of its own, listening
    // for `eventMask`; the caller destroys it.
    std::uint32_t createRequestorWindow(std::uint32_t eventMask = 0);
    // Whether `window` belongs to Holdfin's own (Qt's) X connection.
    bool isOwnWindow(std::uint32_t window) const;

    // The X server's time now, as read once at connection and carried on by the monotonic
    // clock, which the server's time also follows; 0 when closed.
    std::uint32_t serverTimeNow() const;
    // Whether `time`, given by another client, lies clearly after serverTimeNow(): no server
    // ever produced it. Such a time taken for an event's would make later requests that carry
    // it (a selection's ownership among them) fail.
    bool isFromTheFuture(std::uint32_t time) const;

    // Interns `name` (one server round trip the first time); 0 when closed.
    std::uint32_t atom(const std::string& name);
    // Interns all of `names` in one round trip.
    void internAtoms(const std::vector<std::string>& names);
    // The name of `atom` (one round trip the first time); empty when unknown.
    std::string atomName(std::uint32_t atom);
    // The names of `atoms`, unknown ones fetched in one round trip.
    std::vector<std::string> atomNames(const std::vector<std::uint32_t>& atoms);

    // First event code of XFixes, or -1 when the server lacks XFixes 2 or more.
    int xfixesFirstEvent() const { return m_xfixesFirstEvent; }
    // Major opcode of XInput, or -1 when the server lacks XInput 2.2.
    int xinputOpcode() const { return m_xinputOpcode; }

    // Every event of this connection goes to every listener, in order of registration. The
    // answer identifies the registration for removeListener. A listener may add and remove
    // listeners, itself included.
    int addListener(Listener listener);
    // Stops delivering to a listener; unknown ids are ignored.
    void removeListener(int id);
    // Sends buffered requests.
    void flush();
    // Waits for the server to process everything sent so far (no other client is involved),
    // then delivers the events that came in meanwhile.
    void sync();
    // Delivers every event that has arrived, read or queued.
    void dispatchEvents();
    // Delivers them once the GUI thread is back in its event loop. Called after a request
    // whose reply was waited for: the wait may have read events off the socket into xcb's
    // queue, where the socket notifier would never announce them.
    void dispatchEventsLater();

private:
    void queryExtensions();
    void readServerTime();
    void checkLost();

    xcb_connection_t* m_connection = nullptr;
    std::uint32_t m_root = 0;
    std::uint32_t m_helperWindow = 0;
    std::uint32_t m_ownResourceBase = 0;
    std::uint32_t m_ownResourceMask = 0;
    int m_xfixesFirstEvent = -1;
    int m_xinputOpcode = -1;
    std::uint32_t m_serverTimeAtStart = 0;
    QElapsedTimer m_sinceServerTime;
    QSocketNotifier* m_notifier = nullptr;
    bool m_isDispatchPosted = false;
    struct Registration {
        Listener listener;
        bool isRemoved; // during a dispatch; erased at its end
    };
    std::map<int, Registration> m_listeners;
    int m_nextListener = 1;
    std::map<std::string, std::uint32_t> m_atoms;
    std::map<std::uint32_t, std::string> m_atomNames;
    LostHandler m_onLost;
    bool m_isDispatching = false;
};

} // namespace backend::x11
