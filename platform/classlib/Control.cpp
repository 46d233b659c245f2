// TControl: bounds, visibility, parent, text, font and colour, the message
// path and the dynamic mouse methods.
#include "Control.h"

#include <algorithm>

#include "Exceptions.h"
#include "Menus.h"
#include "WinControl.h"

namespace {

TControl* currentMouseControl = nullptr;

TMouseButton ButtonOf(UINT message) {
    switch (message) {
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_RBUTTONDBLCLK: return mbRight;
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
        case WM_MBUTTONDBLCLK: return mbMiddle;
        default: return mbLeft;
    }
}

bool Contains(const RECT& rect, int x, int y) {
    return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

}  // namespace

HCURSOR CursorShape(TCursor cursor) {
    struct Shape {
        TCursor cursor;
        LPCSTR identifier;
    };
    static const Shape kShapes[] = {
        {crArrow, IDC_ARROW},       {crCross, IDC_CROSS},     {crIBeam, IDC_IBEAM},       {crSizeNESW, IDC_SIZENESW},
        {crSizeNS, IDC_SIZENS},     {crSizeNWSE, IDC_SIZENWSE}, {crSizeWE, IDC_SIZEWE},   {crUpArrow, IDC_UPARROW},
        {crHourGlass, IDC_WAIT},    {crNo, IDC_NO},           {crAppStart, IDC_APPSTARTING}, {crHelp, IDC_HELP},
        {crHandPoint, IDC_HAND},    {crSizeAll, IDC_SIZEALL},
    };
    for (const Shape& shape : kShapes)
        if (shape.cursor == cursor) return LoadCursorA(nullptr, shape.identifier);
    return nullptr;
}

TControl* MouseControl() { return currentMouseControl; }

void SetMouseControl(TControl* control) {
    if (control == currentMouseControl) return;
    TControl* previous = currentMouseControl;
    currentMouseControl = control;
    if (previous) previous->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(previous));
    if (control) control->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(control));
}

TControl::TControl(TComponent* owner) : TComponent(owner) {
    WindowProc = [this](TMessage& message) { WndProc(message); };
    font_.OnChange = [this](TObject*) { FontChanged(); };
}

TControl::~TControl() {
    Destroying();
    if (currentMouseControl == this) currentMouseControl = nullptr;
    if (parent_) parent_->RemoveControl(this);
}

// ---- Bounds ----

void TControl::SetBounds(int left, int top, int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    bool resized = width != width_ || height != height_;
    Invalidate();
    StoreBounds(left, top, width, height);
    // A windowed control's window reports WM_SIZE itself once it has moved.
    if (!MoveWindowToBounds()) {
        Invalidate();
        if (resized) Perform(WM_SIZE, SIZE_RESTORED, MAKELPARAM(width, height));
    }
    if (parent_ && align_ != alNone) parent_->AlignControls();
}

void TControl::StoreBounds(int left, int top, int width, int height) {
    left_ = left;
    top_ = top;
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
}

RECT TControl::GetClientRect() const { return RECT{0, 0, width_, height_}; }

POINT TControl::ClientToScreen(POINT point) const {
    POINT result{point.x + left_, point.y + top_};
    return parent_ ? parent_->ClientToScreen(result) : result;
}

POINT TControl::ScreenToClient(POINT point) const {
    POINT inParent = parent_ ? parent_->ScreenToClient(point) : point;
    return POINT{inParent.x - left_, inParent.y - top_};
}

void TControl::SetAlign(TAlign align) {
    if (align == align_) return;
    align_ = align;
    if (parent_) parent_->AlignControls();
}

// ---- Visibility, enabling, parent ----

void TControl::SetVisible(bool visible) {
    if (visible == visible_) return;
    if (!visible) Invalidate();
    visible_ = visible;
    VisibleChanged();
    if (visible) Invalidate();
    if (!visible && currentMouseControl == this) SetMouseControl(nullptr);
    Perform(CM_VISIBLECHANGED, visible, 0);
    if (parent_ && align_ != alNone) parent_->AlignControls();
}

void TControl::VisibleChanged() {}

bool TControl::IsShowing() const {
    for (const TControl* control = this; control; control = control->parent_)
        if (!control->visible_) return false;
    return true;
}

void TControl::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    Perform(CM_ENABLEDCHANGED, enabled, 0);
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == parent_) return;
    for (TControl* ancestor = parent; ancestor; ancestor = ancestor->parent_)
        if (ancestor == this) throw EInvalidOperation("A control cannot have itself as its parent");
    if (parent_) parent_->RemoveControl(this);
    if (parent) parent->InsertControl(this);
}

void TControl::BringToFront() {
    if (parent_) parent_->MoveControlInZOrder(this, true);
}

void TControl::SendToBack() {
    if (parent_) parent_->MoveControlInZOrder(this, false);
}

// ---- Text, font, colour, popup menu ----

void TControl::SetText(const std::string& text) {
    if (text == caption_) return;
    caption_ = text;
    Perform(CM_TEXTCHANGED, 0, 0);
}

void TControl::FontChanged() {
    if (!adoptingFont_) parentFont_ = false;
    Perform(CM_FONTCHANGED, 0, 0);
}

void TControl::AdoptParentFont() {
    if (!parent_) return;
    adoptingFont_ = true;
    font_.Assign(parent_->GetFont());
    adoptingFont_ = false;
}

void TControl::SetParentFont(bool parentFont) {
    parentFont_ = parentFont;
    if (parentFont) AdoptParentFont();
    parentFont_ = parentFont;
}

void TControl::SetColor(TColor color) {
    parentColor_ = false;
    if (color == color_) return;
    color_ = color;
    Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::SetParentColor(bool parentColor) {
    parentColor_ = parentColor;
    if (parentColor && parent_ && parent_->GetColor() != color_) {
        color_ = parent_->GetColor();
        Perform(CM_COLORCHANGED, 0, 0);
    }
}

void TControl::SetPopupMenu(TPopupMenu* menu) {
    if (popupMenu_) RemoveFreeNotification(popupMenu_);
    popupMenu_ = menu;
    if (menu) FreeNotification(menu);
}

void TControl::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component && component == popupMenu_) popupMenu_ = nullptr;
}

// ---- Painting: a graphic control paints through its parent ----

void TControl::Invalidate() {
    if (parent_ && visible_) parent_->InvalidateChildArea(GetBoundsRect());
}

void TControl::Update() {
    if (parent_) parent_->Update();
}

void TControl::Repaint() {
    Invalidate();
    Update();
}

// ---- Messages ----

LRESULT TControl::Perform(UINT message, WPARAM wParam, LPARAM lParam) {
    TMessage record;
    record.Msg = message;
    record.WParam = wParam;
    record.LParam = lParam;
    if (WindowProc)
        WindowProc(record);
    else
        WndProc(record);  // an emptied WindowProc falls back to the control's own
    return record.Result;
}

void TControl::WndProc(TMessage& message) { Dispatch(message); }

void TControl::Dispatch(TMessage& message) {
    // ORDER none: rows are looked up by message.
    static const TMessageMapEntry<TControl> messageMap[] = {
        {WM_LBUTTONDOWN, &TControl::WMMouseDown},
        {WM_RBUTTONDOWN, &TControl::WMMouseDown},
        {WM_MBUTTONDOWN, &TControl::WMMouseDown},
        {WM_LBUTTONUP, &TControl::WMMouseUp},
        {WM_RBUTTONUP, &TControl::WMMouseUp},
        {WM_MBUTTONUP, &TControl::WMMouseUp},
        {WM_LBUTTONDBLCLK, &TControl::WMMouseDoubleClick},
        {WM_RBUTTONDBLCLK, &TControl::WMMouseDoubleClick},
        {WM_MBUTTONDBLCLK, &TControl::WMMouseDoubleClick},
        {WM_MOUSEMOVE, &TControl::WMMouseMove},
        {WM_SIZE, &TControl::WMSize},
        {WM_CONTEXTMENU, &TControl::WMContextMenu},
        {CM_MOUSEENTER, &TControl::CMMouseEnter},
        {CM_MOUSELEAVE, &TControl::CMMouseLeave},
        {CM_PARENTFONTCHANGED, &TControl::CMParentFontChanged},
        {CM_PARENTCOLORCHANGED, &TControl::CMParentColorChanged},
        {CM_FONTCHANGED, &TControl::CMChanged},
        {CM_COLORCHANGED, &TControl::CMChanged},
        {CM_TEXTCHANGED, &TControl::CMChanged},
        {CM_ENABLEDCHANGED, &TControl::CMChanged},
    };
    if (!DispatchThroughMap(this, messageMap, message)) DefaultHandler(message);
}

void TControl::DefaultHandler(TMessage&) {}

void TControl::WMMouseDown(TMessage& message) {
    TWMMouse mouse(message);
    TMouseButton button = ButtonOf(message.Msg);
    if (button == mbLeft) clicked_ = true;
    NoteRightPress(button);
    MouseDown(button, KeysToShiftState(mouse.Keys), mouse.XPos, mouse.YPos);
    DefaultHandler(message);
}

void TControl::WMMouseUp(TMessage& message) {
    TWMMouse mouse(message);
    TMouseButton button = ButtonOf(message.Msg);
    MouseUp(button, KeysToShiftState(mouse.Keys), mouse.XPos, mouse.YPos);
    if (button == mbLeft && clicked_) {
        clicked_ = false;
        if (Contains(GetClientRect(), mouse.XPos, mouse.YPos)) Click();
    }
    bool menuHandled = button == mbRight && OpenPopupMenuOnce(ClientToScreen(POINT{mouse.XPos, mouse.YPos}));
    // Without a menu of its own the default handling asks for a context menu
    // (the parent's, if the control has none).
    if (!menuHandled) DefaultHandler(message);
    // A graphic control has no window to ask: its parent is asked directly.
    if (button == mbRight && !menuHandled && parent_ && !dynamic_cast<TWinControl*>(this)) {
        POINT screen = ClientToScreen(POINT{mouse.XPos, mouse.YPos});
        parent_->Perform(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(parent_->handle_), MAKELPARAM(screen.x, screen.y));
    }
    if (button == mbRight) rightPressPending_ = false;
}

void TControl::WMMouseDoubleClick(TMessage& message) {
    TWMMouse mouse(message);
    TMouseButton button = ButtonOf(message.Msg);
    if (button == mbLeft) DblClick();
    TShiftState shift = KeysToShiftState(mouse.Keys);
    shift << ssDouble;
    NoteRightPress(button);
    MouseDown(button, shift, mouse.XPos, mouse.YPos);
    DefaultHandler(message);
}

// A right press starts a click whose menu may open only once; any other
// press ends an earlier one whose release the control never saw.
void TControl::NoteRightPress(TMouseButton button) {
    rightPressPending_ = button == mbRight;
    popupCountAtPress_ = popupMenu_ ? popupMenu_->GetPopupCount() : 0;
}

void TControl::WMMouseMove(TMessage& message) {
    TWMMouse mouse(message);
    MouseMove(KeysToShiftState(mouse.Keys), mouse.XPos, mouse.YPos);
    DefaultHandler(message);
}

void TControl::WMSize(TMessage& message) {
    Resize();
    DefaultHandler(message);
}

void TControl::WMContextMenu(TMessage& message) {
    TWMContextMenu menu(message);
    POINT screen{menu.XPos, menu.YPos};
    if (screen.x == -1 && screen.y == -1) {  // from the keyboard: no click is under way
        rightPressPending_ = false;
        screen = ClientToScreen(POINT{GetClientWidth() / 2, GetClientHeight() / 2});
    }
    if (OpenPopupMenuOnce(screen))
        message.Result = 1;
    else
        DefaultHandler(message);
}

bool TControl::OpenPopupMenuOnce(POINT screen) {
    if (!popupMenu_ || !popupMenu_->GetAutoPopup()) return false;
    // MouseDown may have opened the menu itself (the scroll control does).
    if (rightPressPending_ && popupMenu_->GetPopupCount() != popupCountAtPress_) return true;
    if (!enabled_) return true;
    popupMenu_->SetPopupComponent(this);
    popupMenu_->Popup(screen.x, screen.y);
    return true;
}

void TControl::CMMouseEnter(TMessage& message) { MouseEnter(reinterpret_cast<TControl*>(message.LParam)); }

void TControl::CMMouseLeave(TMessage& message) { MouseLeave(reinterpret_cast<TControl*>(message.LParam)); }

void TControl::CMParentFontChanged(TMessage&) {
    if (parentFont_) AdoptParentFont();
}

void TControl::CMParentColorChanged(TMessage&) {
    if (parentColor_) SetParentColor(true);
}

void TControl::CMChanged(TMessage&) { Invalidate(); }

// ---- Dynamic operations ----

void TControl::Click() {
    if (OnClick) OnClick(this);
}

void TControl::DblClick() {
    if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
    if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TControl::MouseEnter(TControl*) {
    if (OnMouseEnter) OnMouseEnter(this);
}

void TControl::MouseLeave(TControl*) {
    if (OnMouseLeave) OnMouseLeave(this);
}

void TControl::Resize() {
    if (OnResize) OnResize(this);
}
