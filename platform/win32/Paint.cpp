// Update regions, WM_PAINT, BeginPaint/EndPaint and window device contexts.
#include "Paint.h"

#include "DeviceContext.h"
#include "GdiRegion.h"
#include "MessageQueue.h"
#include "WindowHooks.h"

namespace win32 {
namespace {

RECT ClientRect(const Window& window) { return RECT{0, 0, ClientWidth(window), ClientHeight(window)}; }

// Offset from a parent's client coordinates to a child's client coordinates.
POINT ChildClientOffset(const Window& child) {
    const RECT client = ClientAreaInWindow(child);
    return POINT{child.rect.left + client.left, child.rect.top + client.top};
}

bool NeedsPaint(const Window& window) {
    return (!window.updateRegion.Empty() || window.nonClientDirty) && IsVisibleWithAncestors(window);
}

Window* FirstNeedingPaint(Window& window) {
    if ((window.style & WS_VISIBLE) == 0) return nullptr;
    if (NeedsPaint(window)) return &window;
    for (Window* child : window.children)
        if (Window* found = FirstNeedingPaint(*child)) return found;
    return nullptr;
}

// Region of the window's client area in device coordinates of a DC whose origin is the client's top-left.
Region VisibleClientInDevice(const Window& window) {
    Region visible = VisibleRegionInTopLevel(window, false);
    const POINT origin = ClientOriginInTopLevel(window);
    visible.Offset(-origin.x, -origin.y);
    return visible;
}

void InvalidateChildren(Window& window, const Region& region, bool erase) {
    for (Window* child : window.children) {
        if ((child->style & WS_VISIBLE) == 0) continue;
        if (!region.Intersects(child->rect)) continue;
        child->nonClientDirty = true;
        Region part = region;
        const POINT offset = ChildClientOffset(*child);
        part.Offset(-offset.x, -offset.y);
        InvalidateClientRegion(*child, part, erase, true);
    }
}

}  // namespace

void InvalidateClientRegion(Window& window, const Region& region, bool erase, bool withChildren) {
    if (!IsVisibleWithAncestors(window)) return;
    const Region clipped = region.IntersectRect(ClientRect(window));
    if (!clipped.Empty()) {
        window.updateRegion = Region::Combine(window.updateRegion, clipped, RGN_OR);
        window.eraseBackground = window.eraseBackground || erase;
    }
    if (withChildren && (window.style & WS_CLIPCHILDREN) == 0) InvalidateChildren(window, region, erase);
}

void InvalidateWholeWindow(Window& window) {
    if (!IsVisibleWithAncestors(window)) return;
    window.nonClientDirty = true;
    InvalidateClientRegion(window, Region(ClientRect(window)), true, false);
    for (Window* child : window.children) InvalidateWholeWindow(*child);
}

void InvalidateParentArea(Window& window, const RECT& rectInParent) {
    if (!window.IsChild()) return;
    Window& parent = *window.parent;
    if (!IsVisibleWithAncestors(parent)) return;
    const Region area(rectInParent);
    InvalidateClientRegion(parent, area, true, false);
    for (Window* sibling : parent.children) {
        if (sibling == &window || (sibling->style & WS_VISIBLE) == 0 || !area.Intersects(sibling->rect)) continue;
        sibling->nonClientDirty = true;
        Region part = area;
        const POINT offset = ChildClientOffset(*sibling);
        part.Offset(-offset.x, -offset.y);
        InvalidateClientRegion(*sibling, part, true, true);
    }
}

Window* NextWindowToPaint() {
    for (Window* top : TopLevelList())
        if (Window* found = FirstNeedingPaint(*top)) return found;
    return nullptr;
}

void WindowDrawingDone(HWND handle) {
    if (Window* window = FindWindowQuietly(handle)) SurfaceChanged(*TopLevelOf(window));
}

}  // namespace win32

using namespace win32;

BOOL InvalidateRect(HWND handle, LPCRECT rect, BOOL erase) {
    Window* window = FindWindowRecord(handle);
    if (window == nullptr) return FALSE;
    const Region region(rect ? *rect : RECT{0, 0, ClientWidth(*window), ClientHeight(*window)});
    InvalidateClientRegion(*window, region, erase != FALSE, true);
    return TRUE;
}

BOOL InvalidateRgn(HWND handle, HRGN regionHandle, BOOL erase) {
    if (regionHandle == nullptr) return InvalidateRect(handle, nullptr, erase);
    Window* window = FindWindowRecord(handle);
    GdiRegion* region = LookupRegion(regionHandle);
    if (window == nullptr || region == nullptr) return FALSE;
    InvalidateClientRegion(*window, region->region, erase != FALSE, true);
    return TRUE;
}

BOOL ValidateRect(HWND handle, LPCRECT rect) {
    Window* window = FindWindowRecord(handle);
    if (window == nullptr) return FALSE;
    if (rect == nullptr) {
        window->updateRegion = Region();
        window->eraseBackground = false;
    } else {
        window->updateRegion = Region::Combine(window->updateRegion, Region(*rect), RGN_DIFF);
    }
    return TRUE;
}

BOOL ValidateRgn(HWND handle, HRGN regionHandle) {
    if (regionHandle == nullptr) return ValidateRect(handle, nullptr);
    Window* window = FindWindowRecord(handle);
    GdiRegion* region = LookupRegion(regionHandle);
    if (window == nullptr || region == nullptr) return FALSE;
    window->updateRegion = Region::Combine(window->updateRegion, region->region, RGN_DIFF);
    return TRUE;
}

BOOL UpdateWindow(HWND handle) {
    Window* window = FindWindowRecord(handle);
    if (window == nullptr) return FALSE;
    if (NeedsPaint(*window)) {
        SendMessageA(handle, WM_PAINT, 0, 0);
        window = FindWindowQuietly(handle);
        if (window == nullptr) return TRUE;
        // A procedure that never calls BeginPaint still gets its frame drawn.
        if (window->nonClientDirty) {
            window->nonClientDirty = false;
            SendMessageA(handle, WM_NCPAINT, 1, 0);
        }
    }
    std::vector<HWND> children;
    for (Window* child : window->children) children.push_back(child->handle);
    for (HWND child : children)
        if (IsWindow(child)) UpdateWindow(child);
    return TRUE;
}

BOOL RedrawWindow(HWND handle, LPCRECT rect, HRGN region, UINT flags) {
    Window* window = FindWindowRecord(handle);
    if (window == nullptr) return FALSE;
    if (flags & RDW_INVALIDATE) {
        if (region != nullptr)
            InvalidateRgn(handle, region, (flags & RDW_ERASE) != 0);
        else
            InvalidateRect(handle, rect, (flags & RDW_ERASE) != 0);
        if (flags & RDW_FRAME) window->nonClientDirty = true;
        if (flags & RDW_ALLCHILDREN) InvalidateWholeWindow(*window);
    }
    if (flags & RDW_VALIDATE) {
        if (region != nullptr)
            ValidateRgn(handle, region);
        else
            ValidateRect(handle, rect);
    }
    if (flags & RDW_UPDATENOW) UpdateWindow(handle);
    return TRUE;
}

BOOL GetUpdateRect(HWND handle, LPRECT rect, BOOL erase) {
    Window* window = FindWindowRecord(handle);
    if (window == nullptr) return FALSE;
    const RECT bounds = window->updateRegion.Bounds();
    if (rect != nullptr) *rect = bounds;
    const bool any = !window->updateRegion.Empty();
    if (any && erase && window->eraseBackground) {
        window->eraseBackground = false;
        const Region area = Region::Combine(VisibleClientInDevice(*window), window->updateRegion, RGN_AND);
        HDC dc = CreateSurfaceDC(TopLevelOf(window)->surface.get(), ClientOriginInTopLevel(*window), area, handle);
        SendMessageA(handle, WM_ERASEBKGND, WPARAM(dc), 0);
        DeleteDC(dc);
    }
    return any;
}

int GetUpdateRgn(HWND handle, HRGN regionHandle, BOOL) {
    Window* window = FindWindowRecord(handle);
    GdiRegion* region = LookupRegion(regionHandle);
    if (window == nullptr || region == nullptr) return ERROR;
    region->region = window->updateRegion;
    return region->region.Complexity();
}

HDC BeginPaint(HWND handle, LPPAINTSTRUCT paint) {
    Window* window = FindWindowRecord(handle);
    if (window == nullptr || paint == nullptr) return nullptr;
    HideCaretForPaint(handle);
    if (window->nonClientDirty) {
        window->nonClientDirty = false;
        SendMessageA(handle, WM_NCPAINT, 1, 0);
        window = FindWindowQuietly(handle);
        if (window == nullptr) return nullptr;
    }
    const Region update = window->updateRegion;
    const bool erase = window->eraseBackground;
    window->updateRegion = Region();
    window->eraseBackground = false;
    Window* top = TopLevelOf(window);
    const Region visible = Region::Combine(VisibleClientInDevice(*window), update, RGN_AND);
    HDC dc = CreateSurfaceDC(top->surface.get(), ClientOriginInTopLevel(*window), visible, handle);
    *paint = PAINTSTRUCT{};
    paint->hdc = dc;
    paint->rcPaint = update.Bounds();
    paint->fErase = erase;
    if (erase) paint->fErase = SendMessageA(handle, WM_ERASEBKGND, WPARAM(dc), 0) == 0;
    return dc;
}

BOOL EndPaint(HWND handle, const PAINTSTRUCT* paint) {
    if (paint != nullptr && paint->hdc != nullptr) DeleteDC(paint->hdc);
    ShowCaretAfterPaint(handle);
    WindowDrawingDone(handle);
    return TRUE;
}

HDC GetDCEx(HWND handle, HRGN clip, DWORD) {
    if (handle == nullptr) return GetDC(nullptr);
    Window* window = FindWindowRecord(handle);
    if (window == nullptr) return nullptr;
    Window* top = TopLevelOf(window);
    Region visible = VisibleClientInDevice(*window);
    if (GdiRegion* region = LookupRegion(clip)) visible = Region::Combine(visible, region->region, RGN_AND);
    return CreateSurfaceDC(top->surface.get(), ClientOriginInTopLevel(*window), visible, handle);
}

HDC GetWindowDC(HWND handle) {
    Window* window = FindWindowRecord(handle);
    if (window == nullptr) return nullptr;
    Window* top = TopLevelOf(window);
    Region visible = VisibleRegionInTopLevel(*window, true);
    const POINT origin = WindowOriginInTopLevel(*window);
    visible.Offset(-origin.x, -origin.y);
    return CreateSurfaceDC(top->surface.get(), origin, visible, handle);
}

BOOL LockWindowUpdate(HWND) { return TRUE; }
