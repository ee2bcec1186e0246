#include "views/color_from_hex.h"

#include <gtest/gtest.h>

namespace {

struct HexCase {
    const char* input;
    int red, green, blue, alpha;
};

class ColorFromHexTest : public ::testing::TestWithParam<HexCase> {};

TEST_P(ColorFromHexTest, GivesTheChannelsOfTheDigits) {
    const HexCase& c = GetParam();
    const QColor color = views::colorFromHex(QString::fromUtf8(c.input));
    EXPECT_EQ(color.red(), c.red);
    EXPECT_EQ(color.green(), c.green);
    EXPECT_EQ(color.blue(), c.blue);
    EXPECT_EQ(color.alpha(), c.alpha);
    EXPECT_EQ(color.spec(), QColor::Rgb);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, ColorFromHexTest,
    ::testing::Values(HexCase{"#DEDEDE", 222, 222, 222, 255}, HexCase{"abc", 170, 187, 204, 255},
                      HexCase{"80FF0000", 255, 0, 0, 128}, HexCase{"#12345", 0, 0, 0, 255},
                      HexCase{"", 0, 0, 0, 255}, HexCase{"  #5F5F5F  ", 95, 95, 95, 255},
                      // Only the ends are trimmed, and scanning stops at the first non-digit.
                      HexCase{"#12-456", 0, 0, 18, 255}, HexCase{"(#fff)", 255, 255, 255, 255},
                      // An 0x prefix is read but counts towards the length.
                      HexCase{"0xABCD", 0, 171, 205, 255}, HexCase{"0x8", 0, 0, 136, 255},
                      // Nothing scannable: every channel from 0.
                      HexCase{"zzzzzz", 0, 0, 0, 255}, HexCase{"zzzzzzzz", 0, 0, 0, 0},
                      // Trimming goes by letters and digits in the Unicode sense.
                      HexCase{"\xC2\xBB"
                              "a1b2c3"
                              "\xC2\xAB",
                              161, 178, 195, 255},
                      HexCase{"\xC3\xA9"
                              "abc",
                              0, 0, 0, 255},
                      // Far too many digits: opaque black, no overflow.
                      HexCase{"FFFFFFFFFFFFFFFFFFFFFFFF", 0, 0, 0, 255}));

} // namespace
