// TBitmap: DIB sections in the supported pixel formats, their canvas and rows.
#include "GraphicsBitmap.h"

#include <cstring>
#include <vector>

#include "Exceptions.h"

// The bitmap's canvas: a memory DC with the bitmap's section selected, made
// when drawing needs it and dropped when the rows are handed out.
class TBitmap::TBitmapCanvas : public TCanvas {
public:
    explicit TBitmapCanvas(TBitmap* bitmap) : bitmap_(bitmap) {}
    ~TBitmapCanvas() override { FreeContext(); }

    void FreeContext() {
        HDC dc = HandleAllocated() ? GetHandle() : nullptr;
        if (!dc) return;
        SetHandle(nullptr);
        if (firstBitmap_) SelectObject(dc, firstBitmap_);
        firstBitmap_ = nullptr;
        DeleteDC(dc);
    }

protected:
    void CreateHandle() override {
        HDC dc = CreateCompatibleDC(nullptr);
        if (!dc) return;
        if (bitmap_->section_) firstBitmap_ = SelectObject(dc, bitmap_->section_);
        SetHandle(dc);
    }

private:
    TBitmap* bitmap_;
    HGDIOBJ firstBitmap_ = nullptr;
};

namespace {

const int kBitsPerPixel[] = {32, 1, 4, 8, 16, 16, 24, 32, 32};  // ORDER TPixelFormat

// The 16 classic colours as RGBQUADs (blue, green, red).
const RGBQUAD kClassicColors[16] = {
    {0, 0, 0, 0},     {0, 0, 128, 0},   {0, 128, 0, 0},   {0, 128, 128, 0}, {128, 0, 0, 0},   {128, 0, 128, 0},
    {128, 128, 0, 0}, {192, 192, 192, 0}, {128, 128, 128, 0}, {0, 0, 255, 0}, {0, 255, 0, 0},   {0, 255, 255, 0},
    {255, 0, 0, 0},   {255, 0, 255, 0}, {255, 255, 0, 0}, {255, 255, 255, 0}};

std::vector<RGBQUAD> ColorTable(int bitsPerPixel) {
    std::vector<RGBQUAD> table;
    if (bitsPerPixel == 1) return {{0, 0, 0, 0}, {255, 255, 255, 0}};
    if (bitsPerPixel > 8) return table;
    table.assign(kClassicColors, kClassicColors + 16);
    if (bitsPerPixel == 4) return table;
    for (int red = 0; red < 6; ++red)
        for (int green = 0; green < 6; ++green)
            for (int blue = 0; blue < 6; ++blue)
                table.push_back({static_cast<BYTE>(blue * 51), static_cast<BYTE>(green * 51),
                                 static_cast<BYTE>(red * 51), 0});
    for (int grey = 0; table.size() < 256; ++grey) {
        BYTE level = static_cast<BYTE>(8 + grey * 10);
        table.push_back({level, level, level, 0});
    }
    return table;
}

bool Supported(TPixelFormat format) { return format != pf15bit && format != pf16bit && format != pfCustom; }

int RowBytes(int width, int bitsPerPixel) { return ((width * bitsPerPixel + 31) / 32) * 4; }

}  // namespace

TBitmap::TBitmap() : canvas_(new TBitmapCanvas(this)) {}

TBitmap::~TBitmap() {
    canvas_.reset();
    if (section_) DeleteObject(section_);
}

int TBitmap::BitsPerPixel() const { return kBitsPerPixel[pixelFormat_]; }

int TBitmap::BytesPerScanLine() const { return RowBytes(width_, BitsPerPixel()); }

TBitmap::Section TBitmap::CreateSection(int width, int height, int bitsPerPixel) {
    std::vector<RGBQUAD> table = ColorTable(bitsPerPixel);
    std::vector<BYTE> infoBytes(sizeof(BITMAPINFOHEADER) + table.size() * sizeof(RGBQUAD) + sizeof(RGBQUAD));
    auto* info = reinterpret_cast<BITMAPINFO*>(infoBytes.data());
    info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info->bmiHeader.biWidth = width;
    info->bmiHeader.biHeight = -height;  // top-down: row 0 is the top row
    info->bmiHeader.biPlanes = 1;
    info->bmiHeader.biBitCount = static_cast<WORD>(bitsPerPixel);
    info->bmiHeader.biCompression = BI_RGB;
    info->bmiHeader.biClrUsed = static_cast<DWORD>(table.size());
    if (!table.empty()) std::memcpy(info->bmiColors, table.data(), table.size() * sizeof(RGBQUAD));
    Section section;
    void* bits = nullptr;
    section.handle = CreateDIBSection(nullptr, info, DIB_RGB_COLORS, &bits, nullptr, 0);
    section.bits = static_cast<BYTE*>(bits);
    return section;
}

// Makes a section of the new size and format, white, with the old pixels of the
// common area converted into it.
void TBitmap::Replace(int width, int height, TPixelFormat format) {
    if (width < 0) width = 0;
    if (height < 0) height = 0;
    if (width == width_ && height == height_ && format == pixelFormat_) return;
    Section section;
    if (width > 0 && height > 0) {
        section = CreateSection(width, height, kBitsPerPixel[format]);
        if (!section.handle) throw EOutOfResources("Out of system resources");
    }
    FreeCanvasContext();
    if (section.handle) {
        HDC target = CreateCompatibleDC(nullptr);
        HGDIOBJ targetFirst = SelectObject(target, section.handle);
        PatBlt(target, 0, 0, width, height, WHITENESS);
        if (section_) {
            HDC source = CreateCompatibleDC(nullptr);
            HGDIOBJ sourceFirst = SelectObject(source, section_);
            BitBlt(target, 0, 0, width, height, source, 0, 0, SRCCOPY);
            SelectObject(source, sourceFirst);
            DeleteDC(source);
        }
        SelectObject(target, targetFirst);
        DeleteDC(target);
    }
    if (section_) DeleteObject(section_);
    section_ = section.handle;
    bits_ = section.bits;
    width_ = width;
    height_ = height;
    pixelFormat_ = format;
    NotifyChange();
}

void TBitmap::SetSize(int width, int height) { Replace(width, height, pixelFormat_); }

void TBitmap::SetPixelFormat(TPixelFormat format) {
    if (!Supported(format)) throw EInvalidGraphic("Unsupported pixel format");
    Replace(width_, height_, format);
}

void TBitmap::FreeCanvasContext() { canvas_->FreeContext(); }

void* TBitmap::ScanLine(int row) {
    if (row < 0 || row >= height_ || !bits_) throw EInvalidGraphicOperation("Scan line index out of range");
    FreeCanvasContext();
    return bits_ + static_cast<size_t>(row) * static_cast<size_t>(BytesPerScanLine());
}

TCanvas* TBitmap::GetCanvas() { return canvas_.get(); }

void TBitmap::Assign(const TPersistent* source) {
    if (!source) {
        Replace(0, 0, pixelFormat_);
        return;
    }
    const auto* bitmap = dynamic_cast<const TBitmap*>(source);
    if (!bitmap) {
        TGraphic::Assign(source);
        return;
    }
    if (bitmap == this) return;
    // Drawing on the source's canvas reaches its rows after a flush.
    GdiFlush();
    FreeCanvasContext();
    Replace(0, 0, bitmap->pixelFormat_);
    Replace(bitmap->width_, bitmap->height_, bitmap->pixelFormat_);
    if (bits_ && bitmap->bits_)
        std::memcpy(bits_, bitmap->bits_, static_cast<size_t>(BytesPerScanLine()) * static_cast<size_t>(height_));
    NotifyChange();
}

void TBitmap::Draw(TCanvas* canvas, const RECT& rect) {
    if (!canvas || !section_) return;
    HDC source = canvas_->GetHandle();
    HDC dest = canvas->GetHandle();
    if (!source || !dest) return;
    StretchBlt(dest, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, source, 0, 0, width_,
               height_, canvas->GetCopyMode());
}

void TBitmap::NotifyChange() {
    if (OnChange) OnChange(this);
}
