// TRectScroller: ranges from the user rectangle's size, the centred
// rectangle and its border gaps, mouse events in rectangle coordinates and
// the arrow keys.
#include "RectScroller.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "PropertyTable.h"
#include "Registration.h"
#include "ScrollArithmetic.h"

namespace {

// The other bar's thickness, which an axis loses when both scroll.
constexpr int kBarThickness = 16;

}  // namespace

TRectScroller::TRectScroller(TComponent* owner) : TScrollControl(owner), BorderBrush(new TBrush) {
    BorderBrush->SetColor(clBlack);
    BorderBrush->OnChange = [this](TObject*) {
        if (HandleAllocated()) Invalidate();
    };
}

TRectScroller::~TRectScroller() {
    Destroying();
    delete BorderBrush;
    BorderBrush = nullptr;
}

// ---- Geometry ----

SIZE TRectScroller::GetRectSizes() {
    SIZE size{20, 20};
    if (!IsDesigning() && OnGetRectSizes) OnGetRectSizes(this, size);
    return size;
}

POINT TRectScroller::GetRectPos() {
    POINT pos{0, 0};
    if (!Centered) return pos;
    const SIZE size = GetRectSizes();
    if (HMax <= 0) pos.x = Saturate((int64_t(GetWidth()) - (VMax > 0 ? kBarThickness : 0) - size.cx) / 2);
    if (VMax <= 0) pos.y = Saturate((int64_t(GetHeight()) - (HMax > 0 ? kBarThickness : 0) - size.cy) / 2);
    return pos;
}

POINT TRectScroller::TransformToUserArea(int x, int y) {
    const POINT p = RelPoint(x, y);
    const POINT corner = GetRectPos();
    return POINT{Saturate(int64_t(p.x) - corner.x), Saturate(int64_t(p.y) - corner.y)};
}

POINT TRectScroller::Point2Rect(int x, int y) {
    const POINT corner = GetRectPos();
    return POINT{Saturate(int64_t(corner.x) + x), Saturate(int64_t(corner.y) + y)};
}

int TRectScroller::GetComponentHCoord(int x) {
    const int corner = GetRectPos().x;
    return corner != 0 ? Saturate(int64_t(x) + corner) : Saturate(int64_t(x) - HPos);
}

int TRectScroller::GetComponentVCoord(int y) {
    const int corner = GetRectPos().y;
    return corner != 0 ? Saturate(int64_t(y) + corner) : Saturate(int64_t(y) - VPos);
}

POINT TRectScroller::GetComponentCoord(POINT p) { return POINT{GetComponentHCoord(p.x), GetComponentVCoord(p.y)}; }

void TRectScroller::PrepareRectDC(HDC dc) {
    const POINT corner = GetRectPos();
    const SIZE size = GetRectSizes();
    SetViewportOrgEx(dc, Saturate(int64_t(corner.x) - GetSBPosition(SB_HORZ)),
                     Saturate(int64_t(corner.y) - GetSBPosition(SB_VERT)), nullptr);
    SetViewportExtEx(dc, size.cx, size.cy, nullptr);
}

// Each assignment goes through its setter, whose bar may appear or vanish and
// send WM_SIZE at once; the re-entered call works from the same Width and
// Height and so sets the same ranges, which ends the chain.
void TRectScroller::WMSize(TMessage&) {
    if (IsDesigning()) return;
    const SIZE rect = GetRectSizes();
    const int64_t width = GetWidth();
    const int64_t height = GetHeight();
    if (width < rect.cx) {
        SetHMax(Saturate(rect.cx - width));
        if (height - kBarThickness < rect.cy) {
            SetVMax(Saturate(rect.cy - height + kBarThickness));
            SetHMax(Saturate(rect.cx - width + kBarThickness));
        } else {
            SetVMax(0);
        }
    } else if (height < rect.cy) {
        SetVMax(Saturate(rect.cy - height));
        if (width - kBarThickness >= rect.cx) {
            SetHMax(0);
        } else {
            SetHMax(Saturate(rect.cx - width + kBarThickness));
            SetVMax(Saturate(rect.cy - height + kBarThickness));
        }
    } else {
        SetHMax(0);
        SetVMax(0);
    }
}

void TRectScroller::Resize() {
    TMessage empty;
    WMSize(empty);
}

void TRectScroller::SetSizes(int width, int height) {
    SetWidth(width);
    SetHeight(height);
    Resize();
}

void TRectScroller::Refresh() {
    Resize();
    Repaint();
}

void TRectScroller::Loaded() {
    TScrollControl::Loaded();
    if (HandleAllocated()) Resize();
}

// ---- Painting ----

void TRectScroller::Paint() {
    if (SkipPaint()) return;
    const POINT origin = GetRectPos();
    const SIZE size = GetRectSizes();
    if (IsDesigning()) {
        DesignPaint();
        return;
    }
    PrepareDC(GetCanvas()->GetHandle());
    PaintRect(origin, size);
    PaintBorderGaps(origin, size);
}

void TRectScroller::PaintRect(POINT origin, SIZE size) {
    TCanvas* canvas = GetCanvas();
    if (FillBackground) {
        HDC dc = canvas->GetHandle();
        const COLORREF previous = ::SetBkColor(dc, ColorToRGB(BkColor));
        const RECT rect{origin.x, origin.y, Saturate(int64_t(origin.x) + size.cx), Saturate(int64_t(origin.y) + size.cy)};
        FillRect(dc, &rect, BkBrush->GetHandle());
        ::SetBkColor(dc, previous);
    }
    if (OnPaintRect) OnPaintRect(this, canvas, origin, size);
}

// The strips beside a rectangle narrower than the control and above and below
// one lower than it, in scrolled-area pixels with right and bottom included.
// An offset of the rectangle on an axis means it is centred there.
void TRectScroller::PaintBorderGaps(POINT origin, SIZE size) {
    const int64_t width = GetWidth();
    const int64_t height = GetHeight();
    if (HMax == 0) {
        const int64_t top = origin.y != 0 ? 0 : VPos;
        const int64_t bottom = origin.y != 0 ? height : VPos + height;
        PaintBorderGap(RECT{0, Saturate(top), Saturate(int64_t(origin.x) - 1), Saturate(bottom - 1)});
        PaintBorderGap(RECT{Saturate(int64_t(origin.x) + size.cx), Saturate(top), Saturate(width - 1),
                            Saturate(bottom - 1)});
    }
    if (VMax == 0) {
        const int64_t left = origin.x != 0 ? origin.x : HPos;
        const int64_t right = origin.x != 0 ? int64_t(origin.x) + size.cx : std::max<int64_t>(size.cx, width) + HPos;
        PaintBorderGap(RECT{Saturate(left), 0, Saturate(right - 1), Saturate(int64_t(origin.y) - 1)});
        PaintBorderGap(RECT{Saturate(left), Saturate(int64_t(origin.y) + size.cy), Saturate(right - 1),
                            Saturate(height - 1)});
    }
}

void TRectScroller::PaintBorderGap(RECT r) {
    if (FillBorderGap && r.left <= r.right && r.top <= r.bottom) {
        HWND window = GetHandle();
        HDC dc = GetDC(window);
        ::SetBkColor(dc, ColorToRGB(BorderBkColor));
        const RECT client{Saturate(int64_t(r.left) - HPos), Saturate(int64_t(r.top) - VPos),
                          Saturate(int64_t(r.right) + 1 - HPos), Saturate(int64_t(r.bottom) + 1 - VPos)};
        FillRect(dc, &client, BorderBrush->GetHandle());
        ReleaseDC(window, dc);
    }
    if (OnPaintBorderGap) OnPaintBorderGap(this, GetCanvas(), r);
}

void TRectScroller::SetCentered(bool value) {
    if (value == Centered) return;
    Centered = value;
    Repaint();
}

void TRectScroller::SetBorderBrush(const TBrush* brush) {
    if (!brush) return;
    BorderBrush->Assign(brush);
    Repaint();
}

void TRectScroller::SetBorderBkColor(TColor color) {
    if (color == BorderBkColor || !FillBorderGap) return;
    BorderBkColor = color;
    Repaint();
}

// ---- Mouse ----

bool TRectScroller::Inside(POINT p, SIZE size) const { return p.x >= 0 && p.x < size.cx && p.y >= 0 && p.y < size.cy; }

void TRectScroller::MarkEntered() {
    if (inUserArea_) return;
    inUserArea_ = true;
    EnterUserArea();
}

void TRectScroller::MarkLeft() {
    if (!inUserArea_) return;
    inUserArea_ = false;
    LeaveUserArea();
}

void TRectScroller::SetMouseProps(int x, int y) {
    TScrollControl::SetMouseProps(x, y);
    FMousePos = TransformToUserArea(x, y);
}

void TRectScroller::CheckEnterLeaveUserArea() {
    const SIZE size = GetRectSizes();
    const bool wasInside = Inside(FPrevMousePos, size);
    const bool isInside = Inside(FMousePos, size);
    if (!wasInside && isInside) MarkEntered();
    if (wasInside && !isInside) MarkLeft();
}

// An axis on which the rectangle sits at 0 fills the control there, so the
// mouse entering the control has entered the rectangle on that axis.
void TRectScroller::CMMouseEnter(TMessage&) {
    const POINT corner = GetRectPos();
    const SIZE size = GetRectSizes();
    if (corner.x != 0 && (FMousePos.x < 0 || FMousePos.x >= size.cx)) return;
    if (corner.y != 0 && (FMousePos.y < 0 || FMousePos.y >= size.cy)) return;
    MarkEntered();
}

void TRectScroller::CMMouseLeave(TMessage&) { MarkLeft(); }

void TRectScroller::EnterUserArea() {
    if (OnEnterUserArea) OnEnterUserArea(this);
}

void TRectScroller::LeaveUserArea() {
    if (OnLeaveUserArea) OnLeaveUserArea(this);
}

void TRectScroller::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (IsDesigning() || HandlePopupMenu(button, x, y)) return;
    if (!OnMouseDown || !GetEnabled()) return;
    const POINT p = TransformToUserArea(x, y);
    PrepareDC(GetCanvas()->GetHandle());
    DoOnMouseDown(button, shift, p.x, p.y);
}

void TRectScroller::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (IsDesigning() || !OnMouseUp || !GetEnabled()) return;
    const POINT p = TransformToUserArea(x, y);
    PrepareDC(GetCanvas()->GetHandle());
    DoOnMouseUp(button, shift, p.x, p.y);
}

void TRectScroller::MouseMove(TShiftState shift, int x, int y) {
    SetMouseProps(x, y);
    CheckEnterLeaveUserArea();
    if (IsDesigning() || !OnMouseMove || !GetEnabled()) return;
    PrepareDC(GetCanvas()->GetHandle());
    DoOnMouseMove(shift, FMousePos.x, FMousePos.y);
}

void TRectScroller::DoOnMouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TRectScroller::DoOnMouseMove(TShiftState shift, int x, int y) {
    if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TRectScroller::DoOnMouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

// ---- Keys ----

// The scroll control's page, Home and End keys are not handled here.
void TRectScroller::KeyDown(WORD& key, TShiftState shift) {
    TCustomControl::KeyDown(key, shift);
    if (!KeyScroll) return;
    // ORDER none: rows are looked up by key.
    static const struct {
        WORD key;
        int bar;
        int direction;
    } kArrows[] = {{VK_LEFT, SB_HORZ, -1}, {VK_UP, SB_VERT, -1}, {VK_RIGHT, SB_HORZ, 1}, {VK_DOWN, SB_VERT, 1}};
    for (const auto& row : kArrows) {
        if (row.key != key) continue;
        const int pos = row.bar == SB_HORZ ? HPos : VPos;
        const int max = row.bar == SB_HORZ ? HMax : VMax;
        int64_t target;
        if (shift.Contains(ssCtrl))  // Ctrl: to the start, or one short of the end
            target = row.direction < 0 ? 0 : int64_t(max) - 1;
        else if (shift.Contains(ssShift))
            target = pos + row.direction * ((int64_t(max) + 1) / std::max(PageSize, 1));
        else
            target = int64_t(pos) + row.direction;
        if (row.bar == SB_HORZ)
            SetHPos(Saturate(target));
        else
            SetVPos(Saturate(target));
        return;
    }
}

void TRectScroller::WMGetDlgCode(TMessage& message) {
    message.Result = DLGC_WANTALLKEYS;
    if (WantArrows) message.Result |= DLGC_WANTARROWS;
    if (WantTab) message.Result |= DLGC_WANTTAB;
}

// ---- Published properties and registration ----

namespace {

const TPropertyInfo kRectScrollerProperties[] = {
    CLASSLIB_BOOLEAN_PROPERTY(TRectScroller, Centered, true),
    CLASSLIB_BOOLEAN_PROPERTY(TRectScroller, FillBorderGap, true),
    CLASSLIB_OBJECT_PROPERTY(TRectScroller, BorderBrush),
    CLASSLIB_NAMED_INTEGER_PROPERTY(TRectScroller, BorderBkColor, clWhite, &ColorIdentifiers),
    CLASSLIB_BOOLEAN_PROPERTY(TRectScroller, WantArrows, false),
    CLASSLIB_BOOLEAN_PROPERTY(TRectScroller, WantTab, false),
    CLASSLIB_INTEGER_PROPERTY(TRectScroller, PageSize, 10),
    CLASSLIB_EVENT_PROPERTY(TRectScroller, OnGetRectSizes, TGetRectSizesEvent),
    CLASSLIB_EVENT_PROPERTY(TRectScroller, OnPaintRect, TPaintRectEvent),
    CLASSLIB_EVENT_PROPERTY(TRectScroller, OnPaintBorderGap, TPaintBorderGapEvent),
    CLASSLIB_EVENT_PROPERTY(TRectScroller, OnEnterUserArea, TUserAreaEvent),
    CLASSLIB_EVENT_PROPERTY(TRectScroller, OnLeaveUserArea, TUserAreaEvent),
};

}  // namespace

void RegisterRectScrollerProperties() {
    RegisterPropertyTable(TRectScroller::StaticClassInfo(), kRectScrollerProperties);
}

namespace Rectscroller {
void Register() { RegisterComponents("Rollan", {ComponentClass<TRectScroller>()}); }
}  // namespace Rectscroller
