// Keyboard and scroll-bar arithmetic shared by the list controls (list box,
// combo box list, list view): which row a key moves to, where a scroll
// command puts the first row, and the vertical bar of a list.
#pragma once

#include "Win32.h"

// The row that Up, Down, PgUp (page rows back), PgDn, Home or End moves to
// from current (-1: none yet, Up and Down then take the first row), kept
// inside [0, count); -2 for any other key or an empty list.
int ListNavigationTarget(WORD key, int current, int count, int page);

// The first row after a WM_VSCROLL command (SB_LINEUP ... SB_BOTTOM; thumb is
// the position of SB_THUMBTRACK/SB_THUMBPOSITION), not yet clamped; top
// itself for commands that do not scroll.
int ScrolledTopRow(WORD command, int thumb, int top, int page, int count);

// Sets a list window's vertical bar for count rows, page visible, top first
// (the layer hides the bar when everything fits).
void SetListScrollBar(HWND window, int count, int page, int top);
