// Moving, sizing, z-order, showing and enabling windows; their text and longs.
#include <algorithm>
#include <cstring>

#include "Input.h"
#include "LastError.h"
#include "MessageQueue.h"
#include "SystemMetrics.h"
#include "WindowHooks.h"
#include "display/DisplayBackEnd.h"

namespace win32 {
namespace {

bool IsTopLevelWithFrame(const Window& window) {
    return !window.IsChild() && (window.style & (WS_THICKFRAME | WS_CAPTION)) != 0;
}

}  // namespace

bool TrackingLimits(Window& window, MINMAXINFO& limits) {
    if (!IsTopLevelWithFrame(window)) return false;
    const RECT work = CurrentDisplay().WorkArea();
    MINMAXINFO info{};
    info.ptMaxSize = POINT{work.right - work.left, work.bottom - work.top};
    info.ptMaxPosition = POINT{work.left, work.top};
    info.ptMaxTrackSize = POINT{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    CallProcedure(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    limits = info;
    return true;
}

void ClampToMinMax(Window& window, int& width, int& height) {
    MINMAXINFO info{};
    if (!TrackingLimits(window, info)) return;
    width = std::max<int>(width, info.ptMinTrackSize.x);
    height = std::max<int>(height, info.ptMinTrackSize.y);
    if (info.ptMaxTrackSize.x > 0) width = std::min<int>(width, std::max(info.ptMaxTrackSize.x, info.ptMinTrackSize.x));
    if (info.ptMaxTrackSize.y > 0) height = std::min<int>(height, std::max(info.ptMaxTrackSize.y, info.ptMinTrackSize.y));
}

namespace {

void Reorder(Window& window, HWND insertAfter) {
    std::vector<Window*>& siblings = window.IsChild() ? window.parent->children : TopLevelList();
    if (!window.IsChild()) {
        if (insertAfter == HWND_TOPMOST) window.exStyle |= WS_EX_TOPMOST;
        if (insertAfter == HWND_NOTOPMOST) window.exStyle &= ~DWORD(WS_EX_TOPMOST);
    }
    siblings.erase(std::remove(siblings.begin(), siblings.end(), &window), siblings.end());
    auto place = siblings.begin();
    if (insertAfter == HWND_BOTTOM) {
        place = siblings.end();
    } else if (insertAfter == HWND_TOP || insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST) {
        place = siblings.begin();
    } else {
        Window* after = FindWindowQuietly(insertAfter);
        auto found = std::find(siblings.begin(), siblings.end(), after);
        place = found == siblings.end() ? siblings.begin() : found + 1;
    }
    siblings.insert(place, &window);
    // Topmost top-level windows stay in a band above the others.
    if (!window.IsChild())
        std::stable_partition(siblings.begin(), siblings.end(),
                              [](const Window* w) { return (w->exStyle & WS_EX_TOPMOST) != 0; });
}

void ChangeVisibility(Window& window, bool show) {
    const bool wasVisible = (window.style & WS_VISIBLE) != 0;
    if (wasVisible == show) return;
    CallProcedure(window, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
    if (!WindowStillExists(window.handle)) return;
    if (show) {
        window.style |= WS_VISIBLE;
        if (IsVisibleWithAncestors(window)) InvalidateWholeWindow(window);
    } else {
        if (window.IsChild() && IsVisibleWithAncestors(window)) InvalidateParentArea(window, window.rect);
        window.style &= ~DWORD(WS_VISIBLE);
        ForgetFocusOf(window);
        if (!window.IsChild()) {
            SurfaceChanged(window);
            ActivateAnotherWindow(&window);
        }
    }
}

// The slot of a byte offset into the class's extra window bytes, or null (and ERROR_INVALID_INDEX).
LONG_PTR* ExtraSlot(Window& window, int index) {
    if (index < 0 || index % 8 != 0 || size_t(index / 8) >= window.extraSlots.size() ||
        index + 8 > window.windowClass->record.cbWndExtra) {
        SetLastError(ERROR_INVALID_INDEX);
        return nullptr;
    }
    return &window.extraSlots[size_t(index / 8)];
}

}  // namespace

// Places the window at rect (parent coordinates) and sends WM_WINDOWPOSCHANGED,
// then WM_MOVE / WM_SIZE for what changed.
void PlaceWindow(Window& window, RECT rect, bool repaint) {
    const RECT old = window.rect;
    if (old.left == rect.left && old.top == rect.top && old.right == rect.right && old.bottom == rect.bottom) return;
    const bool visible = IsVisibleWithAncestors(window);
    if (visible && repaint && window.IsChild()) InvalidateParentArea(window, old);
    window.rect = rect;
    MatchSurfaceToWindow(window);
    if (visible && repaint) InvalidateWholeWindow(window);
    if (!window.IsChild()) SurfaceChanged(window);
    HWND handle = window.handle;
    const bool moved = old.left != rect.left || old.top != rect.top;
    const bool sized = old.right - old.left != rect.right - rect.left || old.bottom - old.top != rect.bottom - rect.top;
    const UINT kept = SWP_NOZORDER | (moved ? 0 : SWP_NOMOVE) | (sized ? 0 : SWP_NOSIZE);
    WINDOWPOS position{handle, nullptr, int(rect.left), int(rect.top), int(rect.right - rect.left),
                       int(rect.bottom - rect.top), kept};
    CallProcedure(window, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&position));
    if (!WindowStillExists(handle)) return;
    if (moved) SendMoveMessage(window);
    if (!WindowStillExists(handle)) return;
    if (sized) SendSizeMessage(window);
}

}  // namespace win32

using namespace win32;

BOOL MoveWindow(HWND handle, int x, int y, int width, int height, BOOL repaint) {
    return SetWindowPos(handle, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL SetWindowPos(HWND handle, HWND insertAfter, int x, int y, int width, int height, UINT flags) {
    Window* window = FindWindowRecord(handle);
    if (window == nullptr) return FALSE;
    if ((flags & SWP_NOZORDER) == 0) Reorder(*window, insertAfter);
    if ((flags & SWP_NOMOVE) != 0) {
        x = window->rect.left;
        y = window->rect.top;
    }
    if ((flags & SWP_NOSIZE) != 0) {
        width = window->rect.right - window->rect.left;
        height = window->rect.bottom - window->rect.top;
    } else {
        width = std::max(width, 0);
        height = std::max(height, 0);
        ClampToMinMax(*window, width, height);
        if (!WindowStillExists(handle)) return FALSE;
    }
    if ((flags & SWP_NOZORDER) == 0 && IsVisibleWithAncestors(*window)) InvalidateWholeWindow(*window);
    PlaceWindow(*window, RECT{x, y, x + width, y + height}, (flags & SWP_NOREDRAW) == 0);
    if (!WindowStillExists(handle)) return TRUE;
    if ((flags & SWP_SHOWWINDOW) != 0) ShowWindow(handle, (flags & SWP_NOACTIVATE) ? SW_SHOWNA : SW_SHOW);
    if ((flags & SWP_HIDEWINDOW) != 0) ShowWindow(handle, SW_HIDE);
    return TRUE;
}

BOOL BringWindowToTop(HWND handle) { return SetWindowPos(handle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); }

BOOL ShowWindow(HWND handle, int command) {
    Window* window = FindWindowRecord(handle);
    if (window == nullptr) return FALSE;
    const BOOL wasVisible = (window->style & WS_VISIBLE) != 0;
    if (command == SW_HIDE) {
        ChangeVisibility(*window, false);
        return wasVisible;
    }
    const bool wasMaximized = window->maximized;
    if (command == SW_SHOWMAXIMIZED && !window->IsChild() && !window->maximized) {
        window->restoreRect = window->rect;
        window->maximized = true;
        window->minimized = false;
        PlaceWindow(*window, CurrentDisplay().WorkArea(), true);
    } else if (command == SW_MINIMIZE || command == SW_SHOWMINIMIZED || command == SW_SHOWMINNOACTIVE) {
        if (!window->minimized) {
            window->minimized = true;
            CallProcedure(*window, WM_SIZE, SIZE_MINIMIZED, 0);
        }
    } else if (command == SW_RESTORE || command == SW_SHOWNORMAL) {
        const bool wasMinimized = window->minimized;
        window->minimized = false;
        if (wasMaximized) {
            window->maximized = false;
            PlaceWindow(*window, window->restoreRect, true);
        } else if (wasMinimized) {
            SendSizeMessage(*window);
        }
    }
    if (!WindowStillExists(handle)) return wasVisible;
    ChangeVisibility(*window, true);
    if (!WindowStillExists(handle)) return wasVisible;
    const bool activate = command != SW_SHOWNA && command != SW_SHOWNOACTIVATE && command != SW_SHOWMINNOACTIVE &&
                          command != SW_MINIMIZE;
    if (activate && !window->IsChild()) ActivateOnShow(*window);
    return wasVisible;
}

BOOL IsWindowVisible(HWND handle) {
    Window* window = FindWindowQuietly(handle);
    return window != nullptr && IsVisibleWithAncestors(*window);
}

BOOL IsIconic(HWND handle) {
    Window* window = FindWindowQuietly(handle);
    return window != nullptr && window->minimized;
}

BOOL IsZoomed(HWND handle) {
    Window* window = FindWindowQuietly(handle);
    return window != nullptr && window->maximized;
}

BOOL EnableWindow(HWND handle, BOOL enable) {
    Window* window = FindWindowRecord(handle);
    if (window == nullptr) return FALSE;
    const BOOL wasDisabled = (window->style & WS_DISABLED) != 0;
    if (wasDisabled == !enable) return wasDisabled;
    if (enable) {
        window->style &= ~DWORD(WS_DISABLED);
    } else {
        window->style |= WS_DISABLED;
        HWND focus = GetFocus();
        if (focus == handle || IsChild(handle, focus)) SetFocus(nullptr);
        if (GetCapture() == handle) ReleaseCapture();
    }
    CallProcedure(*window, WM_ENABLE, enable ? TRUE : FALSE, 0);
    if (WindowStillExists(handle) && IsVisibleWithAncestors(*window)) InvalidateWholeWindow(*window);
    return wasDisabled;
}

BOOL IsWindowEnabled(HWND handle) {
    Window* window = FindWindowQuietly(handle);
    return window != nullptr && (window->style & WS_DISABLED) == 0;
}

BOOL SetWindowTextA(HWND handle, LPCSTR text) {
    if (FindWindowRecord(handle) == nullptr) return FALSE;
    return SendMessageA(handle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : "")) != 0;
}

int GetWindowTextA(HWND handle, LPSTR text, int size) {
    if (FindWindowRecord(handle) == nullptr || text == nullptr || size < 1) return 0;
    return int(SendMessageA(handle, WM_GETTEXT, WPARAM(size), reinterpret_cast<LPARAM>(text)));
}

int GetWindowTextLengthA(HWND handle) {
    if (FindWindowRecord(handle) == nullptr) return 0;
    return int(SendMessageA(handle, WM_GETTEXTLENGTH, 0, 0));
}

LONG_PTR GetWindowLongA(HWND handle, int index) {
    Window* window = FindWindowRecord(handle);
    if (window == nullptr) return 0;
    switch (index) {
        case GWL_WNDPROC: return reinterpret_cast<LONG_PTR>(window->procedure);
        case GWL_HINSTANCE: return reinterpret_cast<LONG_PTR>(window->instance);
        case GWL_HWNDPARENT: return reinterpret_cast<LONG_PTR>(GetParent(handle));
        case GWL_ID: return window->identifier;
        case GWL_STYLE: return LONG_PTR(LONG(window->style));
        case GWL_EXSTYLE: return LONG_PTR(LONG(window->exStyle));
        case GWL_USERDATA: return window->userData;
        default: break;
    }
    LONG_PTR* slot = ExtraSlot(*window, index);
    return slot ? *slot : 0;
}

LONG_PTR SetWindowLongA(HWND handle, int index, LONG_PTR value) {
    Window* window = FindWindowRecord(handle);
    if (window == nullptr) return 0;
    const LONG_PTR previous = GetWindowLongA(handle, index);
    switch (index) {
        case GWL_WNDPROC: window->procedure = reinterpret_cast<WNDPROC>(value); return previous;
        case GWL_HINSTANCE: window->instance = reinterpret_cast<HINSTANCE>(value); return previous;
        case GWL_HWNDPARENT:
            if (!window->IsChild()) window->owner = FindWindowQuietly(reinterpret_cast<HWND>(value));
            return previous;
        case GWL_ID: window->identifier = value; return previous;
        case GWL_STYLE: {
            const DWORD style = (DWORD(value) & ~DWORD(WS_CHILD)) | (window->style & WS_CHILD);
            const bool barsChanged = ((style ^ window->style) & (WS_HSCROLL | WS_VSCROLL)) != 0;
            window->style = style;
            if (barsChanged && IsVisibleWithAncestors(*window)) InvalidateWholeWindow(*window);
            return previous;
        }
        case GWL_EXSTYLE: window->exStyle = DWORD(value); return previous;
        case GWL_USERDATA: window->userData = value; return previous;
        default: break;
    }
    if (LONG_PTR* slot = ExtraSlot(*window, index)) *slot = value;
    return previous;
}

BOOL CloseWindow(HWND handle) {
    if (FindWindowRecord(handle) == nullptr) return FALSE;
    ShowWindow(handle, SW_MINIMIZE);
    return TRUE;
}
