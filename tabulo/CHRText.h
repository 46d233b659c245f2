// Measuring and drawing text with a bitmap character table.
#pragma once

#include "CHRTable.h"
#include "SetIDPixel.h"

#include <cstdint>

// Flags of DrawCHRText.
enum TCHRTextFlag : int {
    chrUnderline = 0x01,    // every dot of the last glyph row
    chrStrikeOut = 0x02,    // every dot of row height / 2
    chrSlantRight = 0x04,   // rows above height / 2 one dot to the right
    chrSlantLeft = 0x08,    // rows above height / 2 one dot to the left
    chrBold = 0x10,         // each drawn dot again one dot to its right
    chrInverse = 0x20,      // the dots that would not be drawn, and not the others
};

// Rotations of DrawCHRText: 0 upright, 1 a quarter anticlockwise (reading
// upwards), 2 upside down, 3 a quarter clockwise. Other values draw nothing.
enum TCHRRotation : uint8_t { chrRotate0 = 0, chrRotate90 = 1, chrRotate180 = 2, chrRotate270 = 3 };

// Sum of the widths of the text's bytes, glyph or not; 0 for empty or null text.
int GetCHRTextWidth(const TCHRTable& table, const char* text);

// Draws text with its first glyph's top-left at (x, y), glyphs abutting, each
// glyph dot a scaleX x scaleY block, the whole turned by rotation and then by
// angle (radians) about (x, y). Dots go through the setter in its colour;
// characters without glyph draw nothing but advance. Null text, scales
// outside 1-4096 or an angle that is not finite draw nothing.
void DrawCHRText(const TCHRTable& table, int x, int y, const char* text, const TSetIDPixel& setter,
                 uint8_t rotation, int flags, int scaleX, int scaleY, double angle);
