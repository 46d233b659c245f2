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

// What the user-interface thread's input state holds: the active, focus and
// capture windows and the caret, whose rectangle is in its owner's client
// coordinates (empty, with a null owner, when there is no caret).
struct GUITHREADINFO {
    DWORD cbSize;
    DWORD flags;
    HWND hwndActive;
    HWND hwndFocus;
    HWND hwndCapture;
    HWND hwndMenuOwner;
    HWND hwndMoveSize;
    HWND hwndCaret;
    RECT rcCaret;
};
typedef GUITHREADINFO* LPGUITHREADINFO;
// Set in flags while the caret shows (its hide count is zero); it may be in
// the off phase of its blink.
constexpr DWORD GUI_CARETBLINKING = 0x00000001;
// There is one user-interface thread: any thread id names it. FALSE for a null
// record or a cbSize other than sizeof(GUITHREADINFO).
BOOL GetGUIThreadInfo(DWORD threadId, LPGUITHREADINFO info);
