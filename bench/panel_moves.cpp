// panel_moves WINDOW: prints "T=<CLOCK_MONOTONIC ms> x=<root x>" at start and at each move of
// the X window WINDOW (hex or decimal), as an outside X client sees it; for the Wayland-session
// benchmark, which times holdfin's panel coming on and going off the screen.
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>

namespace {

double nowMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

void report(xcb_connection_t* c, xcb_window_t window, xcb_window_t root) {
    std::unique_ptr<xcb_translate_coordinates_reply_t, decltype(&std::free)> where(
        xcb_translate_coordinates_reply(c, xcb_translate_coordinates(c, window, root, 0, 0),
                                        nullptr),
        &std::free);
    if (where) {
        std::printf("T=%.3f x=%d\n", nowMs(), where->dst_x);
        std::fflush(stdout);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2)
        return 2;
    const auto window = xcb_window_t(std::strtoul(argv[1], nullptr, 0));
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c))
        return 1;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const std::uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, window, XCB_CW_EVENT_MASK, &mask);
    report(c, window, root);
    while (xcb_generic_event_t* event = xcb_wait_for_event(c)) {
        if ((event->response_type & 0x7f) == XCB_CONFIGURE_NOTIFY)
            report(c, window, root);
        std::free(event);
    }
    xcb_disconnect(c);
    return 0;
}
