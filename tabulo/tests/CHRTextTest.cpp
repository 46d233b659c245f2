// Tests of text measuring and drawing with character tables.
#include "CHRText.h"

#include "TableFixtures.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// The dots of glyph 'L' of SmallTable: (column, row).
const Dots kLetterL = {{0, 0}, {0, 1}, {0, 2}, {0, 3}, {1, 3}, {2, 3}};

Dots DrawText(const TCHRTable& table, const char* text, uint8_t rotation, int flags, int scaleX = 1, int scaleY = 1,
              double angle = 0) {
    GrayCanvas canvas(30, 30);
    const TSetIDPixel setter(canvas.view, 255, 1, 0, 0);
    DrawCHRText(table, 15, 15, text, setter, rotation, flags, scaleX, scaleY, angle);
    return canvas.SetDots();
}

TEST(CHRText, WidthIsTheSumOfRecordedWidths) {
    const TCHRTable table = SmallTable();
    EXPECT_EQ(GetCHRTextWidth(table, ""), 0);
    EXPECT_EQ(GetCHRTextWidth(table, nullptr), 0);
    EXPECT_EQ(GetCHRTextWidth(table, "LI x"), 3 + 1 + 2 + 5);
    EXPECT_EQ(GetCHRTextWidth(table, "\xFF"), 0);
}

TEST(CHRText, EachRotationSetsExactlyTheGlyphDots) {
    const TCHRTable table = SmallTable();
    struct Case {
        uint8_t rotation;
        int xByColumn, xByRow, yByColumn, yByRow;
    };
    const Case cases[] = {
        {chrRotate0, 1, 0, 0, 1},
        {chrRotate90, 0, 1, -1, 0},
        {chrRotate180, -1, 0, 0, -1},
        {chrRotate270, 0, -1, 1, 0},
    };
    for (const Case& c : cases) {
        Dots expected;
        for (const auto& dot : kLetterL) {
            expected.insert({15 + c.xByColumn * dot.first + c.xByRow * dot.second,
                             15 + c.yByColumn * dot.first + c.yByRow * dot.second});
        }
        EXPECT_EQ(DrawText(table, "L", c.rotation, 0), expected) << int(c.rotation);
    }
    EXPECT_TRUE(DrawText(table, "L", 4, 0).empty());
}

TEST(CHRText, GlyphsAbutAndCharactersWithoutGlyphOnlyAdvance) {
    const TCHRTable table = SmallTable();
    Dots expected = kLetterL;
    for (int row = 0; row < 4; ++row) expected.insert({3 + 5 + row * 0, row});
    Dots shifted;
    for (const auto& dot : expected) shifted.insert({15 + dot.first, 15 + dot.second});
    EXPECT_EQ(DrawText(table, "LxI", chrRotate0, 0), shifted);
}

TEST(CHRText, ScaleMakesEachDotABlock) {
    const TCHRTable table = SmallTable();
    Dots expected;
    for (int row = 0; row < 4; ++row)
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 2; ++x) expected.insert({15 + x, 15 + row * 3 + y});
    EXPECT_EQ(DrawText(table, "I", chrRotate0, 0, 2, 3), expected);
    EXPECT_TRUE(DrawText(table, "I", chrRotate0, 0, 0, 3).empty());
}

TEST(CHRText, FlagsUnderlineStrikeBoldSlantAndInverse) {
    const TCHRTable table = SmallTable();
    auto at = [](std::initializer_list<std::pair<int, int>> dots) {
        Dots result;
        for (const auto& dot : dots) result.insert({15 + dot.first, 15 + dot.second});
        return result;
    };
    // A blank glyph still gets its underline and strike-out rows.
    EXPECT_EQ(DrawText(table, " ", chrRotate0, chrUnderline), at({{0, 3}, {1, 3}}));
    EXPECT_EQ(DrawText(table, " ", chrRotate0, chrStrikeOut), at({{0, 2}, {1, 2}}));
    // A character without glyph draws nothing even underlined.
    EXPECT_TRUE(DrawText(table, "x", chrRotate0, chrUnderline).empty());
    EXPECT_EQ(DrawText(table, "I", chrRotate0, chrBold), at({{0, 0}, {1, 0}, {0, 1}, {1, 1}, {0, 2}, {1, 2}, {0, 3}, {1, 3}}));
    EXPECT_EQ(DrawText(table, "I", chrRotate0, chrSlantRight), at({{1, 0}, {1, 1}, {0, 2}, {0, 3}}));
    EXPECT_EQ(DrawText(table, "I", chrRotate0, chrSlantLeft), at({{-1, 0}, {-1, 1}, {0, 2}, {0, 3}}));
    EXPECT_EQ(DrawText(table, "L", chrRotate0, chrInverse),
              at({{1, 0}, {2, 0}, {1, 1}, {2, 1}, {1, 2}, {2, 2}}));
    // Inverse bold: the dot after a set dot is skipped too.
    EXPECT_EQ(DrawText(table, "L", chrRotate0, chrInverse | chrBold), at({{2, 0}, {2, 1}, {2, 2}}));
}

TEST(CHRText, AngleTurnsDotsAboutTheOrigin) {
    const TCHRTable table = SmallTable();
    const double angle = 0.5;
    const Dots dots = DrawText(table, "I", chrRotate0, 0, 1, 1, angle);
    EXPECT_EQ(dots.count({15, 15}), 1u);
    const double x = -std::sin(angle) * 3, y = std::cos(angle) * 3;
    EXPECT_EQ(dots.count({15 + int(std::trunc(x)), 15 + int(std::trunc(y))}), 1u);
    for (const auto& dot : dots) EXPECT_LE(dot.first, 15);
}

TEST(CHRText, TableWithoutGlyphsDrawsNothing) {
    TCHRTable table;
    table.SetHeight(5);
    table.SetCharWidthOnly('a', 4);
    EXPECT_EQ(GetCHRTextWidth(table, "aa"), 8);
    EXPECT_TRUE(DrawText(table, "aa", chrRotate0, chrUnderline).empty());
}

TEST(CHRText, DotsOutsideTheViewAreDropped) {
    const TCHRTable table = SmallTable();
    GrayCanvas canvas(2, 2);
    const TSetIDPixel setter(canvas.view, 255, 1, 0, 0);
    DrawCHRText(table, 1, 0, "LLLL", setter, chrRotate0, chrBold, 3, 3, 0);
    DrawCHRText(table, -100000, 2000000000, "LLLL", setter, chrRotate90, 0, 50, 50, 1.0);
    EXPECT_EQ(canvas.SetDots(), (Dots{{1, 0}, {1, 1}}));
    // Huge dot blocks are walked only where they can be seen.
    GrayCanvas large(4, 4);
    const TSetIDPixel largeSetter(large.view, 255, 1, 0, 0);
    DrawCHRText(table, 0, 0, "I", largeSetter, chrRotate0, 0, 5000, 5000, 0);
    EXPECT_TRUE(large.SetDots().empty());
    DrawCHRText(table, 0, 0, "I", largeSetter, chrRotate0, 0, 4096, 4096, 0);
    EXPECT_EQ(large.SetDots().size(), 16u);
    GrayCanvas turned(4, 4);
    DrawCHRText(table, 0, 0, "I", TSetIDPixel(turned.view, 255, 1, 0, 0), chrRotate0, 0, 4096, 4096, -0.3);
    EXPECT_FALSE(turned.SetDots().empty());
}

}  // namespace

namespace {

TEST(CHRText, GeneratedGlyphsDrawExactlyTheirBits) {
    if (std::getenv("CHDIR") == nullptr) GTEST_SKIP() << "CHDIR is not set";
    const TCHRTable table("Arial", 10);
    ASSERT_GT(table.GetHeight(), 0);
    GrayCanvas canvas(40, 30);
    DrawCHRText(table, 2, 3, "Ag\x8A", TSetIDPixel(canvas.view, 255, 1, 0, 0), chrRotate0, 0, 1, 1, 0);
    Dots expected;
    int pen = 0;
    for (uint8_t character : {uint8_t('A'), uint8_t('g'), uint8_t(0x8A)}) {
        for (int row = 0; row < table.GetHeight(); ++row)
            for (int column = 0; column < table.GetCharWidth(character); ++column)
                if (table.GlyphDot(character, column, row)) expected.insert({2 + pen + column, 3 + row});
        pen += table.GetCharWidth(character);
    }
    EXPECT_FALSE(expected.empty());
    EXPECT_EQ(canvas.SetDots(), expected);
}

}  // namespace
