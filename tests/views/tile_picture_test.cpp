// A tile's picture from real files through the real thumbnail loader: a fresh thumbnail in the
// shared cache is shown as it is, a stale one is made anew, a broken image keeps its type icon.
#include "core/diagnostic_log.h"
#include "core/qt_main_queue.h"
#include "desktop/thumbnail_loader.h"
#include "support/fake_desktop_services.h"
#include "support/recording_log.h"
#include "support/wait_until.h"
#include "views/content_face.h"
#include "views/icon_view.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QUrl>

using desktop::ThumbnailCache;
using shelf::BucketItem;
using shelf::BucketItemData;
using testing_support::waitUntil;

namespace {

const QColor kTypeIcon(200, 40, 40); // the fake desktop services's

QImage filled(QSize size, QColor colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

class TilePictureTest : public testing::Test {
protected:
    void show(const QStringList& paths) {
        QList<BucketItemData> payloads;
        for (const QString& path : paths)
            payloads << BucketItemData(QUrl::fromLocalFile(path).toString(), shelf::UTType::png);
        m_face.setEntry(BucketItem(payloads, false), desktop::ColorScheme::Light);
        m_face.resize(150, 90);
        m_face.show();
    }
    QColor centre(int index = 0) const {
        IconView* icon = m_face.findChildren<IconView*>().at(index);
        return icon->grab().toImage().pixelColor(icon->imageRect().center());
    }
    bool waitForCentre(QColor colour, int index = 0) {
        return waitUntil([&] { return centre(index) == colour; });
    }
    QString writeFile(const QString& name, const QByteArray& bytes) {
        QFile file(m_home.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }
    QString thumbnailOf(const QString& path) const {
        return m_cache.pathFor(ThumbnailCache::uriOf(path), ThumbnailCache::Flavor::Normal);
    }
    bool writeThumbnail(const QString& path, QColor colour, qint64 mtime) const {
        return m_cache.write(filled({128, 96}, colour), ThumbnailCache::uriOf(path), mtime,
                             QFileInfo(path).size(), {}, ThumbnailCache::Flavor::Normal);
    }

    using IconView = views::IconView;
    QTemporaryDir m_home;
    ThumbnailCache m_cache{m_home.filePath(QStringLiteral("thumbnails"))};
    core::QtMainQueue m_mainQueue;
    desktop::ThumbnailLoader m_loader{m_cache, m_mainQueue};
    testing_support::FakeDesktopServices m_desktopServices;
    testing_support::RecordingLog m_log;
    views::ContentFace m_face{m_desktopServices, m_loader, m_log};
};

TEST_F(TilePictureTest, aFreshThumbnailIsShownWithoutDecodingTheImage) {
    // Bytes that would never decode: a picture can come from the thumbnail only.
    const QString photo = writeFile(QStringLiteral("photo.png"), "broken");
    ASSERT_TRUE(
        writeThumbnail(photo, Qt::magenta, QFileInfo(photo).lastModified().toSecsSinceEpoch()));
    show({photo});
    EXPECT_EQ(centre(), kTypeIcon) << "the type icon while the cache is read";
    EXPECT_TRUE(waitForCentre(Qt::magenta));
    EXPECT_EQ(m_loader.decodedCount(), 0);
}

TEST_F(TilePictureTest, aStaleThumbnailIsMadeAnewFromTheImage) {
    const QString photo = m_home.filePath(QStringLiteral("photo.png"));
    ASSERT_TRUE(filled({800, 600}, Qt::cyan).save(photo, "png"));
    const qint64 mtime = QFileInfo(photo).lastModified().toSecsSinceEpoch();
    ASSERT_TRUE(writeThumbnail(photo, Qt::magenta, mtime - 60));
    show({photo});
    EXPECT_TRUE(waitForCentre(Qt::cyan));
    EXPECT_EQ(m_loader.decodedCount(), 1);
    const QImage written(thumbnailOf(photo));
    EXPECT_EQ(written.size(), QSize(128, 96));
    EXPECT_EQ(written.text(QStringLiteral("Thumb::MTime")), QString::number(mtime));
    EXPECT_EQ(QColor(written.pixel(64, 48)), QColor(Qt::cyan));
}

TEST_F(TilePictureTest, aBrokenImageKeepsItsTypeIconAndTheCascadeUsesThumbnails) {
    const QString broken = writeFile(QStringLiteral("broken.png"), "\x89PNG\r\n\x1a\nbroken");
    const QString good = m_home.filePath(QStringLiteral("good.png"));
    ASSERT_TRUE(filled({300, 300}, Qt::green).save(good, "png"));
    show({broken, good});
    EXPECT_TRUE(waitForCentre(Qt::green, 1));
    waitUntil([&] { return m_loader.isIdle(); });
    EXPECT_EQ(centre(0), kTypeIcon);
    EXPECT_FALSE(QFileInfo::exists(thumbnailOf(broken)));
    EXPECT_TRUE(QFileInfo::exists(thumbnailOf(good)));
}

} // namespace
