// The 32-bit buffer bitmap that the charts and the statistics views draw
// into: sizing it to the control, the view to draw through, the copy to the
// control's canvas, coordinates worked out in 64 bits and number texts.
#pragma once

#include <cstdint>
#include <string>

#include "GraphicControl.h"
#include "GraphicsBitmap.h"
#include "ImageData.h"

// The buffer takes the given size, 32 bits per pixel.
void SizeViewBuffer(TBitmap& buffer, int width, int height);

// The first step of a picture: the buffer is sized again when its size or
// format differs; false while it has no area, else the view of it (see
// PrepareImageData in BufferImageData.h).
bool BeginBufferPaint(TBitmap& buffer, int width, int height, IMAGEDATA& view);

// Copies the buffer to the control's canvas at (0, 0). Nothing while the
// control's parent has no window.
void DrawViewBuffer(TGraphicControl& control, TBitmap& buffer);

// A coordinate worked out in 64 bits (gaps and sizes may be any int), for
// the int-based drawing; what is clamped lies far outside any buffer.
int ViewCoordinate(int64_t value);

// A number written by a printf format taking one double, whatever its length.
std::string ViewNumberText(const char* format, double number);
