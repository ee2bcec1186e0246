// The X11 global shortcuts on a private X server: real key presses from xdotool, and a second
// X11 client competing for the same combination.
#include "backend/x11/x11_connection.h"
#include "backend/x11/x11_global_shortcuts.h"
#include "support/x11/child_process.h"
#include "x11_tools.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

#include <xcb/xcb.h>

#include <thread>

using namespace std::chrono_literals;
using backend::x11::X11Connection;
using backend::x11::X11GlobalShortcuts;
using testing_support::x11::ChildProcess;
using x11_tools::waitFor;

namespace {

constexpr QKeyCombination kCtrlAltS(Qt::ControlModifier | Qt::AltModifier, Qt::Key_S);
constexpr QKeyCombination kMetaF5(Qt::MetaModifier, Qt::Key_F5);

bool press(std::vector<std::string> keys) {
    keys.insert(keys.begin(), "key");
    return ChildProcess::run("xdotool", keys) == 0;
}

} // namespace

TEST(X11GlobalShortcutsTest, TakenKeysAreReportedWhateverTheLocksUntilGivenBack) {
    X11Connection connection;
    ASSERT_TRUE(connection.isOpen());
    X11GlobalShortcuts shortcuts(connection);
    QSignalSpy activated(&shortcuts, &backend::GlobalShortcuts::activated);
    ASSERT_TRUE(shortcuts.grab(kCtrlAltS));
    ASSERT_TRUE(shortcuts.grab(kMetaF5));

    ASSERT_TRUE(press({"ctrl+alt+s"}));
    ASSERT_TRUE(waitFor([&] { return activated.count() == 1; }, 5s));
    EXPECT_EQ(activated.takeFirst().at(0).value<QKeyCombination>(), kCtrlAltS);
    ASSERT_TRUE(press({"super+F5"}));
    ASSERT_TRUE(waitFor([&] { return activated.count() == 1; }, 5s));
    EXPECT_EQ(activated.takeFirst().at(0).value<QKeyCombination>(), kMetaF5);
    ASSERT_TRUE(press({"Caps_Lock", "ctrl+alt+s", "Caps_Lock"}));
    EXPECT_TRUE(waitFor([&] { return activated.count() == 1; }, 5s)) << "with Caps Lock on too";
    activated.clear();

    ASSERT_TRUE(press({"ctrl+s", "alt+s"}));
    x11_tools::waitFor([] { return false; }, 300ms);
    EXPECT_EQ(activated.count(), 0) << "other combinations of the key are not taken";

    shortcuts.release(kCtrlAltS);
    ASSERT_TRUE(press({"ctrl+alt+s"}));
    x11_tools::waitFor([] { return false; }, 300ms);
    EXPECT_EQ(activated.count(), 0) << "given back";
}

TEST(X11GlobalShortcutsTest, CombinationHeldByAnotherProgramIsNotTakenUntilItLetsGo) {
    X11Connection first;
    X11Connection second;
    ASSERT_TRUE(first.isOpen() && second.isOpen());
    X11GlobalShortcuts holder(first);
    X11GlobalShortcuts other(second);
    ASSERT_TRUE(holder.grab(kCtrlAltS));
    EXPECT_FALSE(other.grab(kCtrlAltS)) << "the server refuses a second grab";
    EXPECT_TRUE(holder.grab(kCtrlAltS)) << "taking it again only counts";
    holder.release(kCtrlAltS);
    EXPECT_FALSE(other.grab(kCtrlAltS)) << "still taken once";
    holder.release(kCtrlAltS);
    // The server orders requests per client only: the ungrab must have been handled before the
    // other client asks.
    first.sync();
    EXPECT_TRUE(other.grab(kCtrlAltS)) << "free once every taking is given back";
    EXPECT_FALSE(other.grab(QKeyCombination(Qt::ControlModifier, Qt::Key_unknown)));
}

// Taking a key waits for the server's answers, and the wait reads whatever events came with
// them into xcb's queue, where the socket stays silent about them: they must still reach the
// connection's listeners (a drop's data arriving then was lost before).
TEST(X11GlobalShortcutsTest, EventsThatCameDuringATakingAreStillDelivered) {
    X11Connection connection;
    ASSERT_TRUE(connection.isOpen());
    X11GlobalShortcuts shortcuts(connection);
    xcb_connection_t* c = connection.connection();
    const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(c, connection.helperWindow(), XCB_CW_EVENT_MASK, &mask);
    connection.sync();
    testing_support::x11::pumpEvents(100ms); // whatever set-up left queued is delivered
    int propertyNotices = 0;
    connection.addListener([&](const void* event) {
        if ((static_cast<const xcb_generic_event_t*>(event)->response_type & 0x7f) ==
            XCB_PROPERTY_NOTIFY)
            ++propertyNotices;
    });
    const char value[] = "x";
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, connection.helperWindow(), XCB_ATOM_WM_NAME,
                        XCB_ATOM_STRING, 8, 1, value);
    connection.flush();
    std::this_thread::sleep_for(100ms); // the notice waits on the socket when the taking reads
    ASSERT_TRUE(shortcuts.grab(kMetaF5));
    EXPECT_TRUE(waitFor([&] { return propertyNotices == 1; }, 2s));
}
