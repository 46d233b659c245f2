// Helpers shared by the message box and popup menu windows.
#include "ModalWindows.h"

#include <cctype>

namespace win32 {

void RegisterLayerClass(const char* name, WNDPROC procedure) {
    WNDCLASSA windowClass{};
    if (GetClassInfoA(nullptr, name, &windowClass)) return;
    windowClass.lpfnWndProc = procedure;
    windowClass.lpszClassName = name;
    RegisterClassA(&windowClass);
}

SIZE WindowSizeForClient(HWND window, SIZE client) {
    RECT frame{}, inside{};
    GetWindowRect(window, &frame);
    GetClientRect(window, &inside);
    return SIZE{client.cx + (frame.right - frame.left) - inside.right,
                client.cy + (frame.bottom - frame.top) - inside.bottom};
}

char AcceleratorOf(const std::string& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] != '&') return char(std::tolower(static_cast<unsigned char>(caption[i + 1])));
        ++i;
    }
    return '\0';
}

}  // namespace win32
