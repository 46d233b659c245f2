// TPieChart: slices over the circle's points, their hatching, captions and
// value texts, and their hit items.
#include "PieChart.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "CHRText.h"
#include "ChartHatch.h"
#include "PropertyTable.h"
#include "Registration.h"

namespace {

const double kHalfPi = 1.5707963267948966;
const int kMaxRadius = 32767;
// Captions stand in this colour whatever CaptionColor says.
const int kPieCaptionColour = 0x000001;

// What a value counts for in the total and the shares.
double ShareOf(double value) { return std::isfinite(value) && value > 0 ? value : 0; }

// The circle point a slice ends on: (P - 1) * reached / total, kept within
// [start, last] whatever rounding or overflow made of the quotient.
int SliceEnd(int last, double reached, double total, int start) {
    const double end = double(last) * reached / total;
    if (!(end >= start)) return start;
    if (end >= last) return last;
    return int(end);
}

}  // namespace

TPieChart::TPieChart(TComponent* owner) : TChartBase(owner) {}

int TPieChart::Radius() const {
    const int64_t across = (int64_t(GetWidth()) - 2 * int64_t(gap_)) / 2;
    const int64_t down = (int64_t(GetHeight()) - 2 * int64_t(gap_)) / 2;
    return int(std::clamp<int64_t>(std::min(across, down), -1, kMaxRadius));
}

void TPieChart::PaintChart() {
    IMAGEDATA view;
    if (!BeginChartPaint(view)) return;
    const int radius = Radius();
    const int cx = GetWidth() / 2, cy = GetHeight() / 2;
    TPointCollector circle;
    RasterCircle(cx, cy, radius, circle);
    if (!circle.points.empty()) circle.points.push_back(circle.points.front());
    const size_t ownValues = values_.size();
    const bool designing = GetComponentState().Contains(csDesigning);
    if (designing) {
        AddValue(15, TColor(0x0000FF), bsSolid, "First", clBlack, false);
        AddValue(8, TColor(0x800000), bsSolid, "Second", clBlack, false);
        AddValue(3, TColor(0x00FFFF), bsSolid, "Third", clBlack, false);
    }
    items_.clear();
    PaintSlices(view, circle.points, cx, cy, radius);
    // The samples serve this paint only.
    if (designing) values_.resize(ownValues);
}

void TPieChart::PaintSlices(const IMAGEDATA& view, const std::vector<POINT>& circle, int cx, int cy, int radius) {
    double total = 0;
    for (const TChartValue& value : values_) total += ShareOf(value.value);
    if (circle.empty() || !(total > 0)) return;
    const TSetIDPixel textSetter(view, 0, 1, 0, 0);
    const int last = int(circle.size()) - 1;
    int start = 0;
    double cumulative = 0;
    std::vector<TValueText> valueTexts;
    for (size_t i = 0; i < values_.size(); ++i) {
        const bool lastValue = i + 1 == values_.size();
        const double share = ShareOf(values_[i].value);
        const int end = lastValue ? last : SliceEnd(last, share + cumulative, total, start);
        cumulative += share;
        // The centre, the slice's circle points, and the next one to close
        // the gap to the following slice, which is drawn over it.
        std::vector<POINT> polygon{POINT{cx, cy}};
        polygon.insert(polygon.end(), circle.begin() + start, circle.begin() + end + 1);
        if (!lastValue && end != last) polygon.push_back(circle[size_t(end) + 1]);
        FillSlice(view, values_[i], polygon);
        const POINT& middle = polygon[polygon.size() / 2];
        const double angle = std::atan2(double(middle.y) - cy, double(middle.x) - cx);
        DrawCaption(textSetter, values_[i].caption, cx, cy, radius, angle);
        if (showMode_ != pcsmNone) valueTexts.push_back(ValueText(share, total, cx, cy, radius, angle));
        items_.push_back(TChartItem{std::move(polygon), int(i)});
        start = end;
    }
    if (GetValueTable().GetHeight() == 0) return;
    for (const TValueText& text : valueTexts)
        DrawCHRTextScaled(textSetter, text.x, text.y, GetValueTable(), text.text.c_str(), GetValueColor(), 0, 0,
                          GetFillValueBk(), GetBkColor(), -1, 1, 1);
}

void TPieChart::FillSlice(const IMAGEDATA& view, const TChartValue& value, const std::vector<POINT>& polygon) {
    const TColor fill = value.style == bsSolid ? value.colour : value.secondColour;
    TSetIDPixelFunctor filler(TSetIDPixel(view, fill, 1, 0, 0));
    FillPolygon(polygon.data(), int(polygon.size()), filler, 16);
    if (!ChartHatched(value.style)) return;
    TChartHatchFunctor hatch(TSetIDPixel(view, value.colour, 1, 0, 0), value.style, GetCrossSize());
    FillPolygon(polygon.data(), int(polygon.size()), hatch, 16);
}

// The caption stands off the circle in the slice's direction, on the side
// away from the centre in each quadrant.
void TPieChart::DrawCaption(const TSetIDPixel& setter, const std::string& caption, int cx, int cy, int radius,
                            double angle) {
    const TCHRTable& table = GetCaptionTable();
    if (table.GetHeight() == 0) return;
    const double distance = double(radius) + captionGap_;
    int64_t x = int64_t(cx + std::cos(angle) * distance);
    int64_t y = int64_t(cy + std::sin(angle) * distance);
    if (angle >= kHalfPi || angle <= -kHalfPi) x -= GetCHRTextWidth(table, caption.c_str());
    if (angle < 0) y -= table.GetHeight();
    DrawCHRTextScaled(setter, ChartCoordinate(x), ChartCoordinate(y), table, caption.c_str(), kPieCaptionColour, 0,
                      0, false, 0, -1, 1, 1);
}

TPieChart::TValueText TPieChart::ValueText(double share, double total, int cx, int cy, int radius, double angle) {
    const std::string text = showMode_ == pcsmPercent ? ChartNumberText("%.1f%%", share / total * 100)
                                                      : ChartNumberText("%.2f", share);
    const TCHRTable& table = GetValueTable();
    const int halfRadius = radius / 2;
    const int halfWidth = GetCHRTextWidth(table, text.c_str()) / 2, halfHeight = table.GetHeight() / 2;
    const int64_t x = int64_t(cx + std::cos(angle) * halfRadius - halfWidth);
    const int64_t y = int64_t(cy + std::sin(angle) * halfRadius - halfHeight);
    return TValueText{text, ChartCoordinate(x), ChartCoordinate(y)};
}

void TPieChart::DesignPaint() {
    TChartBase::DesignPaint();
    TCanvas* canvas = GetCanvas();
    if (canvas->GetHandle() == nullptr) return;
    const int radius = std::min(GetWidth() / 2 - gap_, GetHeight() / 2 - gap_);
    const int cx = GetWidth() / 2, cy = GetHeight() / 2;
    canvas->GetPen()->SetColor(TColor(0x0000FF));
    canvas->GetBrush()->SetColor(TColor(0x0000FF));
    canvas->Ellipse(cx - radius, cy - radius, cx + radius, cy + radius);
    canvas->GetFont()->SetColor(clBlack);
    canvas->TextOut(10, 10, GetName());
}

void TPieChart::SetGap(int gap) { Change(gap_, gap); }
void TPieChart::SetCaptionGap(int gap) { Change(captionGap_, gap); }
void TPieChart::SetShowMode(TPieChartShowMode mode) { Change(showMode_, mode); }

namespace {

const TIdentifier kShowModeNames[] = {{"pcsmNone", pcsmNone}, {"pcsmValue", pcsmValue}, {"pcsmPercent", pcsmPercent}};
const TIdentifierList kShowModes{kShowModeNames, std::size(kShowModeNames)};

const TPropertyInfo kPieChartProperties[] = {
    CLASSLIB_INTEGER_PROPERTY(TPieChart, Gap, 10),
    CLASSLIB_INTEGER_PROPERTY(TPieChart, CaptionGap, 2),
    // Declared pcsmNone while a new pie shows values: always stored, so that
    // a load gives pcsmNone back.
    NoDefault(CLASSLIB_ENUM_PROPERTY(TPieChart, ShowMode, TPieChartShowMode, pcsmNone, &kShowModes)),
};

}  // namespace

void RegisterPieChartProperties() { RegisterPropertyTable(TPieChart::StaticClassInfo(), kPieChartProperties); }

void RegisterPieChart() { RegisterComponents("Statora", {ComponentClass<TPieChart>()}); }
