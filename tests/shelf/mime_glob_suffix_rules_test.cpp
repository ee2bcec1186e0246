#include "shelf/file_type_resolver.h"
#include "shelf/mime_glob_suffix_rules.h"

#include "support/qt_printers.h"

#include <gtest/gtest.h>

#include <QUrl>

using shelf::FileTypeResolver;
using shelf::MimeGlobSuffixRules;

namespace {

const QStringList kGlobs = {
    "# comment",
    "50:video/mp4:*.mp4",
    "50:application/x-compressed-tar:*.tar.gz",
    "50:application/x-sharedlib:*.so.[0-9]*",
    "10:text/x-readme:readme*",
    "10:text/x-makefile:makefile.*",
    "50:text/x-makefile:makefile",
    "50:text/x-cmake:cmakelists.txt",
    "50:application/x-core:core:cs",
    "50:video/x-anim:[0-9][0-9][0-9].vdr",
    "50:application/x-trash:*~",
    "50:text/x-rcs:*,v",
};

struct SuffixCase {
    const char* name;
    QString fileName;
    QString suffix; // null: the stem may matter
};

void PrintTo(const SuffixCase& c, std::ostream* os) {
    *os << c.name;
}

class DecidingSuffixTest : public ::testing::TestWithParam<SuffixCase> {};

TEST_P(DecidingSuffixTest, SuffixDecidesOnlyWhereNoPatternLooksAtTheStem) {
    const MimeGlobSuffixRules rules(kGlobs);
    const QString suffix = rules.decidingSuffix(GetParam().fileName);
    EXPECT_EQ(suffix, GetParam().suffix);
    EXPECT_EQ(suffix.isNull(), GetParam().suffix.isNull());
}

INSTANTIATE_TEST_SUITE_P(
    Names, DecidingSuffixTest,
    ::testing::Values(SuffixCase{"Plain", "clip 1.mp4", "mp4"},
                      SuffixCase{"SeveralDots", "backup.2024.tar.gz", "2024.tar.gz"},
                      SuffixCase{"CaseKept", "CLIP.MP4", "MP4"},
                      SuffixCase{"NoDot", "notes", QString()},
                      SuffixCase{"PrefixPattern", "README.md", QString()},
                      SuffixCase{"PrefixPatternOtherCase", "ReadMe.txt", QString()},
                      SuffixCase{"PrefixWithDot", "Makefile.am", QString()},
                      SuffixCase{"LiteralName", "CMakeLists.txt", QString()},
                      SuffixCase{"CaseSensitiveLiteralOtherCase", "Core.txt", "txt"},
                      SuffixCase{"WildcardStart", "123.vdr", QString()},
                      SuffixCase{"WildcardStartOtherLength", "1234.vdr", "vdr"},
                      SuffixCase{"TailWithinSuffix", "draft.txt~", "txt~"},
                      SuffixCase{"TwoCharacterTail", "a.c,v", "c,v"},
                      SuffixCase{"TailLongerThanSuffix", "a,b.v", QString()},
                      SuffixCase{"EmptySuffix", "trailing.", QString()}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MimeGlobSuffixRules, NamesWithoutADotMatchNoPatternOnlyWhenNoneCanApply) {
    const MimeGlobSuffixRules rules(kGlobs);
    for (const char* name : {"notes", "f100", "Core", "makefiles2"})
        EXPECT_TRUE(rules.matchesNoPattern(name)) << name;
    for (const char* name :
         {"readme", "README2", "Makefile", "core", "old~", "file,v", "FILE,V", "clip.mp4", ""})
        EXPECT_FALSE(rules.matchesNoPattern(name)) << name;
    // Tails that are not plain text, or no globs at all: no name is known to match nothing.
    EXPECT_FALSE(MimeGlobSuffixRules(QStringList{"50:text/x-a:*[0-9]"}).matchesNoPattern("notes"));
    EXPECT_FALSE(MimeGlobSuffixRules(QStringList{}).matchesNoPattern("notes"));
}

TEST(MimeGlobSuffixRules, WithoutGlobsNothingIsSuffixDecided) {
    EXPECT_TRUE(MimeGlobSuffixRules(QStringList{}).decidingSuffix("clip.mp4").isNull());
}

TEST(MimeGlobSuffixRules, TailThatCouldReachTheStemDisablesSuffixes) {
    const MimeGlobSuffixRules rules(QStringList{"50:text/x-a:*.mp4", "50:text/x-b:*-notes.txt"});
    EXPECT_TRUE(rules.decidingSuffix("my-notes.txt").isNull());
    EXPECT_TRUE(rules.decidingSuffix("clip.mp4").isNull());
}

// The remembered answer must be the one the database gives each name on its own.
TEST(FileTypeResolver, RememberedSuffixesGiveTheDatabasesAnswer) {
    const QStringList names = {"a.md",      "README.md",     "notes.md",    "x.c",
                               "core.c",    "Makefile.am",   "b.am",        "123.vdr",
                               "456.vdr",   "abc.vdr",       "draft.txt~",  "plan.txt~",
                               "a.tar.gz",  "backup.tar.gz", "c.TXT",       "CMakeLists.txt",
                               "other.txt", "libfoo.so.1",   "libbar.so.1", "clip.ts",
                               "notes",     "Makefile",      "f100",        "README",
                               "core",      "COPYING",       "backup~",     "file,v"};
    FileTypeResolver shared;
    for (const QString& name : names) {
        const QByteArray uri = "file:///d/" + QUrl::toPercentEncoding(name);
        FileTypeResolver fresh;
        EXPECT_EQ(shared.typesForFileUri(uri)->identifiers(),
                  fresh.typesForFileUri(uri)->identifiers())
            << name.toStdString();
    }
}

} // namespace
