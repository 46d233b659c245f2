// Mouse input: pointer position, capture, leave tracking, button and wheel
// messages, and double clicks.
#include <atomic>
#include <cstdlib>
#include <mutex>

#include "Input.h"
#include "InputSink.h"
#include "MessageClock.h"
#include "SystemMetrics.h"
#include "WindowHooks.h"

namespace win32 {
namespace {

std::mutex cursorMutex;
POINT cursorPosition{0, 0};
HWND captureWindow = nullptr;
HWND leaveTrackedWindow = nullptr;
bool buttonsDown[3] = {false, false, false};

struct LastClick {
    HWND window = nullptr;
    int button = -1;
    int hit = HTNOWHERE;
    uint32_t time = 0;
    POINT screen{0, 0};
};
LastClick lastClick;

// Message numbers per button: down, up, double click.
// ORDER: left, right, middle (the button index of MouseButtonInput).
const UINT buttonMessages[3][3] = {
    {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK},
    {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDBLCLK},
    {WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MBUTTONDBLCLK},
};
// The left button over the frame, caption or standard scroll bars; same order.
const UINT nonClientMessages[3] = {WM_NCLBUTTONDOWN, WM_NCLBUTTONUP, WM_NCLBUTTONDBLCLK};

WPARAM MouseKeys() {
    WPARAM keys = 0;
    if (buttonsDown[0]) keys |= MK_LBUTTON;
    if (buttonsDown[1]) keys |= MK_RBUTTON;
    if (buttonsDown[2]) keys |= MK_MBUTTON;
    if (GetAsyncKeyState(VK_SHIFT) & 0x8000) keys |= MK_SHIFT;
    if (GetAsyncKeyState(VK_CONTROL) & 0x8000) keys |= MK_CONTROL;
    return keys;
}

LPARAM PackPoint(POINT point) { return MAKELPARAM(WORD(SHORT(point.x)), WORD(SHORT(point.y))); }

bool InClientArea(const Window& window, POINT screen) {
    const POINT origin = ClientOriginOnScreen(window);
    return screen.x >= origin.x && screen.y >= origin.y && screen.x < origin.x + ClientWidth(window) &&
           screen.y < origin.y + ClientHeight(window);
}

int HitCode(const Window& window, POINT screen) {
    const POINT origin = WindowOriginOnScreen(window);
    return WindowHitCode(window, POINT{screen.x - origin.x, screen.y - origin.y});
}

// The window mouse input goes to, and whether the point is in its client area.
Window* MouseTarget(POINT screen, int* hit) {
    if (Window* capture = FindWindowQuietly(captureWindow)) {
        *hit = HTCLIENT;
        return capture;
    }
    Window* window = WindowAtScreenPoint(screen);
    if (window == nullptr || !IsEnabledWithAncestors(*window)) return nullptr;
    *hit = HitCode(*window, screen);
    return window;
}

POINT ToClient(const Window& window, POINT screen) {
    const POINT origin = ClientOriginOnScreen(window);
    return POINT{screen.x - origin.x, screen.y - origin.y};
}

void CheckMouseLeave(POINT screen) {
    Window* tracked = FindWindowQuietly(leaveTrackedWindow);
    if (tracked == nullptr) {
        leaveTrackedWindow = nullptr;
        return;
    }
    Window* under = WindowAtScreenPoint(screen);
    if (under == tracked && InClientArea(*tracked, screen)) return;
    leaveTrackedWindow = nullptr;
    PostInputMessage(tracked->handle, WM_MOUSELEAVE, 0, 0, "");
}

// A second press counts where the class asks for double clicks; in the
// non-client parts always, as on the original platform.
bool IsDoubleClick(const Window& window, int button, int hit, POINT screen, uint32_t now) {
    if (hit == HTCLIENT && (window.windowClass->record.style & CS_DBLCLKS) == 0) return false;
    if (lastClick.window != window.handle || lastClick.button != button || lastClick.hit != hit) return false;
    if (now - lastClick.time > GetDoubleClickTime()) return false;
    const int dx = std::abs(int(screen.x - lastClick.screen.x)), dy = std::abs(int(screen.y - lastClick.screen.y));
    return dx <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 && dy <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
}

// The window a wheel turn goes to by the classic rule: the focus window, else
// the window under the pointer.
HWND FocusOrWindowUnder(POINT screen) {
    if (HWND focus = GetFocus()) return focus;
    const Window* under = WindowAtScreenPoint(screen);
    return under ? under->handle : nullptr;
}

// The window a wheel turn goes to when it follows the pointer: the capture
// window, else the window under the pointer (null when that one is disabled,
// so that the turn is dropped), else the focus window.
HWND WheelTargetUnderPointer(POINT screen) {
    if (FindWindowQuietly(captureWindow) != nullptr) return captureWindow;
    const Window* under = WindowAtScreenPoint(screen);
    if (under == nullptr) return GetFocus();
    return IsEnabledWithAncestors(*under) ? under->handle : nullptr;
}

}  // namespace

void MouseMoveInput(POINT screen) {
    {
        std::lock_guard<std::mutex> lock(cursorMutex);
        cursorPosition = screen;
    }
    CheckMouseLeave(screen);
    int hit = HTNOWHERE;
    Window* target = MouseTarget(screen, &hit);
    if (target == nullptr) return;
    if (ScrollTrackingActive() || hit != HTCLIENT) {
        PostInputMessage(target->handle, WM_NCMOUSEMOVE, WPARAM(hit), PackPoint(screen), "");
        return;
    }
    PostInputMessage(target->handle, WM_MOUSEMOVE, MouseKeys(), PackPoint(ToClient(*target, screen)), "");
}

void MouseButtonInput(int button, bool down, POINT screen) {
    if (button < 0 || button > 2) return;
    {
        std::lock_guard<std::mutex> lock(cursorMutex);
        cursorPosition = screen;
    }
    if (buttonsDown[button] == down) return;
    buttonsDown[button] = down;
    int hit = HTNOWHERE;
    Window* target = MouseTarget(screen, &hit);
    if (ScrollTrackingActive()) {
        if (button == 0 && !down && target != nullptr)
            PostInputMessage(target->handle, WM_NCLBUTTONUP, HTVSCROLL, PackPoint(screen), "");
        return;
    }
    if (target == nullptr) return;
    if (down) {
        Window* top = TopLevelOf(target);
        if (top->handle != GetActiveWindow()) SetActiveWindow(top->handle);
        if (!WindowStillExists(target->handle)) return;
    }
    // Only the left button acts on the non-client parts.
    if (hit != HTCLIENT && button != 0) return;
    const UINT* messages = hit == HTCLIENT ? buttonMessages[button] : nonClientMessages;
    UINT message = messages[down ? 0 : 1];
    const uint32_t now = MessageClockNow();
    if (down) {
        if (IsDoubleClick(*target, button, hit, screen, now)) {
            message = messages[2];
            lastClick = LastClick();
        } else {
            lastClick = LastClick{target->handle, button, hit, now, screen};
        }
    }
    if (hit != HTCLIENT)
        PostInputMessage(target->handle, message, WPARAM(hit), PackPoint(screen), "");
    else
        PostInputMessage(target->handle, message, MouseKeys(), PackPoint(ToClient(*target, screen)), "");
}

void MouseWheelInput(int delta, POINT screen, WheelRouting routing) {
    {
        std::lock_guard<std::mutex> lock(cursorMutex);
        cursorPosition = screen;
    }
    const HWND target = routing == WheelRouting::ToFocus ? FocusOrWindowUnder(screen) : WheelTargetUnderPointer(screen);
    if (target == nullptr) return;
    PostInputMessage(target, WM_MOUSEWHEEL, MAKEWPARAM(WORD(MouseKeys()), WORD(SHORT(delta))), PackPoint(screen), "");
}

void ResetMouseState() {
    captureWindow = nullptr;
    leaveTrackedWindow = nullptr;
    for (bool& down : buttonsDown) down = false;
    lastClick = LastClick();
    std::lock_guard<std::mutex> lock(cursorMutex);
    cursorPosition = POINT{0, 0};
}

}  // namespace win32

using namespace win32;

HWND SetCapture(HWND handle) {
    if (FindWindowRecord(handle) == nullptr) return nullptr;
    HWND old = captureWindow;
    captureWindow = handle;
    if (old != handle)
        if (Window* previous = FindWindowQuietly(old)) CallProcedure(*previous, WM_CAPTURECHANGED, 0, LPARAM(handle));
    return old;
}

BOOL ReleaseCapture() {
    HWND old = captureWindow;
    captureWindow = nullptr;
    if (Window* previous = FindWindowQuietly(old)) CallProcedure(*previous, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

HWND GetCapture() { return captureWindow; }

BOOL GetCursorPos(LPPOINT point) {
    if (point == nullptr) return FALSE;
    std::lock_guard<std::mutex> lock(cursorMutex);
    *point = cursorPosition;
    return TRUE;
}

BOOL SetCursorPos(int x, int y) {
    std::lock_guard<std::mutex> lock(cursorMutex);
    cursorPosition = POINT{x, y};
    return TRUE;
}

UINT GetDoubleClickTime() { return 500; }

BOOL TrackMouseEvent(LPTRACKMOUSEEVENT track) {
    if (track == nullptr || track->cbSize < sizeof(TRACKMOUSEEVENT)) return FALSE;
    if ((track->dwFlags & TME_CANCEL) != 0) {
        if ((track->dwFlags & TME_LEAVE) != 0 && leaveTrackedWindow == track->hwndTrack) leaveTrackedWindow = nullptr;
        return TRUE;
    }
    Window* window = FindWindowRecord(track->hwndTrack);
    if (window == nullptr) return FALSE;
    if ((track->dwFlags & TME_LEAVE) == 0) return TRUE;
    POINT screen;
    GetCursorPos(&screen);
    if (WindowAtScreenPoint(screen) != window || !InClientArea(*window, screen)) {
        PostInputMessage(window->handle, WM_MOUSELEAVE, 0, 0, "");
        return TRUE;
    }
    leaveTrackedWindow = window->handle;
    return TRUE;
}
