// Tests of clearing the scan converter's spurs beside one-pixel strokes.
#include "GlyphSpurs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// One character a dot: '.' clear and uncovered, ':' clear and a little under
// half covered, 'o' set and nearly half covered, '+' set and more than half,
// '#' set and fully covered.
GlyphRaster RasterOf(const std::vector<std::string>& rows) {
    GlyphRaster raster;
    raster.height = int(rows.size());
    raster.width = int(rows[0].size());
    for (const std::string& row : rows) {
        for (char dot : row) {
            raster.dots.push_back(dot == 'o' || dot == '+' || dot == '#');
            raster.coverage.push_back(dot == ':' ? 100 : dot == 'o' ? 120 : dot == '+' ? 165 : dot == '#' ? 255 : 0);
        }
    }
    return raster;
}

// The rows again, with every dot still set shown as '#'.
std::vector<std::string> DotsOf(const GlyphRaster& raster) {
    std::vector<std::string> rows;
    for (int y = 0; y < raster.height; ++y) {
        std::string row;
        for (int x = 0; x < raster.width; ++x) row += raster.dots[size_t(y) * raster.width + x] ? '#' : '.';
        rows.push_back(row);
    }
    return rows;
}

struct SpurCase {
    const char* what;
    std::vector<std::string> rendered;
    std::vector<std::string> cleared;
};

TEST(GlyphSpurs, ClearsOnlyDotsThatDoubleAOnePixelStrokeBriefly) {
    const SpurCase cases[] = {
        {"the round sides of a small zero",
         {"..###..", ".#...#.", ":+...+:", "o+...+o", "o+...+o", ":+...+:", ".#...#.", "..###.."},
         {"..###..", ".#...#.", ".#...#.", ".#...#.", ".#...#.", ".#...#.", ".#...#.", "..###.."}},
        {"a stroke wider than a pixel keeps its corner dots",
         {"..###..", ".#...#.", ":#...#:", "o#...#o", "o#...#o", ":#...#:", ".#...#.", "..###.."},
         {"..###..", ".#...#.", ".#...#.", "##...##", "##...##", ".#...#.", ".#...#.", "..###.."}},
        {"a stub at the end of a bar",
         {"..o..", "+++++", "....."},
         {"..#..", "#####", "....."}},
        {"a stem the hinter drew two dots wide",
         {"o+", "o+", "o+", "o+", "o+"},
         {"##", "##", "##", "##", "##"}},
        {"a dot that alone joins another to the glyph",
         {"#.+.", ".o+.", ".:+."},
         {"#.#.", ".##.", "..#."}},
    };
    for (const SpurCase& spurCase : cases) {
        GlyphRaster raster = RasterOf(spurCase.rendered);
        ClearStrokeSpurs(raster);
        EXPECT_EQ(DotsOf(raster), spurCase.cleared) << spurCase.what;
    }
}

TEST(GlyphSpurs, LeavesARasterOfTheWrongSizeAlone) {
    GlyphRaster raster = RasterOf({"o+", "o+"});
    raster.coverage.pop_back();
    ClearStrokeSpurs(raster);
    EXPECT_EQ(raster.dots, std::vector<uint8_t>(4, 1));
}

}  // namespace
