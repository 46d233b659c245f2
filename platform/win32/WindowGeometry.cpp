// Window rectangles, client areas, coordinates, visible regions and hit lookup.
#include <algorithm>

#include "Input.h"
#include "SystemMetrics.h"
#include "WindowHooks.h"

namespace win32 {

namespace {

int BorderThicknessOfStyle(DWORD style, DWORD exStyle) {
    int thickness = 0;
    if ((style & WS_THICKFRAME) != 0)
        thickness = 4;
    else if ((style & WS_DLGFRAME) != 0)
        thickness = 3;
    else if ((style & WS_BORDER) != 0)
        thickness = 1;
    if ((exStyle & WS_EX_CLIENTEDGE) != 0) thickness += 2;
    return thickness;
}

int CaptionHeightOfStyle(DWORD style) {
    return (style & WS_CAPTION) == WS_CAPTION ? GetSystemMetrics(SM_CYCAPTION) : 0;
}

}  // namespace

int BorderThickness(const Window& window) { return BorderThicknessOfStyle(window.style, window.exStyle); }

int CaptionHeight(const Window& window) { return CaptionHeightOfStyle(window.style); }


bool StandardBarVisible(const Window& window, int bar) {
    if (window.IsScrollBarControl()) return false;
    return (window.style & (bar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL)) != 0;
}

RECT ClientAreaInWindow(const Window& window) {
    const int width = window.rect.right - window.rect.left;
    const int height = window.rect.bottom - window.rect.top;
    const int border = BorderThickness(window);
    RECT client{border, border + CaptionHeight(window), width - border, height - border};
    if (StandardBarVisible(window, SB_VERT)) client.right -= GetSystemMetrics(SM_CXVSCROLL);
    if (StandardBarVisible(window, SB_HORZ)) client.bottom -= GetSystemMetrics(SM_CYHSCROLL);
    client.right = std::max(client.right, client.left);
    client.bottom = std::max(client.bottom, client.top);
    return client;
}

RECT StandardBarRect(const Window& window, int bar) {
    const RECT client = ClientAreaInWindow(window);
    const int thickness = GetSystemMetrics(bar == SB_VERT ? SM_CXVSCROLL : SM_CYHSCROLL);
    if (bar == SB_VERT) return RECT{client.right, client.top, client.right + thickness, client.bottom};
    return RECT{client.left, client.bottom, client.right, client.bottom + thickness};
}

int ClientWidth(const Window& window) {
    const RECT client = ClientAreaInWindow(window);
    return client.right - client.left;
}
int ClientHeight(const Window& window) {
    const RECT client = ClientAreaInWindow(window);
    return client.bottom - client.top;
}

RECT CloseBoxRect(const Window& window) {
    const int caption = CaptionHeight(window);
    if (caption == 0 || (window.style & WS_SYSMENU) == 0) return RECT{0, 0, 0, 0};
    const int border = BorderThickness(window);
    const int right = window.rect.right - window.rect.left - border - 2;
    return RECT{right - (GetSystemMetrics(SM_CXSIZE) - 2), border + 2, right, border + caption - 2};
}

namespace {

bool Inside(const RECT& rect, POINT point) {
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom;
}

// The edge or corner of a sizeable top-level window's frame under a point in
// window coordinates; 0 off the frame. Corners reach a caption button's length
// along the edges, so that they can be found with the pointer.
int FrameEdgeAt(const Window& window, POINT at) {
    if (window.IsChild() || (window.style & WS_THICKFRAME) == 0 || window.maximized) return 0;
    const int width = window.rect.right - window.rect.left, height = window.rect.bottom - window.rect.top;
    const int border = BorderThickness(window);
    if (at.x >= border && at.y >= border && at.x < width - border && at.y < height - border) return 0;
    const int cornerX = GetSystemMetrics(SM_CXSIZE), cornerY = GetSystemMetrics(SM_CYSIZE);
    const int column = at.x < cornerX ? 0 : at.x >= width - cornerX ? 2 : 1;
    const int row = at.y < cornerY ? 0 : at.y >= height - cornerY ? 2 : 1;
    static const int codes[3][3] = {
        {HTTOPLEFT, HTTOP, HTTOPRIGHT}, {HTLEFT, 0, HTRIGHT}, {HTBOTTOMLEFT, HTBOTTOM, HTBOTTOMRIGHT}};
    return codes[row][column];
}

}  // namespace

int WindowHitCode(const Window& window, POINT at) {
    if (!Inside(RECT{0, 0, window.rect.right - window.rect.left, window.rect.bottom - window.rect.top}, at))
        return HTNOWHERE;
    if (Inside(ClientAreaInWindow(window), at)) return HTCLIENT;
    for (int bar = SB_HORZ; bar <= SB_VERT; ++bar)
        if (StandardBarVisible(window, bar) && Inside(StandardBarRect(window, bar), at))
            return bar == SB_VERT ? HTVSCROLL : HTHSCROLL;
    if (const int edge = FrameEdgeAt(window, at)) return edge;
    const int border = BorderThickness(window);
    if (at.y < border || at.y >= border + CaptionHeight(window)) return HTBORDER;
    return Inside(CloseBoxRect(window), at) ? HTCLOSE : HTCAPTION;
}

POINT WindowOriginInTopLevel(const Window& window) {
    POINT origin{0, 0};
    for (const Window* step = &window; step->IsChild(); step = step->parent) {
        const RECT parentClient = ClientAreaInWindow(*step->parent);
        origin.x += step->rect.left + parentClient.left;
        origin.y += step->rect.top + parentClient.top;
    }
    return origin;
}

POINT WindowOriginOnScreen(const Window& window) {
    POINT origin = WindowOriginInTopLevel(window);
    const Window* top = TopLevelOf(const_cast<Window*>(&window));
    origin.x += top->rect.left;
    origin.y += top->rect.top;
    return origin;
}

POINT ClientOriginOnScreen(const Window& window) {
    POINT origin = WindowOriginOnScreen(window);
    const RECT client = ClientAreaInWindow(window);
    return POINT{origin.x + client.left, origin.y + client.top};
}

POINT ClientOriginInTopLevel(const Window& window) {
    POINT origin = WindowOriginInTopLevel(window);
    const RECT client = ClientAreaInWindow(window);
    return POINT{origin.x + client.left, origin.y + client.top};
}

bool IsVisibleWithAncestors(const Window& window) {
    for (const Window* step = &window; step != nullptr; step = step->IsChild() ? step->parent : nullptr)
        if ((step->style & WS_VISIBLE) == 0) return false;
    return true;
}

bool IsEnabledWithAncestors(const Window& window) {
    for (const Window* step = &window; step != nullptr; step = step->IsChild() ? step->parent : nullptr)
        if ((step->style & WS_DISABLED) != 0) return false;
    return true;
}

namespace {

RECT OffsetRect(RECT rect, POINT by) { return RECT{rect.left + by.x, rect.top + by.y, rect.right + by.x, rect.bottom + by.y}; }

RECT WindowRectInTopLevel(const Window& window) {
    const POINT origin = WindowOriginInTopLevel(window);
    return RECT{origin.x, origin.y, origin.x + window.rect.right - window.rect.left,
                origin.y + window.rect.bottom - window.rect.top};
}

Region WithoutSiblingsAbove(const Window& window, Region region) {
    if (!window.IsChild() || (window.style & WS_CLIPSIBLINGS) == 0) return region;
    for (const Window* sibling : window.parent->children) {
        if (sibling == &window) break;
        if ((sibling->style & WS_VISIBLE) != 0)
            region = Region::Combine(region, Region(WindowRectInTopLevel(*sibling)), RGN_DIFF);
    }
    return region;
}

}  // namespace

Region VisibleRegionInTopLevel(const Window& window, bool wholeWindow) {
    if (!IsVisibleWithAncestors(window)) return Region();
    const POINT origin = WindowOriginInTopLevel(window);
    const RECT local = wholeWindow ? RECT{0, 0, window.rect.right - window.rect.left, window.rect.bottom - window.rect.top}
                                   : ClientAreaInWindow(window);
    Region region(OffsetRect(local, origin));
    region = WithoutSiblingsAbove(window, region);
    for (const Window* step = &window; step->IsChild(); step = step->parent) {
        const Window& parent = *step->parent;
        region = region.IntersectRect(OffsetRect(ClientAreaInWindow(parent), WindowOriginInTopLevel(parent)));
        region = WithoutSiblingsAbove(parent, region);
    }
    if ((window.style & WS_CLIPCHILDREN) != 0)
        for (const Window* child : window.children)
            if ((child->style & WS_VISIBLE) != 0)
                region = Region::Combine(region, Region(WindowRectInTopLevel(*child)), RGN_DIFF);
    return region;
}

namespace {

// Deepest visible child of window under a point given in window's client coordinates.
Window* DeepestChildAt(Window& window, POINT client) {
    for (Window* child : window.children) {
        if ((child->style & WS_VISIBLE) == 0) continue;
        if (client.x < child->rect.left || client.x >= child->rect.right || client.y < child->rect.top ||
            client.y >= child->rect.bottom)
            continue;
        const RECT area = ClientAreaInWindow(*child);
        const POINT inner{client.x - child->rect.left - area.left, client.y - child->rect.top - area.top};
        if (inner.x >= 0 && inner.y >= 0 && inner.x < area.right - area.left && inner.y < area.bottom - area.top)
            return DeepestChildAt(*child, inner);
        return child;
    }
    return &window;
}

}  // namespace

Window* WindowAtScreenPoint(POINT screen) {
    for (Window* top : TopLevelList()) {
        if ((top->style & WS_VISIBLE) == 0 || top->minimized) continue;
        if (screen.x < top->rect.left || screen.x >= top->rect.right || screen.y < top->rect.top ||
            screen.y >= top->rect.bottom)
            continue;
        const POINT client = ClientOriginOnScreen(*top);
        const RECT area = ClientAreaInWindow(*top);
        const POINT inner{screen.x - client.x, screen.y - client.y};
        if (inner.x >= 0 && inner.y >= 0 && inner.x < area.right - area.left && inner.y < area.bottom - area.top)
            return DeepestChildAt(*top, inner);
        return top;
    }
    return nullptr;
}

}  // namespace win32

using namespace win32;

BOOL AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL, DWORD exStyle) {
    if (rect == nullptr) return FALSE;
    const int border = BorderThicknessOfStyle(style, exStyle);
    rect->left -= border;
    rect->top -= border + CaptionHeightOfStyle(style);
    rect->right += border;
    rect->bottom += border;
    return TRUE;
}

BOOL GetClientRect(HWND handle, LPRECT rect) {
    Window* window = FindWindowRecord(handle);
    if (window == nullptr || rect == nullptr) return FALSE;
    *rect = RECT{0, 0, ClientWidth(*window), ClientHeight(*window)};
    return TRUE;
}

BOOL GetWindowRect(HWND handle, LPRECT rect) {
    Window* window = FindWindowRecord(handle);
    if (window == nullptr || rect == nullptr) return FALSE;
    const POINT origin = WindowOriginOnScreen(*window);
    *rect = RECT{origin.x, origin.y, origin.x + window->rect.right - window->rect.left,
                 origin.y + window->rect.bottom - window->rect.top};
    return TRUE;
}

BOOL ClientToScreen(HWND handle, LPPOINT point) {
    Window* window = FindWindowRecord(handle);
    if (window == nullptr || point == nullptr) return FALSE;
    const POINT origin = ClientOriginOnScreen(*window);
    point->x += origin.x;
    point->y += origin.y;
    return TRUE;
}

BOOL ScreenToClient(HWND handle, LPPOINT point) {
    Window* window = FindWindowRecord(handle);
    if (window == nullptr || point == nullptr) return FALSE;
    const POINT origin = ClientOriginOnScreen(*window);
    point->x -= origin.x;
    point->y -= origin.y;
    return TRUE;
}

int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count) {
    POINT fromOrigin{0, 0}, toOrigin{0, 0};
    if (from != nullptr) {
        Window* window = FindWindowRecord(from);
        if (window == nullptr) return 0;
        fromOrigin = ClientOriginOnScreen(*window);
    }
    if (to != nullptr) {
        Window* window = FindWindowRecord(to);
        if (window == nullptr) return 0;
        toOrigin = ClientOriginOnScreen(*window);
    }
    const LONG dx = fromOrigin.x - toOrigin.x, dy = fromOrigin.y - toOrigin.y;
    for (UINT i = 0; points != nullptr && i < count; ++i) {
        points[i].x += dx;
        points[i].y += dy;
    }
    return MAKELONG(WORD(dx), WORD(dy));
}

HWND WindowFromPoint(POINT point) {
    Window* window = WindowAtScreenPoint(point);
    return window ? window->handle : nullptr;
}

HWND ChildWindowFromPoint(HWND parentHandle, POINT point) {
    Window* parent = FindWindowRecord(parentHandle);
    if (parent == nullptr) return nullptr;
    if (point.x < 0 || point.y < 0 || point.x >= ClientWidth(*parent) || point.y >= ClientHeight(*parent))
        return nullptr;
    for (Window* child : parent->children)
        if (point.x >= child->rect.left && point.x < child->rect.right && point.y >= child->rect.top &&
            point.y < child->rect.bottom)
            return child->handle;
    return parentHandle;
}
