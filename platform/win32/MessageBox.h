// Message boxes: a modal window drawn by the layer with an icon, the text and
// a row of buttons, answered through the responder (Responder.h).
#pragma once

#include "Win32Types.h"

// Button sets.
#define MB_OK 0x00000000L
#define MB_OKCANCEL 0x00000001L
#define MB_ABORTRETRYIGNORE 0x00000002L
#define MB_YESNOCANCEL 0x00000003L
#define MB_YESNO 0x00000004L
#define MB_RETRYCANCEL 0x00000005L
#define MB_TYPEMASK 0x0000000FL
// Icons.
#define MB_ICONHAND 0x00000010L
#define MB_ICONQUESTION 0x00000020L
#define MB_ICONEXCLAMATION 0x00000030L
#define MB_ICONASTERISK 0x00000040L
#define MB_ICONERROR MB_ICONHAND
#define MB_ICONSTOP MB_ICONHAND
#define MB_ICONWARNING MB_ICONEXCLAMATION
#define MB_ICONINFORMATION MB_ICONASTERISK
#define MB_ICONMASK 0x000000F0L
// Default button.
#define MB_DEFBUTTON1 0x00000000L
#define MB_DEFBUTTON2 0x00000100L
#define MB_DEFBUTTON3 0x00000200L
#define MB_DEFBUTTON4 0x00000300L
#define MB_DEFMASK 0x00000F00L
// Modality (all behave as application-modal here).
#define MB_APPLMODAL 0x00000000L
#define MB_SYSTEMMODAL 0x00001000L
#define MB_TASKMODAL 0x00002000L

// Answers.
#define IDOK 1
#define IDCANCEL 2
#define IDABORT 3
#define IDRETRY 4
#define IDIGNORE 5
#define IDYES 6
#define IDNO 7

// Shows a modal message box owned by window's top-level window (null: none),
// which stays disabled until it closes. A null caption gives "Error", a null
// text an empty one. Returns the button chosen: Enter or Space takes the
// focused button (the default at first), Escape or closing the window Cancel
// (OK in an MB_OK box; nothing in boxes without Cancel), a button's underlined
// letter takes it. Headless without a responder it answers the default button;
// a responder's answer that is none of the box's buttons counts as the default.
// 0 for an unknown button set (above MB_RETRYCANCEL), with ERROR_INVALID_PARAMETER.
// A default beyond the last button means the first.
int MessageBoxA(HWND window, LPCSTR text, LPCSTR caption, UINT type);
