// Moving pixels between DIBs and bitmaps or devices: GetDIBits, SetDIBits,
// CreateDIBitmap, SetDIBitsToDevice, StretchDIBits and LoadBitmapA.
#include <algorithm>
#include <cstring>
#include <vector>

#include "BlitEngine.h"
#include "DibFormat.h"
#include "GdiBitmap.h"
#include "Module.h"

namespace {

// Bitmap row of DIB scan line s: bottom-up scans count from the bitmap's bottom.
LONG BitmapRow(const DibLayout& layout, const GdiBitmap& bitmap, LONG scan) {
    return layout.topDown ? scan : bitmap.Height() - 1 - scan;
}

// DIB rows [top, bottom) (picture rows counted from the top) decoded into a
// surface; only rows present among the stored scan lines are decoded.
struct DecodedRows {
    Surface pixels;
    SourceView view;
    RECT bounds{0, 0, 0, 0};  // picture coordinates holding decoded pixels
};

void DecodeRows(const DibLayout& layout, const uint8_t* bits, LONG firstScan, LONG scanCount, LONG top, LONG bottom,
                DecodedRows& out) {
    // Rows present: scans [firstScan, firstScan + scanCount) within the picture.
    const LONG lastScan = std::min<LONG>(firstScan + scanCount, layout.height);
    if (firstScan >= lastScan) return;
    LONG presentTop = layout.topDown ? firstScan : layout.height - lastScan;
    LONG presentBottom = layout.topDown ? lastScan : layout.height - firstScan;
    presentTop = std::max(presentTop, std::max<LONG>(top, 0));
    presentBottom = std::min(presentBottom, std::min<LONG>(bottom, layout.height));
    if (presentTop >= presentBottom) return;
    out.pixels = Surface(layout.width, presentBottom - presentTop);
    if (out.pixels.Empty()) return;
    for (LONG row = presentTop; row < presentBottom; ++row) {
        const LONG scan = layout.topDown ? row : layout.height - 1 - row;
        DecodeDibRow(layout, bits + layout.rowBytes * static_cast<size_t>(scan - firstScan),
                     out.pixels.Row(row - presentTop));
    }
    out.view.surface = &out.pixels;
    out.view.origin = POINT{0, -presentTop};
    out.bounds = RECT{0, presentTop, layout.width, presentBottom};
}

// Picture rows (from the top) of a source rectangle given from the DIB's origin
// (lower-left for bottom-up DIBs); a negative height mirrors.
void SourceRows(const DibLayout& layout, LONG ySrc, LONG height, LONG& top, LONG& bottom) {
    if (layout.topDown) {
        top = ySrc;
        bottom = ySrc + height;
    } else {
        top = layout.height - ySrc - height;
        bottom = layout.height - ySrc;
    }
}

uint32_t ReadLittleEndian(const uint8_t* bytes, int size) {
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = value << 8 | bytes[i];
    return value;
}

}  // namespace

int GetDIBits(HDC, HBITMAP bitmapHandle, UINT start, UINT lines, void* bits, BITMAPINFO* info, UINT) {
    GdiBitmap* bitmap = LookupBitmap(bitmapHandle);
    if (bitmap == nullptr || info == nullptr) return 0;
    BITMAPINFOHEADER& header = info->bmiHeader;
    if (bits == nullptr) {
        if (header.biSize < sizeof(BITMAPINFOHEADER)) return 0;
        if (header.biBitCount == 0) {
            header.biBitCount = 32;
            header.biCompression = BI_RGB;
        }
        header.biWidth = bitmap->Width();
        header.biHeight = bitmap->Height();
        header.biPlanes = 1;
        header.biSizeImage = static_cast<DWORD>((static_cast<size_t>(header.biWidth) * header.biBitCount + 31) / 32 *
                                                4 * static_cast<size_t>(header.biHeight));
        return bitmap->Height();
    }
    DibLayout layout;
    if (!ReadDibLayout(info, layout)) return 0;
    BeginBitmapAccess(*bitmap);
    std::vector<uint32_t> row(static_cast<size_t>(layout.width));
    auto* out = static_cast<uint8_t*>(bits);
    int copied = 0;
    const LONG end = static_cast<LONG>(std::min<long long>(static_cast<long long>(start) + lines, layout.height));
    for (LONG scan = static_cast<LONG>(std::min<UINT>(start, static_cast<UINT>(layout.height))); scan < end; ++scan) {
        const LONG source = BitmapRow(layout, *bitmap, scan);
        std::fill(row.begin(), row.end(), 0);
        if (source >= 0 && source < bitmap->Height())
            std::copy_n(bitmap->surface.Row(source), std::min(layout.width, bitmap->Width()), row.begin());
        EncodeDibRow(layout, row.data(), out + layout.rowBytes * static_cast<size_t>(scan - static_cast<LONG>(start)));
        ++copied;
    }
    EndBitmapAccess(*bitmap, false);
    return copied;
}

int SetDIBits(HDC, HBITMAP bitmapHandle, UINT start, UINT lines, const void* bits, const BITMAPINFO* info, UINT) {
    GdiBitmap* bitmap = LookupBitmap(bitmapHandle);
    DibLayout layout;
    if (bitmap == nullptr || bits == nullptr || !ReadDibLayout(info, layout)) return 0;
    BeginBitmapAccess(*bitmap);
    std::vector<uint32_t> row(static_cast<size_t>(layout.width));
    const auto* in = static_cast<const uint8_t*>(bits);
    int written = 0;
    const LONG end = static_cast<LONG>(std::min<long long>(static_cast<long long>(start) + lines, layout.height));
    for (LONG scan = static_cast<LONG>(std::min<UINT>(start, static_cast<UINT>(layout.height))); scan < end; ++scan) {
        DecodeDibRow(layout, in + layout.rowBytes * static_cast<size_t>(scan - static_cast<LONG>(start)), row.data());
        const LONG target = BitmapRow(layout, *bitmap, scan);
        if (target >= 0 && target < bitmap->Height())
            std::copy_n(row.begin(), std::min(layout.width, bitmap->Width()), bitmap->surface.Row(target));
        ++written;
    }
    EndBitmapAccess(*bitmap, true);
    return written;
}

HBITMAP CreateDIBitmap(HDC dc, const BITMAPINFOHEADER* header, DWORD init, const void* bits, const BITMAPINFO* info,
                       UINT usage) {
    if (header == nullptr || header->biWidth <= 0 || header->biHeight == 0) return nullptr;
    const LONG height = header->biHeight < 0 ? -header->biHeight : header->biHeight;
    HDC screen = dc != nullptr ? dc : GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, header->biWidth, height);
    if (screen != dc) ReleaseDC(nullptr, screen);
    if (bitmap != nullptr && (init & CBM_INIT) != 0 && bits != nullptr && info != nullptr) {
        if (SetDIBits(dc, bitmap, 0, static_cast<UINT>(height), bits, info, usage) == 0) {
            DeleteObject(bitmap);
            return nullptr;
        }
    }
    return bitmap;
}

int SetDIBitsToDevice(HDC handle, int xDest, int yDest, DWORD width, DWORD height, int xSrc, int ySrc, UINT startScan,
                      UINT lines, const void* bits, const BITMAPINFO* info, UINT) {
    DeviceContext* dc = LookupDeviceContext(handle);
    Trace(dc, "SetDIBitsToDevice", xDest, yDest, width, height, xSrc, ySrc, startScan, lines);
    DibLayout layout;
    if (dc == nullptr || bits == nullptr || !ReadDibLayout(info, layout)) return 0;
    const LONG w = static_cast<LONG>(std::min<DWORD>(width, 1u << 30));
    const LONG h = static_cast<LONG>(std::min<DWORD>(height, 1u << 30));
    LONG top, bottom;
    SourceRows(layout, ySrc, h, top, bottom);
    DecodedRows decoded;
    DecodeRows(layout, static_cast<const uint8_t*>(bits), static_cast<LONG>(startScan), static_cast<LONG>(lines), top,
               bottom, decoded);
    if (decoded.view.surface != nullptr) {
        const POINT at = dc->ToDevice(xDest, yDest);
        TransferPixels(*dc, decoded.view, decoded.bounds, RECT{at.x, at.y, at.x + w, at.y + h},
                       RECT{xSrc, top, xSrc + w, bottom}, SRCCOPY);
    }
    return static_cast<int>(std::min<LONG>(static_cast<LONG>(lines), layout.height));
}

int StretchDIBits(HDC handle, int xDest, int yDest, int destWidth, int destHeight, int xSrc, int ySrc, int srcWidth,
                  int srcHeight, const void* bits, const BITMAPINFO* info, UINT, DWORD rop) {
    DeviceContext* dc = LookupDeviceContext(handle);
    Trace(dc, "StretchDIBits", xDest, yDest, destWidth, destHeight, xSrc, ySrc, srcWidth, srcHeight,
          TraceColour{rop});
    DibLayout layout;
    if (dc == nullptr || bits == nullptr || !ReadDibLayout(info, layout)) return 0;
    LONG top, bottom;
    // A negative source height takes the same rows as its size would, flipped.
    SourceRows(layout, ySrc, srcHeight < 0 ? -srcHeight : srcHeight, top, bottom);
    DecodedRows decoded;
    DecodeRows(layout, static_cast<const uint8_t*>(bits), 0, layout.height, top, bottom, decoded);
    if (decoded.view.surface != nullptr) {
        const POINT at = dc->ToDevice(xDest, yDest);
        const RECT from = srcHeight >= 0 ? RECT{xSrc, top, xSrc + srcWidth, bottom}
                                         : RECT{xSrc, bottom - 1, xSrc + srcWidth, top - 1};
        TransferPixels(*dc, decoded.view, decoded.bounds, RECT{at.x, at.y, at.x + destWidth, at.y + destHeight}, from,
                       rop);
    }
    return srcHeight;
}

HBITMAP LoadBitmapA(HMODULE module, LPCSTR name) {
    HRSRC resource = FindResourceA(module, name, RT_BITMAP);
    if (resource == nullptr) return nullptr;
    const auto* data = static_cast<const uint8_t*>(LockResource(LoadResource(module, resource)));
    const size_t size = SizeofResource(module, resource);
    if (data == nullptr || size < sizeof(BITMAPINFOHEADER)) return nullptr;
    // The packed DIB is read field by field into a header of our own.
    BITMAPINFOHEADER header{};
    header.biSize = ReadLittleEndian(data, 4);
    header.biWidth = static_cast<LONG>(ReadLittleEndian(data + 4, 4));
    header.biHeight = static_cast<LONG>(ReadLittleEndian(data + 8, 4));
    header.biPlanes = static_cast<WORD>(ReadLittleEndian(data + 12, 2));
    header.biBitCount = static_cast<WORD>(ReadLittleEndian(data + 14, 2));
    header.biCompression = ReadLittleEndian(data + 16, 4);
    header.biSizeImage = ReadLittleEndian(data + 20, 4);
    header.biClrUsed = ReadLittleEndian(data + 32, 4);
    if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biSize > size || header.biBitCount > 32) return nullptr;
    size_t tableBytes = 0;
    if (header.biBitCount <= 8) {
        if (header.biClrUsed > 256) return nullptr;
        tableBytes = 4 * static_cast<size_t>(header.biClrUsed != 0 ? header.biClrUsed : 1u << header.biBitCount);
    } else if (header.biCompression == BI_BITFIELDS) {
        tableBytes = 12;
    }
    // Colour tables follow the header; masks sit at byte 40 whether they follow a
    // 40-byte header or lie inside a larger one.
    const bool masks = header.biBitCount > 8 && header.biCompression == BI_BITFIELDS;
    const size_t tableOffset = masks ? sizeof(BITMAPINFOHEADER) : header.biSize;
    const size_t pixelOffset = std::max<size_t>(header.biSize, tableOffset + tableBytes);
    if (pixelOffset > size) return nullptr;
    header.biSize = sizeof(BITMAPINFOHEADER);
    std::vector<uint32_t> infoStorage((sizeof(BITMAPINFOHEADER) + tableBytes + 3) / 4 + 1);
    auto* info = reinterpret_cast<BITMAPINFO*>(infoStorage.data());
    info->bmiHeader = header;
    std::memcpy(reinterpret_cast<uint8_t*>(info) + sizeof(BITMAPINFOHEADER), data + tableOffset, tableBytes);
    DibLayout layout;
    if (!ReadDibLayout(info, layout) || layout.ImageBytes() > size - pixelOffset) return nullptr;
    return CreateDIBitmap(nullptr, &info->bmiHeader, CBM_INIT, data + pixelOffset, info, DIB_RGB_COLORS);
}
