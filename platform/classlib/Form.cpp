// TForm: top-level windows, closing, modal showing and dialog keys.
#include "Form.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "Application.h"
#include "Exceptions.h"
#include "PropertyTable.h"
#include "Responder.h"
#include "Streaming.h"

TForm::TForm(TComponent* owner) : TWinControl(owner) {
    Construct();
    layoutPending_ = true;
}

TForm::TForm(TComponent* owner, int) : TWinControl(owner) { Construct(); }

void TForm::LoadStoredLayout() {
    if (!layoutPending_) return;
    layoutPending_ = false;
    InitInheritedComponent(this, TForm::StaticClassInfo());
}

void TForm::AfterConstruction() {
    LoadStoredLayout();
    if (created_) return;
    created_ = true;
    DoCreate();
    if (visibleWhenCreated_) {
        visibleWhenCreated_ = false;
        SetVisible(true);
    }
}

void TForm::Construct() {
    RegisterProperties();
    borderIcons_ << biSystemMenu << biMinimize << biMaximize;
    SetVisible(false);
    SetBounds(0, 0, 320, 240);
    Screen->AddForm(this);
}

TForm::~TForm() {
    if (OnDestroy) OnDestroy(this);
    Screen->RemoveForm(this);
    Destroying();
}

void TForm::DoCreate() {
    if (OnCreate) OnCreate(this);
}

namespace {

// The frame styles of a border style: the window's, and the client size of a
// form that has no window yet.
void AddFrameStyles(TFormBorderStyle border, DWORD& style, DWORD& exStyle) {
    switch (border) {
        case bsNone: style |= WS_POPUP; break;
        case bsSingle: style |= WS_CAPTION | WS_BORDER; break;
        case bsSizeable: style |= WS_CAPTION | WS_THICKFRAME; break;
        case bsDialog: style |= WS_POPUP | WS_CAPTION | WS_DLGFRAME; break;
        case bsToolWindow:
            style |= WS_CAPTION | WS_BORDER;
            exStyle |= WS_EX_TOOLWINDOW;
            break;
    }
}

}  // namespace

void TForm::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.Style &= ~(WS_CHILD | WS_VISIBLE);
    params.Style |= WS_CLIPCHILDREN;
    params.WndParent = nullptr;
    AddFrameStyles(borderStyle_, params.Style, params.ExStyle);
    if (borderStyle_ != bsNone && borderIcons_.Contains(biSystemMenu)) params.Style |= WS_SYSMENU;
    if (borderStyle_ != bsNone && borderStyle_ != bsDialog && borderStyle_ != bsToolWindow) {
        if (borderIcons_.Contains(biMinimize)) params.Style |= WS_MINIMIZEBOX;
        if (borderIcons_.Contains(biMaximize)) params.Style |= WS_MAXIMIZEBOX;
    }
    if (formStyle_ == fsStayOnTop) params.ExStyle |= WS_EX_TOPMOST;
}

RECT TForm::GetClientRect() const {
    if (HandleAllocated()) return TWinControl::GetClientRect();
    DWORD style = 0, exStyle = 0;
    AddFrameStyles(borderStyle_, style, exStyle);
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    return RECT{0, 0, std::max(0, GetWidth() - (frame.right - frame.left)),
                std::max(0, GetHeight() - (frame.bottom - frame.top))};
}

void TForm::SetBorderStyle(TFormBorderStyle style) {
    if (style == borderStyle_) return;
    borderStyle_ = style;
    RecreateWnd();
}

void TForm::SetBorderIcons(TBorderIcons icons) {
    borderIcons_ = icons;
    RecreateWnd();
}

void TForm::SetFormStyle(TFormStyle style) {
    if (style == formStyle_) return;
    formStyle_ = style;
    RecreateWnd();
}

static bool IsInside(const TControl* control, const TWinControl* container) {
    for (const TControl* c = control; c; c = c->GetParent())
        if (c == container) return true;
    return false;
}

void TForm::SetActiveControl(TWinControl* control) {
    if (control && (control == this || !IsInside(control, this)))
        throw EInvalidOperation("Invalid active control");
    activeControl_ = control;
    if (control && HandleAllocated() && GetVisible() && control->CanFocus()) control->SetFocus();
}

// The link tells the form when the control goes, which a control owned by
// another component (the edit box of a grid) would not otherwise do.
void TForm::FocusedControlChanged(TWinControl* control) {
    if (control == activeControl_ || control == this || !IsInside(control, this)) return;
    activeControl_ = control;
    FreeNotification(control);
}

void TForm::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == opRemove && component == activeControl_) activeControl_ = nullptr;
}

void TForm::SetVisible(bool visible) {
    // A layout read before the form is created shows it once OnCreate has run
    // and its controls exist.
    if (!created_ && GetComponentState().Contains(csLoading)) {
        visibleWhenCreated_ = visible;
        return;
    }
    if (visible == GetVisible()) return;
    if (visible) {
        AfterConstruction();
        HandleNeeded();
        ApplyPosition();
        TWinControl::SetVisible(true);
        FocusFirstControl();
        DoShow();
    } else {
        TWinControl::SetVisible(false);
        DoHide();
    }
}

void TForm::DoShow() {
    if (OnShow) OnShow(this);
}

void TForm::DoHide() {
    if (OnHide) OnHide(this);
}

void TForm::ApplyPosition() {
    TForm* reference = nullptr;
    if (position_ == poMainFormCenter) reference = Application->GetMainForm();
    if (position_ == poOwnerFormCenter) reference = dynamic_cast<TForm*>(GetOwner());
    if (reference == this) reference = nullptr;
    RECT area{0, 0, Screen->GetWidth(), Screen->GetHeight()};
    if (reference) area = reference->GetBoundsRect();
    if (position_ == poDesigned) return;
    SetBounds(area.left + (area.right - area.left - GetWidth()) / 2,
              area.top + (area.bottom - area.top - GetHeight()) / 2, GetWidth(), GetHeight());
}

// The focusable tab stops inside container, in tab order, depth first.
static void CollectTabStops(TWinControl* container, std::vector<TWinControl*>& stops) {
    for (int i = 0; i < container->GetControlCount(); ++i) {
        auto* windowed = dynamic_cast<TWinControl*>(container->GetControl(i));
        if (!windowed) continue;
        if (windowed->GetTabStop() && windowed->CanFocus()) stops.push_back(windowed);
        CollectTabStops(windowed, stops);
    }
}

void TForm::FocusFirstControl() {
    if (activeControl_ && activeControl_->CanFocus()) {
        activeControl_->SetFocus();
        return;
    }
    std::vector<TWinControl*> stops;
    CollectTabStops(this, stops);
    if (!stops.empty()) {
        activeControl_ = stops.front();
        stops.front()->SetFocus();
    }
}

void TForm::SelectNext(TWinControl* current, bool forward) {
    std::vector<TWinControl*> stops;
    CollectTabStops(this, stops);
    if (stops.empty()) return;
    int count = static_cast<int>(stops.size());
    int index = -1;
    for (int i = 0; i < count; ++i)
        if (stops[i] == current) index = i;
    int next = index < 0 ? (forward ? 0 : count - 1) : (index + (forward ? 1 : count - 1)) % count;
    activeControl_ = stops[next];
    stops[next]->SetFocus();
}

bool TForm::CloseQuery() {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    return canClose;
}

void TForm::DoClose(TCloseAction& action) {
    if (OnClose) OnClose(this, action);
}

void TForm::Close() {
    if (modal_) {
        SetModalResult(mrCancel);
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction action = caHide;
    DoClose(action);
    if (action == caNone) return;
    if (this == Application->GetMainForm()) {
        Application->Terminate();
        return;
    }
    if (action == caHide || action == caMinimize) Hide();
    if (action == caFree) Release();
}

void TForm::Release() { PostMessageA(GetHandle(), CM_RELEASE, 0, 0); }

void TForm::CMRelease(TMessage&) { delete this; }

void TForm::WMClose(TMessage&) { Close(); }

void TForm::WMActivate(TMessage& message) {
    bool active = LOWORD(message.WParam) != WA_INACTIVE;
    if (active && activeControl_ && activeControl_->CanFocus() && !activeControl_->Focused())
        activeControl_->SetFocus();
    if (active && OnActivate) OnActivate(this);
    if (!active && OnDeactivate) OnDeactivate(this);
    DefaultHandler(message);
}

void TForm::SetModalResult(TModalResult result) {
    modalResult_ = result;
    // Posted, so that the check waits for the message in hand (a button's
    // OnClick) and runs in any loop, the modal loop or a test driver's pump.
    if (modal_ && result != mrNone && !modalFinished_) PostMessageA(GetHandle(), CM_CLOSECHECK, 0, 0);
}

void TForm::CMCloseCheck(TMessage&) { CheckModalResult(); }

void TForm::CheckModalResult() {
    if (!modal_ || modalFinished_ || modalResult_ == mrNone || closeChecking_) return;
    closeChecking_ = true;
    bool canClose = CloseQueryShowingErrors();
    closeChecking_ = false;
    if (canClose)
        modalFinished_ = true;
    else
        modalResult_ = mrNone;
}

bool TForm::CloseQueryShowingErrors() {
    try {
        return CloseQuery();
    } catch (const Exception& error) {
        Application->HandleException(error);
    } catch (const std::exception& error) {
        Application->HandleException(Exception(error.what()));
    }
    return false;
}

// The form's windowed controls as the responder sees them.
static void DescribeControls(TWinControl* container, std::vector<win32::ModalItem>& items) {
    for (int i = 0; i < container->GetControlCount(); ++i) {
        TControl* control = container->GetControl(i);
        win32::ModalItem item;
        item.identifier = static_cast<int>(items.size());
        item.text = control->GetText();
        item.enabled = control->GetEnabled();
        item.rect = control->GetBoundsRect();
        items.push_back(item);
    }
}

// Disables the other visible forms while a modal form runs, and enables them again.
class OtherFormsDisabled {
public:
    explicit OtherFormsDisabled(TForm* modal) {
        for (int i = 0; i < Screen->GetFormCount(); ++i) {
            TForm* form = Screen->GetForm(i);
            if (form == modal || !form->HandleAllocated() || !form->GetVisible()) continue;
            HWND window = form->GetHandle();
            if (!IsWindowEnabled(window)) continue;
            EnableWindow(window, FALSE);
            disabled_.push_back(window);
        }
    }
    ~OtherFormsDisabled() { Restore(); }
    // Enables them again (once).
    void Restore() {
        for (HWND window : disabled_)
            if (IsWindow(window)) EnableWindow(window, TRUE);
        disabled_.clear();
    }

private:
    std::vector<HWND> disabled_;
};

TModalResult TForm::ShowModal() {
    if (GetVisible() || modal_) throw EInvalidOperation("Cannot make a visible window modal");
    modal_ = true;
    modalFinished_ = false;
    modalResult_ = mrNone;
    TModalResult result = mrCancel;
    // The window active before goes back to being active once the form hides,
    // and so its form focuses its active control again.
    const HWND previous = GetActiveWindow();
    OtherFormsDisabled disabled(this);
    try {
        result = RunModal();
    } catch (...) {
        modal_ = false;
        Hide();
        throw;
    }
    modal_ = false;
    Hide();
    disabled.Restore();
    if (previous && previous != GetHandle() && IsWindow(previous) && IsWindowVisible(previous) &&
        IsWindowEnabled(previous))
        SetActiveWindow(previous);
    modalResult_ = result;
    return result;
}

TModalResult TForm::RunModal() {
    Show();
    win32::ModalInteraction interaction;
    interaction.kind = win32::ModalKind::Form;
    interaction.window = GetHandle();
    if (TForm* main = Application->GetMainForm(); main && main != this && main->HandleAllocated())
        interaction.owner = main->GetHandle();
    interaction.caption = GetCaption();
    interaction.defaultAnswer = mrCancel;
    DescribeControls(this, interaction.items);
    win32::ModalReply reply = win32::AskResponder(interaction);
    if (!reply.run) return reply.result != mrNone ? reply.result : mrCancel;
    // The application's own loop, so that dialog keys and exceptions are
    // handled inside modal forms as outside. A result set before the loop
    // (by the responder's input) is checked at once.
    CheckModalResult();
    while (!modalFinished_) {
        if (!Application->HandleModalMessage()) break;
        CheckModalResult();
    }
    return modalResult_ != mrNone ? modalResult_ : mrCancel;
}

// The form a window belongs to: the form of its top-level control.
static TForm* FormOfWindow(HWND window) {
    TWinControl* control = TWinControl::FindControl(window);
    while (control && control->GetParent()) control = control->GetParent();
    return dynamic_cast<TForm*>(control);
}

bool TForm::PreviewKey(const MSG& message) {
    if (!keyPreview_ || message.hwnd == GetHandle()) return false;
    WORD key = static_cast<WORD>(message.wParam);
    if (message.message == WM_KEYDOWN) {
        KeyDown(key, KeyDataToShiftState(message.lParam));
    } else {
        char character = static_cast<char>(message.wParam);
        KeyPress(character);
        key = static_cast<BYTE>(character);
    }
    return key == 0;
}

// Which WM_GETDLGCODE answer lets a control keep a key.
static UINT CodeClaimingKey(WORD key) {
    switch (key) {
        case VK_TAB: return DLGC_WANTTAB | DLGC_WANTALLKEYS;
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN: return DLGC_WANTARROWS | DLGC_WANTALLKEYS;
        case VK_RETURN:
        case VK_ESCAPE: return DLGC_WANTALLKEYS;
        default: return 0;
    }
}

static bool BroadcastDialogKey(TWinControl* container, WORD key, LPARAM keyData, UINT notice = CM_DIALOGKEY);

bool TForm::IsDialogKeyMessage(const MSG& message) {
    if (message.message != WM_KEYDOWN && message.message != WM_CHAR && message.message != WM_SYSCHAR) return false;
    TForm* form = FormOfWindow(message.hwnd);
    if (!form || !form->GetEnabled()) return false;
    // Alt+key: offered to the controls as CM_DIALOGCHAR (accelerators of captions).
    if (message.message == WM_SYSCHAR)
        return BroadcastDialogKey(form, static_cast<WORD>(message.wParam), message.lParam, CM_DIALOGCHAR);
    if (form->PreviewKey(message)) return true;
    if (message.message != WM_KEYDOWN) return false;
    WORD key = static_cast<WORD>(message.wParam);
    UINT claiming = CodeClaimingKey(key);
    if (claiming == 0) return false;
    MSG copy = message;
    LRESULT code = SendMessageA(message.hwnd, WM_GETDLGCODE, key, reinterpret_cast<LPARAM>(&copy));
    if (code & claiming) return false;
    return form->DialogKey(key, KeyDataToShiftState(message.lParam));
}

// Offers the key as CM_DIALOGKEY (or another notice) to every control, depth
// first; true once one answers.
static bool BroadcastDialogKey(TWinControl* container, WORD key, LPARAM keyData, UINT notice) {
    for (int i = 0; i < container->GetControlCount(); ++i) {
        TControl* control = container->GetControl(i);
        if (!control->GetVisible() || !control->GetEnabled()) continue;
        if (control->Perform(notice, key, keyData) != 0) return true;
        auto* windowed = dynamic_cast<TWinControl*>(control);
        if (windowed && BroadcastDialogKey(windowed, key, keyData, notice)) return true;
    }
    return false;
}

bool TForm::DialogKey(WORD key, TShiftState shift) {
    HWND focused = GetFocus();
    TWinControl* current = TWinControl::FindControl(focused);
    switch (key) {
        case VK_TAB:
            if (shift.Contains(ssCtrl) || shift.Contains(ssAlt)) return false;
            SelectNext(current, !shift.Contains(ssShift));
            return true;
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN:
            if (!current || current == this) return false;
            SelectNext(current, key == VK_RIGHT || key == VK_DOWN);
            return true;
        default: return BroadcastDialogKey(this, key, 0);
    }
}

// ---- Published properties ----

namespace {

// ORDER TFormBorderStyle, TBorderIcon, TFormStyle, TPosition: the values are the enumerations'.
const TIdentifier borderStyleNames[] = {
    {"bsNone", bsNone}, {"bsSingle", bsSingle}, {"bsSizeable", bsSizeable}, {"bsDialog", bsDialog},
    {"bsToolWindow", bsToolWindow}};
const TIdentifier borderIconNames[] = {
    {"biSystemMenu", biSystemMenu}, {"biMinimize", biMinimize}, {"biMaximize", biMaximize}, {"biHelp", biHelp}};
const TIdentifier formStyleNames[] = {{"fsNormal", fsNormal}, {"fsStayOnTop", fsStayOnTop}};
const TIdentifier positionNames[] = {{"poDesigned", poDesigned},
                                     {"poScreenCenter", poScreenCenter},
                                     {"poMainFormCenter", poMainFormCenter},
                                     {"poOwnerFormCenter", poOwnerFormCenter}};
const TIdentifierList borderStyles{borderStyleNames, std::size(borderStyleNames)};
const TIdentifierList borderIcons{borderIconNames, std::size(borderIconNames)};
const TIdentifierList formStyles{formStyleNames, std::size(formStyleNames)};
const TIdentifierList positions{positionNames, std::size(positionNames)};

const TPropertyInfo formProperties[] = {
    CLASSLIB_STRING_PROPERTY(TForm, Caption, ""),
    CLASSLIB_ENUM_PROPERTY(TForm, BorderStyle, TFormBorderStyle, bsSizeable, &borderStyles),
    CLASSLIB_SET_PROPERTY(TForm, BorderIcons, TBorderIcon,
                          (1 << biSystemMenu) | (1 << biMinimize) | (1 << biMaximize), &borderIcons),
    CLASSLIB_ENUM_PROPERTY(TForm, FormStyle, TFormStyle, fsNormal, &formStyles),
    CLASSLIB_ENUM_PROPERTY(TForm, Position, TPosition, poDesigned, &positions),
    NoDefault(CLASSLIB_INTEGER_PROPERTY(TForm, ClientWidth, 0)),
    NoDefault(CLASSLIB_INTEGER_PROPERTY(TForm, ClientHeight, 0)),
    CLASSLIB_BOOLEAN_PROPERTY(TForm, AutoScroll, true),
    CLASSLIB_BOOLEAN_PROPERTY(TForm, KeyPreview, false),
    NoDefault(CLASSLIB_INTEGER_PROPERTY(TForm, PixelsPerInch, 96)),
    NoDefault(CLASSLIB_INTEGER_PROPERTY(TForm, TextHeight, 13)),
    CLASSLIB_EVENT_PROPERTY(TForm, OnCreate, TNotifyEvent),
    CLASSLIB_EVENT_PROPERTY(TForm, OnDestroy, TNotifyEvent),
    CLASSLIB_EVENT_PROPERTY(TForm, OnShow, TNotifyEvent),
    CLASSLIB_EVENT_PROPERTY(TForm, OnHide, TNotifyEvent),
    CLASSLIB_EVENT_PROPERTY(TForm, OnClose, TCloseEvent),
    CLASSLIB_EVENT_PROPERTY(TForm, OnCloseQuery, TCloseQueryEvent),
    CLASSLIB_EVENT_PROPERTY(TForm, OnActivate, TNotifyEvent),
    CLASSLIB_EVENT_PROPERTY(TForm, OnDeactivate, TNotifyEvent),
    CLASSLIB_EVENT_PROPERTY(TForm, OnResize, TNotifyEvent),
};

}  // namespace

void TForm::RegisterProperties() {
    static const bool registered = (RegisterPropertyTable(TForm::StaticClassInfo(), formProperties), true);
    (void)registered;
}
