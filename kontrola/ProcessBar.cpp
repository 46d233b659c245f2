// TProcessBar: a progress bar with a two-coloured percentage text.
#include "ProcessBar.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "PropertyTable.h"

TProcessBar::TProcessBar(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 150, 16); }

template <class Value>
void TProcessBar::Change(Value& field, Value value) {
    if (field == value) return;
    field = value;
    Invalidate();
}

void TProcessBar::SetMin(int min) {
    min_ = min;
    if (max_ < min_) max_ = min_;
    pos_ = std::clamp(pos_, min_, max_);
    Invalidate();
}

void TProcessBar::SetMax(int max) {
    max_ = max;
    if (min_ > max_) min_ = max_;
    pos_ = std::clamp(pos_, min_, max_);
    Invalidate();
}

void TProcessBar::SetPos(int pos) { Change(pos_, std::clamp(pos, min_, max_)); }

int TProcessBar::GetPercentage() const {
    const int64_t range = int64_t{max_} - min_;
    if (range <= 0) return 0;
    return static_cast<int>((int64_t{pos_} - min_) * 100 / range);
}

void TProcessBar::SetPosColor(TColor color) { Change(posColor_, color); }
void TProcessBar::SetTextColor(TColor color) { Change(textColor_, color); }
void TProcessBar::SetBkColor(TColor color) { Change(bkColor_, color); }
void TProcessBar::SetCaptionColor(TColor color) { Change(captionColor_, color); }
void TProcessBar::SetPercent(bool percent) { Change(percent_, percent); }
void TProcessBar::SetPercentPos(TProcessTextPos position) { Change(percentPos_, position); }

std::string TProcessBar::DisplayText() const {
    std::string text = GetText();
    if (percent_) {
        if (!text.empty()) text += ' ';
        text += std::to_string(GetPercentage()) + "%";
    }
    return text;
}

int TProcessBar::FilledWidth() const {
    const int inside = std::max(GetWidth() - 2, 0);
    const int64_t range = int64_t{max_} - min_;
    if (range <= 0) return 0;
    return static_cast<int>(inside * (int64_t{pos_} - min_) / range);
}

void TProcessBar::Paint() {
    TCanvas* canvas = GetCanvas();
    const RECT bounds = GetClientRect();
    // A sunken edge: shadow at the top and left, highlight at the bottom and right.
    canvas->GetPen()->SetColor(clBtnShadow);
    canvas->MoveTo(0, bounds.bottom - 1);
    canvas->LineTo(0, 0);
    canvas->LineTo(bounds.right, 0);
    canvas->GetPen()->SetColor(clBtnHighlight);
    canvas->MoveTo(bounds.right - 1, 1);
    canvas->LineTo(bounds.right - 1, bounds.bottom - 1);
    canvas->LineTo(0, bounds.bottom - 1);

    const RECT inside{1, 1, std::max(bounds.right - 1, 1), std::max(bounds.bottom - 1, 1)};
    const RECT filled{inside.left, inside.top, inside.left + FilledWidth(), inside.bottom};
    const RECT empty{filled.right, inside.top, inside.right, inside.bottom};
    const std::string text = DisplayText();
    canvas->SetFont(GetFont());
    const SIZE extent = canvas->TextExtent(text);
    int x = inside.left + 2;
    if (percentPos_ == ptpCenter) x = inside.left + (inside.right - inside.left - extent.cx) / 2;
    if (percentPos_ == ptpRight) x = inside.right - 2 - extent.cx;
    const int y = inside.top + (inside.bottom - inside.top - extent.cy) / 2;

    // Each part is filled and gets the part of the text that lies over it.
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->GetBrush()->SetColor(posColor_);
    canvas->GetFont()->SetColor(captionColor_);
    canvas->TextRect(filled, x, y, text);
    canvas->GetBrush()->SetColor(bkColor_);
    canvas->GetFont()->SetColor(textColor_);
    canvas->TextRect(empty, x, y, text);
}

namespace {

const TIdentifier kTextPosNames[] = {{"ptpLeft", ptpLeft}, {"ptpCenter", ptpCenter}, {"ptpRight", ptpRight}};
const TIdentifierList kTextPositions{kTextPosNames, std::size(kTextPosNames)};

const TPropertyInfo kProcessBarProperties[] = {
    CLASSLIB_INTEGER_PROPERTY(TProcessBar, Min, 0),
    CLASSLIB_INTEGER_PROPERTY(TProcessBar, Max, 100),
    CLASSLIB_INTEGER_PROPERTY(TProcessBar, Pos, 0),
    CLASSLIB_NAMED_INTEGER_PROPERTY(TProcessBar, PosColor, clNavy, &ColorIdentifiers),
    CLASSLIB_NAMED_INTEGER_PROPERTY(TProcessBar, TextColor, clBlack, &ColorIdentifiers),
    CLASSLIB_NAMED_INTEGER_PROPERTY(TProcessBar, BkColor, clWhite, &ColorIdentifiers),
    CLASSLIB_NAMED_INTEGER_PROPERTY(TProcessBar, CaptionColor, clWhite, &ColorIdentifiers),
    CLASSLIB_BOOLEAN_PROPERTY(TProcessBar, Percent, true),
    CLASSLIB_ENUM_PROPERTY(TProcessBar, PercentPos, TProcessTextPos, ptpCenter, &kTextPositions),
};

}  // namespace

void RegisterProcessBarProperties() {
    RegisterPropertyTable(TProcessBar::StaticClassInfo(), kProcessBarProperties);
}
