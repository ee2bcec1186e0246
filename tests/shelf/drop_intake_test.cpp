#include "shelf/drop_intake.h"

#include "support/fake_item_provider.h"
#include "support/fake_main_queue.h"
#include "support/qt_printers.h"
#include "support/recording_log.h"

#include <gtest/gtest.h>

#include <thread>

using shelf::BucketItem;
using shelf::DropIntake;
using shelf::LoadedData;
using shelf::LoadedItem;
using shelf::LoadError;
using shelf::UTType;
using testing_support::FakeItemProvider;
using testing_support::FakeMainQueue;
using testing_support::RecordingLog;

namespace {

struct Payload {
    QString content;
    UTType type;
};

class DropIntakeTest : public ::testing::Test {
protected:
    static std::shared_ptr<FakeItemProvider> provider(QStringList identifiers,
                                                      bool isDeferred = false) {
        return std::make_shared<FakeItemProvider>(std::move(identifiers), isDeferred);
    }

    static std::shared_ptr<FakeItemProvider> deferredFile(const QString& url) {
        auto file = provider({"public.file-url"}, true);
        file->setData(url.toUtf8());
        return file;
    }

    static std::vector<Payload> payloadsOf(const BucketItem& item) {
        std::vector<Payload> payloads;
        for (const auto& data : item.items)
            payloads.push_back({data.content, data.type});
        return payloads;
    }

    static QStringList contentsOf(const BucketItem& item) {
        QStringList contents;
        for (const auto& data : item.items)
            contents << data.content;
        return contents;
    }

    FakeMainQueue queue;
    RecordingLog log;
    std::vector<BucketItem> added;
    DropIntake intake{queue, log, [this](const BucketItem& item) { added.push_back(item); }};
};

// ---- One provider per path and outcome: the load it starts, its lines, its payload.

struct PathCase {
    const char* name;
    QStringList identifiers;
    LoadedItem item;
    LoadedData data;
    bool isDataLoad;
    QString loadedIdentifier; // empty: no load at all
    QStringList lines;        // every line after the Registered Type Identifiers line
    std::vector<Payload> payloads;
    // Exact: the provider conforms to its identifiers only, as a source-file provider whose
    // type is not known as text.
    FakeItemProvider::Conformance conformance = FakeItemProvider::Conformance::TypeTable;
};

void PrintTo(const PathCase& c, std::ostream* os) {
    *os << c.name;
}

const QString kMovie = QStringLiteral("file:///home/demo/clip.mp4");
const QString kFolder = QStringLiteral("file:///home/demo/Photos/");
const QUrl kMovieUrl(kMovie);
const QUrl kFolderUrl(kFolder);
const LoadError kBoom{QStringLiteral("The file vanished.")};

// Built on first use: the UTType constants belong to another translation unit.
const std::vector<PathCase>& pathCases() {
    static const std::vector<PathCase> cases = {
        {"PreferredMovieUrlBeforeFileUrl",
         {"public.mpeg-4", "public.file-url"},
         kMovieUrl,
         {},
         false,
         "public.mpeg-4",
         {"Dropped File URL (public.mpeg-4): " + kMovie, "Dropping 1 items"},
         {{kMovie, UTType::fileURL}}},
        {"PreferredCsvBeforePlainText",
         {"public.plain-text", "public.comma-separated-values-text"},
         QUrl("file:///t.csv"),
         {},
         false,
         "public.comma-separated-values-text",
         {"Dropped File URL (public.comma-separated-values-text): file:///t.csv",
          "Dropping 1 items"},
         {{"file:///t.csv", UTType::fileURL}}},
        {"PreferredFolderUrl",
         {"public.plain-text"},
         kFolderUrl,
         {},
         false,
         "public.plain-text",
         {"Dropped File URL (public.plain-text): " + kFolder, "Dropping 1 items"},
         {{kFolder, UTType::folder}}},
        {"PreferredUtf8Text",
         {"public.utf8-plain-text"},
         QByteArray("h\xc3\xa9llo\n"),
         {},
         false,
         "public.plain-text",
         {QString::fromUtf8("Dropped File Content (public.plain-text): h\xc3\xa9llo\n"),
          "Dropping 1 items"},
         {{QString::fromUtf8("h\xc3\xa9llo\n"), UTType::plainText}}},
        {"PreferredInvalidUtf8",
         {"public.plain-text"},
         QByteArray("caf\xe9"),
         {},
         false,
         "public.plain-text",
         {"Failed to extract file content or URL for type public.plain-text", "Received 0 items"},
         {}},
        {"PreferredNothing",
         {"com.apple.log"},
         std::monostate{},
         {},
         false,
         "com.apple.log",
         {"Failed to extract file content or URL for type com.apple.log", "Received 0 items"},
         {}},
        {"PreferredOtherObject",
         {"org.matroska.mkv"},
         shelf::OtherItem{"colour"},
         {},
         false,
         "org.matroska.mkv",
         {"Failed to extract file content or URL for type org.matroska.mkv", "Received 0 items"},
         {}},
        {"PreferredError",
         {"com.apple.quicktime-movie"},
         kBoom,
         {},
         false,
         "com.apple.quicktime-movie",
         {"Error loading file of type com.apple.quicktime-movie: The file vanished.",
          "Received 0 items"},
         {}},
        {"FileUrlBeforeSwiftAndImage",
         {"public.png", "public.swift-source", "public.file-url"},
         {},
         QByteArray("file:///home/demo/a.png"),
         true,
         "public.file-url",
         {"Dropped File URL: file:///home/demo/a.png", "Dropping 1 items"},
         {{"file:///home/demo/a.png", UTType::fileURL}},
         FakeItemProvider::Conformance::Exact},
        {"FileUrlFolder",
         {"public.folder", "public.file-url"},
         {},
         kFolder.toUtf8(),
         true,
         "public.file-url",
         {"Dropped File URL: " + kFolder, "Dropping 1 items"},
         {{kFolder, UTType::folder}}},
        {"FileUrlError",
         {"public.file-url"},
         {},
         kBoom,
         true,
         "public.file-url",
         {"Error loading file URL: The file vanished.", "Received 0 items"},
         {}},
        {"FileUrlNoBytes",
         {"public.file-url"},
         {},
         std::monostate{},
         true,
         "public.file-url",
         {"Failed to extract file URL", "Received 0 items"},
         {}},
        {"FileUrlNotUtf8",
         {"public.file-url"},
         {},
         QByteArray("file:///\xff"),
         true,
         "public.file-url",
         {"Failed to extract file URL", "Received 0 items"},
         {}},
        {"FileUrlNotAUrl",
         {"public.file-url"},
         {},
         QByteArray("http://exa mple.com/"),
         true,
         "public.file-url",
         {"Failed to extract file URL", "Received 0 items"},
         {}},
        {"SwiftSourceUrlNoFolderTest",
         {"public.swift-source", "public.image"},
         kFolderUrl,
         {},
         false,
         "public.swift-source",
         {"Handling a Swift source file type from Recents", "Dropped Swift File URL: " + kFolder,
          "Dropping 1 items"},
         {{kFolder, UTType::fileURL}},
         FakeItemProvider::Conformance::Exact},
        {"SwiftSourceError",
         {"public.swift-source"},
         kBoom,
         {},
         false,
         "public.swift-source",
         {"Handling a Swift source file type from Recents",
          "Error loading Swift source file: The file vanished.", "Received 0 items"},
         {},
         FakeItemProvider::Conformance::Exact},
        {"SwiftSourceBytes",
         {"public.swift-source"},
         QByteArray("let x = 1"),
         {},
         false,
         "public.swift-source",
         {"Handling a Swift source file type from Recents", "Could not extract Swift file as URL",
          "Received 0 items"},
         {},
         FakeItemProvider::Conformance::Exact},
        {"ImageUrl",
         {"public.jpeg"},
         QUrl("file:///c/holdfin/image-1.jpg"),
         {},
         false,
         "public.image",
         {"Dropped Image URL: file:///c/holdfin/image-1.jpg", "Dropping 1 items"},
         {{"file:///c/holdfin/image-1.jpg", UTType::image}}},
        {"ImageError",
         {"public.png"},
         kBoom,
         {},
         false,
         "public.image",
         {"Error loading image: The file vanished.", "Received 0 items"},
         {}},
        {"ImageBytesAreNoUrl",
         {"public.png"},
         QByteArray("\x89PNG"),
         {},
         false,
         "public.image",
         {"Failed to extract image", "Received 0 items"},
         {}},
        {"NothingMatches",
         {"public.url", "com.adobe.pdf"},
         kMovieUrl,
         QByteArray("x"),
         false,
         "",
         {"Type not detected", "Received 0 items"},
         {}},
    };
    return cases;
}

class DropIntakePathTest : public DropIntakeTest, public ::testing::WithParamInterface<PathCase> {};

TEST_P(DropIntakePathTest, LoadsOneRepresentationAndLogsItsOutcome) {
    const PathCase& c = GetParam();
    auto fake = std::make_shared<FakeItemProvider>(c.identifiers, false, c.conformance);
    fake->setItem(c.item);
    fake->setData(c.data);

    EXPECT_TRUE(intake.handleDrop({fake}));
    queue.drain();

    const auto loads = fake->loads();
    if (c.loadedIdentifier.isEmpty()) {
        EXPECT_TRUE(loads.empty());
    } else {
        ASSERT_EQ(loads.size(), 1u);
        EXPECT_EQ(loads[0].isDataLoad, c.isDataLoad);
        EXPECT_EQ(loads[0].typeIdentifier, c.loadedIdentifier);
    }
    QStringList lines = log.lines();
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_TRUE(lines.takeFirst().startsWith("Registered Type Identifiers: ["));
    EXPECT_EQ(lines, c.lines);
    if (c.payloads.empty()) {
        EXPECT_TRUE(added.empty());
        return;
    }
    ASSERT_EQ(added.size(), 1u);
    EXPECT_FALSE(added[0].isLocked);
    const auto payloads = payloadsOf(added[0]);
    ASSERT_EQ(payloads.size(), c.payloads.size());
    for (std::size_t i = 0; i < payloads.size(); ++i) {
        EXPECT_EQ(payloads[i].content, c.payloads[i].content);
        EXPECT_EQ(payloads[i].type, c.payloads[i].type);
    }
}

INSTANTIATE_TEST_SUITE_P(Paths, DropIntakePathTest, ::testing::ValuesIn(pathCases()),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- Lines and commits of whole drops.

TEST_F(DropIntakeTest, IdentifierLinesComeFirstForEveryProvider) {
    auto movie = provider({"public.mpeg-4", "public.file-url"}, true);
    auto none = provider({}, true);
    auto image = provider({"public.png"}, true);
    std::vector<int> linesAtLoadStart;
    for (const auto& p : {movie, none, image})
        p->setOnLoad([&] { linesAtLoadStart.push_back(static_cast<int>(log.lines().size())); });

    intake.handleDrop({movie, none, image});
    movie->complete();
    image->complete();
    queue.drain();

    const QStringList lines = log.lines();
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines[0], R"(Registered Type Identifiers: ["public.mpeg-4", "public.file-url"])");
    EXPECT_EQ(lines[1], "Registered Type Identifiers: []");
    EXPECT_EQ(lines[2], R"(Registered Type Identifiers: ["public.png"])");
    EXPECT_EQ(linesAtLoadStart, (std::vector<int>{3, 3}));
}

TEST_F(DropIntakeTest, EmptyDropReceivesNothing) {
    EXPECT_TRUE(intake.handleDrop({}));
    queue.drain();
    EXPECT_EQ(log.lines(), QStringList{"Received 0 items"});
    EXPECT_TRUE(added.empty());
}

TEST_F(DropIntakeTest, FailedLoadLeavesTheOtherPayloadsInOrder) {
    auto first = provider({"public.file-url"});
    first->setData(QByteArray("file:///a.pdf"));
    auto failing = provider({"public.file-url"});
    failing->setData(kBoom);
    auto last = provider({"public.file-url"});
    last->setData(QByteArray("file:///c.pdf"));

    intake.handleDrop({first, failing, last});
    queue.drain();

    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(contentsOf(added[0]), (QStringList{"file:///a.pdf", "file:///c.pdf"}));
    EXPECT_EQ(log.lines().last(), "Dropping 2 items");
    EXPECT_TRUE(log.lines().contains("Error loading file URL: The file vanished."));
}

TEST_F(DropIntakeTest, UndetectedProvidersDoNotHoldTheDropBack) {
    auto unknown = provider({"com.adobe.pdf"});
    auto text = provider({"public.plain-text"});
    text->setItem(QByteArray("note"));

    intake.handleDrop({unknown, text});
    queue.drain();

    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(contentsOf(added[0]), QStringList{"note"});
    const QStringList lines = log.lines();
    EXPECT_LT(lines.indexOf("Type not detected"), lines.indexOf("Dropping 1 items"));
}

// ---- Threads.

TEST_F(DropIntakeTest, CommitsOnceAfterTheLastLoadInDropOrder) {
    std::vector<std::shared_ptr<FakeItemProvider>> files = {
        deferredFile("file:///0"), deferredFile("file:///1"), deferredFile("file:///2")};
    intake.handleDrop({files[0], files[1], files[2]});

    for (int index : {2, 0}) {
        std::thread([&] { files[static_cast<std::size_t>(index)]->complete(); }).join();
        queue.drain();
        EXPECT_TRUE(added.empty()) << "committed before every load finished";
    }
    std::thread([&] { files[1]->complete(); }).join();
    queue.drain();

    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(contentsOf(added[0]), (QStringList{"file:///0", "file:///1", "file:///2"}))
        << "the payloads keep the order of the drop, not of their loads";
    EXPECT_EQ(log.lines().count("Dropping 3 items"), 1);
}

TEST_F(DropIntakeTest, LoadsFinishingTogetherAllLandInDropOrder) {
    constexpr int kCount = 48;
    shelf::ItemProviderList providers;
    std::vector<std::shared_ptr<FakeItemProvider>> fakes;
    QStringList expected;
    for (int i = 0; i < kCount; ++i) {
        const QString url = QStringLiteral("file:///f%1").arg(i);
        fakes.push_back(deferredFile(url));
        providers.push_back(fakes.back());
        expected << url;
    }
    intake.handleDrop(providers);

    std::vector<std::thread> threads;
    for (auto& fake : fakes)
        threads.emplace_back([&fake] { fake->complete(); });
    for (auto& thread : threads)
        thread.join();
    queue.drain();

    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(contentsOf(added[0]), expected);
}

TEST_F(DropIntakeTest, OverlappingDropsCommitSeparatelyInOrderOfTheirLastLoads) {
    auto a0 = deferredFile("file:///a0");
    auto a1 = deferredFile("file:///a1");
    auto b0 = deferredFile("file:///b0");
    intake.handleDrop({a0, a1});
    intake.handleDrop({b0});

    std::thread([&] { a0->complete(); }).join();
    std::thread([&] { b0->complete(); }).join();
    queue.drain();
    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(contentsOf(added[0]), QStringList{"file:///b0"});

    std::thread([&] { a1->complete(); }).join();
    queue.drain();
    ASSERT_EQ(added.size(), 2u);
    EXPECT_EQ(contentsOf(added[1]), (QStringList{"file:///a0", "file:///a1"}));
    EXPECT_NE(added[0].id, added[1].id);
}

TEST_F(DropIntakeTest, SourceFileAppendRunsOnTheMainQueueBeforeTheCommit) {
    auto swift = std::make_shared<FakeItemProvider>(QStringList{"public.swift-source"}, true,
                                                    FakeItemProvider::Conformance::Exact);
    swift->setItem(QUrl("file:///src/App.swift"));
    auto file = deferredFile("file:///doc.pdf");
    intake.handleDrop({swift, file});

    std::thread([&] { swift->complete(); }).join();
    std::thread([&] { file->complete(); }).join();
    EXPECT_FALSE(log.lines().contains("Dropped Swift File URL: file:///src/App.swift"))
        << "the source-file append belongs to the main queue";
    queue.drain();

    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(contentsOf(added[0]), (QStringList{"file:///src/App.swift", "file:///doc.pdf"}));
    const QStringList lines = log.lines();
    EXPECT_LT(lines.indexOf("Dropped Swift File URL: file:///src/App.swift"),
              lines.indexOf("Dropping 2 items"));
}

TEST_F(DropIntakeTest, DropCommitsAfterItsIntakeIsGone) {
    auto file = deferredFile("file:///late.txt");
    {
        DropIntake shortLived(queue, log,
                              [this](const BucketItem& item) { added.push_back(item); });
        shortLived.handleDrop({file});
    }
    std::thread([&] { file->complete(); }).join();
    queue.drain();

    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(contentsOf(added[0]), QStringList{"file:///late.txt"});
}

} // namespace
