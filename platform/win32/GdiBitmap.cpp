// Bitmaps: device bitmaps, DIB sections (drawn into directly at 32 bits, through
// a converted copy at other depths) and their records.
#include "GdiBitmap.h"

#include <cstring>
#include <sstream>

#include "DeviceContext.h"
#include "DibFormat.h"

namespace {

bool ValidDepth(UINT bits) { return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32; }

// Reads device-bitmap rows (padded to 16 bits) of 1, 24 or 32 bits per pixel.
void ReadDeviceBits(GdiBitmap& bitmap, UINT bitsPerPixel, const uint8_t* bits) {
    const int width = bitmap.Width();
    const size_t rowBytes = (static_cast<size_t>(width) * bitsPerPixel + 15) / 16 * 2;
    for (int y = 0; y < bitmap.Height(); ++y) {
        const uint8_t* row = bits + rowBytes * static_cast<size_t>(y);
        uint32_t* out = bitmap.surface.Row(y);
        for (int x = 0; x < width; ++x) {
            if (bitsPerPixel == 1) {
                out[x] = ((row[x >> 3] >> (7 - (x & 7))) & 1) ? 0xFFFFFF : 0;
            } else if (bitsPerPixel == 24) {
                out[x] = static_cast<uint32_t>(row[3 * x + 2]) << 16 | static_cast<uint32_t>(row[3 * x + 1]) << 8 |
                         row[3 * x];
            } else if (bitsPerPixel == 32) {
                out[x] = static_cast<uint32_t>(row[4 * x + 2]) << 16 | static_cast<uint32_t>(row[4 * x + 1]) << 8 |
                         row[4 * x];
            }
        }
    }
}

HBITMAP Register(GdiBitmap* bitmap) {
    if (bitmap->surface.Empty()) {
        delete bitmap;
        return nullptr;
    }
    return static_cast<HBITMAP>(RegisterGdiObject(bitmap));
}

DibLayout SectionLayout(const GdiBitmap& bitmap) {
    DibLayout layout;
    ReadDibLayout(reinterpret_cast<const BITMAPINFO*>(bitmap.sectionInfo.data()), layout);
    return layout;
}

}  // namespace

GdiBitmap::GdiBitmap(int width, int height, int depth)
    : GdiObject(GdiKind::Bitmap), surface(width, height), bitsPerPixel(depth) {}

int GdiBitmap::RecordSize() const { return static_cast<int>(IsSection() ? sizeof(DIBSECTION) : sizeof(BITMAP)); }

void GdiBitmap::CopyRecord(void* buffer, int size) const {
    DIBSECTION record{};
    record.dsBm.bmWidth = Width();
    record.dsBm.bmHeight = Height();
    record.dsBm.bmPlanes = 1;
    record.dsBm.bmBitsPixel = static_cast<WORD>(bitsPerPixel);
    if (IsSection()) {
        const DibLayout layout = SectionLayout(*this);
        record.dsBm.bmWidthBytes = static_cast<LONG>(layout.rowBytes);
        record.dsBm.bmBits = const_cast<uint8_t*>(sectionBits.data());
        std::memcpy(&record.dsBmih, sectionInfo.data(), sizeof(BITMAPINFOHEADER));
        record.dsBmih.biSize = sizeof(BITMAPINFOHEADER);
        record.dsBitfields[0] = layout.redMask;
        record.dsBitfields[1] = layout.greenMask;
        record.dsBitfields[2] = layout.blueMask;
    } else {
        record.dsBm.bmWidthBytes = (Width() * bitsPerPixel + 15) / 16 * 2;
    }
    const size_t limit = static_cast<size_t>(RecordSize());
    std::memcpy(buffer, &record, static_cast<size_t>(size) < limit ? static_cast<size_t>(size) : limit);
}

std::string GdiBitmap::Describe() const {
    std::ostringstream out;
    out << "Bitmap(" << Width() << "x" << Height() << ", " << bitsPerPixel << ")";
    return out.str();
}

void GdiBitmap::PullSectionBits() {
    if (!IsConvertedSection()) return;
    const DibLayout layout = SectionLayout(*this);
    for (int scan = 0; scan < layout.height; ++scan)
        DecodeDibRow(layout, sectionBits.data() + layout.rowBytes * static_cast<size_t>(scan),
                     surface.Row(layout.SurfaceRow(scan)));
}

void GdiBitmap::PushSectionBits() {
    if (!IsConvertedSection()) return;
    const DibLayout layout = SectionLayout(*this);
    for (int scan = 0; scan < layout.height; ++scan)
        EncodeDibRow(layout, surface.Row(layout.SurfaceRow(scan)),
                     sectionBits.data() + layout.rowBytes * static_cast<size_t>(scan));
}

GdiBitmap* LookupBitmap(HGDIOBJ bitmap) { return LookupGdiObjectAs<GdiBitmap>(bitmap, GdiKind::Bitmap); }

GdiBitmap* StockBitmap() {
    static GdiBitmap* bitmap = [] {
        auto* made = new GdiBitmap(1, 1, 1);
        made->MakeStock("Bitmap(1x1, 1)");
        RegisterGdiObject(made);
        return made;
    }();
    return bitmap;
}

void BeginBitmapAccess(GdiBitmap& bitmap) {
    if (bitmap.selectedInto == nullptr) bitmap.PullSectionBits();
}

void EndBitmapAccess(GdiBitmap& bitmap, bool modified) {
    if (bitmap.selectedInto == nullptr && modified) bitmap.PushSectionBits();
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
    if (width < 1 || height < 1 || planes != 1 || !ValidDepth(bitsPerPixel)) return nullptr;
    auto* bitmap = new GdiBitmap(width, height, static_cast<int>(bitsPerPixel));
    if (bits != nullptr && !bitmap->surface.Empty())
        ReadDeviceBits(*bitmap, bitsPerPixel, static_cast<const uint8_t*>(bits));
    return Register(bitmap);
}

HBITMAP CreateBitmapIndirect(const BITMAP* record) {
    if (record == nullptr) return nullptr;
    return CreateBitmap(record->bmWidth, record->bmHeight, record->bmPlanes, record->bmBitsPixel, record->bmBits);
}

HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height) {
    if (LookupDeviceContext(dc) == nullptr || width < 1 || height < 1) return nullptr;
    return Register(new GdiBitmap(width, height, 32));
}

HBITMAP CreateDIBSection(HDC, const BITMAPINFO* info, UINT, void** bits, HANDLE, DWORD) {
    if (bits != nullptr) *bits = nullptr;
    DibLayout layout;
    if (!ReadDibLayout(info, layout)) return nullptr;
    auto* bitmap = new GdiBitmap(layout.width, layout.height, layout.bitsPerPixel);
    if (bitmap->surface.Empty()) {
        delete bitmap;
        return nullptr;
    }
    const auto* infoBytes = reinterpret_cast<const uint8_t*>(info);
    bitmap->sectionInfo.assign(infoBytes, infoBytes + DibInfoSize(info));
    bitmap->sectionBits.assign(layout.ImageBytes(), 0);
    const bool direct = layout.bitsPerPixel == 32 && layout.redMask == 0xFF0000 && layout.greenMask == 0xFF00 &&
                        layout.blueMask == 0xFF;
    if (direct) {
        auto* first = reinterpret_cast<uint32_t*>(bitmap->sectionBits.data());
        const std::ptrdiff_t stride = layout.width;
        bitmap->surface = layout.topDown
                              ? Surface(layout.width, layout.height, first, stride)
                              : Surface(layout.width, layout.height, first + (layout.height - 1) * stride, -stride);
        bitmap->sectionView = true;
    }
    if (bits != nullptr) *bits = bitmap->sectionBits.data();
    return static_cast<HBITMAP>(RegisterGdiObject(bitmap));
}
