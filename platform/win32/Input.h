// Keyboard and mouse: virtual-key codes, key state, capture, cursor position,
// mouse tracking, and the keyboard focus and window activation.
#pragma once

#include "Win32Types.h"

// Virtual-key codes. Letters and digits are their upper-case ASCII codes.
#define VK_LBUTTON 0x01
#define VK_RBUTTON 0x02
#define VK_CANCEL 0x03
#define VK_MBUTTON 0x04
#define VK_BACK 0x08
#define VK_TAB 0x09
#define VK_CLEAR 0x0C
#define VK_RETURN 0x0D
#define VK_SHIFT 0x10
#define VK_CONTROL 0x11
#define VK_MENU 0x12
#define VK_PAUSE 0x13
#define VK_CAPITAL 0x14
#define VK_ESCAPE 0x1B
#define VK_SPACE 0x20
#define VK_PRIOR 0x21
#define VK_NEXT 0x22
#define VK_END 0x23
#define VK_HOME 0x24
#define VK_LEFT 0x25
#define VK_UP 0x26
#define VK_RIGHT 0x27
#define VK_DOWN 0x28
#define VK_SNAPSHOT 0x2C
#define VK_INSERT 0x2D
#define VK_DELETE 0x2E
#define VK_HELP 0x2F
#define VK_LWIN 0x5B
#define VK_RWIN 0x5C
#define VK_APPS 0x5D
#define VK_NUMPAD0 0x60
#define VK_MULTIPLY 0x6A
#define VK_ADD 0x6B
#define VK_SEPARATOR 0x6C
#define VK_SUBTRACT 0x6D
#define VK_DECIMAL 0x6E
#define VK_DIVIDE 0x6F
#define VK_F1 0x70
#define VK_F2 0x71
#define VK_F3 0x72
#define VK_F4 0x73
#define VK_F5 0x74
#define VK_F6 0x75
#define VK_F7 0x76
#define VK_F8 0x77
#define VK_F9 0x78
#define VK_F10 0x79
#define VK_F11 0x7A
#define VK_F12 0x7B
#define VK_NUMLOCK 0x90
#define VK_SCROLL 0x91
#define VK_LSHIFT 0xA0
#define VK_RSHIFT 0xA1
#define VK_LCONTROL 0xA2
#define VK_RCONTROL 0xA3
#define VK_LMENU 0xA4
#define VK_RMENU 0xA5
#define VK_OEM_1 0xBA
#define VK_OEM_PLUS 0xBB
#define VK_OEM_COMMA 0xBC
#define VK_OEM_MINUS 0xBD
#define VK_OEM_PERIOD 0xBE
#define VK_OEM_2 0xBF
#define VK_OEM_3 0xC0
#define VK_OEM_4 0xDB
#define VK_OEM_5 0xDC
#define VK_OEM_6 0xDD
#define VK_OEM_7 0xDE
#define VK_OEM_102 0xE2
#define VK_PACKET 0xE7

// Key state as the thread sees it while handling its messages: bit 0x8000 (a
// negative SHORT) when the key is down, bit 1 toggled (lock keys, and every key
// alternately at each press). Updated as each input message is retrieved, so a
// handler sees the state of its own message. Codes above 255 give 0.
SHORT GetKeyState(int virtualKey);
// The state at this moment, ahead of the queue: 0x8000 when down, 1 when pressed
// since the previous call.
SHORT GetAsyncKeyState(int virtualKey);
// Copies / replaces the 256 key-state bytes (0x80 down, 0x01 toggled).
BOOL GetKeyboardState(LPBYTE keyState);
BOOL SetKeyboardState(LPBYTE keyState);

// Mouse capture: the window gets every mouse message wherever the pointer is.
// SetCapture returns the previous capture window; the old one gets
// WM_CAPTURECHANGED. A bad window leaves the capture unchanged and returns null.
HWND SetCapture(HWND window);
BOOL ReleaseCapture();
HWND GetCapture();

// Pointer position in screen coordinates. SetCursorPos moves it without
// producing mouse messages (the next input starts from there).
BOOL GetCursorPos(LPPOINT point);
BOOL SetCursorPos(int x, int y);

// Double-click time (500 ms) on the message clock; the distance is SM_CXDOUBLECLK.
UINT GetDoubleClickTime();

// WM_MOUSELEAVE once the pointer leaves the window's client area after the call;
// the request ends with that message. TME_CANCEL withdraws it.
#define TME_HOVER 0x00000001
#define TME_LEAVE 0x00000002
#define TME_CANCEL 0x80000000
struct TRACKMOUSEEVENT {
    DWORD cbSize;
    DWORD dwFlags;
    HWND hwndTrack;
    DWORD dwHoverTime;
};
typedef TRACKMOUSEEVENT* LPTRACKMOUSEEVENT;
BOOL TrackMouseEvent(LPTRACKMOUSEEVENT track);

// Focus: the old window gets WM_KILLFOCUS, the new one WM_SETFOCUS; the new
// window's top-level window is activated first. Returns the previous focus
// window. A disabled or bad window keeps the focus where it was and returns null.
// SetFocus(NULL) removes the focus.
HWND SetFocus(HWND window);
HWND GetFocus();
// Activation of a top-level window: WM_ACTIVATE (WA_INACTIVE) to the old one,
// WM_NCACTIVATE and WM_ACTIVATE (WA_ACTIVE) to the new one, which also gets the
// focus if nothing inside it has it. A child's top-level window is activated.
HWND SetActiveWindow(HWND window);
HWND GetActiveWindow();
BOOL SetForegroundWindow(HWND window);
HWND GetForegroundWindow();

// Sounds nothing in this layer; always TRUE.
BOOL MessageBeep(UINT type);
