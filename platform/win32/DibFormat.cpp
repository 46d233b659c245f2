// Pixel rows of device-independent bitmaps: layout checks, decoding to 32-bit
// pixels and encoding from them.
#include "DibFormat.h"

#include <cstring>

// The records keep the layouts the components were written for.
static_assert(sizeof(BITMAPINFOHEADER) == 40, "BITMAPINFOHEADER is 40 bytes");
static_assert(sizeof(BITMAPFILEHEADER) == 14, "BITMAPFILEHEADER is 14 bytes, packed");
static_assert(sizeof(RGBQUAD) == 4, "RGBQUAD is 4 bytes");
static_assert(sizeof(LOGFONTA) == 60, "LOGFONTA is 60 bytes");

namespace {

constexpr LONG kMaximumDimension = 65535;
constexpr DWORD kMaximumHeaderSize = 1024;

uint32_t ReadDword(const uint8_t* bytes) {
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

int LowestBit(uint32_t mask) {
    int shift = 0;
    while (shift < 32 && (mask & (1u << shift)) == 0) ++shift;
    return shift;
}

int BitCount(uint32_t mask) {
    int count = 0;
    for (; mask != 0; mask &= mask - 1) ++count;
    return count;
}

// One colour channel of a masked pixel scaled to 8 bits (extra low bits are zero).
uint32_t ExtractChannel(uint32_t value, uint32_t mask) {
    if (mask == 0) return 0;
    const int shift = LowestBit(mask);
    const int bits = BitCount(mask);
    const uint32_t channel = (value & mask) >> shift;
    return bits >= 8 ? channel >> (bits - 8) : channel << (8 - bits);
}

uint32_t InsertChannel(uint32_t channel8, uint32_t mask) {
    if (mask == 0) return 0;
    const int shift = LowestBit(mask);
    const int bits = BitCount(mask);
    const uint32_t channel = bits >= 8 ? channel8 << (bits - 8) : channel8 >> (8 - bits);
    return (channel << shift) & mask;
}

uint32_t DecodeMasked(const DibLayout& layout, uint32_t value) {
    return ExtractChannel(value, layout.redMask) << 16 | ExtractChannel(value, layout.greenMask) << 8 |
           ExtractChannel(value, layout.blueMask);
}

uint32_t EncodeMasked(const DibLayout& layout, uint32_t pixel) {
    return InsertChannel((pixel >> 16) & 0xFF, layout.redMask) | InsertChannel((pixel >> 8) & 0xFF, layout.greenMask) |
           InsertChannel(pixel & 0xFF, layout.blueMask);
}

bool IsStandard32(const DibLayout& layout) {
    return layout.redMask == 0xFF0000 && layout.greenMask == 0xFF00 && layout.blueMask == 0xFF;
}

}  // namespace

size_t DibInfoSize(const BITMAPINFO* info) {
    const BITMAPINFOHEADER& header = info->bmiHeader;
    size_t size = header.biSize;
    if (header.biBitCount <= 8) {
        size += 4 * static_cast<size_t>(header.biClrUsed != 0 ? header.biClrUsed : 1u << header.biBitCount);
    } else if (header.biCompression == BI_BITFIELDS && header.biSize == sizeof(BITMAPINFOHEADER)) {
        size += 12;
    }
    return size;
}

bool ReadDibLayout(const BITMAPINFO* info, DibLayout& layout) {
    if (info == nullptr) return false;
    const BITMAPINFOHEADER& header = info->bmiHeader;
    if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biSize > kMaximumHeaderSize) return false;
    if (header.biWidth <= 0 || header.biWidth > kMaximumDimension) return false;
    if (header.biHeight == 0 || header.biHeight > kMaximumDimension || header.biHeight < -kMaximumDimension)
        return false;
    const int bits = header.biBitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
    const bool bitfields = header.biCompression == BI_BITFIELDS;
    if (header.biCompression != BI_RGB && !(bitfields && (bits == 16 || bits == 32))) return false;

    layout.width = header.biWidth;
    layout.height = header.biHeight < 0 ? -header.biHeight : header.biHeight;
    layout.topDown = header.biHeight < 0;
    layout.bitsPerPixel = bits;
    layout.rowBytes = (static_cast<size_t>(layout.width) * bits + 31) / 32 * 4;
    layout.palette.clear();
    const uint8_t* after = reinterpret_cast<const uint8_t*>(info) + header.biSize;
    if (bits <= 8) {
        const DWORD full = 1u << bits;
        const DWORD count = header.biClrUsed != 0 ? header.biClrUsed : full;
        if (count > full) return false;
        for (DWORD i = 0; i < count; ++i) {
            const uint8_t* quad = after + 4 * i;
            layout.palette.push_back(static_cast<uint32_t>(quad[2]) << 16 | static_cast<uint32_t>(quad[1]) << 8 |
                                     quad[0]);
        }
    } else if (bitfields) {
        // Masks follow a 40-byte header; larger headers carry them at offset 40.
        const uint8_t* masks = header.biSize == sizeof(BITMAPINFOHEADER)
                                   ? after
                                   : reinterpret_cast<const uint8_t*>(info) + sizeof(BITMAPINFOHEADER);
        layout.redMask = ReadDword(masks);
        layout.greenMask = ReadDword(masks + 4);
        layout.blueMask = ReadDword(masks + 8);
    } else if (bits == 16) {
        layout.redMask = 0x7C00;
        layout.greenMask = 0x03E0;
        layout.blueMask = 0x001F;
    } else {
        layout.redMask = 0xFF0000;
        layout.greenMask = 0x00FF00;
        layout.blueMask = 0x0000FF;
    }
    return true;
}

void DecodeDibRow(const DibLayout& layout, const uint8_t* source, uint32_t* destination) {
    const int width = layout.width;
    const std::vector<uint32_t>& palette = layout.palette;
    auto lookup = [&palette](unsigned index) { return index < palette.size() ? palette[index] : 0u; };
    switch (layout.bitsPerPixel) {
        case 1:
            for (int x = 0; x < width; ++x) destination[x] = lookup((source[x >> 3] >> (7 - (x & 7))) & 1);
            break;
        case 4:
            for (int x = 0; x < width; ++x) destination[x] = lookup((source[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF);
            break;
        case 8:
            for (int x = 0; x < width; ++x) destination[x] = lookup(source[x]);
            break;
        case 16:
            for (int x = 0; x < width; ++x)
                destination[x] = DecodeMasked(layout, source[2 * x] | source[2 * x + 1] << 8);
            break;
        case 24:
            for (int x = 0; x < width; ++x) {
                const uint8_t* p = source + 3 * x;
                destination[x] = static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[0];
            }
            break;
        default:
            if (IsStandard32(layout)) {
                for (int x = 0; x < width; ++x) destination[x] = ReadDword(source + 4 * x) & 0xFFFFFF;
            } else {
                for (int x = 0; x < width; ++x) destination[x] = DecodeMasked(layout, ReadDword(source + 4 * x));
            }
            break;
    }
}

int NearestPaletteIndex(const std::vector<uint32_t>& palette, uint32_t pixel) {
    int best = 0;
    long bestDistance = -1;
    for (size_t i = 0; i < palette.size(); ++i) {
        long distance = 0;
        for (int shift = 0; shift <= 16; shift += 8) {
            const long d = static_cast<long>((palette[i] >> shift) & 0xFF) - static_cast<long>((pixel >> shift) & 0xFF);
            distance += d * d;
        }
        if (bestDistance < 0 || distance < bestDistance) {
            bestDistance = distance;
            best = static_cast<int>(i);
            if (distance == 0) break;
        }
    }
    return best;
}

void EncodeDibRow(const DibLayout& layout, const uint32_t* source, uint8_t* destination) {
    const int width = layout.width;
    // Neighbouring pixels are often equal: remember the last match.
    uint32_t lastPixel = 0xFFFFFFFF;
    int lastIndex = 0;
    auto index = [&](uint32_t pixel) {
        pixel &= 0xFFFFFF;
        if (pixel != lastPixel) {
            lastPixel = pixel;
            lastIndex = NearestPaletteIndex(layout.palette, pixel);
        }
        return lastIndex;
    };
    switch (layout.bitsPerPixel) {
        case 1:
            std::memset(destination, 0, (static_cast<size_t>(width) + 7) / 8);
            for (int x = 0; x < width; ++x)
                destination[x >> 3] |= static_cast<uint8_t>((index(source[x]) & 1) << (7 - (x & 7)));
            break;
        case 4:
            std::memset(destination, 0, (static_cast<size_t>(width) + 1) / 2);
            for (int x = 0; x < width; ++x)
                destination[x >> 1] |= static_cast<uint8_t>((index(source[x]) & 0xF) << ((x & 1) ? 0 : 4));
            break;
        case 8:
            for (int x = 0; x < width; ++x) destination[x] = static_cast<uint8_t>(index(source[x]));
            break;
        case 16:
            for (int x = 0; x < width; ++x) {
                const uint32_t value = EncodeMasked(layout, source[x]);
                destination[2 * x] = static_cast<uint8_t>(value);
                destination[2 * x + 1] = static_cast<uint8_t>(value >> 8);
            }
            break;
        case 24:
            for (int x = 0; x < width; ++x) {
                destination[3 * x] = static_cast<uint8_t>(source[x]);
                destination[3 * x + 1] = static_cast<uint8_t>(source[x] >> 8);
                destination[3 * x + 2] = static_cast<uint8_t>(source[x] >> 16);
            }
            break;
        default:
            for (int x = 0; x < width; ++x) {
                const uint32_t value = IsStandard32(layout) ? (source[x] & 0xFFFFFF) : EncodeMasked(layout, source[x]);
                for (int k = 0; k < 4; ++k) destination[4 * x + k] = static_cast<uint8_t>(value >> (8 * k));
            }
            break;
    }
    // Padding bytes of the row are left zero.
    const size_t used = (static_cast<size_t>(width) * layout.bitsPerPixel + 7) / 8;
    if (layout.rowBytes > used) std::memset(destination + used, 0, layout.rowBytes - used);
}
