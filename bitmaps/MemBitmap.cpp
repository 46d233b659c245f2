// TMemBitmap: construction, the DIB and device bitmap, locks, palette and pixels.
#include "MemBitmap.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "DibBlock.h"
#include "MemBitmapAccess.h"

using namespace dib_block;

namespace {

TMemBitmap::StaleViewHandler staleViewHandler = nullptr;

#ifndef NDEBUG
void AbortOnStaleView(const TMemBitmap&) {
    std::fprintf(stderr, "TMemBitmap: the DIB was replaced while a pixel view of it was still in use\n");
    std::abort();
}
#endif

}  // namespace

TMemBitmap::TMemBitmap() = default;

TMemBitmap::TMemBitmap(const TString& path) { LoadFromFile(path, -1); }

TMemBitmap::TMemBitmap(int width, int height, int bpp, bool keepDIB) : KeepDIB(keepDIB ? 1 : 0) {
    NewBitmap(width, height, bpp);
}

TMemBitmap::TMemBitmap(const TMemBitmap& source) { Assign(&source); }

TMemBitmap& TMemBitmap::operator=(const TMemBitmap& source) {
    if (this != &source) Assign(&source);
    return *this;
}

TMemBitmap::~TMemBitmap() {
    if (PaintDC != nullptr) {
        DeleteDC(PaintDC);
        PaintDC = nullptr;
    }
    ViewLockCount = 0;
    FreeHandlers();
}

TMemBitmap::StaleViewHandler TMemBitmap::SetStaleViewHandler(StaleViewHandler handler) {
    StaleViewHandler previous = staleViewHandler;
    staleViewHandler = handler;
    return previous;
}

void TMemBitmap::ReportStaleView() const {
#ifndef NDEBUG
    if (DIB != nullptr && std::min(ViewLockCount, LockCount) > 0)
        (staleViewHandler != nullptr ? staleViewHandler : AbortOnStaleView)(*this);
#endif
}

bool TMemBitmap::NewBitmap(int width, int height, int bpp) {
    if (!KeepDIB) {
        FreeHandlers();
        HDC screen = GetDC(nullptr);
        DDB = width > 0 && height > 0 ? CreateCompatibleBitmap(screen, width, height) : nullptr;
        ReleaseDC(nullptr, screen);
        Valid = DDB != nullptr;
        Width = width;
        Height = height;
        return Valid;
    }
    // A new block replaces the old one; a caller's lock carries over to it.
    const bool paintable = int64_t(width) * height <= kMaximumDevicePixels;
    const int64_t size = bpp == 16 || !paintable ? -1 : NewBlockSize(width, height, bpp);
    HGLOBAL block = size > 0 ? GlobalAlloc(GHND, SIZE_T(size)) : nullptr;
    if (block == nullptr) {
        ClearPicture();
        return false;
    }
    WriteInfoHeader(static_cast<uint8_t*>(GlobalLock(block)), width, height, bpp);
    GlobalUnlock(block);
    InstallDIB(block, width, height, bpp, 0);
    return Valid;
}

void TMemBitmap::InstallDIB(HGLOBAL block, int width, int height, int bitCount, int gap) {
    ReleaseDIB();
    if (DDB != nullptr) DeleteObject(DDB);
    DDB = nullptr;
    DIB = block;
    Width = width;
    Height = height;
    BitCount = bitCount;
    Gap = gap;
    LineSize = LineSizeFor(width, bitCount);
    Valid = int64_t(width) * height <= kMaximumDevicePixels;
    SetLockState();
}

bool TMemBitmap::InstallDIBBlock(HGLOBAL block, int gap) {
    DibShape shape;
    size_t size = GlobalSize(block);
    const bool prepared = PrepareDib(static_cast<uint8_t*>(GlobalLock(block)), size, gap, shape);
    GlobalUnlock(block);
    // A longer header was dropped in place: the block ends where the rows do.
    HGLOBAL exact = prepared && size < GlobalSize(block) ? GlobalReAlloc(block, size, GMEM_MOVEABLE) : block;
    if (!prepared || exact == nullptr) {
        GlobalFree(block);
        return false;
    }
    InstallDIB(exact, shape.width, shape.height, shape.bitCount, gap);
    return Valid != 0;
}

bool TMemBitmap::InstallDIBBytes(std::vector<uint8_t>& bytes, int gap) {
    HGLOBAL block = bytes.empty() ? nullptr : GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (block == nullptr) return false;
    std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
    GlobalUnlock(block);
    return InstallDIBBlock(block, gap);
}

uint8_t* TMemBitmap::RowAt(uint8_t* bits, int row) const {
    return bits + RowsOffset(BitCount, Gap) + std::ptrdiff_t(row) * LineSize;
}

HBITMAP TMemBitmap::GetDDB() {
    if (DDB == nullptr && DIB != nullptr && Valid) DDBCreate();
    return DDB;
}

void TMemBitmap::DropDeviceCopy() {
    if (!KeepDIB || DIB == nullptr || DDB == nullptr || PaintDC != nullptr) return;
    DeleteObject(DDB);
    DDB = nullptr;
}

void TMemBitmap::DDBCreate() {
    if (!Valid || DIB == nullptr) return;
    if (DDB != nullptr) DeleteObject(DDB);
    DDB = nullptr;
    PixelAccess access(*this);
    DDB = MakeDeviceBitmap(access.Bits(), RowsOffset(BitCount, Gap));
    if (DDB == nullptr) Valid = 0;
}

void TMemBitmap::DIBCreate() {
    if (DDB == nullptr) return;
    BITMAP record{};
    GetObject(DDB, sizeof(record), &record);
    const int64_t size = NewBlockSize(record.bmWidth, record.bmHeight, 24);
    HGLOBAL block = size > 0 ? GlobalAlloc(GHND, SIZE_T(size)) : nullptr;
    if (block == nullptr) {
        DeleteObject(DDB);
        DDB = nullptr;
        Valid = 0;
        return;
    }
    auto* bits = static_cast<uint8_t*>(GlobalLock(block));
    WriteInfoHeader(bits, record.bmWidth, record.bmHeight, 24);
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, DDB, 0, UINT(record.bmHeight), bits + kInfoHeaderSize, reinterpret_cast<BITMAPINFO*>(bits),
              DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    GlobalUnlock(block);
    ReleaseDIB();
    DIB = block;
    Width = record.bmWidth;
    Height = record.bmHeight;
    BitCount = 24;
    Gap = 0;
    LineSize = LineSizeFor(Width, 24);
    IsJpeg = 0;
    Valid = 1;
    SetLockState();
}

void TMemBitmap::Refresh() {
    if (KeepDIB) DropDeviceCopy();
}

void TMemBitmap::ReleaseDIB() {
    ReportStaleView();
    if (DIB != nullptr) {
        if (LockedBits != nullptr) GlobalUnlock(DIB);
        GlobalFree(DIB);
    }
    DIB = nullptr;
    LockedBits = nullptr;
}

void TMemBitmap::FreeDIB() {
    GetDDB();
    ReleaseDIB();
    KeepDIB = 0;
}

void TMemBitmap::FreeHandlers() {
    ReleaseDIB();
    if (DDB != nullptr) {
        DeleteObject(DDB);
        DDB = nullptr;
    }
    LockCount = 0;
    ViewLockCount = 0;
}

void TMemBitmap::ClearPicture() {
    FreeHandlers();
    Valid = 0;
}

void TMemBitmap::FinishLoad() {
    AdjustLineSize();
    if (!KeepDIB && DIB != nullptr) {
        GetDDB();
        GlobalFree(DIB);
        DIB = nullptr;
    }
    SetLockState();
}

// ---- Locks ----

void* TMemBitmap::Lock() {
    if (LockCount == 0 && DIB != nullptr) LockedBits = static_cast<uint8_t*>(GlobalLock(DIB));
    ++LockCount;
    DropDeviceCopy();
    return LockedBits;
}

bool TMemBitmap::Unlock() {
    if (LockCount <= 0) return false;
    DropDeviceCopy();
    if (--LockCount == 0) {
        if (LockedBits != nullptr && DIB != nullptr) GlobalUnlock(DIB);
        LockedBits = nullptr;
    }
    ViewLockCount = std::min(ViewLockCount, LockCount);
    return LockCount > 0;
}

void TMemBitmap::TotalUnlock() {
    while (Unlock()) {
    }
}

void TMemBitmap::SetLockState() {
    if (LockCount > 0 && DIB != nullptr) {
        if (LockedBits == nullptr) LockedBits = static_cast<uint8_t*>(GlobalLock(DIB));
    } else {
        if (LockedBits != nullptr && DIB != nullptr) GlobalUnlock(DIB);
        LockedBits = nullptr;
    }
}

void TMemBitmap::AdjustLineSize() {
    if (Valid) LineSize = LineSizeFor(Width, BitCount);
}

// ---- Palette ----

int TMemBitmap::PaletteSize() const { return PaletteSizeFor(BitCount); }

int TMemBitmap::GetPaletteEntry(int i) {
    PixelAccess access(*this);
    if (access.Bits() == nullptr || PaletteSize() == 0 || i < 0 || i >= TableEntries(access.Bits())) return 0;
    return int(ReadU32(access.Bits() + kInfoHeaderSize + 4 * i));
}

void TMemBitmap::SetPaletteEntry(int i, RGBQUAD entry) {
    {
        PixelAccess access(*this);
        if (access.Bits() == nullptr || PaletteSize() == 0 || i < 0 || i >= TableEntries(access.Bits())) return;
        uint8_t* quad = access.Bits() + kInfoHeaderSize + 4 * i;
        quad[0] = entry.rgbBlue;
        quad[1] = entry.rgbGreen;
        quad[2] = entry.rgbRed;
        quad[3] = entry.rgbReserved;
    }
    Refresh();
}

void TMemBitmap::SetPaletteEntry(int i, int red, int green, int blue) {
    RGBQUAD entry{BYTE(blue), BYTE(green), BYTE(red), 0};
    SetPaletteEntry(i, entry);
}

void TMemBitmap::SetPalette(const RGBQUAD* entries) {
    {
        PixelAccess access(*this);
        if (access.Bits() == nullptr || PaletteSize() == 0 || entries == nullptr) return;
        const int count = TableEntries(access.Bits());
        for (int i = 0; i < count; ++i) {
            uint8_t* quad = access.Bits() + kInfoHeaderSize + 4 * i;
            quad[0] = entries[i].rgbBlue;
            quad[1] = entries[i].rgbGreen;
            quad[2] = entries[i].rgbRed;
            quad[3] = entries[i].rgbReserved;
        }
    }
    Refresh();
}

bool TMemBitmap::GetPalette(RGBQUAD* entries) {
    PixelAccess access(*this);
    if (access.Bits() == nullptr || PaletteSize() == 0 || entries == nullptr) return false;
    const int count = TableEntries(access.Bits());
    for (int i = 0; i < PaletteSize() / 4; ++i) {
        const uint8_t* quad = access.Bits() + kInfoHeaderSize + 4 * i;
        entries[i] = i < count ? RGBQUAD{quad[0], quad[1], quad[2], quad[3]} : RGBQUAD{0, 0, 0, 0};
    }
    return true;
}

void TMemBitmap::CreateGrayPalette() {
    {
        PixelAccess access(*this);
        if (access.Bits() == nullptr || PaletteSize() == 0) return;
        const int entries = PaletteSize() / 4;
        const int step = 255 / (entries - 1);
        const int count = TableEntries(access.Bits());
        for (int i = 0; i < count; ++i) {
            uint8_t* quad = access.Bits() + kInfoHeaderSize + 4 * i;
            quad[0] = quad[1] = quad[2] = uint8_t(i * step);
        }
    }
    Refresh();
}

void TMemBitmap::CopyPalette(TMemBitmap& target) {
    if (PaletteSize() == 0 || target.BitCount != BitCount || &target == this) return;
    PixelAccess source(*this);
    PixelAccess destination(target);
    if (source.Bits() == nullptr || destination.Bits() == nullptr) return;
    const int count = std::min(TableEntries(source.Bits()), TableEntries(destination.Bits()));
    std::memcpy(destination.Bits() + kInfoHeaderSize, source.Bits() + kInfoHeaderSize, size_t(count) * 4);
    target.DropDeviceCopy();
}

// ---- Pixels ----

int TMemBitmap::GetPixel(int x, int y) {
    if (x < 0 || y < 0 || x >= Width || y >= Height) return 0;
    if (DIB == nullptr) {
        HDC dc = PaintDC;
        const bool opened = dc == nullptr;
        if (opened) dc = BeginPaint(true, nullptr);
        if (dc == nullptr) return 0;
        const COLORREF colour = ::GetPixel(dc, x, y);
        if (opened) EndPaint();
        return int(colour);
    }
    PixelAccess access(*this);
    if (access.Bits() == nullptr) return 0;
    const uint32_t bits = ReadPixelBits(access.Row(Height - 1 - y), x, BitCount);
    if (BitCount == 16) return int(DecodePixel16(Pixel16FormatOf(access.Bits()), uint16_t(bits)));
    return int(BitCount == 24 ? SwapRedBlue(bits) : bits);
}

void TMemBitmap::SetPixel(int x, int y, int value) {
    if (x < 0 || y < 0 || x >= Width || y >= Height) return;
    PixelAccess access(*this);
    if (access.Bits() == nullptr) return;
    uint32_t bits = uint32_t(value);
    if (BitCount == 16) bits = EncodePixel16(Pixel16FormatOf(access.Bits()), COLORREF(value));
    if (BitCount == 24) bits = SwapRedBlue(bits);
    WritePixelBits(access.Row(Height - 1 - y), x, BitCount, bits);
    DropDeviceCopy();
}
