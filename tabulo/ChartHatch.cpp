// Hatch rules of the charts: which buffer dots each brush style draws.
#include "ChartHatch.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace {

// The hatch dots of one buffer row: the whole row, or the x congruent to one
// of up to two residues modulo the spacing.
struct THatchRow {
    bool whole;
    int count;
    int64_t residues[2];
};

// The remainder in 0..c-1.
int64_t Modulo(int64_t value, int64_t c) { return ((value % c) + c) % c; }

// Each rule as its style states it with C++ remainders, which keep the
// dividend's sign: y % c = 0; x % c = 0; (x - y % c) % c = 0; (x + y % c) % c
// = 0; the first two together; the diagonal two together. A remainder of 0
// does not depend on sign, so each is a congruence of x for the row's y.
THatchRow HorizontalRow(int y, int c) { return THatchRow{y % c == 0, 0, {0, 0}}; }
THatchRow VerticalRow(int, int) { return THatchRow{false, 1, {0, 0}}; }
THatchRow ForwardDiagonalRow(int y, int c) { return THatchRow{false, 1, {Modulo(y % c, c), 0}}; }
THatchRow BackwardDiagonalRow(int y, int c) { return THatchRow{false, 1, {Modulo(-(y % c), c), 0}}; }
THatchRow CrossRow(int y, int c) { return THatchRow{y % c == 0, 1, {0, 0}}; }
THatchRow DiagonalCrossRow(int y, int c) {
    return THatchRow{false, 2, {Modulo(y % c, c), Modulo(-(y % c), c)}};
}

struct THatchRule {
    TBrushStyle style;
    THatchRow (*row)(int y, int c);
};

const THatchRule kHatchRules[] = {
    {bsHorizontal, HorizontalRow}, {bsVertical, VerticalRow}, {bsFDiagonal, ForwardDiagonalRow},
    {bsBDiagonal, BackwardDiagonalRow}, {bsCross, CrossRow}, {bsDiagCross, DiagonalCrossRow},
};

const THatchRule* RuleOf(TBrushStyle style) {
    const THatchRule* rule = std::find_if(std::begin(kHatchRules), std::end(kHatchRules),
                                          [style](const THatchRule& row) { return row.style == style; });
    return rule == std::end(kHatchRules) ? nullptr : rule;
}

}  // namespace

bool ChartHatched(TBrushStyle style) { return RuleOf(style) != nullptr; }

bool ChartHatchDot(TBrushStyle style, int x, int y, int crossSize) {
    const THatchRule* rule = RuleOf(style);
    if (rule == nullptr || crossSize < 1) return false;
    const THatchRow row = rule->row(y, crossSize);
    const int64_t residue = Modulo(x, crossSize);
    return row.whole || (row.count > 0 && row.residues[0] == residue) || (row.count > 1 && row.residues[1] == residue);
}

void TChartHatchFunctor::Point(int x, int y, int colour) {
    if (ChartHatchDot(style_, x, y, crossSize_)) setter_.Set(x, y, colour);
}

void TChartHatchFunctor::Span(int x1, int x2, int y) {
    const THatchRule* rule = RuleOf(style_);
    int64_t left, top, right, bottom;
    if (rule == nullptr || crossSize_ < 1 || !setter_.ReachableDots(left, top, right, bottom) || y < top ||
        y > bottom) {
        return;
    }
    const int64_t from = std::max<int64_t>(x1, left), to = std::min<int64_t>(x2, right);
    const THatchRow row = rule->row(y, crossSize_);
    if (row.whole) {
        setter_.FillSpan(int(from), int(to), y);
        return;
    }
    for (int i = 0; i < row.count; ++i) {
        for (int64_t x = from + Modulo(row.residues[i] - from, crossSize_); x <= to; x += crossSize_)
            setter_.Set(int(x), y, -1);
    }
}
