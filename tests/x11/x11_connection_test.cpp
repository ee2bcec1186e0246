// Holdfin's second X connection on a private X server.
#include "backend/x11/x11_connection.h"

#include <gtest/gtest.h>

#include <xcb/xcb.h>

using backend::x11::X11Connection;

// A listener may take itself and others off during a dispatch: those taken off hear nothing
// more, the others hear every event.
TEST(X11ConnectionTest, ListenersRemovedDuringADispatchHearNothingMore) {
    X11Connection connection;
    ASSERT_TRUE(connection.isOpen());
    const std::uint32_t window = connection.createRequestorWindow(XCB_EVENT_MASK_PROPERTY_CHANGE);
    int heardByRemover = 0, heardByRemoved = 0, heardByLast = 0;
    int removed = 0, remover = 0;
    remover = connection.addListener([&](const void*) {
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
    EXPECT_EQ(heardByRemover, 1);
    EXPECT_EQ(heardByRemoved, 0);
    EXPECT_EQ(heardByLast, 3);
}
