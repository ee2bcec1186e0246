#include "desktop/defaults_keys.h"
#include "desktop/user_defaults.h"
#include "panel/drag_monitor.h"
#include "panel/shelf_shortcut.h"
#include "support/fake_drag_pasteboard.h"
#include "support/fake_global_event_monitor.h"
#include "support/fake_global_shortcuts.h"
#include "support/fake_main_queue.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using panel::ShelfShortcut;
namespace keys = desktop::defaults_keys;

namespace {

constexpr QKeyCombination kCtrlAltS(Qt::ControlModifier | Qt::AltModifier, Qt::Key_S);
constexpr QKeyCombination kMetaF5(Qt::MetaModifier, Qt::Key_F5);

class ShelfRequestTest : public testing::Test {
protected:
    QTemporaryDir dir;
    desktop::UserDefaults defaults{dir.filePath(QStringLiteral("holdfin.conf"))};
    testing_support::FakeMainQueue queue;
    testing_support::FakeDragPasteboard pasteboard;
    testing_support::FakeGlobalEventMonitor events;
    testing_support::FakeGlobalShortcuts shortcuts;
    panel::DragMonitor monitor{queue, pasteboard, events};
};

} // namespace

TEST_F(ShelfRequestTest, EscapeAnywhereHidesAShelfShownOnRequest) {
    monitor.toggleShelf();
    EXPECT_TRUE(monitor.isShelfRequested());
    events.keyDown(Qt::Key_A);
    queue.drain();
    EXPECT_TRUE(monitor.isShelfRequested()) << "other keys leave it";
    EXPECT_TRUE(events.isWatchingKeys());
    events.setOwnDragInProgress(true);
    events.keyDown(Qt::Key_Escape);
    queue.drain();
    EXPECT_TRUE(monitor.isShelfRequested()) << "Escape in a drag out cancels that drag only";
    events.setOwnDragInProgress(false);
    events.keyDown(Qt::Key_Escape);
    EXPECT_TRUE(monitor.isShelfRequested()) << "changed on the main queue, not in the handler";
    queue.drain();
    EXPECT_FALSE(monitor.isShelfRequested());
    EXPECT_FALSE(events.isWatchingKeys());
    monitor.showShelf();
    monitor.toggleShelf();
    EXPECT_FALSE(monitor.isShelfRequested());
}

TEST_F(ShelfRequestTest, NoShortcutIsTakenByDefault) {
    ShelfShortcut shortcut(shortcuts, defaults, monitor);
    EXPECT_FALSE(shortcut.grabbed());
    EXPECT_EQ(shortcuts.grabCount(), 0);
}

TEST_F(ShelfRequestTest, StoredShortcutIsTakenTogglesTheShelfAndIsGivenBackWhenCleared) {
    defaults.setObject(keys::showShelfShortcut, QStringLiteral("Ctrl+Alt+S"));
    ShelfShortcut shortcut(shortcuts, defaults, monitor);
    EXPECT_EQ(shortcut.grabbed(), kCtrlAltS);
    shortcuts.press(kCtrlAltS);
    EXPECT_TRUE(monitor.isShelfRequested());
    shortcuts.press(kCtrlAltS);
    EXPECT_FALSE(monitor.isShelfRequested());

    defaults.setObject(keys::showShelfShortcut, QStringLiteral("Meta+F5"));
    EXPECT_FALSE(shortcuts.isGrabbed(kCtrlAltS)) << "the old one is given back";
    EXPECT_TRUE(shortcuts.isGrabbed(kMetaF5));
    defaults.remove(keys::showShelfShortcut);
    EXPECT_EQ(shortcuts.grabCount(), 0);
    EXPECT_FALSE(shortcut.grabbed());
}

TEST_F(ShelfRequestTest, ShortcutHeldElsewhereOrUnreadableIsNotTaken) {
    shortcuts.holdElsewhere(kCtrlAltS);
    defaults.setObject(keys::showShelfShortcut, QStringLiteral("Ctrl+Alt+S"));
    ShelfShortcut shortcut(shortcuts, defaults, monitor);
    EXPECT_FALSE(shortcut.grabbed());
    for (const char* stored : {"", "Ctrl+", "nonsense+words"}) {
        defaults.setObject(keys::showShelfShortcut, QString::fromLatin1(stored));
        EXPECT_FALSE(shortcut.grabbed()) << stored;
    }
    EXPECT_EQ(shortcuts.grabCount(), 0);
}
