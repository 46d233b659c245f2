// TSetIDPixel: sets zoomed dots on an IMAGEDATA view, the one place every
// line, polygon, circle and glyph dot goes through.
#pragma once

#include "ImageData.h"

#include <cstdint>

// Colours are 0x00BBGGRR; -1 stands for the setter's own colour.
struct TSetIDPixel {
    IMAGEDATA view;
    int colour = 0;
    int zoom = 1;
    int offsetX = 0;
    int offsetY = 0;

    TSetIDPixel() = default;
    TSetIDPixel(const IMAGEDATA& view, int colour, int zoom, int offsetX, int offsetY)
        : view(view), colour(colour), zoom(zoom), offsetX(offsetX), offsetY(offsetY) {}

    // Sets the zoom x zoom block at ((x + offsetX) * zoom, (y + offsetY) * zoom).
    // Nothing when that corner lies outside the view; the block is clipped to
    // it. Type 0 takes the colour's low byte, type 2 blue, green, red; other
    // types are left unchanged.
    void Set(int x, int y, int colour) const;
    // Every dot of the rectangle, corners in either order, both ends included,
    // in the setter's colour.
    void FillRect(int x1, int y1, int x2, int y2) const;
    // Every dot (x, y) with x1 <= x <= x2 (nothing when x1 > x2), in the
    // setter's colour; the same pixels as Set on each, written row-wise.
    void FillSpan(int x1, int x2, int y) const;

    // The dot coordinates (before offset and zoom) whose block can touch the
    // view; false when none can.
    bool ReachableDots(int64_t& left, int64_t& top, int64_t& right, int64_t& bottom) const;

    // The evaluator's name for Set.
    void SetPixel(int x, int y, int colour) const { Set(x, y, colour); }
};

// The evaluator's name for TSetIDPixel::FillRect.
void FillIDRect(const TSetIDPixel& setter, int x1, int y1, int x2, int y2);
