// Pixel access to memory bitmaps of every depth, the span copy that the
// scroller's copies, cuts and pastes share, and blank bitmaps shaped after another.
#include "BitmapPixels.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "MemBitmap.h"
#include "MemBitmap2ImageData.h"

TBitmapPixels::TBitmapPixels(TMemBitmap& bitmap) : bitmap_(bitmap), view_(MB2ID(bitmap)) {
    if (bitmap.Valid && bitmap.GetDIB() != nullptr) {
        width_ = bitmap.Width;
        height_ = bitmap.Height;
    }
}

// MB2ID took a lock also for a depth it gives no view of; that lock serves
// GetPixel and SetPixel too.
TBitmapPixels::~TBitmapPixels() { bitmap_.Unlock(); }

uint32_t TBitmapPixels::Get(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    if (!ImageHasPixels(view_)) return uint32_t(bitmap_.GetPixel(x, y));
    const uint8_t* pixel = ImagePixel(view_, x, y);
    if (view_.type == idtGray8) return pixel[0];
    return RGB(pixel[2], pixel[1], pixel[0]);  // stored blue, green, red
}

void TBitmapPixels::Set(int x, int y, uint32_t value) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    if (!ImageHasPixels(view_)) {
        bitmap_.SetPixel(x, y, int(value));
        return;
    }
    uint8_t* pixel = ImagePixel(view_, x, y);
    if (view_.type == idtGray8) {
        pixel[0] = uint8_t(value);
        return;
    }
    pixel[0] = GetBValue(value);
    pixel[1] = GetGValue(value);
    pixel[2] = GetRValue(value);
}

void PutSpan(TBitmapPixels& target, const TBitmapPixels* source, uint32_t value, const TPixelSpan& span,
             POINT offset) {
    // Along the span: a; across it: the fixed coordinate.
    const int64_t alongOffset = span.vertical ? offset.y : offset.x;
    const int64_t acrossOffset = span.vertical ? offset.x : offset.y;
    const int64_t targetAlong = span.vertical ? target.Height() : target.Width();
    const int64_t targetAcross = span.vertical ? target.Width() : target.Height();
    const int64_t across = span.at;
    if (across + acrossOffset < 0 || across + acrossOffset >= targetAcross) return;
    int64_t first = std::max(span.from, -alongOffset);
    int64_t last = std::min(span.to, targetAlong - 1 - alongOffset);
    if (source) {
        const int64_t sourceAlong = span.vertical ? source->Height() : source->Width();
        const int64_t sourceAcross = span.vertical ? source->Width() : source->Height();
        if (across < 0 || across >= sourceAcross) return;
        first = std::max<int64_t>(first, 0);
        last = std::min(last, sourceAlong - 1);
    }
    for (int64_t a = first; a <= last; ++a) {
        const int x = int(span.vertical ? across : a), y = int(span.vertical ? a : across);
        target.Set(int(x + offset.x), int(y + offset.y), source ? source->Get(x, y) : value);
    }
}

namespace {

// What a memory bitmap holds in one block.
constexpr int64_t kMaximumFileBytes = 0x7FFFFF00;

void AppendU16(std::vector<uint8_t>& bytes, uint32_t value) {
    for (int i = 0; i < 2; ++i) bytes.push_back(uint8_t(value >> (8 * i)));
}
void AppendU32(std::vector<uint8_t>& bytes, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes.push_back(uint8_t(value >> (8 * i)));
}

// A blank 16-bit BMP file with the model's compression and bit-field masks,
// read back through the bitmap's own checked loader. The model's block is a
// 40-byte header with its masks behind it (the layout TMemBitmap keeps).
bool LoadBlank16BitLike(TMemBitmap& bitmap, TMemBitmap& model, int width, int height) {
    if (!BitmapCanHold(width, height)) return false;
    const auto* block = static_cast<const uint8_t*>(model.Lock());
    if (block == nullptr) {
        model.Unlock();
        return false;
    }
    auto readU32 = [&](int at) {
        return uint32_t(block[at]) | uint32_t(block[at + 1]) << 8 | uint32_t(block[at + 2]) << 16 |
               uint32_t(block[at + 3]) << 24;
    };
    const uint32_t compression = readU32(16);
    std::vector<uint32_t> masks;
    if (compression == BI_BITFIELDS) masks = {readU32(40), readU32(44), readU32(48)};
    model.Unlock();

    const int64_t lineSize = (int64_t(width) * 2 + 3) / 4 * 4;
    const uint32_t pixelOffset = 14 + 40 + 4 * uint32_t(masks.size());
    const int64_t fileSize = pixelOffset + lineSize * height;
    if (fileSize > kMaximumFileBytes) return false;
    std::vector<uint8_t> file;
    file.reserve(size_t(fileSize));
    AppendU16(file, 0x4D42);  // "BM"
    AppendU32(file, uint32_t(fileSize));
    AppendU32(file, 0);  // two reserved words
    AppendU32(file, pixelOffset);
    AppendU32(file, 40);
    AppendU32(file, uint32_t(width));
    AppendU32(file, uint32_t(height));  // positive: rows bottom-up
    AppendU16(file, 1);
    AppendU16(file, 16);
    AppendU32(file, compression);
    for (int i = 0; i < 5; ++i) AppendU32(file, 0);  // image size, resolutions, colours used and important
    for (uint32_t mask : masks) AppendU32(file, mask);
    file.resize(size_t(fileSize), 0);
    bitmap.LoadFromBMPMemory(file.data(), int(file.size()));
    return bitmap.Valid != 0;
}

}  // namespace

TMemBitmap* NewBitmapLike(TMemBitmap& model, int width, int height) {
    auto bitmap = std::make_unique<TMemBitmap>();
    if (model.BitCount == 16) {
        if (!LoadBlank16BitLike(*bitmap, model, width, height)) return nullptr;
    } else {
        if (!bitmap->NewBitmap(width, height, model.BitCount)) return nullptr;
        model.CopyPalette(*bitmap);
    }
    return bitmap.release();
}
