// TWinControl: windows made on demand, child controls, focus, keys and the
// routing of mouse messages to graphic children.
#include "WinControl.h"

#include <algorithm>
#include <unordered_map>

#include "Exceptions.h"
#include "Form.h"

namespace {

std::unordered_map<HWND, TWinControl*>& WindowRegistry() {
    static std::unordered_map<HWND, TWinControl*> registry;
    return registry;
}

// The control whose window is being created: its window's first message binds them.
thread_local TWinControl* creatingControl = nullptr;

const WPARAM kButtonFlags = MK_LBUTTON | MK_RBUTTON | MK_MBUTTON;

bool IsButtonDown(UINT message) {
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK: return true;
        default: return false;
    }
}

WPARAM ButtonFlagOfUp(UINT message) {
    switch (message) {
        case WM_LBUTTONUP: return MK_LBUTTON;
        case WM_RBUTTONUP: return MK_RBUTTON;
        case WM_MBUTTONUP: return MK_MBUTTON;
        default: return 0;
    }
}

// True for a button-up after which no button is held any more.
bool IsLastButtonUp(const TMessage& message) {
    WPARAM released = ButtonFlagOfUp(message.Msg);
    return released && (message.WParam & kButtonFlags & ~released) == 0;
}

bool Contains(const RECT& rect, POINT point) {
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom;
}

}  // namespace

LRESULT CALLBACK ClassLibraryWindowProc(HWND window, UINT messageNumber, WPARAM wParam, LPARAM lParam) {
    TWinControl* control = TWinControl::FindControl(window);
    if (!control && creatingControl) {
        control = creatingControl;
        creatingControl = nullptr;
        control->handle_ = window;
        WindowRegistry()[window] = control;
    }
    if (!control) return DefWindowProcA(window, messageNumber, wParam, lParam);
    TMessage message;
    message.Msg = messageNumber;
    message.WParam = wParam;
    message.LParam = lParam;
    if (control->WindowProc)
        control->WindowProc(message);
    else
        control->WndProc(message);
    // The handler may have deleted the control: look it up again.
    if (messageNumber == WM_NCDESTROY && TWinControl::FindControl(window) == control) control->ReleaseWindow();
    return message.Result;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
    Destroying();
    while (!controls_.empty()) delete controls_.back();
    if (handle_) {
        // The window goes without reaching this half-destroyed object.
        HWND window = handle_;
        WindowRegistry().erase(window);
        handle_ = nullptr;
        DestroyWindow(window);
    }
}

TWinControl* TWinControl::FindControl(HWND window) {
    auto found = WindowRegistry().find(window);
    return found == WindowRegistry().end() ? nullptr : found->second;
}

// ---- The window ----

HWND TWinControl::GetHandle() {
    if (handle_) return handle_;
    if (parent_ && !parent_->handle_) {
        parent_->HandleNeeded();  // makes this control's window with the parent's children
        if (handle_) return handle_;
    }
    CreateWnd();
    CreateChildHandles();
    return handle_;
}

void TWinControl::CreateChildHandles() {
    std::vector<TControl*> children = controls_;
    for (TControl* child : children) {
        auto* windowed = dynamic_cast<TWinControl*>(child);
        if (windowed && !windowed->handle_) {
            windowed->CreateWnd();
            windowed->CreateChildHandles();
        }
    }
}

void TWinControl::CreateParams(TCreateParams& params) {
    params.Caption = caption_;
    params.Style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    if (visible_) params.Style |= WS_VISIBLE;
    if (!enabled_) params.Style |= WS_DISABLED;
    if (tabStop_) params.Style |= WS_TABSTOP;
    params.X = left_;
    params.Y = top_;
    params.Width = width_;
    params.Height = height_;
    params.WndParent = parent_ ? parent_->handle_ : parentWindow_;
    params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    params.WindowClass.lpfnWndProc = ClassLibraryWindowProc;
    params.WindowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    params.WinClassName = ClassName();
}

void TWinControl::CreateWnd() {
    TCreateParams params;
    CreateParams(params);
    if ((params.Style & WS_CHILD) && !params.WndParent)
        throw EInvalidOperation("Control '" + GetName() + "' has no parent window");
    WNDCLASSA registered{};
    if (!GetClassInfoA(nullptr, params.WinClassName.c_str(), &registered)) {
        params.WindowClass.lpszClassName = params.WinClassName.c_str();
        if (!RegisterClassA(&params.WindowClass)) throw EOutOfResources("Error creating window class");
    }
    TWinControl* previous = creatingControl;
    creatingControl = this;
    HWND window = CreateWindowExA(params.ExStyle, params.WinClassName.c_str(), params.Caption.c_str(), params.Style,
                                  params.X, params.Y, params.Width, params.Height, params.WndParent, nullptr,
                                  nullptr, params.Param);
    creatingControl = previous;
    if (!window) throw EOutOfResources("Error creating window");
    if (!handle_) {  // a class registered elsewhere, with its own procedure
        handle_ = window;
        WindowRegistry()[window] = this;
    }
    UpdateBoundsFromWindow();
}

void TWinControl::DestroyHandle() {
    if (handle_) DestroyWnd();
}

void TWinControl::DestroyWnd() {
    caption_ = GetText();
    DestroyWindow(handle_);  // WM_NCDESTROY releases handle_ (and the children's)
    if (handle_) ReleaseWindow();
}

void TWinControl::ReleaseWindow() {
    WindowRegistry().erase(handle_);
    handle_ = nullptr;
    captureControl_ = nullptr;
}

void TWinControl::RecreateWnd() {
    if (!handle_) return;
    DestroyHandle();
    HandleNeeded();
}

void TWinControl::SetParentWindow(HWND window) {
    if (parent_ || window == parentWindow_) return;
    parentWindow_ = window;
    if (handle_) DestroyHandle();
}

void TWinControl::UpdateBoundsFromWindow() {
    RECT rect;
    if (!GetWindowRect(handle_, &rect)) return;
    POINT corners[2] = {{rect.left, rect.top}, {rect.right, rect.bottom}};
    if (GetWindowLongA(handle_, GWL_STYLE) & WS_CHILD) MapWindowPoints(nullptr, ::GetParent(handle_), corners, 2);
    StoreBounds(corners[0].x, corners[0].y, corners[1].x - corners[0].x, corners[1].y - corners[0].y);
}

bool TWinControl::MoveWindowToBounds() {
    if (!handle_) return false;
    MoveWindow(handle_, left_, top_, width_, height_, TRUE);
    return true;
}

// ---- Children ----

TControl* TWinControl::GetControl(int index) const {
    if (index < 0 || index >= GetControlCount())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return controls_[static_cast<size_t>(index)];
}

void TWinControl::InsertControl(TControl* control) {
    controls_.push_back(control);
    control->parent_ = this;
    if (control->parentFont_) control->AdoptParentFont();
    if (control->parentColor_) control->color_ = color_;
    auto* windowed = dynamic_cast<TWinControl*>(control);
    if (windowed && handle_) {
        if (windowed->handle_) windowed->DestroyHandle();
        windowed->CreateWnd();
        windowed->CreateChildHandles();
    }
    control->Invalidate();
    if (control->align_ != alNone) AlignControls();
}

void TWinControl::RemoveControl(TControl* control) {
    auto found = std::find(controls_.begin(), controls_.end(), control);
    if (found == controls_.end()) return;
    control->Invalidate();
    controls_.erase(found);
    if (captureControl_ == control) captureControl_ = nullptr;
    control->parent_ = nullptr;
    // During the control's destruction it is no longer a TWinControl here.
    auto* windowed = dynamic_cast<TWinControl*>(control);
    if (windowed) windowed->DestroyHandle();
    if (control->align_ != alNone) AlignControls();
}

void TWinControl::MoveControlInZOrder(TControl* control, bool toFront) {
    auto found = std::find(controls_.begin(), controls_.end(), control);
    if (found == controls_.end()) return;
    controls_.erase(found);
    if (toFront)
        controls_.push_back(control);
    else
        controls_.insert(controls_.begin(), control);
    control->Invalidate();
}

TControl* TWinControl::ControlAtPos(POINT point, bool allowDisabled) const {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        TControl* control = *it;
        if (control->visible_ && (allowDisabled || control->enabled_) && Contains(control->GetBoundsRect(), point))
            return control;
    }
    return nullptr;
}

void TWinControl::AlignControls() {
    if (aligning_) return;
    aligning_ = true;
    RECT area = GetClientRect();
    // ORDER ALIGN: top, bottom, left and right bands are cut off before the client area.
    static const TAlign kOrder[] = {alTop, alBottom, alLeft, alRight, alClient};
    for (TAlign align : kOrder) {
        std::vector<TControl*> children = controls_;
        for (TControl* control : children) {
            if (control->align_ != align || !control->visible_) continue;
            int width = control->width_;
            int height = control->height_;
            int areaWidth = std::max(0, static_cast<int>(area.right - area.left));
            int areaHeight = std::max(0, static_cast<int>(area.bottom - area.top));
            switch (align) {
                case alTop: control->SetBounds(area.left, area.top, areaWidth, height); area.top += height; break;
                case alBottom:
                    control->SetBounds(area.left, area.bottom - height, areaWidth, height);
                    area.bottom -= height;
                    break;
                case alLeft: control->SetBounds(area.left, area.top, width, areaHeight); area.left += width; break;
                case alRight:
                    control->SetBounds(area.right - width, area.top, width, areaHeight);
                    area.right -= width;
                    break;
                default: control->SetBounds(area.left, area.top, areaWidth, areaHeight); break;
            }
        }
    }
    aligning_ = false;
}

void TWinControl::NotifyChildren(UINT message) {
    std::vector<TControl*> children = controls_;
    for (TControl* child : children) child->Perform(message, 0, 0);
}

// ---- Focus and tabbing ----

void TWinControl::SetTabStop(bool tabStop) {
    tabStop_ = tabStop;
    if (!handle_) return;
    LONG_PTR style = GetWindowLongA(handle_, GWL_STYLE);
    SetWindowLongA(handle_, GWL_STYLE, tabStop ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP)));
}

int TWinControl::GetTabOrder() const {
    if (!parent_) return -1;
    int order = 0;
    for (TControl* sibling : parent_->controls_) {
        if (sibling == this) return order;
        if (dynamic_cast<TWinControl*>(sibling)) ++order;
    }
    return -1;
}

// Tab order follows the order of the windowed children in the parent's list.
void TWinControl::SetTabOrder(int order) {
    if (!parent_) return;
    std::vector<TControl*>& siblings = parent_->controls_;
    siblings.erase(std::find(siblings.begin(), siblings.end(), this));
    int seen = 0;
    auto place = siblings.begin();
    for (; place != siblings.end(); ++place) {
        if (!dynamic_cast<TWinControl*>(*place)) continue;
        if (seen == order) break;
        ++seen;
    }
    siblings.insert(place, this);
}

bool TWinControl::Focused() const { return handle_ && GetFocus() == handle_; }

bool TWinControl::CanFocus() const {
    for (const TControl* control = this; control; control = control->parent_)
        if (!control->visible_ || !control->enabled_) return false;
    return true;
}

void TWinControl::SetFocus() {
    if (!CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
    ::SetFocus(GetHandle());
}

// ---- Overrides ----

RECT TWinControl::GetClientRect() const {
    RECT rect{0, 0, 0, 0};
    if (handle_ && ::GetClientRect(handle_, &rect)) return rect;
    return TControl::GetClientRect();
}

POINT TWinControl::ClientToScreen(POINT point) const {
    if (handle_ && ::ClientToScreen(handle_, &point)) return point;
    return TControl::ClientToScreen(point);
}

POINT TWinControl::ScreenToClient(POINT point) const {
    if (handle_ && ::ScreenToClient(handle_, &point)) return point;
    return TControl::ScreenToClient(point);
}

void TWinControl::VisibleChanged() {
    if (!handle_) return;
    bool child = (GetWindowLongA(handle_, GWL_STYLE) & WS_CHILD) != 0;
    ShowWindow(handle_, visible_ ? (child ? SW_SHOWNOACTIVATE : SW_SHOW) : SW_HIDE);
}

void TWinControl::SetEnabled(bool enabled) {
    TControl::SetEnabled(enabled);
    if (handle_) EnableWindow(handle_, enabled);
}

std::string TWinControl::GetText() const {
    if (!handle_) return caption_;
    int length = GetWindowTextLengthA(handle_);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    int copied = GetWindowTextA(handle_, &text[0], length + 1);
    text.resize(static_cast<size_t>(std::max(copied, 0)));
    return text;
}

void TWinControl::SetText(const std::string& text) {
    if (handle_ && GetText() != text) SetWindowTextA(handle_, text.c_str());
    TControl::SetText(text);
}

void TWinControl::BringToFront() {
    TControl::BringToFront();
    if (handle_) SetWindowPos(handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWinControl::SendToBack() {
    TControl::SendToBack();
    if (handle_) SetWindowPos(handle_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWinControl::Invalidate() {
    if (handle_) InvalidateRect(handle_, nullptr, TRUE);
}

void TWinControl::Update() {
    if (handle_) UpdateWindow(handle_);
}

void TWinControl::InvalidateChildArea(const RECT& rect) {
    if (handle_) InvalidateRect(handle_, &rect, TRUE);
}

// ---- Messages ----

void TWinControl::WndProc(TMessage& message) {
    switch (message.Msg) {
        case WM_SIZE:
        case WM_MOVE:
        case WM_WINDOWPOSCHANGED:
            // Width and Height are current before any WM_SIZE handler runs.
            if (handle_) UpdateBoundsFromWindow();
            if (message.Msg == WM_SIZE) AlignControls();
            break;
        default: break;
    }
    if (message.Msg >= WM_MOUSEMOVE && message.Msg <= WM_MBUTTONDBLCLK && RouteMouseMessage(message)) return;
    TControl::WndProc(message);
}

// Sends a mouse message on to the graphic child under the pointer (or the one
// that holds the mouse since a button went down there), keeps the control
// under the pointer current for CM_MOUSEENTER/CM_MOUSELEAVE, and captures the
// mouse while a button is down. True when a child took the message.
bool TWinControl::RouteMouseMessage(TMessage& message) {
    POINT point{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
    TControl* target = captureControl_;
    if (!target) {
        TControl* hit = ControlAtPos(point, false);
        if (hit && !dynamic_cast<TWinControl*>(hit)) target = hit;
    }
    if (message.Msg == WM_MOUSEMOVE) {
        SetMouseControl(target ? target : this);
        TrackMouseLeave();
    }
    bool down = IsButtonDown(message.Msg);
    bool lastUp = IsLastButtonUp(message);
    if (down && handle_) SetCapture(handle_);
    if (!target) {
        if (lastUp && handle_ && GetCapture() == handle_) ReleaseCapture();
        return false;
    }
    if (down) captureControl_ = target;
    LPARAM childPoint = MAKELPARAM(point.x - target->left_, point.y - target->top_);
    message.Result = target->Perform(message.Msg, message.WParam, childPoint);
    if (lastUp) {
        captureControl_ = nullptr;
        if (handle_ && GetCapture() == handle_) ReleaseCapture();
    }
    return true;
}

void TWinControl::TrackMouseLeave() {
    if (!handle_) return;
    TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, handle_, 0};
    TrackMouseEvent(&track);
}

void TWinControl::Dispatch(TMessage& message) {
    static const TMessageMapEntry<TWinControl> messageMap[] = {
        {WM_PAINT, &TWinControl::WMPaint},
        {WM_ERASEBKGND, &TWinControl::WMEraseBackground},
        {WM_KEYDOWN, &TWinControl::WMKeyDown},
        {WM_SYSKEYDOWN, &TWinControl::WMKeyDown},
        {WM_KEYUP, &TWinControl::WMKeyUp},
        {WM_SYSKEYUP, &TWinControl::WMKeyUp},
        {WM_CHAR, &TWinControl::WMChar},
        {WM_SETFOCUS, &TWinControl::WMSetFocus},
        {WM_KILLFOCUS, &TWinControl::WMKillFocus},
        {WM_MOUSELEAVE, &TWinControl::WMMouseLeave},
        {WM_SETCURSOR, &TWinControl::WMSetCursor},
        {CM_FONTCHANGED, &TWinControl::CMFontChanged},
        {CM_COLORCHANGED, &TWinControl::CMColorChanged},
    };
    if (!DispatchThroughMap(this, messageMap, message)) TControl::Dispatch(message);
}

void TWinControl::DefaultHandler(TMessage& message) {
    if (handle_)
        message.Result =
            CallWindowProcA(defaultWindowProc_, handle_, message.Msg, message.WParam, message.LParam);
}

void TWinControl::WMPaint(TMessage& message) { PaintHandler(message); }

void TWinControl::PaintHandler(TMessage& message) {
    HDC dc = reinterpret_cast<HDC>(message.WParam);
    PAINTSTRUCT paint{};
    if (!dc) {
        if (!handle_) return;
        dc = BeginPaint(handle_, &paint);
        if (!dc) return;
    }
    PaintWindow(dc);
    PaintControls(dc);
    if (!message.WParam) EndPaint(handle_, &paint);
}

void TWinControl::PaintWindow(HDC) {}

void TWinControl::PaintControls(HDC dc) {
    std::vector<TControl*> children = controls_;
    for (TControl* child : children) {
        if (!child->visible_ || dynamic_cast<TWinControl*>(child)) continue;
        RECT bounds = child->GetBoundsRect();
        int saved = SaveDC(dc);
        IntersectClipRect(dc, bounds.left, bounds.top, bounds.right, bounds.bottom);
        OffsetViewportOrgEx(dc, bounds.left, bounds.top, nullptr);
        child->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
        RestoreDC(dc, saved);
    }
}

void TWinControl::WMEraseBackground(TMessage& message) {
    HDC dc = reinterpret_cast<HDC>(message.WParam);
    RECT client = GetClientRect();
    HBRUSH brush = CreateSolidBrush(ColorToRGB(color_));
    FillRect(dc, &client, brush);
    DeleteObject(brush);
    message.Result = 1;
}

bool TWinControl::DoKeyDown(TMessage& message) {
    WORD key = static_cast<WORD>(message.WParam);
    KeyDown(key, KeyDataToShiftState(message.LParam));
    message.WParam = key;
    return key == 0;
}

bool TWinControl::DoKeyUp(TMessage& message) {
    WORD key = static_cast<WORD>(message.WParam);
    KeyUp(key, KeyDataToShiftState(message.LParam));
    message.WParam = key;
    return key == 0;
}

bool TWinControl::DoKeyPress(TMessage& message) {
    char key = static_cast<char>(message.WParam);
    KeyPress(key);
    message.WParam = static_cast<BYTE>(key);
    return key == 0;
}

void TWinControl::WMKeyDown(TMessage& message) {
    if (!DoKeyDown(message)) DefaultHandler(message);
}

void TWinControl::WMKeyUp(TMessage& message) {
    if (!DoKeyUp(message)) DefaultHandler(message);
}

void TWinControl::WMChar(TMessage& message) {
    if (!DoKeyPress(message)) DefaultHandler(message);
}

void TWinControl::WMSetFocus(TMessage& message) {
    TWinControl* top = this;
    while (top->GetParent()) top = top->GetParent();
    if (auto* form = dynamic_cast<TForm*>(top)) form->FocusedControlChanged(this);
    DoEnter();
    DefaultHandler(message);
}

void TWinControl::WMKillFocus(TMessage& message) {
    DoExit();
    DefaultHandler(message);
}

void TWinControl::WMMouseLeave(TMessage& message) {
    TControl* current = MouseControl();
    if (current == this || (current && current->parent_ == this && !dynamic_cast<TWinControl*>(current)))
        SetMouseControl(nullptr);
    DefaultHandler(message);
}

void TWinControl::WMSetCursor(TMessage& message) {
    if (handle_ && reinterpret_cast<HWND>(message.WParam) == handle_ && LOWORD(message.LParam) == HTCLIENT) {
        POINT point{0, 0};
        GetCursorPos(&point);
        TControl* target = captureControl_ ? captureControl_ : ControlAtPos(ScreenToClient(point), false);
        if (!target || dynamic_cast<TWinControl*>(target)) target = this;
        if (HCURSOR shape = CursorShape(target->cursor_)) {
            ::SetCursor(shape);
            message.Result = TRUE;
            return;
        }
    }
    DefaultHandler(message);
}

void TWinControl::CMFontChanged(TMessage&) {
    Invalidate();
    NotifyChildren(CM_PARENTFONTCHANGED);
}

void TWinControl::CMColorChanged(TMessage&) {
    Invalidate();
    NotifyChildren(CM_PARENTCOLORCHANGED);
}

void TWinControl::DoEnter() {
    if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
    if (OnExit) OnExit(this);
}

void TWinControl::KeyDown(WORD& key, TShiftState shift) {
    if (OnKeyDown) OnKeyDown(this, key, shift);
}

void TWinControl::KeyUp(WORD& key, TShiftState shift) {
    if (OnKeyUp) OnKeyUp(this, key, shift);
}

void TWinControl::KeyPress(char& key) {
    if (OnKeyPress) OnKeyPress(this, key);
}
