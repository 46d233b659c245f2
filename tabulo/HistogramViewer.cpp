// THistogramViewer: the values, the colour and style ranges, and the picture.
#include "HistogramViewer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>

#include "PropertyTable.h"
#include "Registration.h"
#include "ViewBuffer.h"

THistogramViewer::THistogramViewer(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 32, 32); }

void THistogramViewer::SetValueCount(int count) {
    if (count < 0) return;
    values_.resize(size_t(count), 0.0);
    Repaint();
}

double THistogramViewer::GetValue(int index) const {
    return index >= 0 && size_t(index) < values_.size() ? values_[size_t(index)] : 0.0;
}

void THistogramViewer::AddValue(int value) {
    values_.push_back(value);
    Repaint();
}

void THistogramViewer::SetValue(int index, double value) {
    if (index < 0 || size_t(index) >= values_.size()) return;
    values_[size_t(index)] = value;
    Repaint();
}

void THistogramViewer::IncValue(int index) {
    if (index >= 0 && size_t(index) < values_.size()) SetValue(index, values_[size_t(index)] + 1.0);
}

void THistogramViewer::DecValue(int index) {
    if (index >= 0 && size_t(index) < values_.size()) SetValue(index, values_[size_t(index)] - 1.0);
}

void THistogramViewer::AddColorInfo(int from, int to, TColor colour) {
    colorInfos_.push_back(TColorInfo{from, to, colour});
    Repaint();
}

void THistogramViewer::AddStyleInfo(int from, int to, TBrushStyle style) {
    styleInfos_.push_back(TStyleInfo{from, to, style});
    Repaint();
}

void THistogramViewer::ClearColorInfos() { colorInfos_.clear(); }
void THistogramViewer::ClearStyleInfos() { styleInfos_.clear(); }

void THistogramViewer::ClearInfos() {
    ClearColorInfos();
    ClearStyleInfos();
}

int THistogramViewer::ColumnWidth() const {
    if (values_.empty()) return 0;
    // Signed: a control narrower than its margins gives the narrowest column,
    // not a huge unsigned width.
    const int64_t width = (int64_t(GetWidth()) - 2 * int64_t(originX_) - 2) / int64_t(values_.size());
    return ViewCoordinate(std::max<int64_t>(width, 1));
}

void THistogramViewer::Paint() {
    TCanvas* canvas = GetCanvas();
    const int64_t width = GetWidth(), height = GetHeight();
    canvas->GetPen()->SetColor(frameColor_);
    canvas->GetBrush()->SetColor(bkColor_);
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->Rectangle(0, 0, int(width), int(height));
    canvas->GetPen()->SetColor(axisColor_);
    canvas->MoveTo(originX_, originY_);
    canvas->LineTo(originX_, ViewCoordinate(height - originY_));
    canvas->LineTo(ViewCoordinate(width - originX_), ViewCoordinate(height - originY_));
    if (values_.empty()) return;
    // The first of equal largest values; nothing to scale to when it is not
    // above 0 (all values 0, all negative, or NaN first).
    double largest = values_[0];
    for (double value : values_)
        if (value > largest) largest = value;
    if (!(largest > 0)) return;
    const int columnWidth = ColumnWidth();
    for (size_t i = 0; i < values_.size(); ++i) {
        if (int64_t(originX_) + int64_t(columnWidth) * int64_t(i) + 2 >= width) break;
        PaintColumn(canvas, i, columnWidth, largest);
    }
}

void THistogramViewer::PaintColumn(TCanvas* canvas, size_t index, int width, double largest) {
    const int i = int(index);
    auto covers = [i](const auto& info) { return info.from <= i && i <= info.to; };
    const auto colourInfo = std::find_if(colorInfos_.begin(), colorInfos_.end(), covers);
    const auto styleInfo = std::find_if(styleInfos_.begin(), styleInfos_.end(), covers);
    const TColor colour = colourInfo != colorInfos_.end() ? colourInfo->colour : columnColor_;
    const TBrushStyle style = styleInfo != styleInfos_.end() ? styleInfo->style : columnStyle_;
    canvas->GetPen()->SetColor(colour);
    canvas->GetBrush()->SetColor(colour);
    canvas->GetBrush()->SetStyle(style);
    const double scaled = std::trunc(values_[index] * (double(GetHeight()) - 2.0 * originY_ - 1) / largest);
    const int64_t h = std::isnan(scaled) ? 0 : int64_t(std::clamp(scaled, -4e18, 4e18));
    const int64_t left = int64_t(originX_) + int64_t(width) * i + 2;
    const int64_t base = int64_t(GetHeight()) - originY_ - 2;
    // Rectangles leave out their right edge: a column one step wide keeps one pixel.
    const int64_t right = left + std::max(width - 1, 1);
    canvas->Rectangle(ViewCoordinate(left), ViewCoordinate(base - h), ViewCoordinate(right), ViewCoordinate(base + 1));
}

void THistogramViewer::SetFrameColor(TColor colour) { Change(frameColor_, colour); }
void THistogramViewer::SetBkColor(TColor colour) { Change(bkColor_, colour); }
void THistogramViewer::SetAxisColor(TColor colour) { Change(axisColor_, colour); }
void THistogramViewer::SetColumnColor(TColor colour) { Change(columnColor_, colour); }
void THistogramViewer::SetColumnStyle(TBrushStyle style) { Change(columnStyle_, style); }
void THistogramViewer::SetOriginX(int origin) { Change(originX_, origin); }
void THistogramViewer::SetOriginY(int origin) { Change(originY_, origin); }

namespace {

const TIdentifier kBrushStyleNames[] = {{"bsSolid", bsSolid},         {"bsClear", bsClear},
                                        {"bsHorizontal", bsHorizontal}, {"bsVertical", bsVertical},
                                        {"bsFDiagonal", bsFDiagonal},   {"bsBDiagonal", bsBDiagonal},
                                        {"bsCross", bsCross},           {"bsDiagCross", bsDiagCross}};
const TIdentifierList kBrushStyles{kBrushStyleNames, std::size(kBrushStyleNames)};

const TPropertyInfo kHistogramViewerProperties[] = {
    CLASSLIB_NAMED_INTEGER_PROPERTY(THistogramViewer, FrameColor, 0, &ColorIdentifiers),
    CLASSLIB_NAMED_INTEGER_PROPERTY(THistogramViewer, BkColor, 0xFFFFFF, &ColorIdentifiers),
    CLASSLIB_NAMED_INTEGER_PROPERTY(THistogramViewer, AxisColor, 0x800000, &ColorIdentifiers),
    CLASSLIB_NAMED_INTEGER_PROPERTY(THistogramViewer, ColumnColor, 0, &ColorIdentifiers),
    CLASSLIB_ENUM_PROPERTY(THistogramViewer, ColumnStyle, TBrushStyle, bsSolid, &kBrushStyles),
    CLASSLIB_INTEGER_PROPERTY(THistogramViewer, OriginX, 5),
    CLASSLIB_INTEGER_PROPERTY(THistogramViewer, OriginY, 5),
};

}  // namespace

void RegisterHistogramViewerProperties() {
    RegisterPropertyTable(THistogramViewer::StaticClassInfo(), kHistogramViewerProperties);
}

void RegisterHistogramViewer() { RegisterComponents("Statora", {ComponentClass<THistogramViewer>()}); }
