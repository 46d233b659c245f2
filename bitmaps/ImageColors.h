// Image operations on IMAGEDATA views: copying, grey and channel work,
// difference images, borders, thresholds, block reduction, thinning, fills,
// offsets, spins, rotation, mirroring, scaling and pattern search.
//
// Every operation takes its views by value and touches only the pixels they
// address. A view with no data, an unknown type or no pixels makes an
// operation do nothing (false where it returns a result). Real results are
// truncated toward zero; results stored into a byte are clamped to 0-255
// unless an operation says otherwise.
#pragma once

#include "ImageData.h"

#include <cstdint>
#include <vector>

// Channel numbers: 0-2 are the bytes of a three-byte pixel in memory order
// (blue, green, red for type 2); the others are HSI components.
enum TImageChannel : int {
    icByte0 = 0,
    icByte1 = 1,
    icByte2 = 2,
    icIntensity = 128,
    icSaturation = 129,
    icHue = 130,
};

// Channel mask bits of the spin and mirror operations: red, green, blue are
// used with the RGB flag set, hue, saturation, intensity with it clear.
enum TImageChannelMask : int {
    cmRed = 1,
    cmGreen = 2,
    cmBlue = 4,
    cmHue = 8,
    cmSaturation = 16,
    cmIntensity = 32,
};

enum TResoluteImageMode : int { rimMean = 0, rimMinimum = 1, rimMedian = 2, rimMaximum = 3 };

enum TImageScale : int { isQuarter = 0, isHalf = 1, isUnchanged = 2, isDouble = 3, isFourTimes = 4 };

// A set of bits: mtTopToBottom exchanges rows, mtLeftToRight exchanges columns.
typedef int TMirrorType;
const TMirrorType mtTopToBottom = 1;
const TMirrorType mtLeftToRight = 2;

// One hit of PatternMatch: score 0 is perfect; x and y are full-resolution
// pixels of the searched image.
struct PATTERN_MATCH_ITEM {
    double score = 0;
    double angle = 0;
    int32_t x = 0;
    int32_t y = 0;
};

// Type 0: each pixel = table[pixel]; type 2: each intensity = table[intensity].
// Other types and a null table: nothing.
void RescaleImageIntensity(IMAGEDATA image, const uint8_t* table);

// Types 2 and 3: channel 0-2 byte = table[byte]; 128-130 that HSI component.
// Other types, channels and a null table: nothing.
void RescaleImageChannel(IMAGEDATA image, int channel, const uint8_t* table);

// Nothing unless type, width and height are equal.
void CopyImage(IMAGEDATA destination, IMAGEDATA source);

// Copies source with its top-left at (x, y) of destination, clipped on every
// side. Nothing when the types differ or the type is not 0, 1 or 2.
void CopyImage(IMAGEDATA destination, int x, int y, IMAGEDATA source);

// Type-2 source into a type-0 destination at least as large:
// (blue + green + red) / 3. Anything else: nothing.
void ConvertImageToGrayscale(IMAGEDATA source, IMAGEDATA destination);

// A grey image of one channel into a type-0 destination at least as large as
// source. A type-0 source looks its values up in palette (256 entries
// 0x00RRGGBB; channel 0 is red). False when the destination is not type 0, is
// too small, or a type-0 source comes without palette; other source types and
// channels leave the destination unchanged and give true.
bool ExtractImageChannel(IMAGEDATA source, IMAGEDATA destination, int channel, const uint32_t* palette);

// Blends gray (type 0) into one channel of colour (type 2 or 3) of the same
// size: value = gray * weight + (1 - weight) * value. Only a type-2 colour is
// changed. False on a size or type mismatch.
bool InsertImageChannel(IMAGEDATA gray, IMAGEDATA colour, int channel, double weight);

// out = (a - b) * scale + offset for each byte (one for type 0, two for type 1,
// three otherwise), stored as its low 8 bits. False unless all three views
// have equal width, height and a common known type.
bool CreateDiffImage(IMAGEDATA a, IMAGEDATA b, IMAGEDATA out, double scale, int offset);

// Types 0 and 2: a black frame of border - size / 2 pixels and a band fading
// into it. False for other types, size < 1, a negative border, or a band that
// does not fit inside the image (border + size / 2 more than half the smaller
// side).
bool CreateImageBorder(IMAGEDATA image, int border, int size, bool perChannel);

// Two-level image. Type 2 without perChannel compares the mean of the three
// bytes; otherwise each byte in turn is decided by the pixel's first byte as
// already rewritten. Type 1 and unknown types: nothing.
void ThresholdImage(IMAGEDATA image, uint8_t threshold, uint8_t low, uint8_t high, bool perChannel);

// In place: every blockWidth x blockHeight block takes one value by mode. False
// for blocks smaller than 1 x 1 or an unknown mode.
bool ResoluteImage(IMAGEDATA image, int blockWidth, int blockHeight, int mode, bool perChannel);

// One destination pixel per source block. False when the types differ, for
// blocks smaller than 1 x 1 or an unknown mode, or when the destination is
// smaller than ceil(width / blockWidth) x ceil(height / blockHeight).
bool ResoluteImage(IMAGEDATA source, IMAGEDATA destination, int blockWidth, int blockHeight, int mode,
                   bool perChannel);

// Type 0 only: a pixel becomes 255 when at least threshold of its 8 neighbours
// inside the image are 255, else 0. 1 when done, 0 when refused.
int ThinImage(IMAGEDATA image, int threshold);

// Fills the rectangle, both corners included, in either order, clipped. Types
// 0 (low byte) and 2 (blue, green, red of 0x00BBGGRR); others unchanged.
void FillImageArea(IMAGEDATA image, int x1, int y1, int x2, int y2, int colour);

// Moves the content by (dx, dy) and fills the uncovered strips with colour.
// Nothing when both are 0 or when |dx| > width or |dy| > height.
void OffsetImage(IMAGEDATA image, int dx, int dy, int colour);

// Rotates rows circularly by n pixels to the right (n modulo the width).
// Types 0 and 2; nothing for n = 0.
void HorzSpinImage(IMAGEDATA image, int n, bool rgb, int mask);

// Rotates columns circularly by n pixels downward.
void VertSpinImage(IMAGEDATA image, int n, bool rgb, int mask);

// The horizontal spin by dx, then the vertical by dy.
void SpinImage(IMAGEDATA image, int dx, int dy, bool rgb, int mask);

// Rotated resampling of source into the region (x1, y1)-(x2, y2) of
// destination; -1 stands for the first or last row or column. Nothing when
// the types differ. The region is clipped to the destination.
void RotateImage(IMAGEDATA destination, IMAGEDATA source, double angle, int x1, int y1, int x2, int y2);

// Mirrors in place. Types 0 and 2; a colour image with an empty mask: nothing.
void MirrorImage(IMAGEDATA image, TMirrorType mirror, bool rgb, int mask);

// Scales by numerator / denominator, sampling every denominator-th pixel into
// a numerator x numerator block. Nothing when the types differ, for a ratio
// part below 1, or when the destination is smaller than the scaled source.
void ScaleImage(IMAGEDATA destination, IMAGEDATA source, int numerator, int denominator);

// Fixed ratios 1/4, 1/2, 1/1, 2/1, 4/1; other values: nothing.
void ScaleImage(IMAGEDATA destination, IMAGEDATA source, TImageScale scale);

// Ranked search of pattern in image over `angles` rotations from angle0 by
// angleStep, on images reduced by blockWidth x blockHeight blocks. limit > 0
// keeps at most trunc(limit) best hits; limit < 0 keeps hits scoring below
// |limit|. Results come in ascending order of score. Pattern pixels whose
// first byte is 0 are ignored; a pattern of such pixels only scores 1. Nothing
// is found for blocks smaller than 1 x 1, angles < 1 or a pattern larger than
// the image.
void PatternMatch(IMAGEDATA image, IMAGEDATA pattern, float limit, std::vector<PATTERN_MATCH_ITEM>& results,
                  int blockWidth, int blockHeight, double angle0, double angleStep, int angles);
