// TGraphObjectComboBox: colour, pen-style and brush-style lists with samples.
#include "GraphObjectComboBox.h"

#include <iterator>

#include "PropertyTable.h"

namespace {

// One item: its value and its names in English and Hungarian (code page 1250).
struct TGraphObjectItem {
    int value;
    const char* names[2];
};

// ORDER COLOURS: the order the list shows.
const TGraphObjectItem kColorItems[] = {
    {clBlack, {"Black", "Fekete"}},
    {clMaroon, {"Maroon", "Bord\xF3"}},
    {clGreen, {"Green", "Z\xF6ld"}},
    {clOlive, {"Olive", "Oliva"}},
    {clNavy, {"Navy", "S\xF6t\xE9tk\xE9k"}},
    {clPurple, {"Purple", "Lila"}},
    {clTeal, {"Teal", "K\xE9kesz\xF6ld"}},
    {clGray, {"Gray", "Sz\xFCrke"}},
    {clSilver, {"Silver", "Ez\xFCst"}},
    {clRed, {"Red", "Piros"}},
    {clLime, {"Lime", "Vil\xE1gosz\xF6ld"}},
    {clYellow, {"Yellow", "S\xE1rga"}},
    {clBlue, {"Blue", "K\xE9k"}},
    {clFuchsia, {"Fuchsia", "Cikl\xE1men"}},
    {clAqua, {"Aqua", "Vil\xE1gosk\xE9k"}},
    {clWhite, {"White", "Feh\xE9r"}},
};

const TGraphObjectItem kPenItems[] = {
    {psSolid, {"Solid", "Folytonos"}},
    {psDash, {"Dash", "Szaggatott"}},
    {psDot, {"Dot", "Pontozott"}},
    {psDashDot, {"Dash dot", "Pont-vonal"}},
    {psDashDotDot, {"Dash dot dot", "Pont-pont-vonal"}},
    {psClear, {"Clear", "\xDCres"}},
    {psInsideFrame, {"Inside frame", "Bels\xF5 keret"}},
};

const TGraphObjectItem kBrushItems[] = {
    {bsSolid, {"Solid", "T\xF6m\xF6r"}},
    {bsClear, {"Clear", "\xDCres"}},
    {bsHorizontal, {"Horizontal", "V\xEDzszintes"}},
    {bsVertical, {"Vertical", "F\xFCgg\xF5leges"}},
    {bsFDiagonal, {"Forward diagonal", "\xC1tl\xF3s el\xF5re"}},
    {bsBDiagonal, {"Backward diagonal", "\xC1tl\xF3s h\xE1tra"}},
    {bsCross, {"Cross", "R\xE1" "cs"}},
    {bsDiagCross, {"Diagonal cross", "\xC1tl\xF3s r\xE1" "cs"}},
};

const char* const kCustomNames[2] = {"Custom", "Egy\xE9ni"};

struct TItemTable {
    const TGraphObjectItem* items;
    int count;
};

TItemTable ItemsOf(TGraphObjectComboStyle style) {
    switch (style) {
        case gocsPenStyle: return {kPenItems, static_cast<int>(std::size(kPenItems))};
        case gocsBrushStyle: return {kBrushItems, static_cast<int>(std::size(kBrushItems))};
        default: return {kColorItems, static_cast<int>(std::size(kColorItems))};
    }
}

constexpr int kSampleWidth = 24;

}  // namespace

TGraphObjectComboBox::TGraphObjectComboBox(TComponent* owner) : TCustomComboBox(owner) {
    TCustomComboBox::SetStyle(csOwnerDrawFixed);
    Fill();
    SetItemIndex(0);
}

void TGraphObjectComboBox::Fill() {
    const TItemTable table = ItemsOf(kind_);
    const int language = language_ == goclHungarian ? 1 : 0;
    TStrings* items = GetItems();
    items->BeginUpdate();
    items->Clear();
    values_.clear();
    for (int i = 0; i < table.count; ++i) {
        items->Add(table.items[i].names[language]);
        values_.push_back(table.items[i].value);
    }
    if (kind_ == gocsColor && hasCustomColor_) {
        items->Add(CustomColorName());
        values_.push_back(lastColor_);
    }
    items->EndUpdate();
}

std::string TGraphObjectComboBox::CustomColorName() const {
    return kCustomNames[language_ == goclHungarian ? 1 : 0];
}

void TGraphObjectComboBox::SetStyle(TGraphObjectComboStyle style) {
    if (style == kind_) return;
    kind_ = style;
    hasCustomColor_ = false;
    Fill();
    SetItemIndex(0);
}

void TGraphObjectComboBox::SetLanguage(TGraphObjectComboLanguage language) {
    if (language != goclHungarian) language = goclEnglish;
    if (language == language_) return;
    language_ = language;
    const int selected = GetItemIndex();
    Fill();
    SetItemIndex(selected);
}

int TGraphObjectComboBox::ItemValue(int index) const {
    return index >= 0 && index < static_cast<int>(values_.size()) ? values_[index] : 0;
}

void TGraphObjectComboBox::SelectValue(int value) {
    for (int i = 0; i < static_cast<int>(values_.size()); ++i) {
        if (values_[i] == value) {
            SetItemIndex(i);
            return;
        }
    }
    SetItemIndex(-1);
}

TColor TGraphObjectComboBox::GetColor() const {
    if (kind_ == gocsColor && GetItemIndex() >= 0) return ItemValue(GetItemIndex());
    return lastColor_;
}

void TGraphObjectComboBox::SetColor(TColor color) {
    lastColor_ = color;
    if (kind_ != gocsColor) return;
    const TItemTable table = ItemsOf(gocsColor);
    bool listed = false;
    for (int i = 0; i < table.count; ++i) listed = listed || table.items[i].value == color;
    if (!listed) {
        hasCustomColor_ = true;
        Fill();
    }
    SelectValue(color);
}

TPenStyle TGraphObjectComboBox::GetPenStyle() const {
    if (kind_ != gocsPenStyle || GetItemIndex() < 0) return psSolid;
    return static_cast<TPenStyle>(ItemValue(GetItemIndex()));
}

void TGraphObjectComboBox::SetPenStyle(TPenStyle style) {
    if (kind_ == gocsPenStyle) SelectValue(style);
}

TBrushStyle TGraphObjectComboBox::GetBrushStyle() const {
    if (kind_ != gocsBrushStyle || GetItemIndex() < 0) return bsSolid;
    return static_cast<TBrushStyle>(ItemValue(GetItemIndex()));
}

void TGraphObjectComboBox::SetBrushStyle(TBrushStyle style) {
    if (kind_ == gocsBrushStyle) SelectValue(style);
}

void TGraphObjectComboBox::DrawSample(TCanvas* canvas, const RECT& rect, int value) {
    TPen* pen = canvas->GetPen();
    TBrush* brush = canvas->GetBrush();
    pen->SetStyle(psSolid);
    pen->SetColor(clBlack);
    switch (kind_) {
        case gocsColor:
            brush->SetStyle(bsSolid);
            brush->SetColor(value);
            canvas->Rectangle(rect);
            break;
        case gocsPenStyle: {
            pen->SetStyle(static_cast<TPenStyle>(value) == psInsideFrame ? psSolid : static_cast<TPenStyle>(value));
            const int middle = (rect.top + rect.bottom) / 2;
            canvas->MoveTo(rect.left, middle);
            canvas->LineTo(rect.right, middle);
            break;
        }
        case gocsBrushStyle:
            // Hatches are drawn black on white, so the pattern shows on any row colour.
            brush->SetStyle(bsSolid);
            brush->SetColor(clWhite);
            canvas->Rectangle(rect);
            brush->SetStyle(static_cast<TBrushStyle>(value));
            brush->SetColor(clBlack);
            if (static_cast<TBrushStyle>(value) != bsClear) canvas->Rectangle(rect);
            break;
    }
    pen->SetStyle(psSolid);
    brush->SetStyle(bsSolid);
}

void TGraphObjectComboBox::DrawItem(int index, const RECT& rect, TOwnerDrawState state) {
    if (OnDrawItem) {
        OnDrawItem(this, index, rect, state);
        return;
    }
    TCanvas* canvas = GetCanvas();
    const bool selected = state.Contains(odSelected);
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->GetBrush()->SetColor(selected ? clHighlight : clWindow);
    canvas->FillRect(rect);
    if (index < 0 || index >= GetCount()) return;
    const RECT sample{rect.left + 3, rect.top + 3, rect.left + 3 + kSampleWidth, rect.bottom - 3};
    DrawSample(canvas, sample, ItemValue(index));
    canvas->SetFont(GetFont());
    canvas->GetFont()->SetColor(selected ? clHighlightText : clWindowText);
    canvas->GetBrush()->SetStyle(bsClear);
    const std::string text = GetItems()->GetStrings(index);
    const int y = rect.top + (rect.bottom - rect.top - canvas->TextHeight(text)) / 2;
    canvas->TextOut(sample.right + 5, y, text);
    canvas->GetBrush()->SetStyle(bsSolid);
}

namespace {

const TIdentifier kStyleNames[] = {
    {"gocsColor", gocsColor}, {"gocsPenStyle", gocsPenStyle}, {"gocsBrushStyle", gocsBrushStyle}};
const TIdentifierList kStyles{kStyleNames, std::size(kStyleNames)};
const TIdentifier kLanguageNames[] = {{"goclEnglish", goclEnglish}, {"goclHungarian", goclHungarian}};
const TIdentifierList kLanguages{kLanguageNames, std::size(kLanguageNames)};

const TPropertyInfo kGraphObjectComboBoxProperties[] = {
    CLASSLIB_ENUM_PROPERTY(TGraphObjectComboBox, Style, TGraphObjectComboStyle, gocsColor, &kStyles),
    CLASSLIB_ENUM_PROPERTY(TGraphObjectComboBox, Language, TGraphObjectComboLanguage, goclEnglish, &kLanguages),
    CLASSLIB_EVENT_PROPERTY(TGraphObjectComboBox, OnChange, TNotifyEvent),
};

}  // namespace

void RegisterGraphObjectComboBoxProperties() {
    RegisterPropertyTable(TGraphObjectComboBox::StaticClassInfo(), kGraphObjectComboBoxProperties);
}
