// Glyph blending and filled text rectangles, clipped to the visible region.
#include "TextPainter.h"

#include <algorithm>
#include <cmath>

namespace win32 {
namespace {

// Mixes source into target by coverage (0-255), red and blue in one step and
// green in another; full coverage gives the source exactly.
inline uint32_t Blend(uint32_t target, uint32_t source, uint32_t coverage) {
    const uint32_t weight = coverage + (coverage >> 7);  // 0-256
    const uint32_t rest = 256 - weight;
    const uint32_t redBlue = (((source & 0xFF00FF) * weight + (target & 0xFF00FF) * rest) >> 8) & 0xFF00FF;
    const uint32_t green = (((source & 0x00FF00) * weight + (target & 0x00FF00) * rest) >> 8) & 0x00FF00;
    return redBlue | green;
}

// Snaps values within rounding noise of 0 or 1, so that quarter turns stay exact.
double Snapped(double value) {
    if (std::fabs(value) < 1e-9) return 0;
    if (std::fabs(value - 1) < 1e-9) return 1;
    if (std::fabs(value + 1) < 1e-9) return -1;
    return value;
}

// One row of a glyph: coverage mixed into the target, or on a monochrome
// target drawn from one half up.
inline void BlendRow(const uint8_t* coverage, uint32_t* target, LONG count, uint32_t pixel) {
    for (LONG i = 0; i < count; ++i) {
        const uint32_t alpha = coverage[i];
        if (alpha == 0) continue;
        target[i] = alpha == 255 ? pixel : Blend(target[i], pixel, alpha);
    }
}

inline void DrawRowMonochrome(const uint8_t* coverage, uint32_t* target, LONG count, uint32_t pixel) {
    for (LONG i = 0; i < count; ++i) {
        if (coverage[i] >= 128) target[i] = pixel;
    }
}

// Calls drawRow(coverage, target, count) for each visible row of the glyph
// whose bitmap's top-left pixel lies at (left, top).
template <class DrawRow>
void ForEachVisibleGlyphRow(DeviceContext& dc, const Region& visible, const Glyph& glyph, LONG left, LONG top,
                            DrawRow drawRow) {
    const RECT box{left, top, left + glyph.width, top + glyph.rows};
    visible.ForEachRectIn(box, [&](LONG clipLeft, LONG clipTop, LONG clipRight, LONG clipBottom) {
        const uint8_t* coverage =
            glyph.coverage.data() + size_t(clipTop - top) * size_t(glyph.width) + size_t(clipLeft - left);
        for (LONG row = clipTop; row < clipBottom; ++row, coverage += glyph.width) {
            drawRow(coverage, dc.PixelAt(clipLeft, row), clipRight - clipLeft);
        }
    });
}

}  // namespace

TextDirection TextDirection::FromEscapement(int escapement) {
    if (escapement == 0) return TextDirection{};
    const double angle = escapement / 10.0 * 3.14159265358979323846 / 180.0;
    TextDirection direction;
    direction.cosine = Snapped(std::cos(angle));
    direction.sine = Snapped(std::sin(angle));
    return direction;
}

void TextPainter::BlendGlyph(const Glyph& glyph, int x, int y, uint32_t pixel) {
    if (dc_.surface == nullptr || glyph.width <= 0 || glyph.rows <= 0) return;
    const LONG left = LONG(x) + glyph.left;
    const LONG top = LONG(y) - glyph.top;
    if (monochrome_) {
        ForEachVisibleGlyphRow(dc_, visible_, glyph, left, top, [pixel](const uint8_t* coverage, uint32_t* target,
                                                                         LONG count) {
            DrawRowMonochrome(coverage, target, count, pixel);
        });
    } else {
        ForEachVisibleGlyphRow(dc_, visible_, glyph, left, top, [pixel](const uint8_t* coverage, uint32_t* target,
                                                                         LONG count) {
            BlendRow(coverage, target, count, pixel);
        });
    }
}

void TextPainter::FillRect(const RECT& rect, uint32_t pixel) {
    if (dc_.surface == nullptr || RectIsEmpty(rect)) return;
    visible_.ForEachRectIn(rect, [&](LONG left, LONG top, LONG right, LONG bottom) {
        for (LONG row = top; row < bottom; ++row) std::fill(dc_.PixelAt(left, row), dc_.PixelAt(right, row), pixel);
    });
}

void TextPainter::FillTextRect(double x, double y, const TextDirection& direction, double u0, double v0, double u1,
                               double v1, uint32_t pixel) {
    if (dc_.surface == nullptr || u1 <= u0 || v1 <= v0) return;
    if (direction.Upright()) {
        FillRect(RECT{LONG(std::lround(x + u0)), LONG(std::lround(y + v0)), LONG(std::lround(x + u1)),
                      LONG(std::lround(y + v1))},
                 pixel);
        return;
    }
    // Bounding box of the four corners, then each pixel centre mapped back to text space.
    double xs[4], ys[4];
    const double us[4] = {u0, u1, u1, u0}, vs[4] = {v0, v0, v1, v1};
    for (int corner = 0; corner < 4; ++corner) {
        xs[corner] = x + direction.DeviceX(us[corner], vs[corner]);
        ys[corner] = y + direction.DeviceY(us[corner], vs[corner]);
    }
    const RECT box{LONG(std::floor(*std::min_element(xs, xs + 4))), LONG(std::floor(*std::min_element(ys, ys + 4))),
                   LONG(std::ceil(*std::max_element(xs, xs + 4))), LONG(std::ceil(*std::max_element(ys, ys + 4)))};
    const double epsilon = 1e-9;
    visible_.ForEachRectIn(box, [&](LONG left, LONG top, LONG right, LONG bottom) {
        for (LONG row = top; row < bottom; ++row) {
            uint32_t* target = dc_.PixelAt(left, row);
            for (LONG column = left; column < right; ++column) {
                // The inverse of the turn: u = dx cos - dy sin, v = dx sin + dy cos.
                const double dx = column + 0.5 - x, dy = row + 0.5 - y;
                const double u = dx * direction.cosine - dy * direction.sine;
                const double v = dx * direction.sine + dy * direction.cosine;
                if (u >= u0 - epsilon && u < u1 - epsilon && v >= v0 - epsilon && v < v1 - epsilon) {
                    target[column - left] = pixel;
                }
            }
        }
    });
}

}  // namespace win32
