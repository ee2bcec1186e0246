// The shelf across sessions and its undo, with holdfin as a real process on a private X
// server: entries parked, holdfin ended as a desktop session ends it, started again.
#include "shelf_road.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace shelf_road;

namespace {

class KeptShelfTest : public ShelfRoadTest {
protected:
    QString shelfFile() const { return m_home.filePath(QStringLiteral("data/holdfin/shelf.json")); }
    // Starts holdfin anew with `lines` besides the fixture's known look.
    void restartWith(const QByteArray& lines) {
        terminateHoldfin();
        QFile settings(m_home.filePath(QStringLiteral("config/holdfin/holdfin.conf")));
        ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
        settings.write("[General]\nhasLaunchedBefore=true\nlaunchAtLogin=false\n"
                       "selectedAppearance=Light\n" +
                       lines);
        settings.close();
        ASSERT_NO_FATAL_FAILURE(startHoldfin());
    }
    bool pressKeys(const std::string& keys) {
        return ChildProcess::run("xdotool", {"key", "--clearmodifiers", keys}) == 0;
    }
    // The payload contents of the saved entries, newest first.
    QStringList savedContents() const {
        QFile file(shelfFile());
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QStringList contents;
        const QJsonArray entries = QJsonDocument::fromJson(file.readAll())["entries"].toArray();
        for (const QJsonValue& entry : entries)
            contents << entry["items"][0]["content"].toString();
        return contents;
    }
};

TEST_F(KeptShelfTest, ShelfComesBackAfterTerminationAndItsFileStillDragsOut) {
    {
        SCOPED_TRACE("a file and a text parked");
        auto files = startFileSource({m_files[0]});
        ASSERT_TRUE(files);
        dropFromSource(*files, 1);
        ASSERT_TRUE(waitForList(1));
        auto text = startProgram("holdfin_test_drag_source", {"text", "--at", "300,450", "kept"});
        ASSERT_TRUE(text);
        dropFromSource(*text, 1);
        ASSERT_TRUE(waitForList(2));
    }
    const auto before = restingTiles();
    terminateHoldfin();
    EXPECT_EQ(savedContents(),
              (QStringList{QStringLiteral("kept"), QString::fromStdString(fileUrl(m_files[0]))}));

    ASSERT_NO_FATAL_FAILURE(startHoldfin());
    ASSERT_TRUE(waitForList(2)) << "the kept shelf shows at start-up";
    EXPECT_EQ(restingTiles(), before) << "the same two entries in the same order";
    const auto urls = dragTileOut(1);
    EXPECT_EQ(urls, std::vector<std::string>{fileUrl(m_files[0])});
}

TEST_F(KeptShelfTest, UndoOfAClearBringsBackEveryEntryLockedOnesIncluded) {
    for (int i = 0; i < 2; ++i) {
        auto files = startFileSource({m_files[i]});
        ASSERT_TRUE(files);
        dropFromSource(*files, 1);
        ASSERT_TRUE(waitForList(i + 1));
    }
    ASSERT_TRUE(hover(0));
    ASSERT_TRUE(click(lockControl(0, false)));
    pumpEvents(300ms);
    const auto before = restingTiles();

    ASSERT_TRUE(click(clearButtonRect()));
    ASSERT_TRUE(waitFor([&] { return !isShowingList(screen()); }, 5s)) << "the shelf is empty";
    ASSERT_EQ(ChildProcess::run(HOLDFIN_EXECUTABLE, {}), 0) << "a second launch shows the shelf";
    ASSERT_TRUE(
        waitFor([&] { return output("xdotool", {"getactivewindow"}) == m_panel + "\n"; }, 5s));
    ASSERT_TRUE(pressKeys("ctrl+z")) << "Ctrl+Z on the shelf, which has the focus";
    ASSERT_TRUE(waitForList(2)) << "both entries are back";
    // Inside the focus ring a tile with the focus draws.
    const auto inner = [](const std::pair<QImage, QImage>& tiles) {
        const QRect ring = tiles.first.rect().adjusted(4, 4, -4, -4);
        return std::pair(tiles.first.copy(ring), tiles.second.copy(ring));
    };
    EXPECT_EQ(inner(restingTiles()), inner(before)) << "in their order, the locked one locked";
    EXPECT_TRUE(m_holdfin->isRunning());
}

// Holdfin acts on keys only while its own window has the focus: the pointer resting over the
// shelf takes nothing from the window being typed into.
TEST_F(KeptShelfTest, KeysGoToTheFocusedWindowWhileThePointerRestsOnTheShelf) {
    auto files = startFileSource({m_files[0]});
    ASSERT_TRUE(files);
    dropFromSource(*files, 1);
    ASSERT_TRUE(waitForList(1));
    auto typedInto =
        ChildProcess::start("stdbuf", {"-oL", "xev", "-name", "typed-into", "-geometry",
                                       "300x200+600+500", "-event", "keyboard"});
    ASSERT_TRUE(typedInto);
    ASSERT_TRUE(waitFor(
        [] {
            return ChildProcess::run("xdotool", {"search", "--name", "typed-into", "windowactivate",
                                                 "--sync"}) == 0;
        },
        10s));
    ASSERT_TRUE(hover(0)) << "the pointer rests on the tile";
    pumpEvents(300ms);
    ASSERT_TRUE(pressKeys("ctrl+v"));
    ASSERT_TRUE(pressKeys("ctrl+z"));
    std::string heard;
    while (auto line = typedInto->readLine(3s))
        heard += *line;
    EXPECT_NE(heard.find("(keysym 0x76, v)"), std::string::npos) << "Ctrl+V reached it";
    EXPECT_NE(heard.find("(keysym 0x7a, z)"), std::string::npos) << "Ctrl+Z reached it";
    pumpEvents(500ms);
    EXPECT_EQ(tileCount(screen()), 1) << "nothing was parked";
}

TEST_F(KeptShelfTest, GlobalShortcutShowsAndHidesTheShelfAndEscapeHidesIt) {
    ASSERT_NO_FATAL_FAILURE(restartWith("showMenuBarIcon=false\nshowShelfShortcut=Ctrl+Alt+S\n"));
    m_pointer.moveTo(700, 700);
    ASSERT_TRUE(waitForPanel(false)) << "empty shelf, no drag: hidden";
    ASSERT_TRUE(pressKeys("ctrl+alt+s"));
    EXPECT_TRUE(waitForPanel(true)) << "the shortcut shows the shelf";
    pumpEvents(500ms);
    EXPECT_TRUE(isPanelShown()) << "and it stays without a drag or the pointer";
    ASSERT_TRUE(pressKeys("ctrl+alt+s"));
    EXPECT_TRUE(waitForPanel(false)) << "the shortcut again hides it";
    ASSERT_TRUE(pressKeys("ctrl+alt+s"));
    ASSERT_TRUE(waitForPanel(true));
    ASSERT_TRUE(pressKeys("Escape"));
    EXPECT_TRUE(waitForPanel(false)) << "Escape hides it";
}

TEST_F(KeptShelfTest, LeftClickOnTheTrayIconShowsAndHidesTheShelf) {
    auto tray = startProgram("holdfin_test_tray_host", {"--at", "1200,0"});
    ASSERT_TRUE(tray);
    m_hasTrayIcon = true;
    ASSERT_NO_FATAL_FAILURE(restartWith("showMenuBarIcon=true\n"));
    const auto docked = tray->waitForLine("docked ", 10s);
    ASSERT_TRUE(docked) << "holdfin put its icon in the tray";
    int window = 0, x = 0, y = 0, width = 0, height = 0;
    ASSERT_EQ(
        std::sscanf(docked->c_str(), "docked %d %d %d %d %d", &window, &x, &y, &width, &height), 5);
    m_pointer.moveTo(700, 700);
    ASSERT_TRUE(waitForPanel(false));
    pumpEvents(500ms); // the icon is drawn and takes clicks
    ASSERT_TRUE(click(QRect(x, y, width, height)));
    EXPECT_TRUE(waitForPanel(true)) << "a left click shows the shelf";
    m_pointer.moveTo(700, 700);
    pumpEvents(500ms);
    EXPECT_TRUE(isPanelShown()) << "it stays without a drag or the pointer";
    ASSERT_TRUE(click(QRect(x, y, width, height)));
    EXPECT_TRUE(waitForPanel(false)) << "a second click hides it";

    auto files = startFileSource({m_files[0]});
    ASSERT_TRUE(files);
    dropFromSource(*files, 1);
    ASSERT_TRUE(waitForList(1));
    m_pointer.moveTo(700, 700);
    ASSERT_TRUE(click(QRect(x, y, width, height)));
    EXPECT_TRUE(waitForPanel(false)) << "a click puts away a shelf with entries";
    dropFromSource(*files, 1); // the next drag brings it back, and it takes the drop
    EXPECT_TRUE(waitForList(2));
}

TEST_F(KeptShelfTest, NextShowingIsInTheMiddleOfTheWorkAreaAPanelLeft) {
    ASSERT_NO_FATAL_FAILURE(restartWith("showShelfShortcut=Ctrl+Alt+S\n"));
    const std::string target =
        trimmed(output("xdotool", {"search", "--pid", std::to_string(m_target->pid())}));
    // The drop target becomes a 100 px panel along the top edge.
    ASSERT_EQ(ChildProcess::run("xprop", {"-id", target, "-f", "_NET_WM_STRUT", "32c", "-set",
                                          "_NET_WM_STRUT", "0, 0, 100, 0"}),
              0);
    pumpEvents(500ms);
    ASSERT_TRUE(pressKeys("ctrl+alt+s"));
    EXPECT_TRUE(waitFor([&] { return x11_tools::windowPlace(m_panel).y == 295; }, 5s));
}

TEST_F(KeptShelfTest, SystemLookFollowsTheSettingsManagersThemeLive) {
    const QString config = m_home.filePath(QStringLiteral("xsettingsd.conf"));
    auto publish = [&](const QByteArray& theme) {
        QFile file(config);
        return file.open(QIODevice::WriteOnly) &&
               file.write("Net/ThemeName \"" + theme + "\"\n") > 0;
    };
    ASSERT_TRUE(publish("Adwaita"));
    ChildProcess::Options quiet;
    quiet.captureStdout = false;
    auto manager = ChildProcess::start("xsettingsd", {"-c", config.toStdString()}, quiet);
    ASSERT_TRUE(manager) << "xsettingsd is not installed";
    ASSERT_NO_FATAL_FAILURE(restartWith("selectedAppearance=System\n"));
    auto files = startFileSource({m_files[0]});
    ASSERT_TRUE(files);
    dropFromSource(*files, 1);
    m_pointer.moveTo(700, 700);
    const QPoint emptyList = tileRect(1).center();
    for (const char* theme : {"Adwaita-dark", "Adwaita"}) {
        ASSERT_TRUE(publish(theme));
        ::kill(manager->pid(), SIGHUP); // xsettingsd reads its file anew
        const bool isDark = QByteArray(theme).endsWith("dark");
        EXPECT_TRUE(waitFor(
            [&] { return (screen().pixelColor(emptyList).lightness() < 128) == isDark; }, 5s))
            << theme;
    }
}

TEST_F(KeptShelfTest, ADropIsKeptWhenHoldfinIsKilledRightAfterIt) {
    auto text = startProgram("holdfin_test_drag_source", {"text", "--at", "300,450", "killed"});
    ASSERT_TRUE(text);
    dropFromSource(*text, 1);
    pumpEvents(100ms);
    ::kill(m_holdfin->pid(), SIGKILL); // a crash, a power cut
    m_holdfin->wait(5s);
    m_holdfin.reset();
    EXPECT_EQ(savedContents(), QStringList{QStringLiteral("killed")});
    ASSERT_NO_FATAL_FAILURE(startHoldfin());
    EXPECT_TRUE(waitForList(1));
}

TEST_F(KeptShelfTest, EachDamagedShelfIsKeptAsideAndWhatCanBeReadComesBack) {
    QList<QByteArray> damaged;
    for (int round = 1; round <= 2; ++round) {
        SCOPED_TRACE(round);
        auto text = startProgram("holdfin_test_drag_source",
                                 {"text", "--at", "300,450", "round " + std::to_string(round)});
        ASSERT_TRUE(text);
        dropFromSource(*text, 1);
        ASSERT_TRUE(waitForList(round));
        terminateHoldfin();
        QFile file(shelfFile());
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        damaged << file.readAll().chopped(2); // cut off mid-write
        ASSERT_TRUE(file.resize(damaged.last().size()));
        file.close();
        ASSERT_NO_FATAL_FAILURE(startHoldfin());
        EXPECT_TRUE(waitForList(round)) << "every entry of the damaged file came back";
    }
    QFile first(shelfFile() + QStringLiteral(".broken"));
    QFile second(shelfFile() + QStringLiteral(".broken.2"));
    ASSERT_TRUE(first.open(QIODevice::ReadOnly) && second.open(QIODevice::ReadOnly));
    EXPECT_EQ(first.readAll(), damaged.at(0));
    EXPECT_EQ(second.readAll(), damaged.at(1)) << "the second did not replace the first";
}

} // namespace
