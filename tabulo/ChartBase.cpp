// TChartBase: chart values, the buffer bitmap and its view, the caption and
// value tables, and the press that hits a drawn value.
#include "ChartBase.h"

#include <cstring>

#include "BufferImageData.h"
#include "PropertyTable.h"
#include "RasterDrawing.h"
#include "ViewBuffer.h"

namespace {

// The charts rasterise with 16 fraction bits.
const int kChartShift = 16;

// Bit-exact equality, so that a NaN the handler left alone counts as unchanged.
bool SameChartValue(const TChartValue& a, const TChartValue& b) {
    return std::memcmp(&a.value, &b.value, sizeof a.value) == 0 && a.colour == b.colour &&
           a.secondColour == b.secondColour && a.style == b.style && a.caption == b.caption;
}

}  // namespace

TChartBase::TChartBase(TComponent* owner) : TGraphicControl(owner) {
    // Sized before the buffer exists, so that the buffer waits for the first resize.
    SetBounds(0, 0, 32, 32);
    buffer_ = std::make_unique<TBitmap>();
    captionTable_ = std::make_unique<TCHRTable>();
    valueTable_ = std::make_unique<TCHRTable>();
    LoadFonts();
    constructed_ = true;
}

TChartBase::~TChartBase() { Destroying(); }

void TChartBase::LoadFonts() {
    LoadCHRTable(*captionTable_, captionFont_, captionFontSize_);
    LoadCHRTable(*valueTable_, valueFont_, valueFontSize_);
}

void TChartBase::PrepareImageData(IMAGEDATA& view) { ::PrepareImageData(*buffer_, view); }

void TChartBase::SetupBuffer() { SizeViewBuffer(*buffer_, GetWidth(), GetHeight()); }

void TChartBase::Paint() {
    if (constructed_ && buffer_ && GetVisible()) DrawViewBuffer(*this, *buffer_);
}

void TChartBase::DesignPaint() {
    TCanvas* canvas = GetCanvas();
    if (canvas->GetHandle() == nullptr) return;
    canvas->GetPen()->SetColor(bkColor_);
    canvas->GetBrush()->SetColor(bkColor_);
    canvas->Rectangle(0, 0, GetWidth(), GetHeight());
}

void TChartBase::PaintChart() {}

void TChartBase::Refresh() {
    PaintChart();
    Paint();
}

void TChartBase::Resize() {
    if (buffer_ && constructed_) {
        SetupBuffer();
        PaintChart();
        Paint();
    }
    TGraphicControl::Resize();
}

void TChartBase::WMSize(TMessage&) { Resize(); }

bool TChartBase::BeginChartPaint(IMAGEDATA& view) {
    if (!constructed_ || !buffer_ || !BeginBufferPaint(*buffer_, GetWidth(), GetHeight(), view)) return false;
    TSetIDPixel(view, bkColor_, 1, 0, 0).FillRect(0, 0, view.width - 1, view.height - 1);
    return true;
}

std::string TChartBase::ChartNumberText(const char* format, double number) {
    std::string text = ViewNumberText(format, number);
    while (!text.empty() && text.back() == '0') text.pop_back();
    if (!text.empty() && text.back() == '.') text.pop_back();
    return text;
}

int TChartBase::ChartCoordinate(int64_t value) { return ViewCoordinate(value); }

void TChartBase::AddValue(double value, TColor colour, TBrushStyle style, const std::string& caption,
                          TColor secondColour, bool refresh) {
    values_.push_back(TChartValue{value < 0 ? 0 : value, colour, secondColour, style, caption});
    if (refresh) Refresh();
}

void TChartBase::SetValue(int index, double value, bool refresh) {
    if (index < 0 || size_t(index) >= values_.size()) return;
    values_[size_t(index)].value = value < 0 ? 0 : value;
    if (refresh) Refresh();
}

void TChartBase::IncValue(int index, double delta, bool refresh) {
    if (index < 0 || size_t(index) >= values_.size()) return;
    values_[size_t(index)].value += delta;
    if (refresh) Refresh();
}

void TChartBase::DecValue(int index, double delta, bool refresh) {
    if (index < 0 || size_t(index) >= values_.size()) return;
    double& value = values_[size_t(index)].value;
    value -= delta;
    if (value < 0) value = 0;
    if (refresh) Refresh();
}

void TChartBase::DeleteCol(int index, bool refresh) {
    if (index < 0 || size_t(index) >= values_.size()) return;
    values_.erase(values_.begin() + index);
    if (refresh) Refresh();
}

void TChartBase::DeleteCols(bool refresh) {
    values_.clear();
    if (refresh) Refresh();
}

void TChartBase::Clear(bool refresh) { DeleteCols(refresh); }

void TChartBase::GetValues(std::vector<TChartValue>& values) const { values = values_; }

void TChartBase::ChangeFont(std::string& font, const std::string& value) {
    font = value;
    LoadFonts();
    Refresh();
}

void TChartBase::ChangeFontSize(int& size, int value) {
    size = value;
    LoadFonts();
    Refresh();
}

void TChartBase::SetBkColor(TColor colour) { Change(bkColor_, colour); }
void TChartBase::SetCaptionColor(TColor colour) { Change(captionColor_, colour); }
void TChartBase::SetValueColor(TColor colour) { Change(valueColor_, colour); }
void TChartBase::SetFillValueBk(bool fill) { Change(fillValueBk_, fill); }
void TChartBase::SetCaptionFont(const std::string& font) { ChangeFont(captionFont_, font); }
void TChartBase::SetValueFont(const std::string& font) { ChangeFont(valueFont_, font); }
void TChartBase::SetCaptionFontSize(int size) { ChangeFontSize(captionFontSize_, size); }
void TChartBase::SetValueFontSize(int size) { ChangeFontSize(valueFontSize_, size); }

void TChartBase::SetCrossSize(int size) {
    if (size >= 1) Change(crossSize_, size);
}

void TChartBase::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnItemClick) {
        for (const TChartItem& item : items_) {
            // Values removed since the last paint leave items without a value.
            if (item.valueIndex < 0 || size_t(item.valueIndex) >= values_.size()) continue;
            if (PolygonContainsDot(item.outline.data(), int(item.outline.size()), x, y, kChartShift)) {
                itemClick_ = true;
                FireItemClick(button, shift, x, y, size_t(item.valueIndex));
                return;
            }
        }
    }
    itemClick_ = false;
    TGraphicControl::MouseDown(button, shift, x, y);
}

// The handler works on a copy, so that values it adds or removes meanwhile
// leave it nothing dangling; what it changed is stored back afterwards.
void TChartBase::FireItemClick(TMouseButton button, TShiftState shift, int x, int y, size_t index) {
    const TChartValue before = values_[index];
    TChartValue value = before;
    OnItemClick(this, button, shift, x, y, value);
    if (index < values_.size() && !SameChartValue(value, before)) values_[index] = value;
}

void TChartBase::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (!itemClick_) TGraphicControl::MouseUp(button, shift, x, y);
}

namespace {

const TPropertyInfo kChartBaseProperties[] = {
    CLASSLIB_NAMED_INTEGER_PROPERTY(TChartBase, BkColor, clWhite, &ColorIdentifiers),
    CLASSLIB_NAMED_INTEGER_PROPERTY(TChartBase, CaptionColor, clBlack, &ColorIdentifiers),
    CLASSLIB_NAMED_INTEGER_PROPERTY(TChartBase, ValueColor, clWhite, &ColorIdentifiers),
    CLASSLIB_BOOLEAN_PROPERTY(TChartBase, FillValueBk, false),
    // Declared without a default (the names) or with 0 (the sizes) while a
    // new chart has others: always stored, so that a load gives them back.
    NoDefault(CLASSLIB_STRING_PROPERTY(TChartBase, CaptionFont, "")),
    NoDefault(CLASSLIB_STRING_PROPERTY(TChartBase, ValueFont, "")),
    NoDefault(CLASSLIB_INTEGER_PROPERTY(TChartBase, CaptionFontSize, 0)),
    NoDefault(CLASSLIB_INTEGER_PROPERTY(TChartBase, ValueFontSize, 0)),
    CLASSLIB_EVENT_PROPERTY(TChartBase, OnItemClick, TChartItemClickEvent),
};

}  // namespace

void RegisterChartBaseProperties() { RegisterPropertyTable(TChartBase::StaticClassInfo(), kChartBaseProperties); }
