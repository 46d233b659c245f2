// ScrollWindow and ScrollWindowEx: moving a client area's pixels, its update
// region, its caret and (optionally) its children.
#include <cstring>
#include <vector>

#include "GdiRegion.h"
#include "Paint.h"
#include "WindowHooks.h"

namespace win32 {
namespace {

RECT Intersect(const RECT& a, const RECT& b) { return IntersectRects(a, b); }

Region Offset(Region region, int dx, int dy) {
    region.Offset(dx, dy);
    return region;
}

bool Holds(const RECT& outer, const RECT& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right && inner.bottom <= outer.bottom;
}

// The usual case, a rectangle inside the surface: each row moves with one
// memmove, rows taken in the order that reads every row before it is overwritten.
bool MoveRectanglePixels(Surface& surface, POINT origin, const RECT& destination, int dx, int dy) {
    const RECT target{destination.left + origin.x, destination.top + origin.y, destination.right + origin.x,
                      destination.bottom + origin.y};
    const RECT source{target.left - dx, target.top - dy, target.right - dx, target.bottom - dy};
    if (!Holds(surface.Bounds(), target) || !Holds(surface.Bounds(), source)) return false;
    const LONG height = target.bottom - target.top;
    const size_t bytes = size_t(target.right - target.left) * sizeof(uint32_t);
    for (LONG i = 0; i < height; ++i) {
        const LONG row = dy > 0 ? height - 1 - i : i;
        std::memmove(surface.Row(target.top + row) + target.left, surface.Row(source.top + row) + source.left, bytes);
    }
    return true;
}

// Copies the pixels of destination (client coordinates) from dx, dy back.
void MovePixels(Window& window, const Region& destination, int dx, int dy) {
    Window* top = TopLevelOf(&window);
    if (!top->surface || destination.Empty()) return;
    Surface& surface = *top->surface;
    const POINT origin = ClientOriginInTopLevel(window);
    if (destination.Complexity() == SIMPLEREGION && MoveRectanglePixels(surface, origin, destination.Bounds(), dx, dy))
        return;
    const RECT source = Offset(destination, -dx, -dy).Bounds();
    const RECT sourceInSurface = Intersect(
        RECT{source.left + origin.x, source.top + origin.y, source.right + origin.x, source.bottom + origin.y},
        surface.Bounds());
    const int width = sourceInSurface.right - sourceInSurface.left;
    const int height = sourceInSurface.bottom - sourceInSurface.top;
    if (width <= 0 || height <= 0) return;
    std::vector<uint32_t> copy(size_t(width) * size_t(height));
    for (int y = 0; y < height; ++y)
        std::copy(surface.Row(sourceInSurface.top + y) + sourceInSurface.left,
                  surface.Row(sourceInSurface.top + y) + sourceInSurface.right, copy.begin() + ptrdiff_t(y) * width);
    destination.ForEachRectIn(RECT{-0x40000000, -0x40000000, 0x40000000, 0x40000000},
                              [&](LONG left, LONG top, LONG right, LONG bottom) {
        for (LONG y = top; y < bottom; ++y) {
            const LONG surfaceY = y + origin.y, sourceY = surfaceY - dy - sourceInSurface.top;
            if (surfaceY < 0 || surfaceY >= surface.Height() || sourceY < 0 || sourceY >= height) continue;
            for (LONG x = left; x < right; ++x) {
                const LONG surfaceX = x + origin.x, sourceX = surfaceX - dx - sourceInSurface.left;
                if (surfaceX < 0 || surfaceX >= surface.Width() || sourceX < 0 || sourceX >= width) continue;
                surface.Row(surfaceY)[surfaceX] = copy[size_t(sourceY) * size_t(width) + size_t(sourceX)];
            }
        }
    });
}

void MoveChildren(Window& window, int dx, int dy) {
    std::vector<HWND> children;
    for (Window* child : window.children) children.push_back(child->handle);
    for (HWND handle : children) {
        Window* child = FindWindowQuietly(handle);
        if (child == nullptr) continue;
        child->rect = RECT{child->rect.left + dx, child->rect.top + dy, child->rect.right + dx, child->rect.bottom + dy};
        InvalidateWholeWindow(*child);
        SendMoveMessage(*child);
    }
}

}  // namespace

}  // namespace win32

using namespace win32;

int ScrollWindowEx(HWND handle, int dx, int dy, LPCRECT rect, LPCRECT clip, HRGN updateRegion, LPRECT updateRect,
                   UINT flags) {
    Window* window = FindWindowRecord(handle);
    if (window == nullptr) return ERROR;
    const RECT client{0, 0, ClientWidth(*window), ClientHeight(*window)};
    RECT area = rect ? Intersect(*rect, client) : client;
    if (clip != nullptr) area = Intersect(area, *clip);
    const Region areaRegion(area);
    Region visible = VisibleRegionInTopLevel(*window, false);
    const POINT origin = ClientOriginInTopLevel(*window);
    visible.Offset(-origin.x, -origin.y);
    const Region validSource = Region::Combine(areaRegion, visible, RGN_AND);
    const Region moved = Offset(validSource, dx, dy).IntersectRect(area);
    const Region uncovered = Region::Combine(areaRegion, moved, RGN_DIFF);
    if (IsVisibleWithAncestors(*window)) {
        HideCaretForPaint(handle);
        MovePixels(*window, Region::Combine(moved, visible, RGN_AND), dx, dy);
        ShowCaretAfterPaint(handle);
    }
    // An update region inside the area moves with the pixels.
    const Region inside = Region::Combine(window->updateRegion, areaRegion, RGN_AND);
    window->updateRegion = Region::Combine(Region::Combine(window->updateRegion, areaRegion, RGN_DIFF),
                                           Offset(inside, dx, dy).IntersectRect(area), RGN_OR);
    if (flags & SW_INVALIDATE) InvalidateClientRegion(*window, uncovered, (flags & SW_ERASE) != 0, false);
    MoveCaretWithScroll(handle, area, dx, dy);
    if (flags & SW_SCROLLCHILDREN) MoveChildren(*window, dx, dy);
    if (updateRect != nullptr) *updateRect = uncovered.Bounds();
    if (GdiRegion* out = LookupRegion(updateRegion)) out->region = uncovered;
    if (Window* top = TopLevelOf(window)) SurfaceChanged(*top);
    return uncovered.Complexity();
}

BOOL ScrollWindow(HWND handle, int dx, int dy, LPCRECT rect, LPCRECT clip) {
    const UINT flags = SW_INVALIDATE | SW_ERASE | (rect == nullptr ? SW_SCROLLCHILDREN : 0);
    return ScrollWindowEx(handle, dx, dy, rect, clip, nullptr, nullptr, flags) != ERROR;
}
