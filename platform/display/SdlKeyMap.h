// SDL keys to the layer's virtual-key codes. Internal to the SDL back end.
#pragma once

#include <SDL.h>

#include "Win32Types.h"

namespace win32 {

// The virtual key of an SDL key event; 0 for keys the layer does not know.
// Letters follow the layout (the key code) where it gives a Latin letter, else the key's position.
UINT VirtualKeyOfSdlKey(const SDL_Keysym& key);

// Whether SDL follows this key-down with text input of its own, so the key
// itself must not make characters.
bool SdlKeyMakesText(const SDL_Keysym& key);

}  // namespace win32
