// Helpers shared by the image operation units: HSI components of three-byte
// pixels, clamped byte conversion and block-size checks.
#pragma once

#include "ImageData.h"
#include "RgbHsi.h"

#include <cstdint>

namespace image_pixel_access {

// The HSI triple of a blue-green-red pixel.
inline HSI_TRIPLE PixelHsi(const uint8_t* pixel) {
    RGB_TRIPLE rgb;
    rgb.red = pixel[2];
    rgb.green = pixel[1];
    rgb.blue = pixel[0];
    return RGB2HSI(rgb);
}

// Stores an HSI triple as blue, green, red.
inline void StorePixelHsi(uint8_t* pixel, HSI_TRIPLE hsi) {
    const RGB_TRIPLE rgb = HSI2RGB(hsi);
    pixel[0] = rgb.blue;
    pixel[1] = rgb.green;
    pixel[2] = rgb.red;
}

inline bool IsHsiChannel(int channel) { return channel >= 128 && channel <= 130; }

inline bool IsByteChannel(int channel) { return channel >= 0 && channel <= 2; }

// Channel 128 is the intensity, 129 the saturation, 130 the hue.
inline uint8_t& HsiComponent(HSI_TRIPLE& hsi, int channel) {
    if (channel == 128) {
        return hsi.intensity;
    }
    return channel == 129 ? hsi.saturation : hsi.hue;
}

// Truncates toward zero into 0-255; NaN gives 0.
inline uint8_t ClampToByte(double value) {
    if (!(value > 0)) {
        return 0;
    }
    return value >= 255 ? 255 : uint8_t(value);
}

// The intensity of a type-2 pixel, or its first byte otherwise.
inline uint8_t PixelValue(const uint8_t* pixel, int byteIndex, bool useIntensity) {
    return useIntensity ? PixelHsi(pixel).intensity : pixel[byteIndex];
}

// Writes a value read by PixelValue back the same way.
inline void StorePixelValue(uint8_t* pixel, int byteIndex, bool useIntensity, uint8_t value) {
    if (useIntensity) {
        HSI_TRIPLE hsi = PixelHsi(pixel);
        hsi.intensity = value;
        StorePixelHsi(pixel, hsi);
    } else {
        pixel[byteIndex] = value;
    }
}

inline bool SameSize(const IMAGEDATA& a, const IMAGEDATA& b) {
    return a.width == b.width && a.height == b.height;
}

inline bool CoversSize(const IMAGEDATA& image, long long width, long long height) {
    return image.width >= width && image.height >= height;
}

}  // namespace image_pixel_access
