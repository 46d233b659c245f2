// Helpers shared by the windows the layer draws for its modal interactions
// (message boxes, popup menus). Internal to the Win32 subset.
#pragma once

#include <string>

#include "Window.h"

namespace win32 {

// Registers the layer's own window class once (again after a test reset dropped it).
void RegisterLayerClass(const char* name, WNDPROC procedure);
// The window size that gives the window a client area of the given size.
SIZE WindowSizeForClient(HWND window, SIZE client);
// The lower-case letter after the first single '&' of a caption; 0 when none.
char AcceleratorOf(const std::string& caption);

}  // namespace win32
