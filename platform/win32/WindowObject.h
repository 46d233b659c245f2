// The window record behind an HWND, the class registry and the handle table.
// Internal to the Win32 subset.
#pragma once

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "Region.h"
#include "ScrollBar.h"
#include "Surface.h"
#include "Window.h"

namespace win32 {

struct WindowClass {
    std::string name;
    WNDCLASSEXA record{};
    int windowCount = 0;
};

// One standard scroll bar or the bar of a SCROLLBAR control.
struct ScrollBarState {
    int minimum = 0;
    int maximum = 100;
    UINT page = 0;
    int position = 0;
    int trackPosition = 0;
    bool tracking = false;
    UINT disabledArrows = 0;  // ESB_ bits
};

struct Window {
    HWND handle = nullptr;
    WindowClass* windowClass = nullptr;
    WNDPROC procedure = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
    // Window rectangle in the parent's client coordinates (screen for top-level windows).
    RECT rect{0, 0, 0, 0};
    std::string text;
    LONG_PTR identifier = 0;  // control id of a child, menu of a top-level window
    HINSTANCE instance = nullptr;
    LONG_PTR userData = 0;
    std::vector<LONG_PTR> extraSlots;
    Window* parent = nullptr;
    Window* owner = nullptr;
    std::vector<Window*> children;  // z-order, topmost first
    ScrollBarState bars[2];         // SB_HORZ, SB_VERT (SB_CTL uses bars[0])
    Region updateRegion;            // client coordinates
    bool eraseBackground = false;
    bool nonClientDirty = false;  // borders and standard bars need drawing
    bool redrawEnabled = true;
    bool destroying = false;
    bool created = false;  // WM_CREATE answered
    bool minimized = false;
    bool maximized = false;
    RECT restoreRect{0, 0, 0, 0};  // rectangle before maximizing
    std::unique_ptr<Surface> surface;  // top-level windows only
    std::thread::id thread;

    bool IsChild() const { return (style & WS_CHILD) != 0 && parent != nullptr; }
    bool IsScrollBarControl() const;
};

// Handle table. Lookups are safe from any thread; the records themselves belong
// to the user-interface thread.
Window* FindWindowRecord(HWND handle);  // null (and ERROR_INVALID_WINDOW_HANDLE) for a bad handle
Window* FindWindowQuietly(HWND handle);  // null without touching the last error
HWND RegisterWindowRecord(std::unique_ptr<Window> window);
void ForgetWindowRecord(Window* window);  // deletes it
bool WindowStillExists(HWND handle);     // any thread
std::vector<Window*> TopLevelWindows();   // z-order, topmost first
std::vector<Window*>& TopLevelList();

WindowClass* FindWindowClass(const char* name);
void RegisterBuiltInClasses();
ATOM RegisterClassRecord(const WNDCLASSEXA& record);

// Geometry of the window record, all computed from rect, style and the bars.
int BorderThickness(const Window& window);
int CaptionHeight(const Window& window);
// Client area in the window's own coordinates (0,0 = window's top-left).
RECT ClientAreaInWindow(const Window& window);
// Offset of a window's top-left corner in its top-level window's coordinates
// and in screen coordinates.
POINT WindowOriginInTopLevel(const Window& window);
POINT WindowOriginOnScreen(const Window& window);
POINT ClientOriginOnScreen(const Window& window);
POINT ClientOriginInTopLevel(const Window& window);
Window* TopLevelOf(Window* window);
bool IsVisibleWithAncestors(const Window& window);
bool IsEnabledWithAncestors(const Window& window);
int ClientWidth(const Window& window);
int ClientHeight(const Window& window);
// The close box at the right end of the caption of a window with WS_SYSMENU,
// in window coordinates; empty when the window has no caption or no close box.
RECT CloseBoxRect(const Window& window);
// What lies under a point in window coordinates: HTCLIENT, a standard scroll
// bar, an edge or corner of a sizeable top-level window's frame (HTLEFT ...
// HTBOTTOMRIGHT), the close box (HTCLOSE), the caption, the rest of the frame
// (HTBORDER); HTNOWHERE outside the window.
int WindowHitCode(const Window& window, POINT inWindow);

// The visible part of the window's client area (or whole window) in its
// top-level window's coordinates: clipped by every ancestor's client area,
// without children when the window has WS_CLIPCHILDREN (always for the whole
// window) and without the siblings above it that have WS_CLIPSIBLINGS.
Region VisibleRegionInTopLevel(const Window& window, bool wholeWindow);

// Sends WM_SIZE with the current client size (after a bar showed or hid).
void SendSizeMessage(Window& window);
void SendMoveMessage(Window& window);
// Places the window at rect (parent coordinates); WM_WINDOWPOSCHANGED, then
// WM_MOVE / WM_SIZE for what changed.
void PlaceWindow(Window& window, RECT rect, bool repaint);
// A framed top-level window's WM_GETMINMAXINFO answer (asked with the work
// area as the maximized place and the screen as the largest size); false,
// leaving limits alone, for other windows.
bool TrackingLimits(Window& window, MINMAXINFO& limits);
// Limits a framed top-level window's size by its WM_GETMINMAXINFO answer; others are left alone.
void ClampToMinMax(Window& window, int& width, int& height);
// The thread that created the window (any thread); false for a bad handle.
bool WindowThreadOf(HWND handle, std::thread::id* thread);
// Keeps the top-level surface the size of the window.
void MatchSurfaceToWindow(Window& window);

LRESULT CallProcedure(Window& window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace win32
