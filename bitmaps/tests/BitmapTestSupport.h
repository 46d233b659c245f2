// Helpers of the bitmap tests: BMP and JPEG files, a scratch
// folder, deterministic damage for the fuzz loops, and reading back pixels.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "JpegCoder.h"
#include "MemBitmap.h"

namespace bitmap_tests {

inline void PutU16(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    bytes[at] = uint8_t(value);
    bytes[at + 1] = uint8_t(value >> 8);
}
inline void PutU32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = uint8_t(value >> (8 * i));
}
inline uint32_t GetU32(const std::vector<uint8_t>& bytes, size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | uint32_t(bytes[at + 3]) << 24;
}

// What a test BMP file holds. tableEntries -1 means the full table; masks are
// written after a 40-byte header (or inside a longer one at byte 40).
struct BmpLayout {
    int width = 4;
    int height = 3;
    int bitCount = 24;
    int tableEntries = -1;
    uint32_t compression = 0;
    uint32_t headerSize = 40;
    std::vector<uint32_t> masks;
};

inline int RowBytes(int width, int bitCount) { return int((int64_t(width) * bitCount + 31) / 32 * 4); }

// Pixel bytes follow a pattern of x, y and the byte's place; table entry i
// is (blue i * 3, green 255 - i, red i * 7).
inline std::vector<uint8_t> MakeBmp(const BmpLayout& layout) {
    const int entries =
        layout.bitCount <= 8 ? (layout.tableEntries < 0 ? 1 << layout.bitCount : layout.tableEntries) : 0;
    const size_t masksInline = layout.masks.empty() || layout.headerSize > 40 ? 0 : 4 * layout.masks.size();
    const size_t offset = 14 + layout.headerSize + masksInline + 4 * size_t(entries);
    const int row = RowBytes(layout.width, layout.bitCount);
    std::vector<uint8_t> bytes(offset + size_t(row) * size_t(layout.height > 0 ? layout.height : -layout.height), 0);
    bytes[0] = 'B';
    bytes[1] = 'M';
    PutU32(bytes, 2, uint32_t(bytes.size()));
    PutU32(bytes, 10, uint32_t(offset));
    PutU32(bytes, 14, layout.headerSize);
    PutU32(bytes, 18, uint32_t(layout.width));
    PutU32(bytes, 22, uint32_t(layout.height));
    PutU16(bytes, 26, 1);
    PutU16(bytes, 28, uint32_t(layout.bitCount));
    PutU32(bytes, 30, layout.compression);
    PutU32(bytes, 46, layout.tableEntries < 0 ? 0 : uint32_t(layout.tableEntries));
    for (size_t i = 0; i < layout.masks.size(); ++i) PutU32(bytes, 14 + 40 + 4 * i, layout.masks[i]);
    const size_t table = 14 + layout.headerSize + masksInline;
    for (int i = 0; i < entries; ++i) {
        bytes[table + 4 * i] = uint8_t(i * 3);
        bytes[table + 4 * i + 1] = uint8_t(255 - i);
        bytes[table + 4 * i + 2] = uint8_t(i * 7);
    }
    for (size_t i = offset; i < bytes.size(); ++i) bytes[i] = uint8_t((i - offset) * 37 + 11);
    return bytes;
}

// A small JPEG file of a pattern, coded at quality 90.
inline std::vector<uint8_t> SmallJpeg(int width, int height, bool gray) {
    std::vector<uint8_t> pixels(size_t(width) * height * (gray ? 1 : 3));
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = uint8_t(i * 5);
    void* block = nullptr;
    int length = 0;
    CreateJPEG(MakeImageData(pixels.data(), gray ? idtGray8 : idtBgr24, width, height), &block, &length, 90);
    std::vector<uint8_t> bytes(static_cast<uint8_t*>(block), static_cast<uint8_t*>(block) + length);
    std::free(block);
    return bytes;
}

// A scratch folder removed with its content at the end of the test.
class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern = std::filesystem::temp_directory_path().string() + "/bitmaps-test-XXXXXX";
        path_ = mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

inline std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Damaged copies of a good input: a few bytes overwritten, sometimes cut short.
class Damage {
public:
    explicit Damage(uint32_t seed) : random_(seed) {}
    std::vector<uint8_t> Next(const std::vector<uint8_t>& good) {
        std::vector<uint8_t> bytes = good;
        const int changes = 1 + int(random_() % 6);
        for (int i = 0; i < changes && !bytes.empty(); ++i) {
            const size_t at = random_() % bytes.size();
            bytes[at] = random_() % 4 == 0 ? uint8_t(0xFF) : uint8_t(random_());
        }
        if (random_() % 4 == 0 && !bytes.empty()) bytes.resize(random_() % bytes.size());
        return bytes;
    }

private:
    std::mt19937 random_;
};

// Touches every pixel of a loaded picture and paints it, so that a reader
// that let a bad size through shows up under the address sanitizer.
inline void ExerciseBitmap(TMemBitmap& bitmap) {
    if (!bitmap.Valid) return;
    for (int y = 0; y < bitmap.Height; y += std::max(1, bitmap.Height / 8))
        for (int x = 0; x < bitmap.Width; x += std::max(1, bitmap.Width / 8)) bitmap.GetPixel(x, y);
    for (int i = 0; i < 256; i += 51) bitmap.GetPaletteEntry(i);
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP target = CreateCompatibleBitmap(dc, 8, 8);
    HGDIOBJ old = SelectObject(dc, target);
    bitmap.PaintToDC(dc, 0, 0, SRCCOPY);
    SelectObject(dc, old);
    DeleteObject(target);
    DeleteDC(dc);
}

// A memory DC over a white 32-bit bitmap, for reading painted pixels.
class Canvas {
public:
    Canvas(int width, int height) {
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateCompatibleBitmap(dc_, width, height);
        old_ = SelectObject(dc_, bitmap_);
        PatBlt(dc_, 0, 0, width, height, WHITENESS);
    }
    ~Canvas() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    HDC dc() const { return dc_; }
    COLORREF At(int x, int y) const { return ::GetPixel(dc_, x, y); }

private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
};

}  // namespace bitmap_tests
