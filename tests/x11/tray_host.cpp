// holdfin_test_tray_host: the smallest system tray a desktop panel offers on X11, for tests of
// tray icons: it owns the _NET_SYSTEM_TRAY_S0 selection and docks every icon that asks.
//
//   holdfin_test_tray_host [--at X,Y]
//
// Its 48x48 window sits at --at (default 1200,0); docked icons are laid from its left, 24x24 each.
// Standard output, one line each:
//   ready X Y W H            the tray is announced; its window's global geometry
//   docked WINDOW X Y W H    an icon window was docked; its global geometry
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

constexpr std::uint32_t kRequestDock = 0;

xcb_atom_t intern(xcb_connection_t* c, const char* name) {
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::uint16_t(std::strlen(name)), name),
                              nullptr),
        &std::free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

} // namespace

int main(int argc, char** argv) {
    int x = 1200, y = 0;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::string(argv[i]) == "--at")
            std::sscanf(argv[i + 1], "%d,%d", &x, &y);
    }
    int screenNumber = 0;
    xcb_connection_t* c = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(c))
        return 1;
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_window_t tray = xcb_generate_id(c);
    const std::uint32_t values[] = {screen->white_pixel, 1,
                                    XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY |
                                        XCB_EVENT_MASK_STRUCTURE_NOTIFY};
    xcb_create_window(c, XCB_COPY_FROM_PARENT, tray, screen->root, std::int16_t(x), std::int16_t(y),
                      48, 48, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                      XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK, values);
    xcb_map_window(c, tray);
    const std::string selectionName = "_NET_SYSTEM_TRAY_S" + std::to_string(screenNumber);
    const xcb_atom_t selection = intern(c, selectionName.c_str());
    const xcb_atom_t manager = intern(c, "MANAGER");
    const xcb_atom_t opcode = intern(c, "_NET_SYSTEM_TRAY_OPCODE");
    const xcb_atom_t orientation = intern(c, "_NET_SYSTEM_TRAY_ORIENTATION");
    const std::uint32_t horizontal = 0;
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, tray, orientation, XCB_ATOM_CARDINAL, 32, 1,
                        &horizontal);
    xcb_set_selection_owner(c, tray, selection, XCB_CURRENT_TIME);

    xcb_client_message_event_t announce{};
    announce.response_type = XCB_CLIENT_MESSAGE;
    announce.format = 32;
    announce.window = screen->root;
    announce.type = manager;
    announce.data.data32[0] = XCB_CURRENT_TIME;
    announce.data.data32[1] = selection;
    announce.data.data32[2] = tray;
    xcb_send_event(c, 0, screen->root, XCB_EVENT_MASK_STRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&announce));
    xcb_flush(c);
    std::printf("ready %d %d 48 48\n", x, y);
    std::fflush(stdout);

    int docked = 0;
    while (xcb_generic_event_t* event = xcb_wait_for_event(c)) {
        if ((event->response_type & 0x7f) == XCB_CLIENT_MESSAGE) {
            const auto* message = reinterpret_cast<xcb_client_message_event_t*>(event);
            if (message->type == opcode && message->data.data32[1] == kRequestDock) {
                const xcb_window_t icon = message->data.data32[2];
                const std::int16_t left = std::int16_t(24 * docked++);
                xcb_reparent_window(c, icon, tray, left, 12);
                const std::uint32_t size[] = {24, 24};
                xcb_configure_window(c, icon, XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT,
                                     size);
                xcb_map_window(c, icon);
                xcb_flush(c);
                std::printf("docked %u %d %d 24 24\n", icon, x + left, y + 12);
                std::fflush(stdout);
            }
        }
        std::free(event);
    }
    xcb_disconnect(c);
    return 0;
}
