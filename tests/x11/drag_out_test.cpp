// Dragging a shelf tile out into another process: the tile and Holdfin's real drag session in
// this process, our drop target program as the destination, the pointer driven by xdotool,
// all on a private X server (see holdfin_test_main_x11).
#include "backend/qt_drag_session.h"
#include "desktop/freedesktop_services.h"
#include "desktop/symbol_image.h"
#include "panel/drag_monitor.h"
#include "settled_window.h"
#include "support/fake_drag_selection.h"
#include "support/fake_global_event_monitor.h"
#include "support/fake_main_queue.h"
#include "support/fake_thumbnails.h"
#include "support/qt_printers.h"
#include "support/recording_log.h"
#include "support/x11/child_process.h"
#include "support/x11/pointer_driver.h"
#include "support/x11/test_programs.h"
#include "views/bucket_item_view.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

#include <unistd.h>

using namespace std::chrono_literals;
using namespace testing_support::x11;

using shelf::BucketItem;
using shelf::BucketItemData;
using shelf::UTType;
using x11_tools::waitFor;
using x11_tools::waitUntilSettled;

namespace {

// xdotool arguments: `count` relative moves by (dx, dy), `pause` seconds apart.
std::vector<std::string> moves(int count, int dx, int dy, const std::string& pause) {
    std::vector<std::string> args;
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            args.insert(args.end(), {"sleep", pause});
        args.insert(args.end(),
                    {"mousemove_relative", "--", std::to_string(dx), std::to_string(dy)});
    }
    return args;
}

std::vector<std::string> joined(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

// Runs the real drag session and notes what it asked of and told the tile's drag source.
class RecordingDragSession final : public backend::DragSession {
public:
    explicit RecordingDragSession(backend::DragSession& session) : m_session(session) {}

    void startDrag(QObject& view, QPointF position, QList<backend::DragItem> items,
                   std::shared_ptr<backend::DragSource> source) override {
        ++sessionCount;
        m_session.startDrag(view, position, std::move(items),
                            std::make_shared<Source>(std::move(source), *this));
    }

    int sessionCount = 0;
    std::optional<Qt::DropActions> offered;
    std::optional<Qt::DropAction> performed;

private:
    class Source final : public backend::DragSource {
    public:
        Source(std::shared_ptr<backend::DragSource> source, RecordingDragSession& record)
            : m_source(std::move(source)), m_record(record) {}
        Qt::DropActions supportedDropActions(backend::DragContext context) override {
            m_record.offered = m_source->supportedDropActions(context);
            return *m_record.offered;
        }
        void dragFinished(QPoint endPoint, Qt::DropAction operation) override {
            m_record.performed = operation;
            m_source->dragFinished(endPoint, operation);
        }
        void dropHandedOver(bool isHandedOver) override { m_source->dropHandedOver(isHandedOver); }

    private:
        std::shared_ptr<backend::DragSource> m_source;
        RecordingDragSession& m_record;
    };

    backend::DragSession& m_session;
};

// One tile in a window of its own, built on the real drag session, with the shelf around it.
struct Shelf {
    explicit Shelf(const BucketItem& entry)
        : monitor(mainQueue, dragSelection, eventMonitor), dragSession(eventMonitor),
          recordingSession(dragSession) {
        monitor.addItem(entry);
        views::TileActions actions;
        actions.onRemove = [this, id = entry.id] {
            for (const BucketItem& current : monitor.draggedItems()) {
                if (current.id == id) {
                    monitor.removeItem(current);
                    return;
                }
            }
        };
        actions.onDragStart = [this] {
            ++dragStarts;
            if (onDragStart)
                onDragStart();
        };
        actions.onDragEnd = [this] { ++dragEnds; };
        tile = std::make_unique<views::BucketItemView>(
            monitor.shelfModel().index(0), monitor, std::move(actions), mainQueue, recordingSession,
            log, desktopServices, thumbnails, symbols, desktop::ColorScheme::Light);
        // Out of the window manager's hands, so that openbox's placement plays no part; where
        // the window really lands is read once it has settled.
        tile->setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::BypassWindowManagerHint);
        tile->move(100, 100);
        tile->show();
    }

    bool isOnShelf(const QUuid& id) const {
        const auto& items = monitor.draggedItems();
        return std::any_of(items.begin(), items.end(),
                           [&](const BucketItem& item) { return item.id == id; });
    }

    testing_support::FakeMainQueue mainQueue;
    testing_support::FakeDragSelection dragSelection;
    testing_support::FakeGlobalEventMonitor eventMonitor;
    testing_support::RecordingLog log;
    desktop::FreedesktopServices desktopServices;
    testing_support::FakeThumbnails thumbnails;
    desktop::SymbolImage symbols;
    panel::DragMonitor monitor;
    backend::QtDragSession dragSession;
    RecordingDragSession recordingSession;
    std::function<void()> onDragStart;
    int dragStarts = 0;
    int dragEnds = 0;
    std::unique_ptr<views::BucketItemView> tile;
};

// A drag out offers only files that are there: each test makes them, in a folder of this
// process's own.
const std::string kFilesRoot = "/tmp/holdfin-drag-out-" + std::to_string(getpid());
const QString kFilesUrl = QStringLiteral("file://") + QString::fromStdString(kFilesRoot);

// Payload contents that a careless encoder would mangle.
const QString kOddFile = kFilesUrl + QStringLiteral("/holdfin%20shelf/100%25%0Asure%E9.txt");
const QString kPlainFile = kFilesUrl + QStringLiteral("/notes.md");
const QString kFolder = kFilesUrl + QStringLiteral("/folder/");

// Makes the files and folders that file URLs name (their bytes, whatever the encoding), and
// takes them all away again.
class FilesOnDisk final {
public:
    explicit FilesOnDisk(const QList<QString>& urls) {
        for (const QString& url : urls) {
            const std::filesystem::path path(
                QByteArray::fromPercentEncoding(url.mid(7).toLatin1()).toStdString());
            std::filesystem::create_directories(path.parent_path());
            if (url.endsWith(QLatin1Char('/')))
                continue;
            std::ofstream file(path);
        }
    }
    ~FilesOnDisk() { std::filesystem::remove_all(kFilesRoot); }
    FilesOnDisk(const FilesOnDisk&) = delete;
    FilesOnDisk& operator=(const FilesOnDisk&) = delete;
};
const QString kText = QStringLiteral("Grüße, 100% sure");
const QString kPathText = QStringLiteral("/tmp/holdfin/typed as text");

struct DragOutCase {
    std::string name;
    QList<BucketItemData> payloads;
    bool isLocked;
    std::string accept; // the drop target's choice
    std::string offered;
    Qt::DropAction performed;
    QByteArray uriList; // what the destination receives
    QByteArray text;
};

std::ostream& operator<<(std::ostream& out, const DragOutCase& c) {
    return out << c.name;
}

class DragOutTest : public testing::TestWithParam<DragOutCase> {};

TEST_P(DragOutTest, destinationReceivesUrlsAndTextAndTheTileFollowsItsChoice) {
    const DragOutCase& c = GetParam();
    const FilesOnDisk files({kOddFile, kPlainFile, kFolder});
    const BucketItem entry(c.payloads, c.isLocked);
    Shelf shelf(entry);
    const auto tileAt = waitUntilSettled(*shelf.tile);
    ASSERT_TRUE(tileAt) << "the tile's window never showed";

    ChildProcess::Options options;
    options.showStderr = true;
    auto target = ChildProcess::start(testProgramPath("holdfin_test_drop_target"),
                                      {"--at", "600,100", "--accept", c.accept}, options);
    ASSERT_TRUE(target);
    const auto ready = target->waitForLine("ready ", 10s);
    ASSERT_TRUE(ready) << "the drop target never showed";
    std::istringstream in(ready->substr(6));
    int targetX = 0, targetY = 0;
    in >> targetX >> targetY;

    // The drag runs in a nested event loop inside this thread, so the gesture runs in xdotool
    // processes of their own: the press and first moves now; once the drag has begun, the way
    // to the target; the release once the target has seen the drag, however slow the machine.
    ChildProcess::Options quiet;
    quiet.captureStdout = false;
    std::vector<std::string> targetLines;
    std::unique_ptr<ChildProcess> toTarget, release;
    QElapsedTimer sinceDragStart;
    QTimer watch;
    watch.setInterval(10);
    bool isOwnDragAnnounced = false;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        isOwnDragAnnounced = isOwnDragAnnounced || shelf.eventMonitor.isOwnDragInProgress();
        while (auto line = target->readLine(0ms))
            targetLines.push_back(*line);
        const bool hasSeenDrag =
            std::any_of(targetLines.begin(), targetLines.end(),
                        [](const auto& l) { return l.rfind("offered ", 0) == 0; });
        if (release || (!hasSeenDrag && sinceDragStart.elapsed() < 10'000))
            return;
        release = ChildProcess::start(
            "xdotool", joined({moves(2, 3, 2, "0.1"), {"sleep", "0.1", "mouseup", "1"}}), quiet);
    });
    shelf.onDragStart = [&] {
        sinceDragStart.start();
        const std::vector<std::string> warp = {"sleep", "0.1", "mousemove",
                                               std::to_string(targetX + 150),
                                               std::to_string(targetY + 150)};
        toTarget = ChildProcess::start("xdotool", joined({warp, moves(2, 3, 2, "0.05")}), quiet);
        watch.start();
    };
    PointerDriver pointer;
    ASSERT_TRUE(pointer.moveTo(tileAt->x() + 30, tileAt->y() + 45));
    auto press = ChildProcess::start(
        "xdotool", joined({{"mousedown", "1", "sleep", "0.1"}, moves(3, 4, 2, "0.03")}), quiet);
    ASSERT_TRUE(press);
    // The drag begins and ends inside this wait.
    const bool hasEnded = waitFor([&] { return shelf.dragEnds > 0; }, 20s);
    watch.stop();
    if (!hasEnded)
        pointer.release();
    ASSERT_TRUE(hasEnded) << "drag starts: " << shelf.dragStarts;
    EXPECT_EQ(shelf.dragStarts, 1);
    EXPECT_EQ(shelf.recordingSession.sessionCount, 1);
    // Holdfin's own drag is no drag for the shelf to react to, and only while it runs.
    EXPECT_TRUE(isOwnDragAnnounced);
    EXPECT_FALSE(shelf.eventMonitor.isOwnDragInProgress());
    ASSERT_TRUE(shelf.recordingSession.performed);
    EXPECT_EQ(*shelf.recordingSession.performed, c.performed);

    const auto hasDropped = [&] {
        return !targetLines.empty() && targetLines.back().rfind("dropped ", 0) == 0;
    };
    while (c.performed != Qt::IgnoreAction && !hasDropped()) {
        auto line = target->readLine(5s);
        ASSERT_TRUE(line) << "the target has not dropped";
        targetLines.push_back(*line);
    }
    pumpEvents(100ms);
    while (auto line = target->readLine(0ms))
        targetLines.push_back(*line);
    ASSERT_GE(targetLines.size(), 2u);
    EXPECT_EQ(targetLines[0].rfind("enter ", 0), 0u) << targetLines[0];
    EXPECT_EQ(targetLines[1], "offered " + c.offered);

    std::map<std::string, QByteArray> received;
    for (const std::string& line : targetLines) {
        std::istringstream fields(line);
        std::string kind, mime, base64;
        fields >> kind >> mime >> base64;
        if (kind == "data")
            received[mime] = QByteArray::fromBase64(QByteArray::fromStdString(base64));
    }
    if (c.performed != Qt::IgnoreAction) {
        EXPECT_EQ(targetLines.back(), "dropped " + c.accept);
        // Qt offers text/plain with every URL list: the entry's text, or its paths.
        EXPECT_EQ(received["text/uri-list"], c.uriList);
        EXPECT_EQ(received["text/plain"], c.text);
    } else {
        EXPECT_TRUE(received.empty());
    }

    // A successful drag of an unlocked entry takes it off the shelf 0.3 s after the drop.
    const bool leaves = c.performed != Qt::IgnoreAction && !c.isLocked;
    EXPECT_TRUE(shelf.isOnShelf(entry.id));
    shelf.mainQueue.advance(299ms);
    EXPECT_TRUE(shelf.isOnShelf(entry.id));
    shelf.mainQueue.advance(1ms);
    EXPECT_EQ(shelf.isOnShelf(entry.id), !leaves);
    shelf.mainQueue.advance(1s);
    EXPECT_EQ(shelf.isOnShelf(entry.id), !leaves);
}

QList<BucketItemData> payloads(std::initializer_list<std::pair<QString, UTType>> list) {
    QList<BucketItemData> result;
    for (const auto& [content, type] : list)
        result.append(BucketItemData(content, type));
    return result;
}

INSTANTIATE_TEST_SUITE_P(
    Entries, DragOutTest,
    testing::Values(
        DragOutCase{
            "unlockedFilesCopied",
            payloads({{kOddFile, UTType::fileURL}, {kFolder, UTType::folder}}), false, "copy",
            "copy move", Qt::CopyAction, (kOddFile + "\r\n" + kFolder + "\r\n").toLatin1(),
            QByteArray::fromPercentEncoding((kOddFile.mid(7) + "\n" + kFolder.mid(7)).toLatin1())},
        DragOutCase{"unlockedMixedMoved",
                    payloads({{kPlainFile, UTType::fileURL},
                              {kText, UTType::plainText},
                              {kOddFile, UTType::fileURL},
                              {kPathText, UTType::plainText}}),
                    false, "move", "copy move", Qt::MoveAction,
                    (kPlainFile + "\r\n" + kOddFile + "\r\n").toLatin1(),
                    (kText + "\n" + kPathText).toUtf8()},
        DragOutCase{"lockedTextCopied", payloads({{kText, UTType::plainText}}), true, "copy",
                    "copy", Qt::CopyAction, "", kText.toUtf8()},
        DragOutCase{"lockedFileRefusesMove", payloads({{kOddFile, UTType::fileURL}}), true, "move",
                    "copy", Qt::IgnoreAction, "", ""}),
    [](const auto& info) { return info.param.name; });

} // namespace
