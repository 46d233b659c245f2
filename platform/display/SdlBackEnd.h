// The SDL2 back end: one real window per visible top-level window, showing its
// surface, with SDL's keyboard, text, mouse, wheel, focus, resize and close
// events turned into the layer's input and messages.
#pragma once

#include <memory>

#include "display/DisplayBackEnd.h"

namespace win32 {

// The back end, or null when SDL's video cannot start (no display).
std::unique_ptr<DisplayBackEnd> MakeSdlDisplay();

// The pixel the SDL window of a top-level window last presented at window
// coordinates (x, y), as COLORREF; CLR_INVALID (0xFFFFFFFF) when the SDL
// back end is not in use, the window has no SDL window or the point is outside.
COLORREF SdlPresentedPixel(HWND topLevel, int x, int y);
// The SDL window id of a top-level window (0 when it has none), for tests that feed events.
unsigned SdlWindowIdOf(HWND topLevel);
// The X window showing a top-level window (0 when it has none, or SDL's video
// runs on another window system), for tests that ask the desktop about it.
unsigned long SdlX11WindowOf(HWND topLevel);

}  // namespace win32
