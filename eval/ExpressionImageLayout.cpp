// Layout steps of the formula typesetter: operators, fractions, exponents, functions, roots and parentheses.
#include "ExpressionImageLayout.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <string>

#include "BinaryOperators.h"
#include "ExpressionImageCanvas.h"
#include "ExpressionModel.h"
#include "RasterDrawing.h"

namespace {

// Lines of the typesetter: 16 fraction bits, last point drawn, no gap filling.
void DrawLine(const TSetIDPixel& setter, int x1, int y1, int x2, int y2) {
    DrawIDLine(x1, y1, x2, y2, setter, true, true, false, 16);
}

int ThicknessOf(int64_t height) { return int(std::max<int64_t>(1, height / 32)); }

// Centre and radius as ints, or false when they lie outside the range a
// circle can be drawn in.
bool TruncatedCircle(double cx, double cy, double r, int& x, int& y, int& radius) {
    const double limit = INT_MAX / 4;
    if (!(std::fabs(cx) < limit && std::fabs(cy) < limit && std::fabs(r) < limit)) {
        return false;
    }
    x = int(cx);
    y = int(cy);
    radius = int(r);
    return true;
}

// One parenthesis: the circle through the three points, drawn `thickness`
// times with its centre moved one more pixel by `step` each time, clipped.
void DrawParenthesisArc(const TSetIDPixel& setter, const double (&points)[6], int thickness, int step,
                        const TIDCircleClip& clip) {
    double cx, cy, r;
    int x, y, radius;
    if (!CircleThroughPoints(points[0], points[1], points[2], points[3], points[4], points[5], cx, cy, r) ||
        !TruncatedCircle(cx, cy, r, x, y, radius)) {
        return;
    }
    for (int i = 0; i < thickness; ++i) {
        DrawIDCircle(x + i * step, y, radius, clip, setter);
    }
}

}  // namespace

int LineThickness(int height) { return ThicknessOf(height); }

void CreateBinaryImage(int op, TImageBuffer& out, const TImageBuffer& left, const TImageBuffer& right,
                       const TExpressionImageProps& props, TCHRTableCache& cache) {
    const TString text = GetOperatorString(op);
    if (text.str() == "^") {
        CreateExponentImage(out, left, right, props);
    } else if (text.str() == "/") {
        CreateFractionImage(out, left, right, props);
    } else {
        TImageBuffer symbol;
        CreateTextImage(text.c_str(), symbol, props, cache);
        JoinSideBySide(out, {&left, &symbol, &right}, props.BkColor);
    }
}

void CreateFractionImage(TImageBuffer& out, const TImageBuffer& numerator, const TImageBuffer& denominator,
                         const TExpressionImageProps& props) {
    const int thickness = ThicknessOf(int64_t(numerator.Height) + denominator.Height);
    const int64_t width = int64_t(std::max(numerator.Width, denominator.Width)) + 8;
    const int64_t height = int64_t(numerator.Height) + thickness + denominator.Height;
    if (!CreateBlankImage(out, width, height, props.BkColor)) {
        return;
    }
    PasteImage(out, CentredOffset(out.Width, numerator.Width), 0, numerator);
    PasteImage(out, CentredOffset(out.Width, denominator.Width), numerator.Height + thickness, denominator);
    const TSetIDPixel ink = InkSetter(out, props.TextColor);
    for (int i = 0; i < thickness; ++i) {
        DrawLine(ink, 0, numerator.Height + i, out.Width - 1, numerator.Height + i);
    }
}

void CreateExponentImage(TImageBuffer& out, const TImageBuffer& base, const TImageBuffer& exponent,
                         const TExpressionImageProps& props) {
    const int raise = ScaledSize(props.FontSize, 0.4);
    const int64_t height = std::max<int64_t>(base.Height, int64_t(exponent.Height) + raise);
    const int64_t width = int64_t(base.Width) + exponent.Width;
    if (!CreateBlankImage(out, width, height, props.BkColor)) {
        return;
    }
    PasteImage(out, 0, out.Height - base.Height, base);
    PasteImage(out, base.Width, 0, exponent);
}

void CreateFunctionImage(int f, TImageBuffer& out, const TImageBuffer& left, const TImageBuffer& right,
                         const TExpressionImageProps& props, TCHRTableCache& cache) {
    const TString name = GetFunctionString(f);
    if (name.str() == "sqrt") {
        TExpressionImageProps half = props;
        half.FontSize = ScaledSize(props.FontSize, 0.5);
        TImageBuffer degree;
        CreateTextImage("2", degree, half, cache);
        CreateRootImage(out, left, degree, props);
    } else if (name.str() == "root") {
        CreateRootImage(out, left, right, props);
    } else if (name.str() == "pow") {
        CreateBinaryImage(opPower, out, left, right, props, cache);
    } else {
        TImageBuffer arguments, nameImage;
        CreateArgumentsImage(arguments, left, right, props, cache);
        CreateTextImage(name.c_str(), nameImage, props, cache);
        JoinSideBySide(out, {&nameImage, &arguments}, props.BkColor);
    }
}

void CreateArgumentsImage(TImageBuffer& out, const TImageBuffer& first, const TImageBuffer& second,
                          const TExpressionImageProps& props, TCHRTableCache& cache) {
    if (second.Width > 0) {
        TImageBuffer comma;
        CreateTextImage(",", comma, props, cache);
        JoinSideBySide(out, {&first, &comma, &second}, props.BkColor);
    } else {
        out.Assign(first);
    }
    AddParentheses(out, props);
}

void CreateRootImage(TImageBuffer& out, const TImageBuffer& radicand, const TImageBuffer& degree,
                     const TExpressionImageProps& props) {
    const int stemWidth = std::max(ScaledSize(radicand.Width, 0.2), 6);
    const int tickWidth = ScaledSize(stemWidth, 0.5);
    const int overhang = ScaledSize(radicand.Width, 0.1);
    const int gap = ScaledSize(radicand.Height, 0.05);
    const int thickness = LineThickness(radicand.Height);
    const int64_t x0 = int64_t(degree.Width) - tickWidth;
    const int64_t width = x0 + stemWidth + radicand.Width + overhang;
    const int64_t height = int64_t(radicand.Height) + thickness + 2 * int64_t(gap);
    if (!CreateBlankImage(out, width, height, props.BkColor)) {
        return;
    }
    // The tick runs down from under the degree, the stem up to the bar.
    const int tickX = int(x0), bottom = out.Height - 1, stemTopX = tickX + stemWidth - 1;
    const TSetIDPixel ink = InkSetter(out, props.TextColor);
    for (int i = 0; i < thickness; ++i) {
        DrawLine(ink, tickX, degree.Height - i, tickX + tickWidth, bottom - i);
        DrawLine(ink, tickX + tickWidth, bottom - i, stemTopX, i);
        DrawLine(ink, stemTopX, i, out.Width - 1, i);
    }
    PasteImage(out, 0, 0, degree);
    PasteImage(out, tickX + stemWidth, thickness + gap, radicand);
}

void AddParentheses(TImageBuffer& image, const TExpressionImageProps& props) {
    const int height = image.Height;
    const int side = height / 7;
    const int thickness = LineThickness(height);
    TImageBuffer framed;
    if (!CreateBlankImage(framed, int64_t(image.Width) + 2 * int64_t(side), height, props.BkColor)) {
        SwapImages(image, framed);
        return;
    }
    PasteImage(framed, side, 0, image);
    const int width = framed.Width;
    const TSetIDPixel ink = InkSetter(framed, props.TextColor);
    const double leftPoints[6] = {0, double(height / 2), double(side - 1), 0, double(side), double(height)};
    DrawParenthesisArc(ink, leftPoints, thickness, 1, TIDCircleClip{0, side + thickness, 0, height});
    const double rightPoints[6] = {double(width - side), 0, double(width - 1), double(height / 2),
                                   double(width - side), double(height - 1)};
    DrawParenthesisArc(ink, rightPoints, thickness, -1,
                       TIDCircleClip{width - side - thickness, width - 1, 0, height});
    SwapImages(image, framed);
}

bool CircleThroughPoints(double x1, double y1, double x2, double y2, double x3, double y3, double& cx, double& cy,
                         double& r) {
    const double d1 = 2 * ((x3 - x2) * y1 + (x1 - x3) * y2 + (x2 - x1) * y3);
    const double d2 = 2 * ((y3 - y2) * x1 + (y1 - y3) * x2 + (y2 - y1) * x3);
    if (std::fabs(d1) < 1e-15 || std::fabs(d2) < 1e-15) {
        return false;
    }
    const double s1 = x1 * x1 + y1 * y1, s2 = x2 * x2 + y2 * y2, s3 = x3 * x3 + y3 * y3;
    cy = (s1 * (x3 - x2) + s2 * (x1 - x3) + s3 * (x2 - x1)) / d1;
    cx = (s1 * (y3 - y2) + s2 * (y1 - y3) + s3 * (y2 - y1)) / d2;
    r = std::sqrt((x1 - cx) * (x1 - cx) + (y1 - cy) * (y1 - cy));
    return true;
}
