#include "shelf/bucket_item.h"

#include <gtest/gtest.h>

#include <QSet>

using shelf::BucketItem;
using shelf::BucketItemData;
using shelf::UTType;

TEST(BucketItemIdentity, FreshIdsAndCopies) {
    const BucketItemData a(QStringLiteral("hello"), UTType::plainText);
    const BucketItemData b(QStringLiteral("hello"), UTType::plainText);
    EXPECT_NE(a, b) << "same content and type, different construction";
    EXPECT_EQ(a.id.version(), QUuid::Random);
    const BucketItemData copy = a;
    EXPECT_EQ(copy, a);
    EXPECT_EQ(qHash(copy), qHash(a));

    const BucketItem one({a}, false);
    const BucketItem two({a}, false);
    EXPECT_NE(one, two);
    EXPECT_NE(one.id, two.id);
}

TEST(BucketItemIdentity, LockFlipBreaksEqualityAndHash) {
    const BucketItem entry({BucketItemData(QStringLiteral("file:///a"), UTType::fileURL)}, false);
    BucketItem copy = entry;
    EXPECT_EQ(copy, entry);
    EXPECT_EQ(qHash(copy), qHash(entry));
    copy.isLocked = true;
    EXPECT_NE(copy, entry);
    EXPECT_NE(qHash(copy), qHash(entry));
}

TEST(BucketItemIdentity, EqualityTakesEveryField) {
    const BucketItemData payload(QStringLiteral("file:///a"), UTType::fileURL);
    BucketItem entry({payload}, false);
    BucketItem other = entry;
    other.items.append(BucketItemData(QStringLiteral("x"), UTType::plainText));
    EXPECT_NE(entry, other) << "different payload count";

    BucketItemData changedType = payload;
    changedType.type = UTType::image;
    EXPECT_NE(changedType, payload);
    EXPECT_NE(qHash(changedType), qHash(payload));
}

TEST(BucketItemIdentity, ContentComparesByCanonicalEquivalence) {
    BucketItemData composed(QStringLiteral("caf\u00e9"), UTType::plainText);
    BucketItemData decomposed = composed;
    decomposed.content = QStringLiteral("cafe\u0301");
    EXPECT_EQ(composed, decomposed);
    EXPECT_EQ(qHash(composed), qHash(decomposed)) << "hash must agree with equality";

    QSet<BucketItemData> set{composed};
    EXPECT_TRUE(set.contains(decomposed));
}

struct DisplayCase {
    const char* name;
    QString content;
    UTType type;
    QString expected;
};

class DisplayName : public ::testing::TestWithParam<DisplayCase> {};

TEST_P(DisplayName, MatchesRule) {
    const auto& c = GetParam();
    EXPECT_EQ(BucketItemData(c.content, c.type).displayName(), c.expected) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DisplayName,
    ::testing::Values(
        DisplayCase{"text trimmed", QStringLiteral("  hello world \n"), UTType::plainText,
                    QStringLiteral("hello world")},
        DisplayCase{"text only whitespace", QStringLiteral(" \t\r\n\u2028\u00a0"),
                    UTType::plainText, QString()},
        DisplayCase{"text inner newlines kept", QStringLiteral("\na\nb\n"), UTType::plainText,
                    QStringLiteral("a\nb")},
        DisplayCase{"subtype of text trims too", QStringLiteral(" x.swift "), UTType::swiftSource,
                    QStringLiteral("x.swift")},
        DisplayCase{"percent-encoded file", QStringLiteral("file:///Users/demo/My%20File.txt"),
                    UTType::fileURL, QStringLiteral("My File.txt")},
        DisplayCase{"folder trailing slash", QStringLiteral("file:///Users/demo/Projects/"),
                    UTType::folder, QStringLiteral("Projects")},
        DisplayCase{"query dropped", QStringLiteral("https://example.com/photo.png?size=2"),
                    UTType::image, QStringLiteral("photo.png")},
        DisplayCase{"no slash", QStringLiteral("report.pdf"), UTType::fileURL,
                    QStringLiteral("report.pdf")},
        DisplayCase{"unparsable component unchanged", QStringLiteral("file:///tmp/100%.txt"),
                    UTType::fileURL, QStringLiteral("100%.txt")},
        DisplayCase{"encoded percent sign", QStringLiteral("file:///tmp/50%25%20off.txt"),
                    UTType::fileURL, QStringLiteral("50% off.txt")},
        DisplayCase{"encoded newline", QStringLiteral("file:///tmp/a%0Ab.txt"), UTType::fileURL,
                    QStringLiteral("a\nb.txt")},
        DisplayCase{"non-UTF-8 bytes stay encoded", QStringLiteral("file:///tmp/caf%E9.txt"),
                    UTType::fileURL, QStringLiteral("caf%E9.txt")},
        DisplayCase{"UTF-8 bytes decoded", QStringLiteral("file:///tmp/caf%C3%A9.txt"),
                    UTType::fileURL, QStringLiteral("caf\u00e9.txt")}),
    [](const auto& info) {
        QString name = QString::fromLatin1(info.param.name);
        name.replace(QLatin1Char(' '), QLatin1Char('_')).remove(QLatin1Char('-'));
        return name.toStdString();
    });

TEST(IconName, ByConformanceInTableOrder) {
    const std::pair<UTType, const char*> cases[] = {
        {UTType::folder, "folder.fill"},
        {UTType::image, "doc.fill"},
        {UTType::png, "doc.fill"},
        {UTType::svg, "doc.fill"}, // an image that is also text-like still takes the image row
        {UTType::plainText, "doc.text.fill"},
        {UTType::appleLog, "doc.text.fill"},
        {UTType::fileURL, "doc.fill"},
        {UTType::mp3, "waveform"},
        {UTType::video, "film.fill"},
        {UTType::pdf, "doc.richtext.fill"},
        {UTType(QStringLiteral("com.example.unknown")), "doc.fill"},
        {UTType(), "doc.fill"},
    };
    for (const auto& [type, expected] : cases) {
        EXPECT_EQ(BucketItemData(QStringLiteral("x"), type).iconName(), QLatin1String(expected))
            << type.identifier().toStdString();
    }
}
