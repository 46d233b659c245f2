// TMemBitmapScroller's selections as pixels: the picture of a selection, copy
// and cut to the clipboard, paste from it, and the Ctrl+C and Ctrl+X keys.
#include <algorithm>
#include <memory>

#include "Application.h"
#include "BitmapPixels.h"
#include "ImageColors.h"
#include "MemBitmap.h"
#include "MemBitmapScroller.h"
#include "ScrollArithmetic.h"

namespace {

// The largest radius whose ellipse still fits a bitmap (2 x 32767 + 1 pixels).
constexpr int kMaximumRadius = 32767;

bool HasPixels(TMemBitmap& bitmap) {
    return bitmap.Valid && bitmap.GetDIB() != nullptr && bitmap.Width > 0 && bitmap.Height > 0;
}

RECT Normalised(const RECT& r) {
    return RECT{std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
                std::max(r.top, r.bottom)};
}

// The points' bounding box, right and bottom included.
struct TBounds {
    int64_t left, top, right, bottom;
};

TBounds PointBounds(const TPointContainer& points) {
    TBounds box{points[0].x, points[0].y, points[0].x, points[0].y};
    for (int i = 1; i < points.GetCount(); ++i) {
        box.left = std::min<int64_t>(box.left, points[i].x);
        box.right = std::max<int64_t>(box.right, points[i].x);
        box.top = std::min<int64_t>(box.top, points[i].y);
        box.bottom = std::max<int64_t>(box.bottom, points[i].y);
    }
    return box;
}

// Every row of the rectangle (edges included) that lies in the picture.
void RectangleSpans(const RECT& r, int pictureHeight, const TPixelSpanSink& sink) {
    for (int64_t y = std::max<int64_t>(r.top, 0); y <= std::min<int64_t>(r.bottom, int64_t(pictureHeight) - 1); ++y)
        sink(TPixelSpan{false, y, r.left, r.right});
}

}  // namespace

// ---- The selection's picture ----

TMemBitmap* TMemBitmapScroller::GetSelectionImage() {
    if (!FImage || !HasPixels(*FImage)) return nullptr;
    if (!FSelection) return FImage->GetImage(0, 0, FImage->Width, FImage->Height);
    switch (SelectionType) {
        case selRect: {
            // Cut to the picture here: a selection kept from a larger picture may reach past it.
            const RECT r = Normalised(FSelectRect);
            const int64_t left = std::max<int64_t>(r.left, 0), top = std::max<int64_t>(r.top, 0);
            const int64_t right = std::min<int64_t>(r.right, FImage->Width - 1);
            const int64_t bottom = std::min<int64_t>(r.bottom, FImage->Height - 1);
            if (left > right || top > bottom) return nullptr;
            return FImage->GetImage(int(left), int(top), int(right - left + 1), int(bottom - top + 1));
        }
        case selEllipse: return GetEllipseImage();
        case selPolygon: return GetPolygonImage();
        case selSkewRect: break;
    }
    return nullptr;
}

// The centre lands in the middle of a (2a + 1) x (2b + 1) bitmap.
TMemBitmap* TMemBitmapScroller::GetEllipseImage() {
    const int a = SelectHorzRadius, b = SelectVertRadius;
    if (a < 0 || b < 0 || a > kMaximumRadius || b > kMaximumRadius) return nullptr;
    std::unique_ptr<TMemBitmap> result(NewBitmapLike(*FImage, 2 * a + 1, 2 * b + 1));
    if (!result) return nullptr;
    {
        TBitmapPixels source(*FImage);
        TBitmapPixels target(*result);
        const POINT offset{Saturate(int64_t(a) - FSelectCenter.x), Saturate(int64_t(b) - FSelectCenter.y)};
        EllipseSpans(FSelectCenter, a, b, [&](const TPixelSpan& span) { PutSpan(target, &source, 0, span, offset); });
    }
    result->Refresh();
    return result.release();
}

TMemBitmap* TMemBitmapScroller::GetPolygonImage() {
    if (FPoints.GetCount() == 0) return nullptr;
    const TBounds box = PointBounds(FPoints);
    const int64_t width = box.right - box.left + 1, height = box.bottom - box.top + 1;
    if (!BitmapCanHold(width, height)) return nullptr;
    std::unique_ptr<TMemBitmap> result(NewBitmapLike(*FImage, int(width), int(height)));
    if (!result) return nullptr;
    {
        TBitmapPixels source(*FImage);
        TBitmapPixels target(*result);
        const POINT offset{Saturate(-box.left), Saturate(-box.top)};
        PolygonSpans(FPoints, 0, int64_t(FImage->Height) - 1,
                     [&](const TPixelSpan& span) { PutSpan(target, &source, 0, span, offset); });
    }
    result->Refresh();
    return result.release();
}

// ---- Copy, cut and paste ----

bool TMemBitmapScroller::CopyImage(bool cut) {
    TMemBitmap* part = GetSelectionImage();
    if (!part) return false;
    part->CopyToClipboard();
    delete part;
    if (cut) {
        ClearSelectionPixels();
        RefreshImage();
    }
    return true;
}

// The same shapes as GetSelectionImage reads, so a cut clears what a copy took.
void TMemBitmapScroller::ClearSelectionPixels() {
    TBitmapPixels pixels(*FImage);
    const TPixelSpanSink clear = [&](const TPixelSpan& span) { PutSpan(pixels, nullptr, 0, span, POINT{0, 0}); };
    const int height = FImage->Height;
    if (!FSelection) {
        RectangleSpans(RECT{0, 0, FImage->Width - 1, height - 1}, height, clear);
        return;
    }
    switch (SelectionType) {
        case selRect: RectangleSpans(Normalised(FSelectRect), height, clear); break;
        case selEllipse: EllipseSpans(FSelectCenter, SelectHorzRadius, SelectVertRadius, clear); break;
        case selPolygon: PolygonSpans(FPoints, 0, int64_t(height) - 1, clear); break;
        case selSkewRect: break;
    }
}

POINT TMemBitmapScroller::PasteCorner() {
    if (!FSelection) return POINT{0, 0};
    switch (SelectionType) {
        case selRect: {
            const RECT r = Normalised(FSelectRect);
            return POINT{r.left, r.top};
        }
        case selEllipse: {
            const RECT box = GetSelectRect();
            return POINT{box.left, box.top};
        }
        case selPolygon: {
            if (FPoints.GetCount() == 0) break;
            const TBounds box = PointBounds(FPoints);
            return POINT{int(box.left), int(box.top)};
        }
        case selSkewRect: break;
    }
    return POINT{0, 0};
}

bool TMemBitmapScroller::Paste() {
    if (!FImage) return false;
    TMemBitmap pasted;
    if (!pasted.CopyFromClipboard()) return false;
    if (pasted.BitCount != FImage->BitCount) {
        MessageBoxA(HandleAllocated() ? GetHandle() : nullptr, "The images are not compatible with each other",
                    "Paste image", MB_OK | MB_ICONERROR);
        return false;
    }
    if (!HasPixels(*FImage) || !HasPixels(pasted)) return false;
    const POINT corner = PasteCorner();
    {
        TBitmapPixels source(pasted);
        TBitmapPixels target(*FImage);
        if (ImageHasPixels(source.View()) && ImageHasPixels(target.View())) {
            ::CopyImage(target.View(), corner.x, corner.y, source.View());
        } else {
            for (int y = 0; y < source.Height(); ++y)
                PutSpan(target, &source, 0, TPixelSpan{false, y, 0, source.Width() - 1}, corner);
        }
    }
    RefreshImage();
    return true;
}

// ---- Keys ----

void TMemBitmapScroller::KeyDown(WORD& key, TShiftState shift) {
    TSelectableRectScroller::KeyDown(key, shift);
    if (IsDesigning() || !FSelection || !shift.Contains(ssCtrl) || (key != 'C' && key != 'X')) return;
    if (!CopyImage(key == 'X'))
        Application->MessageBox("Cannot copy to the clipboard", "Copy to clipboard", MB_OK | MB_ICONINFORMATION);
}
