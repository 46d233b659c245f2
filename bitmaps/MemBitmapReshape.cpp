// TMemBitmap: rotation (with scaling), conversion to 24 bits and sub-images.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "DibBlock.h"
#include "MemBitmap.h"
#include "MemBitmapAccess.h"

using namespace dib_block;

namespace {

constexpr double kPi = 3.14159265358979323846;

// Rounding noise of sine and cosine stays below this; values this close to an
// integer are that integer, so quarter turns map pixels exactly.
constexpr double kSnap = 1e-9;

long long SnapTruncate(double value) {
    const double nearest = std::round(value);
    return std::fabs(value - nearest) < kSnap ? (long long)nearest : (long long)std::trunc(value);
}

long long SnapFloor(double value) {
    const double nearest = std::round(value);
    return std::fabs(value - nearest) < kSnap ? (long long)nearest : (long long)std::floor(value);
}

// White, or at 4 and 8 bits the table entry nearest to white (first on ties).
uint32_t Background(const uint8_t* block, int bitCount) {
    if (bitCount == 16) return 0xFFFF;
    if (bitCount == 24) return 0xFFFFFF;
    uint32_t best = 0;
    long bestDistance = -1;
    for (int i = 0; i < TableEntries(block); ++i) {
        const uint8_t* quad = block + kInfoHeaderSize + 4 * i;
        long distance = 0;
        for (int k = 0; k < 3; ++k) distance += long(255 - quad[k]) * (255 - quad[k]);
        if (bestDistance < 0 || distance < bestDistance) {
            bestDistance = distance;
            best = uint32_t(i);
        }
    }
    return best;
}

// Where the rotated picture lies: the source corners (relative to the centre,
// in scaled pixels) turned by -a give the target's bounds; a target pixel
// turned back by a gives its source.
struct RotationPlan {
    double cosine = 1;
    double sine = 0;
    double scaleX = 1;
    double scaleY = 1;
    long long minX = 0;
    long long minY = 0;
    long long width = 0;
    long long height = 0;
};

RotationPlan PlanRotation(int width, int height, double degrees, double scaleX, double scaleY) {
    RotationPlan plan;
    const double angle = degrees * kPi / 180;
    plan.cosine = std::cos(angle);
    plan.sine = std::sin(angle);
    plan.scaleX = scaleX;
    plan.scaleY = scaleY;
    const double originX = scaleX * (width / 2);
    const double originY = scaleY * (height / 2);
    const double xs[2] = {-originX, scaleX * width - 1 - originX};
    const double ys[2] = {-originY, scaleY * height - 1 - originY};
    long long minX = 0, maxX = 0, minY = 0, maxY = 0;
    bool first = true;
    for (double x : xs) {
        for (double y : ys) {
            const long long u = SnapTruncate(x * plan.cosine + y * plan.sine);
            const long long v = SnapTruncate(-x * plan.sine + y * plan.cosine);
            minX = first ? u : std::min(minX, u);
            maxX = first ? u : std::max(maxX, u);
            minY = first ? v : std::min(minY, v);
            maxY = first ? v : std::max(maxY, v);
            first = false;
        }
    }
    plan.minX = minX;
    plan.minY = minY;
    plan.width = maxX - minX + 1;
    plan.height = maxY - minY + 1;
    return plan;
}

}  // namespace

void TMemBitmap::Rotate(double degrees) {
    if (!Valid || degrees == 0) return;
    Rotate(degrees, Width, Height);
}

void TMemBitmap::Rotate(double degrees, int width, int height) {
    if (!Valid || DIB == nullptr || Width <= 0 || Height <= 0 || width <= 0 || height <= 0) return;
    if (!std::isfinite(degrees)) return;
    const RotationPlan plan = PlanRotation(Width, Height, degrees, double(width) / Width, double(height) / Height);
    if (plan.width > kMaximumDimension || plan.height > kMaximumDimension) return;
    const int newWidth = int(plan.width);
    const int newHeight = int(plan.height);
    const int64_t size = NewBlockSize(newWidth, newHeight, BitCount);
    if (size < 0) return;
    const int newLineSize = LineSizeFor(newWidth, BitCount);
    const int64_t blockSize = kInfoHeaderSize + PaletteSize() + kMaskBytes + int64_t(newHeight) * newLineSize;
    HGLOBAL block = GlobalAlloc(GHND, SIZE_T(blockSize));
    if (block == nullptr) return;
    auto* target = static_cast<uint8_t*>(GlobalLock(block));
    int newGap = 0;
    {
        PixelAccess access(*this);
        newGap = CopyHeaderAndTable(access.Bits(), target, newWidth, newHeight);
        const uint32_t background = Background(access.Bits(), BitCount);
        const int halfWidth = Width / 2;
        const int halfHeight = Height / 2;
        for (int v = 0; v < newHeight; ++v) {
            uint8_t* row = target + RowsOffset(BitCount, newGap) + std::ptrdiff_t(v) * newLineSize;
            const double qy = double(v + plan.minY);
            for (int u = 0; u < newWidth; ++u) {
                const double qx = double(u + plan.minX);
                const long long column = SnapFloor((qx * plan.cosine - qy * plan.sine) / plan.scaleX + halfWidth);
                const long long sourceRow = SnapFloor((qx * plan.sine + qy * plan.cosine) / plan.scaleY + halfHeight);
                const bool inside = column >= 0 && column < Width && sourceRow >= 0 && sourceRow < Height;
                WritePixelBits(row, u, BitCount,
                               inside ? ReadPixelBits(access.Row(int(sourceRow)), int(column), BitCount) : background);
            }
        }
    }
    GlobalUnlock(block);
    // The block was sized with room for masks; keep only what the layout uses.
    HGLOBAL exact = GlobalReAlloc(block, SIZE_T(RowsOffset(BitCount, newGap) + int64_t(newHeight) * newLineSize), 0);
    InstallDIB(exact != nullptr ? exact : block, newWidth, newHeight, BitCount, newGap);
}

void TMemBitmap::ConvertTo24Bit() {
    if (!Valid || BitCount == 24 || DIB == nullptr) return;
    const int64_t size = NewBlockSize(Width, Height, 24);
    HGLOBAL block = size > 0 ? GlobalAlloc(GHND, SIZE_T(size)) : nullptr;
    if (block == nullptr) return;
    auto* target = static_cast<uint8_t*>(GlobalLock(block));
    WriteInfoHeader(target, Width, Height, 24);
    const int targetLineSize = LineSizeFor(Width, 24);
    {
        PixelAccess access(*this);
        const uint8_t* source = access.Bits();
        const Pixel16Format format = Pixel16FormatOf(source);
        const int entries = TableEntries(source);
        for (int r = 0; r < Height; ++r) {
            const uint8_t* from = access.Row(r);
            uint8_t* to = target + kInfoHeaderSize + std::ptrdiff_t(r) * targetLineSize;
            for (int x = 0; x < Width; ++x) {
                const uint32_t raw = ReadPixelBits(from, x, BitCount);
                uint8_t* pixel = to + 3 * x;
                if (BitCount == 16) {
                    const COLORREF colour = DecodePixel16(format, uint16_t(raw));
                    pixel[0] = GetBValue(colour);
                    pixel[1] = GetGValue(colour);
                    pixel[2] = GetRValue(colour);
                } else if (int(raw) < entries) {
                    std::memcpy(pixel, source + kInfoHeaderSize + 4 * raw, 3);
                }
            }
        }
    }
    GlobalUnlock(block);
    InstallDIB(block, Width, Height, 24, 0);
}

TMemBitmap* TMemBitmap::GetImage(int x, int y, int width, int height) {
    if (!Valid || DIB == nullptr) return nullptr;
    x = std::max(x, 0);
    y = std::max(y, 0);
    width = int(std::min<long long>(width, (long long)Width - x));
    height = int(std::min<long long>(height, (long long)Height - y));
    if (width <= 0 || height <= 0) return nullptr;
    const int lineSize = LineSizeFor(width, BitCount);
    const int64_t blockSize = kInfoHeaderSize + PaletteSize() + kMaskBytes + int64_t(height) * lineSize;
    HGLOBAL block = GlobalAlloc(GHND, SIZE_T(blockSize));
    if (block == nullptr) return nullptr;
    auto* target = static_cast<uint8_t*>(GlobalLock(block));
    int gap = 0;
    {
        PixelAccess access(*this);
        gap = CopyHeaderAndTable(access.Bits(), target, width, height);
        for (int row = 0; row < height; ++row) {
            const uint8_t* from = access.Row(Height - 1 - (y + row));
            uint8_t* to = target + RowsOffset(BitCount, gap) + std::ptrdiff_t(height - 1 - row) * lineSize;
            for (int column = 0; column < width; ++column)
                WritePixelBits(to, column, BitCount, ReadPixelBits(from, x + column, BitCount));
        }
    }
    GlobalUnlock(block);
    HGLOBAL exact = GlobalReAlloc(block, SIZE_T(RowsOffset(BitCount, gap) + int64_t(height) * lineSize), 0);
    auto* image = new TMemBitmap();
    image->JpegQuality = JpegQuality;
    image->InstallDIB(exact != nullptr ? exact : block, width, height, BitCount, gap);
    if (!image->Valid) {
        delete image;
        return nullptr;
    }
    return image;
}
