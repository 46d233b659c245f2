// Clearing the spurs the monochrome scan converter leaves beside one-pixel strokes.
#pragma once

#include <cstdint>
#include <vector>

// A glyph on its cell's dot grid, rendered twice from one hinted outline: the
// dots the monochrome scan converter set, and how much of each dot (0-255)
// the outline covers.
struct GlyphRaster {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> dots;      // width x height, row by row; non-zero = set
    std::vector<uint8_t> coverage;  // width x height, row by row
};

// Where a hinted edge passes within a hair of the dots' centres, as the round
// sides of a small "0" do, the scan converter sets two dots across a stroke
// one pixel wide, and the stroke grows a spur for a row or two. This clears
// each such dot: set though less than half covered (but nearly half), the
// stroke's own dot beside it more than half covered, the two together the
// whole width of a stroke under 1.25 pixels that runs on past them, the
// outline's edge running lengthwise through it, the doubling at most two dots
// long, and the glyph no less joined without it. Dots outside the grid count
// as clear; a raster whose vectors do not hold width x height dots is left
// as it is.
void ClearStrokeSpurs(GlyphRaster& raster);
