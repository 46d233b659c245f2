// TMemBitmap: painting, printing, polygon tiling, drawing sessions, copies
// between bitmaps and device contexts, and the clipboard.
#include <algorithm>
#include <cstring>
#include <vector>

#include "DibBlock.h"
#include "MemBitmap.h"
#include "MemBitmapAccess.h"
#include "Printer.h"

using namespace dib_block;

namespace {

// A memory DC with the bitmap selected, or the open paint DC when the bitmap
// is selected there already.
class SourceDC {
public:
    SourceDC(HBITMAP bitmap, HDC paintDC) {
        if (paintDC != nullptr) {
            dc_ = paintDC;
            return;
        }
        dc_ = CreateCompatibleDC(nullptr);
        previous_ = SelectObject(dc_, bitmap);
        if (previous_ == nullptr) {
            DeleteDC(dc_);
            dc_ = nullptr;
        }
        owned_ = dc_ != nullptr;
    }
    ~SourceDC() {
        if (!owned_) return;
        SelectObject(dc_, previous_);
        DeleteDC(dc_);
    }
    SourceDC(const SourceDC&) = delete;
    SourceDC& operator=(const SourceDC&) = delete;
    HDC Get() const { return dc_; }

private:
    HDC dc_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    bool owned_ = false;
};

// a / b rounded toward minus infinity (b > 0).
long long FloorDivide(long long a, long long b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

}  // namespace

void TMemBitmap::PaintToDC(HDC dc, int x, int y, DWORD rop) {
    if (!Valid || GetDDB() == nullptr) return;
    SourceDC source(DDB, PaintDC);
    if (source.Get() != nullptr) BitBlt(dc, x, y, Width, Height, source.Get(), 0, 0, rop);
}

void TMemBitmap::PaintRectToDC(HDC dc, int x, int y, RECT rect, DWORD rop) {
    if (!Valid || GetDDB() == nullptr) return;
    SourceDC source(DDB, PaintDC);
    if (source.Get() != nullptr)
        BitBlt(dc, x, y, rect.right - rect.left + 1, rect.bottom - rect.top + 1, source.Get(), rect.left, rect.top,
               rop);
}

void TMemBitmap::StretchToDC(HDC dc, int x, int y, int width, int height, DWORD rop) {
    if (!Valid || GetDDB() == nullptr) return;
    SourceDC source(DDB, PaintDC);
    if (source.Get() != nullptr) StretchBlt(dc, x, y, width, height, source.Get(), 0, 0, Width, Height, rop);
}

void TMemBitmap::StretchRectToDC(HDC dc, RECT target, RECT rect, DWORD rop) {
    if (!Valid || GetDDB() == nullptr) return;
    SourceDC source(DDB, PaintDC);
    if (source.Get() != nullptr)
        StretchBlt(dc, target.left, target.top, target.right - target.left + 1, target.bottom - target.top + 1,
                   source.Get(), rect.left, rect.top, rect.right - rect.left + 1, rect.bottom - rect.top + 1, rop);
}

void TMemBitmap::StretchToPrinter(int x, int y, int width, int height, DWORD rop) {
    TPrinter* printer = Printer();
    if (!Valid || !printer->GetPrinting()) return;
    const bool madeDIB = DIB == nullptr;
    const uint8_t jpeg = IsJpeg;
    if (madeDIB) DIBCreate();
    {
        PixelAccess access(*this);
        if (access.Bits() != nullptr)
            StretchDIBits(printer->GetHandle(), x, y, width, height, 0, 0, Width, Height, access.Row(0),
                          reinterpret_cast<const BITMAPINFO*>(access.Bits()), DIB_RGB_COLORS, rop);
    }
    if (madeDIB) {
        const uint8_t keep = KeepDIB;
        FreeDIB();
        KeepDIB = keep;
        IsJpeg = jpeg;
    }
}

void TMemBitmap::PaintToPrinter(int x, int y, DWORD rop) { StretchToPrinter(x, y, Width, Height, rop); }

void TMemBitmap::FillPoly(HDC dc, POINT* points, int count, DWORD rop, bool stretch, int width, int height) {
    if (!Valid || points == nullptr || count < 1) return;
    if (width == Width && height == Height) stretch = false;
    const long long tileWidth = stretch ? width : Width;
    const long long tileHeight = stretch ? height : Height;
    if (tileWidth <= 0 || tileHeight <= 0) return;

    long long minX = points[0].x, maxX = points[0].x, minY = points[0].y, maxY = points[0].y;
    for (int i = 1; i < count; ++i) {
        minX = std::min<long long>(minX, points[i].x);
        maxX = std::max<long long>(maxX, points[i].x);
        minY = std::min<long long>(minY, points[i].y);
        maxY = std::max<long long>(maxY, points[i].y);
    }
    // The clip region is in device coordinates; the caller's points stay as given.
    POINT origin{0, 0};
    GetViewportOrgEx(dc, &origin);
    std::vector<POINT> devicePoints(points, points + count);
    for (POINT& point : devicePoints) {
        point.x += origin.x;
        point.y += origin.y;
    }
    HRGN polygon = CreatePolygonRgn(devicePoints.data(), count, WINDING);
    HRGN previous = CreateRectRgn(0, 0, 0, 0);
    const bool hadClip = GetClipRgn(dc, previous) == 1;
    if (hadClip) CombineRgn(polygon, polygon, previous, RGN_AND);
    SelectClipRgn(dc, polygon);

    // Tiles sit on a grid of multiples of the tile size; only those meeting the
    // visible area are drawn, so far-away points cannot make the loop long.
    RECT visible{0, 0, 0, 0};
    GetClipBox(dc, &visible);
    const long long left = std::max(FloorDivide(minX, tileWidth), FloorDivide(visible.left, tileWidth));
    const long long top = std::max(FloorDivide(minY, tileHeight), FloorDivide(visible.top, tileHeight));
    const long long right = std::min(FloorDivide(maxX, tileWidth), FloorDivide(visible.right - 1LL, tileWidth));
    const long long bottom = std::min(FloorDivide(maxY, tileHeight), FloorDivide(visible.bottom - 1LL, tileHeight));
    if (visible.right > visible.left && visible.bottom > visible.top) {
        for (long long row = top; row <= bottom; ++row) {
            for (long long column = left; column <= right; ++column) {
                const int x = int(column * tileWidth);
                const int y = int(row * tileHeight);
                if (stretch)
                    StretchToDC(dc, x, y, int(tileWidth), int(tileHeight), SRCCOPY);
                else
                    PaintToDC(dc, x, y, rop);
            }
        }
    }
    SelectClipRgn(dc, hadClip ? previous : nullptr);
    DeleteObject(polygon);
    DeleteObject(previous);
}

HDC TMemBitmap::BeginPaint(bool keepContent, HDC reference) {
    if (PaintDC != nullptr) return nullptr;
    GetDDB();
    if (DDB == nullptr && reference == nullptr) return nullptr;
    PaintDC = CreateCompatibleDC(reference);
    if (PaintDC == nullptr) return nullptr;
    if (reference != nullptr) {
        HBITMAP fresh = CreateCompatibleBitmap(reference, std::max(Width, 1), std::max(Height, 1));
        if (fresh == nullptr) {
            DeleteDC(PaintDC);
            PaintDC = nullptr;
            return nullptr;
        }
        SelectObject(PaintDC, fresh);
        if (keepContent && DDB != nullptr) {
            HDC source = CreateCompatibleDC(nullptr);
            HGDIOBJ old = SelectObject(source, DDB);
            BitBlt(PaintDC, 0, 0, Width, Height, source, 0, 0, SRCCOPY);
            SelectObject(source, old);
            DeleteDC(source);
        }
        if (DDB != nullptr) DeleteObject(DDB);
        DDB = fresh;
    } else if (SelectObject(PaintDC, DDB) == nullptr) {
        DeleteDC(PaintDC);
        PaintDC = nullptr;
        return nullptr;
    }
    if (!keepContent) {
        HGDIOBJ pen = SelectObject(PaintDC, GetStockObject(BLACK_PEN));
        HGDIOBJ brush = SelectObject(PaintDC, GetStockObject(BLACK_BRUSH));
        Rectangle(PaintDC, 0, 0, Width, Height);
        SelectObject(PaintDC, pen);
        SelectObject(PaintDC, brush);
    }
    return PaintDC;
}

void TMemBitmap::EndPaint() {
    if (PaintDC == nullptr) return;
    if (KeepDIB && DIB != nullptr && DDB != nullptr) {
        PixelAccess access(*this);
        // GetDIBits may fill in header fields; the block's own header is kept.
        uint8_t header[kInfoHeaderSize];
        std::memcpy(header, access.Bits(), sizeof(header));
        GetDIBits(PaintDC, DDB, 0, UINT(Height), access.Row(0), reinterpret_cast<BITMAPINFO*>(access.Bits()),
                  DIB_RGB_COLORS);
        std::memcpy(access.Bits(), header, sizeof(header));
    }
    DeleteDC(PaintDC);
    PaintDC = nullptr;
}

// ---- Copies ----

void TMemBitmap::CopyDeviceBitmap(HBITMAP source, int width, int height) {
    HDC screen = GetDC(nullptr);
    DDB = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    if (DDB == nullptr) return;
    HDC from = CreateCompatibleDC(nullptr);
    HDC to = CreateCompatibleDC(nullptr);
    HGDIOBJ oldFrom = SelectObject(from, source);
    HGDIOBJ oldTo = SelectObject(to, DDB);
    if (oldFrom != nullptr && oldTo != nullptr) BitBlt(to, 0, 0, width, height, from, 0, 0, SRCCOPY);
    if (oldFrom != nullptr) SelectObject(from, oldFrom);
    if (oldTo != nullptr) SelectObject(to, oldTo);
    DeleteDC(from);
    DeleteDC(to);
}

void TMemBitmap::Assign(const TMemBitmap* source) {
    if (source == nullptr || source == this) return;
    const int locks = LockCount;
    ClearPicture();
    if (source->KeepDIB && source->DIB != nullptr && KeepDIB) {
        const SIZE_T size = GlobalSize(source->DIB);
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
        if (block == nullptr) return;
        std::memcpy(GlobalLock(block), GlobalLock(source->DIB), size);
        GlobalUnlock(source->DIB);
        GlobalUnlock(block);
        DIB = block;
        Valid = source->Valid;
    } else if (source->DDB != nullptr) {
        CopyDeviceBitmap(source->DDB, source->Width, source->Height);
        Valid = DDB != nullptr ? source->Valid : 0;
        if (!Valid) return;
    } else if (source->DIB != nullptr && source->Valid) {
        // The source has not made its device bitmap yet: make ours from its DIB.
        DDB = MakeDeviceBitmap(static_cast<const uint8_t*>(GlobalLock(source->DIB)),
                               RowsOffset(source->BitCount, source->Gap));
        GlobalUnlock(source->DIB);
        Valid = DDB != nullptr;
        if (!Valid) return;
    }
    BitCount = source->BitCount;
    Width = source->Width;
    Height = source->Height;
    LineSize = source->LineSize;
    IsJpeg = source->IsJpeg;
    JpegQuality = source->JpegQuality;
    Gap = source->Gap;
    LockCount = locks;
    SetLockState();
}

void TMemBitmap::Assign(HBITMAP bitmap) {
    ClearPicture();
    BITMAP record{};
    if (bitmap == nullptr || GetObject(bitmap, sizeof(record), &record) == 0) return;
    if (KeepDIB) {
        // DIBCreate reads the device bitmap this bitmap holds: borrow the caller's.
        DDB = bitmap;
        DIBCreate();
        DDB = nullptr;
        if (DIB == nullptr) return;
        Gap = 0;
    } else {
        CopyDeviceBitmap(bitmap, record.bmWidth, record.bmHeight);
        Valid = DDB != nullptr;
        Width = record.bmWidth;
        Height = record.bmHeight;
    }
}

void TMemBitmap::CopyFromDC(HDC dc, int x, int y, int width, int height) {
    const int64_t size = NewBlockSize(width, height, 24);
    if (size < 0) return;
    HDC source = dc != nullptr ? dc : GetDC(nullptr);
    HDC memory = CreateCompatibleDC(source);
    HBITMAP grab = CreateCompatibleBitmap(source, width, height);
    HGLOBAL block = grab != nullptr ? GlobalAlloc(GHND, SIZE_T(size)) : nullptr;
    if (block != nullptr) {
        HGDIOBJ old = SelectObject(memory, grab);
        BitBlt(memory, 0, 0, width, height, source, x, y, SRCCOPY);
        SelectObject(memory, old);
        auto* bits = static_cast<uint8_t*>(GlobalLock(block));
        WriteInfoHeader(bits, width, height, 24);
        GetDIBits(memory, grab, 0, UINT(height), bits + kInfoHeaderSize, reinterpret_cast<BITMAPINFO*>(bits),
                  DIB_RGB_COLORS);
        GlobalUnlock(block);
    }
    DeleteDC(memory);
    if (grab != nullptr) DeleteObject(grab);
    if (dc == nullptr) ReleaseDC(nullptr, source);
    if (block == nullptr) return;
    if (DDB != nullptr) DeleteObject(DDB);
    DDB = nullptr;
    IsJpeg = 0;
    InstallDIB(block, width, height, 24, 0);
}

// ---- Clipboard ----

void TMemBitmap::CopyToClipboard() {
    if (!Valid) return;
    std::vector<uint8_t> bytes;
    if (!EncodeBmp(bytes)) return;
    const size_t size = bytes.size() - kFileHeaderSize;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (block == nullptr) return;
    std::memcpy(GlobalLock(block), bytes.data() + kFileHeaderSize, size);
    GlobalUnlock(block);
    if (!OpenClipboard(nullptr)) {
        GlobalFree(block);
        return;
    }
    EmptyClipboard();
    if (SetClipboardData(CF_DIB, block) == nullptr) GlobalFree(block);
    CloseClipboard();
}

bool TMemBitmap::CopyFromClipboard() {
    if (!IsClipboardFormatAvailable(CF_DIB) || !OpenClipboard(nullptr)) return false;
    HGLOBAL held = GetClipboardData(CF_DIB);
    const SIZE_T size = held != nullptr ? GlobalSize(held) : 0;
    const auto* data = held != nullptr ? static_cast<const uint8_t*>(GlobalLock(held)) : nullptr;
    std::vector<uint8_t> bytes;
    if (data != nullptr && size >= SIZE_T(kInfoHeaderSize) && int64_t(size) <= kMaximumBlockSize)
        bytes.assign(data, data + size);
    if (data != nullptr) GlobalUnlock(held);
    CloseClipboard();
    if (bytes.empty()) return false;
    // A packed DIB's rows follow its colour table (or masks) directly.
    const uint32_t headerSize = ReadU32(bytes.data());
    const int bitCount = HeaderBitCount(bytes.data());
    const bool masks = bitCount == 16 && HeaderCompression(bytes.data()) == BI_BITFIELDS;
    const int64_t tableBytes =
        masks ? (headerSize == uint32_t(kInfoHeaderSize) ? kMaskBytes : 0) : 4 * int64_t(TableEntries(bytes.data()));
    const int64_t gap = int64_t(headerSize) - kInfoHeaderSize + tableBytes - PaletteSizeFor(bitCount);
    if (headerSize > bytes.size() || !InstallDIBBytes(bytes, int(gap))) return false;
    IsJpeg = 0;
    FinishLoad();
    return Valid != 0;
}
