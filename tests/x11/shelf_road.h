// The fixture of the X11 tests that drive a real holdfin process along the road of a drop: a
// private X server, our drag source and drop target, and holdfin observed from outside.
#pragma once

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

#include <signal.h>

namespace shelf_road {

using namespace std::chrono_literals;
using testing::HasSubstr;
using testing_support::x11::ChildProcess;
using testing_support::x11::PointerDriver;
using testing_support::x11::pumpEvents;
using testing_support::x11::testProgramPath;
using x11_tools::output;
using x11_tools::trimmed;
using x11_tools::waitFor;

// Where things are on the 1280x800 screen: the panel (160x310) at the left edge, centred
// vertically; tiles of 150x90 from 4 below its top, 4 apart; the bar at its bottom.
inline const QRect kPanel(0, 245, 160, 310);
constexpr int kTileLeft = 5, kTileTop = 4, kTileHeight = 90, kTilePitch = 94;
constexpr int kBarHeight = 22;
// The controls column is centred 48 to the right of the tile's centre.
constexpr int kControlsX = kTileLeft + 75 + 48;

inline QRect tileRect(int row) {
    return {kPanel.left() + kTileLeft, kPanel.top() + kTileTop + row * kTilePitch, 150,
            kTileHeight};
}
inline QPoint tileGrip(int row) {
    return tileRect(row).topLeft() + QPoint(35, kTileHeight / 2);
}
inline QRect clearButtonRect() {
    return {kPanel.right() + 1 - 22, kPanel.bottom() + 1 - kBarHeight, 22, kBarHeight};
}
// The trash symbol inside it (padded by 4), clear of the panel's rounded corner.
inline QRect trashSymbolRect() {
    return clearButtonRect().adjusted(4, 4, -6, -6);
}
// The controls column (as high as the tile) stacks 24 px targets in its middle, 2 apart, each
// with its symbol centred: lock (15 high), split (12, several payloads only), remove (11).
// The split symbol's middle rows fall in the gap between lock and remove of a column without
// it.
inline QRect lockControl(int row, bool hasSplit) {
    return {kControlsX - 9, tileRect(row).top() + (hasSplit ? 12 : 25), 18, 15};
}
inline QRect splitControl(int row) {
    return {kControlsX - 9, tileRect(row).top() + 39, 18, 12};
}
// The badge of a locked entry, at the tile's top left.
inline QRect lockBadgeRect(int row) {
    return {tileRect(row).left() + 6, tileRect(row).top() + 6, 12, 12};
}
inline QRect splitControlMiddle(int row) {
    return {kControlsX - 9, tileRect(row).top() + 43, 18, 4};
}

// Pixels in `area` that differ clearly from `background`.
inline int inkIn(const QImage& screen, const QRect& area, QColor background = Qt::white) {
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
inline int blueIn(const QImage& screen, const QRect& area) {
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
inline std::vector<std::string> urlsOfDataLine(const std::string& line) {
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
        const QString config = m_home.filePath(QStringLiteral("config"));
        ASSERT_TRUE(QDir().mkpath(config + QStringLiteral("/holdfin")));
        // A known look (white background) and no first-launch seeding that would undo it.
        QFile settings(config + QStringLiteral("/holdfin/holdfin.conf"));
        ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
        settings.write("[General]\nhasLaunchedBefore=true\nlaunchAtLogin=false\n"
                       "selectedAppearance=Light\nshowMenuBarIcon=false\n");
        settings.close();
        setenv("XDG_CONFIG_HOME", config.toLocal8Bit().constData(), 1);
        setenv("XDG_CACHE_HOME", m_home.filePath(QStringLiteral("cache")).toLocal8Bit().constData(),
               1);
        for (const char* name : {"alpha.txt", "beta.txt", "gamma.txt", "delta.txt"}) {
            QFile file(m_home.filePath(QString::fromLatin1(name)));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(name);
            m_files.push_back(file.fileName().toStdString());
        }

        setenv("XDG_DATA_HOME", m_home.filePath(QStringLiteral("data")).toLocal8Bit().constData(),
               1);
        ASSERT_NO_FATAL_FAILURE(startHoldfin());
        m_target = startProgram("holdfin_test_drop_target", {"--at", "600,100"});
        ASSERT_TRUE(m_target);
    }

    void startHoldfin() {
        ChildProcess::Options options;
        options.showStderr = true;
        m_holdfin = ChildProcess::start(HOLDFIN_EXECUTABLE, {}, options);
        ASSERT_TRUE(m_holdfin);
        const std::string pid = std::to_string(m_holdfin->pid());
        ASSERT_TRUE(waitFor(
            [&] {
                m_panel = trimmed(output("xdotool", {"search", "--pid", pid}));
                return m_hasTrayIcon ? pickPanel() : !m_panel.empty();
            },
            10s))
            << "holdfin built no panel";
        ASSERT_EQ(m_panel.find('\n'), std::string::npos) << "one window: the panel";
        pumpEvents(500ms); // the first visibility rule has run
    }

    // The tray icon is a window of holdfin's too: the panel is the one of its size.
    bool pickPanel() {
        std::istringstream windows(m_panel);
        for (std::string window; std::getline(windows, window);) {
            if (output("xdotool", {"getwindowgeometry", window}).find("160x310") !=
                std::string::npos) {
                m_panel = window;
                return true;
            }
        }
        return false;
    }

    // Ends holdfin as the end of a desktop session does.
    void terminateHoldfin() {
        ::kill(m_holdfin->pid(), SIGTERM);
        EXPECT_EQ(m_holdfin->wait(15s), 0);
        m_holdfin.reset();
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
        // A left-button drag on the desktop afterwards finds no new drag on the drag selection:
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
    bool m_hasTrayIcon = false; // holdfin is started with its tray icon shown
    std::string m_holdfinOutput;
    std::vector<std::string> m_files;
    PointerDriver m_pointer;
};

inline std::string fileUrl(const std::string& path) {
    return QUrl::fromLocalFile(QString::fromStdString(path)).toString().toStdString();
}

} // namespace shelf_road
