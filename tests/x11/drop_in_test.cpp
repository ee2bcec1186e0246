// Drops from another process onto the drop region: real XDND drags of our drag source program,
// the pointer driven by xdotool, the region in this process on a private X server (see
// holdfin_test_main_x11). Each drop must become exactly one shelf entry, with the intake's
// diagnostic lines, and file names must survive byte for byte.
#include "core/qt_main_queue.h"
#include "settled_window.h"
#include "shelf/mime_item_provider_factory.h"
#include "support/qt_printers.h"
#include "support/recording_log.h"
#include "support/x11/child_process.h"
#include "support/x11/pointer_driver.h"
#include "support/x11/test_programs.h"
#include "views/drop_region_view.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QUrl>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <sstream>

using namespace std::chrono_literals;
using namespace testing_support::x11;
using testing::UnorderedElementsAreArray;
using x11_tools::waitFor;
using x11_tools::waitUntilSettled;

namespace {

// Percent-encodes every byte but the unreserved ones, as a file URL's path must carry a name.
std::string percentEncoded(const std::string& bytes) {
    static const char* hex = "0123456789ABCDEF";
    std::string encoded;
    for (unsigned char c : bytes) {
        if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~') {
            encoded += char(c);
        } else {
            encoded += '%';
            encoded += hex[c >> 4];
            encoded += hex[c & 15];
        }
    }
    return encoded;
}

// The URL of a local file, each path segment fully encoded; '/' stays a separator.
QString fileUrl(const std::string& path) {
    std::string encoded;
    std::istringstream segments(path);
    for (std::string segment; std::getline(segments, segment, '/');) {
        if (!segment.empty())
            encoded += '/' + percentEncoded(segment);
    }
    return QString::fromStdString("file://" + encoded);
}

// A dropped file as the shelf must see it: its name on disk and the intake path it takes.
struct DroppedFile {
    std::string name;
    // The identifier the preferred-type path loads it with; empty: the file-URL path.
    std::string preferredType;
};

// The drop region alone in a window, with what it logged and committed.
struct DropRegion {
    explicit DropRegion(const QString& imageCache)
        : providers(imageCache),
          view(mainQueue, log, nullptr, nullptr, providers,
               [this](const shelf::BucketItem& item) { entries.push_back(item); }) {
        // Out of the window manager's hands, so that openbox's placement plays no part; where
        // the window really lands is read once it has settled.
        view.setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::BypassWindowManagerHint);
        view.setGeometry(600, 100, 200, 200);
        view.show();
    }

    core::QtMainQueue mainQueue;
    testing_support::RecordingLog log;
    shelf::MimeItemProviderFactory providers; // after the queue: its drops end before it goes
    std::vector<shelf::BucketItem> entries;
    views::DropRegionView view;
};

class DropInTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_folder.isValid());
        m_region = std::make_unique<DropRegion>(m_folder.filePath(QStringLiteral("images")));
        const auto origin = waitUntilSettled(m_region->view);
        ASSERT_TRUE(origin) << "the drop region's window never showed";
        m_regionCentre = *origin + m_region->view.rect().center();
    }

    // Drags from the drag source program, started with `args`, onto the region, drops, and
    // waits for the drop's `lineCount` diagnostic lines.
    void dropFromSource(const std::vector<std::string>& args, qsizetype lineCount) {
        ChildProcess::Options options;
        options.showStderr = true;
        std::vector<std::string> all = args;
        // Clear of the region wherever it went.
        all.insert(all.begin() + 1, {"--at", "300,400"});
        m_source = ChildProcess::start(testProgramPath("holdfin_test_drag_source"), all, options);
        ASSERT_TRUE(m_source);
        const auto ready = m_source->waitForLine("ready ", 10s);
        ASSERT_TRUE(ready) << "the drag source never showed";
        std::istringstream in(ready->substr(6));
        int x = 0, y = 0;
        in >> x >> y;

        ASSERT_TRUE(m_pointer.beginDrag(x + 50, y + 50));
        ASSERT_TRUE(m_source->waitForLine("drag-started ", 5s)) << "no drag started";
        ASSERT_TRUE(m_pointer.moveTo(m_regionCentre.x() - 20, m_regionCentre.y() - 10));
        ASSERT_TRUE(m_pointer.moveBy(2, 1, 3));
        // Released only once the region has taken the drag, however slow the machine.
        const bool isTargeted = waitFor([&] { return m_region->view.isDragTargeted(); }, 10s);
        std::string whereabouts;
        if (!isTargeted) {
            // What the drag did instead, for the failure message.
            auto pointer = ChildProcess::start("xdotool", {"getmouselocation"});
            const QRect region(m_region->view.mapToGlobal(QPoint(0, 0)), m_region->view.size());
            whereabouts = "pointer: " + (pointer ? pointer->readLine(5s).value_or("") : "") +
                          ", region: " + std::to_string(region.x()) + "," +
                          std::to_string(region.y()) + ", source said:";
            m_pointer.release();
            while (auto line = m_source->readLine(2s))
                whereabouts += " [" + *line + "]";
        }
        ASSERT_TRUE(isTargeted) << "the region never took the drag; " << whereabouts;
        ASSERT_TRUE(m_pointer.endDrag());
        const auto finished = m_source->waitForLine("drag-finished ", 10s);
        ASSERT_TRUE(finished);
        // The region takes every drop as a copy, so that no source deletes what it offered.
        EXPECT_EQ(*finished, "drag-finished copy");
        // A successful load on the preferred-type path is logged after the load counts as
        // finished, so its line may come after the commit's.
        ASSERT_TRUE(waitFor(
            [&] { return !m_region->entries.empty() && m_region->log.lines().size() >= lineCount; },
            10s))
            << m_region->log.lines().join(QLatin1Char('\n')).toStdString();
        // Nothing more is to come of this drop.
        waitFor([] { return false; }, 300ms);
    }

    void TearDown() override {
        // QTemporaryDir cannot name files whose names are not UTF-8: remove ours by their bytes.
        for (const QByteArray& path : m_files)
            ::unlink(path.constData());
    }

    QByteArray folderPath() const { return QFile::encodeName(m_folder.path()); }

    // A file whose name is exactly `name` (any bytes but '/' and NUL) in the test's folder.
    bool createFile(const std::string& name) {
        const QByteArray path = folderPath() + '/' + QByteArray::fromStdString(name);
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0)
            return false;
        m_files.push_back(path);
        const bool isWritten = ::write(fd, "holdfin\n", 8) == 8;
        return ::close(fd) == 0 && isWritten;
    }

    QTemporaryDir m_folder;
    std::vector<QByteArray> m_files;
    std::unique_ptr<DropRegion> m_region;
    QPoint m_regionCentre;
    std::unique_ptr<ChildProcess> m_source;
    PointerDriver m_pointer;
};

TEST_F(DropInTest, filesWithAnyNameBecomeOneEntryOfExactUrls) {
    const std::vector<DroppedFile> files = {
        {"quarterly report.txt", "public.plain-text"},
        {"100% sure.csv", "public.comma-separated-values-text"},
        {"first line\nsecond line", ""},
        {"caf\xe9 latin-1", ""},
    };
    std::vector<std::string> args = {"files"};
    std::vector<QString> urls;
    for (const DroppedFile& file : files) {
        ASSERT_TRUE(createFile(file.name));
        urls.push_back(fileUrl(folderPath().toStdString() + '/' + file.name));
        args.push_back(urls.back().toStdString());
    }
    const qsizetype count = qsizetype(files.size());
    ASSERT_NO_FATAL_FAILURE(dropFromSource(args, 2 * count + 1));

    const QStringList lines = m_region->log.lines();
    ASSERT_EQ(lines.size(), 2 * count + 1) << lines.join(QLatin1Char('\n')).toStdString();
    // Every provider's identifiers come first, in drop order, before any load is logged.
    for (qsizetype i = 0; i < count; ++i) {
        const QString& line = lines.at(i);
        const std::string& type = files[std::size_t(i)].preferredType;
        EXPECT_TRUE(line.startsWith(QLatin1String("Registered Type Identifiers: [")) &&
                    line.endsWith(QLatin1Char(']')))
            << line.toStdString();
        EXPECT_TRUE(line.contains(QLatin1String("\"public.file-url\""))) << line.toStdString();
        if (!type.empty()) {
            EXPECT_TRUE(line.contains(QString::fromStdString('"' + type + '"')))
                << line.toStdString();
        }
    }
    // The loads finish in any order; those on the file-URL path are logged before the commit.
    const QString commitLine = QStringLiteral("Dropping %1 items").arg(count);
    std::vector<QString> expectedLoads = {commitLine};
    for (qsizetype i = 0; i < count; ++i) {
        const std::string& type = files[std::size_t(i)].preferredType;
        const QString line = type.empty()
                                 ? "Dropped File URL: " + urls[std::size_t(i)]
                                 : QString::fromStdString("Dropped File URL (" + type + "): ") +
                                       urls[std::size_t(i)];
        expectedLoads.push_back(line);
        if (type.empty()) {
            EXPECT_LT(lines.indexOf(line), lines.indexOf(commitLine)) << line.toStdString();
        }
    }
    EXPECT_THAT(lines.mid(count), UnorderedElementsAreArray(expectedLoads));

    ASSERT_EQ(m_region->entries.size(), 1u);
    const shelf::BucketItem& entry = m_region->entries.front();
    EXPECT_FALSE(entry.isLocked);
    std::vector<QString> contents;
    std::vector<QByteArray> paths;
    for (const shelf::BucketItemData& payload : entry.items) {
        EXPECT_EQ(payload.type, shelf::UTType::fileURL) << payload.content.toStdString();
        contents.push_back(payload.content);
        // The URL leads back to the very file: its path decodes to the name's bytes.
        paths.push_back(QByteArray::fromPercentEncoding(
            QUrl(payload.content, QUrl::StrictMode).path(QUrl::FullyEncoded).toLatin1()));
    }
    EXPECT_THAT(contents, UnorderedElementsAreArray(urls));
    EXPECT_THAT(paths, UnorderedElementsAreArray(m_files));
}

TEST_F(DropInTest, textBecomesOneTextEntry) {
    const QString text = QStringLiteral("Grüße, 100% sure");
    ASSERT_NO_FATAL_FAILURE(dropFromSource({"text", text.toStdString()}, 3));

    const QStringList lines = m_region->log.lines();
    ASSERT_EQ(lines.size(), 3) << lines.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(lines.first(),
              QStringLiteral("Registered Type Identifiers: [\"public.plain-text\"]"));
    EXPECT_THAT(lines.mid(1),
                UnorderedElementsAreArray<QString>({
                    QStringLiteral("Dropped File Content (public.plain-text): ") + text,
                    QStringLiteral("Dropping 1 items"),
                }));
    ASSERT_EQ(m_region->entries.size(), 1u);
    ASSERT_EQ(m_region->entries.front().items.size(), 1);
    EXPECT_EQ(m_region->entries.front().items.front().content, text);
    EXPECT_EQ(m_region->entries.front().items.front().type, shelf::UTType::plainText);
}

} // namespace
