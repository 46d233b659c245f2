// Small image helpers of the formula typesetter: blank images, views, pasting and the ink setter.
#include "ExpressionImageCanvas.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <utility>

#include "ImageColors.h"

bool CreateBlankImage(TImageBuffer& out, int64_t width, int64_t height, TColor colour) {
    width = width < 0 ? 0 : width;
    height = height < 0 ? 0 : height;
    if (width > kMaxFormulaWidth || height > kMaxFormulaHeight || width * height > kMaxFormulaPixels) {
        out.Create(0, 0, kFormulaPixelFormat);
        return false;
    }
    out.Create(int(width), int(height), kFormulaPixelFormat);
    if (out.Width != width || out.Height != height) {
        out.Create(0, 0, kFormulaPixelFormat);
        return false;
    }
    if (out.Data != nullptr) {
        FillImageArea(out.GetImageData(), 0, 0, out.Width - 1, out.Height - 1, colour);
    }
    return true;
}

void JoinSideBySide(TImageBuffer& out, std::initializer_list<const TImageBuffer*> pieces, TColor colour) {
    int64_t width = 0;
    int height = 0;
    for (const TImageBuffer* piece : pieces) {
        width += piece->Width;
        height = std::max(height, piece->Height);
    }
    if (!CreateBlankImage(out, width, height, colour)) {
        return;
    }
    int x = 0;
    for (const TImageBuffer* piece : pieces) {
        PasteImage(out, x, CentredOffset(height, piece->Height), *piece);
        x += piece->Width;
    }
}

IMAGEDATA ViewOf(const TImageBuffer& image) {
    // GetImageData only reads the buffer's fields.
    return const_cast<TImageBuffer&>(image).GetImageData();
}

void PasteImage(TImageBuffer& destination, int x, int y, const TImageBuffer& source) {
    CopyImage(destination.GetImageData(), x, y, ViewOf(source));
}

TSetIDPixel InkSetter(TImageBuffer& image, TColor colour) { return TSetIDPixel(image.GetImageData(), colour, 1, 0, 0); }

void SwapImages(TImageBuffer& a, TImageBuffer& b) {
    std::swap(a.Width, b.Width);
    std::swap(a.Height, b.Height);
    std::swap(a.PixelFormat, b.PixelFormat);
    std::swap(a.Data, b.Data);
}

int ScaledSize(int size, double ratio) {
    const double product = std::trunc(double(size) * ratio);
    if (!std::isfinite(product) || product < double(INT_MIN) || product > double(INT_MAX)) {
        return 0;
    }
    return int(product);
}
