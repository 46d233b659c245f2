// TScrollControl: a custom control that scrolls a drawing area larger than
// its window with its own ranges, steps and pages, through its two window
// scroll bars, the wheel and (optionally) the navigation keys, and paints the
// strip a scroll uncovers itself.
#pragma once

#include <functional>
#include <optional>

#include "CustomControl.h"
#include "ScrollBarControl.h"

class TScrollControl;

using TScrollPaintEvent = std::function<void(TScrollControl* scroller, TCanvas* scrollerCanvas)>;
// Kind is the bar (sbHorizontal, sbVertical); Position the stored VPos or HPos.
using TScrollControlEvent =
    std::function<void(TScrollControl* scroller, TScrollBarKind kind, int position, TCanvas* canvas)>;

// A position counts scroll units: scrolled-area pixel = client pixel +
// position x scroll step on each axis. Throughout, bar is SB_HORZ (0) or
// SB_VERT (1). Each axis keeps Min <= Pos <= Max; the window's bar gets the
// range Min .. Max + ScrollPage - 1 with page ScrollPage, so its highest
// position is Max (one short of it for a scroll page of 0, and then VPos and
// HPos stay where the bar is).
//
// Before the window exists the setters only store; WM_CREATE gives the bars
// the stored ranges and then the stored positions. While the control loads
// from a form, the range and position setters only store, and Loaded applies
// minimum, maximum and position, so a stored minimum above the default
// maximum is kept.
class TScrollControl : public TCustomControl {
    CLASSLIB_CLASS(TScrollControl, TCustomControl)

public:
    // TabStop on, 150 x 100, ranges 0..100 at 0, steps 1, pages 10, scroll
    // pages 64, white background filled, AutoScroll on.
    explicit TScrollControl(TComponent* owner);
    ~TScrollControl() override;

    // ---- Ranges and positions ----
    // The bar's position read from the window; the stored VPos or HPos
    // before the window exists.
    int GetSBPosition(int bar);
    // Moves the bar (and redraws it); VPos or HPos take the position the bar
    // accepted. No event, no scrolling.
    void SetSBPosition(int bar, int pos);
    int GetVMin() const { return VMin; }
    int GetVMax() const { return VMax; }
    int GetVPos() const { return VPos; }
    int GetHMin() const { return HMin; }
    int GetHMax() const { return HMax; }
    int GetHPos() const { return HPos; }
    // Ignored for v < 0 or v > VMax; a position below v moves to v first (no
    // events, no scrolling).
    void SetVMin(int v);
    // Ignored for v < VMin; a position above v moves to v first.
    void SetVMax(int v);
    // v clamped to [VMin, VMax], then SetPos: the events fire and the window
    // scrolls. Without a window the position is only stored.
    void SetVPos(int v);
    void SetHMin(int v);
    void SetHMax(int v);
    void SetHPos(int v);
    // BeforeScroll, the bar to newPos, the pixels scrolled by the distance
    // from oldPos to where the bar went (not while a thumb drag runs with
    // AutoScroll off), then Scroll and AfterScroll; the events fire also when
    // nothing moved.
    void SetPos(int bar, int oldPos, int newPos);

    int GetVScrollStep() const { return VScrollStep; }
    void SetVScrollStep(int step) { VScrollStep = step; }
    int GetVPageSize() const { return VPageSize; }
    void SetVPageSize(int size) { VPageSize = size; }
    int GetVScrollPage() const { return VScrollPage; }
    void SetVScrollPage(int page) { VScrollPage = page; }
    int GetHScrollStep() const { return HScrollStep; }
    void SetHScrollStep(int step) { HScrollStep = step; }
    int GetHPageSize() const { return HPageSize; }
    void SetHPageSize(int size) { HPageSize = size; }
    int GetHScrollPage() const { return HScrollPage; }
    void SetHScrollPage(int page) { HScrollPage = page; }

    // ---- Options and colours ----
    bool GetAutoScroll() const { return AutoScroll; }
    // Stores only. Off: a thumb drag moves the bar only and the picture jumps
    // once when the thumb is released.
    void SetAutoScroll(bool value) { AutoScroll = value; }
    bool GetKeyScroll() const { return KeyScroll; }
    void SetKeyScroll(bool value) { KeyScroll = value; }
    bool GetWantArrows() const { return WantArrows; }
    void SetWantArrows(bool value) { WantArrows = value; }
    bool GetWantTab() const { return WantTab; }
    void SetWantTab(bool value) { WantTab = value; }
    bool GetFillBackground() const { return FillBackground; }
    // Stores only, no repaint.
    void SetFillBk(bool value) { FillBackground = value; }
    void SetFillBackground(bool value) { SetFillBk(value); }
    TColor GetBkColor() const { return BkColor; }
    // Also the control's Color; invalidates the window.
    void SetBkColor(TColor color);
    TBrush* GetBkBrush() const { return BkBrush; }
    // Copies brush (null is ignored) and repaints.
    void SetBkBrush(const TBrush* brush);

    // ---- Coordinates ----
    // Viewport origin minus the bars' positions times the steps, extent the
    // control's size: (0, 0) is the scrolled area's corner.
    void PrepareDC(HDC dc);
    // Client point to scrolled-area point; less the work-area position when a
    // work area is set (both sizes not -1).
    POINT RelPoint(POINT p);
    POINT RelPoint(int x, int y);
    // Scrolled-area point to client point.
    POINT AbsPoint(POINT p);
    // Sizes (x width, y height) of a work area, -1 for none; sets the ranges
    // so that one unit is one pixel of it (DoResize).
    void SetWorkAreaSizes(POINT sizes);
    // Where a work area smaller than the window is centred; (0, 0) without one
    // and on an axis that scrolls.
    POINT GetWorkAreaPos();
    POINT GetMousePos() const { return FMousePos; }
    POINT GetAbsMousePos() const { return FAbsMousePos; }

    // The frame and the name, drawn instead of the picture in the design state.
    void DesignPaint();
    void Loaded() override;

    TScrollPaintEvent OnPaint;
    TScrollControlEvent OnBeforeScroll;
    TScrollControlEvent OnAfterScroll;
    TScrollControlEvent OnScroll;
    TScrollControlEvent OnBeforeDrag;
    TScrollControlEvent OnAfterDrag;

protected:
    void CreateParams(TCreateParams& params) override;

    // ORDER VIRTUALS: the operations this class adds, in their slot order.
    // SkipPaint, then PrepareDC; the design frame in the design state, else
    // PaintBackground (when FillBackground) and OnPaint.
    void Paint() override;
    // Fills the client area with BkBrush on BkColor, whatever the viewport.
    virtual void PaintBackground();
    virtual void SetMouseProps(int x, int y);
    // Turns a WM_HSCROLL / WM_VSCROLL into a new position (SetPos).
    virtual void DoScroll(TMessage& message, int bar);
    virtual void BeforeScroll(int bar);
    virtual void AfterScroll(int bar);
    virtual void BeforeDrag(int bar);
    virtual void AfterDrag(int bar);
    virtual void Scroll(int bar);
    // The wheel turned with the left Shift key held; the base does nothing.
    virtual void ShiftWheel(int steps);

    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void KeyDown(WORD& key, TShiftState shift) override;

    // Moves the window's pixels by delta units and paints the uncovered strip
    // at once through Paint, with FPaintingStrip set and the canvas clipped
    // to FStripRect; with AutoScroll on the strip is then valid (no second
    // paint of it). Nothing without a window. Not virtual: SetPos always runs
    // this one.
    void ScrollClientArea(int bar, int delta);
    // True when this Paint is to do nothing (see the source).
    bool SkipPaint();
    // A right press with a PopupMenu on an enabled control opens the menu at
    // the press point (in screen coordinates); true when it did.
    bool HandlePopupMenu(TMouseButton button, int x, int y);
    // The owner (or the control) is in the design state.
    bool IsDesigning() const;
    // SetVMin(VMin), SetVMax(VMax), SetHMin(HMin), SetHMax(HMax).
    void InitScrollbars();
    void DoResize();

    void WMCreate(TMessage& message);
    void WMEraseBkGnd(TMessage& message);
    void WMGetDlgCode(TMessage& message);
    void WMHScroll(TMessage& message);
    void WMVScroll(TMessage& message);
    void WMMouseWheel(TMessage& message);

    CLASSLIB_MESSAGE_MAP(TScrollControl, TCustomControl, {WM_CREATE, &TScrollControl::WMCreate},
                         {WM_ERASEBKGND, &TScrollControl::WMEraseBkGnd},
                         {WM_GETDLGCODE, &TScrollControl::WMGetDlgCode},
                         {WM_HSCROLL, &TScrollControl::WMHScroll}, {WM_VSCROLL, &TScrollControl::WMVScroll},
                         {WM_MOUSEWHEEL, &TScrollControl::WMMouseWheel})

protected:
    SCROLLINFO FScrollInfo{};
    int FDragOrigin = 0;
    bool FDragging = false;
    bool FSkipNextPaint = false;
    int VMin = 0, VMax = 100, VPos = 0;
    int HScrollStep = 1, HPageSize = 10, HScrollPage = 64;
    int HMin = 0, HMax = 100, HPos = 0;
    int VScrollStep = 1, VPageSize = 10, VScrollPage = 64;
    bool AutoScroll = true, KeyScroll = false, WantArrows = false, WantTab = false, FillBackground = true;
    // Set while ScrollClientArea paints the uncovered strip itself; the strip
    // in client coordinates. A derived Paint reads them to paint only the strip.
    bool FPaintingStrip = false;
    RECT FStripRect{0, 0, 0, 0};
    TColor BkColor = clWhite;
    TBrush* BkBrush;
    POINT FWorkAreaSizes{-1, -1};
    POINT FMousePos{-1, -1};
    POINT FPrevMousePos{-1, -1};
    POINT FAbsMousePos{-1, -1};

private:
    // The fields of one axis.
    struct TAxis {
        int& min;
        int& max;
        int& pos;
        int& step;
        int& pageSize;
        int& scrollPage;
    };
    TAxis Axis(int bar);
    void SetMin(int bar, int v);
    void SetMax(int bar, int v);
    void SetPosition(int bar, int v);
    // Gives the window's bar the range and page of the axis.
    void SetBarRange(int bar, int min, int max);
    void FireScrollEvent(const TScrollControlEvent& event, int bar);
    void ApplyLoadedAxis(int bar);

    // Range and position values a form set while the control was loading.
    struct TPendingAxis {
        std::optional<int> min, max, pos;
    };
    TPendingAxis pending_[2];
};

namespace Scrollcontrol {
// Registers TScrollControl on the palette page "Rollan".
void Register();
}  // namespace Scrollcontrol

// The property table of the class (called by the package's start-up).
void RegisterScrollControlProperties();
