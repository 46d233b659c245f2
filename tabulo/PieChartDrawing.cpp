// The pie's drawing routines: the circle's points in drawing order and text
// drawn backwards from the buffer to the glyphs, scaled and turned.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>

#include "CHRText.h"
#include "PieChart.h"

namespace {

// One run of the circle over the octant points (x_k, y_k): k from the first
// index up or from the last down, each point mapped to
// (cx + signX * (swap ? y : x), cy + signY * (swap ? x : y)).
struct TCircleRun {
    bool downwards;  // k from m-1 down to skip, else from skip up to m-1
    int skip;        // the octant indices left out at the run's far (up) or near (down) end
    bool swap;
    int signX, signY;
};

// ORDER: the drawing order of the circle, from the rightmost point downwards.
const TCircleRun kCircleRuns[] = {
    {false, 0, true, +1, +1}, {true, 0, false, +1, +1}, {false, 1, false, -1, +1}, {true, 0, true, -1, +1},
    {false, 1, true, -1, -1}, {true, 0, false, -1, -1}, {false, 1, false, +1, -1}, {true, 1, true, +1, -1},
};

}  // namespace

void RasterCircle(int cx, int cy, int r, TDFFunctorBase& functor) {
    if (r < 0) return;
    if (r == 0) {
        functor.Point(cx, cy, -1);
        return;
    }
    if (r == 1) {
        const POINT around[] = {{cx, cy - 1}, {cx, cy + 1}, {cx - 1, cy}, {cx + 1, cy}};
        for (const POINT& point : around) functor.Point(point.x, point.y, -1);
        return;
    }
    const std::vector<POINT> octant = TCollectCircleOctantPoints(r).Points();
    const int m = int(octant.size());
    bool given = false;
    POINT lastGiven{};
    for (const TCircleRun& run : kCircleRuns) {
        const int first = run.downwards ? m - 1 : run.skip;
        const int last = run.downwards ? run.skip : m - 1;
        const int step = run.downwards ? -1 : 1;
        for (int k = first; run.downwards ? k >= last : k <= last; k += step) {
            const int64_t along = run.swap ? octant[size_t(k)].y : octant[size_t(k)].x;
            const int64_t across = run.swap ? octant[size_t(k)].x : octant[size_t(k)].y;
            const POINT point{LONG(cx + run.signX * along), LONG(cy + run.signY * across)};
            // A run that starts on the diagonal would repeat the point the previous one ended on.
            if (run.downwards && k == first && given && point.x == lastGiven.x && point.y == lastGiven.y) continue;
            functor.Point(point.x, point.y, -1);
            lastGiven = point;
            given = true;
        }
    }
}

namespace {

const double kMaxTextScale = 4096;
const int64_t kMaxTurnedBox = 65536;

LONG ClampToLong(int64_t value) { return LONG(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX)); }

// The columns of a text laid side by side: for each, its character and the
// column within that character's glyph.
class TScaledTextColumns {
public:
    TScaledTextColumns(const TCHRTable& table, const char* text, size_t length, int flags)
        : table_(table), flags_(flags) {
        for (size_t i = 0; i < length; ++i) {
            const uint8_t character = uint8_t(text[i]);
            for (int column = 0; column < table.GetCharWidth(character); ++column) {
                characters_.push_back(character);
                columns_.push_back(column);
            }
        }
    }

    int64_t Width() const { return int64_t(columns_.size()); }

    // Whether text column u, row v is a text dot (false outside the text).
    bool TextDot(int64_t u, int64_t v) const {
        const int height = table_.GetHeight();
        if (u < 0 || u >= Width() || v < 0 || v >= height) return false;
        const bool dot = GlyphDot(characters_[size_t(u)], columns_[size_t(u)], int(v));
        return (flags_ & chrInverse) ? !dot : dot;
    }

private:
    bool GlyphDot(uint8_t character, int column, int row) const {
        const int height = table_.GetHeight();
        const bool upper = row < height / 2;
        if (((flags_ & chrSlantRight) && column == 0) ||
            ((flags_ & chrSlantLeft) && column == table_.GetCharWidth(character) - 1))
            return false;
        int read = column;
        if ((flags_ & chrSlantRight) && upper) --read;
        if ((flags_ & chrSlantLeft) && upper) ++read;
        return table_.GlyphDot(character, read, row) ||
               ((flags_ & chrBold) && table_.GlyphDot(character, read - 1, row)) ||
               ((flags_ & chrUnderline) && row == height - 2) || ((flags_ & chrStrikeOut) && row == height / 2);
    }

    const TCHRTable& table_;
    int flags_;
    std::vector<uint8_t> characters_;
    std::vector<int> columns_;
};

// Sets each buffer dot of the box from the text dot it maps back to.
class TScaledTextFunctor : public TDFFunctorBase {
public:
    TScaledTextFunctor(const TSetIDPixel& setter, const TScaledTextColumns& columns, int x0, int y0, double angle,
                       double scaleX, double scaleY, int colour, bool fill, int background)
        : setter_(setter), columns_(columns), x0_(x0), y0_(y0), cosine_(std::cos(-angle)), sine_(std::sin(-angle)),
          scaleX_(scaleX), scaleY_(scaleY), colour_(colour), fill_(fill), background_(background) {}

    void Point(int x, int y, int) override {
        const double dx = double(x) - x0_, dy = double(y) - y0_;
        const double u = std::trunc((dx * cosine_ - dy * sine_) / scaleX_);
        const double v = std::trunc((dx * sine_ + dy * cosine_) / scaleY_);
        if (columns_.TextDot(int64_t(u), int64_t(v)))
            setter_.Set(x, y, colour_);
        else if (fill_)
            setter_.Set(x, y, background_);
    }

    // Only the part of the span over the view is walked.
    void Span(int x1, int x2, int y) override {
        int64_t left, top, right, bottom;
        if (!setter_.ReachableDots(left, top, right, bottom) || y < top || y > bottom) return;
        for (int64_t x = std::max<int64_t>(x1, left); x <= std::min<int64_t>(x2, right); ++x) Point(int(x), y, -1);
    }

private:
    TSetIDPixel setter_;
    const TScaledTextColumns& columns_;
    int x0_, y0_;
    double cosine_, sine_, scaleX_, scaleY_;
    int colour_;
    bool fill_;
    int background_;
};

}  // namespace

void DrawCHRTextScaled(const TSetIDPixel& setter, int x, int y, const TCHRTable& table, const char* text, int colour,
                       int flags, double angle, bool fillBackground, int background, int length, double scaleX,
                       double scaleY) {
    if (text == nullptr || !(scaleX > 0 && scaleX <= kMaxTextScale) || !(scaleY > 0 && scaleY <= kMaxTextScale) ||
        !std::isfinite(angle))
        return;
    const size_t whole = std::strlen(text);
    const size_t count = length < 0 ? whole : std::min(whole, size_t(length));
    const TScaledTextColumns columns(table, text, count, flags);
    const int64_t boxRight = x + int64_t(double(columns.Width()) * scaleX);
    const int64_t boxBottom = y + int64_t(double(table.GetHeight()) * scaleY);
    TScaledTextFunctor functor(setter, columns, x, y, angle, scaleX, scaleY, colour, fillBackground, background);
    if (angle == 0) {
        // The upright box is its own fill: every dot of the rectangle over the view.
        int64_t left, top, right, bottom;
        if (!setter.ReachableDots(left, top, right, bottom)) return;
        const int lastColumn = int(std::min(boxRight, right));
        for (int64_t row = std::max<int64_t>(y, top); row <= std::min(boxBottom, bottom); ++row)
            functor.Span(x, lastColumn, int(row));
        return;
    }
    if (boxRight - x > kMaxTurnedBox || boxBottom - y > kMaxTurnedBox) return;
    const double cosine = std::cos(angle), sine = std::sin(angle);
    POINT corners[4];
    const int64_t cornerX[] = {x, boxRight, boxRight, x}, cornerY[] = {y, y, boxBottom, boxBottom};
    for (int i = 0; i < 4; ++i) {
        const double dx = double(cornerX[i] - x), dy = double(cornerY[i] - y);
        corners[i] = POINT{ClampToLong(x + int64_t(std::trunc(cosine * dx - sine * dy))),
                           ClampToLong(y + int64_t(std::trunc(sine * dx + cosine * dy)))};
    }
    FillPolygon(corners, 4, functor, 16);
}
