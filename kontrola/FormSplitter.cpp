// TFormSplitter: a draggable line that resizes the controls of a form, and the
// small hint window that shows the line's position while it is dragged.
#include "FormSplitter.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "CustomControl.h"
#include "PropertyTable.h"

// The position hint: a borderless popup window with one line of text.
class TSplitterHint : public TCustomControl {
    CLASSLIB_CLASS(TSplitterHint, TCustomControl)

public:
    explicit TSplitterHint(TComponent* owner) : TCustomControl(owner) { SetColor(clInfoBk); }

    // Shows text with its top-left corner at a screen point, without taking
    // the activation from the form.
    void ShowAt(POINT screen, const std::string& text) {
        HandleNeeded();
        GetCanvas()->SetFont(GetFont());
        const SIZE extent = GetCanvas()->TextExtent(text);
        SetText(text);
        SetBounds(screen.x, screen.y, extent.cx + 8, extent.cy + 4);
        if (!IsWindowVisible(GetHandle())) ShowWindow(GetHandle(), SW_SHOWNOACTIVATE);
        Invalidate();
    }
    void HideHint() {
        if (HandleAllocated()) ShowWindow(GetHandle(), SW_HIDE);
    }

protected:
    void CreateParams(TCreateParams& params) override {
        TCustomControl::CreateParams(params);
        // Shown and hidden by hand: making the window shows nothing.
        params.Style = (params.Style & ~static_cast<DWORD>(WS_CHILD | WS_VISIBLE)) | WS_POPUP | WS_BORDER;
    }
    void Paint() override {
        TCanvas* canvas = GetCanvas();
        const RECT client = GetClientRect();
        canvas->GetBrush()->SetColor(clInfoBk);
        canvas->GetFont()->SetColor(clInfoText);
        canvas->TextRect(client, 3, 1, GetText());
    }
};

// The hook in the host's WindowProc: it outlives the splitter, which clears
// splitter when it goes, so the host's messages then pass straight on.
struct TFormSplitter::THook {
    TFormSplitter* splitter;
    std::function<void(TMessage&)> previous;
};

TFormSplitter::TFormSplitter(TComponent* owner) : TComponent(owner) {
    if (auto* host = dynamic_cast<TWinControl*>(owner)) SetHost(host);
}

TFormSplitter::~TFormSplitter() {
    Destroying();
    if (dragging_) EndDrag();
    if (hook_) hook_->splitter = nullptr;
    delete hint_;
    hint_ = nullptr;
    for (TFormSplitter* joined : joinedHere_) joined->endSplitter_ = nullptr;
    if (endSplitter_) {
        auto& list = endSplitter_->joinedHere_;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
}

void TFormSplitter::SetHost(TWinControl* host) {
    if (host_ || !host) return;
    host_ = host;
    FreeNotification(host);
    hook_ = std::make_shared<THook>(THook{this, host->WindowProc});
    std::shared_ptr<THook> hook = hook_;
    host->WindowProc = [hook](TMessage& message) {
        if (hook->splitter && hook->splitter->HostMessage(message, hook->previous)) return;
        hook->previous(message);
    };
}

void TFormSplitter::AddObject(std::vector<TControl*>& list, TControl* control) {
    if (!control || std::find(list.begin(), list.end(), control) != list.end()) return;
    if (!host_) SetHost(control->GetParent());
    list.push_back(control);
    FreeNotification(control);
}

void TFormSplitter::AddLowerObject(TControl* control) { AddObject(lower_, control); }
void TFormSplitter::AddUpperObject(TControl* control) { AddObject(upper_, control); }
void TFormSplitter::AddMovingObject(TControl* control) { AddObject(moving_, control); }

void TFormSplitter::JoinEnd(TFormSplitter* other) {
    if (!other || other == this) return;
    if (other->endSplitter_) {
        auto& list = other->endSplitter_->joinedHere_;
        list.erase(std::remove(list.begin(), list.end(), other), list.end());
    }
    other->endSplitter_ = this;
    joinedHere_.push_back(other);
    FreeNotification(other);
}

void TFormSplitter::SetMinSize(int size) { minSize_ = std::max(size, 0); }
void TFormSplitter::SetHitWidth(int width) { hitWidth_ = std::max(width, 1); }

void TFormSplitter::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != opRemove) return;
    for (auto* list : {&lower_, &upper_, &moving_})
        list->erase(std::remove(list->begin(), list->end(), component), list->end());
    joinedHere_.erase(std::remove(joinedHere_.begin(), joinedHere_.end(), component), joinedHere_.end());
    if (component == endSplitter_) endSplitter_ = nullptr;
    if (component == host_) {
        // The host's WindowProc, and the hook in it, go with the host.
        if (hook_) hook_->splitter = nullptr;
        hook_.reset();
        host_ = nullptr;
        dragging_ = false;
    }
}

// ---- Position and the controls ----

bool TFormSplitter::Omitted(TControl* control) { return OnOmitControl && OnOmitControl(this, control); }

void TFormSplitter::MoveObjects(int delta) {
    for (TControl* control : lower_) {
        if (Omitted(control)) continue;
        if (horizontal_)
            control->SetWidth(std::max(control->GetWidth() + delta, 0));
        else
            control->SetHeight(std::max(control->GetHeight() + delta, 0));
    }
    for (TControl* control : upper_) {
        if (Omitted(control)) continue;
        const RECT r = control->GetBoundsRect();
        if (horizontal_)
            control->SetBounds(r.left + delta, r.top, std::max(int(r.right - r.left) - delta, 0), r.bottom - r.top);
        else
            control->SetBounds(r.left, r.top + delta, r.right - r.left, std::max(int(r.bottom - r.top) - delta, 0));
    }
    for (TControl* control : moving_) {
        if (Omitted(control)) continue;
        if (horizontal_)
            control->SetLeft(control->GetLeft() + delta);
        else
            control->SetTop(control->GetTop() + delta);
    }
}

void TFormSplitter::SetPosition(int position) {
    const int delta = position - position_;
    position_ = position;
    if (delta != 0) MoveObjects(delta);
    RememberRatio();
}

int TFormSplitter::ClientExtent() const {
    if (!host_) return 0;
    const RECT client = host_->GetClientRect();
    return horizontal_ ? client.right : client.bottom;
}

int TFormSplitter::LineEnd() const {
    if (endSplitter_) return endSplitter_->position_;
    if (!host_) return 0;
    const RECT client = host_->GetClientRect();
    return horizontal_ ? client.bottom : client.right;
}

int TFormSplitter::ClampedPosition(int position) {
    int low = 0;
    int high = std::max(ClientExtent(), 0);
    // A lower control's size changes by the same amount as the position, an
    // upper control's by the opposite amount.
    for (TControl* control : lower_) {
        if (Omitted(control)) continue;
        const int size = horizontal_ ? control->GetWidth() : control->GetHeight();
        low = std::max(low, position_ - size + minSize_);
    }
    for (TControl* control : upper_) {
        if (Omitted(control)) continue;
        const int size = horizontal_ ? control->GetWidth() : control->GetHeight();
        high = std::min(high, position_ + size - minSize_);
    }
    if (high < low) return position_;
    return std::clamp(position, low, high);
}

void TFormSplitter::RememberRatio() {
    const int extent = ClientExtent();
    if (!host_ || !host_->HandleAllocated() || extent <= 0) {
        ratioPending_ = true;
        return;
    }
    ratio_ = static_cast<double>(position_) / extent;
    ratioPending_ = false;
}

void TFormSplitter::MoveLine(int position) {
    if (position == position_) return;
    SetPosition(position);
    if (OnMove) OnMove(this);
}

void TFormSplitter::SizeMessage() {
    const int extent = ClientExtent();
    if (extent <= 0) return;
    if (ratioPending_) {
        RememberRatio();
        return;
    }
    if (resizeMode_ != fsrKeepRatio) return;
    const int position = static_cast<int>(std::lround(ratio_ * extent));
    if (position == position_) return;
    const double ratio = ratio_;
    const int delta = position - position_;
    position_ = position;
    MoveObjects(delta);
    // The ratio stays as it was, so that rounding does not creep.
    ratio_ = ratio;
    if (OnMove) OnMove(this);
}

// ---- Messages of the host ----

bool TFormSplitter::HitTest(POINT point) const {
    const int along = horizontal_ ? point.x : point.y;
    const int across = horizontal_ ? point.y : point.x;
    return std::abs(along - position_) <= hitWidth_ && across >= 0 && across < LineEnd();
}

bool TFormSplitter::HostMessage(TMessage& message, const std::function<void(TMessage&)>& previous) {
    switch (message.Msg) {
        case WM_LBUTTONDOWN: return MouseDownMessage(message);
        case WM_MOUSEMOVE: return MouseMoveMessage(message);
        case WM_LBUTTONUP: return MouseUpMessage(message);
        case WM_SETCURSOR: return SetCursorMessage(message);
        case WM_CAPTURECHANGED:
            // Another window took the mouse (a handle is never made here: the
            // host may be on its way out).
            if (dragging_ && (!host_->HandleAllocated() || reinterpret_cast<HWND>(message.LParam) != host_->GetHandle()))
                EndDrag();
            return false;
        case WM_SIZE:
            // The line keeps its share first, so that the host's own resize
            // handlers size the controls from where the line put them; the
            // other way round, a large shrink would leave a control that an
            // edge crossed at no size, and the line would then grow it again.
            SizeMessage();
            previous(message);
            return true;
        default: return false;
    }
}

bool TFormSplitter::MouseDownMessage(TMessage& message) {
    const POINT point{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
    if (dragging_ || !HitTest(point)) return false;
    dragging_ = true;
    dragOffset_ = (horizontal_ ? point.x : point.y) - position_;
    SetCapture(host_->GetHandle());
    DrawDragLine();
    ShowHint(point);
    return true;
}

bool TFormSplitter::MouseMoveMessage(TMessage& message) {
    if (!dragging_) return false;
    const POINT point{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
    const int wanted = (horizontal_ ? point.x : point.y) - dragOffset_;
    const int position = ClampedPosition(wanted);
    if (position != position_) {
        EraseDragLine();
        MoveLine(position);
        DrawDragLine();
    }
    ShowHint(point);
    return true;
}

bool TFormSplitter::MouseUpMessage(TMessage&) {
    if (!dragging_) return false;
    EndDrag();
    return true;
}

void TFormSplitter::EndDrag() {
    dragging_ = false;
    EraseDragLine();
    if (hint_) hint_->HideHint();
    if (host_ && host_->HandleAllocated() && GetCapture() == host_->GetHandle()) ReleaseCapture();
}

bool TFormSplitter::SetCursorMessage(TMessage& message) {
    if (!host_->HandleAllocated() || reinterpret_cast<HWND>(message.WParam) != host_->GetHandle()) return false;
    if (LOWORD(message.LParam) != HTCLIENT) return false;
    POINT point{0, 0};
    GetCursorPos(&point);
    if (!dragging_ && !HitTest(host_->ScreenToClient(point))) return false;
    LPCSTR shape = cursorType_ == fscArrow ? IDC_ARROW : horizontal_ ? IDC_SIZEWE : IDC_SIZENS;
    ::SetCursor(LoadCursorA(nullptr, shape));
    message.Result = TRUE;
    return true;
}

// ---- Feedback while dragging ----

RECT TFormSplitter::LineRect() const {
    const int end = LineEnd();
    if (horizontal_) return RECT{position_ - 1, 0, position_ + 2, end};
    return RECT{0, position_ - 1, end, position_ + 2};
}

void TFormSplitter::DrawDragLine() {
    if (!host_ || !host_->HandleAllocated()) return;
    HWND window = host_->GetHandle();
    // The controls repaint first, so the line is drawn over the gap they leave.
    UpdateWindow(window);
    HDC dc = GetDC(window);
    if (!dc) return;
    const RECT line = LineRect();
    const COLORREF dark = ColorToRGB(clBtnShadow);
    const COLORREF light = ColorToRGB(clBtnHighlight);
    for (int y = line.top; y < line.bottom; ++y) {
        for (int x = line.left; x < line.right; ++x) {
            const bool checked = lineType_ == fslChecked && ((x + y) & 1) != 0;
            SetPixel(dc, x, y, checked ? light : dark);
        }
    }
    ReleaseDC(window, dc);
    drawnLine_ = line;
    lineDrawn_ = true;
}

void TFormSplitter::EraseDragLine() {
    if (!lineDrawn_) return;
    lineDrawn_ = false;
    if (host_ && host_->HandleAllocated()) InvalidateRect(host_->GetHandle(), &drawnLine_, TRUE);
}

std::string TFormSplitter::HintText() const {
    std::string text;
    if (showPosition_) text = std::to_string(position_);
    const int extent = ClientExtent();
    if (showPercentage_ && extent > 0) {
        const std::string percent = std::to_string(static_cast<long long>(position_) * 100 / extent) + "%";
        text = text.empty() ? percent : text + " (" + percent + ")";
    }
    return text;
}

void TFormSplitter::ShowHint(POINT clientPoint) {
    const std::string text = HintText();
    if (text.empty() || !host_) return;
    if (!hint_) hint_ = new TSplitterHint(nullptr);
    const POINT screen = host_->ClientToScreen(POINT{clientPoint.x + 12, clientPoint.y + 16});
    hint_->ShowAt(screen, text);
}

// ---- Published properties ----

namespace {

const TIdentifier kLineNames[] = {{"fslSolid", fslSolid}, {"fslChecked", fslChecked}};
const TIdentifierList kLines{kLineNames, std::size(kLineNames)};
const TIdentifier kCursorNames[] = {{"fscSplit", fscSplit}, {"fscArrow", fscArrow}};
const TIdentifierList kCursors{kCursorNames, std::size(kCursorNames)};
const TIdentifier kResizeNames[] = {{"fsrNone", fsrNone}, {"fsrKeepRatio", fsrKeepRatio}};
const TIdentifierList kResizeModes{kResizeNames, std::size(kResizeNames)};

const TPropertyInfo kFormSplitterProperties[] = {
    CLASSLIB_INTEGER_PROPERTY(TFormSplitter, Position, 0),
    CLASSLIB_BOOLEAN_PROPERTY(TFormSplitter, Horizontal, true),
    CLASSLIB_BOOLEAN_PROPERTY(TFormSplitter, ShowPosition, false),
    CLASSLIB_BOOLEAN_PROPERTY(TFormSplitter, ShowPercentage, false),
    CLASSLIB_ENUM_PROPERTY(TFormSplitter, LineType, TFormSplitterLine, fslSolid, &kLines),
    CLASSLIB_ENUM_PROPERTY(TFormSplitter, CursorType, TFormSplitterCursor, fscSplit, &kCursors),
    CLASSLIB_ENUM_PROPERTY(TFormSplitter, ResizeMode, TFormSplitterResize, fsrNone, &kResizeModes),
    CLASSLIB_INTEGER_PROPERTY(TFormSplitter, MinSize, 8),
    CLASSLIB_INTEGER_PROPERTY(TFormSplitter, HitWidth, 3),
    CLASSLIB_EVENT_PROPERTY(TFormSplitter, OnMove, TNotifyEvent),
    CLASSLIB_EVENT_PROPERTY(TFormSplitter, OnOmitControl, TOmitControlEvent),
};

}  // namespace

void RegisterFormSplitterProperties() {
    RegisterPropertyTable(TFormSplitter::StaticClassInfo(), kFormSplitterProperties);
}
