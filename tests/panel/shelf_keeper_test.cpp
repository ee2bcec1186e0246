#include "desktop/settings.h"
#include "desktop/settings_keys.h"
#include "panel/drag_monitor.h"
#include "panel/shelf_keeper.h"
#include "shelf/shelf_store.h"
#include "support/fake_drag_selection.h"
#include "support/fake_global_event_monitor.h"
#include "support/fake_main_queue.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QUrl>

using namespace std::chrono_literals;
using shelf::BucketItem;
using shelf::BucketItemData;
using shelf::UTType;

namespace {

BucketItem textEntry(const QString& text, bool locked = false) {
    return BucketItem({BucketItemData(text, UTType::plainText)}, locked);
}

// One session of Holdfin: its monitor, store and keeper over the same folders.
struct Session {
    Session(const QTemporaryDir& home, testing_support::FakeMainQueue& queue,
            testing_support::FakeDragSelection& dragSelection,
            testing_support::FakeGlobalEventMonitor& events,
            panel::ShelfKeeper::Background background = {})
        : settings(home.filePath(QStringLiteral("holdfin.conf"))),
          store(home.filePath(QStringLiteral("data")), home.filePath(QStringLiteral("cache"))),
          monitor(queue, dragSelection, events),
          keeper(monitor, store, settings, queue, std::move(background)) {}

    desktop::Settings settings;
    shelf::ShelfStore store;
    panel::DragMonitor monitor;
    panel::ShelfKeeper keeper;
};

class ShelfKeeperTest : public testing::Test {
protected:
    QTemporaryDir home;
    testing_support::FakeMainQueue queue;
    testing_support::FakeDragSelection dragSelection;
    testing_support::FakeGlobalEventMonitor events;

    std::unique_ptr<Session> startSession() {
        auto session = std::make_unique<Session>(home, queue, dragSelection, events);
        session->keeper.restore();
        return session;
    }
};

} // namespace

TEST_F(ShelfKeeperTest, ShelfComesBackInTheNextSessionInOrderWithLocks) {
    QList<BucketItem> kept;
    {
        auto session = startSession();
        session->monitor.addItem(textEntry(QStringLiteral("first"), true));
        session->monitor.addItem(textEntry(QStringLiteral("second")));
        kept = session->monitor.draggedItems();
        session->keeper.saveNow(); // quitting
    }
    auto next = startSession();
    EXPECT_EQ(next->monitor.draggedItems(), kept);
}

TEST_F(ShelfKeeperTest, ChangesAreSavedOnTheNextTurnTogetherAndWritesNeverOvertake) {
    std::vector<std::function<void()>> background;
    Session session(home, queue, dragSelection, events,
                    [&background](std::function<void()> write) { background.push_back(write); });
    session.monitor.addItem(textEntry(QStringLiteral("a")));
    session.monitor.addItem(textEntry(QStringLiteral("b")));
    queue.drain();
    ASSERT_EQ(background.size(), 1u) << "both changes of one turn in one write, with no delay";
    session.monitor.addItem(textEntry(QStringLiteral("c")));
    session.monitor.addItem(textEntry(QStringLiteral("d")));
    queue.drain();
    EXPECT_EQ(background.size(), 1u) << "changes wait for the write under way";
    background.front()();
    queue.drain();
    ASSERT_EQ(background.size(), 2u) << "its end starts one write with all that changed";
    background.back()();
    queue.drain();
    EXPECT_EQ(session.store.load().items, session.monitor.draggedItems());

    session.monitor.addItem(textEntry(QStringLiteral("old")));
    queue.drain();
    ASSERT_EQ(background.size(), 3u);
    session.monitor.addItem(textEntry(QStringLiteral("new")));
    session.keeper.saveNow(); // quitting
    background.back()();
    const QList<BucketItem> saved = session.store.load().items;
    ASSERT_EQ(saved.size(), 6) << "the older write came too late and was dropped";
    EXPECT_EQ(saved.front().items.front().content, QStringLiteral("new"));
}

TEST_F(ShelfKeeperTest, ADamagedShelfGivesBackWhatCanBeReadAndSaysSo) {
    {
        auto session = startSession();
        for (const char* text : {"one", "two", "three"})
            session->monitor.addItem(textEntry(QString::fromLatin1(text)));
        session->keeper.saveNow();
    }
    QFile file(home.filePath(QStringLiteral("data/shelf.json")));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    const QByteArray whole = file.readAll();
    file.resize(whole.lastIndexOf("\"items\"")); // the oldest entry broken off
    file.close();

    Session session(home, queue, dragSelection, events);
    const QString notice = session.keeper.restore();
    ASSERT_EQ(session.monitor.draggedItems().size(), 2);
    EXPECT_EQ(session.monitor.draggedItems().front().items.front().content,
              QStringLiteral("three"));
    EXPECT_TRUE(notice.contains(QStringLiteral("2 entries")) &&
                notice.contains(home.filePath(QStringLiteral("data/shelf.json.broken"))))
        << notice.toStdString();
    queue.drain();
    EXPECT_EQ(session.store.load().items.size(), 2) << "what came back is saved again";
}

TEST_F(ShelfKeeperTest, TurningThePreferenceOffDeletesTheSavedShelfAndStopsSaving) {
    auto session = startSession();
    session->monitor.addItem(textEntry(QStringLiteral("a")));
    session->keeper.saveNow();
    ASSERT_TRUE(QFileInfo::exists(session->store.filePath()));

    session->settings.setValue(desktop::settings_keys::keepShelf, false);
    EXPECT_FALSE(QFileInfo::exists(session->store.filePath()));
    session->monitor.addItem(textEntry(QStringLiteral("b")));
    queue.drain();
    session->keeper.saveNow();
    EXPECT_FALSE(QFileInfo::exists(session->store.filePath()));
    session.reset();
    EXPECT_TRUE(startSession()->monitor.draggedItems().isEmpty());

    auto again = startSession();
    again->settings.setValue(desktop::settings_keys::keepShelf, true);
    again->monitor.addItem(textEntry(QStringLiteral("c")));
    again->keeper.saveNow();
    EXPECT_EQ(again->store.load().items.size(), 1) << "turned on again, it saves again";
}

TEST_F(ShelfKeeperTest, RetainedEntriesKeepTheirImages) {
    const QString cache = home.filePath(QStringLiteral("cache"));
    ASSERT_TRUE(QDir().mkpath(cache));
    QFile image(cache + QStringLiteral("/image-1.png"));
    ASSERT_TRUE(image.open(QIODevice::WriteOnly));
    image.write("png");
    image.close();
    const BucketItem entry(
        {BucketItemData(QString::fromLatin1(QUrl::fromLocalFile(image.fileName()).toEncoded()),
                        UTType::png)},
        false);

    auto session = startSession();
    session->monitor.addItem(entry);
    session->keeper.saveNow();
    const QDir images(session->store.imageDirectory());
    ASSERT_EQ(images.entryList(QDir::Files).size(), 1);
    session->monitor.history().removeItem(entry);
    queue.drain();
    EXPECT_EQ(images.entryList(QDir::Files).size(), 1) << "the entry may still come back";
    queue.advance(panel::ShelfHistory::kUndoWindow);
    queue.drain();
    EXPECT_TRUE(images.entryList(QDir::Files).isEmpty())
        << "gone once undo can no longer bring it back";
}
