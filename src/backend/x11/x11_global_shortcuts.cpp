#include "backend/x11/x11_global_shortcuts.h"

#include "backend/x11/input_mapping.h"
#include "backend/x11/x11_connection.h"
#include "backend/x11/xcb_support.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace backend::x11 {

namespace {

// Modifiers that say nothing about the combination: Caps Lock and Num Lock (Mod2 on every
// common keymap).
constexpr std::uint16_t kLockVariants[] = {0, XCB_MOD_MASK_LOCK, XCB_MOD_MASK_2,
                                           XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2};
constexpr std::uint16_t kMeaningfulModifiers =
    XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_MOD_MASK_4;

} // namespace

X11GlobalShortcuts::X11GlobalShortcuts(X11Connection& connection, QObject* parent)
    : GlobalShortcuts(parent), m_connection(connection) {
    if (connection.isOpen())
        m_listener = connection.addListener([this](const void* event) { handleEvent(event); });
}

X11GlobalShortcuts::~X11GlobalShortcuts() {
    for (const auto& [combined, grab] : m_grabs)
        ungrab(grab.keycodes, grab.modifiers);
    if (m_listener)
        m_connection.removeListener(m_listener);
    m_connection.flush();
}

std::vector<std::uint8_t> X11GlobalShortcuts::keycodesFor(std::uint32_t keysym) {
    xcb_connection_t* c = m_connection.connection();
    const xcb_setup_t* setup = xcb_get_setup(c);
    const std::uint8_t first = setup->min_keycode;
    const auto count = std::uint8_t(setup->max_keycode - first + 1);
    // Read at each grab: the keymap may have changed since the last one.
    Reply<xcb_get_keyboard_mapping_reply_t> reply(
        xcb_get_keyboard_mapping_reply(c, xcb_get_keyboard_mapping(c, first, count), nullptr));
    m_connection.dispatchEventsLater();
    if (!reply)
        return {};
    const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(reply.get());
    const std::vector<std::uint32_t> table(
        keysyms, keysyms + xcb_get_keyboard_mapping_keysyms_length(reply.get()));
    return keycodesWithKeysym(first, reply->keysyms_per_keycode, table, keysym);
}

bool X11GlobalShortcuts::grab(QKeyCombination keys) {
    if (!m_connection.isOpen())
        return false;
    if (auto found = m_grabs.find(keys.toCombined()); found != m_grabs.end()) {
        ++found->second.count;
        return true;
    }
    const auto keysym = keysymForKey(keys.key());
    if (!keysym)
        return false;
    const std::vector<std::uint8_t> keycodes = keycodesFor(*keysym);
    if (keycodes.empty())
        return false;
    const std::uint16_t modifiers = modifierMask(keys.keyboardModifiers());
    xcb_connection_t* c = m_connection.connection();
    std::vector<xcb_void_cookie_t> cookies;
    for (std::uint8_t keycode : keycodes) {
        for (std::uint16_t variant : kLockVariants) {
            cookies.push_back(xcb_grab_key_checked(c, 1, m_connection.rootWindow(),
                                                   modifiers | variant, keycode,
                                                   XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
        }
    }
    bool isTaken = true;
    for (xcb_void_cookie_t cookie : cookies) {
        if (xcb_generic_error_t* error = xcb_request_check(c, cookie)) {
            isTaken = false; // BadAccess: another client holds it
            std::free(error);
        }
    }
    m_connection.dispatchEventsLater();
    if (!isTaken) {
        ungrab(keycodes, modifiers);
        m_connection.flush();
        return false;
    }
    m_grabs.emplace(keys.toCombined(), Grab{keycodes, modifiers, 1});
    return true;
}

void X11GlobalShortcuts::release(QKeyCombination keys) {
    const auto found = m_grabs.find(keys.toCombined());
    if (found == m_grabs.end() || --found->second.count > 0)
        return;
    ungrab(found->second.keycodes, found->second.modifiers);
    m_grabs.erase(found);
    m_connection.flush();
}

void X11GlobalShortcuts::ungrab(const std::vector<std::uint8_t>& keycodes,
                                std::uint16_t modifiers) {
    for (std::uint8_t keycode : keycodes) {
        for (std::uint16_t variant : kLockVariants)
            xcb_ungrab_key(m_connection.connection(), keycode, m_connection.rootWindow(),
                           modifiers | variant);
    }
}

void X11GlobalShortcuts::handleEvent(const void* event) {
    const auto* generic = static_cast<const xcb_generic_event_t*>(event);
    const std::uint8_t type = generic->response_type & 0x7f;
    if (type == XCB_KEY_RELEASE) {
        const auto* release = static_cast<const xcb_key_release_event_t*>(event);
        m_releasedKeycode = release->detail;
        m_releaseTime = release->time;
        return;
    }
    if (type != XCB_KEY_PRESS)
        return;
    const auto* press = static_cast<const xcb_key_press_event_t*>(event);
    if (press->detail == m_releasedKeycode && press->time == m_releaseTime)
        return; // key repeat
    const std::uint16_t modifiers = press->state & kMeaningfulModifiers;
    for (const auto& [combined, grab] : m_grabs) {
        if (grab.modifiers != modifiers)
            continue;
        for (std::uint8_t keycode : grab.keycodes) {
            if (keycode == press->detail) {
                emit activated(QKeyCombination::fromCombined(combined));
                return;
            }
        }
    }
}

} // namespace backend::x11
