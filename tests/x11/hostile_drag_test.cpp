// The holdfin program against hostile drag sources on a private X server: it keeps running,
// keeps answering, and what it took comes out again byte for byte. How long its GUI thread was
// busy is measured from outside (pings answered by that thread) and printed with each case.
#include "support/x11/child_process.h"
#include "support/x11/pointer_driver.h"
#include "support/x11/sanitizer_reports.h"
#include "support/x11/test_programs.h"
#include "support/x11/xvfb_session.h"
#include "x11_tools.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <functional>
#include <sstream>

using namespace std::chrono_literals;
using testing_support::x11::ChildProcess;
using testing_support::x11::PointerDriver;
using testing_support::x11::pumpEvents;
using testing_support::x11::testProgramPath;
using x11_tools::output;
using x11_tools::trimmed;
using x11_tools::waitFor;

namespace {

// The panel's drop region and its first tile on the session's 1280x800 screen.
constexpr int kPanelX = 80;
constexpr int kDropY = 400;
constexpr int kFirstTileY = 290;
constexpr int kSourceAt = 400; // the drag source's window at (400, 400)
constexpr int kTargetAt = 700; // the drop target's window at (700, 400)

// The uri-list a source sends for `paths`: each byte but the unreserved ones and '/' encoded.
QByteArray uriList(const QList<QByteArray>& paths) {
    QByteArray list;
    for (const QByteArray& path : paths)
        list += "file://" + path.toPercentEncoding("/") + "\r\n";
    return list;
}

// The URIs of a CRLF-terminated list, sorted: an entry keeps its payloads in the order their
// loads finished, which for many files is not the order of the drop.
QList<QByteArray> sortedUris(const QByteArray& list) {
    QList<QByteArray> uris = list.split('\n');
    for (QByteArray& uri : uris)
        uri = uri.trimmed();
    uris.removeAll(QByteArray());
    std::sort(uris.begin(), uris.end());
    return uris;
}

class HostileDragTest : public testing::Test {
protected:
    // Files named by bytes that are not UTF-8 are beyond QTemporaryDir's clean-up.
    ~HostileDragTest() override {
        std::error_code ignored;
        std::filesystem::remove_all(QFile::encodeName(m_files.path()).toStdString(), ignored);
    }

    void SetUp() override {
        ASSERT_TRUE(m_config.isValid() && m_cache.isValid() && m_files.isValid());
        if (auto error = m_session.start())
            GTEST_SKIP() << *error;
        setenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit().constData(), 1);
        setenv("XDG_CACHE_HOME", m_cache.path().toLocal8Bit().constData(), 1);
        ASSERT_TRUE(m_pointer.moveTo(1100, 100));
        // Holdfin writes to a file: a pipe that the test reads only now and then would fill up
        // while holdfin logs a drop of many files, and hold holdfin.
        m_logPath = m_config.filePath("holdfin.log").toStdString();
        ChildProcess::Options options;
        options.captureStdout = false;
        m_holdfin = ChildProcess::start(
            "/bin/sh", {"-c", "exec \"$0\" >\"$1\" 2>&1", HOLDFIN_EXECUTABLE, m_logPath}, options);
        ASSERT_TRUE(m_holdfin);
        const std::string pid = std::to_string(m_holdfin->pid());
        std::string windows;
        ASSERT_TRUE(waitFor(
            [&] {
                windows = trimmed(output("xdotool", {"search", "--pid", pid}));
                return !windows.empty();
            },
            10s));
        std::istringstream ids(windows);
        ids >> m_panel;
        // Any window of holdfin answers pings on its GUI thread; the panel is one.
        m_pinger = ChildProcess::start(testProgramPath("holdfin_test_gui_pinger"), {m_panel});
        ASSERT_TRUE(m_pinger);
        ASSERT_TRUE(m_pinger->waitForLine("ready", 10s)) << "holdfin answers pings";
    }

    void TearDown() override {
        if (m_holdfin) {
            EXPECT_TRUE(m_holdfin->isRunning()) << "holdfin is still running";
        }
        QFile log(QString::fromStdString(m_logPath));
        if (m_logPath.empty() || !log.open(QIODevice::ReadOnly))
            return;
        const QByteArray text = log.readAll();
        // Its standard error goes to the log too, and with it what the sanitizer that has no
        // log path of its own prints.
        const std::string undefinedBehaviour =
            testing_support::x11::undefinedBehaviourReport(text.toStdString());
        if (!undefinedBehaviour.empty())
            ADD_FAILURE() << "undefined behaviour in holdfin:\n" << undefinedBehaviour;
        if (HasFailure())
            std::printf("holdfin's last output:\n%s\n", text.right(600).constData());
    }

    // The next complete line holdfin has logged, if any.
    std::optional<std::string> nextLogLine() {
        if (m_logLines.empty()) {
            QFile log(QString::fromStdString(m_logPath));
            if (log.open(QIODevice::ReadOnly) && log.seek(m_logOffset)) {
                const QByteArray more = log.readAll();
                m_logOffset += more.size();
                m_logPartial += more.toStdString();
                std::size_t start = 0;
                for (std::size_t end; (end = m_logPartial.find('\n', start)) != std::string::npos;
                     start = end + 1)
                    m_logLines.push_back(m_logPartial.substr(start, end - start));
                m_logPartial.erase(0, start);
            }
        }
        if (m_logLines.empty())
            return std::nullopt;
        std::string line = m_logLines.front();
        m_logLines.pop_front();
        return line;
    }

    // The longest time holdfin's GUI thread kept a ping waiting since the last call.
    double maxGuiBlockMs() {
        ::kill(m_pinger->pid(), SIGUSR1);
        const auto line = m_pinger->waitForLine("report ", 10s);
        if (!line)
            return -1;
        std::istringstream fields(line->substr(7));
        double ms = -1;
        fields >> ms;
        return ms;
    }

    bool isPanelShown() { return x11_tools::isOnScreen(m_panel); }

    // Writes `paths` (NUL-separated) for the drag source.
    QString pathList(const QList<QByteArray>& paths) {
        const QString file = m_files.filePath("paths");
        QFile list(file);
        if (list.open(QIODevice::WriteOnly))
            list.write(paths.join('\0'));
        return file;
    }

    // Creates `count` empty files named "<prefix><i>" in the test's folder; their paths.
    QList<QByteArray> makeFiles(int count, const QByteArray& prefix = "file-") {
        QList<QByteArray> paths;
        paths.reserve(count);
        const QByteArray folder = QFile::encodeName(m_files.path());
        for (int i = 0; i < count; ++i) {
            QByteArray path = folder + '/' + prefix + QByteArray::number(i);
            paths << path;
            // By its bytes: a name that is not UTF-8 would not survive a QString, and a drag
            // out offers only files that are there.
            const int descriptor = ::open(path.constData(), O_WRONLY | O_CREAT, 0644);
            if (descriptor < 0)
                ADD_FAILURE() << "cannot create " << path.constData();
            else
                ::close(descriptor);
        }
        return paths;
    }

    // Drags from a drag source started with `args` onto the panel and drops there; false when
    // the drag could not be made. The source's "drag-finished" line is in m_sourceResult.
    bool dropFromSource(const std::vector<std::string>& args, bool mustShow = true,
                        const char* program = "holdfin_test_drag_source") {
        std::vector<std::string> all = args;
        const std::string at = std::to_string(kSourceAt) + "," + std::to_string(kSourceAt);
        all.insert(all.end(), {"--at", at});
        m_source = ChildProcess::start(testProgramPath(program), all);
        if (!m_source || !m_source->waitForLine("ready ", 60s)) {
            ADD_FAILURE() << "the drag source did not start";
            return false;
        }
        maxGuiBlockMs(); // from here on
        if (!m_pointer.beginDrag(kSourceAt + 150, kSourceAt + 150) ||
            !m_source->waitForLine("drag-started", 60s)) {
            ADD_FAILURE() << "the drag did not start";
            return false;
        }
        // Moves while the drag runs let holdfin notice it once it knows the offered types.
        const bool isShown = waitFor(
            [&] {
                m_pointer.moveBy(2, 1, 2);
                return isPanelShown();
            },
            mustShow ? 20s : 3s);
        EXPECT_TRUE(isShown || !mustShow) << "the panel shows while the drag runs";
        m_pointer.moveTo(kPanelX - 10, kDropY - 10);
        m_pointer.moveBy(2, 1, 4, 40ms);
        pumpEvents(200ms);
        m_pointer.endDrag();
        m_sourceResult = m_source->waitForLine("drag-finished ", 60s).value_or("");
        return isShown;
    }

    // Holdfin's line that ends a drop it took ("Dropping N items" or "Received 0 items");
    // nothing within `timeout`.
    std::optional<std::string> waitForDropEnd(std::chrono::milliseconds timeout = 60s) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (std::chrono::steady_clock::now() < deadline) {
            auto line = nextLogLine();
            if (!line) {
                pumpEvents(50ms);
                continue;
            }
            if (line->starts_with("Dropped File URL: "))
                m_droppedUrls += QByteArray::fromStdString(line->substr(18)) + "\r\n";
            if (line->starts_with("Dropping ") || line->starts_with("Received 0 items"))
                return line;
        }
        return std::nullopt;
    }

    // Drags the first entry of the shelf to a drop target; the text/uri-list it received.
    std::optional<QByteArray> dragOutFirstEntry() {
        const std::string at = std::to_string(kTargetAt) + "," + std::to_string(kSourceAt);
        auto target =
            ChildProcess::start(testProgramPath("holdfin_test_drop_target"), {"--at", at});
        if (!target || !target->waitForLine("ready ", 30s))
            return std::nullopt;
        if (!waitFor([&] { return isPanelShown(); }, 10s))
            return std::nullopt;
        m_pointer.beginDrag(kPanelX, kFirstTileY);
        m_pointer.moveTo(kTargetAt + 140, kSourceAt + 140);
        m_pointer.moveBy(2, 1, 4, 40ms);
        pumpEvents(200ms);
        m_pointer.endDrag();
        std::optional<QByteArray> list;
        while (auto line = target->readLine(60s)) {
            if (line->starts_with("data text/uri-list "))
                list = QByteArray::fromBase64(QByteArray::fromStdString(line->substr(19)));
            if (line->starts_with("dropped "))
                break;
        }
        return list;
    }

    void report(const char* name, double dropMs, double dragOutMs) {
        std::printf("[ figures  ] %s: max GUI block %.1f ms during the drop, %.1f ms dragging "
                    "out\n",
                    name, dropMs, dragOutMs);
        RecordProperty("maxGuiBlockDropMs", std::to_string(dropMs));
        RecordProperty("maxGuiBlockDragOutMs", std::to_string(dragOutMs));
    }

    QTemporaryDir m_config;
    QTemporaryDir m_cache;
    QTemporaryDir m_files;
    testing_support::x11::XvfbSession m_session;
    PointerDriver m_pointer;
    std::unique_ptr<ChildProcess> m_holdfin;
    std::unique_ptr<ChildProcess> m_pinger;
    std::unique_ptr<ChildProcess> m_source;
    std::string m_sourceResult;
    std::string m_logPath;
    qint64 m_logOffset = 0;
    std::string m_logPartial;
    std::deque<std::string> m_logLines;
    QByteArray m_droppedUrls; // as holdfin logged them, CRLF-terminated
    std::string m_panel;
};

// Reading its data would hold the GUI thread for the toolkit's timeout: the drop is refused.
TEST_F(HostileDragTest, SourceThatNeverAnswersIsRefused) {
    // More than three types, so that they are listed and the panel shows, unless the list was
    // written before holdfin began to watch the source's window.
    dropFromSource({"rawfiles", "--paths-from", pathList(makeFiles(3)).toStdString(),
                    "--conversions", "silent", "--junk-types", "5"},
                   false);
    EXPECT_EQ(waitForDropEnd(2s), std::nullopt) << "nothing was read";
    m_pointer.moveTo(1100, 100);
    EXPECT_TRUE(waitFor([&] { return !isPanelShown(); }, 10s)) << "nothing on the shelf";
    report("never answers", maxGuiBlockMs(), 0);
}

// Answers TARGETS, sends its drop, then never delivers the data: the drop is read without
// waiting on it, so the GUI thread goes on; after the read's bound the drop ends refused and
// with nothing taken.
TEST_F(HostileDragTest, SourceThatStallsOnTheDataReadFreezesNothing) {
    ASSERT_TRUE(dropFromSource({"rawfiles", "--paths-from", pathList(makeFiles(3)).toStdString(),
                                "--conversions", "stall", "--junk-types", "5"}));
    const auto end = waitForDropEnd(20s);
    const double dropMs = maxGuiBlockMs();
    ASSERT_TRUE(end) << "the drop ends";
    EXPECT_EQ(*end, "Received 0 items");
    m_pointer.moveTo(1100, 100);
    EXPECT_TRUE(waitFor([&] { return !isPanelShown(); }, 10s)) << "nothing on the shelf";
    report("stalls on the data read", dropMs, 0);
}

TEST_F(HostileDragTest, SourceThatAnswersWithGarbageAddsOnlyWhatItCanCarry) {
    ASSERT_TRUE(dropFromSource({"rawfiles", "--paths-from", pathList(makeFiles(3)).toStdString(),
                                "--conversions", "garbage", "--junk-types", "5"}));
    const auto end = waitForDropEnd();
    const double dropMs = maxGuiBlockMs();
    ASSERT_TRUE(end) << "the drop ends";
    double dragOutMs = 0;
    if (end->starts_with("Dropping ")) {
        const auto out = dragOutFirstEntry();
        ASSERT_TRUE(out);
        EXPECT_TRUE(sortedUris(*out) == sortedUris(m_droppedUrls))
            << "what was taken comes out as it was";
        dragOutMs = maxGuiBlockMs();
    }
    report("garbage", dropMs, dragOutMs);
}

// Nothing dropped is opened, run or followed: a named pipe (opening it to read would block and
// show as a reader), a link to it, and a desktop entry that would leave a mark if run.
TEST_F(HostileDragTest, DroppedFilesAreNeitherOpenedNorRun) {
    const QByteArray folder = QFile::encodeName(m_files.path());
    const QByteArray fifo = folder + "/pipe";
    const QByteArray link = folder + "/link-to-pipe.txt";
    const QByteArray entry = folder + "/run-me.desktop";
    const QByteArray mark = folder + "/ran";
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    ASSERT_EQ(::symlink(fifo.constData(), link.constData()), 0);
    QFile desktop(QFile::decodeName(entry));
    ASSERT_TRUE(desktop.open(QIODevice::WriteOnly));
    desktop.write("[Desktop Entry]\nType=Application\nName=Run me\nExec=touch " + mark + "\n");
    desktop.close();
    ASSERT_TRUE(::chmod(entry.constData(), 0700) == 0);
    const QList<QByteArray> paths = {fifo, link, entry};

    ASSERT_TRUE(dropFromSource({"rawfiles", "--paths-from", pathList(paths).toStdString()}));
    const auto end = waitForDropEnd();
    ASSERT_TRUE(end);
    EXPECT_EQ(*end, "Dropping 3 items");
    const auto out = dragOutFirstEntry();
    ASSERT_TRUE(out);
    EXPECT_TRUE(sortedUris(*out) == sortedUris(uriList(paths)));
    pumpEvents(500ms);

    // Without a reader, opening the pipe to write fails at once.
    const int writer = ::open(fifo.constData(), O_WRONLY | O_NONBLOCK);
    EXPECT_EQ(writer, -1) << "someone opened the pipe to read";
    EXPECT_EQ(errno, ENXIO);
    if (writer >= 0)
        ::close(writer);
    EXPECT_FALSE(QFile::exists(QFile::decodeName(mark))) << "the desktop entry was run";
}

// A Qt source lists 10,000 types only after it has interned them all, which can take longer
// than holdfin waits to learn a drag's types; the drag then counts as unreadable and the panel
// stays away. Either way holdfin keeps answering, and what it takes comes out again.
TEST_F(HostileDragTest, SourceOfferingTenThousandTypes) {
    const QList<QByteArray> paths = makeFiles(3);
    const bool isShown = dropFromSource(
        {"rawfiles", "--paths-from", pathList(paths).toStdString(), "--junk-types", "10000"},
        false);
    if (!isShown) {
        const double dropMs = maxGuiBlockMs();
        EXPECT_GE(dropMs, 0) << "holdfin answers";
        EXPECT_EQ(waitForDropEnd(1s), std::nullopt);
        report("10,000 types (listed too late: panel not shown)", dropMs, 0);
        return;
    }
    const auto end = waitForDropEnd();
    const double dropMs = maxGuiBlockMs();
    ASSERT_TRUE(end) << "the drop ends";
    EXPECT_EQ(*end, "Dropping 3 items");
    const auto out = dragOutFirstEntry();
    const double dragOutMs = maxGuiBlockMs();
    ASSERT_TRUE(out);
    EXPECT_TRUE(sortedUris(*out) == sortedUris(uriList(paths)));
    report("10,000 types", dropMs, dragOutMs);
}

// A source that lists its 10,000 types before the drag: the panel shows, and taking the drop
// never makes the GUI thread ask for the names one by one.
TEST_F(HostileDragTest, SourceListingTenThousandTypesAhead) {
    const QList<QByteArray> paths = makeFiles(3);
    std::vector<std::string> args{"files", "--junk-types", "10000"};
    for (const QByteArray& path : paths)
        args.push_back(path.toStdString());
    ASSERT_TRUE(dropFromSource(args, true, "holdfin_test_tree_cache_drag_source"));
    const auto end = waitForDropEnd();
    const double dropMs = maxGuiBlockMs();
    ASSERT_TRUE(end) << "the drop ends";
    EXPECT_EQ(*end, "Dropping 3 items");
    report("10,000 types listed ahead", dropMs, 0);
}

// Files as a user drags them, many of them or with names that
// are hard to carry: every URI comes out again byte for byte.
struct CarryCase {
    const char* name;
    int fileCount; // 0: manyFiles()
    QByteArray prefix;
};

void PrintTo(const CarryCase& c, std::ostream* os) {
    *os << c.name;
}

class HostileCarryTest : public HostileDragTest, public testing::WithParamInterface<CarryCase> {};

// 10,000 files in the suite; HOLDFIN_HOSTILE_FILE_COUNT sets another count (100000).
int manyFiles() {
    const char* count = std::getenv("HOLDFIN_HOSTILE_FILE_COUNT");
    return count ? std::atoi(count) : 10000;
}

TEST_P(HostileCarryTest, DropRoundTripsByteExact) {
    const CarryCase& c = GetParam();
    const int count = c.fileCount > 0 ? c.fileCount : manyFiles();
    const QList<QByteArray> paths = makeFiles(count, c.prefix);
    ASSERT_TRUE(dropFromSource({"rawfiles", "--paths-from", pathList(paths).toStdString()}));
    const auto end = waitForDropEnd(120s);
    const double dropMs = maxGuiBlockMs();
    ASSERT_TRUE(end) << "the drop ends";
    EXPECT_EQ(*end, "Dropping " + std::to_string(count) + " items");
    const auto out = dragOutFirstEntry();
    const double dragOutMs = maxGuiBlockMs();
    ASSERT_TRUE(out) << "the drop target received a uri-list";
    EXPECT_EQ(out->size(), uriList(paths).size());
    EXPECT_TRUE(sortedUris(*out) == sortedUris(uriList(paths))) << "every URI, byte for byte";
    report(c.name, dropMs, dragOutMs);
}

INSTANTIATE_TEST_SUITE_P(
    HostileSources, HostileCarryTest,
    testing::Values(CarryCase{"ManyFiles", 0, "f"},
                    CarryCase{"NewlinesAndBytesThatAreNotUtf8", 3,
                              QByteArray("line\nbreak\r\x01 \xff\xfe\xe9%41#?\t-")}),
    [](const testing::TestParamInfo<CarryCase>& info) { return std::string(info.param.name); });

} // namespace
