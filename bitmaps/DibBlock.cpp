// Packed DIB blocks: header checks, layout sizes and 16-bit pixel decoding.
#include "DibBlock.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace dib_block {

namespace {

int LowestBit(uint32_t mask) {
    int shift = 0;
    while (shift < 32 && (mask & (1u << shift)) == 0) ++shift;
    return shift;
}

int BitsIn(uint32_t mask) {
    int count = 0;
    for (; mask != 0; mask &= mask - 1) ++count;
    return count;
}

// One channel of a masked word scaled to 8 bits, as the GDI decodes it.
uint32_t ExtractChannel(uint32_t value, uint32_t mask) {
    if (mask == 0) return 0;
    const int bits = BitsIn(mask);
    const uint32_t channel = (value & mask) >> LowestBit(mask);
    return bits >= 8 ? channel >> (bits - 8) : channel << (8 - bits);
}

uint32_t InsertChannel(uint32_t channel8, uint32_t mask) {
    if (mask == 0) return 0;
    const int bits = BitsIn(mask);
    const uint32_t channel = bits >= 8 ? channel8 << (bits - 8) : channel8 >> (8 - bits);
    return (channel << LowestBit(mask)) & mask;
}

bool HasMasks(const uint8_t* block) { return HeaderBitCount(block) == 16 && HeaderCompression(block) == BI_BITFIELDS; }

}  // namespace

void WriteInfoHeader(uint8_t* block, int width, int height, int bitCount) {
    std::memset(block, 0, kInfoHeaderSize);
    WriteU32(block, kInfoHeaderSize);
    WriteU32(block + 4, uint32_t(width));
    WriteU32(block + 8, uint32_t(height));
    WriteU16(block + 12, 1);
    WriteU16(block + 14, uint16_t(bitCount));
}

int LineSizeFor(int width, int bitCount) {
    if (width <= 0 || !IsHeldBitCount(bitCount)) return 0;
    const int64_t bytes = bitCount == 4 ? (int64_t(width) + 1) / 2 : int64_t(width) * (bitCount / 8);
    return int((bytes + 3) / 4 * 4);
}

int PaletteSizeFor(int bitCount) {
    if (bitCount == 4) return 64;
    if (bitCount == 8) return 1024;
    return 0;
}

bool IsHeldBitCount(int bitCount) { return bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24; }

int TableEntries(const uint8_t* block) {
    const int bitCount = HeaderBitCount(block);
    if (bitCount != 4 && bitCount != 8) return 0;
    const uint32_t full = 1u << bitCount;
    const uint32_t used = HeaderColoursUsed(block);
    return int(used == 0 || used > full ? full : used);
}

int64_t NewBlockSize(int width, int height, int bitCount) {
    if (width <= 0 || height <= 0 || width > kMaximumDimension || height > kMaximumDimension) return -1;
    const int lineSize = LineSizeFor(width, bitCount);
    if (lineSize == 0) return -1;
    const int64_t size = kInfoHeaderSize + PaletteSizeFor(bitCount) + int64_t(height) * lineSize;
    return size > kMaximumBlockSize ? -1 : size;
}

bool CheckDib(const uint8_t* block, int64_t size, int gap, DibShape& shape) {
    if (block == nullptr || size < kInfoHeaderSize || size > kMaximumBlockSize) return false;
    if (ReadU32(block) != kInfoHeaderSize) return false;
    const int32_t width = HeaderWidth(block);
    const int32_t height = HeaderHeight(block);
    const int bitCount = HeaderBitCount(block);
    if (width <= 0 || height <= 0 || width > kMaximumDimension || height > kMaximumDimension) return false;
    if (!IsHeldBitCount(bitCount)) return false;
    const uint32_t compression = HeaderCompression(block);
    if (compression != BI_RGB && !(compression == BI_BITFIELDS && bitCount == 16)) return false;
    if (HeaderColoursUsed(block) > (bitCount <= 8 ? (1u << bitCount) : 0xFFFFFFFFu)) return false;
    const int64_t tableBytes = HasMasks(block) ? kMaskBytes : 4 * int64_t(TableEntries(block));
    const int64_t rows = RowsOffset(bitCount, gap);
    const int lineSize = LineSizeFor(width, bitCount);
    if (rows < kInfoHeaderSize + tableBytes || rows + int64_t(height) * lineSize > size) return false;
    shape.width = width;
    shape.height = height;
    shape.bitCount = bitCount;
    shape.lineSize = lineSize;
    return true;
}

bool PrepareDib(uint8_t* block, size_t& size, int& gap, DibShape& shape) {
    if (block == nullptr || size < size_t(kInfoHeaderSize)) return false;
    const uint32_t headerSize = ReadU32(block);
    if (headerSize < uint32_t(kInfoHeaderSize) || headerSize > size) return false;
    if (headerSize > uint32_t(kInfoHeaderSize)) {
        // Bit-field masks sit at byte 40 of any longer header and stay there.
        const uint32_t keep = kInfoHeaderSize + (HasMasks(block) ? kMaskBytes : 0);
        if (headerSize < keep) return false;
        // The rows keep their place behind the shorter header. The gap may be
        // negative (a short colour table), but one that would drop below
        // INT_MIN puts the rows far before the block.
        const int64_t shifted = int64_t(gap) - int64_t(headerSize - keep);
        if (shifted < INT32_MIN) return false;
        std::memmove(block + keep, block + headerSize, size - headerSize);
        size -= headerSize - keep;
        gap = int(shifted);
        WriteU32(block, kInfoHeaderSize);
    }
    return CheckDib(block, int64_t(size), gap, shape);
}

bool PrepareDib(std::vector<uint8_t>& block, int& gap, DibShape& shape) {
    size_t size = block.size();
    const bool prepared = PrepareDib(block.data(), size, gap, shape);
    block.resize(std::min(size, block.size()));
    return prepared;
}

Pixel16Format Pixel16FormatOf(const uint8_t* block) {
    Pixel16Format format;
    if (HasMasks(block)) {
        format.red = ReadU32(block + kInfoHeaderSize);
        format.green = ReadU32(block + kInfoHeaderSize + 4);
        format.blue = ReadU32(block + kInfoHeaderSize + 8);
    }
    return format;
}

COLORREF DecodePixel16(const Pixel16Format& format, uint16_t word) {
    return RGB(ExtractChannel(word, format.red), ExtractChannel(word, format.green), ExtractChannel(word, format.blue));
}

uint16_t EncodePixel16(const Pixel16Format& format, COLORREF colour) {
    return uint16_t(InsertChannel(GetRValue(colour), format.red) | InsertChannel(GetGValue(colour), format.green) |
                    InsertChannel(GetBValue(colour), format.blue));
}

uint32_t ReadPixelBits(const uint8_t* row, int x, int bitCount) {
    switch (bitCount) {
        case 4:
            return (x & 1) ? row[x / 2] & 0x0F : row[x / 2] >> 4;
        case 8:
            return row[x];
        case 16:
            return ReadU16(row + 2 * x);
        default:
            return row[3 * x] | row[3 * x + 1] << 8 | uint32_t(row[3 * x + 2]) << 16;
    }
}

void WritePixelBits(uint8_t* row, int x, int bitCount, uint32_t raw) {
    switch (bitCount) {
        case 4: {
            uint8_t& byte = row[x / 2];
            byte = (x & 1) ? uint8_t((byte & 0xF0) | (raw & 0x0F)) : uint8_t((byte & 0x0F) | (raw & 0x0F) << 4);
            break;
        }
        case 8:
            row[x] = uint8_t(raw);
            break;
        case 16:
            WriteU16(row + 2 * x, uint16_t(raw));
            break;
        default:
            row[3 * x] = uint8_t(raw);
            row[3 * x + 1] = uint8_t(raw >> 8);
            row[3 * x + 2] = uint8_t(raw >> 16);
            break;
    }
}

HBITMAP MakeDeviceBitmap(const uint8_t* block, int64_t rowsOffset) {
    const auto* info = reinterpret_cast<const BITMAPINFO*>(block);
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateDIBitmap(screen, &info->bmiHeader, CBM_INIT, block + rowsOffset, info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

int CopyHeaderAndTable(const uint8_t* source, uint8_t* target, int width, int height) {
    std::memcpy(target, source, kInfoHeaderSize);
    WriteU32(target + 4, uint32_t(width));
    WriteU32(target + 8, uint32_t(height));
    WriteU32(target + 20, 0);
    const int bitCount = HeaderBitCount(source);
    const int tableSize = PaletteSizeFor(bitCount);
    if (tableSize > 0) {
        WriteU32(target + 32, 0);
        std::memset(target + kInfoHeaderSize, 0, size_t(tableSize));
        std::memcpy(target + kInfoHeaderSize, source + kInfoHeaderSize, size_t(TableEntries(source)) * 4);
        return 0;
    }
    if (HasMasks(source)) {
        std::memcpy(target + kInfoHeaderSize, source + kInfoHeaderSize, kMaskBytes);
        return kMaskBytes;
    }
    return 0;
}

}  // namespace dib_block
