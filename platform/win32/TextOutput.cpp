// Drawing one run of text: alignment, background cell, glyphs and lines.
#include "TextOutput.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cmath>
#include <cstring>

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

LONG Clamped(long long value) { return LONG(std::min<long long>(std::max<long long>(value, INT_MIN), INT_MAX)); }

int CharacterAdvance(const RealizedFont& font, const TextRun& run, size_t i) {
    return run.advances ? run.advances[i] : font.Advance(static_cast<unsigned char>(run.text[i]));
}

long long RunWidth(const RealizedFont& font, const TextRun& run) {
    long long width = 0;
    for (size_t i = 0; i < run.count; ++i) width += CharacterAdvance(font, run, i);
    return width;
}

// Where a glyph's origin lands on the device, `pen` pixels along the baseline
// from the run's start. Upright text needs no rounding: every term is whole.
class GlyphPlacement {
public:
    GlyphPlacement(double x, double y, const TextDirection& direction, double start, double baseline)
        : x_(x), y_(y), direction_(direction), start_(start), baseline_(baseline),
          uprightX_((long long)x + (long long)start), uprightY_(Clamped((long long)y + (long long)baseline)) {}

    POINT At(long long pen) const {
        if (direction_.Upright()) return POINT{Clamped(uprightX_ + pen), uprightY_};
        const double along = start_ + double(pen);
        return POINT{Rounded(x_ + direction_.DeviceX(along, baseline_)),
                     Rounded(y_ + direction_.DeviceY(along, baseline_))};
    }

private:
    double x_, y_;
    TextDirection direction_;
    double start_, baseline_;
    long long uprightX_;
    LONG uprightY_;
};

// Glyphs are looked up this many at a time, without allocating.
constexpr size_t kGlyphBatch = 64;

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
    const long long width = RunWidth(font, run);
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
    const GlyphPlacement placement(x, y, direction, start, baseline);
    const Glyph* glyphs[kGlyphBatch];
    long long pen = 0;
    for (size_t first = 0; first < run.count; first += kGlyphBatch) {
        const size_t batch = std::min(kGlyphBatch, run.count - first);
        font.GetGlyphs(run.text + first, batch, glyphs);
        for (size_t k = 0; k < batch; ++k) {
            const int advance = CharacterAdvance(font, run, first + k);
            const POINT at = placement.At(pen);
            painter.BlendGlyph(*glyphs[k], int(at.x), int(at.y), pixel);
            if (run.underlinedIndex == static_cast<long long>(first + k)) {
                const double top = baseline + metrics.underlinePosition, along = start + double(pen);
                painter.FillTextRect(x, y, direction, along, top, along + advance, top + metrics.underlineThickness,
                                     pixel);
            }
            pen += advance;
        }
    }
    const double end = start + double(pen);
    if (metrics.underline && run.count > 0) {
        double top = baseline + metrics.underlinePosition;
        painter.FillTextRect(x, y, direction, start, top, end, top + metrics.underlineThickness, pixel);
    }
    if (metrics.strikeOut && run.count > 0) {
        double top = baseline - metrics.strikeOutPosition;
        painter.FillTextRect(x, y, direction, start, top, end, top + metrics.strikeOutThickness, pixel);
    }
    return width;
}

}  // namespace win32
