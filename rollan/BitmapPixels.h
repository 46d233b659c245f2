// Pixel access to a memory bitmap of any depth it holds, for the
// memory-bitmap scroller's buffer, copies, cuts and pastes: a pixel view at 8
// and 24 bits, the bitmap's own GetPixel and SetPixel at 4 and 16 bits.
#pragma once

#include <cstdint>

#include "ImageData.h"
#include "SelectionShapes.h"

class TMemBitmap;

// What a memory bitmap holds: 65535 pixels each way, 2^28 pixels in all.
inline bool BitmapCanHold(int64_t width, int64_t height) {
    return width >= 1 && height >= 1 && width <= 65535 && height <= 65535 && width * height <= (int64_t(1) << 28);
}

// Locks the bitmap for its lifetime. Values are those of TMemBitmap's
// GetPixel and SetPixel: colour-table indexes at 4 and 8 bits, COLORREF
// (0x00BBGGRR) at 16 and 24, so a copy between two bitmaps of one depth and
// format moves pixels unchanged, and a 16-bit pixel goes into 24 bits as its
// colour. Coordinates outside the picture are skipped (Get gives 0); a
// bitmap without pixels has none.
class TBitmapPixels {
public:
    explicit TBitmapPixels(TMemBitmap& bitmap);
    ~TBitmapPixels();
    TBitmapPixels(const TBitmapPixels&) = delete;
    TBitmapPixels& operator=(const TBitmapPixels&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }
    // The pixel view at 8 and 24 bits; an empty view (ImageHasPixels false) otherwise.
    const IMAGEDATA& View() const { return view_; }
    uint32_t Get(int x, int y) const;
    void Set(int x, int y, uint32_t value);

private:
    TMemBitmap& bitmap_;
    IMAGEDATA view_;
    int width_ = 0;
    int height_ = 0;
};

// The one pixel operation of copies and cuts: every pixel of span in source
// goes to target at offset (target point = source point + offset); without a
// source, the span's pixels of target (offset applied) become value. Pixels
// outside the source or the target are skipped.
void PutSpan(TBitmapPixels& target, const TBitmapPixels* source, uint32_t value, const TPixelSpan& span,
             POINT offset);

// A new blank bitmap (the caller frees it) of the model's depth, palette and,
// at 16 bits, pixel format; null when that size cannot be had.
TMemBitmap* NewBitmapLike(TMemBitmap& model, int width, int height);
