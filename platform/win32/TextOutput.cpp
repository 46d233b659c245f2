// Drawing one run of text: alignment, background cell, glyphs and lines.
#include "TextOutput.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cmath>
#include <cstring>
#include <vector>

#include "GdiBitmap.h"
#include "LogicalFont.h"
#include "TextPainter.h"
#include "Text.h"

namespace win32 {
namespace {

FontRequest RequestFromLogFont(const LOGFONTA& logFont) {
    FontRequest request;
    request.height = logFont.lfHeight;
    request.width = logFont.lfWidth < 0 ? -logFont.lfWidth : logFont.lfWidth;
    request.escapement = logFont.lfEscapement;
    request.weight = logFont.lfWeight;
    request.italic = logFont.lfItalic != 0;
    request.underline = logFont.lfUnderline != 0;
    request.strikeOut = logFont.lfStrikeOut != 0;
    request.faceName.assign(logFont.lfFaceName, strnlen(logFont.lfFaceName, LF_FACESIZE));
    return request;
}

// Offset of the run's start along the baseline from the reference point.
double AlignedStart(UINT align, long long width) {
    if ((align & TA_CENTER) == TA_CENTER) return -double(width / 2);
    if (align & TA_RIGHT) return -double(width);
    return 0;
}

// Offset of the baseline below the reference point.
double AlignedBaseline(UINT align, const FontMetrics& metrics) {
    if ((align & TA_BASELINE) == TA_BASELINE) return 0;
    if (align & TA_BOTTOM) return -metrics.descent;
    return metrics.ascent;
}

bool IsMonochrome(const DeviceContext& dc) {
    return dc.isMemory && dc.state.bitmap != nullptr && dc.state.bitmap->bitsPerPixel == 1;
}

// The colour as the target shows it: black or white, whichever is nearer, on a monochrome bitmap.
uint32_t TargetPixel(COLORREF colour, bool monochrome) {
    if (!monochrome) return PixelFromColour(colour);
    const int brightness = GetRValue(colour) + GetGValue(colour) + GetBValue(colour);
    return brightness >= 383 ? 0x00FFFFFF : 0;
}

LONG Rounded(double value) {
    return LONG(std::lround(std::min(std::max(value, double(INT_MIN)), double(INT_MAX))));
}

}  // namespace

std::shared_ptr<RealizedFont> SelectedFont(DeviceContext& dc) {
    LogicalFont* logical = dc.state.font;
    std::shared_ptr<void> cached = std::atomic_load(&logical->realisation);
    if (cached) return std::static_pointer_cast<RealizedFont>(cached);
    std::shared_ptr<RealizedFont> font = RealizeFont(RequestFromLogFont(logical->logFont));
    std::atomic_store(&logical->realisation, std::shared_ptr<void>(font));
    return font;
}

long long DrawTextRun(DeviceContext& dc, RealizedFont& font, const TextRun& run) {
    std::vector<int> widths(run.count);
    long long width = 0;
    for (size_t i = 0; i < run.count; ++i) {
        widths[i] = run.advances ? run.advances[i] : font.Advance(static_cast<unsigned char>(run.text[i]));
        width += widths[i];
    }
    if (dc.surface == nullptr) return width;

    const FontMetrics& metrics = font.Metrics();
    const TextDirection direction = TextDirection::FromEscapement(font.Escapement());
    const POINT origin = dc.ToDevice(run.reference.x, run.reference.y);
    const double x = origin.x, y = origin.y;
    const double start = AlignedStart(run.align, width);
    const double baseline = AlignedBaseline(run.align, metrics);

    const bool monochrome = IsMonochrome(dc);
    const uint32_t background = TargetPixel(dc.state.backgroundColour, monochrome);
    RECT deviceRect{0, 0, 0, 0};
    if (run.rect) deviceRect = dc.ToDevice(*run.rect);
    if (run.rect && (run.options & ETO_OPAQUE)) TextPainter(dc, dc.clipArea).FillRect(deviceRect, background);
    Region clipped;
    const bool clipToRect = run.rect && (run.options & ETO_CLIPPED);
    if (clipToRect) clipped = dc.clipArea.IntersectRect(deviceRect);
    TextPainter painter(dc, clipToRect ? clipped : dc.clipArea);
    painter.SetMonochrome(monochrome);

    if (dc.state.backgroundMode == OPAQUE && run.count > 0) {
        painter.FillTextRect(x, y, direction, start, baseline - metrics.ascent, start + double(width),
                             baseline + metrics.descent, background);
    }

    const uint32_t pixel = TargetPixel(dc.state.textColour, monochrome);
    std::vector<const Glyph*> glyphs;
    font.GetGlyphs(run.text, run.count, glyphs);
    double pen = start;
    for (size_t i = 0; i < run.count; ++i) {
        painter.BlendGlyph(*glyphs[i], int(Rounded(x + direction.DeviceX(pen, baseline))),
                           int(Rounded(y + direction.DeviceY(pen, baseline))), pixel);
        if (run.underlinedIndex == static_cast<long long>(i)) {
            double top = baseline + metrics.underlinePosition;
            painter.FillTextRect(x, y, direction, pen, top, pen + widths[i], top + metrics.underlineThickness, pixel);
        }
        pen += widths[i];
    }
    if (metrics.underline && run.count > 0) {
        double top = baseline + metrics.underlinePosition;
        painter.FillTextRect(x, y, direction, start, top, pen, top + metrics.underlineThickness, pixel);
    }
    if (metrics.strikeOut && run.count > 0) {
        double top = baseline - metrics.strikeOutPosition;
        painter.FillTextRect(x, y, direction, start, top, pen, top + metrics.strikeOutThickness, pixel);
    }
    return width;
}

}  // namespace win32
