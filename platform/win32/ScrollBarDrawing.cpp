// Layout and painting of scroll bars (arrows at both ends, the track and the
// thumb) and of the rest of the non-client area: frame, caption and close box.
#include <algorithm>
#include <cstdint>

#include "Gdi.h"
#include "Paint.h"
#include "Text.h"
#include "ScrollBarGeometry.h"
#include "SystemMetrics.h"
#include "WindowHooks.h"

namespace win32 {

ScrollBarLayout LayOutScrollBar(const RECT& rect, bool vertical, const ScrollBarState& state) {
    ScrollBarLayout layout;
    layout.vertical = vertical;
    layout.bar = rect;
    const int start = vertical ? rect.top : rect.left;
    const int end = vertical ? rect.bottom : rect.right;
    const int thickness = vertical ? rect.right - rect.left : rect.bottom - rect.top;
    const int length = std::max(0, end - start);
    layout.arrowLength = std::min(thickness, length / 2);
    layout.trackStart = start + layout.arrowLength;
    layout.trackEnd = end - layout.arrowLength;
    layout.thumbStart = layout.thumbEnd = layout.trackStart;
    const int trackLength = layout.trackEnd - layout.trackStart;
    const int64_t span = int64_t(state.maximum) - state.minimum + 1;
    const bool scrollable = state.maximum > state.minimum && int64_t(state.page) <= span - 1;
    if (!scrollable || state.disabledArrows == ESB_DISABLE_BOTH) return layout;
    int thumbLength = state.page == 0 ? GetSystemMetrics(SM_CYVTHUMB)
                                      : int(std::max<int64_t>(int64_t(trackLength) * state.page / span, 8));
    if (thumbLength > trackLength) return layout;
    const int64_t range = int64_t(HighestScrollPosition(state)) - state.minimum;
    const int position = state.tracking ? state.trackPosition : state.position;
    const int64_t offset = range > 0 ? int64_t(trackLength - thumbLength) * (position - state.minimum) / range : 0;
    layout.thumbStart = layout.trackStart + int(offset);
    layout.thumbEnd = layout.thumbStart + thumbLength;
    return layout;
}

int PositionForThumb(const ScrollBarLayout& layout, const ScrollBarState& state, int thumbStart) {
    const int room = (layout.trackEnd - layout.trackStart) - (layout.thumbEnd - layout.thumbStart);
    if (room <= 0) return state.minimum;
    const int offset = std::min(std::max(thumbStart - layout.trackStart, 0), room);
    const int64_t range = int64_t(HighestScrollPosition(state)) - state.minimum;
    return state.minimum + int((offset * range + room / 2) / room);
}

RECT ScrollBarRectInTopLevel(const Window& window, int bar) {
    if (bar == SB_CTL) {
        const POINT origin = ClientOriginInTopLevel(window);
        return RECT{origin.x, origin.y, origin.x + ClientWidth(window), origin.y + ClientHeight(window)};
    }
    const POINT origin = WindowOriginInTopLevel(window);
    const RECT r = StandardBarRect(window, bar);
    return RECT{r.left + origin.x, r.top + origin.y, r.right + origin.x, r.bottom + origin.y};
}

namespace {

void FillClipped(Surface& surface, const Region& clip, const RECT& rect, COLORREF colour) {
    const uint32_t pixel = PixelFromColour(colour);
    const RECT bounded = IntersectRects(rect, surface.Bounds());
    clip.ForEachRectIn(bounded, [&](LONG left, LONG top, LONG right, LONG bottom) {
        for (LONG y = top; y < bottom; ++y) std::fill(surface.Row(y) + left, surface.Row(y) + right, pixel);
    });
}

// The track: a halftone of highlight and face, anchored to the surface so that
// every repaint lays the same pixels. A flat track beside a flat thumb would
// read as a raised part itself, and a thumb filling most of the bar as the face.
void FillTrack(Surface& surface, const Region& clip, const RECT& rect) {
    const uint32_t light = PixelFromColour(GetSysColor(COLOR_BTNHIGHLIGHT));
    const uint32_t face = PixelFromColour(GetSysColor(COLOR_BTNFACE));
    const RECT bounded = IntersectRects(rect, surface.Bounds());
    clip.ForEachRectIn(bounded, [&](LONG left, LONG top, LONG right, LONG bottom) {
        for (LONG y = top; y < bottom; ++y) {
            uint32_t* row = surface.Row(y);
            for (LONG x = left; x < right; ++x) row[x] = ((x + y) & 1) == 0 ? light : face;
        }
    });
}

// One ring of a raised edge: lead colour on the top and left, trail colour on the bottom and right.
void DrawRing(Surface& surface, const Region& clip, const RECT& r, COLORREF lead, COLORREF trail) {
    FillClipped(surface, clip, RECT{r.left, r.top, r.right, r.top + 1}, lead);
    FillClipped(surface, clip, RECT{r.left, r.top, r.left + 1, r.bottom}, lead);
    FillClipped(surface, clip, RECT{r.left, r.bottom - 1, r.right, r.bottom}, trail);
    FillClipped(surface, clip, RECT{r.right - 1, r.top, r.right, r.bottom}, trail);
}

// Arrows and the thumb: a face with a two-ring raised edge, its outer ring dark
// at the bottom and right so that the thumb's end shows against the track.
void DrawButton(Surface& surface, const Region& clip, const RECT& r) {
    FillClipped(surface, clip, r, GetSysColor(COLOR_BTNFACE));
    DrawRing(surface, clip, r, GetSysColor(COLOR_3DLIGHT), GetSysColor(COLOR_3DDKSHADOW));
    DrawRing(surface, clip, RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}, GetSysColor(COLOR_BTNHIGHLIGHT),
             GetSysColor(COLOR_BTNSHADOW));
}

// A small triangle pointing away from the track: direction 0 up, 1 down, 2 left, 3 right.
void DrawArrow(Surface& surface, const Region& clip, const RECT& r, int direction, bool enabled) {
    DrawButton(surface, clip, r);
    const COLORREF colour = enabled ? RGB(0, 0, 0) : GetSysColor(COLOR_GRAYTEXT);
    const int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
    for (int step = 0; step < 4; ++step) {
        const int tip = step - 2;  // rows from the tip outwards
        if (direction < 2) {
            const int y = direction == 0 ? cy + tip : cy - tip;
            FillClipped(surface, clip, RECT{cx - step, y, cx + step + 1, y + 1}, colour);
        } else {
            const int x = direction == 2 ? cx + tip : cx - tip;
            FillClipped(surface, clip, RECT{x, cy - step, x + 1, cy + step + 1}, colour);
        }
    }
}

// The caption's close box, in surface coordinates: a raised button with a cross.
void DrawCloseBox(Surface& surface, const Region& clip, RECT box) {
    DrawButton(surface, clip, box);
    // The cross: two strokes two pixels wide, centred in the face.
    const int size = std::min(box.right - box.left, box.bottom - box.top) - 7;
    const int left = (box.left + box.right - size) / 2 - 1, top = (box.top + box.bottom - size) / 2 - 1;
    for (int step = 0; step < size; ++step) {
        FillClipped(surface, clip, RECT{left + step, top + step, left + step + 2, top + step + 1}, RGB(0, 0, 0));
        FillClipped(surface, clip, RECT{left + size - 1 - step, top + step, left + size + 1 - step, top + step + 1},
                    RGB(0, 0, 0));
    }
}

}  // namespace

void PaintScrollBar(Window& window, int bar) {
    ScrollBarState* state = ScrollBarOf(window, bar);
    Window* top = TopLevelOf(&window);
    if (state == nullptr || top == nullptr || !top->surface || !IsVisibleWithAncestors(window)) return;
    const Region clip = VisibleRegionInTopLevel(window, bar != SB_CTL);
    const RECT rect = ScrollBarRectInTopLevel(window, bar);
    const bool vertical = IsVerticalBar(window, bar);
    const ScrollBarLayout layout = LayOutScrollBar(rect, vertical, *state);
    Surface& surface = *top->surface;
    FillTrack(surface, clip, rect);
    const bool firstEnabled = (state->disabledArrows & ESB_DISABLE_LTUP) == 0 && IsEnabledWithAncestors(window);
    const bool lastEnabled = (state->disabledArrows & ESB_DISABLE_RTDN) == 0 && IsEnabledWithAncestors(window);
    if (vertical) {
        DrawArrow(surface, clip, RECT{rect.left, rect.top, rect.right, layout.trackStart}, 0, firstEnabled);
        DrawArrow(surface, clip, RECT{rect.left, layout.trackEnd, rect.right, rect.bottom}, 1, lastEnabled);
        if (layout.thumbEnd > layout.thumbStart)
            DrawButton(surface, clip, RECT{rect.left, layout.thumbStart, rect.right, layout.thumbEnd});
    } else {
        DrawArrow(surface, clip, RECT{rect.left, rect.top, layout.trackStart, rect.bottom}, 2, firstEnabled);
        DrawArrow(surface, clip, RECT{layout.trackEnd, rect.top, rect.right, rect.bottom}, 3, lastEnabled);
        if (layout.thumbEnd > layout.thumbStart)
            DrawButton(surface, clip, RECT{layout.thumbStart, rect.top, layout.thumbEnd, rect.bottom});
    }
    SurfaceChanged(*top);
}

// The window's text in its title bar, left-aligned in the caption colour.
static void DrawCaptionText(Window& window, RECT bar) {
    if (window.text.empty()) return;
    HDC dc = GetWindowDC(window.handle);
    if (dc == nullptr) return;
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_CAPTIONTEXT));
    bar.left += 4;
    DrawTextA(dc, window.text.c_str(), -1, &bar, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, oldFont);
    ReleaseDC(window.handle, dc);
}

void DrawNonClient(Window& window) {
    Window* top = TopLevelOf(&window);
    if (top == nullptr || !top->surface || !IsVisibleWithAncestors(window)) return;
    const Region clip = VisibleRegionInTopLevel(window, true);
    const POINT origin = WindowOriginInTopLevel(window);
    const int width = window.rect.right - window.rect.left, height = window.rect.bottom - window.rect.top;
    const int border = BorderThickness(window);
    Surface& surface = *top->surface;
    const COLORREF frame = (window.style & WS_THICKFRAME) ? GetSysColor(COLOR_BTNFACE) : RGB(0, 0, 0);
    for (int i = 0; i < border; ++i) {
        const RECT outer{origin.x + i, origin.y + i, origin.x + width - i, origin.y + height - i};
        const COLORREF colour = i == 0 ? RGB(0, 0, 0) : frame;
        FillClipped(surface, clip, RECT{outer.left, outer.top, outer.right, outer.top + 1}, colour);
        FillClipped(surface, clip, RECT{outer.left, outer.bottom - 1, outer.right, outer.bottom}, colour);
        FillClipped(surface, clip, RECT{outer.left, outer.top, outer.left + 1, outer.bottom}, colour);
        FillClipped(surface, clip, RECT{outer.right - 1, outer.top, outer.right, outer.bottom}, colour);
    }
    const int caption = CaptionHeight(window);
    if (caption > 0) {
        FillClipped(surface, clip,
                    RECT{origin.x + border, origin.y + border, origin.x + width - border, origin.y + border + caption},
                    GetSysColor(COLOR_ACTIVECAPTION));
        const RECT closeBox = CloseBoxRect(window);
        const bool hasCloseBox = closeBox.right > closeBox.left;
        if (hasCloseBox)
            DrawCloseBox(surface, clip,
                         RECT{origin.x + closeBox.left, origin.y + closeBox.top, origin.x + closeBox.right,
                              origin.y + closeBox.bottom});
        const int textEnd = hasCloseBox ? closeBox.left - 2 : width - border;
        DrawCaptionText(window, RECT{border, border, textEnd, border + caption});
    }
    const bool both = StandardBarVisible(window, SB_HORZ) && StandardBarVisible(window, SB_VERT);
    for (int bar = SB_HORZ; bar <= SB_VERT; ++bar)
        if (StandardBarVisible(window, bar)) PaintScrollBar(window, bar);
    if (both) {
        const RECT client = ClientAreaInWindow(window);
        FillClipped(surface, clip,
                    RECT{origin.x + client.right, origin.y + client.bottom, origin.x + client.right + 16,
                         origin.y + client.bottom + 16},
                    GetSysColor(COLOR_BTNFACE));
    }
    SurfaceChanged(*top);
}

void DrawScrollBarControl(Window& window, HDC) { PaintScrollBar(window, SB_CTL); }

}  // namespace win32
