// Requests to an X desktop beyond SDL's. Kept apart from the back end so that
// Xlib's names stay out of the layer's own.
#include "display/XDesktop.h"

#include <SDL_syswm.h>
#include <X11/Xlib.h>

namespace win32 {
namespace {

// The direction of _NET_WM_MOVERESIZE that calls a move or size off.
const long kMoveResizeCancel = 11;
// Who asks: an application (not a pager or task bar).
const long kSourceApplication = 1;

bool X11InfoOf(SDL_Window* window, SDL_SysWMinfo* info) {
    SDL_VERSION(&info->version);
    return window != nullptr && SDL_GetWindowWMInfo(window, info) && info->subsystem == SDL_SYSWM_X11;
}

}  // namespace

// The desktop's own message for it: a client message to the root window.
void CancelDesktopMoveResize(SDL_Window* window) {
    SDL_SysWMinfo info;
    if (!X11InfoOf(window, &info)) return;
    Display* display = info.info.x11.display;
    XEvent message{};
    message.xclient.type = ClientMessage;
    message.xclient.window = info.info.x11.window;
    message.xclient.message_type = XInternAtom(display, "_NET_WM_MOVERESIZE", False);
    message.xclient.format = 32;
    message.xclient.data.l[2] = kMoveResizeCancel;
    message.xclient.data.l[4] = kSourceApplication;
    XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask,
               &message);
    XFlush(display);
}

unsigned long X11WindowOf(SDL_Window* window) {
    SDL_SysWMinfo info;
    return X11InfoOf(window, &info) ? info.info.x11.window : 0;
}

}  // namespace win32
