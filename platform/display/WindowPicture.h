// Pictures of real windows, for looking at what a showcase or a test drew:
// a top-level window with its frame and its visible child windows, saved as a
// 24-bit BMP file.
#pragma once

#include "Win32Types.h"

namespace win32 {

// Retrieves and dispatches messages for about that many milliseconds of real
// time, so that windows on a real display get painted. WM_QUIT is dispatched
// like any other message.
void PumpMessagesFor(DWORD milliseconds);

// Saves window (frame included) with every visible child window painted over
// it, children over their parents and earlier siblings on top, as a bottom-up
// 24-bit BMP. Pixels no window DC can read come out black. False for a window
// that does not exist or a file that cannot be written.
bool SaveWindowPicture(HWND window, const char* path);

}  // namespace win32
