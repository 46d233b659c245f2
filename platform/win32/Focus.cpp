// Keyboard focus and window activation.
#include "Input.h"
#include "WindowHooks.h"

namespace win32 {
namespace {

HWND focusWindow = nullptr;
HWND activeWindow = nullptr;

bool IsInside(HWND window, HWND container) { return window == container || IsChild(container, window); }

Window* TopLevelRecord(HWND handle) {
    Window* window = FindWindowQuietly(handle);
    return window ? TopLevelOf(window) : nullptr;
}

}  // namespace

void ForgetFocusOf(Window& window) {
    if (focusWindow != nullptr && IsInside(focusWindow, window.handle)) {
        HWND old = focusWindow;
        focusWindow = nullptr;
        if (Window* record = FindWindowQuietly(old)) CallProcedure(*record, WM_KILLFOCUS, 0, 0);
    }
    HWND capture = GetCapture();
    if (capture != nullptr && IsInside(capture, window.handle)) ReleaseCapture();
    if (activeWindow == window.handle) {
        activeWindow = nullptr;
        CallProcedure(window, WM_NCACTIVATE, FALSE, 0);
        CallProcedure(window, WM_ACTIVATE, WA_INACTIVE, 0);
    }
}

void ActivateOnShow(Window& window) {
    if ((window.style & WS_DISABLED) == 0) SetActiveWindow(window.handle);
}

void ActivateAnotherWindow(Window* leaving) {
    Window* active = FindWindowQuietly(activeWindow);
    if (active != nullptr && active != leaving && IsVisibleWithAncestors(*active)) return;
    activeWindow = nullptr;
    for (Window* candidate : TopLevelList()) {
        if (candidate == leaving || candidate->destroying || !IsVisibleWithAncestors(*candidate) ||
            (candidate->style & WS_DISABLED) != 0)
            continue;
        SetActiveWindow(candidate->handle);
        return;
    }
}

void ResetFocusState() {
    focusWindow = nullptr;
    activeWindow = nullptr;
}

}  // namespace win32

using namespace win32;

HWND SetFocus(HWND handle) {
    if (handle == nullptr) {
        HWND old = focusWindow;
        focusWindow = nullptr;
        if (Window* record = FindWindowQuietly(old)) CallProcedure(*record, WM_KILLFOCUS, 0, 0);
        return old;
    }
    Window* window = FindWindowRecord(handle);
    if (window == nullptr || !IsEnabledWithAncestors(*window)) return nullptr;
    if (focusWindow == handle) return handle;
    Window* top = TopLevelOf(window);
    if (top->handle != activeWindow) {
        SetActiveWindow(top->handle);
        if (!WindowStillExists(handle)) return nullptr;
        if (focusWindow == handle) return handle;
    }
    HWND old = focusWindow;
    focusWindow = handle;
    if (Window* record = FindWindowQuietly(old)) CallProcedure(*record, WM_KILLFOCUS, WPARAM(handle), 0);
    if (focusWindow == handle && WindowStillExists(handle))
        CallProcedure(*window, WM_SETFOCUS, WPARAM(old), 0);
    return old;
}

HWND GetFocus() { return focusWindow; }

HWND SetActiveWindow(HWND handle) {
    Window* top = TopLevelRecord(handle);
    if (top == nullptr) {
        FindWindowRecord(handle);
        return nullptr;
    }
    HWND old = activeWindow;
    if (top->handle == old) return old;
    activeWindow = top->handle;
    if (Window* previous = FindWindowQuietly(old)) {
        CallProcedure(*previous, WM_NCACTIVATE, FALSE, 0);
        CallProcedure(*previous, WM_ACTIVATE, WA_INACTIVE, LPARAM(top->handle));
    }
    if (!WindowStillExists(top->handle) || activeWindow != top->handle) return old;
    // Raise the window within its band.
    std::vector<Window*>& list = TopLevelList();
    for (auto place = list.begin(); place != list.end(); ++place)
        if (*place == top) {
            list.erase(place);
            break;
        }
    auto place = list.begin();
    if ((top->exStyle & WS_EX_TOPMOST) == 0)
        while (place != list.end() && ((*place)->exStyle & WS_EX_TOPMOST) != 0) ++place;
    list.insert(place, top);
    CallProcedure(*top, WM_NCACTIVATE, TRUE, 0);
    if (!WindowStillExists(top->handle)) return old;
    CallProcedure(*top, WM_ACTIVATE, WA_ACTIVE, LPARAM(old));
    if (!WindowStillExists(top->handle) || activeWindow != top->handle) return old;
    if (focusWindow != nullptr && !IsInside(focusWindow, top->handle)) SetFocus(nullptr);
    return old;
}

HWND GetActiveWindow() { return activeWindow; }

BOOL SetForegroundWindow(HWND handle) {
    if (FindWindowRecord(handle) == nullptr) return FALSE;
    SetActiveWindow(handle);
    return TRUE;
}

HWND GetForegroundWindow() { return activeWindow; }

BOOL MessageBeep(UINT) { return TRUE; }
