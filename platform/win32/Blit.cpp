// Blits: BitBlt, StretchBlt and PatBlt with ternary raster operations, clipped
// to source, destination and clip region before any pixel is touched.
#include <algorithm>
#include <cstring>
#include <vector>

#include "BlitEngine.h"
#include "GdiBitmap.h"
#include "Raster.h"

namespace {

bool UsesSource(DWORD rop) { return (((rop >> 2) ^ rop) & 0x330000) != 0; }
bool UsesPattern(DWORD rop) { return (((rop >> 4) ^ rop) & 0x0F0000) != 0; }

// The R2_ code that does what a ternary operation without source does.
int Rop2OfPatternOperation(DWORD rop) {
    const unsigned table = (rop >> 16) & 0xFF;
    int r2 = 0;
    for (int pattern = 0; pattern < 2; ++pattern)
        for (int destination = 0; destination < 2; ++destination)
            if (table & (1u << (pattern * 4 + destination))) r2 |= 1 << (pattern * 2 + destination);
    return r2 + 1;
}

// A mirrored side runs from its start pixel backwards: x, x - 1, ..., x + width + 1.
RECT Normalise(const RECT& r) {
    RECT result = r;
    if (r.right < r.left) result = RECT{r.right + 1, result.top, r.left + 1, result.bottom};
    if (r.bottom < r.top) result = RECT{result.left, r.bottom + 1, result.right, r.top + 1};
    return result;
}

SourceView MakeSourceView(const DeviceContext& destination, const DeviceContext& source) {
    SourceView view;
    view.surface = source.surface;
    view.origin = source.surfaceOrigin;
    auto monochrome = [](const DeviceContext& dc) {
        return dc.isMemory && dc.state.bitmap != nullptr && dc.state.bitmap->bitsPerPixel == 1;
    };
    view.monochrome = monochrome(source);
    view.foreground = PixelFromColour(destination.state.textColour);
    view.background = PixelFromColour(destination.state.backgroundColour);
    view.toMonochrome = !view.monochrome && monochrome(destination);
    view.key = PixelFromColour(source.state.backgroundColour);
    return view;
}

// Combines count source pixels into destination pixels by rop.
void BlendRow(uint32_t* destination, const uint32_t* source, LONG count, DWORD rop, const BrushPaint* pattern, LONG x,
              LONG y) {
    switch (rop) {
        case SRCCOPY:
            std::memmove(destination, source, static_cast<size_t>(count) * sizeof(uint32_t));
            return;
        case SRCPAINT:
            for (LONG i = 0; i < count; ++i) destination[i] |= source[i];
            return;
        case SRCAND:
            for (LONG i = 0; i < count; ++i) destination[i] &= source[i];
            return;
        case SRCINVERT:
            for (LONG i = 0; i < count; ++i) destination[i] ^= source[i];
            return;
        case NOTSRCCOPY:
            for (LONG i = 0; i < count; ++i) destination[i] = ~source[i] & 0xFFFFFF;
            return;
        default:
            for (LONG i = 0; i < count; ++i) {
                uint32_t brushPixel = 0;
                if (pattern != nullptr) pattern->PixelAt(x + i, y, brushPixel);
                destination[i] = ApplyRop3(rop, brushPixel, source[i], destination[i]);
            }
            return;
    }
}

// Copies the source rectangle into storage so that reads never see pixels
// already written by the same blit; returns a view on the copy.
SourceView TakeSnapshot(const SourceView& view, const RECT& sourceRect, Surface& storage) {
    storage = Surface(sourceRect.right - sourceRect.left, sourceRect.bottom - sourceRect.top);
    for (LONG y = sourceRect.top; y < sourceRect.bottom; ++y)
        std::memcpy(storage.Row(y - sourceRect.top), view.Pixel(sourceRect.left, y),
                    static_cast<size_t>(sourceRect.right - sourceRect.left) * sizeof(uint32_t));
    SourceView copy = view;
    copy.surface = &storage;
    copy.origin = POINT{-sourceRect.left, -sourceRect.top};
    return copy;
}

bool SameSurface(const DeviceContext& a, const DeviceContext& b) {
    return a.surface != nullptr && b.surface != nullptr && a.surface->Row(0) == b.surface->Row(0);
}

// Copies rectangle [left,right) x [top,bottom) of the destination (device) from
// the source at (left + dx, top + dy).
void BlitRect(DeviceContext& destination, const SourceView& source, LONG dx, LONG dy, LONG left, LONG top, LONG right,
              LONG bottom, DWORD rop, const BrushPaint* pattern) {
    const LONG count = right - left;
    // Rows moving down within one surface are copied from the bottom up.
    const bool upward =
        source.surface == destination.surface && dy + source.origin.y < destination.surfaceOrigin.y && rop == SRCCOPY;
    std::vector<uint32_t> mapped;
    for (LONG step = 0; step < bottom - top; ++step) {
        const LONG y = upward ? bottom - 1 - step : top + step;
        const uint32_t* from = source.Pixel(left + dx, y + dy);
        if (source.NeedsMapping()) {
            mapped.resize(static_cast<size_t>(count));
            for (LONG i = 0; i < count; ++i) mapped[static_cast<size_t>(i)] = source.Map(from[i]);
            from = mapped.data();
        }
        BlendRow(destination.PixelAt(left, y), from, count, rop, pattern, left, y);
    }
}

BOOL PatternBlit(DeviceContext& dc, RECT deviceRect, DWORD rop) {
    if (deviceRect.right < deviceRect.left) std::swap(deviceRect.left, deviceRect.right);
    if (deviceRect.bottom < deviceRect.top) std::swap(deviceRect.top, deviceRect.bottom);
    const int rop2 = Rop2OfPatternOperation(rop);
    if (UsesPattern(rop)) {
        if (dc.state.brush->IsNull()) return TRUE;
        PaintRect(dc, deviceRect, PrepareBrushPaint(dc, *dc.state.brush, rop2, false));
    } else {
        PaintRect(dc, deviceRect, SolidPaint(0, rop2));
    }
    return TRUE;
}

}  // namespace

BOOL PatBlt(HDC handle, int x, int y, int width, int height, DWORD rop) {
    DeviceContext* dc = LookupDeviceContext(handle);
    Trace(dc, "PatBlt", x, y, width, height, TraceColour{rop});
    if (dc == nullptr) return FALSE;
    const POINT at = dc->ToDevice(x, y);
    return PatternBlit(*dc, RECT{at.x, at.y, at.x + width, at.y + height}, rop);
}

BOOL BitBlt(HDC destHandle, int x, int y, int width, int height, HDC sourceHandle, int xSrc, int ySrc, DWORD rop) {
    DeviceContext* dest = LookupDeviceContext(destHandle);
    Trace(dest, "BitBlt", x, y, width, height, TraceWord{sourceHandle == nullptr ? "NULL" : "hdc"},
          xSrc, ySrc, TraceColour{rop});
    if (dest == nullptr) return FALSE;
    const POINT at = dest->ToDevice(x, y);
    if (!UsesSource(rop)) return PatternBlit(*dest, RECT{at.x, at.y, at.x + width, at.y + height}, rop);
    DeviceContext* source = LookupDeviceContext(sourceHandle);
    if (source == nullptr) return FALSE;
    if (width <= 0 || height <= 0 || dest->surface == nullptr || source->surface == nullptr) return TRUE;
    const POINT from = source->ToDevice(xSrc, ySrc);
    const LONG dx = from.x - at.x, dy = from.y - at.y;
    // Destination pixels whose source lies inside the source's drawable area.
    RECT sourceBounds = source->visibleArea.Bounds();
    RECT target = IntersectRects(
        RECT{at.x, at.y, at.x + width, at.y + height},
        RECT{sourceBounds.left - dx, sourceBounds.top - dy, sourceBounds.right - dx, sourceBounds.bottom - dy});
    target = IntersectRects(target, dest->clipBounds);
    if (RectIsEmpty(target)) return TRUE;

    SourceView view = MakeSourceView(*dest, *source);
    const BrushPaint pattern = PrepareBrushPaint(*dest, *dest->state.brush, R2_COPYPEN, false);
    const bool overlapping = SameSurface(*dest, *source);
    const bool snapshotNeeded = overlapping && (rop != SRCCOPY || dest->clipArea.Complexity() == COMPLEXREGION);
    Surface snapshot;
    if (snapshotNeeded)
        view = TakeSnapshot(view, RECT{target.left + dx, target.top + dy, target.right + dx, target.bottom + dy},
                            snapshot);
    dest->clipArea.ForEachRectIn(target, [&](LONG left, LONG top, LONG right, LONG bottom) {
        BlitRect(*dest, view, dx, dy, left, top, right, bottom, rop, &pattern);
    });
    return TRUE;
}

BOOL StretchBlt(HDC destHandle, int x, int y, int width, int height, HDC sourceHandle, int xSrc, int ySrc, int srcWidth,
                int srcHeight, DWORD rop) {
    DeviceContext* dest = LookupDeviceContext(destHandle);
    Trace(dest, "StretchBlt", x, y, width, height,
          TraceWord{sourceHandle == nullptr ? "NULL" : "hdc"}, xSrc, ySrc, srcWidth, srcHeight,
          TraceColour{rop});
    if (dest == nullptr) return FALSE;
    const POINT at = dest->ToDevice(x, y);
    if (!UsesSource(rop)) return PatternBlit(*dest, RECT{at.x, at.y, at.x + width, at.y + height}, rop);
    DeviceContext* source = LookupDeviceContext(sourceHandle);
    if (source == nullptr) return FALSE;
    if (width == 0 || height == 0 || srcWidth == 0 || srcHeight == 0) return TRUE;
    if (dest->surface == nullptr || source->surface == nullptr) return TRUE;
    const POINT from = source->ToDevice(xSrc, ySrc);
    const RECT sourceRect{from.x, from.y, from.x + srcWidth, from.y + srcHeight};
    RECT sourceBounds = source->visibleArea.Bounds();
    SourceView view = MakeSourceView(*dest, *source);
    Surface snapshot;
    if (SameSurface(*dest, *source)) {
        // Only the copied part is readable from now on.
        sourceBounds = IntersectRects(sourceBounds, Normalise(sourceRect));
        if (RectIsEmpty(sourceBounds)) return TRUE;
        view = TakeSnapshot(view, sourceBounds, snapshot);
    }
    TransferPixels(*dest, view, sourceBounds, RECT{at.x, at.y, at.x + width, at.y + height}, sourceRect, rop);
    return TRUE;
}

namespace {

// Source index (0 .. sourceLength-1) of destination index i of destLength, mirrored or not.
LONG MapIndex(LONG i, LONG destLength, LONG sourceLength, bool mirror) {
    const LONG j = static_cast<LONG>((2LL * i + 1) * sourceLength / (2LL * destLength));
    return mirror ? sourceLength - 1 - j : j;
}

// Destination indexes [first, last) whose source index lands in [low, high).
// The map is monotone, so both ends are found by binary search.
void ValidRange(LONG destLength, LONG sourceLength, bool mirror, LONG low, LONG high, LONG& first, LONG& last) {
    auto firstWhere = [destLength](auto holds) {
        LONG lo = 0, hi = destLength;
        while (lo < hi) {
            const LONG mid = lo + (hi - lo) / 2;
            if (holds(mid))
                hi = mid;
            else
                lo = mid + 1;
        }
        return lo;
    };
    auto map = [&](LONG i) { return MapIndex(i, destLength, sourceLength, mirror); };
    if (!mirror) {
        first = firstWhere([&](LONG i) { return map(i) >= low; });
        last = firstWhere([&](LONG i) { return map(i) >= high; });
    } else {
        first = firstWhere([&](LONG i) { return map(i) < high; });
        last = firstWhere([&](LONG i) { return map(i) < low; });
    }
}

}  // namespace

void TransferPixels(DeviceContext& dest, const SourceView& view, const RECT& sourceBounds, const RECT& to,
                    const RECT& from, DWORD rop) {
    if (dest.surface == nullptr || view.surface == nullptr) return;
    const bool mirrorX = (to.right < to.left) != (from.right < from.left);
    const bool mirrorY = (to.bottom < to.top) != (from.bottom < from.top);
    const RECT target = Normalise(to);
    const RECT source = Normalise(from);
    const LONG destWidth = target.right - target.left, destHeight = target.bottom - target.top;
    const LONG sourceWidth = source.right - source.left, sourceHeight = source.bottom - source.top;
    if (destWidth <= 0 || destHeight <= 0 || sourceWidth <= 0 || sourceHeight <= 0) return;
    const BrushPaint pattern = PrepareBrushPaint(dest, *dest.state.brush, R2_COPYPEN, false);

    if (!mirrorX && !mirrorY && destWidth == sourceWidth && destHeight == sourceHeight) {
        const LONG dx = source.left - target.left, dy = source.top - target.top;
        RECT visible = IntersectRects(target, RECT{sourceBounds.left - dx, sourceBounds.top - dy,
                                                   sourceBounds.right - dx, sourceBounds.bottom - dy});
        visible = IntersectRects(visible, dest.clipBounds);
        if (RectIsEmpty(visible)) return;
        dest.clipArea.ForEachRectIn(visible, [&](LONG left, LONG top, LONG right, LONG bottom) {
            BlitRect(dest, view, dx, dy, left, top, right, bottom, rop, &pattern);
        });
        return;
    }

    // Only destination pixels inside the clip bounds and with a source inside
    // sourceBounds are mapped, so the cost follows the visible area.
    const RECT clipBounds = IntersectRects(target, dest.clipBounds);
    if (RectIsEmpty(clipBounds)) return;
    LONG firstX, lastX, firstY, lastY;
    ValidRange(destWidth, sourceWidth, mirrorX, sourceBounds.left - source.left, sourceBounds.right - source.left,
               firstX, lastX);
    ValidRange(destHeight, sourceHeight, mirrorY, sourceBounds.top - source.top, sourceBounds.bottom - source.top,
               firstY, lastY);
    const RECT visible = IntersectRects(
        clipBounds, RECT{target.left + firstX, target.top + firstY, target.left + lastX, target.top + lastY});
    if (RectIsEmpty(visible)) return;
    std::vector<LONG> columns(static_cast<size_t>(visible.right - visible.left));
    for (LONG x = visible.left; x < visible.right; ++x)
        columns[static_cast<size_t>(x - visible.left)] =
            source.left + MapIndex(x - target.left, destWidth, sourceWidth, mirrorX);
    std::vector<uint32_t> line(columns.size());
    dest.clipArea.ForEachRectIn(visible, [&](LONG left, LONG top, LONG right, LONG bottom) {
        for (LONG y = top; y < bottom; ++y) {
            const LONG sourceY = source.top + MapIndex(y - target.top, destHeight, sourceHeight, mirrorY);
            const uint32_t* row = view.Pixel(0, sourceY);
            for (LONG x = left; x < right; ++x)
                line[static_cast<size_t>(x - left)] = view.Map(row[columns[static_cast<size_t>(x - visible.left)]]);
            BlendRow(dest.PixelAt(left, y), line.data(), right - left, rop, &pattern, left, y);
        }
    });
}
