// Zoomed dots and rectangles on an IMAGEDATA view.
#include "SetIDPixel.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

void TSetIDPixel::Set(int x, int y, int dotColour) const {
    if (view.data == nullptr || zoom < 1 || (view.type != idtGray8 && view.type != idtBgr24)) {
        return;
    }
    const int64_t left = (int64_t(x) + offsetX) * zoom;
    const int64_t top = (int64_t(y) + offsetY) * zoom;
    if (left < 0 || top < 0 || left >= view.width || top >= view.height) {
        return;
    }
    const int value = dotColour == -1 ? colour : dotColour;
    const int64_t right = std::min<int64_t>(left + zoom, view.width);
    const int64_t bottom = std::min<int64_t>(top + zoom, view.height);
    for (int64_t row = top; row < bottom; ++row) {
        for (int64_t column = left; column < right; ++column) {
            uint8_t* pixel = ImagePixel(view, int(column), int(row));
            if (view.type == idtGray8) {
                pixel[0] = uint8_t(value);
            } else {
                pixel[0] = uint8_t(value >> 16);
                pixel[1] = uint8_t(value >> 8);
                pixel[2] = uint8_t(value);
            }
        }
    }
}

bool TSetIDPixel::ReachableDots(int64_t& left, int64_t& top, int64_t& right, int64_t& bottom) const {
    if (view.data == nullptr || zoom < 1 || view.width <= 0 || view.height <= 0) {
        return false;
    }
    left = -int64_t(offsetX);
    top = -int64_t(offsetY);
    right = (int64_t(view.width) + zoom - 1) / zoom - 1 - offsetX;
    bottom = (int64_t(view.height) + zoom - 1) / zoom - 1 - offsetY;
    return true;
}

void TSetIDPixel::FillRect(int x1, int y1, int x2, int y2) const {
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    int64_t left, top, right, bottom;
    if (!ReachableDots(left, top, right, bottom)) {
        return;
    }
    for (int64_t y = std::max<int64_t>(y1, top); y <= std::min<int64_t>(y2, bottom); ++y) {
        FillSpan(x1, x2, int(y));
    }
}

void TSetIDPixel::FillSpan(int x1, int x2, int y) const {
    int64_t left, top, right, bottom;
    if (x1 > x2 || !ReachableDots(left, top, right, bottom) || y < top || y > bottom) {
        return;
    }
    const int64_t from = std::max<int64_t>(x1, left), to = std::min<int64_t>(x2, right);
    if (zoom != 1 || (view.type != idtGray8 && view.type != idtBgr24)) {
        for (int64_t x = from; x <= to; ++x) {
            Set(int(x), y, -1);
        }
        return;
    }
    // One pixel per dot: write the row directly.
    uint8_t* pixel = ImagePixel(view, int(from + offsetX), int(int64_t(y) + offsetY));
    const uint8_t blue = uint8_t(colour >> 16), green = uint8_t(colour >> 8), red = uint8_t(colour);
    if (view.type == idtGray8) {
        for (int64_t x = from; x <= to; ++x, pixel += view.pixelStep) pixel[0] = red;
    } else if (view.pixelStep == 4) {
        // Over 32-bit pixels a word at a time, its fourth byte kept.
        const uint32_t bytes = uint32_t(blue) | uint32_t(green) << 8 | uint32_t(red) << 16;
        for (int64_t x = from; x <= to; ++x, pixel += 4) {
            uint32_t word;
            std::memcpy(&word, pixel, 4);
            word = (word & 0xFF000000u) | bytes;
            std::memcpy(pixel, &word, 4);
        }
    } else {
        for (int64_t x = from; x <= to; ++x, pixel += view.pixelStep) {
            pixel[0] = blue;
            pixel[1] = green;
            pixel[2] = red;
        }
    }
}

void FillIDRect(const TSetIDPixel& setter, int x1, int y1, int x2, int y2) { setter.FillRect(x1, y1, x2, y2); }
