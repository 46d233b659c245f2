// TForm: a top-level window of the class library with its border, position,
// close protocol, modal showing through the responder and dialog-key routing.
#pragma once

#include <functional>
#include <string>

#include "EnumSet.h"
#include "WinControl.h"

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow };
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TEnumSet<TBorderIcon>;
enum TFormStyle { fsNormal, fsStayOnTop };
enum TPosition { poDesigned, poScreenCenter, poMainFormCenter, poOwnerFormCenter };
enum TCloseAction { caNone, caHide, caFree, caMinimize };

typedef int TModalResult;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrAbort = 3;
constexpr TModalResult mrRetry = 4;
constexpr TModalResult mrIgnore = 5;
constexpr TModalResult mrYes = 6;
constexpr TModalResult mrNo = 7;

using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;
using TCloseQueryEvent = std::function<void(TObject* sender, bool& canClose)>;

class TForm : public TWinControl {
    CLASSLIB_CLASS(TForm, TWinControl)

public:
    // Makes the form hidden; the stored layout of the most derived class is
    // loaded once that class is complete (a base constructor cannot know it):
    // by LoadStoredLayout, or else by AfterConstruction. OnCreate runs later,
    // in AfterConstruction.
    explicit TForm(TComponent* owner);
    // The same without any stored layout (a form built in code).
    TForm(TComponent* owner, int createNew);
    // Loads the stored layout of the most derived class now, once; nothing for
    // a form made with createNew. A derived constructor calls it last when its
    // controls must exist before the form is shown.
    void LoadStoredLayout();
    // Loads a layout still pending, then runs OnCreate, once, when the most
    // derived constructor has finished: TApplication::CreateForm calls it;
    // otherwise the first Show does.
    virtual void AfterConstruction();
    // Runs OnDestroy, then takes the controls and the window apart.
    ~TForm() override;

    // Before the window exists, the size less the frame and caption its
    // border style will have, so ClientWidth and ClientHeight read from a
    // form text give the client area they name.
    RECT GetClientRect() const override;

    TFormBorderStyle GetBorderStyle() const { return borderStyle_; }
    // Takes effect at once on an existing window (it is made again).
    void SetBorderStyle(TFormBorderStyle style);
    TBorderIcons GetBorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TBorderIcons icons);
    TFormStyle GetFormStyle() const { return formStyle_; }
    void SetFormStyle(TFormStyle style);
    TPosition GetPosition() const { return position_; }
    // Applied each time the form is shown.
    void SetPosition(TPosition position) { position_ = position; }
    bool GetAutoScroll() const { return autoScroll_; }
    void SetAutoScroll(bool autoScroll) { autoScroll_ = autoScroll; }
    bool GetKeyPreview() const { return keyPreview_; }
    // True: the form's OnKeyDown/OnKeyPress see keys before the focused control.
    void SetKeyPreview(bool keyPreview) { keyPreview_ = keyPreview; }
    int GetPixelsPerInch() const { return pixelsPerInch_; }
    void SetPixelsPerInch(int pixels) { pixelsPerInch_ = pixels > 0 ? pixels : 96; }
    int GetTextHeight() const { return textHeight_; }
    void SetTextHeight(int height) { textHeight_ = height; }

    TWinControl* GetActiveControl() const { return activeControl_; }
    // Notes a control of the form that took the focus (by mouse, SetFocus or
    // any other way) as ActiveControl without focusing it again, so that the
    // form gives the focus back to it when it is activated again (after a
    // modal form or a message box closes).
    void FocusedControlChanged(TWinControl* control);
    // Focuses the control when the form has a window and the control can take
    // the focus; otherwise it is focused when the form is shown. A control
    // outside the form throws EInvalidOperation; null clears it.
    void SetActiveControl(TWinControl* control);

    // Shows (making the window), applies Position, focuses ActiveControl or the
    // first tab stop, then runs OnShow. Hiding runs OnHide. A stored layout
    // read before the form is created only records the wish: AfterConstruction
    // shows the form after OnCreate.
    void SetVisible(bool visible) override;
    // A modal form gets mrCancel (its close check follows, as for any modal
    // result). Otherwise OnCloseQuery may refuse, else OnClose chooses the
    // action (caHide by default). Closing the application's main form ends
    // the application's loop.
    void Close();
    // True when OnCloseQuery allows closing (true without a handler).
    virtual bool CloseQuery();
    // Deletes the form once the messages in hand are handled.
    void Release();

    // Shows the form modally: the responder is asked first (ModalKind::Form);
    // an answer ends it at once with that result (0 counts as mrCancel) and
    // no close check, a "run" lets the loop run until a modal result passes
    // the close check. A headless loop that goes idle first gives mrCancel.
    // Showing a visible form modally throws EInvalidOperation.
    virtual TModalResult ShowModal();
    TModalResult GetModalResult() const { return modalResult_; }
    // A nonzero result on a running modal form is checked once the message
    // in hand is handled (so a button's OnClick runs first and may set the
    // result back): CloseQuery decides; a refusal, or an exception escaping
    // it (shown through Application->HandleException), sets the result back
    // to mrNone and the form stays open. The check runs in whichever loop
    // handles messages then (the modal loop, a test driver's pump).
    void SetModalResult(TModalResult result);
    bool IsModal() const { return modal_; }

    // Routes a key-down aimed at a control of a form: KeyPreview first, then
    // Tab/Shift+Tab, arrows, Enter and Esc as dialog keys unless the focused
    // control's WM_GETDLGCODE claims them; Alt+key (WM_SYSCHAR) is offered
    // to the controls as CM_DIALOGCHAR. True when the key was used and must
    // not be dispatched. False for messages of windows outside any form. The
    // application's loops (Run, ProcessMessages, modal forms) call it, and
    // the library installs it as the window layer's message filter, so the
    // layer's loops (message boxes, menus, a test driver's pump) route keys
    // the same way.
    static bool IsDialogKeyMessage(const MSG& message);
    void Notification(TComponent* component, TOperation operation) override;
    // Moves the focus to the next (or previous) tab stop after current,
    // wrapping round; nothing when the form has no tab stop.
    void SelectNext(TWinControl* current, bool forward);

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;

protected:
    void CreateParams(TCreateParams& params) override;
    virtual void DoCreate();
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction& action);
    // Tab, arrows, Enter and Esc not claimed by the focused control: true when used.
    virtual bool DialogKey(WORD key, TShiftState shift);

    void WMClose(TMessage& message);
    void WMActivate(TMessage& message);
    void CMRelease(TMessage& message);
    void CMCloseCheck(TMessage& message);

    CLASSLIB_MESSAGE_MAP(TForm, TWinControl, {WM_CLOSE, &TForm::WMClose}, {WM_ACTIVATE, &TForm::WMActivate},
                         {CM_RELEASE, &TForm::CMRelease}, {CM_CLOSECHECK, &TForm::CMCloseCheck})

private:
    // Publishes the form's properties (once, with the first form made).
    static void RegisterProperties();
    void Construct();
    void ApplyPosition();
    void FocusFirstControl();
    bool PreviewKey(const MSG& message);
    TModalResult RunModal();
    // The close check of a modal result set on the running modal form.
    void CheckModalResult();
    bool CloseQueryShowingErrors();

public:
    // Posted by Release; the form deletes itself when it arrives.
    static constexpr UINT CM_RELEASE = CM_BASE + 0x21;
    // Posted by SetModalResult on a running modal form: runs the close check.
    static constexpr UINT CM_CLOSECHECK = CM_BASE + 0x22;

private:
    TFormBorderStyle borderStyle_ = bsSizeable;
    TBorderIcons borderIcons_;
    TFormStyle formStyle_ = fsNormal;
    TPosition position_ = poDesigned;
    bool autoScroll_ = true;
    bool keyPreview_ = false;
    int pixelsPerInch_ = 96;
    int textHeight_ = 13;
    TWinControl* activeControl_ = nullptr;
    TModalResult modalResult_ = mrNone;
    bool modal_ = false;
    bool modalFinished_ = false;
    bool closeChecking_ = false;
    bool created_ = false;
    bool layoutPending_ = false;
    bool visibleWhenCreated_ = false;
};
