// Mouse cursor shapes: the standard IDC_ shapes and CURSOR resources.
#pragma once

#include "Win32Types.h"

#define IDC_ARROW MAKEINTRESOURCEA(32512)
#define IDC_IBEAM MAKEINTRESOURCEA(32513)
#define IDC_WAIT MAKEINTRESOURCEA(32514)
#define IDC_CROSS MAKEINTRESOURCEA(32515)
#define IDC_UPARROW MAKEINTRESOURCEA(32516)
#define IDC_SIZENWSE MAKEINTRESOURCEA(32642)
#define IDC_SIZENESW MAKEINTRESOURCEA(32643)
#define IDC_SIZEWE MAKEINTRESOURCEA(32644)
#define IDC_SIZENS MAKEINTRESOURCEA(32645)
#define IDC_SIZEALL MAKEINTRESOURCEA(32646)
#define IDC_NO MAKEINTRESOURCEA(32648)
#define IDC_HAND MAKEINTRESOURCEA(32649)
#define IDC_APPSTARTING MAKEINTRESOURCEA(32650)
#define IDC_HELP MAKEINTRESOURCEA(32651)

// A null instance with an IDC_ identifier gives the shared standard shape;
// otherwise the CURSOR (or group cursor) resource of that name in the module
// (null module: the program, then the libraries). Null when nothing matches.
// Cursors are shared and never need freeing.
HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name);
// Sets the shape shown over the window; returns the previous one.
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();
// Display counter: the cursor shows while it is 0 or more. Returns the new count.
int ShowCursor(BOOL show);
BOOL DestroyCursor(HCURSOR cursor);  // TRUE; shared shapes are kept

namespace win32 {
// The standard shape identifier (32512...) of a standard cursor, 0 for a
// resource cursor, and the resource bytes of one (for a back end that shows it).
int StandardCursorId(HCURSOR cursor);
const void* CursorResourceBytes(HCURSOR cursor, DWORD* size);
}  // namespace win32
