// Watching the X connection under SDL's windows. Kept apart from the back end
// so that Xlib's names stay out of the layer's own.
#include "display/XConnection.h"

#include <SDL.h>
#include <X11/Xlib.h>

#include <atomic>
#include <cstring>

namespace win32 {
namespace {

std::atomic<bool> connectionLost{false};
XIOErrorHandler earlierHandler = nullptr;

// Called by Xlib on the thread that found the connection broken; Xlib ends the
// program once it returns, running the static destructors on the way.
int NoteConnectionLost(Display* display) {
    connectionLost = true;
    return earlierHandler != nullptr ? earlierHandler(display) : 0;
}

}  // namespace

void WatchXConnection() {
    static bool watching = false;
    const char* driver = SDL_GetCurrentVideoDriver();
    if (watching || driver == nullptr || std::strcmp(driver, "x11") != 0) return;
    watching = true;
    earlierHandler = XSetIOErrorHandler(NoteConnectionLost);
}

bool XConnectionLost() { return connectionLost; }

}  // namespace win32
