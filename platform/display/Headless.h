// The headless back end: surfaces stay in memory, input comes from tests.
#pragma once

#include "display/DisplayBackEnd.h"

namespace win32 {

class HeadlessDisplay : public DisplayBackEnd {
public:
    const char* Name() const override { return "headless"; }
    void SurfaceChanged(HWND) override {}
    void TopLevelDestroyed(HWND) override {}
    void PollEvents() override {}
};

}  // namespace win32
