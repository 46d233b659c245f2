// Image operations that move pixels: offsetting, circular spins, rotation,
// mirroring and scaling by fixed ratios.
#include "ImageColors.h"

#include "ImagePixelAccess.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

using namespace image_pixel_access;

void OffsetImage(IMAGEDATA image, int dx, int dy, int colour) {
    if (!ImageHasPixels(image) || (dx == 0 && dy == 0)) {
        return;
    }
    if (std::abs((long long)dx) > image.width || std::abs((long long)dy) > image.height) {
        return;
    }
    const int bytes = ImagePixelSize(image.type);
    // Walk from the far side so that no source is overwritten before it is read.
    const int xFirst = dx > 0 ? image.width - 1 : 0, xStep = dx > 0 ? -1 : 1;
    const int yFirst = dy > 0 ? image.height - 1 : 0, yStep = dy > 0 ? -1 : 1;
    for (int row = 0, y = yFirst; row < image.height; ++row, y += yStep) {
        for (int column = 0, x = xFirst; column < image.width; ++column, x += xStep) {
            const int sourceX = x - dx, sourceY = y - dy;
            if (sourceX >= 0 && sourceY >= 0 && sourceX < image.width && sourceY < image.height) {
                std::memmove(ImagePixel(image, x, y), ImagePixel(image, sourceX, sourceY), bytes);
            }
        }
    }
    if (dx < 0) {
        FillImageArea(image, image.width + dx, 0, image.width - 1, image.height - 1, colour);
    } else if (dx > 0) {
        FillImageArea(image, 0, 0, dx - 1, image.height - 1, colour);
    }
    if (dy < 0) {
        FillImageArea(image, 0, image.height + dy, image.width - 1, image.height - 1, colour);
    } else if (dy > 0) {
        FillImageArea(image, 0, 0, image.width - 1, dy - 1, colour);
    }
}

namespace {

// The view with rows and columns exchanged, so a row spin moves pixels down.
IMAGEDATA TransposedView(IMAGEDATA image) {
    std::swap(image.width, image.height);
    std::swap(image.pixelStep, image.lineStep);
    return image;
}

// Rotates byte `byteIndex` of every row by n places to the right.
void SpinRowsOfByte(const IMAGEDATA& image, int n, int byteIndex) {
    const int shift = int(((long long)n % image.width + image.width) % image.width);
    if (shift == 0) {
        return;
    }
    std::vector<uint8_t> row(image.width);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            row[(x + shift) % image.width] = ImagePixel(image, x, y)[byteIndex];
        }
        for (int x = 0; x < image.width; ++x) {
            ImagePixel(image, x, y)[byteIndex] = row[x];
        }
    }
}

// Byte positions in a type-2 pixel selected by the red, green, blue mask bits.
std::vector<int> SelectedRgbBytes(int mask) {
    std::vector<int> bytes;
    if (mask & cmBlue) bytes.push_back(0);
    if (mask & cmGreen) bytes.push_back(1);
    if (mask & cmRed) bytes.push_back(2);
    return bytes;
}

// Byte positions in an HSI work pixel (intensity, saturation, hue) selected by
// the hue, saturation, intensity mask bits.
std::vector<int> SelectedHsiBytes(int mask) {
    std::vector<int> bytes;
    if (mask & cmIntensity) bytes.push_back(0);
    if (mask & cmSaturation) bytes.push_back(1);
    if (mask & cmHue) bytes.push_back(2);
    return bytes;
}

// A type-2 image as three bytes a pixel: intensity, saturation, hue.
struct HsiWorkImage {
    std::vector<uint8_t> pixels;
    IMAGEDATA view;

    explicit HsiWorkImage(const IMAGEDATA& image) : pixels(size_t(image.width) * image.height * 3) {
        view = MakeImageData(pixels.data(), idtBytes3, image.width, image.height);
        for (int y = 0; y < image.height; ++y) {
            for (int x = 0; x < image.width; ++x) {
                const HSI_TRIPLE hsi = PixelHsi(ImagePixel(image, x, y));
                uint8_t* work = ImagePixel(view, x, y);
                work[0] = hsi.intensity;
                work[1] = hsi.saturation;
                work[2] = hsi.hue;
            }
        }
    }

    void StoreInto(const IMAGEDATA& image) const {
        for (int y = 0; y < image.height; ++y) {
            for (int x = 0; x < image.width; ++x) {
                const uint8_t* work = ImagePixel(view, x, y);
                HSI_TRIPLE hsi;
                hsi.intensity = work[0];
                hsi.saturation = work[1];
                hsi.hue = work[2];
                StorePixelHsi(ImagePixel(image, x, y), hsi);
            }
        }
    }
};

void SpinBytes(const IMAGEDATA& image, int dx, int dy, const std::vector<int>& bytes) {
    for (int byteIndex : bytes) {
        if (dx != 0) {
            SpinRowsOfByte(image, dx, byteIndex);
        }
        if (dy != 0) {
            SpinRowsOfByte(TransposedView(image), dy, byteIndex);
        }
    }
}

}  // namespace

void SpinImage(IMAGEDATA image, int dx, int dy, bool rgb, int mask) {
    if (!ImageHasPixels(image) || (dx == 0 && dy == 0)) {
        return;
    }
    if (image.type == idtGray8) {
        SpinBytes(image, dx, dy, {0});
    } else if (image.type == idtBgr24 && rgb) {
        SpinBytes(image, dx, dy, SelectedRgbBytes(mask));
    } else if (image.type == idtBgr24) {
        HsiWorkImage work(image);
        SpinBytes(work.view, dx, dy, SelectedHsiBytes(mask));
        work.StoreInto(image);
    }
}

void HorzSpinImage(IMAGEDATA image, int n, bool rgb, int mask) { SpinImage(image, n, 0, rgb, mask); }

void VertSpinImage(IMAGEDATA image, int n, bool rgb, int mask) { SpinImage(image, 0, n, rgb, mask); }

namespace {

// The value of byte `byteIndex` at a non-integral source position: the four
// neighbours weighted by the inverse of their squared distance.
uint8_t SampleWeighted(const IMAGEDATA& source, double sx, double sy, int byteIndex) {
    const int ix = int(sx), iy = int(sy);
    const int cornersX[4] = {ix, ix + 1, ix + 1, ix};
    const int cornersY[4] = {iy, iy, iy + 1, iy + 1};
    double distances[4];
    double distanceSum = 0;
    for (int i = 0; i < 4; ++i) {
        distances[i] = (sx - cornersX[i]) * (sx - cornersX[i]) + (sy - cornersY[i]) * (sy - cornersY[i]);
        distanceSum += distances[i];
    }
    double weights[4];
    double weightSum = 0;
    for (int i = 0; i < 4; ++i) {
        weights[i] = distanceSum / distances[i];
        weightSum += weights[i];
    }
    double value = 0;
    for (int i = 0; i < 4; ++i) {
        value += weights[i] / weightSum * ImagePixel(source, cornersX[i], cornersY[i])[byteIndex];
    }
    return ClampToByte(value);
}

// Samples source at (sx, sy), inside 0 <= sx < width - 1, 0 <= sy < height - 1.
// 16-bit pixels, whose bytes are not separate values, take the nearest pixel.
void SamplePixel(const IMAGEDATA& source, double sx, double sy, uint8_t* target) {
    const int pixelSize = ImagePixelSize(source.type);
    const bool integral = sx == std::floor(sx) && sy == std::floor(sy);
    if (integral || source.type == idtRgb565) {
        std::memcpy(target, ImagePixel(source, int(sx), int(sy)), pixelSize);
        return;
    }
    for (int k = 0; k < pixelSize; ++k) {
        target[k] = SampleWeighted(source, sx, sy, k);
    }
}

struct Region {
    int left, top, right, bottom;
};

Region ResolvedRegion(const IMAGEDATA& destination, int x1, int y1, int x2, int y2) {
    Region region{x1 == -1 ? 0 : x1, y1 == -1 ? 0 : y1, x2 == -1 ? destination.width - 1 : x2,
                  y2 == -1 ? destination.height - 1 : y2};
    region.left = std::max(region.left, 0);
    region.top = std::max(region.top, 0);
    region.right = std::min(region.right, destination.width - 1);
    region.bottom = std::min(region.bottom, destination.height - 1);
    return region;
}

// Angle 0: the source copied, centred, into the region of a destination at
// least as large; the part outside the region is cut off.
void CopyCentred(const IMAGEDATA& destination, IMAGEDATA source, const Region& region) {
    if (destination.width < source.width || destination.height < source.height) {
        return;
    }
    const int left = (destination.width - source.width) / 2 + region.left;
    const int top = (destination.height - source.height) / 2 + region.top;
    const int width = std::min({source.width, region.right + 1 - left, destination.width - left});
    const int height = std::min({source.height, region.bottom + 1 - top, destination.height - top});
    if (width <= 0 || height <= 0) {
        return;
    }
    IMAGEDATA target = destination;
    target.data = ImagePixel(destination, left, top);
    target.width = source.width = width;
    target.height = source.height = height;
    CopyImage(target, source);
}

}  // namespace

void RotateImage(IMAGEDATA destination, IMAGEDATA source, double angle, int x1, int y1, int x2, int y2) {
    if (!ImageHasPixels(destination) || !ImageHasPixels(source) || destination.type != source.type) {
        return;
    }
    const Region region = ResolvedRegion(destination, x1, y1, x2, y2);
    if (std::fabs(angle) == 0) {
        CopyCentred(destination, source, region);
        return;
    }
    const double c = std::cos(-angle), s = std::sin(-angle);
    const int halfDestinationWidth = destination.width / 2, halfDestinationHeight = destination.height / 2;
    const int halfSourceWidth = source.width / 2, halfSourceHeight = source.height / 2;
    for (int y = region.top; y <= region.bottom; ++y) {
        for (int x = region.left; x <= region.right; ++x) {
            const double fromCentreX = x - halfDestinationWidth, fromCentreY = y - halfDestinationHeight;
            const double sx = fromCentreX * c + halfSourceWidth - fromCentreY * s;
            const double sy = fromCentreY * c + fromCentreX * s + halfSourceHeight;
            if (sx >= 0 && sx < source.width - 1 && sy >= 0 && sy < source.height - 1) {
                SamplePixel(source, sx, sy, ImagePixel(destination, x, y));
            }
        }
    }
}

namespace {

// Exchanges the selected parts of two pixels of a mirrored pair.
void ExchangePixels(const IMAGEDATA& image, uint8_t* first, uint8_t* second, bool rgb, int mask) {
    if (image.type == idtGray8) {
        std::swap(*first, *second);
    } else if (rgb) {
        for (int byteIndex : SelectedRgbBytes(mask)) {
            std::swap(first[byteIndex], second[byteIndex]);
        }
    } else {
        HSI_TRIPLE a = PixelHsi(first), b = PixelHsi(second);
        if (mask & cmHue) std::swap(a.hue, b.hue);
        if (mask & cmSaturation) std::swap(a.saturation, b.saturation);
        if (mask & cmIntensity) std::swap(a.intensity, b.intensity);
        StorePixelHsi(first, a);
        StorePixelHsi(second, b);
    }
}

void MirrorRows(const IMAGEDATA& image, bool rgb, int mask) {
    for (int y = 0; y < image.height / 2; ++y) {
        for (int x = 0; x < image.width; ++x) {
            ExchangePixels(image, ImagePixel(image, x, y), ImagePixel(image, x, image.height - 1 - y), rgb, mask);
        }
    }
}

}  // namespace

void MirrorImage(IMAGEDATA image, TMirrorType mirror, bool rgb, int mask) {
    if (!ImageHasPixels(image) || (image.type != idtGray8 && image.type != idtBgr24)) {
        return;
    }
    const int relevantBits = rgb ? (cmRed | cmGreen | cmBlue) : (cmHue | cmSaturation | cmIntensity);
    if (image.type == idtBgr24 && (mask & relevantBits) == 0) {
        return;
    }
    if (mirror & mtTopToBottom) {
        MirrorRows(image, rgb, mask);
    }
    if (mirror & mtLeftToRight) {
        MirrorRows(TransposedView(image), rgb, mask);
    }
}

void ScaleImage(IMAGEDATA destination, IMAGEDATA source, int numerator, int denominator) {
    if (!ImageHasPixels(destination) || !ImageHasPixels(source) || destination.type != source.type) {
        return;
    }
    if (numerator < 1 || denominator < 1) {
        return;
    }
    if (numerator == 1 && denominator == 1) {
        CopyImage(destination, source);
        return;
    }
    const long long sampledColumns = (source.width + (long long)denominator - 1) / denominator;
    const long long sampledRows = (source.height + (long long)denominator - 1) / denominator;
    if (!CoversSize(destination, sampledColumns * numerator, sampledRows * numerator)) {
        return;
    }
    const int pixelSize = ImagePixelSize(source.type);
    for (long long row = 0; row < sampledRows; ++row) {
        for (long long column = 0; column < sampledColumns; ++column) {
            const uint8_t* pixel = ImagePixel(source, int(column * denominator), int(row * denominator));
            for (int blockY = 0; blockY < numerator; ++blockY) {
                for (int blockX = 0; blockX < numerator; ++blockX) {
                    std::memcpy(ImagePixel(destination, int(column * numerator + blockX), int(row * numerator + blockY)),
                                pixel, pixelSize);
                }
            }
        }
    }
}

void ScaleImage(IMAGEDATA destination, IMAGEDATA source, TImageScale scale) {
    static const int kRatios[][2] = {{1, 4}, {1, 2}, {1, 1}, {2, 1}, {4, 1}};
    if (scale < isQuarter || scale > isFourTimes) {
        return;
    }
    ScaleImage(destination, source, kRatios[scale][0], kRatios[scale][1]);
}
