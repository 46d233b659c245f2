// The headless back end: surfaces stay in memory, input comes from tests.
#pragma once

#include "DeviceContext.h"
#include "display/DisplayBackEnd.h"

namespace win32 {

class HeadlessDisplay : public DisplayBackEnd {
public:
    const char* Name() const override { return "headless"; }
    void SurfaceChanged(HWND) override {}
    void TopLevelDestroyed(HWND) override {}
    void PollEvents() override {}
    // The screen surface, all of it free for windows.
    RECT ScreenArea() const override { return RECT{0, 0, ScreenSurface().Width(), ScreenSurface().Height()}; }
    RECT WorkArea() const override { return ScreenArea(); }
};

}  // namespace win32
