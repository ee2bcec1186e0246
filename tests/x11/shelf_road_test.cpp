// The whole road of a drop, with holdfin running as a real process on a private X server:
// drags from our drag source onto the panel, the list of tiles, their controls, drags out
// into our drop target, and the clear button. Everything is observed from outside: holdfin's
// standard output, what the target received, whether the panel window is mapped, and the
// pixels of the screen.
#include "holdfin_home.h"
#include "support/x11/child_process.h"
#include "support/x11/pointer_driver.h"
#include "support/x11/test_programs.h"
#include "support/x11/xvfb_session.h"
#include "x11_tools.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QRect>
#include <QTemporaryDir>
#include <QUrl>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <sstream>

using namespace std::chrono_literals;
using testing::HasSubstr;
using testing_support::x11::ChildProcess;
using testing_support::x11::PointerDriver;
using testing_support::x11::pumpEvents;
using testing_support::x11::testProgramPath;
using x11_tools::output;
using x11_tools::trimmed;
using x11_tools::waitFor;

namespace {

// Where things are on the 1280x800 screen: the panel (160x310) at the left edge, centred
// vertically; tiles of 150x90 from 4 below its top, 4 apart; the bar at its bottom.
const QRect kPanel(0, 245, 160, 310);
constexpr int kTileLeft = 5, kTileTop = 4, kTileHeight = 90, kTilePitch = 94;
constexpr int kBarHeight = 22;
// The controls column is centred 48 to the right of the tile's centre.
constexpr int kControlsX = kTileLeft + 75 + 48;

QRect tileRect(int row) {
    return {kPanel.left() + kTileLeft, kPanel.top() + kTileTop + row * kTilePitch, 150,
            kTileHeight};
}
QPoint tileGrip(int row) {
    return tileRect(row).topLeft() + QPoint(35, kTileHeight / 2);
}
QRect clearButtonRect() {
    return {kPanel.right() + 1 - 22, kPanel.bottom() + 1 - kBarHeight, 22, kBarHeight};
}
// The trash symbol inside it (padded by 4), clear of the panel's rounded corner.
QRect trashSymbolRect() {
    return clearButtonRect().adjusted(4, 4, -6, -6);
}
// The controls column (70 high, from the tile's top) stacks its symbols in its middle, 6
// apart: lock (15 high), split (12, several payloads only), remove (11). The split symbol's
// middle rows fall in the gap between lock and remove of a column without it.
QRect lockControl(int row, bool hasSplit) {
    return {kControlsX - 9, tileRect(row).top() + (hasSplit ? 10 : 19), 18, 15};
}
QRect splitControl(int row) {
    return {kControlsX - 9, tileRect(row).top() + 31, 18, 12};
}
QRect splitControlMiddle(int row) {
    return {kControlsX - 9, tileRect(row).top() + 35, 18, 4};
}

// Pixels in `area` that differ clearly from `background`.
int inkIn(const QImage& screen, const QRect& area, QColor background = Qt::white) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor pixel = screen.pixelColor(x, y);
            const int difference = std::abs(pixel.red() - background.red()) +
                                   std::abs(pixel.green() - background.green()) +
                                   std::abs(pixel.blue() - background.blue());
            if (difference > 60)
                ++count;
        }
    }
    return count;
}

// Pixels in `area` that are clearly blue.
int blueIn(const QImage& screen, const QRect& area) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor pixel = screen.pixelColor(x, y);
            if (pixel.blue() > pixel.red() + 60)
                ++count;
        }
    }
    return count;
}

// The file URLs of a `data text/uri-list BASE64` line of the drop target.
std::vector<std::string> urlsOfDataLine(const std::string& line) {
    const std::string prefix = "data text/uri-list ";
    std::vector<std::string> urls;
    if (line.rfind(prefix, 0) != 0)
        return urls;
    const QByteArray list =
        QByteArray::fromBase64(QByteArray::fromStdString(line.substr(prefix.size())));
    for (const QByteArray& entry : list.split('\n')) {
        const QByteArray url = entry.trimmed();
        if (!url.isEmpty() && !url.startsWith('#'))
            urls.push_back(url.toStdString());
    }
    return urls;
}

class ShelfRoadTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_home.isValid());
        if (auto error = m_session.start())
            GTEST_SKIP() << *error;
        // A known look (white background).
        ASSERT_TRUE(x11_tools::prepareHoldfinHome(m_home.path()));
        for (const char* name : {"alpha.txt", "beta.txt", "gamma.txt", "delta.txt"}) {
            QFile file(m_home.filePath(QString::fromLatin1(name)));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(name);
            m_files.push_back(file.fileName().toStdString());
        }

        m_holdfin = ChildProcess::start(HOLDFIN_EXECUTABLE, {});
        ASSERT_TRUE(m_holdfin);
        m_panel = x11_tools::waitForPanelWindow(m_holdfin->pid());
        ASSERT_FALSE(m_panel.empty()) << "holdfin built no panel";
        ASSERT_EQ(m_panel.find('\n'), std::string::npos) << "one window: the panel";
        pumpEvents(500ms); // the first visibility rule has run
        m_target = startProgram("holdfin_test_drop_target", {"--at", "600,100"});
        ASSERT_TRUE(m_target);
    }

    void TearDown() override {
        if (HasFailure() && m_holdfin) {
            while (auto line = m_holdfin->readLine(200ms))
                m_holdfinOutput += *line + '\n';
            std::fprintf(stderr, "holdfin printed:\n%s", m_holdfinOutput.c_str());
        }
    }

    // The next line of holdfin's that starts with `prefix`; the lines before it are kept for
    // the failure report.
    std::optional<std::string> holdfinLine(const std::string& prefix,
                                           std::chrono::milliseconds timeout) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (std::chrono::steady_clock::now() < deadline) {
            const auto line =
                m_holdfin->readLine(std::chrono::duration_cast<std::chrono::milliseconds>(
                    deadline - std::chrono::steady_clock::now()));
            if (!line)
                break;
            m_holdfinOutput += *line + '\n';
            if (line->rfind(prefix, 0) == 0)
                return line;
        }
        return std::nullopt;
    }

    std::unique_ptr<ChildProcess> startProgram(const std::string& name,
                                               const std::vector<std::string>& args) {
        auto program = ChildProcess::start(testProgramPath(name), args);
        if (!program || !program->waitForLine("ready ", 10s))
            return nullptr;
        return program;
    }
    std::unique_ptr<ChildProcess> startFileSource(std::vector<std::string> files) {
        files.insert(files.begin(), {"files", "--at", "300,450"});
        return startProgram("holdfin_test_drag_source", files);
    }

    bool isPanelShown() { return x11_tools::isOnScreen(m_panel); }
    bool waitForPanel(bool isShown) {
        return waitFor([&] { return isPanelShown() == isShown; }, 5s);
    }
    QImage screen() { return x11_tools::screenshot(m_home.filePath(QStringLiteral("screen.png"))); }
    // The list face has the bar with the clear button; the drop region draws only its symbol
    // in the middle.
    bool isShowingList(const QImage& image) { return inkIn(image, trashSymbolRect()) > 10; }
    int tileCount(const QImage& image) {
        int count = 0;
        for (int row = 0; row < 3 && inkIn(image, tileRect(row)) > 100; ++row)
            ++count;
        return count;
    }
    bool waitForList(int tiles) {
        return waitFor(
            [&] {
                const QImage image = screen();
                return isPanelShown() && isShowingList(image) && tileCount(image) == tiles;
            },
            5s);
    }
    // The first two tiles as they look with the pointer away from the panel.
    std::pair<QImage, QImage> restingTiles() {
        m_pointer.moveTo(700, 700);
        pumpEvents(400ms); // the controls fade out
        // Without their right edge, which the list's scroll bar covers while it shows.
        const QImage image = screen();
        const QMargins scrollBar(0, 0, 8, 0);
        return {image.copy(tileRect(0) - scrollBar), image.copy(tileRect(1) - scrollBar)};
    }
    bool hover(int row) {
        const bool isMoved = m_pointer.moveTo(tileGrip(row).x(), tileGrip(row).y());
        pumpEvents(400ms); // the controls fade in
        return isMoved;
    }
    bool click(const QRect& area) {
        return m_pointer.moveTo(area.center().x(), area.center().y()) && m_pointer.press() &&
               m_pointer.release();
    }

    // Drags from the file source onto the panel's middle; checks the panel during the drag.
    void dropFromSource(ChildProcess& source, int payloadCount) {
        ASSERT_TRUE(m_pointer.beginDrag(450, 600)); // ends at (546, 648)
        ASSERT_TRUE(source.waitForLine("drag-started ", 5s));
        ASSERT_TRUE(waitForPanel(true)) << "a drag anywhere shows the panel";
        ASSERT_TRUE(m_pointer.moveBy(-24, -13, 19)); // to (90, 401): the drop region
        pumpEvents(300ms);
        const QImage during = screen();
        EXPECT_TRUE(isPanelShown());
        EXPECT_FALSE(isShowingList(during)) << "the drop region shows during a drag";
        const QRect middle(kPanel.center() - QPoint(30, 30), QSize(60, 60));
        EXPECT_GT(inkIn(during, middle), 50) << "the drop region's symbol is in the panel's middle";
        EXPECT_GT(blueIn(during, middle), 50) << "the region shows the drag it accepts in blue";
        ASSERT_TRUE(m_pointer.endDrag());
        EXPECT_TRUE(holdfinLine("Dropping " + std::to_string(payloadCount) + " items", 5s));
        EXPECT_EQ(source.waitForLine("drag-finished ", 5s), "drag-finished copy");
    }

    // Drags tile `row` into the drop target; the panel must stay hidden while the drag is
    // under way. The URLs the target received.
    std::vector<std::string> dragTileOut(int row) {
        m_pointer.moveTo(tileGrip(row).x(), tileGrip(row).y());
        pumpEvents(200ms);
        std::vector<std::string> urls;
        EXPECT_TRUE(m_pointer.beginDrag(tileGrip(row).x(), tileGrip(row).y()));
        EXPECT_TRUE(waitForPanel(false)) << "holdfin's own drag hides the panel";
        EXPECT_TRUE(m_pointer.moveBy(28, -4, 20)); // into the target at (600..900, 100..400)
        // Released before the target has answered, a drag is dropped on nothing.
        EXPECT_TRUE(m_target->waitForLine("enter ", 5s)) << "the drag reached the target";
        pumpEvents(300ms);
        EXPECT_FALSE(isPanelShown()) << "holdfin's own drag is not taken for a system drag";
        EXPECT_TRUE(m_pointer.endDrag());
        const auto provided = holdfinLine("providing file url ", 5s);
        EXPECT_TRUE(provided);
        std::optional<std::string> dropped;
        std::string received;
        while (!dropped) {
            const auto line = m_target->readLine(5s);
            if (!line)
                break;
            received += line->substr(0, 60) + '\n';
            if (line->rfind("data text/uri-list ", 0) == 0)
                urls = urlsOfDataLine(*line);
            if (line->rfind("dropped ", 0) == 0)
                dropped = line;
        }
        EXPECT_EQ(dropped, "dropped copy") << "the target printed:\n" << received;
        if (provided && urls.size() == 1) {
            EXPECT_EQ(provided->substr(std::string("providing file url ").size()), urls.front());
        }
        EXPECT_TRUE(waitForPanel(true)) << "the panel comes back when the drag ends";
        // A left-button drag on the desktop afterwards finds no new drag on the pasteboard:
        // holdfin's own drag was written off when it ended.
        EXPECT_TRUE(m_pointer.beginDrag(1000, 600));
        pumpEvents(300ms);
        EXPECT_TRUE(isShowingList(screen())) << "holdfin's own drag taken for a new one";
        EXPECT_TRUE(m_pointer.release());
        return urls;
    }

    QTemporaryDir m_home;
    testing_support::x11::XvfbSession m_session;
    std::unique_ptr<ChildProcess> m_holdfin;
    std::unique_ptr<ChildProcess> m_target;
    std::string m_panel;
    std::string m_holdfinOutput;
    std::vector<std::string> m_files;
    PointerDriver m_pointer;
};

std::string fileUrl(const std::string& path) {
    return QUrl::fromLocalFile(QString::fromStdString(path)).toString().toStdString();
}

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
        pumpEvents(300ms);
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
        pumpEvents(300ms);
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

INSTANTIATE_TEST_SUITE_P(Payloads, TreeCacheSourceTest,
                         testing::Values("files", "text", "link", "image"));

} // namespace
