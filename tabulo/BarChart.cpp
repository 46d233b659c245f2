// TBarChart: bars, their hatching, their upward texts and their hit items.
#include "BarChart.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <iterator>

#include "CHRText.h"
#include "ChartHatch.h"
#include "PropertyTable.h"
#include "Registration.h"

namespace {

const int kDesignSampleCount = 6;

}  // namespace

TBarChart::TBarChart(TComponent* owner) : TChartBase(owner) {
    SetCaptionColor(clWhite);
    if (GetComponentState().Contains(csDesigning)) {
        std::srand(unsigned(std::time(nullptr)));
        designSamples_ = std::make_unique<int[]>(kDesignSampleCount);
        for (int i = 0; i < kDesignSampleCount; ++i) designSamples_[i] = std::rand() % 10;
    }
}

TBarChart::~TBarChart() = default;

void TBarChart::PaintChart() {
    IMAGEDATA view;
    if (!BeginChartPaint(view)) return;
    if (GetComponentState().Contains(csDesigning) && values_.empty()) {
        AddValue(15, TColor(0x0000FF), bsSolid, "First", clBlack, false);
        AddValue(8, TColor(0x800000), bsSolid, "Second", clBlack, false);
        AddValue(3, TColor(0x00FFFF), bsSolid, "Third", clBlack, false);
    }
    // Cleared before any stop, so that no item outlives the bars it stood for.
    items_.clear();
    if (values_.empty()) return;
    TSetIDPixel textSetter(view, 0, 1, 0, 0);
    double largest = 0;
    for (const TChartValue& value : values_) largest = std::max(largest, value.value);
    if (!(largest >= 0.00001)) return;
    const double scale = (double(GetHeight()) - upperGap_ - lowerGap_) / largest;
    const int64_t barWidth = (int64_t(GetWidth()) - 2 * int64_t(hGap_)) / int64_t(values_.size());
    if (barWidth <= 0) return;
    for (size_t i = 0; i < values_.size(); ++i) {
        if (values_[i].value >= 1e-20) PaintBar(view, textSetter, i, barWidth, scale, largest);
    }
}

void TBarChart::PaintBar(const IMAGEDATA& view, TSetIDPixel& textSetter, size_t index, int64_t barWidth,
                         double scale, double largest) {
    const TChartValue& value = values_[index];
    const int left = ChartCoordinate(int64_t(index) * barWidth + hGap_);
    const int right = ChartCoordinate(int64_t(left) + barWidth - 1);
    const int bottom = ChartCoordinate(int64_t(GetHeight()) - lowerGap_);
    // The largest value (also an infinite one) reaches the top margin exactly.
    const int top = value.value == largest ? upperGap_ : ChartCoordinate(int64_t(double(bottom) - value.value * scale));
    const TColor fill = value.style == bsSolid ? value.colour : value.secondColour;
    TSetIDPixel(view, fill, 1, 0, 0).FillRect(left, top, right, bottom);
    items_.push_back(TChartItem{{{left, top}, {right, top}, {right, bottom}, {left, bottom}}, int(index)});
    HatchRect(view, value, left, top, right, bottom);

    const int width = ChartCoordinate(barWidth);
    textSetter.colour = GetValueColor();
    DrawTextA(left, top, right, bottom, width, ChartNumberText("%.2f", value.value), valuePos_, ValueTable(),
              textSetter, GetFillValueBk());
    if (!value.caption.empty()) {
        textSetter.colour = GetCaptionColor();
        DrawTextA(left, top, right, bottom, width, value.caption, captionPos_, CaptionTable(), textSetter,
                  fillCaptionBk_);
    }
}

void TBarChart::HatchRect(const IMAGEDATA& view, const TChartValue& value, int left, int top, int right,
                          int bottom) {
    if (!ChartHatched(value.style)) return;
    TChartHatchFunctor hatch(TSetIDPixel(view, value.colour, 1, 0, 0), value.style, GetCrossSize());
    if (top > bottom) std::swap(top, bottom);
    for (int y = std::max(top, 0); y <= std::min(bottom, view.height - 1); ++y) hatch.Span(left, right, y);
}

void TBarChart::DrawTextA(int x, int y, int, int bottom, int barWidth, const std::string& text, TBarChartTextPos pos,
                          TCHRTable* table, TSetIDPixel& setter, bool fillBk) {
    if (table == nullptr) return;
    const int64_t length = GetCHRTextWidth(*table, text.c_str());
    const int64_t height = table->GetHeight();
    // A missing table draws nothing, not even the text's background.
    if (length <= 0 || height <= 0) return;
    const int64_t left = x + (int64_t(barWidth) - height) / 2;
    int64_t lowerEnd;
    switch (pos) {
    case bccpInBar: lowerEnd = int64_t(y) + textGap_ + length; break;
    case bccpOverBar: lowerEnd = int64_t(y) - textGap_; break;
    case bccpTop: lowerEnd = int64_t(upperGap_) + length; break;
    default: lowerEnd = int64_t(bottom) - textGap_; break;
    }
    if (fillBk) {
        const int colour = setter.colour;
        setter.colour = GetBkColor();
        setter.FillRect(ChartCoordinate(left), ChartCoordinate(lowerEnd - length + 1),
                        ChartCoordinate(left + height - 1), ChartCoordinate(lowerEnd));
        setter.colour = colour;
    }
    DrawCHRText(*table, ChartCoordinate(left), ChartCoordinate(lowerEnd), text.c_str(), setter, chrRotate90, 0, 1, 1,
                0);
}

void TBarChart::DesignPaint() {
    TChartBase::DesignPaint();
    TCanvas* canvas = GetCanvas();
    if (!designSamples_ || canvas->GetHandle() == nullptr) return;
    canvas->GetPen()->SetColor(TColor(0x800000));
    canvas->GetBrush()->SetColor(TColor(0x800000));
    const int* samples = designSamples_.get();
    const int highest = std::max(1, *std::max_element(samples, samples + kDesignSampleCount));
    const int width = (GetWidth() - 2 * hGap_) / kDesignSampleCount;
    const int bottom = GetHeight() - lowerGap_;
    for (int i = 0; i < kDesignSampleCount; ++i) {
        const int left = hGap_ + i * width;
        const int top = bottom - samples[i] * (bottom - upperGap_) / highest;
        canvas->Rectangle(left, top, left + width, bottom + 1);
    }
    canvas->GetFont()->SetColor(clBlack);
    canvas->TextOut(10, 10, GetName());
}

void TBarChart::SetCaptionPos(TBarChartTextPos pos) { Change(captionPos_, pos); }
void TBarChart::SetFillCaptionBk(bool fill) { Change(fillCaptionBk_, fill); }
void TBarChart::SetValuePos(TBarChartTextPos pos) { Change(valuePos_, pos); }
void TBarChart::SetHGap(int gap) { Change(hGap_, gap); }
void TBarChart::SetUpperGap(int gap) { Change(upperGap_, gap); }
void TBarChart::SetLowerGap(int gap) { Change(lowerGap_, gap); }
void TBarChart::SetTextGap(int gap) { Change(textGap_, gap); }

namespace {

const TIdentifier kTextPosNames[] = {
    {"bccpInBar", bccpInBar}, {"bccpOverBar", bccpOverBar}, {"bccpBottom", bccpBottom}, {"bccpTop", bccpTop}};
const TIdentifierList kTextPositions{kTextPosNames, std::size(kTextPosNames)};

const TPropertyInfo kBarChartProperties[] = {
    CLASSLIB_ENUM_PROPERTY(TBarChart, CaptionPos, TBarChartTextPos, bccpBottom, &kTextPositions),
    CLASSLIB_BOOLEAN_PROPERTY(TBarChart, FillCaptionBk, false),
    CLASSLIB_ENUM_PROPERTY(TBarChart, ValuePos, TBarChartTextPos, bccpInBar, &kTextPositions),
    // Declared 10 and black while a new bar chart has 4 and white captions:
    // always stored, so that a load gives them back.
    NoDefault(CLASSLIB_INTEGER_PROPERTY(TBarChart, HGap, 10)),
    NoDefault(CLASSLIB_INTEGER_PROPERTY(TBarChart, UpperGap, 10)),
    NoDefault(CLASSLIB_INTEGER_PROPERTY(TBarChart, LowerGap, 10)),
    CLASSLIB_INTEGER_PROPERTY(TBarChart, TextGap, 2),
    NoDefault(CLASSLIB_NAMED_INTEGER_PROPERTY(TBarChart, CaptionColor, clBlack, &ColorIdentifiers)),
};

}  // namespace

void RegisterBarChartProperties() { RegisterPropertyTable(TBarChart::StaticClassInfo(), kBarChartProperties); }

void RegisterBarChart() { RegisterComponents("Statora", {ComponentClass<TBarChart>()}); }
