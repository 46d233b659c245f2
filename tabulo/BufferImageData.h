// The IMAGEDATA view of a 32-bit buffer bitmap, which the charts, the
// statistics views and the quick list draw into.
#pragma once

#include <cstdint>

#include "ImageData.h"

// Describes a 32-bit bitmap (a TBitmap, or anything with its GetWidth,
// GetHeight, ScanLine and BytesPerScanLine): data at row 0, type 2, the
// bitmap's size, pixel step 4, and the line step the rows lie apart, negative
// when row 1 lies below row 0 in memory (a bottom-up bitmap). The line step
// comes from the row stride, so a bitmap one row high is described without
// reading a second row. An empty bitmap gives a view without data.
template <class Bitmap>
void PrepareImageData(Bitmap& bitmap, IMAGEDATA& view) {
    view = IMAGEDATA();
    view.type = idtBgr24;
    view.pixelStep = 4;
    if (bitmap.GetWidth() <= 0 || bitmap.GetHeight() <= 0) {
        return;
    }
    view.width = bitmap.GetWidth();
    view.height = bitmap.GetHeight();
    view.data = static_cast<uint8_t*>(bitmap.ScanLine(0));
    const int32_t stride = int32_t(bitmap.BytesPerScanLine());
    const bool bottomUp = view.height > 1 && static_cast<uint8_t*>(bitmap.ScanLine(1)) < view.data;
    view.lineStep = bottomUp ? -stride : stride;
}
