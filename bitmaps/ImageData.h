// IMAGEDATA: a view of a rectangle of pixels in memory, handed between the
// bitmap code, the image operations and the pixel-drawing routines.
#pragma once

#include <cstddef>
#include <cstdint>

// Pixel layouts a view may have. Type 1 is a little-endian 5-6-5 word (red in
// bits 11-15); type 2 is three bytes blue, green, red. Types 3 and 4 are plain
// three- and four-byte pixels that only the image operations accept.
enum TImageDataType : int32_t {
    idtGray8 = 0,
    idtRgb565 = 1,
    idtBgr24 = 2,
    idtBytes3 = 3,
    idtBytes4 = 4,
};

// The record never owns its pixels. Pixel (x, y) lies at
// data + y * lineStep + x * pixelStep; lineStep is negative for a view over a
// bottom-up picture, whose data then points at the last row in memory.
struct IMAGEDATA {
    uint8_t* data = nullptr;
    int32_t type = idtGray8;
    int32_t width = 0;
    int32_t height = 0;
    int32_t pixelStep = 0;
    int32_t lineStep = 0;
};

// Bytes of one pixel by type: 1, 2, 3, 3, 4; 0 for any other type.
inline int ImagePixelSize(int32_t type) {
    static const int kSizes[] = {1, 2, 3, 3, 4};
    return (type >= 0 && type <= 4) ? kSizes[type] : 0;
}

// Address of pixel (x, y); the caller keeps x and y inside the view.
inline uint8_t* ImagePixel(const IMAGEDATA& image, int x, int y) {
    return image.data + std::ptrdiff_t(y) * image.lineStep + std::ptrdiff_t(x) * image.pixelStep;
}

// True when the view has pixels to address: data set, a known type and a
// positive width and height.
inline bool ImageHasPixels(const IMAGEDATA& image) {
    return image.data != nullptr && ImagePixelSize(image.type) > 0 && image.width > 0 && image.height > 0;
}

// A view over a packed buffer of width x height pixels of the given type, rows
// top-down with no padding.
inline IMAGEDATA MakeImageData(uint8_t* data, int32_t type, int32_t width, int32_t height) {
    IMAGEDATA image;
    image.data = data;
    image.type = type;
    image.width = width;
    image.height = height;
    image.pixelStep = ImagePixelSize(type);
    image.lineStep = image.pixelStep * width;
    return image;
}
