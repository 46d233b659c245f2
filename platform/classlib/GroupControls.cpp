// TGroupBox, TRadioGroup, TPanel and TBevel.
#include "GroupControls.h"

#include <algorithm>
#include <iterator>

#include "ControlDrawing.h"
#include "PropertyTable.h"

namespace {

void FillBackground(TCanvas* canvas, const RECT& rect, TColor color) {
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->GetBrush()->SetColor(color);
    canvas->FillRect(rect);
}

// An etched frame: a shadow line with a highlight line one pixel inside-right.
void DrawEtchedFrame(TCanvas* canvas, RECT rect, bool raised) {
    TColor outer = raised ? clBtnHighlight : clBtnShadow;
    TColor inner = raised ? clBtnShadow : clBtnHighlight;
    RECT first{rect.left, rect.top, rect.right - 1, rect.bottom - 1};
    RECT second{rect.left + 1, rect.top + 1, rect.right, rect.bottom};
    canvas->GetBrush()->SetStyle(bsClear);
    canvas->GetPen()->SetStyle(psSolid);
    canvas->GetPen()->SetColor(inner);
    canvas->Rectangle(second);
    canvas->GetPen()->SetColor(outer);
    canvas->Rectangle(first);
}

// The first control inside container that can take the focus, depth first.
TWinControl* FirstFocusable(TWinControl* container) {
    for (int i = 0; i < container->GetControlCount(); ++i) {
        auto* windowed = dynamic_cast<TWinControl*>(container->GetControl(i));
        if (!windowed || !windowed->CanFocus()) continue;
        if (windowed->GetTabStop()) return windowed;
        if (TWinControl* inner = FirstFocusable(windowed)) return inner;
    }
    return nullptr;
}

}  // namespace

// ---- TGroupBox ----

TGroupBox::TGroupBox(TComponent* owner) : TCustomControl(owner) { SetBounds(0, 0, 185, 105); }

int TGroupBox::FrameTop() { return FontLineHeight(GetFont()) / 2; }

void TGroupBox::Paint() {
    TCanvas* canvas = GetCanvas();
    RECT client = GetClientRect();
    FillBackground(canvas, client, GetColor());
    DrawEtchedFrame(canvas, RECT{client.left, client.top + FrameTop(), client.right, client.bottom}, false);
    if (GetText().empty()) return;
    canvas->SetFont(GetFont());
    RECT textRect{8, 0, client.right - 8, client.bottom};
    RECT measured = textRect;
    DrawControlText(canvas, measured, GetText(), DT_SINGLELINE | DT_CALCRECT, true);
    // Clear the frame behind the caption, with a little room either side.
    FillBackground(canvas, RECT{measured.left - 2, 0, std::min<LONG>(measured.right + 2, client.right - 6), measured.bottom}, GetColor());
    DrawControlText(canvas, textRect, GetText(), DT_SINGLELINE, GetEnabled());
}

void TGroupBox::CMInvalidating(TMessage& message) {
    Invalidate();
    TCustomControl::Dispatch(message);
}

// Alt+the caption's accelerator focuses the first control inside.
void TGroupBox::CMDialogChar(TMessage& message) {
    if (!IsAcceleratorKey(GetText(), static_cast<char>(message.WParam))) return;
    if (TWinControl* target = FirstFocusable(this)) {
        target->SetFocus();
        message.Result = 1;
    }
}

// ---- TRadioGroup ----

TRadioGroup::TRadioGroup(TComponent* owner) : TGroupBox(owner), items_(new TStringList) {
    items_->OnChange = [this](TObject*) { UpdateButtons(); };
}

TRadioGroup::~TRadioGroup() {
    Destroying();
    items_->OnChange = nullptr;
    // The buttons are children and go with the group; forget them first.
    buttons_.clear();
    delete items_;
}

void TRadioGroup::SetItems(const TStrings* items) {
    if (items)
        items_->Assign(items);
    else
        items_->Clear();
}

std::string TRadioGroup::GetItemsText() const { return items_->GetText(); }

void TRadioGroup::SetItemsText(const std::string& text) { items_->SetText(text); }

TRadioButton* TRadioGroup::Button(int index) const {
    if (index < 0 || index >= static_cast<int>(buttons_.size())) return nullptr;
    return buttons_[index];
}

void TRadioGroup::SetItemIndex(int index) {
    // While loading, Items may come after ItemIndex: Loaded checks the index.
    if (GetComponentState().Contains(csLoading)) {
        itemIndex_ = index;
        return;
    }
    if (index < -1 || index >= items_->GetCount()) index = -1;
    if (index == itemIndex_) return;
    itemIndex_ = index;
    updating_ = true;
    if (index >= 0 && index < static_cast<int>(buttons_.size())) {
        buttons_[index]->SetChecked(true);
    } else {
        for (TRadioButton* button : buttons_) {
            button->SetChecked(false);
            button->SetTabStop(true);
        }
    }
    updating_ = false;
    if (!GetComponentState().Contains(csLoading)) Click();
}

void TRadioGroup::SetColumns(int columns) {
    columns = std::clamp(columns, 1, 16);
    if (columns == columns_) return;
    columns_ = columns;
    ArrangeButtons();
}

void TRadioGroup::UpdateButtons() {
    int count = items_->GetCount();
    while (static_cast<int>(buttons_.size()) > count) {
        delete buttons_.back();
        buttons_.pop_back();
    }
    while (static_cast<int>(buttons_.size()) < count) {
        auto* button = new TRadioButton(nullptr);
        button->OnClick = [this](TObject* sender) { ButtonClick(sender); };
        button->SetEnabled(GetEnabled());
        button->SetParent(this);
        buttons_.push_back(button);
    }
    updating_ = true;
    for (int i = 0; i < count; ++i) {
        buttons_[i]->SetCaption(items_->GetStrings(i));
        buttons_[i]->SetChecked(i == itemIndex_);
        buttons_[i]->SetTabStop(itemIndex_ < 0 || i == itemIndex_);
    }
    updating_ = false;
    if (itemIndex_ >= count) itemIndex_ = -1;
    ArrangeButtons();
}

void TRadioGroup::ArrangeButtons() {
    int count = static_cast<int>(buttons_.size());
    if (count == 0) return;
    int rows = (count + columns_ - 1) / columns_;
    RECT client = GetClientRect();
    int top = FontLineHeight(GetFont()) + 2;
    int width = std::max(static_cast<int>(client.right - 16) / columns_, 0);
    int height = std::max(static_cast<int>(client.bottom - top - 4), 0);
    int buttonHeight = FontLineHeight(GetFont()) + 4;
    for (int i = 0; i < count; ++i) {
        int column = i / rows;
        int row = i % rows;
        int y = top + row * height / rows + (height / rows - buttonHeight) / 2;
        buttons_[i]->SetBounds(8 + column * width, std::max(y, top), width, buttonHeight);
    }
}

void TRadioGroup::ButtonClick(TObject* sender) {
    if (updating_) return;
    auto found = std::find(buttons_.begin(), buttons_.end(), sender);
    if (found == buttons_.end()) return;
    auto* button = static_cast<TRadioButton*>(sender);
    if (!button->GetChecked()) return;
    SetItemIndex(static_cast<int>(found - buttons_.begin()));
}

void TRadioGroup::Loaded() {
    if (itemIndex_ < -1 || itemIndex_ >= items_->GetCount()) itemIndex_ = -1;
    UpdateButtons();
    TGroupBox::Loaded();
}

void TRadioGroup::Resize() {
    ArrangeButtons();
    TGroupBox::Resize();
}

void TRadioGroup::CMFontChanged(TMessage& message) {
    TGroupBox::Dispatch(message);
    ArrangeButtons();
}

void TRadioGroup::CMEnabledChanged(TMessage& message) {
    for (TRadioButton* button : buttons_) button->SetEnabled(GetEnabled());
    TGroupBox::Dispatch(message);
}

// ---- TPanel ----

TPanel::TPanel(TComponent* owner) : TCustomControl(owner) { SetBounds(0, 0, 185, 41); }

void TPanel::SetBevelInner(TPanelBevel bevel) {
    if (bevel == bevelInner_) return;
    bevelInner_ = bevel;
    Invalidate();
}

void TPanel::SetBevelOuter(TPanelBevel bevel) {
    if (bevel == bevelOuter_) return;
    bevelOuter_ = bevel;
    Invalidate();
}

void TPanel::SetBevelWidth(int width) {
    width = std::max(width, 1);
    if (width == bevelWidth_) return;
    bevelWidth_ = width;
    Invalidate();
}

void TPanel::SetAlignment(TAlignment alignment) {
    if (alignment == alignment_) return;
    alignment_ = alignment;
    Invalidate();
}

void TPanel::Paint() {
    TCanvas* canvas = GetCanvas();
    RECT rect = GetClientRect();
    auto drawBevel = [&](TPanelBevel bevel) {
        if (bevel == bvNone) return;
        if (bevel == bvSpace) {
            DrawFrame3D(canvas, rect, GetColor(), GetColor(), bevelWidth_);
            return;
        }
        bool raised = bevel == bvRaised;
        DrawFrame3D(canvas, rect, raised ? clBtnHighlight : clBtnShadow, raised ? clBtnShadow : clBtnHighlight,
                    bevelWidth_);
    };
    drawBevel(bevelOuter_);
    drawBevel(bevelInner_);
    FillBackground(canvas, rect, GetColor());
    if (GetText().empty()) return;
    static const UINT kAlignmentFlags[] = {DT_LEFT, DT_RIGHT, DT_CENTER};  // ORDER TAlignment
    canvas->SetFont(GetFont());
    RECT textRect{rect.left + 2, rect.top, rect.right - 2, rect.bottom};
    DrawControlText(canvas, textRect, GetText(), DT_SINGLELINE | DT_VCENTER | kAlignmentFlags[alignment_], GetEnabled());
}

void TPanel::CMInvalidating(TMessage& message) {
    Invalidate();
    TCustomControl::Dispatch(message);
}

// ---- TBevel ----

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 50, 50); }

void TBevel::SetShape(TBevelShape shape) {
    if (shape == shape_) return;
    shape_ = shape;
    Invalidate();
}

void TBevel::SetStyle(TBevelStyle style) {
    if (style == style_) return;
    style_ = style;
    Invalidate();
}

void TBevel::Paint() {
    TCanvas* canvas = GetCanvas();
    RECT rect = GetClientRect();
    bool raised = style_ == bsRaised;
    TColor first = raised ? clBtnHighlight : clBtnShadow;
    TColor second = raised ? clBtnShadow : clBtnHighlight;
    auto line = [&](int x1, int y1, int x2, int y2, TColor color) {
        canvas->GetPen()->SetStyle(psSolid);
        canvas->GetPen()->SetColor(color);
        canvas->MoveTo(x1, y1);
        canvas->LineTo(x2, y2);
    };
    int width = rect.right;
    int height = rect.bottom;
    switch (shape_) {
        case bsBox: DrawFrame3D(canvas, rect, first, second); break;
        case bsFrame: DrawEtchedFrame(canvas, rect, raised); break;
        case bsTopLine:
            line(0, 0, width, 0, first);
            line(0, 1, width, 1, second);
            break;
        case bsBottomLine:
            line(0, height - 2, width, height - 2, first);
            line(0, height - 1, width, height - 1, second);
            break;
        case bsLeftLine:
            line(0, 0, 0, height, first);
            line(1, 0, 1, height, second);
            break;
        case bsRightLine:
            line(width - 2, 0, width - 2, height, first);
            line(width - 1, 0, width - 1, height, second);
            break;
        case bsSpacer: break;
    }
}

// ---- Published properties ----

namespace {

// ORDER TPanelBevel, TBevelShape, TBevelStyle: the values are the enumerations'.
const TIdentifier kPanelBevelNames[] = {{"bvNone", bvNone}, {"bvLowered", bvLowered}, {"bvRaised", bvRaised}, {"bvSpace", bvSpace}};
const TIdentifierList kPanelBevels{kPanelBevelNames, std::size(kPanelBevelNames)};
const TIdentifier kBevelShapeNames[] = {{"bsBox", bsBox},           {"bsFrame", bsFrame},         {"bsTopLine", bsTopLine},
                                        {"bsBottomLine", bsBottomLine}, {"bsLeftLine", bsLeftLine}, {"bsRightLine", bsRightLine},
                                        {"bsSpacer", bsSpacer}};
const TIdentifierList kBevelShapes{kBevelShapeNames, std::size(kBevelShapeNames)};
const TIdentifier kBevelStyleNames[] = {{"bsLowered", bsLowered}, {"bsRaised", bsRaised}};
const TIdentifierList kBevelStyles{kBevelStyleNames, std::size(kBevelStyleNames)};

const TPropertyInfo kRadioGroupProperties[] = {
    TPropertyInfo{"Items", TPropertyType::String, nullptr, 0, "", true, nullptr, nullptr, nullptr,
                  [](const TPersistent* object) -> std::string { return static_cast<const TRadioGroup*>(object)->GetItemsText(); },
                  [](TPersistent* object, const std::string& value) { static_cast<TRadioGroup*>(object)->SetItemsText(value); },
                  nullptr, nullptr, nullptr},
    CLASSLIB_INTEGER_PROPERTY(TRadioGroup, ItemIndex, -1),
    CLASSLIB_INTEGER_PROPERTY(TRadioGroup, Columns, 1),
};
const TPropertyInfo kPanelProperties[] = {
    CLASSLIB_ENUM_PROPERTY(TPanel, BevelInner, TPanelBevel, bvNone, &kPanelBevels),
    CLASSLIB_ENUM_PROPERTY(TPanel, BevelOuter, TPanelBevel, bvRaised, &kPanelBevels),
    CLASSLIB_INTEGER_PROPERTY(TPanel, BevelWidth, 1),
    CLASSLIB_ENUM_PROPERTY(TPanel, Alignment, TAlignment, taCenter, &AlignmentIdentifiers),
};
const TPropertyInfo kBevelProperties[] = {
    CLASSLIB_ENUM_PROPERTY(TBevel, Shape, TBevelShape, bsBox, &kBevelShapes),
    CLASSLIB_ENUM_PROPERTY(TBevel, Style, TBevelStyle, bsLowered, &kBevelStyles),
};

}  // namespace

void RegisterGroupControlProperties() {
    RegisterPropertyTable(TRadioGroup::StaticClassInfo(), kRadioGroupProperties);
    RegisterPropertyTable(TPanel::StaticClassInfo(), kPanelProperties);
    RegisterPropertyTable(TBevel::StaticClassInfo(), kBevelProperties);
}
