// Helpers of the real-window tests (the <library>_sdl_tests programs): letting
// SDL and the layer settle, key events as SDL gets them from a keyboard, and
// keys pressed on the X server's own keyboard. For test programs only.
#pragma once

#include <SDL.h>

#include <cstdlib>
#include <string>

#include "display/SdlBackEnd.h"
#include "display/TestDriver.h"

namespace win32 {

// Lets SDL deliver what the window system sends back, and the layer paint.
inline void SettleRealWindows(TestDriver& driver) {
    for (int round = 0; round < 5; ++round) {
        driver.PumpUntilIdle();
        SDL_Delay(10);
    }
    driver.PumpUntilIdle();
}

// A key-down or key-up (type) for the SDL window of a top-level window.
inline SDL_Event SdlKeyEvent(HWND topLevel, Uint32 type, SDL_Keycode sym, SDL_Scancode scancode,
                             Uint16 mod = KMOD_NONE) {
    SDL_Event event{};
    event.type = type;
    event.key.windowID = SdlWindowIdOf(topLevel);
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = sym;
    event.key.keysym.scancode = scancode;
    event.key.keysym.mod = mod;
    return event;
}

// Keys pressed on the X server's keyboard, in xdotool's key syntax ("alt+c",
// "ISO_Level3_Shift+q F4"), after the keyboard focus was given to the SDL
// window of a top-level window. Returns before SDL has read them; false when
// the window is not shown or xdotool failed.
inline bool SendRealKeys(HWND topLevel, const std::string& keys) {
    SDL_Window* shown = SDL_GetWindowFromID(SdlWindowIdOf(topLevel));
    if (shown == nullptr || SDL_SetWindowInputFocus(shown) != 0) return false;
    return std::system(("xdotool key " + keys).c_str()) == 0;
}

}  // namespace win32
