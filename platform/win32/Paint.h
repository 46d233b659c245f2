// Painting of windows: update regions, WM_PAINT, BeginPaint/EndPaint, window
// device contexts and scrolling a window's pixels.
#pragma once

#include "Win32Types.h"

struct PAINTSTRUCT {
    HDC hdc;
    BOOL fErase;
    RECT rcPaint;
    BOOL fRestore;
    BOOL fIncUpdate;
    BYTE rgbReserved[32];
};
typedef PAINTSTRUCT* LPPAINTSTRUCT;

// ScrollWindowEx flags.
#define SW_SCROLLCHILDREN 0x0001
#define SW_INVALIDATE 0x0002
#define SW_ERASE 0x0004

// RedrawWindow flags.
#define RDW_INVALIDATE 0x0001
#define RDW_ERASE 0x0004
#define RDW_VALIDATE 0x0008
#define RDW_ALLCHILDREN 0x0080
#define RDW_UPDATENOW 0x0100
#define RDW_ERASENOW 0x0200
#define RDW_FRAME 0x0400

// Adds a client rectangle (null: the whole client area) to the update region;
// children are invalidated with it unless the window has WS_CLIPCHILDREN.
// erase marks the region for WM_ERASEBKGND in BeginPaint. A hidden window takes
// nothing. FALSE for a bad window.
BOOL InvalidateRect(HWND window, LPCRECT rect, BOOL erase);
BOOL InvalidateRgn(HWND window, HRGN region, BOOL erase);
// Removes the rectangle (null: everything) from the update region.
BOOL ValidateRect(HWND window, LPCRECT rect);
BOOL ValidateRgn(HWND window, HRGN region);
// Sends WM_PAINT now when the window (then each child) has an update region.
BOOL UpdateWindow(HWND window);
BOOL RedrawWindow(HWND window, LPCRECT rect, HRGN region, UINT flags);
// The bounding box of the update region in client coordinates (empty when
// none); returns whether there is one. erase sends WM_ERASEBKGND first.
BOOL GetUpdateRect(HWND window, LPRECT rect, BOOL erase);
// Copies the update region into region; returns its complexity (NULLREGION..).
int GetUpdateRgn(HWND window, HRGN region, BOOL erase);

// Starts painting: the DC is clipped to the update region and the window's
// visible part, the caret is hidden, WM_ERASEBKGND is sent when the region asks
// for it, and the region becomes valid. Null for a bad window.
HDC BeginPaint(HWND window, LPPAINTSTRUCT paint);
// Releases the DC and shows the caret again.
BOOL EndPaint(HWND window, const PAINTSTRUCT* paint);

// A DC on the window's client area (GetDC) or whole window (GetWindowDC), in the
// top-level window's surface, offset to its place and clipped to its visible
// part; free with ReleaseDC. GetDC(NULL) is the screen (declared in Gdi.h).
HDC GetWindowDC(HWND window);
HDC GetDCEx(HWND window, HRGN clip, DWORD flags);

// Moves the client area's pixels (all of it, or rect) by (dx, dy), clipped to
// clip when given; the uncovered strip joins the update region, an update region
// already there moves with the pixels, and the caret moves with them when it
// lies in the scrolled rectangle. Children move too (ScrollWindow with a null
// rect always; ScrollWindowEx with SW_SCROLLCHILDREN).
BOOL ScrollWindow(HWND window, int dx, int dy, LPCRECT rect, LPCRECT clip);
// Returns SIMPLEREGION/COMPLEXREGION/NULLREGION for what was uncovered, ERROR (0) for a bad window;
// updateRegion and updateRect receive it when given. SW_INVALIDATE adds it to the update region.
int ScrollWindowEx(HWND window, int dx, int dy, LPCRECT rect, LPCRECT clip, HRGN updateRegion, LPRECT updateRect,
                   UINT flags);

// Accepted and ignored: the layer draws into memory surfaces, so nothing flickers. Always TRUE.
BOOL LockWindowUpdate(HWND window);
