// The shared thumbnail cache (names, freshness, what is written back) and the loader that
// finds or makes pictures off the GUI thread.
#include "core/qt_main_queue.h"
#include "desktop/thumbnail_cache.h"
#include "desktop/thumbnail_loader.h"
#include "support/wait_until.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>

using desktop::ThumbnailCache;
using desktop::ThumbnailLoader;
using Flavor = desktop::ThumbnailCache::Flavor;
using testing_support::waitUntil;

namespace {

QImage filled(QSize size, QColor colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

qint64 mtimeOf(const QString& path) {
    return QFileInfo(path).lastModified().toSecsSinceEpoch();
}

bool setMTime(const QString& path, qint64 seconds) {
    QFile file(path);
    return file.open(QIODevice::ReadWrite) &&
           file.setFileTime(QDateTime::fromSecsSinceEpoch(seconds),
                            QFileDevice::FileModificationTime);
}

TEST(ThumbnailCacheNames, areTheMd5OfTheCanonicalUriInAFolderPerSize) {
    const ThumbnailCache cache(QStringLiteral("/c/thumbnails/"));
    const QString uri = ThumbnailCache::uriOf(QStringLiteral("/home/jens/photos/me.png"));
    EXPECT_EQ(uri, QStringLiteral("file:///home/jens/photos/me.png"));
    EXPECT_EQ(cache.pathFor(uri, Flavor::Normal),
              QStringLiteral("/c/thumbnails/normal/c6ee772d9e49320e97ec29a7eb5b1697.png"));
    EXPECT_EQ(cache.pathFor(uri, Flavor::Large),
              QStringLiteral("/c/thumbnails/large/c6ee772d9e49320e97ec29a7eb5b1697.png"));
    // Names are percent-encoded as UTF-8.
    EXPECT_EQ(ThumbnailCache::uriOf(QStringLiteral("/tmp/My Photo #1 é.png")),
              QStringLiteral("file:///tmp/My%20Photo%20%231%20%C3%A9.png"));
    EXPECT_EQ(ThumbnailCache::uriOf(QStringLiteral("/tmp/a(1)&b;c=d,e+f@g!h'i~j[k]l%m.png")),
              QStringLiteral("file:///tmp/a(1)&b%3Bc=d,e+f@g!h'i~j%5Bk%5Dl%25m.png"));

    EXPECT_TRUE(cache.holds(QStringLiteral("/c/thumbnails/normal/x.png")));
    EXPECT_FALSE(cache.holds(QStringLiteral("/c/thumbnails-old/x.png")));
    EXPECT_FALSE(cache.holds(QStringLiteral("/c/thumbnails")));

    EXPECT_EQ(ThumbnailCache::flavorFor(90), Flavor::Normal);
    EXPECT_EQ(ThumbnailCache::flavorFor(128), Flavor::Normal);
    EXPECT_EQ(ThumbnailCache::flavorFor(180), Flavor::Large);
}

class ThumbnailCacheTest : public testing::Test {
protected:
    QTemporaryDir m_home;
    ThumbnailCache m_cache{m_home.filePath(QStringLiteral("cache/thumbnails"))};
    const QString m_uri = QStringLiteral("file:///photos/a.jpg");
};

TEST_F(ThumbnailCacheTest, writesAPrivatePngWithTheFilesUriTimeAndSize) {
    ASSERT_TRUE(m_cache.write(filled({128, 96}, Qt::red), m_uri, 1700000000, 4242, {4000, 3000},
                              Flavor::Normal));
    const QString path = m_cache.pathFor(m_uri, Flavor::Normal);
    QImageReader reader(path);
    EXPECT_EQ(reader.format(), "png");
    const QImage stored = reader.read();
    EXPECT_EQ(stored.size(), QSize(128, 96));
    EXPECT_EQ(stored.text(QStringLiteral("Thumb::URI")), m_uri);
    EXPECT_EQ(stored.text(QStringLiteral("Thumb::MTime")), QStringLiteral("1700000000"));
    EXPECT_EQ(stored.text(QStringLiteral("Thumb::Size")), QStringLiteral("4242"));
    EXPECT_EQ(stored.text(QStringLiteral("Thumb::Image::Width")), QStringLiteral("4000"));
    EXPECT_EQ(stored.text(QStringLiteral("Thumb::Image::Height")), QStringLiteral("3000"));
    EXPECT_EQ(stored.text(QStringLiteral("Software")), QStringLiteral("Holdfin"));

    // Owner, group and others (the "user" flags would repeat the owner's).
    const auto permissions = [](const QString& at) { return QFileInfo(at).permissions() & 0x7077; };
    EXPECT_EQ(permissions(path), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const auto owner = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
    for (const QString& folder : {m_cache.root(), m_cache.root() + QStringLiteral("/normal")})
        EXPECT_EQ(permissions(folder), owner) << folder.toStdString();
    // Nothing is left beside it.
    EXPECT_EQ(QDir(m_cache.root() + QStringLiteral("/normal")).entryList(QDir::Files).size(), 1);
}

TEST_F(ThumbnailCacheTest, aThumbnailIsFreshOnlyForItsUriTimeAndSize) {
    ASSERT_TRUE(m_cache.write(filled({64, 64}, Qt::blue), m_uri, 1000, 50, {}, Flavor::Large));
    EXPECT_FALSE(m_cache.readFresh(m_uri, 1000, 50, Flavor::Large).isNull());
    EXPECT_TRUE(m_cache.readFresh(m_uri, 1001, 50, Flavor::Large).isNull()) << "file changed";
    EXPECT_TRUE(m_cache.readFresh(m_uri, 1000, 51, Flavor::Large).isNull()) << "size changed";
    EXPECT_TRUE(m_cache.readFresh(m_uri, 1000, 50, Flavor::Normal).isNull()) << "other size";

    // A thumbnail under the right name that names another file (an MD5 clash, or a
    // foreign writer) is not this file's.
    const QString path = m_cache.pathFor(m_uri, Flavor::Large);
    QImage foreign = filled({64, 64}, Qt::blue);
    foreign.setText(QStringLiteral("Thumb::URI"), QStringLiteral("file:///elsewhere.jpg"));
    foreign.setText(QStringLiteral("Thumb::MTime"), QStringLiteral("1000"));
    ASSERT_TRUE(foreign.save(path, "png"));
    EXPECT_TRUE(m_cache.readFresh(m_uri, 1000, 50, Flavor::Large).isNull());

    // Without a time, or without a size of its own (which is optional), or not a PNG.
    QImage timeless = filled({64, 64}, Qt::blue);
    timeless.setText(QStringLiteral("Thumb::URI"), m_uri);
    ASSERT_TRUE(timeless.save(path, "png"));
    EXPECT_TRUE(m_cache.readFresh(m_uri, 0, 50, Flavor::Large).isNull());
    timeless.setText(QStringLiteral("Thumb::MTime"), QStringLiteral("1000"));
    ASSERT_TRUE(timeless.save(path, "png"));
    EXPECT_FALSE(m_cache.readFresh(m_uri, 1000, 50, Flavor::Large).isNull());
    QFile broken(path);
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
    broken.write("\x89PNG\r\n\x1a\n not really");
    broken.close();
    EXPECT_TRUE(m_cache.readFresh(m_uri, 1000, 50, Flavor::Large).isNull());
}

// The loader with its cache in a temporary home; files to look at beside it.
class ThumbnailLoaderTest : public testing::Test {
protected:
    QString addImage(const QString& name, QSize size, QColor colour, const char* format = "png") {
        const QString path = m_home.filePath(name);
        EXPECT_TRUE(filled(size, colour).save(path, format));
        return path;
    }
    QString addFile(const QString& name, const QByteArray& bytes) {
        const QString path = m_home.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    // Asks until an answer comes (or a second passes).
    QImage waitForThumbnail(const QString& path, int edge = 90) {
        QImage image;
        waitUntil(
            [&] {
                image = m_loader->thumbnail(path, edge);
                return !image.isNull() || (m_loader->isIdle() && m_changes.count() > 0);
            },
            {}, std::chrono::seconds(5));
        return image;
    }
    void settle() {
        waitUntil([&] { return m_loader->isIdle(); });
        QCoreApplication::processEvents();
    }

    QTemporaryDir m_home;
    ThumbnailCache m_cache{m_home.filePath(QStringLiteral("thumbnails"))};
    core::QtMainQueue m_mainQueue;
    QString m_private = m_home.filePath(QStringLiteral("private"));
    std::unique_ptr<ThumbnailLoader> m_loader =
        std::make_unique<ThumbnailLoader>(m_cache, m_mainQueue, QStringList{m_private});
    QSignalSpy m_changes{m_loader.get(), &desktop::Thumbnails::thumbnailChanged};
};

TEST_F(ThumbnailLoaderTest, scalesAnImageOnAWorkerAndWritesItBack) {
    const QString photo = addImage(QStringLiteral("photo.jpg"), {1200, 900}, Qt::green, "jpg");
    EXPECT_TRUE(m_loader->thumbnail(photo, 90).isNull()) << "never made on the GUI thread";
    const QImage picture = waitForThumbnail(photo);
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), QSize(128, 96));
    EXPECT_GT(QColor(picture.pixel(64, 48)).green(), 200);
    EXPECT_EQ(m_changes.count(), 1);
    EXPECT_EQ(m_changes.at(0).at(0).toString(), photo);

    const QString uri = ThumbnailCache::uriOf(photo);
    const QImage stored =
        m_cache.readFresh(uri, mtimeOf(photo), QFileInfo(photo).size(), Flavor::Normal);
    EXPECT_EQ(stored.size(), QSize(128, 96));
    EXPECT_EQ(m_loader->decodedCount(), 1);

    // A larger area wants the large flavor.
    const QImage large = waitForThumbnail(photo, 200);
    EXPECT_EQ(large.size(), QSize(256, 192));
    EXPECT_FALSE(
        m_cache.readFresh(uri, mtimeOf(photo), QFileInfo(photo).size(), Flavor::Large).isNull());
    // Asked again, the picture is at hand: no more decoding.
    EXPECT_FALSE(m_loader->thumbnail(photo, 90).isNull());
    settle();
    EXPECT_EQ(m_loader->decodedCount(), 2);
}

// (Fresh thumbnails of images, and stale ones made anew, are tile_picture_test's.)
TEST_F(ThumbnailLoaderTest, aFileManagersThumbnailOfAnyFileIsShownAndALargeOneServesSmall) {
    const QString document = addFile(QStringLiteral("report.pdf"), "%PDF-1.4");
    ASSERT_TRUE(m_cache.write(filled({100, 50}, Qt::magenta), ThumbnailCache::uriOf(document),
                              mtimeOf(document), 8, {}, Flavor::Large));
    EXPECT_EQ(waitForThumbnail(document).size(), QSize(128, 64));
    EXPECT_EQ(m_loader->decodedCount(), 0);
}

TEST_F(ThumbnailLoaderTest, aFileThatChangesOnTheShelfGetsANewPicture) {
    const QString photo = addImage(QStringLiteral("photo.png"), {64, 64}, Qt::yellow);
    ASSERT_TRUE(setMTime(photo, 1'600'000'000));
    ASSERT_FALSE(waitForThumbnail(photo).isNull());
    ASSERT_TRUE(filled({64, 64}, Qt::cyan).save(photo, "png"));
    ASSERT_TRUE(setMTime(photo, 1'600'000'100));
    // Pictures at hand are checked against their file once they are a while old.
    ASSERT_TRUE(waitUntil(
        [&] {
            const QImage picture = m_loader->thumbnail(photo, 90);
            return QColor(picture.pixel(1, 1)) == QColor(Qt::cyan);
        },
        {}, std::chrono::seconds(8)));
    EXPECT_EQ(m_changes.count(), 2);
}

TEST_F(ThumbnailLoaderTest, brokenHugeAndOtherFilesGetNoPicture) {
    const QStringList paths = {
        addFile(QStringLiteral("broken.png"), "\x89PNG\r\n\x1a\n garbage after the header"),
        addFile(QStringLiteral("notes.txt"), "#define x_width 8\n"),
        addFile(QStringLiteral("empty.jpg"), ""),
        m_home.filePath(QStringLiteral("missing.png")),
        m_home.path(),
    };
    // A PNG header that claims 60,000 by 60,000 pixels: refused before any pixel is read.
    const QByteArray huge =
        QByteArray::fromHex("89504e470d0a1a0a0000000d494844520000ea600000ea60080600000080d27542");
    const QString hugePath = addFile(QStringLiteral("huge.png"), huge);
    // A real PNG just over the bound of formats that are decoded whole: it would decode.
    QImage large(5001, 5001, QImage::Format_Mono);
    large.fill(1);
    const QString largePath = m_home.filePath(QStringLiteral("large.png"));
    ASSERT_TRUE(large.save(largePath, "png"));
    const QStringList all = paths + QStringList{hugePath, largePath};
    for (const QString& path : all)
        m_loader->thumbnail(path, 90);
    settle();
    for (const QString& path : all)
        EXPECT_TRUE(m_loader->thumbnail(path, 90).isNull()) << path.toStdString();
    EXPECT_EQ(m_changes.count(), 0);
    EXPECT_TRUE(QDir(m_cache.root() + QStringLiteral("/normal")).entryList(QDir::Files).isEmpty());
}

TEST_F(ThumbnailLoaderTest, privateFilesAndTheCacheItselfAreNotWrittenBack) {
    ASSERT_TRUE(QDir().mkpath(m_private));
    const QString dropped = addImage(QStringLiteral("private/image-1.png"), {40, 30}, Qt::red);
    EXPECT_EQ(waitForThumbnail(dropped).size(), QSize(40, 30)) << "small images keep their size";
    const QString cached =
        m_cache.pathFor(ThumbnailCache::uriOf(m_home.filePath(QStringLiteral("x"))), Flavor::Large);
    ASSERT_TRUE(QDir().mkpath(QFileInfo(cached).path()));
    ASSERT_TRUE(filled({20, 20}, Qt::red).save(cached, "png"));
    m_changes.clear();
    EXPECT_FALSE(waitForThumbnail(cached).isNull());
    settle();
    EXPECT_FALSE(QDir(m_cache.root() + QStringLiteral("/normal")).exists());
    EXPECT_EQ(QDir(m_cache.root() + QStringLiteral("/large")).entryList(QDir::Files).size(), 1);
}

TEST_F(ThumbnailLoaderTest, waitingLooksAreBoundedAndTheNewestGoFirst) {
    // Far more wishes than may wait: the oldest are dropped, the newest answered.
    QStringList photos;
    for (int i = 0; i < 200; ++i)
        photos << addImage(QStringLiteral("p%1.png").arg(i), {8, 8}, Qt::red);
    for (const QString& path : photos)
        m_loader->thumbnail(path, 90);
    settle();
    EXPECT_LE(m_changes.count(), ThumbnailLoader::kMaxWaiting + ThumbnailLoader::kMaxThreads);
    EXPECT_FALSE(m_loader->thumbnail(photos.last(), 90).isNull());
    EXPECT_TRUE(m_loader->thumbnail(photos.at(100), 90).isNull()) << "dropped, asked anew now";
    EXPECT_FALSE(waitForThumbnail(photos.at(100)).isNull());
}

TEST_F(ThumbnailLoaderTest, goesAwayWhileLooksAreUnderWay) {
    for (int i = 0; i < 8; ++i)
        m_loader->thumbnail(
            addImage(QStringLiteral("p%1.jpg").arg(i), {2000, 1500}, Qt::red, "jpg"), 90);
    // Waits for the running looks; their answers must go nowhere (sanitizers watch this).
    m_loader.reset();
    QCoreApplication::processEvents();
}

} // namespace
