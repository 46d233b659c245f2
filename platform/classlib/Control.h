// TControl: the base of every visible control: bounds, visibility, parent,
// text, font and colour, the message path (Perform, WindowProc, WndProc,
// Dispatch, DefaultHandler) and the dynamic mouse methods with their events.
#pragma once

#include <functional>
#include <string>

#include "Component.h"
#include "Events.h"
#include "Graphics.h"
#include "Messages.h"

class TWinControl;
class TPopupMenu;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

typedef int TCursor;
constexpr TCursor crDefault = 0;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;

// The standard shape of a cursor; null for crDefault and unknown values (the
// window class's cursor is shown then).
HCURSOR CursorShape(TCursor cursor);

// Messages reach a control as Perform(...) -> WindowProc -> WndProc ->
// Dispatch (the class's message map, falling back to the base class's map)
// -> DefaultHandler. Graphic controls get their messages from their parent.
class TControl : public TComponent {
    CLASSLIB_CLASS(TControl, TComponent)

public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    // ---- Bounds, in the parent's client coordinates ----
    int GetLeft() const { return left_; }
    int GetTop() const { return top_; }
    int GetWidth() const { return width_; }
    int GetHeight() const { return height_; }
    void SetLeft(int left) { SetBounds(left, top_, width_, height_); }
    void SetTop(int top) { SetBounds(left_, top, width_, height_); }
    void SetWidth(int width) { SetBounds(left_, top_, width, height_); }
    void SetHeight(int height) { SetBounds(left_, top_, width_, height); }
    // Negative sizes become 0. A change of size sends WM_SIZE, with Width and
    // Height already current, which runs Resize (OnResize).
    virtual void SetBounds(int left, int top, int width, int height);
    RECT GetBoundsRect() const { return RECT{left_, top_, left_ + width_, top_ + height_}; }
    // The client area: the whole control for graphic controls, the window's
    // client area for windowed ones.
    virtual RECT GetClientRect() const;
    int GetClientWidth() const { return GetClientRect().right; }
    int GetClientHeight() const { return GetClientRect().bottom; }
    // Resizes the control so that its client area gets that size.
    void SetClientWidth(int width) { SetWidth(width_ - GetClientWidth() + width); }
    void SetClientHeight(int height) { SetHeight(height_ - GetClientHeight() + height); }
    // Screen point of a client point and back; without a window on the way up
    // (no parent with a handle) the point is only offset by the known bounds.
    virtual POINT ClientToScreen(POINT point) const;
    virtual POINT ScreenToClient(POINT point) const;

    TAlign GetAlign() const { return align_; }
    // The parent lays aligned controls out again at once and whenever it resizes.
    void SetAlign(TAlign align);

    // ---- Visibility, enabling, parent ----
    bool GetVisible() const { return visible_; }
    virtual void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible and every parent visible up to a control without parent.
    bool IsShowing() const;
    bool GetEnabled() const { return enabled_; }
    virtual void SetEnabled(bool enabled);
    TWinControl* GetParent() const { return parent_; }
    // Moves the control into another parent's Controls (null: none). A control
    // cannot be its own parent or ancestor (EInvalidOperation).
    virtual void SetParent(TWinControl* parent);
    // Last in its parent's z-order (painted last, hit first).
    virtual void BringToFront();
    virtual void SendToBack();

    // ---- Text, font, colour, cursor, hint, popup menu ----
    virtual std::string GetText() const { return caption_; }
    virtual void SetText(const std::string& text);
    std::string GetCaption() const { return GetText(); }
    void SetCaption(const std::string& caption) { SetText(caption); }
    // The control's own font; changing it clears ParentFont.
    TFont* GetFont() { return &font_; }
    void SetFont(const TFont* font) { font_.Assign(font); }
    bool GetParentFont() const { return parentFont_; }
    // True takes the parent's font now and whenever it changes.
    void SetParentFont(bool parentFont);
    TColor GetColor() const { return color_; }
    // Changing the colour clears ParentColor.
    void SetColor(TColor color);
    bool GetParentColor() const { return parentColor_; }
    void SetParentColor(bool parentColor);
    TCursor GetCursor() const { return cursor_; }
    void SetCursor(TCursor cursor) { cursor_ = cursor; }
    const std::string& GetHint() const { return hint_; }
    void SetHint(const std::string& hint) { hint_ = hint; }
    TPopupMenu* GetPopupMenu() const { return popupMenu_; }
    // The control forgets the menu when the menu is destroyed.
    void SetPopupMenu(TPopupMenu* menu);

    // ---- Painting ----
    virtual void Invalidate();
    virtual void Update();
    // Invalidate and Update.
    virtual void Repaint();
    virtual void Refresh() { Repaint(); }

    // ---- Messages ----
    // Sends a message through WindowProc and returns its Result.
    LRESULT Perform(UINT message, WPARAM wParam, LPARAM lParam);
    // Replaceable entry of every message; WndProc by default.
    std::function<void(TMessage&)> WindowProc;
    virtual void WndProc(TMessage& message);
    // The message map: each class's rows, then its base's (CLASSLIB_MESSAGE_MAP).
    virtual void Dispatch(TMessage& message);
    // Messages no map handles; the base leaves Result 0.
    virtual void DefaultHandler(TMessage& message);

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TNotifyEvent OnResize;

    void Notification(TComponent* component, TOperation operation) override;

protected:
    // Dynamic operations; each fires its event.
    virtual void Click();
    virtual void DblClick();
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    // control is the control the pointer entered or left (this one).
    virtual void MouseEnter(TControl* control);
    virtual void MouseLeave(TControl* control);
    virtual void Resize();

    // Moves a windowed control's window to the bounds; false for a control
    // without one (the base).
    virtual bool MoveWindowToBounds() { return false; }
    // Stores bounds reported by the window without moving it again.
    void StoreBounds(int left, int top, int width, int height);
    // Called after visibility, font or colour changes are stored.
    virtual void VisibleChanged();
    // Opens the popup menu at a screen point unless it was opened since the
    // right button went down; false when the control has no popup menu or
    // its AutoPopup is off (the parent is asked then).
    bool OpenPopupMenuOnce(POINT screen);
    void NoteRightPress(TMouseButton button);

    // The handlers of TControl's message map.
    void WMMouseDown(TMessage& message);
    void WMMouseUp(TMessage& message);
    void WMMouseDoubleClick(TMessage& message);
    void WMMouseMove(TMessage& message);
    void WMSize(TMessage& message);
    void WMContextMenu(TMessage& message);
    void CMMouseEnter(TMessage& message);
    void CMMouseLeave(TMessage& message);
    void CMParentFontChanged(TMessage& message);
    void CMParentColorChanged(TMessage& message);
    void CMChanged(TMessage& message);

private:
    friend class TWinControl;
    void FontChanged();
    void AdoptParentFont();

    TWinControl* parent_ = nullptr;
    int left_ = 0;
    int top_ = 0;
    int width_ = 0;
    int height_ = 0;
    TAlign align_ = alNone;
    bool visible_ = true;
    bool enabled_ = true;
    std::string caption_;
    TFont font_;
    bool parentFont_ = true;
    bool adoptingFont_ = false;
    TColor color_ = clBtnFace;
    bool parentColor_ = false;
    TCursor cursor_ = crDefault;
    std::string hint_;
    TPopupMenu* popupMenu_ = nullptr;
    bool clicked_ = false;
    bool rightPressPending_ = false;
    unsigned popupCountAtPress_ = 0;
};

// The control the mouse pointer is over, as the class library last saw it
// (null when none); it has had CM_MOUSEENTER and gets CM_MOUSELEAVE next.
TControl* MouseControl();
// Makes control the control under the pointer, sending CM_MOUSELEAVE to the
// previous one and CM_MOUSEENTER to the new one when they differ.
void SetMouseControl(TControl* control);
