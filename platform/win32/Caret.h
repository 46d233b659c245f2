// The caret: one per user-interface thread, owned by a window, blinking on the
// message clock and drawn by inverting the pixels under it.
#pragma once

#include "Win32Types.h"

// Replaces any existing caret (destroying it). A null bitmap (or the grey
// caret's (HBITMAP)1) makes a solid caret of width x height; width or height 0
// take the system's 1 / 16; a bitmap gives its own size. The caret always inverts. The caret starts hidden
// (one ShowCaret shows it). FALSE for a bad window.
BOOL CreateCaret(HWND window, HBITMAP bitmap, int width, int height);
// FALSE when the thread has no caret.
BOOL DestroyCaret();
// Hides are counted: each HideCaret needs its ShowCaret. A null window means the
// caret's own window; FALSE when the caret belongs to another window or none.
BOOL ShowCaret(HWND window);
BOOL HideCaret(HWND window);
// Client coordinates of the caret's owner. FALSE without a caret.
BOOL SetCaretPos(int x, int y);
BOOL GetCaretPos(LPPOINT point);
UINT GetCaretBlinkTime();  // 530 ms
BOOL SetCaretBlinkTime(UINT milliseconds);
