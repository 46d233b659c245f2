// TStatsView: counting samples into ranges, the picture with its marks and
// hover texts, the state record and the design picture.
#include "StatsView.h"

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "CHRText.h"
#include "PropertyTable.h"
#include "RasterDrawing.h"
#include "Registration.h"
#include "SetIDPixel.h"
#include "ViewBuffer.h"
#include "ViewState.h"

namespace {

const int kLineShift = 16;
// A limit line's dashes: so many dots on, then so many off, from its first dot.
const int kDashOn = 10, kDashOff = 5;
// Bits of a column's marks.
const uint8_t kLimitMark = 1, kNominalMark = 2;

bool RangeHolds(const std::pair<double, double>& range, double x) { return range.first <= x && x < range.second; }

// The dots of a line in the setter's colour, solid or dashed; the dash phase
// starts at the given dot, so that a clipped line keeps its pattern.
class TMarkLineFunctor : public TDFFunctorBase {
public:
    TMarkLineFunctor(const TSetIDPixel& setter, bool dashed, int64_t firstDot)
        : setter_(setter), dashed_(dashed), dot_(firstDot) {}
    void Point(int x, int y, int colour) override {
        if (!dashed_ || dot_ % (kDashOn + kDashOff) < kDashOn) setter_.Set(x, y, colour);
        ++dot_;
    }

private:
    TSetIDPixel setter_;
    bool dashed_;
    int64_t dot_;
};

// A run of dots from `from` to `to` (either way) clipped to [0, limit - 1]:
// false when none of it is inside; skipped counts the dots cut off at its start.
bool ClipRun(int64_t& from, int64_t& to, int64_t limit, int64_t& skipped) {
    const int64_t low = 0, high = limit - 1;
    if (std::max(from, to) < low || std::min(from, to) > high) return false;
    const int64_t start = std::clamp(from, low, high);
    skipped = from < to ? start - from : from - start;
    from = start;
    to = std::clamp(to, low, high);
    return true;
}

// A vertical or horizontal line with both ends, through RasterLine, clipped
// to the view first so that far-away ends cost nothing.
void DrawStraightLine(const TSetIDPixel& setter, int64_t x1, int64_t y1, int64_t x2, int64_t y2, bool dashed) {
    const IMAGEDATA& view = setter.view;
    int64_t skipped = 0;
    if (x1 == x2) {
        if (x1 < 0 || x1 >= view.width || !ClipRun(y1, y2, view.height, skipped)) return;
    } else {
        if (y1 < 0 || y1 >= view.height || !ClipRun(x1, x2, view.width, skipped)) return;
    }
    TMarkLineFunctor functor(setter, dashed, skipped);
    RasterLine(int(x1), int(y1), int(x2), int(y2), functor, true, false, false, kLineShift);
}

}  // namespace

TStatsView::TStatsView(TComponent* owner) : TGraphicControl(owner) {
    // Sized before the buffer exists, so that the buffer waits for the first resize.
    SetBounds(0, 0, 32, 32);
    buffer_ = std::make_unique<TBitmap>();
    std::srand(unsigned(std::time(nullptr)));
    SetColCount(11);
    hoverCol_ = -1;
    RecomputeRanges();
    // The table and captions come before the constructed flag, which lets painting start.
    table_ = std::make_unique<TCHRTable>("arial", 10);
    rangeCaption_ = "Range";
    absCaption_ = "Abs. val.";
    relCaption_ = "Rel. val.";
    constructed_ = true;
}

TStatsView::~TStatsView() { Destroying(); }

void TStatsView::ClearValues(bool refresh) {
    std::fill(counts_.begin(), counts_.end(), 0);
    total_ = 0;
    noData_ = true;
    if (refresh) Refresh();
}

// The total counts every sample, so once it stands at the largest int a
// sample is not counted: counts and total never wrap and still agree.
void TStatsView::NewValue(double x, bool refresh) {
    if (total_ < INT_MAX) {
        ++counts_[size_t(CalcValCol(x))];
        ++total_;
        noData_ = false;
    }
    if (refresh) Refresh();
}

void TStatsView::RemoveValue(double x, bool refresh) {
    int& count = counts_[size_t(CalcValCol(x))];
    if (count > 0) {
        --count;
        --total_;
        if (std::all_of(counts_.begin(), counts_.end(), [](int c) { return c == 0; })) noData_ = true;
    }
    if (refresh) Refresh();
}

void TStatsView::NewLimit(double value, bool refresh) {
    limits_.push_back(value);
    if (refresh) Refresh();
}

void TStatsView::NewNominal(double value, bool refresh) {
    nominals_.push_back(value);
    if (refresh) Refresh();
}

void TStatsView::ClearLimits(bool refresh) {
    limits_.clear();
    if (refresh) Refresh();
}

void TStatsView::ClearNominals(bool refresh) {
    nominals_.clear();
    if (refresh) Refresh();
}

// ---- Ranges ----

void TStatsView::RecomputeRanges() {
    const int n = colCount_;
    const int middle = std::max(n - 2, 0);
    middleWidth_ = middle > 0 ? (highValue_ - lowValue_) / middle : 0;
    // Neighbouring middle columns share one computed bound, so they abut exactly.
    std::vector<double> bounds(size_t(middle) + 1);
    for (int k = 0; k <= middle; ++k) bounds[size_t(k)] = lowValue_ + k * middleWidth_;
    ranges_.assign(size_t(n), {0.0, 0.0});
    ranges_[0] = {-DBL_MAX, lowValue_};
    for (int i = 1; i <= middle; ++i) ranges_[size_t(i)] = {bounds[size_t(i) - 1], bounds[size_t(i)]};
    if (n >= 2) ranges_[size_t(n) - 1] = {highValue_, DBL_MAX};
    middleSorted_ = middle > 0 && std::none_of(bounds.begin(), bounds.end(), [](double b) { return std::isnan(b); }) &&
                    std::is_sorted(bounds.begin(), bounds.end());
}

int TStatsView::CalcValCol(double x) const {
    const int n = int(ranges_.size());
    if (RangeHolds(ranges_[0], x)) return 0;
    const int middle = MiddleColumnOf(x);
    if (middle > 0) return middle;
    if (n >= 2 && RangeHolds(ranges_[size_t(n) - 1], x)) return n - 1;
    return 0;
}

// The first middle column that holds x, 0 for none. With rising bounds the
// middle ranges tile [first low, last high) without overlap, so the one that
// holds x is the first: guessed from the width, checked against the ranges
// themselves, and searched for when the guess misses.
int TStatsView::MiddleColumnOf(double x) const {
    const int last = int(ranges_.size()) - 2;
    if (last < 1) return 0;
    if (!middleSorted_) {
        for (int i = 1; i <= last; ++i)
            if (RangeHolds(ranges_[size_t(i)], x)) return i;
        return 0;
    }
    if (!(x >= ranges_[1].first && x < ranges_[size_t(last)].second)) return 0;
    const double offset = (x - ranges_[1].first) / middleWidth_;
    if (offset >= 0 && offset < last) {
        const int guess = 1 + int(offset);
        for (int i : {guess, guess - 1, guess + 1})
            if (i >= 1 && i <= last && RangeHolds(ranges_[size_t(i)], x)) return i;
    }
    // The last middle column whose low is at or below x.
    const auto first = ranges_.begin() + 1, end = ranges_.begin() + last + 1;
    const auto above = std::upper_bound(first, end, x, [](double v, const std::pair<double, double>& range) {
        return v < range.first;
    });
    const int found = int(above - ranges_.begin()) - 1;
    return RangeHolds(ranges_[size_t(found)], x) ? found : 0;
}

void TStatsView::SetColCount(int count) {
    if (count < 1) return;
    colCount_ = count;
    counts_.assign(size_t(count), 0);
    noData_ = true;
    total_ = 0;
    designHeights_.resize(size_t(count));
    for (int& height : designHeights_) height = std::rand() % 100;
    // A hover column past the new count would be read at the next paint.
    if (hoverCol_ >= count) hoverCol_ = -1;
    RecomputeRanges();
    Refresh();
}

void TStatsView::SetLowValue(double value) {
    lowValue_ = value;
    RecomputeRanges();
    Refresh();
}

void TStatsView::SetHighValue(double value) {
    highValue_ = value;
    RecomputeRanges();
    Refresh();
}

// ---- State ----

void TStatsView::GetState(TMemBuffer& buffer) const {
    AddIntList(buffer, counts_);
    buffer.AddInt(total_);
    buffer.AddInt(noData_ ? 1 : 0);
    AddDoubleList(buffer, limits_);
    AddDoubleList(buffer, nominals_);
    buffer.AddDouble(lowValue_);
    buffer.AddDouble(highValue_);
}

bool TStatsView::SetState(TMemBuffer& buffer) {
    std::vector<int> counts;
    std::vector<double> limits, nominals;
    int storedTotal = 0, storedFlag = 0;
    double low = 0, high = 0;
    int64_t total = 0;
    const bool read = ReadStateRecord(buffer, [&] {
        if (!ReadIntList(buffer, counts) || !ReadStateInt(buffer, storedTotal) || !ReadStateInt(buffer, storedFlag) ||
            !ReadDoubleList(buffer, limits) || !ReadDoubleList(buffer, nominals) || !ReadStateDouble(buffer, low) ||
            !ReadStateDouble(buffer, high))
            return false;
        // The stored total and flag are not trusted: both follow from the
        // counts kept, which must make a total the view can hold.
        if (std::any_of(counts.begin(), counts.end(), [](int count) { return count < 0; })) return false;
        counts.resize(size_t(colCount_), 0);
        for (int count : counts) total += count;
        return total <= INT32_MAX;
    });
    if (!read) return false;
    counts_.swap(counts);
    total_ = int(total);
    noData_ = total_ == 0;
    limits_.swap(limits);
    nominals_.swap(nominals);
    lowValue_ = low;
    highValue_ = high;
    RecomputeRanges();
    Refresh();
    return true;
}

void TStatsView::GetBuffer(TBitmap* dest) const {
    if (dest != nullptr) dest->Assign(buffer_.get());
}

// ---- Painting ----

void TStatsView::Refresh() {
    if (!GetComponentState().Contains(csDesigning)) RuntimePaint();
    Paint();
}

void TStatsView::Paint() {
    if (constructed_ && buffer_ && GetVisible()) DrawViewBuffer(*this, *buffer_);
}

void TStatsView::SetupBuffer() { SizeViewBuffer(*buffer_, GetWidth(), GetHeight()); }

void TStatsView::Resize() {
    if (buffer_) {
        SetupBuffer();
        if (!GetComponentState().Contains(csDesigning)) RuntimePaint();
        Paint();
    }
    TGraphicControl::Resize();
}

void TStatsView::WMSize(TMessage&) { Resize(); }

int64_t TStatsView::ColumnWidth() const {
    return (int64_t(GetWidth()) - originX_ - hAxisGap_) / colCount_;
}

int64_t TStatsView::ColumnCentre(int column, int64_t width) const {
    const int64_t left = int64_t(originX_) + hAxisGap_ + column * width;
    return (left + left + width - 1) / 2;
}

void TStatsView::RuntimePaint() {
    IMAGEDATA view;
    if (!constructed_ || !buffer_ || !BeginBufferPaint(*buffer_, GetWidth(), GetHeight(), view)) return;
    TSetIDPixel(view, bkColor_, 1, 0, 0).FillRect(0, 0, view.width - 1, view.height - 1);
    if (drawAxes_) DrawAxesInto(view);
    const int64_t width = ColumnWidth();
    if (width <= 0) return;
    DrawColumns(view, width);
    if (showLimitValues_) DrawMarkValues(view, width);
    if (showValues_ && hoverCol_ >= 0 && hoverCol_ < colCount_) DrawHoverTexts(view);
}

void TStatsView::DrawAxesInto(const IMAGEDATA& view) const {
    const TSetIDPixel setter(view, axisColor_, 1, 0, 0);
    const int64_t ax = originX_, ay = originY_;
    const int64_t ox = originX_, oy = int64_t(GetHeight()) - 1 - originY_;
    const int64_t cx = int64_t(GetWidth()) - 1 - originX_, cy = oy;
    DrawStraightLine(setter, ax, ay, ox, oy, false);
    DrawStraightLine(setter, ox, oy, cx, cy, false);
    for (int64_t k = 1; k <= 2; ++k) {
        DrawStraightLine(setter, ax - k, ay + 3 * k, ax - k, ay + 9, false);
        DrawStraightLine(setter, ax + k, ay + 3 * k, ax + k, ay + 9, false);
        DrawStraightLine(setter, cx - 3 * k, cy - k, cx - 9, cy - k, false);
        DrawStraightLine(setter, cx - 3 * k, cy + k, cx - 9, cy + k, false);
    }
}

void TStatsView::DrawColumns(const IMAGEDATA& view, int64_t width) const {
    const int64_t height = GetHeight();
    const int64_t base = height - 1 - originY_ - vAxisGap_;
    const int largest = noData_ ? 1 : std::max(1, *std::max_element(counts_.begin(), counts_.end()));
    const double scale = double(height - 1 - 2 * int64_t(originY_) - vAxisGap_) / largest;
    std::vector<uint8_t> marks(counts_.size(), 0);
    for (double limit : limits_) marks[size_t(CalcValCol(limit))] |= kLimitMark;
    for (double nominal : nominals_) marks[size_t(CalcValCol(nominal))] |= kNominalMark;
    const TSetIDPixel columnSetter(view, colColor_, 1, 0, 0), lineSetter(view, limitColor_, 1, 0, 0);
    for (int i = 0; i < colCount_; ++i) {
        const int64_t left = int64_t(originX_) + hAxisGap_ + i * width;
        if (left >= view.width) break;
        const int64_t right = left + width - 1;
        if (right < 0) continue;
        if (!noData_) {
            const double top = std::trunc(double(base) - counts_[size_t(i)] * scale);
            columnSetter.FillRect(int(left), ViewCoordinate(int64_t(std::clamp(top, -4e18, 4e18))), int(right),
                                  ViewCoordinate(base));
        }
        const int64_t centre = (left + right) / 2;
        if (marks[size_t(i)] & kLimitMark)
            DrawStraightLine(lineSetter, centre, vAxisGap_, centre, height - 1 - originY_, true);
        if (marks[size_t(i)] & kNominalMark)
            DrawStraightLine(lineSetter, centre, vAxisGap_, centre, height - 1 - originY_, false);
    }
}

void TStatsView::DrawMarkValues(const IMAGEDATA& view, int64_t width) const {
    const int64_t glyphHeight = table_->GetHeight();
    const int64_t base = int64_t(GetHeight()) - originY_ - vAxisGap_ - 3;
    const TSetIDPixel textSetter(view, limitValueColor_, 1, 0, 0), boxSetter(view, bkColor_, 1, 0, 0);
    auto draw = [&](double value, bool clearBox) {
        const int64_t centre = ColumnCentre(CalcValCol(value), width);
        const std::string text = ViewNumberText("%.3f", value);
        if (clearBox) {
            const int64_t textWidth = GetCHRTextWidth(*table_, text.c_str());
            boxSetter.FillRect(ViewCoordinate(centre - glyphHeight / 2 - 1), ViewCoordinate(base - textWidth - 1),
                               ViewCoordinate(centre + glyphHeight / 2), ViewCoordinate(base));
        }
        DrawCHRText(*table_, ViewCoordinate(centre - glyphHeight / 2), ViewCoordinate(base - 2), text.c_str(),
                    textSetter, chrRotate90, 0, 1, 1, 0);
    };
    for (double limit : limits_) draw(limit, clearLimitValueBk_);
    for (double nominal : nominals_) draw(nominal, false);
}

std::string TStatsView::RangeText(int column) const {
    std::string low, high;
    if (column == 0) {
        low = "...";
        high = ViewNumberText("%.2f", lowValue_);
    } else if (column == colCount_ - 1) {
        low = ViewNumberText("%.2f", highValue_);
        high = "...";
    } else {
        const double from = lowValue_ + (column - 1) * middleWidth_;
        low = ViewNumberText("%.2f", from);
        high = ViewNumberText("%.2f", from + middleWidth_);
    }
    return rangeCaption_ + ": [" + low + "-" + high + "]";
}

void TStatsView::DrawHoverTexts(const IMAGEDATA& view) const {
    std::vector<std::string> lines{RangeText(hoverCol_)};
    if (!noData_ && total_ > 0) {
        const int count = counts_[size_t(hoverCol_)];
        lines.push_back(absCaption_ + ": " + std::to_string(count));
        lines.push_back(relCaption_ + ": " + std::to_string(int64_t(count) * 100 / total_) + "%");
    }
    const TSetIDPixel setter(view, 0, 1, 0, 0);
    int64_t y = vAxisGap_;
    for (const std::string& line : lines) {
        const int64_t x = int64_t(GetWidth()) - GetCHRTextWidth(*table_, line.c_str()) - hAxisGap_;
        DrawCHRText(*table_, ViewCoordinate(x), ViewCoordinate(y), line.c_str(), setter, chrRotate0, 0, 1, 1, 0);
        y += table_->GetHeight();
    }
}

void TStatsView::DesignPaint() {
    TCanvas* canvas = GetCanvas();
    if (canvas->GetHandle() == nullptr) return;
    auto colour = [canvas](TColor c) {
        canvas->GetPen()->SetColor(c);
        canvas->GetBrush()->SetColor(c);
    };
    const int width = GetWidth(), height = GetHeight();
    colour(bkColor_);
    canvas->Rectangle(0, 0, width, height);
    const int columnWidth = (width - 2 * hAxisGap_) / colCount_;
    const double unit = (height - 2 * vAxisGap_) * 0.01;
    colour(colColor_);
    for (int i = 0; i < colCount_; ++i)
        canvas->Rectangle(i * columnWidth + hAxisGap_, int(height - designHeights_[size_t(i)] * unit),
                          (i + 1) * columnWidth + hAxisGap_, height - vAxisGap_);
    colour(limitColor_);
    canvas->GetPen()->SetStyle(psDot);
    for (int i : {colCount_ / 3, int(int64_t(colCount_) * 2 / 3)}) {
        const int x = i * columnWidth + hAxisGap_ + columnWidth / 2;
        canvas->MoveTo(x, vAxisGap_);
        canvas->LineTo(x, height - vAxisGap_);
    }
    canvas->GetPen()->SetStyle(psSolid);
    colour(0);
    // The name stands on the picture, not on a box of the brush's colour.
    canvas->GetBrush()->SetStyle(bsClear);
    canvas->TextOut(5, 5, GetName());
    canvas->GetBrush()->SetStyle(bsSolid);
}

// ---- Mouse ----

void TStatsView::MouseMove(TShiftState shift, int x, int y) {
    TGraphicControl::MouseMove(shift, x, y);
    if (!showValues_) return;
    const int64_t start = int64_t(originX_) + hAxisGap_, width = ColumnWidth();
    if (x < start || width <= 0 || x >= start + width * colCount_) hoverCol_ = -1;
    else hoverCol_ = int((x - start) / width);
    Refresh();
}

void TStatsView::MouseLeave(TControl* control) {
    TGraphicControl::MouseLeave(control);
    if (!showValues_) return;
    hoverCol_ = -1;
    Refresh();
}

// ---- Properties ----

void TStatsView::SetBkColor(TColor colour) { Change(bkColor_, colour); }
void TStatsView::SetColColor(TColor colour) { Change(colColor_, colour); }
void TStatsView::SetLimitColor(TColor colour) { Change(limitColor_, colour); }
void TStatsView::SetLimitValueColor(TColor colour) { Change(limitValueColor_, colour); }
void TStatsView::SetAxisColor(TColor colour) { Change(axisColor_, colour); }
void TStatsView::SetDrawAxes(bool draw) { Change(drawAxes_, draw); }
void TStatsView::SetShowValues(bool show) { Change(showValues_, show); }
void TStatsView::SetShowLimitValues(bool show) { Change(showLimitValues_, show); }
void TStatsView::SetClearLimitValueBk(bool clear) { Change(clearLimitValueBk_, clear); }
void TStatsView::SetHAxisGap(int gap) { Change(hAxisGap_, gap); }
void TStatsView::SetVAxisGap(int gap) { Change(vAxisGap_, gap); }
void TStatsView::SetOriginX(int origin) { Change(originX_, origin); }
void TStatsView::SetOriginY(int origin) { Change(originY_, origin); }

namespace {

const TPropertyInfo kStatsViewProperties[] = {
    CLASSLIB_NAMED_INTEGER_PROPERTY(TStatsView, BkColor, 0xFFFFFF, &ColorIdentifiers),
    CLASSLIB_NAMED_INTEGER_PROPERTY(TStatsView, ColColor, 0x80, &ColorIdentifiers),
    CLASSLIB_NAMED_INTEGER_PROPERTY(TStatsView, LimitColor, 0x800000, &ColorIdentifiers),
    CLASSLIB_NAMED_INTEGER_PROPERTY(TStatsView, LimitValueColor, 0, &ColorIdentifiers),
    CLASSLIB_NAMED_INTEGER_PROPERTY(TStatsView, AxisColor, 0, &ColorIdentifiers),
    CLASSLIB_BOOLEAN_PROPERTY(TStatsView, DrawAxes, true),
    CLASSLIB_BOOLEAN_PROPERTY(TStatsView, ShowValues, true),
    CLASSLIB_BOOLEAN_PROPERTY(TStatsView, ShowLimitValues, true),
    CLASSLIB_BOOLEAN_PROPERTY(TStatsView, ClearLimitValueBk, false),
    CLASSLIB_INTEGER_PROPERTY(TStatsView, HAxisGap, 2),
    CLASSLIB_INTEGER_PROPERTY(TStatsView, VAxisGap, 2),
    CLASSLIB_INTEGER_PROPERTY(TStatsView, OriginX, 4),
    CLASSLIB_INTEGER_PROPERTY(TStatsView, OriginY, 4),
    CLASSLIB_INTEGER_PROPERTY(TStatsView, ColCount, 11),
    CLASSLIB_DOUBLE_PROPERTY(TStatsView, LowValue, -10),
    CLASSLIB_DOUBLE_PROPERTY(TStatsView, HighValue, 10),
};

}  // namespace

void RegisterStatsViewProperties() { RegisterPropertyTable(TStatsView::StaticClassInfo(), kStatsViewProperties); }

void RegisterStatsView() { RegisterComponents("Statora", {ComponentClass<TStatsView>()}); }
