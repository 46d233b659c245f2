// The message queue of the user-interface thread: posting from any thread,
// sending across threads, the retrieving calls and the message loop pieces.
#pragma once

#include "Win32Types.h"
#include "WindowMessages.h"

struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
};
typedef MSG* LPMSG;

// PeekMessageA removal flags.
#define PM_NOREMOVE 0x0000
#define PM_REMOVE 0x0001
#define PM_NOYIELD 0x0002

// Posts to the window's queue; safe from any thread. FALSE for a window that
// does not exist (a null window posts a message with no window, seen by the loop).
BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Calls the window procedure at once on the window's own thread; from another
// thread the message is handed to that thread, which runs it the next time it
// retrieves or waits for messages, and the caller waits for the result. 0 for a
// bad window, or when the window is destroyed before the message runs.
LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Asks the loop to end with the exit code: WM_QUIT comes once no posted message
// is left (later ones included), before paint and timers, and only once.
void PostQuitMessage(int exitCode);

// Waits for a message. Order: sent messages from other threads (run, not
// returned), posted messages and input in arrival order, then WM_PAINT for a
// window with an invalid region, then due timers. Returns 0 for WM_QUIT, -1 for
// a null msg, else non-zero. A window filter takes that window and its children;
// a message range of 0..0 takes every message.
BOOL GetMessageA(LPMSG msg, HWND window, UINT filterMin, UINT filterMax);
// As GetMessageA without waiting: FALSE when nothing is there.
BOOL PeekMessageA(LPMSG msg, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags);
// Waits until a message, input, paint or due timer is there (returns at once if one is).
BOOL WaitMessage();
// Posts WM_CHAR / WM_SYSCHAR for a key-down (see Input.h). TRUE when a character followed.
BOOL TranslateMessage(const MSG* msg);
// Calls the window procedure of msg->hwnd. A WM_TIMER with a procedure in lParam
// calls that procedure instead, but only while that timer lives with that
// procedure (a posted imitation is dropped). 0 for a message without a window.
LRESULT DispatchMessageA(const MSG* msg);
// Time (message clock, milliseconds) and screen cursor position of the last retrieved message.
LONG GetMessageTime();
DWORD GetMessagePos();
// TRUE while the window procedure runs a message sent from another thread.
BOOL InSendMessage();
