// Image operations on pixel values: rescaling, copying, grey and channel
// work, difference images, soft borders, thresholds and rectangle fills.
#include "ImageColors.h"

#include "ImagePixelAccess.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

using namespace image_pixel_access;

namespace {

// Calls visit(pixel) for every pixel of the view, row by row.
template <typename Visit>
void ForEachPixel(const IMAGEDATA& image, Visit visit) {
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            visit(ImagePixel(image, x, y));
        }
    }
}

// A channel's byte or HSI component of a three-byte pixel.
uint8_t ChannelValue(const uint8_t* pixel, int channel) {
    if (IsByteChannel(channel)) {
        return pixel[channel];
    }
    HSI_TRIPLE hsi = PixelHsi(pixel);
    return HsiComponent(hsi, channel);
}

void StoreChannelValue(uint8_t* pixel, int channel, uint8_t value) {
    if (IsByteChannel(channel)) {
        pixel[channel] = value;
        return;
    }
    HSI_TRIPLE hsi = PixelHsi(pixel);
    HsiComponent(hsi, channel) = value;
    StorePixelHsi(pixel, hsi);
}

bool IsChannel(int channel) { return IsByteChannel(channel) || IsHsiChannel(channel); }

// The bytes CreateDiffImage compares per pixel: one for type 0, two for type 1,
// three for the others (never more than the pixel holds).
int DiffBytesPerPixel(int type) { return std::min(ImagePixelSize(type), 3); }

// Low 8 bits of the truncated value, whatever its size.
uint8_t WrappedByte(double value) {
    if (!std::isfinite(value)) {
        return 0;
    }
    const double wrapped = std::fmod(std::trunc(value), 256.0);
    return uint8_t(int(wrapped) & 0xFF);
}

}  // namespace

void RescaleImageIntensity(IMAGEDATA image, const uint8_t* table) {
    if (!ImageHasPixels(image) || table == nullptr) {
        return;
    }
    if (image.type == idtGray8) {
        ForEachPixel(image, [table](uint8_t* pixel) { *pixel = table[*pixel]; });
    } else if (image.type == idtBgr24) {
        ForEachPixel(image, [table](uint8_t* pixel) {
            HSI_TRIPLE hsi = PixelHsi(pixel);
            hsi.intensity = table[hsi.intensity];
            StorePixelHsi(pixel, hsi);
        });
    }
}

void RescaleImageChannel(IMAGEDATA image, int channel, const uint8_t* table) {
    if (!ImageHasPixels(image) || table == nullptr || !IsChannel(channel)) {
        return;
    }
    if (image.type != idtBgr24 && image.type != idtBytes3) {
        return;
    }
    ForEachPixel(image, [channel, table](uint8_t* pixel) {
        StoreChannelValue(pixel, channel, table[ChannelValue(pixel, channel)]);
    });
}

void CopyImage(IMAGEDATA destination, IMAGEDATA source) {
    if (!ImageHasPixels(source) || !ImageHasPixels(destination)) {
        return;
    }
    if (destination.type != source.type || !SameSize(destination, source)) {
        return;
    }
    const int pixelSize = ImagePixelSize(source.type);
    const bool packedRows = source.pixelStep == pixelSize && destination.pixelStep == pixelSize;
    for (int y = 0; y < source.height; ++y) {
        if (packedRows) {
            std::memmove(ImagePixel(destination, 0, y), ImagePixel(source, 0, y), size_t(source.width) * pixelSize);
            continue;
        }
        for (int x = 0; x < source.width; ++x) {
            std::memmove(ImagePixel(destination, x, y), ImagePixel(source, x, y), pixelSize);
        }
    }
}

void CopyImage(IMAGEDATA destination, int x, int y, IMAGEDATA source) {
    if (!ImageHasPixels(source) || !ImageHasPixels(destination) || destination.type != source.type) {
        return;
    }
    if (source.type > idtBgr24) {
        return;
    }
    long long sourceX = 0, sourceY = 0;
    long long left = x, top = y;
    if (left < 0) {
        sourceX = -left;
        left = 0;
    }
    if (top < 0) {
        sourceY = -top;
        top = 0;
    }
    const long long width = std::min<long long>(source.width - sourceX, destination.width - left);
    const long long height = std::min<long long>(source.height - sourceY, destination.height - top);
    const int pixelSize = ImagePixelSize(source.type);
    for (long long row = 0; row < height; ++row) {
        for (long long column = 0; column < width; ++column) {
            std::memmove(ImagePixel(destination, int(left + column), int(top + row)),
                         ImagePixel(source, int(sourceX + column), int(sourceY + row)), pixelSize);
        }
    }
}

void ConvertImageToGrayscale(IMAGEDATA source, IMAGEDATA destination) {
    if (!ImageHasPixels(source) || !ImageHasPixels(destination)) {
        return;
    }
    if (source.type != idtBgr24 || destination.type != idtGray8 ||
        !CoversSize(destination, source.width, source.height)) {
        return;
    }
    for (int y = 0; y < source.height; ++y) {
        for (int x = 0; x < source.width; ++x) {
            const uint8_t* pixel = ImagePixel(source, x, y);
            *ImagePixel(destination, x, y) = uint8_t((pixel[0] + pixel[1] + pixel[2]) / 3);
        }
    }
}

bool ExtractImageChannel(IMAGEDATA source, IMAGEDATA destination, int channel, const uint32_t* palette) {
    if (!ImageHasPixels(source) || !ImageHasPixels(destination) || destination.type != idtGray8) {
        return false;
    }
    if (!CoversSize(destination, source.width, source.height)) {
        return false;
    }
    if (source.type == idtGray8) {
        if (palette == nullptr) {
            return false;
        }
        if (!IsByteChannel(channel)) {
            return true;
        }
        const int shift = 16 - 8 * channel;
        for (int y = 0; y < source.height; ++y) {
            for (int x = 0; x < source.width; ++x) {
                *ImagePixel(destination, x, y) = uint8_t(palette[*ImagePixel(source, x, y)] >> shift);
            }
        }
    } else if (source.type == idtBgr24 && IsChannel(channel)) {
        for (int y = 0; y < source.height; ++y) {
            for (int x = 0; x < source.width; ++x) {
                *ImagePixel(destination, x, y) = ChannelValue(ImagePixel(source, x, y), channel);
            }
        }
    }
    return true;
}

bool InsertImageChannel(IMAGEDATA gray, IMAGEDATA colour, int channel, double weight) {
    if (!ImageHasPixels(gray) || !ImageHasPixels(colour) || !SameSize(gray, colour)) {
        return false;
    }
    if (gray.type != idtGray8 || (colour.type != idtBgr24 && colour.type != idtBytes3)) {
        return false;
    }
    if (colour.type != idtBgr24 || !IsChannel(channel)) {
        return true;
    }
    for (int y = 0; y < colour.height; ++y) {
        for (int x = 0; x < colour.width; ++x) {
            uint8_t* pixel = ImagePixel(colour, x, y);
            const double blended = *ImagePixel(gray, x, y) * weight + (1 - weight) * ChannelValue(pixel, channel);
            StoreChannelValue(pixel, channel, ClampToByte(blended));
        }
    }
    return true;
}

bool CreateDiffImage(IMAGEDATA a, IMAGEDATA b, IMAGEDATA out, double scale, int offset) {
    if (!ImageHasPixels(a) || !ImageHasPixels(b) || !ImageHasPixels(out)) {
        return false;
    }
    if (!SameSize(a, b) || !SameSize(a, out) || a.type != b.type || a.type != out.type) {
        return false;
    }
    const int bytes = DiffBytesPerPixel(a.type);
    for (int y = 0; y < a.height; ++y) {
        for (int x = 0; x < a.width; ++x) {
            const uint8_t* first = ImagePixel(a, x, y);
            const uint8_t* second = ImagePixel(b, x, y);
            uint8_t* result = ImagePixel(out, x, y);
            for (int k = 0; k < bytes; ++k) {
                result[k] = WrappedByte((double(first[k]) - double(second[k])) * scale + offset);
            }
        }
    }
    return true;
}

namespace {

// One value of the border band, computed before any is written.
struct BorderValue {
    int x;
    int y;
    int byteIndex;
    int value;
};

// Reads pixel values for CreateImageBorder; coordinates outside the image count 0.
struct BorderSampler {
    IMAGEDATA image;
    bool useIntensity;

    int Value(int x, int y, int byteIndex) const {
        if (x < 0 || y < 0 || x >= image.width || y >= image.height) {
            return 0;
        }
        return PixelValue(ImagePixel(image, x, y), byteIndex, useIntensity);
    }

    // Sum over the rows rowFrom..rowTo (either order) and columns columnFrom..columnTo.
    int Sum(int columnFrom, int columnTo, int rowFrom, int rowTo, int byteIndex) const {
        int sum = 0;
        for (int row = std::min(rowFrom, rowTo); row <= std::max(rowFrom, rowTo); ++row) {
            for (int column = std::min(columnFrom, columnTo); column <= std::max(columnFrom, columnTo); ++column) {
                sum += Value(column, row, byteIndex);
            }
        }
        return sum;
    }
};

void PaintBorderFrame(const IMAGEDATA& image, int frame, int bytes) {
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const bool inFrame = x < frame || y < frame || x >= image.width - frame || y >= image.height - frame;
            if (inFrame) {
                std::memset(ImagePixel(image, x, y), 0, bytes);
            }
        }
    }
}

// The top, bottom, left and right band values of ring j.
void CollectBorderRing(const BorderSampler& sampler, int border, int half, int divisor, int j, int bytes,
                       std::vector<BorderValue>& values) {
    const int width = sampler.image.width;
    const int height = sampler.image.height;
    for (int l = 0; l < bytes; ++l) {
        for (int k = j; k <= width - j - 1; ++k) {
            const int top = sampler.Sum(k - half, k + half, border, j + half, l) / divisor;
            const int bottom = sampler.Sum(k - half, k + half, height - border - 1, height - j - half - 1, l) / divisor;
            values.push_back({k, j, l, top});
            values.push_back({k, height - j - 1, l, bottom});
        }
        for (int k = j + 1; k <= height - j - 2; ++k) {
            const int left = sampler.Sum(border, j + half, k - half, k + half, l) / divisor;
            const int right = sampler.Sum(width - border - 1, width - j - half - 1, k - half, k + half, l) / divisor;
            values.push_back({j, k, l, left});
            values.push_back({width - j - 1, k, l, right});
        }
    }
}

}  // namespace

bool CreateImageBorder(IMAGEDATA image, int border, int size, bool perChannel) {
    if (!ImageHasPixels(image) || (image.type != idtGray8 && image.type != idtBgr24)) {
        return false;
    }
    const int half = size / 2;
    if (size < 1 || border < 0 || (long long)border + half > std::min(image.width, image.height) / 2) {
        return false;
    }
    const bool perByte = image.type == idtGray8 || perChannel;
    const int bytes = (image.type == idtBgr24 && perChannel) ? 3 : 1;
    const int frame = border - half;
    PaintBorderFrame(image, frame, image.type == idtBgr24 ? 3 : 1);

    const BorderSampler sampler{image, !perByte};
    std::vector<BorderValue> values;
    for (int j = std::max(frame, 0); j <= border + half - 1; ++j) {
        CollectBorderRing(sampler, border, half, size * size, j, bytes, values);
    }
    for (const BorderValue& value : values) {
        StorePixelValue(ImagePixel(image, value.x, value.y), value.byteIndex, !perByte,
                        uint8_t(std::min(value.value, 255)));
    }
    return true;
}

void ThresholdImage(IMAGEDATA image, uint8_t threshold, uint8_t low, uint8_t high, bool perChannel) {
    if (!ImageHasPixels(image) || image.type == idtRgb565) {
        return;
    }
    if (image.type == idtBgr24 && !perChannel) {
        ForEachPixel(image, [=](uint8_t* pixel) {
            const uint8_t value = (pixel[0] + pixel[1] + pixel[2]) / 3 >= threshold ? high : low;
            std::memset(pixel, value, 3);
        });
        return;
    }
    const int bytes = (image.type == idtGray8 || image.type == idtBytes3) ? 1 : 3;
    ForEachPixel(image, [=](uint8_t* pixel) {
        // Later bytes follow the first byte as already rewritten.
        for (int k = 0; k < bytes; ++k) {
            pixel[k] = pixel[0] < threshold ? low : high;
        }
    });
}

void FillImageArea(IMAGEDATA image, int x1, int y1, int x2, int y2, int colour) {
    if (!ImageHasPixels(image) || (image.type != idtGray8 && image.type != idtBgr24)) {
        return;
    }
    const int left = std::max(std::min(x1, x2), 0);
    const int right = std::min(std::max(x1, x2), image.width - 1);
    const int top = std::max(std::min(y1, y2), 0);
    const int bottom = std::min(std::max(y1, y2), image.height - 1);
    const uint8_t red = uint8_t(colour), green = uint8_t(colour >> 8), blue = uint8_t(colour >> 16);
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            uint8_t* pixel = ImagePixel(image, x, y);
            pixel[0] = image.type == idtGray8 ? red : blue;
            if (image.type == idtBgr24) {
                pixel[1] = green;
                pixel[2] = red;
            }
        }
    }
}
