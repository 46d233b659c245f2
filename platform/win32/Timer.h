// Timers: WM_TIMER at intervals of the message clock.
#pragma once

#include "Win32Types.h"

typedef void(CALLBACK* TIMERPROC)(HWND, UINT, UINT_PTR, DWORD);

// Starts or restarts timer id of the window, due interval ms after now (an
// interval below 10 counts as 10). With a null window a new identifier is made
// and returned. WM_TIMER comes when the queue holds nothing else, at most one
// pending per timer; with a procedure DispatchMessageA calls it instead of the
// window procedure. 0 for a bad window.
UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT interval, TIMERPROC procedure);
// FALSE when there is no such timer; a pending WM_TIMER of it is withdrawn.
BOOL KillTimer(HWND window, UINT_PTR id);
