#include "desktop/settings.h"
#include "desktop/settings_keys.h"
#include "panel/drag_monitor.h"
#include "panel/shelf_shortcut.h"
#include "support/fake_drag_selection.h"
#include "support/fake_global_event_monitor.h"
#include "support/fake_global_shortcuts.h"
#include "support/fake_main_queue.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using panel::ShelfShortcut;
namespace keys = desktop::settings_keys;

namespace {

constexpr QKeyCombination kCtrlAltS(Qt::ControlModifier | Qt::AltModifier, Qt::Key_S);
constexpr QKeyCombination kMetaF5(Qt::MetaModifier, Qt::Key_F5);

class ShelfRequestTest : public testing::Test {
protected:
    QTemporaryDir dir;
    desktop::Settings settings{dir.filePath(QStringLiteral("holdfin.conf"))};
    testing_support::FakeMainQueue queue;
    testing_support::FakeDragSelection dragSelection;
    testing_support::FakeGlobalEventMonitor events;
    testing_support::FakeGlobalShortcuts shortcuts;
    panel::DragMonitor monitor{queue, dragSelection, events};
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
    ShelfShortcut shortcut(shortcuts, settings, monitor);
    EXPECT_FALSE(shortcut.grabbed());
    EXPECT_EQ(shortcuts.grabCount(), 0);
}

TEST_F(ShelfRequestTest, StoredShortcutIsTakenTogglesTheShelfAndIsGivenBackWhenCleared) {
    settings.setValue(keys::showShelfShortcut, QStringLiteral("Ctrl+Alt+S"));
    ShelfShortcut shortcut(shortcuts, settings, monitor);
    EXPECT_EQ(shortcut.grabbed(), kCtrlAltS);
    shortcuts.press(kCtrlAltS);
    EXPECT_TRUE(monitor.isShelfRequested());
    shortcuts.press(kCtrlAltS);
    EXPECT_FALSE(monitor.isShelfRequested());

    settings.setValue(keys::showShelfShortcut, QStringLiteral("Meta+F5"));
    EXPECT_FALSE(shortcuts.isGrabbed(kCtrlAltS)) << "the old one is given back";
    EXPECT_TRUE(shortcuts.isGrabbed(kMetaF5));
    settings.remove(keys::showShelfShortcut);
    EXPECT_EQ(shortcuts.grabCount(), 0);
    EXPECT_FALSE(shortcut.grabbed());
}

TEST_F(ShelfRequestTest, ShortcutHeldElsewhereOrUnreadableIsNotTaken) {
    shortcuts.holdElsewhere(kCtrlAltS);
    settings.setValue(keys::showShelfShortcut, QStringLiteral("Ctrl+Alt+S"));
    ShelfShortcut shortcut(shortcuts, settings, monitor);
    EXPECT_FALSE(shortcut.grabbed());
    for (const char* stored : {"", "Ctrl+", "nonsense+words"}) {
        settings.setValue(keys::showShelfShortcut, QString::fromLatin1(stored));
        EXPECT_FALSE(shortcut.grabbed()) << stored;
    }
    EXPECT_EQ(shortcuts.grabCount(), 0);
}
