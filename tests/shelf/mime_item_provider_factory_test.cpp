#include "shelf/mime_item_provider_factory.h"

#include "support/qt_printers.h"
#include "support/raw_mime_data.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMimeData>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <chrono>
#include <mutex>
#include <numeric>
#include <sys/stat.h>
#include <thread>

using shelf::ItemProvider;
using shelf::LoadedData;
using shelf::LoadedItem;
using shelf::LoadError;
using shelf::MimeItemProviderFactory;

namespace {

using Formats = testing_support::RawMimeData::Formats;

std::unique_ptr<QMimeData> mimeData(const Formats& formats) {
    return std::make_unique<testing_support::RawMimeData>(formats);
}

QByteArray pngBytes(QSize size = {3, 2}) {
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// The raw bytes of a URL's path: what a file system sees, whatever the encoding.
QByteArray pathBytes(const QUrl& url) {
    return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
}

class MimeItemProviderFactoryTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(root.isValid()); }

    // Runs one load; checks the handler ran exactly once, before the load returned.
    static LoadedItem loadItem(ItemProvider& provider, const QString& identifier) {
        std::vector<LoadedItem> results;
        provider.loadItemForTypeIdentifier(
            identifier, [&](LoadedItem item) { results.push_back(std::move(item)); });
        EXPECT_EQ(results.size(), 1u);
        return results.empty() ? LoadedItem{} : results.front();
    }

    static LoadedData loadData(ItemProvider& provider, const QString& identifier) {
        std::vector<LoadedData> results;
        provider.loadDataRepresentationForTypeIdentifier(
            identifier, [&](LoadedData data) { results.push_back(std::move(data)); });
        EXPECT_EQ(results.size(), 1u);
        return results.empty() ? LoadedData{} : results.front();
    }

    QUrl loadedUrl(ItemProvider& provider, const QString& identifier) {
        const LoadedItem item = loadItem(provider, identifier);
        EXPECT_TRUE(std::holds_alternative<QUrl>(item)) << identifier.toStdString();
        return std::holds_alternative<QUrl>(item) ? std::get<QUrl>(item) : QUrl();
    }

    QTemporaryDir root;
    QString cacheDirectory = root.filePath("cache/holdfin");
    MimeItemProviderFactory factory{cacheDirectory};
};

// ---- Which providers a drop's data gives, with which identifiers.

struct ProvidersCase {
    const char* name;
    Formats formats;
    std::vector<QStringList> identifiers;
};

void PrintTo(const ProvidersCase& c, std::ostream* os) {
    *os << c.name;
}

const QString kUriList = "text/uri-list";
const QString kUtf8Text = "text/plain;charset=utf-8";
const QStringList kFolder = {"public.folder", "public.file-url"};
const QStringList kLink = {"public.url", "public.plain-text"};
const QStringList kText = {"public.plain-text"};

QStringList file(const char* identifier) {
    return {identifier, "public.file-url"};
}

const std::vector<ProvidersCase> kProvidersCases = {
    {"CrlfFileList",
     {{kUriList, "file:///home/demo/clip.mp4\r\nfile:///home/demo/table.csv\r\n"}},
     {file("public.mpeg-4"), file("public.comma-separated-values-text")}},
    {"LfWithCommentsAndBlankLines",
     {{kUriList, "# dragged from a file manager\nfile:///m/a.mkv\n\n  \n#x\nfile:///m/b.webm"}},
     {file("org.matroska.mkv"), file("org.webmproject.webm")}},
    {"MovieAndStreamTypes",
     {{kUriList, "file:///v/a.mov\r\nfile:///v/b.m2ts\r\nfile:///v/c.MP4\r\n"}},
     {file("com.apple.quicktime-movie"), file("public.mpeg-2-transport-stream"),
      file("public.mpeg-4")}},
    {"LogAndSwiftSource",
     {{kUriList, "file:///l/system.log\r\nfile:///s/App.swift\r\n"}},
     {file("com.apple.log"), file("public.swift-source")}},
    {"Images",
     {{kUriList, "file:///p/a.PNG\r\nfile:///p/b.jpg\r\nfile:///p/c.gif\r\n"}},
     {file("public.png"), file("public.jpeg"), file("com.compuserve.gif")}},
    {"TextFilesByAncestry",
     {{kUriList, "file:///t/notes.txt\r\nfile:///t/README.md\r\nfile:///t/main.cpp\r\n"}},
     {file("public.plain-text"), file("public.plain-text"), file("public.plain-text")}},
    {"UnknownAndDocuments",
     {{kUriList, "file:///d/blob.xyzzy\r\nfile:///d/paper.pdf\r\n"}},
     {file("public.data"), file("com.adobe.pdf")}},
    {"FolderBySlash", {{kUriList, "file:///home/demo/Photos/\r\n"}}, {kFolder}},
    {"WebLinkAmongFiles",
     {{kUriList, "https://example.com/a?b=1\r\nfile:///x.pdf\r\n"}},
     {kLink, file("com.adobe.pdf")}},
    {"UrisWinOverTextAndImage",
     {{kUriList, "file:///x.pdf\r\n"}, {kUtf8Text, "/x.pdf"}, {"image/png", pngBytes()}},
     {file("com.adobe.pdf")}},
    {"EmptyUriList", {{kUriList, ""}}, {}},
    {"OnlyComments", {{kUriList, "# nothing\r\n#\r\n"}}, {}},
    {"GarbageUriList", {{kUriList, QByteArray("\x01\x02 ::\xff\r\nno scheme here\r\n", 22)}}, {}},
    {"MalformedUriListFallsBackToText", {{kUriList, "::"}, {"text/plain", "hello"}}, {kText}},
    {"Utf8Text", {{kUtf8Text, "h\xc3\xa9llo"}}, {kText}},
    {"PlainText", {{"text/plain", "hello"}}, {kText}},
    {"Utf8StringAtom", {{"UTF8_STRING", "hello"}}, {kText}},
    {"PngBytes", {{"image/png", pngBytes()}}, {{"public.png"}}},
    {"JpegBytesOnly", {{"image/jpeg", "\xff\xd8\xff"}}, {{"public.jpeg"}}},
    {"PngPreferredAmongImages", {{"image/bmp", "BM"}, {"image/png", pngBytes()}}, {{"public.png"}}},
    {"NothingUsable", {{"application/x-color", QByteArray(8, '\0')}}, {}},
};

class ProvidersTest : public MimeItemProviderFactoryTest,
                      public ::testing::WithParamInterface<ProvidersCase> {};

TEST_P(ProvidersTest, OneProviderPerItemWithItsIdentifiers) {
    const auto data = mimeData(GetParam().formats);
    const auto providers = factory.providersFor(*data);

    std::vector<QStringList> identifiers;
    for (const auto& provider : providers)
        identifiers.push_back(provider->registeredTypeIdentifiers());
    EXPECT_EQ(identifiers, GetParam().identifiers);
}

INSTANTIATE_TEST_SUITE_P(MimePayloads, ProvidersTest, ::testing::ValuesIn(kProvidersCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MimeItemProviderFactoryTest, AmbiguousSuffixCarriesEveryCandidate) {
    const auto data = mimeData({{kUriList, "file:///rec/broadcast.ts\r\n"}});
    const auto providers = factory.providersFor(*data);
    ASSERT_EQ(providers.size(), 1u);
    EXPECT_TRUE(providers[0]->hasItemConformingToTypeIdentifier("public.mpeg-2-transport-stream"));
    EXPECT_EQ(providers[0]->registeredTypeIdentifiers().last(), "public.file-url");
}

TEST_F(MimeItemProviderFactoryTest, ConformanceFollowsTheTypeTable) {
    const auto data = mimeData({{kUriList, "file:///v/clip.mp4\r\nhttps://example.com/\r\n"}});
    const auto providers = factory.providersFor(*data);
    ASSERT_EQ(providers.size(), 2u);
    for (const char* yes : {"public.mpeg-4", "public.movie", "public.file-url", "public.url"})
        EXPECT_TRUE(providers[0]->hasItemConformingToTypeIdentifier(yes)) << yes;
    for (const char* no : {"public.image", "public.plain-text", "public.folder"})
        EXPECT_FALSE(providers[0]->hasItemConformingToTypeIdentifier(no)) << no;
    EXPECT_TRUE(providers[1]->hasItemConformingToTypeIdentifier("public.plain-text"));
    EXPECT_FALSE(providers[1]->hasItemConformingToTypeIdentifier("public.file-url"));
}

TEST_F(MimeItemProviderFactoryTest, AcceptsDragsByTheirFormatsAlone) {
    EXPECT_TRUE(MimeItemProviderFactory::canProvide(*mimeData({{kUriList, "x"}})));
    EXPECT_TRUE(MimeItemProviderFactory::canProvide(*mimeData({{"UTF8_STRING", "x"}})));
    EXPECT_TRUE(MimeItemProviderFactory::canProvide(*mimeData({{"image/webp", "x"}})));
    EXPECT_FALSE(MimeItemProviderFactory::canProvide(*mimeData({{"application/x-color", "x"}})));
    EXPECT_FALSE(MimeItemProviderFactory::canProvide(*mimeData({{"text/html", "<b>x</b>"}})));
}

// ---- What the loads hand back.

TEST_F(MimeItemProviderFactoryTest, FileLoadsHandBackTheUrlForEveryFileType) {
    const auto data = mimeData({{kUriList, "file:///nowhere/clip.mp4\r\n"}});
    auto provider = factory.providersFor(*data).at(0);

    const QUrl expected("file:///nowhere/clip.mp4");
    EXPECT_EQ(loadedUrl(*provider, "public.mpeg-4"), expected);
    EXPECT_EQ(loadedUrl(*provider, "public.file-url"), expected);
    const LoadedData bytes = loadData(*provider, "public.file-url");
    ASSERT_TRUE(std::holds_alternative<QByteArray>(bytes));
    EXPECT_EQ(std::get<QByteArray>(bytes), "file:///nowhere/clip.mp4");
    EXPECT_TRUE(std::holds_alternative<LoadError>(loadItem(*provider, "public.image")));
}

TEST_F(MimeItemProviderFactoryTest, FileContentLoadsReadTheFile) {
    const QString path = root.filePath("notes.txt");
    QFile out(path);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write("line one\nline two\n");
    out.close();
    const auto data = mimeData({{kUriList, QUrl::fromLocalFile(path).toEncoded()}});
    auto provider = factory.providersFor(*data).at(0);

    const LoadedData bytes = loadData(*provider, "public.plain-text");
    ASSERT_TRUE(std::holds_alternative<QByteArray>(bytes));
    EXPECT_EQ(std::get<QByteArray>(bytes), "line one\nline two\n");
    QFile::remove(path);
    EXPECT_TRUE(std::holds_alternative<LoadError>(loadData(*provider, "public.plain-text")));
}

TEST_F(MimeItemProviderFactoryTest, DirectoryWithoutSlashGainsItOnLoad) {
    const QByteArray name("Holiday %20 \xff");
    const QByteArray directory = QFile::encodeName(root.path()) + '/' + name;
    ASSERT_EQ(::mkdir(directory.constData(), 0700), 0);
    const QByteArray line = "file://" + directory.toPercentEncoding("/");
    const auto data = mimeData({{kUriList, line + "\r\n"}});
    auto provider = factory.providersFor(*data).at(0);

    const QUrl url = loadedUrl(*provider, "public.file-url");
    EXPECT_TRUE(url.toEncoded().endsWith('/'));
    EXPECT_EQ(pathBytes(url), directory + '/');
    const LoadedData bytes = loadData(*provider, "public.file-url");
    EXPECT_EQ(::rmdir(directory.constData()), 0); // QTemporaryDir cannot name it
    ASSERT_TRUE(std::holds_alternative<QByteArray>(bytes));
    EXPECT_EQ(std::get<QByteArray>(bytes), url.toEncoded());
}

TEST_F(MimeItemProviderFactoryTest, LinkLoadsAsUrlOrAsItsText) {
    const QByteArray link = "https://example.com/search?q=a%20b#top";
    const auto data = mimeData({{kUriList, link + "\r\n"}});
    auto provider = factory.providersFor(*data).at(0);

    EXPECT_EQ(loadedUrl(*provider, "public.url").toEncoded(), link);
    const LoadedItem text = loadItem(*provider, "public.plain-text");
    ASSERT_TRUE(std::holds_alternative<QByteArray>(text));
    EXPECT_EQ(std::get<QByteArray>(text), link);
}

TEST_F(MimeItemProviderFactoryTest, TextLoadsHandBackTheBytesAsTheyCame) {
    const QByteArray invalid("caf\xe9 \xff\xfe", 7);
    const auto data = mimeData({{"text/plain", invalid}});
    auto provider = factory.providersFor(*data).at(0);

    const LoadedItem item = loadItem(*provider, "public.plain-text");
    ASSERT_TRUE(std::holds_alternative<QByteArray>(item));
    EXPECT_EQ(std::get<QByteArray>(item), invalid);
}

// ---- Image bytes without a file.

struct ImageCase {
    const char* name;
    const char* format;
    QByteArray bytes;
    const char* suffix;
};

void PrintTo(const ImageCase& c, std::ostream* os) {
    *os << c.name;
}

class ImageProviderTest : public MimeItemProviderFactoryTest,
                          public ::testing::WithParamInterface<ImageCase> {};

TEST_P(ImageProviderTest, WritesThePrivateFileOnceAndHandsBackItsUrl) {
    const ImageCase& c = GetParam();
    const auto data = mimeData({{c.format, c.bytes}});
    auto provider = factory.providersFor(*data).at(0);
    EXPECT_FALSE(QDir(cacheDirectory).exists()) << "nothing written before a load";

    const QUrl url = loadedUrl(*provider, "public.image");
    ASSERT_TRUE(url.isLocalFile());
    const QString path = url.toLocalFile();
    EXPECT_EQ(QFileInfo(path).absolutePath(), QDir(cacheDirectory).absolutePath());
    EXPECT_TRUE(path.endsWith(QString(".") + c.suffix)) << path.toStdString();
    QFile written(path);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), c.bytes);

    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    ASSERT_EQ(::stat(QFile::encodeName(cacheDirectory).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    EXPECT_EQ(loadedUrl(*provider, "public.image"), url) << "written once";
    EXPECT_EQ(QDir(cacheDirectory).entryList(QDir::Files).size(), 1);
    const LoadedData bytes = loadData(*provider, "public.image");
    ASSERT_TRUE(std::holds_alternative<QByteArray>(bytes));
    EXPECT_EQ(std::get<QByteArray>(bytes), c.bytes);
}

INSTANTIATE_TEST_SUITE_P(Formats, ImageProviderTest,
                         ::testing::Values(ImageCase{"Png", "image/png", pngBytes(), "png"},
                                           ImageCase{"Jpeg", "image/jpeg", "\xff\xd8\xff\xe0",
                                                     "jpg"},
                                           ImageCase{"Gif", "image/gif", "GIF89a", "gif"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MimeItemProviderFactoryTest, TwoImageDropsGetTwoFiles) {
    const auto first = mimeData({{"image/png", pngBytes()}});
    const auto second = mimeData({{"image/png", pngBytes()}});
    const QUrl a = loadedUrl(*factory.providersFor(*first).at(0), "public.png");
    const QUrl b = loadedUrl(*factory.providersFor(*second).at(0), "public.png");
    EXPECT_NE(a, b);
    EXPECT_EQ(QDir(cacheDirectory).entryList(QDir::Files).size(), 2);
}

TEST_F(MimeItemProviderFactoryTest, InProcessImageIsSavedAsPng) {
    QMimeData data;
    QImage image(QSize(5, 4), QImage::Format_RGB32);
    image.fill(Qt::blue);
    data.setImageData(image);
    const auto providers = factory.providersFor(data);
    ASSERT_EQ(providers.size(), 1u);

    const QUrl url = loadedUrl(*providers[0], "public.image");
    EXPECT_TRUE(url.toLocalFile().endsWith(".png"));
    QImage read(url.toLocalFile());
    EXPECT_EQ(read.size(), QSize(5, 4));
}

// ---- Drops handed over whole.

TEST_F(MimeItemProviderFactoryTest, DropsAreHandledOneAtATimeInOrderOffTheCallingThread) {
    constexpr int kDrops = 20;
    std::mutex mutex;
    std::vector<int> handled;
    std::vector<std::size_t> providerCounts;
    int running = 0;
    int mostRunning = 0;
    bool isOffCallingThread = true;
    const std::thread::id caller = std::this_thread::get_id();
    for (int i = 0; i < kDrops; ++i) {
        shelf::DropContents contents;
        for (int uri = 0; uri <= i; ++uri)
            contents.uris.append({"file:///drop/" + QByteArray::number(uri), true});
        factory.makeProviders(std::move(contents), [&, i](shelf::ItemProviderList providers) {
            {
                std::lock_guard lock(mutex);
                mostRunning = std::max(mostRunning, ++running);
                isOffCallingThread = isOffCallingThread && std::this_thread::get_id() != caller;
                handled.push_back(i);
                providerCounts.push_back(providers.size());
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1)); // room for an overlap
            std::lock_guard lock(mutex);
            --running;
        });
    }
    factory.waitForDrops();

    std::lock_guard lock(mutex);
    std::vector<int> expected(kDrops);
    std::iota(expected.begin(), expected.end(), 0);
    EXPECT_EQ(handled, expected);
    ASSERT_EQ(providerCounts.size(), std::size_t(kDrops));
    for (int i = 0; i < kDrops; ++i)
        EXPECT_EQ(providerCounts[std::size_t(i)], std::size_t(i + 1));
    EXPECT_EQ(mostRunning, 1);
    EXPECT_TRUE(isOffCallingThread);
}

TEST_F(MimeItemProviderFactoryTest, UnwritableCacheIsAnError) {
    QFile blocker(root.filePath("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    MimeItemProviderFactory blocked(root.filePath("blocker/holdfin"));
    const auto data = mimeData({{"image/png", pngBytes()}});

    const LoadedItem item = loadItem(*blocked.providersFor(*data).at(0), "public.image");
    ASSERT_TRUE(std::holds_alternative<LoadError>(item));
    EXPECT_FALSE(std::get<LoadError>(item).message.isEmpty());
}

} // namespace
