// Resolving colours: system colours through the layer's GetSysColor.
#include "Graphics.h"

COLORREF ColorToRGB(TColor color) {
    if (color == clNone) return RGB(0, 0, 0);
    if (color == clDefault) return GetSysColor(COLOR_WINDOW);
    if (color < 0) return GetSysColor(static_cast<int>(static_cast<uint32_t>(color) & 0xFF));
    return static_cast<COLORREF>(color) & 0x00FFFFFF;
}
