#include "desktop/symbol_image.h"

#include <QImage>
#include <QPixmapCache>

#include <gtest/gtest.h>

namespace {

const char* const kSymbolNames[] = {"lock",
                                    "lock.open",
                                    "arrow.trianglehead.branch",
                                    "xmark",
                                    "trash",
                                    "gear",
                                    "chevron.down",
                                    "digitalcrown.horizontal.press",
                                    "digitalcrown.horizontal.press.fill",
                                    "folder.fill",
                                    "doc.fill",
                                    "doc.text.fill",
                                    "waveform",
                                    "film.fill",
                                    "doc.richtext.fill"};

// Counts the (nearly) opaque pixels, failing on any of them not in `tint`; antialiased edges
// lose some precision to premultiplied alpha.
int tintedPixels(const QImage& image, const QColor& tint) {
    int opaque = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (pixel.alpha() < 192)
                continue;
            ++opaque;
            EXPECT_NEAR(pixel.red(), tint.red(), 3) << "at " << x << "," << y;
            EXPECT_NEAR(pixel.green(), tint.green(), 3) << "at " << x << "," << y;
            EXPECT_NEAR(pixel.blue(), tint.blue(), 3) << "at " << x << "," << y;
        }
    }
    return opaque;
}

class SymbolImageTest : public ::testing::TestWithParam<const char*> {
protected:
    desktop::SymbolImage symbols;
};

TEST_P(SymbolImageTest, EverySymbolDrawsInTheColourAskedFor) {
    const QString name = QString::fromLatin1(GetParam());
    const QIcon icon = symbols.icon(name);
    ASSERT_FALSE(icon.isNull());
    EXPECT_TRUE(icon.isMask());

    const QColor tint(30, 120, 220);
    const QPixmap pixmap = symbols.image(name, QSize(24, 24), tint);
    ASSERT_FALSE(pixmap.isNull());
    EXPECT_LE(pixmap.width(), 24);
    EXPECT_LE(pixmap.height(), 24);
    EXPECT_GT(tintedPixels(pixmap.toImage(), tint), 24);
}

TEST_P(SymbolImageTest, OurOwnArtworkStandsInForEverySymbol) {
    const QPixmap pixmap = desktop::SymbolImage::tinted(
        desktop::SymbolImage::bundled(QString::fromLatin1(GetParam())), QSize(32, 32), Qt::red);
    ASSERT_FALSE(pixmap.isNull());
    EXPECT_GT(tintedPixels(pixmap.toImage(), Qt::red), 32);
}

TEST_P(SymbolImageTest, RepeatedRequestsReuseOneRendering) {
    const QString name = QString::fromLatin1(GetParam());
    const qint64 first = symbols.icon(name).pixmap(QSize(24, 24)).cacheKey();
    EXPECT_EQ(symbols.icon(name).pixmap(QSize(24, 24)).cacheKey(), first);
}

INSTANTIATE_TEST_SUITE_P(Names, SymbolImageTest, ::testing::ValuesIn(kSymbolNames));

TEST(SymbolImageCacheTest, AnimatedColoursDoNotCrowdOutOtherPixmaps) {
    const int limit = QPixmapCache::cacheLimit();
    QPixmapCache::clear();
    QPixmapCache::setCacheLimit(1024);
    QPixmap other(48, 48);
    other.fill(Qt::green);
    ASSERT_TRUE(QPixmapCache::insert(QStringLiteral("other"), other));

    // A colour transition as the drop region draws it, one shade per frame.
    desktop::SymbolImage symbols;
    for (int shade = 0; shade < 256; ++shade) {
        const QColor tint(shade, 0, 255 - shade);
        const QPixmap pixmap =
            symbols.image(QStringLiteral("digitalcrown.horizontal.press"), {48, 48}, tint);
        ASSERT_GT(tintedPixels(pixmap.toImage(), tint), 48);
    }
    QPixmap found;
    EXPECT_TRUE(QPixmapCache::find(QStringLiteral("other"), &found));
    QPixmapCache::clear();
    QPixmapCache::setCacheLimit(limit);
}

TEST(SymbolImageNamesTest, UnknownNamesGiveNothing) {
    desktop::SymbolImage symbols;
    EXPECT_TRUE(symbols.icon(QStringLiteral("no.such.symbol")).isNull());
    EXPECT_TRUE(symbols.image(QStringLiteral("no.such.symbol"), {16, 16}, Qt::black).isNull());
    EXPECT_EQ(desktop::SymbolImage::names().size(), std::size(kSymbolNames));
}

TEST(SymbolImageTintTest, TintOpacityMultipliesThrough) {
    QColor halfBlack(Qt::black);
    halfBlack.setAlphaF(0.5f);
    const QImage image =
        desktop::SymbolImage::tinted(desktop::SymbolImage::bundled(QStringLiteral("folder.fill")),
                                     QSize(24, 24), halfBlack)
            .toImage();
    EXPECT_NEAR(image.pixelColor(12, 14).alpha(), 128, 2);
}

} // namespace
