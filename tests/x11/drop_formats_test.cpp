// How a drop read by the backend names and converts what the source offers: as Qt's own drop
// data would, so that an entry comes out the same whichever of the two read it.
#include "backend/x11/drop_formats.h"

#include <gtest/gtest.h>

#include <QString>

using namespace backend::x11;

namespace {

using Names = std::vector<std::string>;

TEST(DropFormats, NamesTargetsAsQtDoes) {
    EXPECT_EQ(dropFormats({"UTF8_STRING", "STRING", "TEXT", "text/plain;charset=utf-8"}),
              (Names{"text/plain", "text/plain;charset=utf-8"}));
    EXPECT_EQ(dropFormats({"text/x-moz-url", "text/uri-list"}), Names{"text/uri-list"});
    EXPECT_EQ(dropFormats({"image/png", "text/html"}),
              (Names{"image/png", "text/html", "application/x-qt-image"}));
    EXPECT_EQ(dropFormats({"application/x-qt-image", "image/png"}),
              (Names{"application/x-qt-image", "image/png"}));
    EXPECT_EQ(dropFormats({"application/octet-stream", "XdndDirectSave0"}),
              (Names{"application/octet-stream", "XdndDirectSave0"}))
        << "nothing that decodes as an image";
    EXPECT_EQ(dropFormats({}), Names{});
}

struct TargetCase {
    const char* name;
    std::string format;
    Names offered;
    Names expected;
};

class DropTargets : public testing::TestWithParam<TargetCase> {};

TEST_P(DropTargets, AsksForWhatQtWouldAskFor) {
    EXPECT_EQ(dropTargets(GetParam().format, GetParam().offered), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, DropTargets,
    testing::Values(
        TargetCase{"TextPrefersUtf8String",
                   "text/plain",
                   {"text/plain", "STRING", "UTF8_STRING"},
                   {"UTF8_STRING"}},
        TargetCase{"TextFromLatin1", "text/plain", {"TEXT", "STRING"}, {"STRING"}},
        TargetCase{"TextByItsOwnName", "text/plain", {"text/plain"}, {"text/plain"}},
        TargetCase{"CharsetTextExactly",
                   "text/plain;charset=utf-8",
                   {"UTF8_STRING", "text/plain;charset=utf-8"},
                   {"text/plain;charset=utf-8"}},
        TargetCase{"UriListBeforeMozUrl",
                   "text/uri-list",
                   {"text/x-moz-url", "text/uri-list"},
                   {"text/uri-list"}},
        TargetCase{"MozUrlForAUriList", "text/uri-list", {"text/x-moz-url"}, {"text/x-moz-url"}},
        TargetCase{"ImageOfAnyDecodableTypePngFirst",
                   "application/x-qt-image",
                   {"image/bmp", "image/png", "text/plain"},
                   {"image/png", "image/bmp"}},
        TargetCase{"NotOffered", "image/png", {"image/gif"}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

struct DataCase {
    const char* name;
    std::string format;
    std::string target;
    QByteArray data;
    QByteArray expected;
};

class DropData : public testing::TestWithParam<DataCase> {};

TEST_P(DropData, ConvertsAsQtDoes) {
    EXPECT_EQ(dropData(GetParam().format, GetParam().target, GetParam().data), GetParam().expected);
}

QByteArray utf16(const QString& text) {
    return {reinterpret_cast<const char*>(text.utf16()), text.size() * 2};
}

INSTANTIATE_TEST_SUITE_P(
    Answers, DropData,
    testing::Values(
        DataCase{"Utf8StringStaysUtf8", "text/plain", "UTF8_STRING", "caf\xc3\xa9", "caf\xc3\xa9"},
        DataCase{"Latin1BecomesUtf8", "text/plain", "STRING", "caf\xe9", "caf\xc3\xa9"},
        DataCase{"TrailingNulGoes", "text/plain", "UTF8_STRING", QByteArray("hi\0", 3), "hi"},
        DataCase{"InvalidUtf8IsReplaced", "text/plain", "UTF8_STRING", "a\xff", "a\xef\xbf\xbd"},
        DataCase{"MozUrlGivesItsFirstUrl", "text/uri-list", "text/x-moz-url",
                 utf16("https://example.org/a b\nExample"), "https://example.org/a%20b\r\n"},
        DataCase{"Utf16UriListGivesEveryUrl", "text/uri-list", "text/uri-list",
                 utf16("file:///a\r\nfile:///b\r\n"), "file:///a\r\nfile:///b\r\n"},
        DataCase{"AsciiUriListAsItCame", "text/uri-list", "text/uri-list",
                 "file:///a%FF\r\n# note\r\n", "file:///a%FF\r\n# note\r\n"},
        DataCase{"ImageAsItCame", "application/x-qt-image", "image/png", "\x89PNG", "\x89PNG"},
        DataCase{"OtherTypesAsTheyCame", "image/png", "image/png", "\x89PNG", "\x89PNG"},
        DataCase{"NoConversionNoData", "image/png", "image/gif", "GIF89a", ""}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
