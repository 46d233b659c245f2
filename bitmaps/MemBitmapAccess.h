// Scoped access to a TMemBitmap's DIB bytes: uses the outstanding lock or locks
// for its own lifetime. Internal to the bitmap units.
#pragma once

#include "ImageData.h"
#include "MemBitmap.h"

class TMemBitmap::PixelAccess {
public:
    explicit PixelAccess(TMemBitmap& bitmap) : bitmap_(bitmap) {
        if (bitmap.DIB == nullptr) return;
        if (bitmap.LockCount > 0 && bitmap.LockedBits != nullptr) {
            bits_ = bitmap.LockedBits;
        } else {
            bits_ = static_cast<uint8_t*>(GlobalLock(bitmap.DIB));
            locked_ = bits_ != nullptr;
        }
    }
    ~PixelAccess() {
        if (locked_) GlobalUnlock(bitmap_.DIB);
    }
    PixelAccess(const PixelAccess&) = delete;
    PixelAccess& operator=(const PixelAccess&) = delete;

    // The block, or null without a DIB.
    uint8_t* Bits() const { return bits_; }
    uint8_t* Row(int row) const { return bitmap_.RowAt(bits_, row); }

private:
    TMemBitmap& bitmap_;
    uint8_t* bits_ = nullptr;
    bool locked_ = false;
};

// The pixel view MB2ID gives of the rectangle (cut to the picture), over bits
// the caller holds, without taking a lock.
IMAGEDATA DIBView(const TMemBitmap& bitmap, uint8_t* bits, RECT rect);
