// Layout steps of the formula typesetter: operators, fractions, exponents, functions, roots and parentheses.
#pragma once

#include "CHRTableCache.h"
#include "ExpressionImageProps.h"
#include "ImageBuffer.h"

// Every step paints a new 24-bit image in props.BkColor, draws bars, strokes
// and arcs in props.TextColor and replaces out with it. Operand images may be
// 0 x 0; out must not be one of the operands. Pieces set side by side are
// centred vertically, offsets truncated toward zero.

// Rows or columns of a bar, stroke or arc for a piece of that height: max(1, height / 32).
int LineThickness(int height);

// Operator op between its operands: "^" an exponent, "/" a fraction, any
// other the operator's text between them.
void CreateBinaryImage(int op, TImageBuffer& out, const TImageBuffer& left, const TImageBuffer& right,
                       const TExpressionImageProps& props, TCHRTableCache& cache);

// Numerator over a bar of LineThickness(both heights) rows over the
// denominator, both centred in the widest plus 8 pixels.
void CreateFractionImage(TImageBuffer& out, const TImageBuffer& numerator, const TImageBuffer& denominator,
                         const TExpressionImageProps& props);

// The base bottom-aligned, the exponent top-aligned after it, raised by
// trunc(props.FontSize x 0.4) pixels when it is tall enough to reach down.
void CreateExponentImage(TImageBuffer& out, const TImageBuffer& base, const TImageBuffer& exponent,
                         const TExpressionImageProps& props);

// Simple function f of its argument images: "sqrt" a radical with a degree 2
// at half size, "root" a radical with degree right, "pow" an exponent, any
// other its name followed by the arguments in parentheses.
void CreateFunctionImage(int f, TImageBuffer& out, const TImageBuffer& left, const TImageBuffer& right,
                         const TExpressionImageProps& props, TCHRTableCache& cache);

// The arguments in parentheses, joined by "," when the second is wider than 0.
void CreateArgumentsImage(TImageBuffer& out, const TImageBuffer& first, const TImageBuffer& second,
                          const TExpressionImageProps& props, TCHRTableCache& cache);

// A radical sign with the degree at its top left and the radicand under its bar.
void CreateRootImage(TImageBuffer& out, const TImageBuffer& radicand, const TImageBuffer& degree,
                     const TExpressionImageProps& props);

// Widens image by height / 7 on each side and draws an arc there on each
// side; the height stays.
void AddParentheses(TImageBuffer& image, const TExpressionImageProps& props);

// Centre and radius of the circle through three points; false when they are
// (nearly) collinear.
bool CircleThroughPoints(double x1, double y1, double x2, double y2, double x3, double y3, double& cx, double& cy,
                         double& r);
