// TButtonControl, TButton, TCheckBox and TRadioButton.
#include "Buttons.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "ControlDrawing.h"
#include "PropertyTable.h"

namespace {

TForm* ParentFormOf(TControl* control) {
    for (TControl* current = control; current; current = current->GetParent())
        if (auto* form = dynamic_cast<TForm*>(current)) return form;
    return nullptr;
}

TWinControl* FocusedControl() { return TWinControl::FindControl(GetFocus()); }

// Repaints every button of the form (the default outline follows the focus).
void InvalidateButtons(TWinControl* container) {
    if (!container) return;
    for (int i = 0; i < container->GetControlCount(); ++i) {
        TControl* control = container->GetControl(i);
        if (dynamic_cast<TButton*>(control)) control->Invalidate();
        InvalidateButtons(dynamic_cast<TWinControl*>(control));
    }
}

const int kMarkSize = 13;
const int kMarkGap = 4;

}  // namespace

// ---- TButtonControl ----

TButtonControl::TButtonControl(TComponent* owner) : TCustomControl(owner) { SetTabStop(true); }

char TButtonControl::AcceleratorChar() const { return AcceleratorOf(GetText()); }

void TButtonControl::Activate() { Click(); }

bool TButtonControl::DialogChar(char key) {
    if (!IsAcceleratorKey(GetText(), key) || !CanFocus()) return false;
    SetFocus();
    Activate();
    return true;
}

void TButtonControl::CMDialogChar(TMessage& message) {
    if (DialogChar(static_cast<char>(message.WParam))) message.Result = 1;
}

void TButtonControl::CMInvalidating(TMessage& message) {
    Invalidate();
    TCustomControl::Dispatch(message);
}

void TButtonControl::SetPressed(bool pressed) {
    if (pressed == pressed_) return;
    pressed_ = pressed;
    Invalidate();
}

void TButtonControl::KeyDown(WORD& key, TShiftState shift) {
    TCustomControl::KeyDown(key, shift);
    if (key != VK_SPACE || shift.Contains(ssAlt) || shift.Contains(ssCtrl)) return;
    spaceDown_ = true;
    SetPressed(true);
}

void TButtonControl::KeyUp(WORD& key, TShiftState shift) {
    TCustomControl::KeyUp(key, shift);
    if (key != VK_SPACE || !spaceDown_) return;
    spaceDown_ = false;
    SetPressed(false);
    Activate();
}

void TButtonControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft && CanFocus() && !Focused()) SetFocus();
    if (button == mbLeft) {
        mouseDown_ = true;
        SetPressed(true);
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TButtonControl::MouseMove(TShiftState shift, int x, int y) {
    if (mouseDown_) SetPressed(x >= 0 && y >= 0 && x < GetWidth() && y < GetHeight());
    TCustomControl::MouseMove(shift, x, y);
}

// Replaces the base's left-button release: the control activates itself
// (a click for a button, a toggle for a check box) instead of a bare Click.
void TButtonControl::WMLeftButtonUp(TMessage& message) {
    TWMMouse mouse(message);
    bool wasDown = mouseDown_;
    mouseDown_ = false;
    SetPressed(false);
    MouseUp(mbLeft, KeysToShiftState(mouse.Keys), mouse.XPos, mouse.YPos);
    bool inside = mouse.XPos >= 0 && mouse.YPos >= 0 && mouse.XPos < GetWidth() && mouse.YPos < GetHeight();
    if (wasDown && inside) Activate();
    DefaultHandler(message);
}

void TButtonControl::DoEnter() {
    Invalidate();
    TCustomControl::DoEnter();
}

void TButtonControl::DoExit() {
    spaceDown_ = false;
    SetPressed(false);
    Invalidate();
    TCustomControl::DoExit();
}

int TButtonControl::PaintBackgroundAndCaption() {
    TCanvas* canvas = GetCanvas();
    RECT client = GetClientRect();
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->GetBrush()->SetColor(GetColor());
    canvas->FillRect(client);
    RECT measured{kMarkSize + kMarkGap, 0, client.right, client.bottom};
    DrawCaption(measured, DT_SINGLELINE | DT_CALCRECT);
    int height = measured.bottom - measured.top;
    RECT textRect{kMarkSize + kMarkGap, (client.bottom - height) / 2, client.right, 0};
    textRect.bottom = textRect.top + height;
    DrawCaption(textRect, DT_SINGLELINE);
    if (Focused() && !GetText().empty()) {
        LONG right = std::min<LONG>(measured.right + 2, client.right);
        DrawFocusFrame(canvas, RECT{textRect.left - 2, textRect.top - 1, right, textRect.bottom + 1});
    }
    return (client.bottom - kMarkSize) / 2;
}

void TButtonControl::DrawCaption(RECT& rect, UINT flags) {
    TCanvas* canvas = GetCanvas();
    canvas->SetFont(GetFont());
    DrawControlText(canvas, rect, GetText(), flags, GetEnabled());
}

// ---- TButton ----

TButton::TButton(TComponent* owner) : TButtonControl(owner) { SetBounds(0, 0, 75, 25); }

void TButton::SetDefault(bool isDefault) {
    if (isDefault == default_) return;
    default_ = isDefault;
    Invalidate();
}

void TButton::Click() {
    if (modalResult_ != mrNone)
        if (TForm* form = ParentFormOf(this)) form->SetModalResult(modalResult_);
    TButtonControl::Click();
}

void TButton::Activate() { Click(); }

bool TButton::ShowsAsDefault() const {
    TWinControl* focused = FocusedControl();
    if (focused == this) return true;
    return default_ && !dynamic_cast<TButton*>(focused);
}

void TButton::DoEnter() {
    InvalidateButtons(ParentFormOf(this));
    TButtonControl::DoEnter();
}

void TButton::DoExit() {
    InvalidateButtons(ParentFormOf(this));
    TButtonControl::DoExit();
}

void TButton::CMDialogKey(TMessage& message) {
    WORD key = static_cast<WORD>(message.WParam);
    bool answers = false;
    if (key == VK_RETURN) {
        TWinControl* focused = FocusedControl();
        answers = focused == this || (default_ && !dynamic_cast<TButton*>(focused));
    } else if (key == VK_ESCAPE) {
        answers = cancel_;
    }
    if (!answers || !IsShowing()) return;
    Click();
    message.Result = 1;
}

void TButton::WMGetDlgCode(TMessage& message) {
    message.Result = DLGC_BUTTON | (ShowsAsDefault() ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
}

void TButton::Paint() {
    TCanvas* canvas = GetCanvas();
    RECT rect = GetClientRect();
    DrawButtonFace(canvas, rect, IsPressed(), ShowsAsDefault());
    RECT textRect = rect;
    if (IsPressed()) textRect = RECT{textRect.left + 1, textRect.top + 1, textRect.right + 1, textRect.bottom + 1};
    DrawCaption(textRect, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    if (Focused()) DrawFocusFrame(canvas, RECT{rect.left + 2, rect.top + 2, rect.right - 2, rect.bottom - 2});
}


// ---- TCheckBox ----

TCheckBox::TCheckBox(TComponent* owner) : TButtonControl(owner) { SetBounds(0, 0, 97, 17); }

void TCheckBox::SetState(TCheckBoxState state) {
    if (state == state_) return;
    state_ = state;
    Invalidate();
    if (!GetComponentState().Contains(csLoading)) Click();
}

void TCheckBox::Toggle() {
    switch (state_) {
        case cbUnchecked: SetState(cbChecked); break;
        case cbChecked: SetState(allowGrayed_ ? cbGrayed : cbUnchecked); break;
        case cbGrayed: SetState(cbUnchecked); break;
    }
}

void TCheckBox::Activate() { Toggle(); }

void TCheckBox::Paint() {
    int markTop = PaintBackgroundAndCaption();
    DrawCheckMark(GetCanvas(), 0, markTop, static_cast<int>(state_), GetEnabled() && !IsPressed());
}

// ---- TRadioButton ----

TRadioButton::TRadioButton(TComponent* owner) : TButtonControl(owner) { SetBounds(0, 0, 113, 17); }

void TRadioButton::SetChecked(bool checked) {
    if (checked == checked_) return;
    checked_ = checked;
    Invalidate();
    if (!checked) return;
    SetTabStop(true);
    UncheckSiblings();
    if (!GetComponentState().Contains(csLoading)) Click();
}

void TRadioButton::SetParent(TWinControl* parent) {
    TButtonControl::SetParent(parent);
    if (!parent || checked_) return;
    for (int i = 0; i < parent->GetControlCount(); ++i) {
        auto* sibling = dynamic_cast<TRadioButton*>(parent->GetControl(i));
        if (sibling && sibling != this && sibling->GetChecked()) SetTabStop(false);
    }
}

void TRadioButton::UncheckSiblings() {
    TWinControl* parent = GetParent();
    if (!parent) return;
    for (int i = 0; i < parent->GetControlCount(); ++i) {
        auto* sibling = dynamic_cast<TRadioButton*>(parent->GetControl(i));
        if (!sibling || sibling == this) continue;
        sibling->SetChecked(false);
        sibling->SetTabStop(false);
    }
}

void TRadioButton::Activate() {
    if (CanFocus() && !Focused()) SetFocus();
    SetChecked(true);
}

void TRadioButton::MoveToSibling(bool forward) {
    TWinControl* parent = GetParent();
    if (!parent) return;
    std::vector<TRadioButton*> group;
    for (int i = 0; i < parent->GetControlCount(); ++i) {
        auto* sibling = dynamic_cast<TRadioButton*>(parent->GetControl(i));
        if (sibling == this || (sibling && sibling->GetVisible() && sibling->GetEnabled())) group.push_back(sibling);
    }
    int count = static_cast<int>(group.size());
    int index = static_cast<int>(std::find(group.begin(), group.end(), this) - group.begin());
    TRadioButton* next = group[(index + (forward ? 1 : count - 1)) % count];
    if (next == this) return;
    next->SetFocus();
    next->SetChecked(true);
}

void TRadioButton::KeyDown(WORD& key, TShiftState shift) {
    TButtonControl::KeyDown(key, shift);
    if (key == VK_RIGHT || key == VK_DOWN) MoveToSibling(true);
    if (key == VK_LEFT || key == VK_UP) MoveToSibling(false);
}

void TRadioButton::WMGetDlgCode(TMessage& message) { message.Result = DLGC_RADIOBUTTON | DLGC_WANTARROWS; }

void TRadioButton::Paint() {
    int markTop = PaintBackgroundAndCaption();
    DrawRadioMark(GetCanvas(), 0, markTop, checked_, GetEnabled() && !IsPressed());
}

// ---- Published properties ----

namespace {

// ORDER TCheckBoxState: the values are the enumeration's.
const TIdentifier kCheckBoxStateNames[] = {{"cbUnchecked", cbUnchecked}, {"cbChecked", cbChecked}, {"cbGrayed", cbGrayed}};
const TIdentifierList kCheckBoxStates{kCheckBoxStateNames, std::size(kCheckBoxStateNames)};
const TIdentifier kModalResultNames[] = {
    {"mrNone", mrNone}, {"mrOk", mrOk},   {"mrCancel", mrCancel}, {"mrAbort", mrAbort},
    {"mrRetry", mrRetry}, {"mrIgnore", mrIgnore}, {"mrYes", mrYes}, {"mrNo", mrNo}};
const TIdentifierList kModalResults{kModalResultNames, std::size(kModalResultNames)};

const TPropertyInfo kButtonControlProperties[] = {
    CLASSLIB_BOOLEAN_PROPERTY(TButtonControl, TabStop, true),
};
const TPropertyInfo kButtonProperties[] = {
    CLASSLIB_BOOLEAN_PROPERTY(TButton, Default, false),
    CLASSLIB_BOOLEAN_PROPERTY(TButton, Cancel, false),
    CLASSLIB_NAMED_INTEGER_PROPERTY(TButton, ModalResult, mrNone, &kModalResults),
};
// State alone is stored; Checked is its view.
const TPropertyInfo kCheckBoxProperties[] = {
    CLASSLIB_BOOLEAN_PROPERTY(TCheckBox, AllowGrayed, false),
    NotStored(CLASSLIB_BOOLEAN_PROPERTY(TCheckBox, Checked, false)),
    CLASSLIB_ENUM_PROPERTY(TCheckBox, State, TCheckBoxState, cbUnchecked, &kCheckBoxStates),
};
const TPropertyInfo kRadioButtonProperties[] = {
    CLASSLIB_BOOLEAN_PROPERTY(TRadioButton, Checked, false),
};

}  // namespace

void RegisterButtonProperties() {
    RegisterPropertyTable(TButtonControl::StaticClassInfo(), kButtonControlProperties);
    RegisterPropertyTable(TButton::StaticClassInfo(), kButtonProperties);
    RegisterPropertyTable(TCheckBox::StaticClassInfo(), kCheckBoxProperties);
    RegisterPropertyTable(TRadioButton::StaticClassInfo(), kRadioButtonProperties);
}
