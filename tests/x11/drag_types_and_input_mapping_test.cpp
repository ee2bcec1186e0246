// The pure parts of the X11 layer: which offered drag types the shelf can read, and how
// physical buttons and key codes map to what the drag monitor expects.
#include "backend/x11/drag_types.h"
#include "backend/x11/input_mapping.h"

#include <gtest/gtest.h>

#include <optional>

using backend::DragContent;
using namespace backend::x11;

namespace {

struct TypeCase {
    const char* type;
    std::optional<DragContent> expected;
};

class DragTypeTest : public testing::TestWithParam<TypeCase> {};

TEST_P(DragTypeTest, classifiesOfferedType) {
    EXPECT_EQ(classOfDragType(GetParam().type), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Types, DragTypeTest,
    testing::Values(
        TypeCase{"image/png", DragContent::Image}, TypeCase{"image/svg+xml", DragContent::Image},
        TypeCase{"application/x-qt-image", DragContent::Image},
        TypeCase{"application/x-color", DragContent::Color},
        TypeCase{"text/plain", DragContent::Text},
        TypeCase{"text/plain;charset=utf-8", DragContent::Text},
        TypeCase{"UTF8_STRING", DragContent::Text}, TypeCase{"STRING", DragContent::Text},
        TypeCase{"TEXT", DragContent::Text}, TypeCase{"text/uri-list", DragContent::Url},
        TypeCase{"text/x-moz-url", DragContent::Url}, TypeCase{"_NETSCAPE_URL", DragContent::Url},
        TypeCase{"text/plainx", std::nullopt}, TypeCase{"text/html", std::nullopt},
        TypeCase{"TARGETS", std::nullopt}, TypeCase{"image", std::nullopt},
        TypeCase{"application/x-holdfin-opaque", std::nullopt}, TypeCase{"", std::nullopt}));

TEST(DragTypesTest, readableOnlyWhenAnOfferedTypeIsOfAnAskedClass) {
    const std::vector<std::string> files = {"text/uri-list", "x-special/gnome-copied-files"};
    EXPECT_TRUE(canReadAny(files, {DragContent::Image, DragContent::Url}));
    EXPECT_FALSE(canReadAny(files, {DragContent::Image, DragContent::Color}));
    EXPECT_FALSE(canReadAny({}, {DragContent::Text}));
    EXPECT_FALSE(canReadAny({"application/octet-stream"}, {DragContent::Image, DragContent::Color,
                                                           DragContent::Text, DragContent::Url}));
}

TEST(DragTypesTest, probesCheapTypesBeforeAnEncodedImage) {
    const auto& types = probeTypes();
    ASSERT_FALSE(types.empty());
    EXPECT_TRUE(classOfDragType(types.back()) == DragContent::Image);
    for (std::size_t i = 0; i + 1 < types.size(); ++i)
        EXPECT_NE(classOfDragType(types[i]), DragContent::Image) << types[i];
}

struct ButtonCase {
    std::vector<std::uint8_t> mapping;
    std::uint32_t physical;
    std::uint8_t logical;
};

class ButtonMappingTest : public testing::TestWithParam<ButtonCase> {};

TEST_P(ButtonMappingTest, mapsPhysicalToLogical) {
    EXPECT_EQ(logicalButton(GetParam().mapping, GetParam().physical), GetParam().logical);
}

INSTANTIATE_TEST_SUITE_P(
    Mappings, ButtonMappingTest,
    testing::Values(ButtonCase{{1, 2, 3, 4, 5}, 1, 1}, // right-handed
                    ButtonCase{{3, 2, 1, 4, 5}, 3, 1}, // left-handed: right button is left
                    ButtonCase{{3, 2, 1, 4, 5}, 1, 3},
                    ButtonCase{{1, 2, 3}, 8, 8}, // outside the mapping: unchanged
                    ButtonCase{{}, 1, 1},        // mapping unknown
                    ButtonCase{{0, 2, 3}, 1, 0}, // a disabled button
                    ButtonCase{{1, 2, 3}, 0, 0}));

TEST(KeymapTest, findsEveryKeycodeWhoseFirstKeysymIsEscape) {
    constexpr std::uint32_t escape = 0xff1b, a = 0x61, shiftedA = 0x41;
    // Key codes 8..11, two keysyms each; Escape on 9 and 11, and as a second keysym on 10.
    const std::vector<std::uint32_t> table = {a, shiftedA, escape, 0, a, escape, escape, 0};
    EXPECT_EQ(keycodesWithKeysym(8, 2, table, escape), (std::vector<std::uint8_t>{9, 11}));
    EXPECT_TRUE(keycodesWithKeysym(8, 2, table, 0x62).empty());
    EXPECT_TRUE(keycodesWithKeysym(8, 0, table, escape).empty());
}

} // namespace
