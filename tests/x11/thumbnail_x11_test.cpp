// Thumbnails with holdfin running as a real process on a private X server: an image file
// dropped on the panel gets a thumbnail in the shared cache under its URI's MD5, which other
// programs can use, and a fresh thumbnail already there is shown without the image being read.
// Observed from outside: the cache folder, holdfin's standard output and the screen's pixels.
#include "holdfin_home.h"
#include "support/x11/child_process.h"
#include "support/x11/pointer_driver.h"
#include "support/x11/test_programs.h"
#include "support/x11/xvfb_session.h"
#include "x11_tools.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <QUrl>

#include <cstdlib>

using namespace std::chrono_literals;
using testing_support::x11::ChildProcess;
using testing_support::x11::PointerDriver;
using testing_support::x11::pumpEvents;
using testing_support::x11::testProgramPath;
using x11_tools::waitFor;

namespace {

// The first tile of the panel (160x310 at the left edge of the 1280x800 screen, centred).
const QRect kFirstTile(5, 249, 150, 90);
const QColor kPhotoColour(240, 140, 20);
const QColor kThumbnailColour(150, 30, 200);

int pixelsLike(const QImage& screen, const QRect& area, QColor colour) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor pixel = screen.pixelColor(x, y);
            if (std::abs(pixel.red() - colour.red()) + std::abs(pixel.green() - colour.green()) +
                    std::abs(pixel.blue() - colour.blue()) <
                30)
                ++count;
        }
    }
    return count;
}

class ThumbnailX11Test : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_home.isValid());
        if (auto error = m_session.start())
            GTEST_SKIP() << *error;
        ASSERT_TRUE(x11_tools::prepareHoldfinHome(m_home.path()));
        ASSERT_TRUE(QDir().mkpath(m_home.filePath(QStringLiteral("photos"))));
    }

    void startHoldfin() {
        m_holdfin = ChildProcess::start(HOLDFIN_EXECUTABLE, {});
        ASSERT_TRUE(m_holdfin);
        m_panel = x11_tools::waitForPanelWindow(m_holdfin->pid());
        ASSERT_FALSE(m_panel.empty()) << "holdfin built no panel";
        pumpEvents(500ms);
    }

    // Drags `path` from our drag source onto the panel and waits for holdfin to take it.
    void drop(const QString& path) {
        auto source = ChildProcess::start(
            testProgramPath("holdfin_test_drag_source"),
            {"files", "--at", "300,450", QUrl::fromLocalFile(path).toEncoded().toStdString()});
        ASSERT_TRUE(source && source->waitForLine("ready ", 10s));
        ASSERT_TRUE(m_pointer.beginDrag(450, 600));
        ASSERT_TRUE(source->waitForLine("drag-started ", 5s));
        pumpEvents(300ms);                           // the panel shows
        ASSERT_TRUE(m_pointer.moveBy(-24, -13, 19)); // onto the panel's drop region
        pumpEvents(300ms);
        ASSERT_TRUE(m_pointer.endDrag());
        bool isDropped = false;
        while (auto line = m_holdfin->readLine(5s)) {
            if (line->rfind("Dropping 1 items", 0) == 0) {
                isDropped = true;
                break;
            }
        }
        ASSERT_TRUE(isDropped) << "holdfin took no drop";
        m_pointer.moveTo(700, 700);
    }

    QImage screen() { return x11_tools::screenshot(m_home.filePath(QStringLiteral("screen.png"))); }
    bool waitForTileColour(QColor colour) {
        return waitFor([&] { return pixelsLike(screen(), kFirstTile, colour) > 400; }, 10s);
    }

    // Where another program looks for the normal thumbnail of the file at `uri`: its MD5.
    QString normalThumbnailOf(const QString& uri) const {
        return m_home.filePath(QStringLiteral("cache/thumbnails/normal/")) +
               QString::fromLatin1(
                   QCryptographicHash::hash(uri.toUtf8(), QCryptographicHash::Md5).toHex()) +
               QStringLiteral(".png");
    }

    QTemporaryDir m_home;
    testing_support::x11::XvfbSession m_session;
    std::unique_ptr<ChildProcess> m_holdfin;
    std::string m_panel;
    PointerDriver m_pointer;
};

TEST_F(ThumbnailX11Test, aDroppedPhotoGetsASharedThumbnailAndShowsIt) {
    const QString photo = m_home.filePath(QStringLiteral("photos/Summer day.png"));
    QImage image(1600, 1200, QImage::Format_RGB32);
    image.fill(kPhotoColour);
    ASSERT_TRUE(image.save(photo, "png"));
    ASSERT_NO_FATAL_FAILURE(startHoldfin());
    ASSERT_NO_FATAL_FAILURE(drop(photo));

    // The name is percent-encoded in the URI.
    const QString uri =
        QStringLiteral("file://") + m_home.filePath(QStringLiteral("photos/Summer%20day.png"));
    const QString thumbnail = normalThumbnailOf(uri);
    ASSERT_TRUE(waitFor([&] { return QFileInfo::exists(thumbnail); }, 10s))
        << "no thumbnail at " << thumbnail.toStdString();
    const QImage stored(thumbnail, "png");
    EXPECT_EQ(stored.size(), QSize(128, 96));
    EXPECT_EQ(stored.text(QStringLiteral("Thumb::URI")), uri);
    EXPECT_EQ(stored.text(QStringLiteral("Thumb::MTime")),
              QString::number(QFileInfo(photo).lastModified().toSecsSinceEpoch()));
    EXPECT_EQ(QFileInfo(thumbnail).permissions() & 0x7077,
              QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_TRUE(waitForTileColour(kPhotoColour)) << "the tile shows the photo";
}

TEST_F(ThumbnailX11Test, aFreshThumbnailIsShownWithoutReadingTheImage) {
    // Bytes that would not decode: the picture on screen can come from the thumbnail only.
    const QString photo = m_home.filePath(QStringLiteral("photos/scan.png"));
    QFile file(photo);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\x89PNG\r\n\x1a\nnot an image");
    file.close();
    const QString uri = QStringLiteral("file://") + photo;
    const QString thumbnail = normalThumbnailOf(uri);
    ASSERT_TRUE(QDir().mkpath(QFileInfo(thumbnail).path()));
    QImage made(128, 128, QImage::Format_RGB32);
    made.fill(kThumbnailColour);
    made.setText(QStringLiteral("Thumb::URI"), uri);
    made.setText(QStringLiteral("Thumb::MTime"),
                 QString::number(QFileInfo(photo).lastModified().toSecsSinceEpoch()));
    made.setText(QStringLiteral("Software"), QStringLiteral("another program"));
    ASSERT_TRUE(made.save(thumbnail, "png"));
    const QByteArray before = [&] {
        QFile stored(thumbnail);
        return stored.open(QIODevice::ReadOnly) ? stored.readAll() : QByteArray();
    }();

    ASSERT_NO_FATAL_FAILURE(startHoldfin());
    ASSERT_NO_FATAL_FAILURE(drop(photo));
    EXPECT_TRUE(waitForTileColour(kThumbnailColour)) << "the tile shows the thumbnail";
    QFile stored(thumbnail);
    ASSERT_TRUE(stored.open(QIODevice::ReadOnly));
    EXPECT_EQ(stored.readAll(), before) << "a fresh thumbnail is left as it is";
}

} // namespace
