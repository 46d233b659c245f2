// Plane geometry on integer points: segment angle, polar and rotated points, line intersection, point in polygon.
#include "PlaneGeometry.h"

#include <cmath>

#include "StackRoutines.h"

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kTwoPi = 6.283185307179586;
constexpr double kHalfPi = 1.5707963267948966;
constexpr double kThreeHalvesPi = 4.71238898038469;

typedef __int128 Wide;

VPOINT TruncatedPoint(double x, double y) {
    VPOINT p;
    p.x = TruncateToInt32(x);
    p.y = TruncateToInt32(y);
    return p;
}

}  // namespace

double LineAngle(int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
    const double dx = static_cast<double>(static_cast<Wide>(x2) - x1);
    const double dy = static_cast<double>(static_cast<Wide>(y2) - y1);
    if (dx == 0) return dy < 0 ? kThreeHalvesPi : kHalfPi;
    if (dy == 0) return dx < 0 ? kPi : 0.0;
    if (dy < 0) return dx > 0 ? kTwoPi - std::atan(-dy / dx) : kPi + std::atan(-dy / -dx);
    return dx > 0 ? std::atan(dy / dx) : kPi - std::atan(dy / -dx);
}

VPOINT PolarPoint(int64_t x, int64_t y, int64_t r, double angle) {
    const double radius = static_cast<double>(r);
    return TruncatedPoint(static_cast<double>(x) + std::cos(angle) * radius,
                          static_cast<double>(y) + std::sin(angle) * radius);
}

VPOINT RotatePoint(int64_t cx, int64_t cy, int64_t x, int64_t y, double angle) {
    const double dx = static_cast<double>(static_cast<Wide>(x) - cx);
    const double dy = static_cast<double>(static_cast<Wide>(y) - cy);
    const double c = std::cos(angle), s = std::sin(angle);
    return TruncatedPoint(static_cast<double>(cx) + dx * c - dy * s, static_cast<double>(cy) + dx * s + dy * c);
}

bool IntersectLines(int64_t x1, int64_t y1, int64_t x2, int64_t y2, int64_t x3, int64_t y3, int64_t x4,
                    int64_t y4, VPOINT& out, bool lines, bool inclusive) {
    const auto same = [](int64_t ax, int64_t ay, int64_t bx, int64_t by) { return ax == bx && ay == by; };
    if (same(x1, y1, x3, y3) || same(x1, y1, x4, y4)) {
        out.x = x1;
        out.y = y1;
        return true;
    }
    if (same(x2, y2, x3, y3) || same(x2, y2, x4, y4)) {
        out.x = x2;
        out.y = y2;
        return true;
    }
    const long double d = static_cast<long double>(Wide(x2 - Wide(x1)) * (Wide(y3) - y4)) -
                          static_cast<long double>(Wide(x3 - Wide(x4)) * (Wide(y2) - y1));
    if (d == 0) return false;
    const long double ax = static_cast<long double>(Wide(x2) - x1), ay = static_cast<long double>(Wide(y2) - y1);
    const long double t = ((static_cast<long double>(Wide(x3) - x1)) * (static_cast<long double>(Wide(y3) - y4)) -
                           (static_cast<long double>(Wide(x3) - x4)) * (static_cast<long double>(Wide(y3) - y1))) /
                          d;
    const long double u = (ax * static_cast<long double>(Wide(y3) - y1) -
                           static_cast<long double>(Wide(x3) - x1) * ay) /
                          d;
    const double px = static_cast<double>((1 - t) * x1 + t * x2);
    const double py = static_cast<double>((1 - t) * y1 + t * y2);
    if (lines) {
        out = TruncatedPoint(px, py);
        return true;
    }
    if (t < 0 || u < 0) return false;
    if (inclusive ? (t > 1 || u > 1) : (t >= 1 || u >= 1)) return false;
    out = TruncatedPoint(std::floor(px), std::floor(py));
    return true;
}

bool PointInPolygon(int64_t x, int64_t y, const VPOINT* points, int count) {
    if (points == nullptr || count < 1) return false;
    int below = 0, above = 0, crossings = 0;
    for (int i = 0; i < count; ++i) {
        const VPOINT& a = points[i];
        const VPOINT& b = points[(i + 1) % count];
        if (!((a.x <= x && x < b.x) || (b.x <= x && x < a.x))) continue;
        ++crossings;
        const Wide height = Wide(a.y) + (Wide(b.y) - a.y) * (Wide(x) - a.x) / (Wide(b.x) - a.x);
        if (height < y) ++below;
        if (height > y) ++above;
    }
    return crossings > 0 && below % 2 == 1 && above % 2 == 1;
}
