// Choice of the display back end from SUITE_DISPLAY, and the layer's calls into it.
#include <cstdlib>
#include <cstring>
#include <memory>

#include "WindowHooks.h"
#include "display/Headless.h"
#include "display/SdlBackEnd.h"

namespace win32 {
namespace {

struct BackEndChoice {
    const char* name;
    std::unique_ptr<DisplayBackEnd> (*make)();  // null when the back end cannot start
};

std::unique_ptr<DisplayBackEnd> MakeHeadless() { return std::make_unique<HeadlessDisplay>(); }

// Back ends by their SUITE_DISPLAY name.
const BackEndChoice backEnds[] = {
    {"headless", MakeHeadless},
    {"sdl", MakeSdlDisplay},
};

// SUITE_DISPLAY names the back end; when it is unset, real windows are wanted
// wherever a display exists.
const char* WantedBackEnd() {
    if (const char* wanted = std::getenv("SUITE_DISPLAY")) return wanted;
    const bool displayExists = std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr;
    return displayExists ? "sdl" : "headless";
}

std::unique_ptr<DisplayBackEnd> ChooseBackEnd() {
    const char* wanted = WantedBackEnd();
    for (const BackEndChoice& choice : backEnds)
        if (std::strcmp(wanted, choice.name) == 0 && choice.make != nullptr)
            if (auto display = choice.make()) return display;
    return MakeHeadless();
}

}  // namespace

DisplayBackEnd& CurrentDisplay() {
    static std::unique_ptr<DisplayBackEnd> display = ChooseBackEnd();
    return *display;
}

const Surface* TopLevelSurface(HWND topLevel) {
    Window* window = FindWindowQuietly(topLevel);
    return window != nullptr && !window->IsChild() ? window->surface.get() : nullptr;
}

void SurfaceChanged(Window& topLevel) { CurrentDisplay().SurfaceChanged(topLevel.handle); }

}  // namespace win32
