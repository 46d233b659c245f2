// Watching the X connection under SDL's windows: when the X server goes away,
// Xlib ends the program, and what runs on the way out must not touch SDL.
#pragma once

namespace win32 {

// Installs, once, an X I/O error handler that notes the lost connection and
// then lets Xlib's earlier handler end the program as before. Does nothing
// when SDL's video runs on another window system.
void WatchXConnection();

// True once the X server went away; SDL then waits for answers forever, so
// the back end's teardown leaves its windows alone.
bool XConnectionLost();

}  // namespace win32
