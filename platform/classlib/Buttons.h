// TButton, TCheckBox and TRadioButton: push buttons and the two kinds of
// check marks, drawn with our GDI and worked by mouse and keyboard.
#pragma once

#include <string>

#include "CustomControl.h"
#include "Form.h"

// The common part of the three: the caption's "&" accelerator (Alt+key
// arrives as CM_DIALOGCHAR and activates the control), the pressed
// look while the left button or the space bar is held, and the click when it
// is released over the control.
class TButtonControl : public TCustomControl {
    CLASSLIB_CLASS(TButtonControl, TCustomControl)

public:
    explicit TButtonControl(TComponent* owner);

    // The accelerator character of the caption (upper case), 0 when none.
    char AcceleratorChar() const;

protected:
    bool IsPressed() const { return pressed_; }
    // The press ended over the control (mouse up inside, space released).
    virtual void Activate();
    // Answers a dialog character; the base activates the control when the
    // character is its accelerator and it can take the focus.
    virtual bool DialogChar(char key);

    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyUp(WORD& key, TShiftState shift) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void DoEnter() override;
    void DoExit() override;
    // Draws the caption in rect with DrawText flags (DT_CALCRECT measures).
    void DrawCaption(RECT& rect, UINT flags);
    // For check marks: fills the control with Color, draws the caption right
    // of the mark's place (and the focus frame round it); returns the mark's top.
    int PaintBackgroundAndCaption();

    void CMDialogChar(TMessage& message);
    void CMInvalidating(TMessage& message);
    void WMLeftButtonUp(TMessage& message);
    CLASSLIB_MESSAGE_MAP(TButtonControl, TCustomControl, {CM_DIALOGCHAR, &TButtonControl::CMDialogChar},
                         {WM_LBUTTONUP, &TButtonControl::WMLeftButtonUp},
                         {CM_TEXTCHANGED, &TButtonControl::CMInvalidating},
                         {CM_ENABLEDCHANGED, &TButtonControl::CMInvalidating})

private:
    void SetPressed(bool pressed);
    bool pressed_ = false;
    bool mouseDown_ = false;
    bool spaceDown_ = false;
};

// A push button. Clicking it (mouse, space, Enter while focused, its
// accelerator) sets the parent form's ModalResult to its own when that is
// nonzero, then runs OnClick. Enter clicks the Default button unless another
// button has the focus; Esc clicks the Cancel button.
class TButton : public TButtonControl {
    CLASSLIB_CLASS(TButton, TButtonControl)

public:
    // A 75x25 tab stop.
    explicit TButton(TComponent* owner);

    bool GetDefault() const { return default_; }
    void SetDefault(bool isDefault);
    bool GetCancel() const { return cancel_; }
    void SetCancel(bool cancel) { cancel_ = cancel; }
    TModalResult GetModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult result) { modalResult_ = result; }

    void Click() override;

protected:
    void Paint() override;
    void Activate() override;
    void DoEnter() override;
    void DoExit() override;
    // Drawn with the heavy outline: focused, or Default while no button has the focus.
    bool ShowsAsDefault() const;

    void CMDialogKey(TMessage& message);
    void WMGetDlgCode(TMessage& message);
    CLASSLIB_MESSAGE_MAP(TButton, TButtonControl, {CM_DIALOGKEY, &TButton::CMDialogKey},
                         {WM_GETDLGCODE, &TButton::WMGetDlgCode})

private:
    bool default_ = false;
    bool cancel_ = false;
    TModalResult modalResult_ = mrNone;
};

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

// A check box. A click (mouse, space, accelerator) moves State from unchecked
// to checked, to grayed when AllowGrayed, and back to unchecked. Every change
// of State (by the user or by code, but not while loading) runs OnClick.
class TCheckBox : public TButtonControl {
    CLASSLIB_CLASS(TCheckBox, TButtonControl)

public:
    // A 97x17 tab stop.
    explicit TCheckBox(TComponent* owner);

    TCheckBoxState GetState() const { return state_; }
    // cbGrayed is taken even without AllowGrayed (code may show a mixed state).
    void SetState(TCheckBoxState state);
    bool GetChecked() const { return state_ == cbChecked; }
    void SetChecked(bool checked) { SetState(checked ? cbChecked : cbUnchecked); }
    bool GetAllowGrayed() const { return allowGrayed_; }
    void SetAllowGrayed(bool allow) { allowGrayed_ = allow; }
    // The next state in the user's cycle.
    void Toggle();

protected:
    void Paint() override;
    void Activate() override;

private:
    TCheckBoxState state_ = cbUnchecked;
    bool allowGrayed_ = false;
};

// A radio button: checking one unchecks the other radio buttons of the same
// parent. The arrow keys move to the next (or previous) enabled radio button
// of the parent, wrapping round, and check it. Only the checked button of a
// parent is a tab stop once one is checked.
class TRadioButton : public TButtonControl {
    CLASSLIB_CLASS(TRadioButton, TButtonControl)

public:
    // A 113x17 tab stop.
    explicit TRadioButton(TComponent* owner);

    bool GetChecked() const { return checked_; }
    // Checking runs OnClick; unchecking (by code or by a sibling) does not.
    void SetChecked(bool checked);
    // An unchecked button joining a parent whose radio button is checked is no tab stop.
    void SetParent(TWinControl* parent) override;

protected:
    void Paint() override;
    void Activate() override;
    void KeyDown(WORD& key, TShiftState shift) override;

    void WMGetDlgCode(TMessage& message);
    CLASSLIB_MESSAGE_MAP(TRadioButton, TButtonControl, {WM_GETDLGCODE, &TRadioButton::WMGetDlgCode})

private:
    void UncheckSiblings();
    void MoveToSibling(bool forward);
    bool checked_ = false;
};

// The property tables of the button classes (called by the library's start-up).
void RegisterButtonProperties();
