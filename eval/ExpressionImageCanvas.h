// Small image helpers of the formula typesetter: blank images, views, pasting and the ink setter.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "ExpressionImageProps.h"
#include "ImageBuffer.h"
#include "SetIDPixel.h"

// Pixel format of every image the typesetter makes: blue, green, red bytes.
constexpr int kFormulaPixelFormat = 2;

// The largest image the typesetter makes: at most kMaxFormulaWidth by
// kMaxFormulaHeight pixels and kMaxFormulaPixels in all. Formulas at the
// sizes character tables come in stay far below; a font size or ratio out of
// all proportion (a stored record's, say), whose raise of an exponent alone
// would ask for millions of rows, gets no buffer of gigabytes, and the
// parentheses and strokes, whose work grows with the square of the height,
// stay quick.
constexpr int64_t kMaxFormulaWidth = 32767;
constexpr int64_t kMaxFormulaHeight = 4096;
constexpr int64_t kMaxFormulaPixels = int64_t(1) << 24;

// out becomes a width x height image of the formula format painted with
// colour. Negative sizes count as 0; a size past the limits above or a
// buffer too large to allocate gives 0 x 0 and false. A zero side keeps the
// other one (an empty text still has its height).
bool CreateBlankImage(TImageBuffer& out, int64_t width, int64_t height, TColor colour);

// out becomes the pieces side by side on colour, each centred vertically:
// as wide as their widths together, as high as the highest.
void JoinSideBySide(TImageBuffer& out, std::initializer_list<const TImageBuffer*> pieces, TColor colour);

// The view of an image; width and height 0 when it holds no pixels.
IMAGEDATA ViewOf(const TImageBuffer& image);

// Copies source with its top-left at (x, y) of destination, clipped at every
// edge; nothing for an empty source or destination.
void PasteImage(TImageBuffer& destination, int x, int y, const TImageBuffer& source);

// Offset that centres inner in outer (may be negative), truncated toward zero.
inline int CentredOffset(int outer, int inner) { return (outer - inner) / 2; }

// A setter over the image in the given colour, scale 1, no offset.
TSetIDPixel InkSetter(TImageBuffer& image, TColor colour);

// Exchanges the contents of two images.
void SwapImages(TImageBuffer& a, TImageBuffer& b);

// size x ratio truncated toward zero; 0 for a ratio or product that is not a
// finite number in the int range.
int ScaledSize(int size, double ratio);
