// The X11 global shortcuts on a private X server: real key presses from xdotool, and a second
// X11 client competing for the same combination.
#include "backend/x11/x11_connection.h"
#include "backend/x11/x11_global_shortcuts.h"
#include "support/x11/child_process.h"
#include "x11_tools.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

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
    EXPECT_TRUE(other.grab(kCtrlAltS)) << "free once every taking is given back";
    EXPECT_FALSE(other.grab(QKeyCombination(Qt::ControlModifier, Qt::Key_unknown)));
}
