// TBitmap: a picture held as a DIB section, with a canvas that draws on it and
// direct access to its pixel rows.
#pragma once

#include <memory>

#include "Graphics.h"

// Pixel formats in the classic library's order; pf15bit, pf16bit and pfCustom
// are named but not supported (setting them throws EInvalidGraphic).
enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };

class TBitmap : public TGraphic {
    CLASSLIB_CLASS(TBitmap, TGraphic)

public:
    TBitmap();
    ~TBitmap() override;
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    int GetWidth() const override { return width_; }
    int GetHeight() const override { return height_; }
    // A new size keeps the pixels of the common area; new pixels are white.
    // Negative sizes become 0; a size the memory cannot hold throws
    // EOutOfResources and leaves the bitmap unchanged.
    void SetWidth(int width) { SetSize(width, height_); }
    void SetHeight(int height) { SetSize(width_, height); }
    void SetSize(int width, int height);

    // pfDevice (the default) holds 32 bits per pixel like pf32bit. A change of
    // format converts the pixels (to the nearest colour of the fixed table at 1,
    // 4 and 8 bits: black and white; the 16 classic colours; those 16, a
    // 6x6x6 colour cube and greys).
    TPixelFormat GetPixelFormat() const { return pixelFormat_; }
    void SetPixelFormat(TPixelFormat format);
    int BitsPerPixel() const;
    // Bytes per row, rounded up to 4.
    int BytesPerScanLine() const;

    // Row `row` counted from the top, in the format's layout (32 bits: 0x00RRGGBB
    // per pixel, i.e. bytes B, G, R, 0). Drawing done through the canvas is in
    // the row before it is returned, and what is written into the rows is seen
    // by the canvas's next drawing. Throws EInvalidGraphicOperation ("Scan line
    // index out of range") for a row outside [0, Height).
    void* ScanLine(int row);

    // The canvas drawing on the bitmap; owned by the bitmap.
    TCanvas* GetCanvas();
    // The DIB section; null when the bitmap is empty. Owned by the bitmap.
    HBITMAP GetHandle() const { return section_; }

    // Copies a bitmap's size, format and pixels; null empties this bitmap;
    // other sources throw EConvertError.
    void Assign(const TPersistent* source) override;
    // Draws the bitmap stretched into rect by the canvas's copy mode.
    void Draw(TCanvas* canvas, const RECT& rect) override;

private:
    class TBitmapCanvas;
    struct Section {
        HBITMAP handle = nullptr;
        BYTE* bits = nullptr;
    };

    static Section CreateSection(int width, int height, int bitsPerPixel);
    void Replace(int width, int height, TPixelFormat format);
    void FreeCanvasContext();
    void NotifyChange();

    int width_ = 0;
    int height_ = 0;
    TPixelFormat pixelFormat_ = pfDevice;
    HBITMAP section_ = nullptr;
    BYTE* bits_ = nullptr;
    std::unique_ptr<TBitmapCanvas> canvas_;
};
