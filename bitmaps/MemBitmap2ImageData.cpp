// MB2ID views over memory bitmaps and InitBitmapFromID.
#include "MemBitmap2ImageData.h"

#include <algorithm>
#include <cstring>

#include "DibBlock.h"
#include "MemBitmapAccess.h"

IMAGEDATA MB2ID(TMemBitmap& bitmap) { return MB2ID(bitmap, RECT{0, 0, bitmap.Width - 1, bitmap.Height - 1}); }

IMAGEDATA MB2ID(TMemBitmap& bitmap, RECT rect) {
    auto* bits = static_cast<uint8_t*>(bitmap.Lock());
    bitmap.NoteViewLock();
    return DIBView(bitmap, bits, rect);
}

IMAGEDATA DIBView(const TMemBitmap& bitmap, uint8_t* bits, RECT rect) {
    IMAGEDATA view;
    if (bitmap.BitCount == 8) {
        view.type = idtGray8;
        view.pixelStep = 1;
    } else if (bitmap.BitCount == 24) {
        view.type = idtBgr24;
        view.pixelStep = 3;
    }
    const long long left = std::max<long long>(rect.left, 0);
    const long long top = std::max<long long>(rect.top, 0);
    const long long right = std::min<long long>(rect.right, bitmap.Width - 1LL);
    const long long bottom = std::min<long long>(rect.bottom, bitmap.Height - 1LL);
    if (bits == nullptr || view.pixelStep == 0 || right < left || bottom < top) return view;
    view.lineStep = -bitmap.LineSize;
    view.width = int(right - left + 1);
    view.height = int(bottom - top + 1);
    view.data = bitmap.RowAt(bits, int(bitmap.Height - 1 - top)) + std::ptrdiff_t(left) * view.pixelStep;
    return view;
}

void InitBitmapFromID(TMemBitmap& bitmap, const IMAGEDATA& view) {
    const int bitCount = view.type == idtGray8 ? 8 : view.type == idtBgr24 ? 24 : 0;
    const int pixelSize = bitCount / 8;
    const int64_t size = bitCount == 0 || !ImageHasPixels(view) || view.pixelStep < pixelSize
                             ? -1
                             : dib_block::NewBlockSize(view.width, view.height, bitCount);
    HGLOBAL block = size > 0 ? GlobalAlloc(GHND, SIZE_T(size)) : nullptr;
    if (block == nullptr) {
        bitmap.ClearPicture();
        return;
    }
    auto* bits = static_cast<uint8_t*>(GlobalLock(block));
    dib_block::WriteInfoHeader(bits, view.width, view.height, bitCount);
    const int lineSize = dib_block::LineSizeFor(view.width, bitCount);
    uint8_t* rows = bits + dib_block::RowsOffset(bitCount, 0);
    for (int y = 0; y < view.height; ++y) {
        const uint8_t* from = ImagePixel(view, 0, y);
        uint8_t* to = rows + std::ptrdiff_t(view.height - 1 - y) * lineSize;
        if (view.pixelStep == pixelSize) {
            std::memcpy(to, from, size_t(view.width) * pixelSize);
        } else {
            for (int x = 0; x < view.width; ++x) std::memcpy(to + x * pixelSize, from + x * view.pixelStep, pixelSize);
        }
    }
    GlobalUnlock(block);
    bitmap.InstallDIB(block, view.width, view.height, bitCount, 0);
    // The pixels went through a DIB even when the bitmap keeps none.
    if (!bitmap.KeepDIB) bitmap.FreeDIB();
}

void ID2MB(TMemBitmap& bitmap, const IMAGEDATA& view) { InitBitmapFromID(bitmap, view); }
