// Rasterising figures: polygon scan conversion, rounded rectangles and
// ellipses, arc sweeps and pen strokes.
#include "FigureGeometry.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Crossing {
    double x;
    int direction;
};

LONG PixelStart(double edge) { return static_cast<LONG>(std::ceil(edge - 0.5)); }

// The first pixel whose centre lies at or right of edge, kept within
// [limit.left, limit.right] before it becomes a LONG.
LONG PixelStartWithin(double edge, const RECT& limit) {
    return PixelStart(std::clamp(edge, static_cast<double>(limit.left), static_cast<double>(limit.right)));
}

}  // namespace

const RECT kRegionLimit{-(1 << 16), -(1 << 16), 1 << 16, 1 << 16};

RECT NormaliseRect(const RECT& r) {
    return RECT{std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
                std::max(r.top, r.bottom)};
}

RECT ShrinkRect(const RECT& r, int by) { return RECT{r.left + by, r.top + by, r.right - by, r.bottom - by}; }

RECT PointBounds(const POINT* points, int count) {
    if (count <= 0) return RECT{0, 0, 0, 0};
    RECT bounds{points[0].x, points[0].y, points[0].x, points[0].y};
    for (int i = 1; i < count; ++i) {
        bounds.left = std::min(bounds.left, points[i].x);
        bounds.top = std::min(bounds.top, points[i].y);
        bounds.right = std::max(bounds.right, points[i].x);
        bounds.bottom = std::max(bounds.bottom, points[i].y);
    }
    bounds.right = SaturatedLong(int64_t{bounds.right} + 1);
    bounds.bottom = SaturatedLong(int64_t{bounds.bottom} + 1);
    return bounds;
}

Region PolygonRegion(const POINT* points, int count, int fillMode, const RECT& limit) {
    if (points == nullptr || count < 3) return Region();
    RECT bounds = PointBounds(points, count);
    bounds.top = std::max(bounds.top, limit.top);
    bounds.bottom = std::min(bounds.bottom, limit.bottom);
    RegionBuilder builder(bounds.top, bounds.bottom);
    std::vector<Crossing> crossings;
    for (LONG y = bounds.top; y < bounds.bottom; ++y) {
        const double centre = y + 0.5;
        crossings.clear();
        for (int i = 0; i < count; ++i) {
            const POINT& a = points[i];
            const POINT& b = points[(i + 1) % count];
            if (a.y == b.y) continue;
            const bool down = b.y > a.y;
            const double top = down ? a.y : b.y;
            const double bottom = down ? b.y : a.y;
            if (centre < top || centre >= bottom) continue;
            // Differences of far points pass the LONG range, so they are taken as doubles.
            const double x =
                a.x + (centre - a.y) * (static_cast<double>(b.x) - a.x) / (static_cast<double>(b.y) - a.y);
            crossings.push_back(Crossing{x, down ? 1 : -1});
        }
        std::sort(crossings.begin(), crossings.end(), [](const Crossing& p, const Crossing& q) { return p.x < q.x; });
        int winding = 0;
        for (size_t k = 0; k + 1 < crossings.size(); ++k) {
            winding += fillMode == WINDING ? crossings[k].direction : 1;
            const bool inside = fillMode == WINDING ? winding != 0 : (winding & 1) != 0;
            if (inside)
                builder.AddSpan(y, PixelStartWithin(crossings[k].x, limit), PixelStartWithin(crossings[k + 1].x, limit));
        }
    }
    return builder.Build();
}

Region RoundRectRegion(RECT box, int ellipseWidth, int ellipseHeight, const RECT& limit) {
    box = NormaliseRect(box);
    const LONG width = box.right - box.left;
    const LONG height = box.bottom - box.top;
    if (width <= 0 || height <= 0) return Region();
    const double radiusX = std::min<LONG>(std::abs(ellipseWidth), width) / 2.0;
    const double radiusY = std::min<LONG>(std::abs(ellipseHeight), height) / 2.0;
    if (radiusX <= 0 || radiusY <= 0) return Region(box).IntersectRect(limit);
    const LONG first = std::max(box.top, limit.top);
    const LONG last = std::min(box.bottom, limit.bottom);
    RegionBuilder builder(first, last);
    for (LONG y = first; y < last; ++y) {
        const double centre = y + 0.5;
        double distance = 0;  // vertical distance into a corner ellipse
        if (centre < box.top + radiusY) distance = box.top + radiusY - centre;
        if (centre > box.bottom - radiusY) distance = centre - (box.bottom - radiusY);
        if (distance >= radiusY) continue;
        const double ratio = distance / radiusY;
        const double inset = radiusX - radiusX * std::sqrt(1 - ratio * ratio);
        builder.AddSpan(y, std::max(PixelStart(box.left + inset), limit.left),
                        std::min(PixelStart(box.right - inset), limit.right));
    }
    return builder.Build();
}

Region EllipseRegion(const RECT& box, const RECT& limit) {
    const RECT r = NormaliseRect(box);
    return RoundRectRegion(r, r.right - r.left, r.bottom - r.top, limit);
}

ArcSweep::ArcSweep(const RECT& box, POINT start, POINT end) : box_(NormaliseRect(box)) {
    centreX_ = (box_.left + box_.right) / 2.0;
    centreY_ = (box_.top + box_.bottom) / 2.0;
    startAngle_ = Angle(start.x + 0.5, start.y + 0.5);
    const double endAngle = Angle(end.x + 0.5, end.y + 0.5);
    sweep_ = std::fmod(endAngle - startAngle_ + 4 * kPi, 2 * kPi);
    if (sweep_ < 1e-9) sweep_ = 2 * kPi;
    startPixel_ = EllipsePixel(startAngle_);
    endPixel_ = EllipsePixel(endAngle);
}

double ArcSweep::Angle(double x, double y) const { return std::atan2(-(y - centreY_), x - centreX_); }

bool ArcSweep::Contains(LONG x, LONG y) const {
    const double offset = std::fmod(Angle(x + 0.5, y + 0.5) - startAngle_ + 4 * kPi, 2 * kPi);
    return offset <= sweep_ + 1e-9;
}

bool ArcSweep::OnChordSide(LONG x, LONG y) const {
    if (sweep_ >= 2 * kPi) return true;
    // In y-up coordinates the arc's cap lies right of the chord from start to end.
    const double sx = startPixel_.x + 0.5 - centreX_, sy = -(startPixel_.y + 0.5 - centreY_);
    const double ex = endPixel_.x + 0.5 - centreX_, ey = -(endPixel_.y + 0.5 - centreY_);
    const double px = x + 0.5 - centreX_, py = -(y + 0.5 - centreY_);
    const double cross = (ex - sx) * (py - sy) - (ey - sy) * (px - sx);
    return cross <= 0;
}

POINT ArcSweep::EllipsePixel(double angle) const {
    const double radiusX = (box_.right - box_.left) / 2.0;
    const double radiusY = (box_.bottom - box_.top) / 2.0;
    const double t = std::atan2(std::sin(angle) / std::max(radiusY, 1e-9), std::cos(angle) / std::max(radiusX, 1e-9));
    const double x = centreX_ + radiusX * std::cos(t);
    const double y = centreY_ - radiusY * std::sin(t);
    const LONG px = std::clamp<LONG>(static_cast<LONG>(std::floor(x)), box_.left, std::max(box_.left, box_.right - 1));
    const LONG py = std::clamp<LONG>(static_cast<LONG>(std::floor(y)), box_.top, std::max(box_.top, box_.bottom - 1));
    return POINT{px, py};
}

POINT ArcSweep::CentrePixel() const {
    return POINT{static_cast<LONG>(std::floor(centreX_)), static_cast<LONG>(std::floor(centreY_))};
}

void SplitOutlineByDashes(const Region& outline, double centreX, double centreY, double startAngle,
                          const std::vector<int>& dashes, Region& on, Region& gaps) {
    struct Pixel {
        double angle;
        LONG x, y;
    };
    std::vector<Pixel> pixels;
    const RECT bounds = outline.Bounds();
    outline.ForEachRectIn(bounds, [&](LONG left, LONG top, LONG right, LONG bottom) {
        for (LONG y = top; y < bottom; ++y)
            for (LONG x = left; x < right; ++x) {
                const double angle = std::atan2(-(y + 0.5 - centreY), x + 0.5 - centreX);
                pixels.push_back(Pixel{std::fmod(angle - startAngle + 4 * kPi, 2 * kPi), x, y});
            }
    });
    std::sort(pixels.begin(), pixels.end(), [](const Pixel& a, const Pixel& b) { return a.angle < b.angle; });
    RegionBuilder onBuilder(bounds.top, bounds.bottom), gapBuilder(bounds.top, bounds.bottom);
    size_t dash = 0;
    int left = dashes.empty() ? 0 : dashes[0];
    for (const Pixel& pixel : pixels) {
        ((dash & 1) == 0 ? onBuilder : gapBuilder).AddPixel(pixel.x, pixel.y);
        if (!dashes.empty() && --left <= 0) {
            dash = (dash + 1) % dashes.size();
            left = dashes[dash];
        }
    }
    on = onBuilder.Build();
    gaps = gapBuilder.Build();
}

PenStroke::PenStroke(const GdiPen& pen, const RECT& bounds)
    : width_(pen.Width()),
      dashes_(pen.DashPattern()),
      on_(bounds.top - pen.Width(), bounds.bottom + pen.Width()),
      gaps_(bounds.top - 1, bounds.bottom + 1) {
    if (!dashes_.empty()) dashLeft_ = dashes_[0];
    if (width_ <= 1) return;
    const int low = -(width_ - 1) / 2;
    const int high = width_ / 2;
    const double centre = (low + high) / 2.0;
    const double radius = width_ / 2.0;
    for (int dy = low; dy <= high; ++dy) {
        if (width_ <= 3) {
            stamp_.push_back(StampRow{dy, low, high + 1});
            continue;
        }
        const double offset = dy - centre;
        const double half = std::sqrt(std::max(0.0, radius * radius - offset * offset));
        const int left = static_cast<int>(std::ceil(centre - half - 1e-9));
        const int right = static_cast<int>(std::floor(centre + half + 1e-9)) + 1;
        if (left < right) stamp_.push_back(StampRow{dy, left, right});
    }
}

void PenStroke::Stamp(RegionBuilder& builder, LONG x, LONG y) {
    if (stamp_.empty()) {
        builder.AddPixel(x, y);
        return;
    }
    for (const StampRow& row : stamp_) builder.AddSpan(y + row.dy, x + row.left, x + row.right);
}

void PenStroke::Plot(LONG x, LONG y) {
    if (dashes_.empty()) {
        Stamp(on_, x, y);
        return;
    }
    Stamp((dashIndex_ & 1) == 0 ? on_ : gaps_, x, y);
    if (--dashLeft_ <= 0) {
        dashIndex_ = (dashIndex_ + 1) % dashes_.size();
        dashLeft_ = dashes_[dashIndex_];
    }
}

void PenStroke::Point(POINT at) { Plot(at.x, at.y); }

void PenStroke::Line(POINT from, POINT to) {
    if (from.y == to.y && from.x != to.x && dashes_.empty() && stamp_.empty()) {
        // Horizontal spans of thin solid pens skip the stepping.
        on_.AddSpan(from.y, to.x > from.x ? from.x : to.x + 1, to.x > from.x ? to.x : from.x + 1);
        return;
    }
    StepLine(from, to, [this](LONG x, LONG y) { Plot(x, y); });
}
