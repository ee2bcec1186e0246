#include "shelf/ut_type.h"

#include <gtest/gtest.h>

using shelf::UTType;

TEST(UTTypeConformance, FollowsTheTableTransitively) {
    EXPECT_TRUE(UTType::png.conforms(UTType::image));
    EXPECT_TRUE(UTType::png.conforms(UTType::data));
    EXPECT_TRUE(UTType::png.conforms(UTType::png));
    EXPECT_FALSE(UTType::image.conforms(UTType::png));
    EXPECT_TRUE(UTType::fileURL.conforms(UTType::url));
    EXPECT_FALSE(UTType::fileURL.conforms(UTType::folder));
    EXPECT_FALSE(UTType::fileURL.conforms(UTType::image));
    EXPECT_TRUE(UTType::folder.conforms(UTType::directory));
    EXPECT_TRUE(UTType::swiftSource.conforms(UTType::plainText));
    EXPECT_TRUE(UTType::appleLog.conforms(UTType::plainText));
    EXPECT_TRUE(UTType::commaSeparatedText.conforms(UTType::text));
    EXPECT_FALSE(UTType::commaSeparatedText.conforms(UTType::plainText));
    EXPECT_TRUE(UTType::video.conforms(UTType::movie));
    EXPECT_FALSE(UTType::mpeg4Movie.conforms(UTType::video));
    EXPECT_TRUE(UTType::mp3.conforms(UTType::audio));
    EXPECT_FALSE(UTType::mp3.conforms(UTType::movie));
    const UTType unknown(QStringLiteral("com.example.thing"));
    EXPECT_TRUE(unknown.conforms(unknown));
    EXPECT_FALSE(unknown.conforms(UTType::item));
}

TEST(UTTypeMime, KnownTypesRoundTripThroughTheirMimeType) {
    for (const UTType& type :
         {UTType::png, UTType::jpeg, UTType::pdf, UTType::plainText, UTType::folder,
          UTType::mpeg4Movie, UTType::commaSeparatedText, UTType::mkv, UTType::swiftSource}) {
        ASSERT_FALSE(type.preferredMimeType().isEmpty()) << type.identifier().toStdString();
        EXPECT_EQ(UTType::fromMimeType(type.preferredMimeType()), type)
            << type.identifier().toStdString();
    }
    EXPECT_EQ(UTType::fromMimeType(QStringLiteral("IMAGE/PNG")), UTType::png);
}

TEST(UTTypeMime, UnknownTypesFallBackOnTheirFamily) {
    EXPECT_EQ(UTType::fromMimeType(QStringLiteral("image/x-made-up")), UTType::image);
    EXPECT_EQ(UTType::fromMimeType(QStringLiteral("audio/x-made-up")), UTType::audio);
    EXPECT_EQ(UTType::fromMimeType(QStringLiteral("video/x-made-up")), UTType::movie);
    EXPECT_EQ(UTType::fromMimeType(QStringLiteral("text/x-made-up")), UTType::text);
    EXPECT_EQ(UTType::fromMimeType(QStringLiteral("application/x-made-up")), UTType::data);
    EXPECT_EQ(UTType::fromMimeType(QString()), UTType::data);
}
