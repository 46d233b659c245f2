// TWinControl: a control with a window of its own, made on demand from
// CreateParams, that parents other controls, takes the keyboard focus and
// routes mouse messages to the graphic controls inside it.
#pragma once

#include <string>
#include <vector>

#include "Control.h"

// What CreateWnd passes to CreateWindowEx, filled by CreateParams.
struct TCreateParams {
    std::string Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;
    HWND WndParent = nullptr;
    void* Param = nullptr;
    WNDCLASSA WindowClass{};
    std::string WinClassName;
};

class TWinControl : public TControl {
    CLASSLIB_CLASS(TWinControl, TControl)

public:
    explicit TWinControl(TComponent* owner);
    // Deletes the child controls, then the window.
    ~TWinControl() override;

    // ---- The window ----
    // The window, made (with the parent's first) when there is none yet.
    // Throws EInvalidOperation for a child window without a parent window.
    HWND GetHandle();
    bool HandleAllocated() const { return handle_ != nullptr; }
    void HandleNeeded() { GetHandle(); }
    // Destroys the window (and the child windows); the next GetHandle makes
    // new ones from the stored state.
    void DestroyHandle();
    void RecreateWnd();
    // A window outside the class library to be the parent when there is no
    // Parent (null: none).
    HWND GetParentWindow() const { return parentWindow_; }
    void SetParentWindow(HWND window);
    // The control that owns window, or null.
    static TWinControl* FindControl(HWND window);

    // ---- Children, in z-order (the last is on top) ----
    int GetControlCount() const { return static_cast<int>(controls_.size()); }
    // Throws EListError out of range.
    TControl* GetControl(int index) const;
    // The visible (and, unless allowDisabled, enabled) graphic or windowed
    // child at a client point, topmost first; null when none.
    TControl* ControlAtPos(POINT point, bool allowDisabled) const;
    // Lays out the children whose Align is set: top, bottom, left, right,
    // then client, each kind in z-order.
    void AlignControls();

    // ---- Focus and tabbing ----
    bool GetTabStop() const { return tabStop_; }
    void SetTabStop(bool tabStop);
    // Position among the parent's windowed children; out of range moves to the end.
    int GetTabOrder() const;
    void SetTabOrder(int order);
    bool Focused() const;
    // Visible and enabled up to the top; a control without window can focus
    // once its window exists.
    bool CanFocus() const;
    // Throws EInvalidOperation when the control cannot take the focus.
    virtual void SetFocus();

    // ---- Overrides ----
    RECT GetClientRect() const override;
    void SetEnabled(bool enabled) override;
    std::string GetText() const override;
    void SetText(const std::string& text) override;
    void BringToFront() override;
    void SendToBack() override;
    void Invalidate() override;
    void Update() override;
    POINT ClientToScreen(POINT point) const override;
    POINT ScreenToClient(POINT point) const override;
    void WndProc(TMessage& message) override;
    void Dispatch(TMessage& message) override;
    // Passes the message to the window's default procedure (nothing without a window).
    void DefaultHandler(TMessage& message) override;

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;
    TKeyEvent OnKeyUp;

protected:
    // Window creation parameters: WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
    // WS_VISIBLE, WS_DISABLED and WS_TABSTOP as the control's state says, its
    // bounds and caption, and a class named after the control's class with
    // CS_DBLCLKS. Derived classes add their bits to the inherited ones.
    virtual void CreateParams(TCreateParams& params);
    // Registers the class if needed and creates the window.
    virtual void CreateWnd();
    virtual void DestroyWnd();
    // Paints the child graphic controls into dc (the window's client DC).
    void PaintControls(HDC dc);
    // WM_PAINT: the window paints itself (PaintWindow), then its graphic children.
    void PaintHandler(TMessage& message);
    virtual void PaintWindow(HDC dc);

    virtual void DoEnter();
    virtual void DoExit();
    // A key or character set to 0 goes no further (no event, no default handling).
    virtual void KeyDown(WORD& key, TShiftState shift);
    virtual void KeyUp(WORD& key, TShiftState shift);
    virtual void KeyPress(char& key);
    // Run the dynamic methods; true when the key was swallowed.
    bool DoKeyDown(TMessage& message);
    bool DoKeyUp(TMessage& message);
    bool DoKeyPress(TMessage& message);

    bool MoveWindowToBounds() override;
    void VisibleChanged() override;

    void WMPaint(TMessage& message);
    void WMEraseBackground(TMessage& message);
    void WMKeyDown(TMessage& message);
    void WMKeyUp(TMessage& message);
    void WMChar(TMessage& message);
    void WMSetFocus(TMessage& message);
    void WMKillFocus(TMessage& message);
    void WMMouseLeave(TMessage& message);
    // Shows the Cursor of the control (or graphic child) under the pointer.
    void WMSetCursor(TMessage& message);
    void CMFontChanged(TMessage& message);
    void CMColorChanged(TMessage& message);

private:
    friend class TControl;
    friend LRESULT CALLBACK ClassLibraryWindowProc(HWND, UINT, WPARAM, LPARAM);
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    void MoveControlInZOrder(TControl* control, bool toFront);
    void InvalidateChildArea(const RECT& rect);
    void NotifyChildren(UINT message);
    void UpdateBoundsFromWindow();
    void CreateChildHandles();
    void ReleaseWindow();
    bool RouteMouseMessage(TMessage& message);
    void TrackMouseLeave();

    HWND handle_ = nullptr;
    HWND parentWindow_ = nullptr;
    WNDPROC defaultWindowProc_ = DefWindowProcA;
    std::vector<TControl*> controls_;
    TControl* captureControl_ = nullptr;
    bool tabStop_ = false;
    bool aligning_ = false;
};
