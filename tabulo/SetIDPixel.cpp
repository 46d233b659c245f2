// Zoomed dots and rectangles on an IMAGEDATA view.
#include "SetIDPixel.h"

#include <algorithm>
#include <cstdint>

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
        for (int64_t x = std::max<int64_t>(x1, left); x <= std::min<int64_t>(x2, right); ++x) {
            Set(int(x), int(y), -1);
        }
    }
}

void FillIDRect(const TSetIDPixel& setter, int x1, int y1, int x2, int y2) { setter.FillRect(x1, y1, x2, y2); }
