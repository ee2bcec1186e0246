#include "backend/x11/x11_connection.h"

#include <gtest/gtest.h>

#include <xcb/xcb.h>

#include <tuple>

// A listener may take itself and others off during a dispatch: those taken off hear nothing
// more, the others hear every event.
TEST(X11ConnectionTest, ListenersRemovedDuringADispatchHearNothingMore) {
    backend::x11::X11Connection connection;
    ASSERT_TRUE(connection.isOpen());
    const std::uint32_t window = connection.createRequestorWindow(XCB_EVENT_MASK_PROPERTY_CHANGE);
    int heardByRemover = 0, heardByRemoved = 0, heardByLast = 0, removed = 0;
    const int remover = connection.addListener([&](const void*) {
        ++heardByRemover;
        connection.removeListener(removed);
        connection.removeListener(remover);
    });
    removed = connection.addListener([&](const void*) { ++heardByRemoved; });
    connection.addListener([&](const void*) { ++heardByLast; });
    for (std::uint8_t value : {1, 2, 3})
        xcb_change_property(connection.connection(), XCB_PROP_MODE_REPLACE, window,
                            XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, 1, &value);
    connection.sync();
    EXPECT_EQ(std::tuple(heardByRemover, heardByRemoved, heardByLast), std::tuple(1, 0, 3));
}
