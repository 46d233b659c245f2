// Scroll bars: the standard bars of a window with WS_HSCROLL / WS_VSCROLL and
// the SCROLLBAR control class, with the original platform's clamping and hiding.
#pragma once

#include "Win32Types.h"

// Which bar.
#define SB_HORZ 0
#define SB_VERT 1
#define SB_CTL 2
#define SB_BOTH 3

// Scroll codes in the low word of WM_HSCROLL / WM_VSCROLL.
#define SB_LINEUP 0
#define SB_LINELEFT 0
#define SB_LINEDOWN 1
#define SB_LINERIGHT 1
#define SB_PAGEUP 2
#define SB_PAGELEFT 2
#define SB_PAGEDOWN 3
#define SB_PAGERIGHT 3
#define SB_THUMBPOSITION 4
#define SB_THUMBTRACK 5
#define SB_TOP 6
#define SB_LEFT 6
#define SB_BOTTOM 7
#define SB_RIGHT 7
#define SB_ENDSCROLL 8

// SCROLLINFO masks.
#define SIF_RANGE 0x0001
#define SIF_PAGE 0x0002
#define SIF_POS 0x0004
#define SIF_DISABLENOSCROLL 0x0008
#define SIF_TRACKPOS 0x0010
#define SIF_ALL (SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS)

// EnableScrollBar arrows.
#define ESB_ENABLE_BOTH 0x0000
#define ESB_DISABLE_BOTH 0x0003
#define ESB_DISABLE_LTUP 0x0001
#define ESB_DISABLE_RTDN 0x0002

// SCROLLBAR control styles.
#define SBS_HORZ 0x0000
#define SBS_VERT 0x0001

struct SCROLLINFO {
    UINT cbSize;
    UINT fMask;
    int nMin;
    int nMax;
    UINT nPage;
    int nPos;
    int nTrackPos;
};
typedef SCROLLINFO* LPSCROLLINFO;
typedef const SCROLLINFO* LPCSCROLLINFO;

// Sets the parts fMask names and returns the resulting position. An inverted
// range becomes max = min; the page clamps to [0, max-min+1]; the position to
// [min, max - max(page-1, 0)]. A standard bar that can no longer scroll
// (page > max-min, or max <= min) is hidden unless SIF_DISABLENOSCROLL, when it
// stays and is disabled; a bar that can scroll again is shown. Showing or hiding
// a standard bar changes the client area by 16 and sends WM_SIZE at once. A bad
// window or bar gives 0.
int SetScrollInfo(HWND window, int bar, LPCSCROLLINFO info, BOOL redraw);
// Fills the parts fMask names; SIF_TRACKPOS is the thumb's place during a drag
// (the position otherwise). FALSE for a bad window or bar, or an empty mask.
BOOL GetScrollInfo(HWND window, int bar, LPSCROLLINFO info);
// Return the previous position; the new one is clamped as above.
int SetScrollPos(HWND window, int bar, int position, BOOL redraw);
int GetScrollPos(HWND window, int bar);
BOOL SetScrollRange(HWND window, int bar, int minimum, int maximum, BOOL redraw);
BOOL GetScrollRange(HWND window, int bar, LPINT minimum, LPINT maximum);
// Shows or hides standard bars (SB_BOTH for both) or a SCROLLBAR control.
BOOL ShowScrollBar(HWND window, int bar, BOOL show);
BOOL EnableScrollBar(HWND window, UINT bar, UINT arrows);
