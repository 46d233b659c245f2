// TMemBitmapScroller: a selectable rectangle scroller that shows its own copy
// of a memory bitmap magnified by an integer zoom and stretched by two display
// ratios, and copies, cuts and pastes the pixels of its selections through
// the clipboard.
#pragma once

#include "SelectableRectScroller.h"

class TMemBitmap;

// The scroller keeps two bitmaps: the image (its picture) and the display
// buffer (the image with every pixel a Zoom x Zoom block, at 16 bits a
// pixel in 24 bits). At Zoom 1 the image is its own display and the buffer
// holds nothing, so the picture is not kept twice. The user rectangle is the
// display's size times the ratios; selections, rulers and mouse events count
// image pixels ("real" coordinates), which the ratios do not change.
//
// Every depth the memory bitmap holds (4, 8, 16 and 24 bits a pixel) is shown
// and edited alike: 8- and 24-bit pictures through pixel views, the others
// through the bitmap's own pixel access. Cut pixels become 0 (index 0, or
// black). A picture on the clipboard pastes only into an image of its bits
// per pixel; an 8-bit one pastes its indexes as they are, whatever its palette.
//
// Design-time instances have no bitmaps: every operation then does nothing,
// and those that return something return false, null or 0.
//
// Keys (besides the inherited ones), while a selection exists: Ctrl+C copies
// it to the clipboard, Ctrl+X cuts it; when no picture of it can be made, a
// message box says so.
class TMemBitmapScroller : public TSelectableRectScroller {
    CLASSLIB_CLASS(TMemBitmapScroller, TSelectableRectScroller)

public:
    // The selectable scroller's construction, scroll pages of 256, an empty
    // image and buffer, then Init.
    explicit TMemBitmapScroller(TComponent* owner);
    // Frees the image and the buffer.
    ~TMemBitmapScroller() override;

    // The inherited Init, then TabStop on, FillBackground off, both ratios
    // 1 and Zoom 1.
    void Init() override;

    // ---- Image ----
    // Copies source into the image and shows it; a new size sets new ranges.
    void SetImage(TMemBitmap& source);
    // Takes bitmap as the image (the scroller frees it later) and returns the
    // previous image, which the caller then owns. A null bitmap, the image
    // itself and any bitmap at design time are refused: null is returned, the
    // image stays and the caller keeps its bitmap.
    TMemBitmap* SetImageAddr(TMemBitmap* bitmap);
    TMemBitmap* GetImage() const { return FImage; }
    TMemBitmap* GetImageAddr() const { return FImage; }
    // A blank picture of that size in the image's depth (and colour table),
    // unless the image has that size already; a size no bitmap can have
    // leaves the image as it is.
    void SetImageSizes(int width, int height);
    // After the image's pixels were changed: its painting copy, the buffer,
    // the ranges and the window follow.
    void RefreshImage();
    // Rebuilds the buffer from the image at Zoom (at Zoom 1 empties it). An
    // empty image gives an empty buffer (true, no message). A buffer that
    // cannot be had (beyond 65535 pixels a side or 2^28 in all, or out of
    // memory) shows "The
    // system cannot handle an image of size<w, h>..." (owned by the
    // scroller's window) with the true sizes, and gives false.
    bool RefreshImageBuffer();
    // The bitmap that is painted: the buffer, or at Zoom 1 the image; null at
    // design time.
    TMemBitmap* GetImageBuffer() const { return FImageBuffer && Zoom == 1 ? FImage : FImageBuffer; }

    // ---- Zoom and ratios ----
    int GetZoom() const { return Zoom; }
    // Ignored below 1 and when unchanged. When the buffer cannot be made at
    // z, the previous zoom comes back with its buffer.
    void SetZoomRatio(int z);
    void SetZoom(int z) { SetZoomRatio(z); }
    float GetHorzRatio() const { return HorzRatio; }
    float GetVertRatio() const { return VertRatio; }
    // Store, then Refresh. AutoScroll is on exactly while both ratios are 1.
    // A ratio of 0 or below gives an empty rectangle on its axis.
    void SetHorzRatio(float ratio);
    void SetVertRatio(float ratio);

    // ---- Selections and the clipboard ----
    // A new bitmap (the caller frees it) of the selection's pixels in the
    // image's depth and palette; the whole image without a selection.
    // Rectangle: the rectangle cut to the image. Ellipse: (2a + 1) x (2b + 1)
    // with the centre in the middle. Polygon: its points' bounding box. Pixels
    // outside the shape, and those outside the image, are 0. Null for a
    // skewed rectangle, a rectangle wholly outside the image, a shape too
    // large for a bitmap, or without an image.
    TMemBitmap* GetSelectionImage();
    // Puts GetSelectionImage on the clipboard (false when there is none);
    // with cut, the pixels of the shape then become 0 in the image.
    bool CopyImage(bool cut);
    // The clipboard's picture into the image, its top-left corner at the
    // selection's (the rectangle's, or the ellipse's or polygon's bounding
    // box's), at (0, 0) without a selection, cut to the image. False without
    // a picture on the clipboard or an image to paste into; a picture of
    // other bits per pixel shows "The images are not compatible with each
    // other" and changes nothing.
    bool Paste();

    // ---- Overrides of the selectable scroller ----
    // (width x HorzRatio, height x VertRatio) of the bitmap painted,
    // truncated; (0, 0) without a picture.
    SIZE GetRectSizes() override;
    // x x Zoom + Zoom / 2: the centre of the zoomed pixel.
    int GetScreenHCoord(int x) override;
    int GetScreenVCoord(int y) override;
    // x / Zoom, rounded down (a point left of or above the picture stays
    // outside it).
    int GetRealHCoord(int x) override;
    int GetRealVCoord(int y) override;
    // The larger of the image's width and height.
    int GetRulerMax() override;
    void InvertSelection(bool show = true) override;
    void DrawRuler() override;
    // The mouse events reach the owner in image pixels.
    void DoOnMouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void DoOnMouseMove(TShiftState shift, int x, int y) override;
    void DoOnMouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

protected:
    // The buffer at the rectangle's corner (stretched to the rectangle unless
    // both ratios are 1), then the inherited figures. The picture covers the
    // whole rectangle, so no background is filled under it.
    void PaintRect(POINT origin, SIZE size) override;
    void KeyDown(WORD& key, TShiftState shift) override;

    float HorzRatio = 1.0f;
    float VertRatio = 1.0f;
    TMemBitmap* FImage = nullptr;
    TMemBitmap* FImageBuffer = nullptr;
    int Zoom = 1;

private:
    // Fills the buffer (already of the right size and depth) from the image.
    void ZoomIntoBuffer();
    // The buffer holds no picture.
    void EmptyBuffer();
    void ShowZoomFailure(int64_t width, int64_t height);
    void ApplyRatios();
    // Where a pasted picture's corner goes: the selection's top-left.
    POINT PasteCorner();
    // The image's pixels inside the selection (all of them without one) become 0.
    void ClearSelectionPixels();
    TMemBitmap* GetEllipseImage();
    TMemBitmap* GetPolygonImage();
};

namespace Membitmapscroller {
// Registers TMemBitmapScroller on the palette page "Rollan".
void Register();
}  // namespace Membitmapscroller

// The property table of the class (called by the package's start-up).
void RegisterMemBitmapScrollerProperties();
