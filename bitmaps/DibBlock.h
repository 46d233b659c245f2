// Packed device-independent bitmap blocks as TMemBitmap holds them: field
// access, header checks and the one decoder of 16-bit pixels. Internal.
#pragma once

#include <cstdint>
#include <vector>

#include "Win32.h"

namespace dib_block {

constexpr int kInfoHeaderSize = 40;
constexpr int kFileHeaderSize = 14;
constexpr int kMaskBytes = 12;
constexpr int kMaximumDimension = 65535;
// Records carry block sizes as i32; nothing larger is made or accepted.
constexpr int64_t kMaximumBlockSize = 0x7FFFFF00;
// The platform makes no device bitmap of more pixels than this; a picture
// that could never be painted does not load.
constexpr int64_t kMaximumDevicePixels = int64_t(1) << 28;

inline uint32_t ReadU32(const uint8_t* bytes) {
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
}
inline uint16_t ReadU16(const uint8_t* bytes) { return uint16_t(bytes[0] | bytes[1] << 8); }
inline void WriteU32(uint8_t* bytes, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[i] = uint8_t(value >> (8 * i));
}
inline void WriteU16(uint8_t* bytes, uint16_t value) {
    bytes[0] = uint8_t(value);
    bytes[1] = uint8_t(value >> 8);
}

// Header fields by their offsets in the 40-byte info header.
inline int32_t HeaderWidth(const uint8_t* block) { return int32_t(ReadU32(block + 4)); }
inline int32_t HeaderHeight(const uint8_t* block) { return int32_t(ReadU32(block + 8)); }
inline int HeaderBitCount(const uint8_t* block) { return ReadU16(block + 14); }
inline uint32_t HeaderCompression(const uint8_t* block) { return ReadU32(block + 16); }
inline uint32_t HeaderColoursUsed(const uint8_t* block) { return ReadU32(block + 32); }

// Writes a bottom-up header: 40, width, height, planes 1, bit count, the rest 0.
void WriteInfoHeader(uint8_t* block, int width, int height, int bitCount);

// Bytes of a pixel row padded to 4; 0 for a bit count that is not held.
int LineSizeFor(int width, int bitCount);
// Colour table bytes by bit count: 64 at 4, 1024 at 8, 0 otherwise.
int PaletteSizeFor(int bitCount);
// 4, 8, 16 and 24 bits a pixel are what the memory bitmap holds.
bool IsHeldBitCount(int bitCount);
// Entries of the colour table the header describes (biClrUsed, 0 = full).
int TableEntries(const uint8_t* block);
// 40 + the full table size + the bytes before the rows; int64 so that damaged
// gaps cannot wrap.
inline int64_t RowsOffset(int bitCount, int64_t gap) { return kInfoHeaderSize + PaletteSizeFor(bitCount) + gap; }
// 40-byte header + block size + pixel rows for a bitmap made here; -1 when it
// would pass the block size limit or the size is not positive.
int64_t NewBlockSize(int width, int height, int bitCount);

// What a checked block holds.
struct DibShape {
    int width = 0;
    int height = 0;
    int bitCount = 0;
    int lineSize = 0;
};

// Brings a block to a 40-byte header (moving a longer header's colour table or
// bit-field masks behind the first 40 bytes, `gap` following) and checks it:
// header size at least 40; positive width and height up to 65535; 4, 8, 16 or
// 24 bits; no compression but bit fields at 16 bits; the colour table (or the
// masks) and every row inside the block. False may leave block and gap half
// rewritten; they are then of no use. The first form works in place and
// shortens `size` by the header bytes it drops.
bool PrepareDib(uint8_t* block, size_t& size, int& gap, DibShape& shape);
bool PrepareDib(std::vector<uint8_t>& block, int& gap, DibShape& shape);
// The same checks on a block that already has a 40-byte header.
bool CheckDib(const uint8_t* block, int64_t size, int gap, DibShape& shape);

// The one decoding of 16-bit pixels: BI_RGB is 5-5-5, BI_BITFIELDS uses the
// masks after the header; channels are scaled to 8 bits as GDI paints them.
struct Pixel16Format {
    uint32_t red = 0x7C00;
    uint32_t green = 0x03E0;
    uint32_t blue = 0x001F;
};
Pixel16Format Pixel16FormatOf(const uint8_t* block);
COLORREF DecodePixel16(const Pixel16Format& format, uint16_t word);
uint16_t EncodePixel16(const Pixel16Format& format, COLORREF colour);

// A pixel's bits as stored: the index at 4 and 8 bits (even columns in the
// high nibble), the little-endian word or bytes at 16 and 24 (B | G << 8 | R << 16).
uint32_t ReadPixelBits(const uint8_t* row, int x, int bitCount);
void WritePixelBits(uint8_t* row, int x, int bitCount, uint32_t bits);
// 0x00RRGGBB and 0x00BBGGRR into each other.
inline uint32_t SwapRedBlue(uint32_t value) { return (value & 0xFF) << 16 | (value & 0xFF00) | ((value >> 16) & 0xFF); }

// A screen-compatible device bitmap holding the block's picture, whose rows
// start `rowsOffset` bytes in; null when the platform cannot make it.
HBITMAP MakeDeviceBitmap(const uint8_t* block, int64_t rowsOffset);

// Copies the header of `source` with a new size, its colour table as a full
// table (entries past a short table black, biClrUsed 0) and, at 16 bits with
// bit fields, the masks. Returns the gap the new block has (12 with masks, else 0).
int CopyHeaderAndTable(const uint8_t* source, uint8_t* target, int width, int height);

}  // namespace dib_block
