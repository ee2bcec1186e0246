// The whole road of a drop, with holdfin running as a real process on a private X server:
// drags from our drag source onto the panel, the list of tiles, their controls, drags out
// into our drop target, and the clear button. Everything is observed from outside: holdfin's
// standard output, what the target received, whether the panel window is mapped, and the
// pixels of the screen.
#include "shelf_road.h"

using namespace shelf_road;

namespace {

TEST_F(ShelfRoadTest, DropsSplitsLocksDragsOutAndClears) {
    EXPECT_FALSE(isPanelShown()) << "no drag, no entry, no pointer: hidden";

    {
        SCOPED_TRACE("one file dropped");
        auto source = startFileSource({m_files[3]});
        ASSERT_TRUE(source);
        dropFromSource(*source, 1);
        ASSERT_TRUE(waitForList(1)) << "the drag's end shows the list with one tile";
    }
    {
        SCOPED_TRACE("three files dropped");
        auto source = startFileSource({m_files[0], m_files[1], m_files[2]});
        ASSERT_TRUE(source);
        dropFromSource(*source, 3);
        ASSERT_TRUE(waitForList(2));
        ASSERT_TRUE(hover(1));
        EXPECT_EQ(inkIn(screen(), splitControlMiddle(1)), 0) << "one file: nothing to split";
        ASSERT_TRUE(hover(0));
        EXPECT_GT(inkIn(screen(), splitControlMiddle(0)), 5)
            << "the three files make the top tile, which can be split";
    }
    {
        SCOPED_TRACE("split");
        ASSERT_TRUE(click(splitControl(0)));
        ASSERT_TRUE(waitForList(3));
        ASSERT_TRUE(hover(0));
        EXPECT_EQ(inkIn(screen(), splitControlMiddle(0)), 0) << "one file per tile now";
    }
    const QRect lock = lockControl(0, false);
    QImage unlocked;
    {
        SCOPED_TRACE("locked tile dragged out");
        unlocked = screen().copy(lock);
        ASSERT_TRUE(click(lock));
        // Off the control again, so that its hover highlight is not what differs.
        ASSERT_TRUE(hover(0));
        EXPECT_NE(screen().copy(lock), unlocked) << "the lock symbol shows the new state";
        const auto before = restingTiles();
        const auto urls = dragTileOut(0);
        ASSERT_EQ(urls.size(), 1u);
        EXPECT_THAT((std::vector<std::string>{fileUrl(m_files[0]), fileUrl(m_files[1]),
                                              fileUrl(m_files[2])}),
                    testing::Contains(urls.front()));
        pumpEvents(1s);
        EXPECT_TRUE(isShowingList(screen()));
        EXPECT_EQ(restingTiles(), before) << "the locked entry stays at the top";
    }
    {
        SCOPED_TRACE("unlocked tile dragged out");
        ASSERT_TRUE(hover(0));
        ASSERT_TRUE(click(lock));
        ASSERT_TRUE(hover(0));
        EXPECT_EQ(screen().copy(lock), unlocked) << "the lock symbol shows the entry unlocked";
        const auto before = restingTiles();
        const auto urls = dragTileOut(0);
        ASSERT_EQ(urls.size(), 1u);
        EXPECT_TRUE(waitFor([&] { return restingTiles().first == before.second; }, 5s))
            << "the entry leaves the shelf: the next one moves up";
        EXPECT_TRUE(isShowingList(screen()));
    }
    {
        SCOPED_TRACE("clear");
        ASSERT_TRUE(click(clearButtonRect()));
        ASSERT_TRUE(waitFor([&] { return !isShowingList(screen()); }, 5s))
            << "the drop region replaces the emptied list";
        EXPECT_TRUE(isPanelShown()) << "the pointer is still over the panel";
        m_pointer.moveTo(700, 700);
        EXPECT_TRUE(waitForPanel(false)) << "empty, no drag, pointer outside: hidden";
    }
    EXPECT_TRUE(m_holdfin->isRunning());
}

// Escape pressed while an entry is dragged out cancels that drag, as in every X11 drag source,
// though the panel never has the keyboard focus: the target receives nothing, the entry stays.
TEST_F(ShelfRoadTest, EscapeCancelsADragOut) {
    auto source = startFileSource({m_files[0]});
    ASSERT_TRUE(source);
    dropFromSource(*source, 1);
    ASSERT_TRUE(waitForList(1));
    ASSERT_TRUE(hover(0));
    ASSERT_TRUE(m_pointer.beginDrag(tileGrip(0).x(), tileGrip(0).y()));
    ASSERT_TRUE(waitForPanel(false)) << "holdfin's own drag hides the panel";
    ASSERT_TRUE(m_pointer.moveBy(28, -4, 20)); // into the target
    ASSERT_TRUE(m_target->waitForLine("enter ", 5s)) << "the drag reached the target";
    ASSERT_TRUE(m_pointer.key("Escape"));
    pumpEvents(300ms);
    ASSERT_TRUE(m_pointer.endDrag());
    while (const auto line = m_target->readLine(1s))
        EXPECT_NE(line->rfind("dropped ", 0), 0u) << "dropped after Escape: " << *line;
    EXPECT_TRUE(hover(0));
    EXPECT_TRUE(waitForList(1)) << "the entry stays on the shelf";
    EXPECT_TRUE(m_holdfin->isRunning());
}

// The panel never takes the focus, yet a right click on a tile opens its menu, which takes the
// keyboard as long as it is open: Escape closes it, and its commands act on the entry.
TEST_F(ShelfRoadTest, ATilesContextMenuOpensClosesAndActs) {
    auto source = startFileSource({m_files[3]});
    ASSERT_TRUE(source);
    dropFromSource(*source, 1);
    ASSERT_TRUE(waitForList(1));

    // The menu opens at the pointer and reaches out of the panel, over the desktop.
    const QRect beside(kPanel.right() + 5, tileGrip(0).y() + 10, 20, 100);
    ASSERT_TRUE(hover(0));
    const QImage desktop = screen().copy(beside);
    const auto isMenuShown = [&] { return screen().copy(beside) != desktop; };
    const auto openMenu = [&] {
        return hover(0) && m_pointer.press(3) && m_pointer.release(3) && waitFor(isMenuShown, 5s);
    };
    ASSERT_TRUE(openMenu()) << "no menu";
    ASSERT_TRUE(m_pointer.key("Escape"));
    EXPECT_TRUE(waitFor([&] { return !isMenuShown(); }, 5s)) << "Escape closes it";
    EXPECT_TRUE(waitForList(1));

    m_pointer.moveTo(700, 700);
    pumpEvents(400ms);
    EXPECT_EQ(inkIn(screen(), lockBadgeRect(0)), 0) << "no badge while unlocked";
    // Lock is the fifth command that the keys reach (Split is off for one file).
    ASSERT_TRUE(openMenu());
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(m_pointer.key("Down"));
    ASSERT_TRUE(m_pointer.key("Return"));
    EXPECT_TRUE(waitFor([&] { return !isMenuShown(); }, 5s));
    m_pointer.moveTo(700, 700);
    pumpEvents(400ms);
    EXPECT_GT(inkIn(screen(), lockBadgeRect(0)), 5) << "the locked entry shows its badge";

    // Remove is the sixth.
    ASSERT_TRUE(openMenu());
    for (int i = 0; i < 6; ++i)
        ASSERT_TRUE(m_pointer.key("Down"));
    ASSERT_TRUE(m_pointer.key("Return"));
    EXPECT_TRUE(waitFor([&] { return !isPanelShown() || !isShowingList(screen()); }, 5s))
        << "the entry left the shelf: the list goes";
    EXPECT_TRUE(m_holdfin->isRunning());
}

// A source that finds its target in its own copy of the window tree, copied when its drag
// starts and followed only through the events it hears, as Chromium does, reaches the panel
// that its own drag brought up: the panel was there all along, out of sight, and only moved.
class TreeCacheSourceTest : public ShelfRoadTest,
                            public testing::WithParamInterface<const char*> {};

TEST_P(TreeCacheSourceTest, DropsOntoThePanelItsDragBroughtUp) {
    auto source =
        startProgram("holdfin_test_tree_cache_drag_source", {GetParam(), "--at", "300,450"});
    ASSERT_TRUE(source);
    EXPECT_FALSE(isPanelShown());
    dropFromSource(*source, 1);
    EXPECT_TRUE(waitForList(1));
}

// 3,000 file URLs are too many for one property: they come in parts, as GTK programs send them.
TEST_F(ShelfRoadTest, DropTooBigForOnePropertyArrivesInParts) {
    ASSERT_TRUE(QDir(m_home.path()).mkdir(QStringLiteral("many")));
    std::vector<std::string> args{"files", "--at", "300,450"};
    for (int i = 0; i < 3000; ++i) {
        QFile file(m_home.filePath(QStringLiteral("many/file-%1.txt").arg(i)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        args.push_back(file.fileName().toStdString());
    }
    auto source = startProgram("holdfin_test_tree_cache_drag_source", args);
    ASSERT_TRUE(source);
    dropFromSource(*source, 3000);
}

// The shelf must come up above the full-screen window the drag starts in, or the drop is lost.
TEST_F(ShelfRoadTest, DragFromAFullScreenWindowDropsOntoThePanelAboveIt) {
    auto source = startProgram("holdfin_test_drag_source", {"files", "--full-screen", m_files[0]});
    ASSERT_TRUE(source);
    pumpEvents(500ms);          // openbox has made it full-screen
    dropFromSource(*source, 1); // the drop region must be seen in blue during the drag
    m_pointer.moveTo(700, 700);
    EXPECT_FALSE(waitFor([&] { return inkIn(screen(), tileRect(0)) > 100; }, 2s))
        << "with the drag over, the full-screen window covers the panel again";
    source.reset();
    EXPECT_TRUE(waitForList(1)) << "the drop landed";
}

INSTANTIATE_TEST_SUITE_P(Payloads, TreeCacheSourceTest,
                         testing::Values("files", "text", "link", "image"));

} // namespace
