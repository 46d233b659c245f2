// Tests of the character tables rendered at build time.
#include "CHRTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

// The dots of one row of a character's glyph.
int DotsInRow(const TCHRTable& table, uint8_t character, int row) {
    int dots = 0;
    for (int column = 0; column < table.GetCharWidth(character); ++column) {
        dots += table.GlyphDot(character, column, row);
    }
    return dots;
}

// Round letters and figures small enough that their sides are one pixel
// wide: every row between the top and the bottom shows just the two sides,
// without the spurs that make a "0" look hooked.
TEST(MakeCharacterTables, RoundGlyphsHaveOnePixelSides) {
    const struct {
        const char* font;
        int size;
        uint8_t character;
    } glyphs[] = {{"Arial", 10, '0'}, {"Arial", 8, 'O'}, {"Arial", 8, 'D'}};
    for (const auto& glyph : glyphs) {
        TCHRTable table;
        ASSERT_TRUE(ReadCHRFile(table, std::string(TOOLS_TEST_CHR_DIR) + "/" + glyph.font + "_" +
                                           std::to_string(glyph.size) + ".chr"));
        int top = table.GetHeight(), bottom = -1;
        for (int row = 0; row < table.GetHeight(); ++row) {
            if (DotsInRow(table, glyph.character, row) == 0) continue;
            top = std::min(top, row);
            bottom = row;
        }
        ASSERT_LT(top + 2, bottom) << glyph.font << " " << glyph.size << " " << glyph.character;
        for (int row = top + 1; row < bottom; ++row) {
            EXPECT_EQ(DotsInRow(table, glyph.character, row), 2)
                << glyph.font << " " << glyph.size << " " << glyph.character << " row " << row;
        }
    }
}

}  // namespace
