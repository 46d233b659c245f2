// Windows: classes, creation and destruction, the parent/child tree, z-order,
// rectangles, visibility, enabling, text and window longs.
#pragma once

#include "Win32Types.h"
#include "WindowMessages.h"

typedef LRESULT(CALLBACK* WNDPROC)(HWND, UINT, WPARAM, LPARAM);

// Window styles.
#define WS_OVERLAPPED 0x00000000L
#define WS_POPUP 0x80000000L
#define WS_CHILD 0x40000000L
#define WS_MINIMIZE 0x20000000L
#define WS_VISIBLE 0x10000000L
#define WS_DISABLED 0x08000000L
#define WS_CLIPSIBLINGS 0x04000000L
#define WS_CLIPCHILDREN 0x02000000L
#define WS_MAXIMIZE 0x01000000L
#define WS_CAPTION 0x00C00000L
#define WS_BORDER 0x00800000L
#define WS_DLGFRAME 0x00400000L
#define WS_VSCROLL 0x00200000L
#define WS_HSCROLL 0x00100000L
#define WS_SYSMENU 0x00080000L
#define WS_THICKFRAME 0x00040000L
#define WS_GROUP 0x00020000L
#define WS_TABSTOP 0x00010000L
#define WS_MINIMIZEBOX 0x00020000L
#define WS_MAXIMIZEBOX 0x00010000L
#define WS_OVERLAPPEDWINDOW 0x00CF0000L
#define WS_POPUPWINDOW 0x80880000L

#define WS_EX_DLGMODALFRAME 0x00000001L
#define WS_EX_TOPMOST 0x00000008L
#define WS_EX_TOOLWINDOW 0x00000080L
#define WS_EX_WINDOWEDGE 0x00000100L
#define WS_EX_CLIENTEDGE 0x00000200L
#define WS_EX_CONTROLPARENT 0x00010000L
#define WS_EX_STATICEDGE 0x00020000L
#define WS_EX_APPWINDOW 0x00040000L

// Class styles.
#define CS_VREDRAW 0x0001
#define CS_HREDRAW 0x0002
#define CS_DBLCLKS 0x0008
#define CS_OWNDC 0x0020
#define CS_PARENTDC 0x0080
#define CS_SAVEBITS 0x0800
#define CS_GLOBALCLASS 0x4000

#define CW_USEDEFAULT (static_cast<int>(0x80000000))

// ShowWindow commands.
#define SW_HIDE 0
#define SW_SHOWNORMAL 1
#define SW_NORMAL 1
#define SW_SHOWMINIMIZED 2
#define SW_SHOWMAXIMIZED 3
#define SW_MAXIMIZE 3
#define SW_SHOWNOACTIVATE 4
#define SW_SHOW 5
#define SW_MINIMIZE 6
#define SW_SHOWMINNOACTIVE 7
#define SW_SHOWNA 8
#define SW_RESTORE 9
#define SW_SHOWDEFAULT 10

// SetWindowPos flags and z-order places.
#define SWP_NOSIZE 0x0001
#define SWP_NOMOVE 0x0002
#define SWP_NOZORDER 0x0004
#define SWP_NOREDRAW 0x0008
#define SWP_NOACTIVATE 0x0010
#define SWP_FRAMECHANGED 0x0020
#define SWP_SHOWWINDOW 0x0040
#define SWP_HIDEWINDOW 0x0080
#define SWP_NOOWNERZORDER 0x0200
#define HWND_TOP (reinterpret_cast<HWND>(0))
#define HWND_BOTTOM (reinterpret_cast<HWND>(1))
#define HWND_TOPMOST (reinterpret_cast<HWND>(-1))
#define HWND_NOTOPMOST (reinterpret_cast<HWND>(-2))

// WM_WINDOWPOSCHANGED's lParam: where the window now is (parent client
// coordinates, screen for a top-level window) and which SWP_ parts stayed.
struct WINDOWPOS {
    HWND hwnd;
    HWND hwndInsertAfter;
    int x;
    int y;
    int cx;
    int cy;
    UINT flags;
};
typedef WINDOWPOS* LPWINDOWPOS;

// Window long indexes.
#define GWL_WNDPROC (-4)
#define GWL_HINSTANCE (-6)
#define GWL_HWNDPARENT (-8)
#define GWL_ID (-12)
#define GWL_STYLE (-16)
#define GWL_EXSTYLE (-20)
#define GWL_USERDATA (-21)
#define GWLP_WNDPROC GWL_WNDPROC
#define GWLP_HINSTANCE GWL_HINSTANCE
#define GWLP_ID GWL_ID
#define GWLP_USERDATA GWL_USERDATA

// GetWindow relations.
#define GW_HWNDFIRST 0
#define GW_HWNDLAST 1
#define GW_HWNDNEXT 2
#define GW_HWNDPREV 3
#define GW_OWNER 4
#define GW_CHILD 5

#define ERROR_INVALID_WINDOW_HANDLE 1400L
#define ERROR_CANNOT_FIND_WND_CLASS 1407L
#define ERROR_CLASS_ALREADY_EXISTS 1410L
#define ERROR_CLASS_DOES_NOT_EXIST 1411L
#define ERROR_INVALID_INDEX 1413L

struct WNDCLASSA {
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCSTR lpszMenuName;
    LPCSTR lpszClassName;
};
struct WNDCLASSEXA {
    UINT cbSize;
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCSTR lpszMenuName;
    LPCSTR lpszClassName;
    HICON hIconSm;
};
typedef WNDCLASSA* LPWNDCLASSA;
typedef WNDCLASSEXA* LPWNDCLASSEXA;
typedef WORD ATOM;

struct CREATESTRUCTA {
    LPVOID lpCreateParams;
    HINSTANCE hInstance;
    HMENU hMenu;
    HWND hwndParent;
    int cy;
    int cx;
    int y;
    int x;
    LONG style;
    LPCSTR lpszName;
    LPCSTR lpszClass;
    DWORD dwExStyle;
};
typedef CREATESTRUCTA* LPCREATESTRUCTA;

struct MINMAXINFO {
    POINT ptReserved;
    POINT ptMaxSize;
    POINT ptMaxPosition;
    POINT ptMinTrackSize;
    POINT ptMaxTrackSize;
};
typedef MINMAXINFO* LPMINMAXINFO;

// Registers a class for the calling program. Null class name or window
// procedure, or a name already registered, gives 0 (the last error tells which).
// Names compare without case.
ATOM RegisterClassA(const WNDCLASSA* windowClass);
ATOM RegisterClassExA(const WNDCLASSEXA* windowClass);
// FALSE when the class is unknown or windows of it still exist.
BOOL UnregisterClassA(LPCSTR className, HINSTANCE instance);
// FALSE when the class is unknown.
BOOL GetClassInfoA(HINSTANCE instance, LPCSTR className, LPWNDCLASSA windowClass);
// The class name (at most size-1 characters and a zero); 0 for a bad window.
int GetClassNameA(HWND window, LPSTR className, int size);

// Creates a window: WM_GETMINMAXINFO (top-level), WM_NCCREATE, WM_CREATE, then
// WM_SIZE and WM_MOVE, then shows it when WS_VISIBLE is set. Null for an unknown
// class, a WS_CHILD without a valid parent, or when WM_NCCREATE answers FALSE or
// WM_CREATE answers -1 (the window is destroyed again). CW_USEDEFAULT places a
// top-level window at (0, 0) with size 640x480 (a child gets 0). Negative sizes
// become 0. Framed top-level windows are limited by WM_GETMINMAXINFO. The built-in class "SCROLLBAR"
// (SBS_HORZ 0, SBS_VERT 1) is always registered.
HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menuOrId, HINSTANCE instance, LPVOID parameter);
#define CreateWindowA(c, n, s, x, y, w, h, p, m, i, a) CreateWindowExA(0, c, n, s, x, y, w, h, p, m, i, a)

// Destroys the window's owned windows, then the window and its children: the
// window gets WM_DESTROY before its children and WM_NCDESTROY after them. Focus,
// capture, caret, timers and queued messages of the windows go with them, and
// another top-level window is activated. FALSE for a bad handle.
BOOL DestroyWindow(HWND window);
BOOL IsWindow(HWND window);
BOOL IsChild(HWND parent, HWND window);

// Default handling of every message the layer knows (WM_CLOSE destroys the
// window, WM_PAINT validates, WM_ERASEBKGND fills with the class brush, WM_SETTEXT/
// WM_GETTEXT keep the text, WM_NC* run the standard scroll bars, a click on the
// caption's close box sends SC_CLOSE, a double click on the caption of a window
// with WS_MAXIMIZEBOX sends SC_MAXIMIZE or SC_RESTORE, WM_SYSCHAR beeps).
LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Calls procedure with the message; 0 for a null procedure.
LRESULT CallWindowProcA(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Parent changes keep the window's position relative to the new parent's client
// area. Returns the previous parent; null for bad handles or a loop.
HWND SetParent(HWND window, HWND newParent);
// The parent of a child, the owner of an owned top-level window, else null.
HWND GetParent(HWND window);
HWND GetAncestor(HWND window, UINT flags);  // GA_PARENT 1, GA_ROOT 2
#define GA_PARENT 1
#define GA_ROOT 2
#define GA_ROOTOWNER 3
HWND GetWindow(HWND window, UINT relation);
HWND GetTopWindow(HWND parent);  // top child, or top top-level window for null
HWND GetDesktopWindow();

// Position and size in the parent's client coordinates (screen for top-level
// windows). Negative sizes become 0. Sends WM_WINDOWPOSCHANGED, WM_MOVE and WM_SIZE
// when they change, and repaints uncovered parts when repaint is set.
BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint);
// insertAfter: a sibling, HWND_TOP, HWND_BOTTOM, HWND_TOPMOST or HWND_NOTOPMOST.
// Topmost top-level windows always stay above the others.
BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags);
BOOL BringWindowToTop(HWND window);
// Returns whether the window was visible before. Sends WM_SHOWWINDOW when the
// visibility changes; showing a top-level window activates it unless the
// command is a no-activate one.
BOOL ShowWindow(HWND window, int command);
// Visible only when the window and all its ancestors have WS_VISIBLE.
BOOL IsWindowVisible(HWND window);
BOOL IsIconic(HWND window);
BOOL IsZoomed(HWND window);
// Returns whether the window was disabled before; sends WM_ENABLE on a change.
// Disabling the focus window (or its ancestor) removes the focus.
BOOL EnableWindow(HWND window, BOOL enable);
BOOL IsWindowEnabled(HWND window);

// Client rectangle: always (0, 0, width, height) of the client area, which is the
// window less borders, caption and visible standard scroll bars (16 each).
BOOL GetClientRect(HWND window, LPRECT rect);
// The window's rectangle in screen coordinates.
BOOL GetWindowRect(HWND window, LPRECT rect);
// Grows a client rectangle by the frame and caption a window of these styles
// would have. The layer draws no menu bars, so the menu flag changes nothing.
BOOL AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL menu, DWORD exStyle);
BOOL ClientToScreen(HWND window, LPPOINT point);
BOOL ScreenToClient(HWND window, LPPOINT point);
// Converts count points between two windows' client coordinates (null = screen).
int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count);
// Deepest visible, enabled-or-not child of the top-level window under the
// screen point (skipping hidden windows); null when no window is there.
HWND WindowFromPoint(POINT point);
HWND ChildWindowFromPoint(HWND parent, POINT point);

// Text through WM_SETTEXT / WM_GETTEXT. GetWindowTextA copies at most size-1
// characters and a terminating zero, returning the characters copied (0 for a
// bad window or size < 1). A null text sets the empty text.
BOOL SetWindowTextA(HWND window, LPCSTR text);
int GetWindowTextA(HWND window, LPSTR text, int size);
int GetWindowTextLengthA(HWND window);

// Window longs: the GWL_ indexes above or a byte offset into the class's
// cbWndExtra bytes (pointer-sized slots, offset + 8 <= cbWndExtra). Values are
// pointer-sized so that procedures and user data survive on a 64-bit machine.
// A bad index gives 0 and ERROR_INVALID_INDEX. Setting GWL_STYLE keeps WS_CHILD
// as it was and updates the client area when scroll-bar bits change.
LONG_PTR GetWindowLongA(HWND window, int index);
LONG_PTR SetWindowLongA(HWND window, int index, LONG_PTR value);
#define GetWindowLongPtrA GetWindowLongA
#define SetWindowLongPtrA SetWindowLongA
// The control identifier (the HMENU argument of a child's creation).
int GetDlgCtrlID(HWND window);
HWND GetDlgItem(HWND parent, int identifier);

// Minimises the window (it is not closed, as on the original platform); FALSE for a bad handle.
BOOL CloseWindow(HWND window);
