// Conversion of one pixel between red-green-blue and hue-saturation-intensity,
// each component one byte.
#pragma once

#include <cstdint>

struct RGB_TRIPLE {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
};

// Hue maps [0, 2 pi) onto 0-255; saturation and intensity map [0, 1] onto 0-255.
struct HSI_TRIPLE {
    uint8_t hue = 0;
    uint8_t saturation = 0;
    uint8_t intensity = 0;
};

// Black gives saturation 255 and intensity 0; any grey gives saturation 0 and
// hue 63. Every real result is truncated toward zero.
HSI_TRIPLE RGB2HSI(RGB_TRIPLE rgb);

// Components past 255 are clamped to 255, below 0 to 0.
RGB_TRIPLE HSI2RGB(HSI_TRIPLE hsi);
