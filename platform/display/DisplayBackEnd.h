// The presentation back end: shows top-level surfaces and hands device input to
// the layer. The headless one presents nothing; the SDL one opens real windows.
#pragma once

#include "Surface.h"
#include "Win32Types.h"

namespace win32 {

class DisplayBackEnd {
public:
    virtual ~DisplayBackEnd() = default;
    virtual const char* Name() const = 0;
    // A top-level window's surface changed (drawn, resized, shown or hidden).
    virtual void SurfaceChanged(HWND topLevel) = 0;
    // The window is going away.
    virtual void TopLevelDestroyed(HWND topLevel) = 0;
    // Turns pending device events into input (InputSink.h); called by the queue
    // before it looks for messages. Never blocks.
    virtual void PollEvents() = 0;
    // The screen the windows are on, and the part of it the desktop leaves to
    // windows (less panels and docks), in screen coordinates. Any thread.
    virtual RECT ScreenArea() const = 0;
    virtual RECT WorkArea() const = 0;
};

// The 32-bit surface of a top-level window, for presenting; null for a child or a bad handle.
const Surface* TopLevelSurface(HWND topLevel);

// The back end in use, chosen once from SUITE_DISPLAY, or when that is unset,
// SDL where DISPLAY or WAYLAND_DISPLAY is set; headless otherwise, and when the
// chosen back end is unknown or cannot start.
DisplayBackEnd& CurrentDisplay();

}  // namespace win32
