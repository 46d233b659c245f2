// Default handling of window messages, CallWindowProcA, and the built-in
// SCROLLBAR control class.
#include <algorithm>
#include <cstring>
#include <mutex>

#include "Cursor.h"
#include "Gdi.h"
#include "Input.h"
#include "Menu.h"
#include "MessageQueue.h"
#include "Paint.h"
#include "SystemMetrics.h"
#include "WindowHooks.h"

namespace win32 {
namespace {

LRESULT SetText(Window& window, LPARAM lParam) {
    const char* text = reinterpret_cast<const char*>(lParam);
    window.text = text ? text : "";
    return TRUE;
}

LRESULT GetText(Window& window, WPARAM size, LPARAM lParam) {
    char* buffer = reinterpret_cast<char*>(lParam);
    if (buffer == nullptr || size == 0) return 0;
    const size_t count = std::min<size_t>(window.text.size(), size - 1);
    std::memcpy(buffer, window.text.data(), count);
    buffer[count] = 0;
    return LRESULT(count);
}

LRESULT EraseBackground(Window& window, WPARAM wParam) {
    HBRUSH brush = window.windowClass->record.hbrBackground;
    if (brush == nullptr) return 0;
    // A class brush of (COLOR_x + 1) stands for the system colour's brush.
    const uintptr_t value = reinterpret_cast<uintptr_t>(brush);
    if (value <= 31) brush = GetSysColorBrush(int(value) - 1);
    RECT client{0, 0, ClientWidth(window), ClientHeight(window)};
    FillRect(reinterpret_cast<HDC>(wParam), &client, brush);
    return 1;
}

// The parent may choose the shape first; asked on behalf of a child, a window
// without its own answer leaves the choice to that child.
LRESULT SetCursorFor(Window& window, WPARAM wParam, LPARAM lParam) {
    if (window.IsChild() && SendMessageA(window.parent->handle, WM_SETCURSOR, wParam, lParam)) return TRUE;
    if (reinterpret_cast<HWND>(wParam) != window.handle) return FALSE;
    if (LOWORD(lParam) == HTCLIENT && window.windowClass->record.hCursor != nullptr) {
        SetCursor(window.windowClass->record.hCursor);
        return TRUE;
    }
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    return FALSE;
}

LRESULT SystemCommand(Window& window, WPARAM wParam) {
    switch (wParam & 0xFFF0) {
        case SC_CLOSE: SendMessageA(window.handle, WM_CLOSE, 0, 0); return 0;
        case SC_MINIMIZE: ShowWindow(window.handle, SW_MINIMIZE); return 0;
        case SC_MAXIMIZE: ShowWindow(window.handle, SW_SHOWMAXIMIZED); return 0;
        case SC_RESTORE: ShowWindow(window.handle, SW_RESTORE); return 0;
        case SC_KEYMENU: TrackSystemMenu(window.handle); return 0;
        default: return 0;
    }
}

// Alt+Space opens the top-level window's system menu; other Alt characters
// have no menu bar to select from.
LRESULT SystemCharacter(Window& window, WPARAM character) {
    if (character != ' ') {
        MessageBeep(0);
        return 0;
    }
    SendMessageA(TopLevelOf(&window)->handle, WM_SYSCOMMAND, SC_KEYMENU, ' ');
    return 0;
}

LRESULT Paint(Window& window) {
    PAINTSTRUCT paint;
    if (BeginPaint(window.handle, &paint)) EndPaint(window.handle, &paint);
    return 0;
}

// Alt+F4 closes; other Alt keys would open the menu bar, which this layer lacks.
LRESULT SystemKeyDown(Window& window, WPARAM wParam, LPARAM lParam) {
    if (wParam == VK_F4 && (lParam & (1L << 29)) != 0) {
        Window* top = TopLevelOf(&window);
        PostMessageA(top->handle, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
    return 0;
}

// The window whose close box the left button went down on; released there,
// the window is closed, as its caption's close box promises.
HWND closeBoxPressed = nullptr;

// The caption's own parts: the close box closes the window, and a double click
// on the caption maximizes a window that has a maximize box, or restores it.
// Other parts are the standard scroll bars'.
LRESULT NonClientButton(Window& window, UINT message, WPARAM hit, LPARAM lParam) {
    const HWND pressed = closeBoxPressed;
    if (message != WM_NCLBUTTONDOWN) closeBoxPressed = nullptr;
    if (hit == HTCLOSE) {
        if (message == WM_NCLBUTTONDOWN) closeBoxPressed = window.handle;
        if (message == WM_NCLBUTTONUP && pressed == window.handle)
            SendMessageA(window.handle, WM_SYSCOMMAND, SC_CLOSE, lParam);
        return 0;
    }
    if (hit == HTCAPTION && message == WM_NCLBUTTONDBLCLK && (window.style & WS_MAXIMIZEBOX) != 0) {
        SendMessageA(window.handle, WM_SYSCOMMAND, window.maximized ? SC_RESTORE : SC_MAXIMIZE, lParam);
        return 0;
    }
    return HandleScrollBarMouse(window, message, hit, lParam);
}

LRESULT ContextMenuAfterRightUp(Window& window, LPARAM lParam) {
    POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ClientToScreen(window.handle, &point);
    SendMessageA(window.handle, WM_CONTEXTMENU, WPARAM(window.handle), MAKELPARAM(WORD(point.x), WORD(point.y)));
    return 0;
}

// Messages a child passes on to its parent when it does not handle them.
LRESULT PassToParent(Window& window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window.IsChild()) return SendMessageA(window.parent->handle, message, wParam, lParam);
    return 0;
}

LRESULT CALLBACK ScrollBarControlProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* window = FindWindowQuietly(handle);
    if (window == nullptr) return 0;
    switch (message) {
        case WM_CREATE: {
            window->bars[0] = ScrollBarState();
            window->bars[0].maximum = 0;
            return 0;
        }
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_MOUSEMOVE:
        case WM_LBUTTONUP:
        case WM_NCMOUSEMOVE:
        case WM_NCLBUTTONUP: return HandleScrollBarMouse(*window, message, wParam, lParam);
        case WM_ERASEBKGND: return 1;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(handle, &paint);
            DrawScrollBarControl(*window, dc);
            EndPaint(handle, &paint);
            return 0;
        }
        default: return DefWindowProcA(handle, message, wParam, lParam);
    }
}

}  // namespace

void RegisterBuiltInClasses() {
    static std::once_flag once;
    std::call_once(once, [] {
        WNDCLASSEXA scrollBar{};
        scrollBar.cbSize = sizeof scrollBar;
        scrollBar.style = CS_DBLCLKS | CS_GLOBALCLASS;
        scrollBar.lpfnWndProc = ScrollBarControlProcedure;
        scrollBar.lpszClassName = "SCROLLBAR";
        RegisterClassRecord(scrollBar);
    });
}

}  // namespace win32

using namespace win32;

LRESULT DefWindowProcA(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* window = FindWindowRecord(handle);
    if (window == nullptr) return 0;
    switch (message) {
        case WM_NCCREATE: return TRUE;
        case WM_CLOSE: DestroyWindow(handle); return 0;
        case WM_SETTEXT: return SetText(*window, lParam);
        case WM_GETTEXT: return GetText(*window, wParam, lParam);
        case WM_GETTEXTLENGTH: return LRESULT(window->text.size());
        case WM_PAINT: return Paint(*window);
        case WM_ERASEBKGND: return EraseBackground(*window, wParam);
        case WM_NCPAINT: DrawNonClient(*window); return 0;
        case WM_NCACTIVATE: return TRUE;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE && !window->minimized) {
                HWND focus = GetFocus();
                if (focus == nullptr || !(focus == handle || IsChild(handle, focus))) SetFocus(handle);
            }
            return 0;
        case WM_SETCURSOR: return SetCursorFor(*window, wParam, lParam);
        case WM_MOUSEACTIVATE: return 1;  // MA_ACTIVATE
        case WM_NCHITTEST: return HTCLIENT;
        case WM_SYSCOMMAND: return SystemCommand(*window, wParam);
        case WM_SYSKEYDOWN: return SystemKeyDown(*window, wParam, lParam);
        case WM_SYSCHAR: return SystemCharacter(*window, wParam);
        case WM_RBUTTONUP: return ContextMenuAfterRightUp(*window, lParam);
        case WM_CONTEXTMENU:
        case WM_MOUSEWHEEL: return PassToParent(*window, message, wParam, lParam);
        case WM_NCLBUTTONDOWN:
        case WM_NCLBUTTONDBLCLK:
        case WM_NCLBUTTONUP: return NonClientButton(*window, message, wParam, lParam);
        case WM_NCMOUSEMOVE: return HandleScrollBarMouse(*window, message, wParam, lParam);
        case WM_SETREDRAW: window->redrawEnabled = wParam != 0; return 0;
        case WM_GETDLGCODE: return 0;
        default: return 0;
    }
}

LRESULT CallWindowProcA(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return procedure ? procedure(window, message, wParam, lParam) : 0;
}
