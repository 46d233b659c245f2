// What the SDL back end asks of an X desktop beyond what SDL does: calling off
// a move or size that the desktop began for a press on a window's frame (SDL's
// hit test starts them, but never ends one), and naming a window's X window.
#pragma once

#include <SDL.h>

namespace win32 {

// Asks the desktop to end the move or size of the window that it runs for the
// pointer. Does nothing when SDL's video runs on another window system.
void CancelDesktopMoveResize(SDL_Window* window);

// The X window behind an SDL window; 0 for null or on another window system.
unsigned long X11WindowOf(SDL_Window* window);

}  // namespace win32
