// Calling off a move or size that the X desktop began for a press on a
// window's frame (SDL's hit test starts them, but never ends one).
#pragma once

#include <SDL.h>

namespace win32 {

// Asks the desktop to end the move or size of the window that it runs for the
// pointer. Does nothing when SDL's video runs on another window system.
void CancelDesktopMoveResize(SDL_Window* window);

}  // namespace win32
