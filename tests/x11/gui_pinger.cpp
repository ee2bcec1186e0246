// holdfin_test_gui_pinger: measures from outside how long another client's GUI thread is busy.
//
//   holdfin_test_gui_pinger WINDOW [--interval MS]
//
// Sends _NET_WM_PING to WINDOW (decimal or 0x hex) every --interval milliseconds (default 5)
// and hears the answers on the root window. Qt answers a ping on its GUI thread, so the time
// a ping waits for its answer is how long that thread was busy. Standard output, one line each:
//   ready                    pinging has started and the first answer came back
//   report MAX_MS ANSWERED   on SIGUSR1: the longest wait since the last report (a ping still
//                            unanswered counts with its age) and how many answers came
// Exits with status 1 when the window does not answer the first ping within 5 s.
#include <xcb/xcb.h>

#include <poll.h>
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

volatile sig_atomic_t isReportWanted = 0;
volatile sig_atomic_t isEndWanted = 0;

xcb_atom_t intern(xcb_connection_t* c, const char* name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: holdfin_test_gui_pinger WINDOW [--interval MS]\n");
        return 2;
    }
    const auto window = static_cast<xcb_window_t>(std::strtoul(argv[1], nullptr, 0));
    int intervalMs = 5;
    if (argc >= 4 && std::string(argv[2]) == "--interval")
        intervalMs = std::max(1, std::atoi(argv[3]));

    int screenNumber = 0;
    const std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)> connection(
        xcb_connect(nullptr, &screenNumber), &xcb_disconnect);
    xcb_connection_t* c = connection.get();
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "holdfin_test_gui_pinger: cannot open the display\n");
        return 1;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screenNumber; ++i)
        xcb_screen_next(&screens);
    const xcb_window_t root = screens.data->root;
    const xcb_atom_t protocols = intern(c, "WM_PROTOCOLS");
    const xcb_atom_t ping = intern(c, "_NET_WM_PING");
    // Qt sends its answers to the root window for structure-notify listeners.
    const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);

    struct sigaction action {};
    action.sa_handler = [](int) { isReportWanted = 1; };
    sigaction(SIGUSR1, &action, nullptr);
    // The tests end the pinger with SIGTERM; a normal exit lets a sanitized build check it.
    struct sigaction end {};
    end.sa_handler = [](int) { isEndWanted = 1; };
    sigaction(SIGTERM, &end, nullptr);

    // Sequence numbers travel in the timestamp field, which the answer echoes.
    std::map<uint32_t, Clock::time_point> outstanding;
    uint32_t next = 1;
    double maxMs = 0;
    long answered = 0;
    bool isReady = false;
    const Clock::time_point started = Clock::now();
    Clock::time_point nextPing = started;
    while (!isEndWanted) {
        const Clock::time_point now = Clock::now();
        if (now >= nextPing) {
            xcb_client_message_event_t event{};
            event.response_type = XCB_CLIENT_MESSAGE;
            event.format = 32;
            event.window = window;
            event.type = protocols;
            event.data.data32[0] = ping;
            event.data.data32[1] = next;
            event.data.data32[2] = window;
            xcb_send_event(c, 0, window, XCB_EVENT_MASK_NO_EVENT,
                           reinterpret_cast<const char*>(&event));
            xcb_flush(c);
            outstanding.emplace(next++, now);
            nextPing = now + std::chrono::milliseconds(intervalMs);
        }
        while (xcb_generic_event_t* generic = xcb_poll_for_event(c)) {
            if ((generic->response_type & 0x7f) == XCB_CLIENT_MESSAGE) {
                const auto* e = reinterpret_cast<const xcb_client_message_event_t*>(generic);
                const auto found = outstanding.find(e->data.data32[1]);
                if (e->type == protocols && e->data.data32[0] == ping &&
                    found != outstanding.end()) {
                    const double ms =
                        std::chrono::duration<double, std::milli>(Clock::now() - found->second)
                            .count();
                    maxMs = std::max(maxMs, ms);
                    ++answered;
                    // Pings are answered in order: older ones still open were lost.
                    outstanding.erase(outstanding.begin(), std::next(found));
                    if (!isReady) {
                        isReady = true;
                        maxMs = 0;
                        answered = 0;
                        std::printf("ready\n");
                        std::fflush(stdout);
                    }
                }
            }
            std::free(generic);
        }
        if (xcb_connection_has_error(c))
            return 1;
        if (!isReady && Clock::now() - started > std::chrono::seconds(5)) {
            std::fprintf(stderr, "holdfin_test_gui_pinger: window 0x%x does not answer pings\n",
                         window);
            return 1;
        }
        if (isReportWanted) {
            isReportWanted = 0;
            double worst = maxMs;
            if (!outstanding.empty())
                worst = std::max(worst, std::chrono::duration<double, std::milli>(
                                            Clock::now() - outstanding.begin()->second)
                                            .count());
            std::printf("report %.1f %ld\n", worst, answered);
            std::fflush(stdout);
            maxMs = 0;
            answered = 0;
        }
        pollfd fd{xcb_get_file_descriptor(c), POLLIN, 0};
        const auto wait =
            std::chrono::duration_cast<std::chrono::milliseconds>(nextPing - Clock::now());
        poll(&fd, 1, static_cast<int>(std::clamp<long>(wait.count(), 0, intervalMs)));
    }
    return 0;
}
