// TRectScroller: a scroll control that scrolls one user rectangle of a given
// size, centres it when it is smaller than the control and fills the border
// gaps around it.
#pragma once

#include <functional>

#include "ScrollControl.h"

class TRectScroller;

using TGetRectSizesEvent = std::function<void(TRectScroller* scroller, SIZE& sizes)>;
using TPaintRectEvent =
    std::function<void(TRectScroller* scroller, TCanvas* scrollerCanvas, POINT origin, SIZE rectSize)>;
using TPaintBorderGapEvent = std::function<void(TRectScroller* scroller, TCanvas* scrollerCanvas, RECT borderRect)>;
using TUserAreaEvent = std::function<void(TRectScroller* scroller)>;

// One scroll unit is one pixel here: the range arithmetic assumes scroll
// steps of 1. The ranges follow the rectangle's size and the control's at
// every WM_SIZE, Resize, SetSizes and Refresh; when both axes scroll, each
// maximum includes the other bar's 16 pixels. Mouse events reach the owner in
// user-rectangle coordinates.
class TRectScroller : public TScrollControl {
    CLASSLIB_CLASS(TRectScroller, TScrollControl)

public:
    // Centred, border gaps filled with a black brush on white, PageSize 10.
    explicit TRectScroller(TComponent* owner);
    ~TRectScroller() override;

    // ---- Geometry ----
    // Client point to user-rectangle point.
    POINT TransformToUserArea(int x, int y);
    void TransformToUserArea(int x, int y, POINT& out) { out = TransformToUserArea(x, y); }
    // User-rectangle point to scrolled-area point.
    POINT Point2Rect(int x, int y);
    // A user-rectangle coordinate as a control coordinate.
    int GetComponentHCoord(int x);
    int GetComponentVCoord(int y);
    POINT GetComponentCoord(POINT p);
    // Width and Height, then Resize.
    void SetSizes(int width, int height);
    // Resize (the ranges again), then Repaint.
    void Refresh() override;
    // The ranges again once a form has set the properties (when the window
    // exists already; otherwise its first WM_SIZE sets them).
    void Loaded() override;

    // ---- Options ----
    bool GetCentered() const { return Centered; }
    // Repaints when the value changes.
    void SetCentered(bool value);
    bool GetFillBorderGap() const { return FillBorderGap; }
    // Stores only.
    void SetFillBorderGap(bool value) { FillBorderGap = value; }
    TBrush* GetBorderBrush() const { return BorderBrush; }
    // Copies brush (null is ignored) and repaints.
    void SetBorderBrush(const TBrush* brush);
    TColor GetBorderBkColor() const { return BorderBkColor; }
    // Takes a different colour only while FillBorderGap is on (and repaints);
    // otherwise the colour stays as it was.
    void SetBorderBkColor(TColor color);
    // The dialog codes of this class; they hide the scroll control's.
    bool GetWantArrows() const { return WantArrows; }
    void SetWantArrows(bool value) { WantArrows = value; }
    bool GetWantTab() const { return WantTab; }
    void SetWantTab(bool value) { WantTab = value; }
    // Shift+arrow moves a PageSize-th of the range; values below 1 count as 1.
    int GetPageSize() const { return PageSize; }
    void SetPageSize(int value) { PageSize = value; }

    TGetRectSizesEvent OnGetRectSizes;
    TPaintRectEvent OnPaintRect;
    TPaintBorderGapEvent OnPaintBorderGap;
    TUserAreaEvent OnEnterUserArea;
    TUserAreaEvent OnLeaveUserArea;

    // ORDER VIRTUALS: the operations this class adds, in their slot order.
    // Sets the ranges from GetRectSizes against Width and Height (not in the
    // design state); the class library's size handling does not run.
    virtual void WMSize(TMessage& message);
    // DLGC_WANTALLKEYS, plus DLGC_WANTARROWS for WantArrows and DLGC_WANTTAB for WantTab.
    virtual void WMGetDlgCode(TMessage& message);
    virtual void CMMouseEnter(TMessage& message);
    virtual void CMMouseLeave(TMessage& message);
    virtual void EnterUserArea();
    virtual void LeaveUserArea();
    virtual void DoOnMouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void DoOnMouseMove(TShiftState shift, int x, int y);
    virtual void DoOnMouseUp(TMouseButton button, TShiftState shift, int x, int y);
    // 20 x 20 in the design state or without OnGetRectSizes.
    virtual SIZE GetRectSizes();
    // Fills the rectangle with BkBrush (when FillBackground), then OnPaintRect.
    virtual void PaintRect(POINT origin, SIZE size);
    // r: scrolled-area pixels, right and bottom included; an empty or
    // inverted gap fills nothing, OnPaintBorderGap sees it all the same.
    virtual void PaintBorderGap(RECT r);
    // Viewport origin at the rectangle's corner, extent its size.
    virtual void PrepareRectDC(HDC dc);
    // The rectangle's corner in scrolled-area pixels: centred on an axis that
    // does not scroll (with Centered), else 0.
    virtual POINT GetRectPos();

    CLASSLIB_MESSAGE_MAP(TRectScroller, TScrollControl, {WM_SIZE, &TRectScroller::WMSize},
                         {WM_GETDLGCODE, &TRectScroller::WMGetDlgCode},
                         {CM_MOUSEENTER, &TRectScroller::CMMouseEnter},
                         {CM_MOUSELEAVE, &TRectScroller::CMMouseLeave})

protected:
    void Paint() override;
    void SetMouseProps(int x, int y) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void Resize() override;
    // Enter or leave as the mouse crossed the rectangle's edge.
    void CheckEnterLeaveUserArea();

    bool Centered = true;
    bool FillBorderGap = true;
    bool WantArrows = false;
    bool WantTab = false;
    TBrush* BorderBrush;
    TColor BorderBkColor = clWhite;
    int PageSize = 10;

private:
    bool Inside(POINT p, SIZE size) const;
    void PaintBorderGaps(POINT origin, SIZE size);
    // Enter and leave alternate: the mouse is in the rectangle between them.
    void MarkEntered();
    void MarkLeft();
    bool inUserArea_ = false;
};

namespace Rectscroller {
// Registers TRectScroller on the palette page "Rollan".
void Register();
}  // namespace Rectscroller

// The property table of the class (called by the package's start-up).
void RegisterRectScrollerProperties();
