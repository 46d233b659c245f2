// TScrollControl: ranges, positions and scroll-bar messages, the wheel and
// keys, strip painting after a scroll, coordinates and published properties.
#include "ScrollControl.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>

#include "Exceptions.h"
#include "Menus.h"
#include "PropertyTable.h"
#include "ReadOnlyProperty.h"
#include "Registration.h"
#include "ScrollArithmetic.h"

namespace {

bool IsHeld(int virtualKey) { return GetKeyState(virtualKey) < 0; }

}  // namespace

TScrollControl::TScrollControl(TComponent* owner) : TCustomControl(owner), BkBrush(new TBrush) {
    SetTabStop(true);
    SetBounds(GetLeft(), GetTop(), 150, 100);
    SetColor(BkColor);
    FScrollInfo.cbSize = sizeof(SCROLLINFO);
    // A brush changed through its own properties (a form's BkBrush.Color) shows at once.
    BkBrush->OnChange = [this](TObject*) {
        if (HandleAllocated()) Invalidate();
    };
}

TScrollControl::~TScrollControl() {
    Destroying();
    delete BkBrush;
    BkBrush = nullptr;
}

void TScrollControl::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    params.Style |= WS_HSCROLL | WS_VSCROLL;
}

TScrollControl::TAxis TScrollControl::Axis(int bar) {
    if (bar == SB_HORZ) return TAxis{HMin, HMax, HPos, HScrollStep, HPageSize, HScrollPage};
    return TAxis{VMin, VMax, VPos, VScrollStep, VPageSize, VScrollPage};
}

bool TScrollControl::IsDesigning() const {
    const TComponent* owner = GetOwner();
    return GetComponentState().Contains(csDesigning) ||
           (owner != nullptr && owner->GetComponentState().Contains(csDesigning));
}

// ---- Ranges and positions ----

int TScrollControl::GetSBPosition(int bar) {
    if (!HandleAllocated()) return Axis(bar).pos;
    FScrollInfo.fMask = SIF_POS;
    if (!GetScrollInfo(GetHandle(), bar, &FScrollInfo)) return Axis(bar).pos;
    return FScrollInfo.nPos;
}

void TScrollControl::SetSBPosition(int bar, int pos) {
    int accepted = pos;
    if (HandleAllocated()) {
        FScrollInfo.fMask = SIF_POS;
        FScrollInfo.nPos = pos;
        accepted = SetScrollInfo(GetHandle(), bar, &FScrollInfo, TRUE);
    }
    Axis(bar).pos = accepted;
}

void TScrollControl::SetBarRange(int bar, int min, int max) {
    if (!HandleAllocated()) return;
    // A scroll page below 0 counts as 0, as no bar has a negative page.
    const int page = std::max(Axis(bar).scrollPage, 0);
    FScrollInfo.fMask = SIF_RANGE | SIF_PAGE;
    FScrollInfo.nMin = min;
    FScrollInfo.nMax = Saturate(int64_t(max) + page - 1);
    FScrollInfo.nPage = static_cast<UINT>(page);
    // The bar may have moved its position into the new range: follow it.
    Axis(bar).pos = SetScrollInfo(GetHandle(), bar, &FScrollInfo, TRUE);
}

void TScrollControl::SetMin(int bar, int v) {
    if (GetComponentState().Contains(csLoading)) {
        pending_[bar].min = v;
        return;
    }
    TAxis axis = Axis(bar);
    if (v < 0 || v > axis.max) return;
    if (GetSBPosition(bar) < v) SetSBPosition(bar, v);
    SetBarRange(bar, v, axis.max);
    axis.min = v;
}

void TScrollControl::SetMax(int bar, int v) {
    if (GetComponentState().Contains(csLoading)) {
        pending_[bar].max = v;
        return;
    }
    TAxis axis = Axis(bar);
    if (v < axis.min) return;
    if (GetSBPosition(bar) > v) SetSBPosition(bar, v);
    SetBarRange(bar, axis.min, v);
    axis.max = v;
}

void TScrollControl::SetPosition(int bar, int v) {
    if (GetComponentState().Contains(csLoading)) {
        pending_[bar].pos = v;
        return;
    }
    TAxis axis = Axis(bar);
    v = ClampPosition(v, axis.min, axis.max);
    if (!HandleAllocated()) {
        axis.pos = v;
        return;
    }
    SetPos(bar, GetSBPosition(bar), v);
}

void TScrollControl::SetVMin(int v) { SetMin(SB_VERT, v); }
void TScrollControl::SetVMax(int v) { SetMax(SB_VERT, v); }
void TScrollControl::SetVPos(int v) { SetPosition(SB_VERT, v); }
void TScrollControl::SetHMin(int v) { SetMin(SB_HORZ, v); }
void TScrollControl::SetHMax(int v) { SetMax(SB_HORZ, v); }
void TScrollControl::SetHPos(int v) { SetPosition(SB_HORZ, v); }

void TScrollControl::SetPos(int bar, int oldPos, int newPos) {
    BeforeScroll(bar);
    SetSBPosition(bar, newPos);
    // The picture moves by what the bar accepted, which may be short of newPos.
    if (AutoScroll || !FDragging) ScrollClientArea(bar, Saturate(int64_t(oldPos) - Axis(bar).pos));
    Scroll(bar);
    AfterScroll(bar);
}

void TScrollControl::InitScrollbars() {
    SetVMin(VMin);
    SetVMax(VMax);
    SetHMin(HMin);
    SetHMax(HMax);
}

// A form sets VMin before VMax; a stored minimum above the maximum the
// control had is applied once the stored maximum is in place.
void TScrollControl::ApplyLoadedAxis(int bar) {
    const TPendingAxis pending = pending_[bar];
    pending_[bar] = TPendingAxis();
    TAxis axis = Axis(bar);
    if (pending.min && pending.max && *pending.min > axis.max) {
        SetMax(bar, *pending.max);
        SetMin(bar, *pending.min);
    } else {
        if (pending.min) SetMin(bar, *pending.min);
        if (pending.max) SetMax(bar, *pending.max);
    }
    if (pending.pos) {
        SetSBPosition(bar, ClampPosition(*pending.pos, axis.min, axis.max));
        if (HandleAllocated()) Invalidate();
    }
}

void TScrollControl::Loaded() {
    TCustomControl::Loaded();
    ApplyLoadedAxis(SB_VERT);
    ApplyLoadedAxis(SB_HORZ);
}

// ---- Scrolling ----

void TScrollControl::DoScroll(TMessage& message, int bar) {
    if (!GetEnabled()) return;
    if (GetTabStop() && !Focused() && CanFocus()) SetFocus();
    const int pos = GetSBPosition(bar);
    int oldPos = pos;
    int newPos = pos;
    TAxis axis = Axis(bar);
    switch (message.WParamLo()) {
        case SB_LINEUP: newPos = ClampPosition(int64_t(pos) - 1, axis.min, INT_MAX); break;
        case SB_LINEDOWN: newPos = ClampPosition(int64_t(pos) + 1, INT_MIN, axis.max); break;
        case SB_PAGEUP: newPos = ClampPosition(int64_t(pos) - axis.pageSize, axis.min, INT_MAX); break;
        case SB_PAGEDOWN: newPos = ClampPosition(int64_t(pos) + axis.pageSize, INT_MIN, axis.max); break;
        case SB_THUMBTRACK:
            FScrollInfo.fMask = SIF_TRACKPOS;
            if (HandleAllocated() && GetScrollInfo(GetHandle(), bar, &FScrollInfo)) newPos = FScrollInfo.nTrackPos;
            BeforeDrag(bar);
            if (!AutoScroll && !FDragging) {
                FDragOrigin = pos;
                FDragging = true;
            }
            break;
        case SB_THUMBPOSITION:
            AfterDrag(bar);
            // The picture stayed at the drag origin while the thumb moved. A
            // release without a drag under way keeps the bar's own position.
            if (FDragging) {
                oldPos = FDragOrigin;
                FDragging = false;
            }
            break;
        case SB_ENDSCROLL: return;
        default: break;  // SB_TOP, SB_BOTTOM and others: the position stays
    }
    SetPos(bar, oldPos, newPos);
}

void TScrollControl::ScrollClientArea(int bar, int delta) {
    if (!HandleAllocated()) return;
    const int width = GetClientWidth();
    const int height = GetClientHeight();
    // A move longer than the client area uncovers all of it, as a move of its length does.
    const int limit = bar == SB_HORZ ? width : height;
    const int64_t step = Axis(bar).step;
    const int d = static_cast<int>(std::clamp<int64_t>(int64_t(delta) * step, -int64_t(limit), int64_t(limit)));
    const int a = std::abs(d);
    HWND window = GetHandle();
    RECT strip;
    if (bar == SB_HORZ) {
        ScrollWindow(window, d, 0, nullptr, nullptr);
        strip = d < 0 ? RECT{width - a, 0, width, height} : RECT{0, 0, a, height};
    } else {
        ScrollWindow(window, 0, d, nullptr, nullptr);
        strip = d < 0 ? RECT{0, height - a, width, height} : RECT{0, 0, width, a};
    }
    HDC dc = GetCanvas()->GetHandle();
    HRGN region = CreateRectRgn(strip.left, strip.top, strip.right, strip.bottom);
    SelectClipRgn(dc, region);
    FPaintingStrip = true;
    FStripRect = strip;
    try {
        Paint();
    } catch (...) {
        FPaintingStrip = false;
        SelectClipRgn(dc, nullptr);
        DeleteObject(region);
        throw;
    }
    FPaintingStrip = false;
    SelectClipRgn(dc, nullptr);
    DeleteObject(region);
    // The strip is painted; with AutoScroll on nothing would skip the paint the
    // window system asks for it, which would draw it again. (With AutoScroll
    // off SkipPaint swallows that paint instead.)
    if (AutoScroll) ValidateRect(window, &strip);
}

// With AutoScroll on every paint runs. With it off, the strip paint sets
// FSkipNextPaint so that the paint the window system then asks for the same
// strip is skipped once; a zero-distance scroll uncovers nothing, so it sets
// nothing (the window system asks for no paint it could swallow).
bool TScrollControl::SkipPaint() {
    if (AutoScroll) {
        FSkipNextPaint = false;
        return false;
    }
    if (FSkipNextPaint) {
        FSkipNextPaint = false;
        return true;
    }
    if (FPaintingStrip && FStripRect.left < FStripRect.right && FStripRect.top < FStripRect.bottom) FSkipNextPaint = true;
    return false;
}

void TScrollControl::FireScrollEvent(const TScrollControlEvent& event, int bar) {
    if (event) event(this, static_cast<TScrollBarKind>(bar), bar == SB_VERT ? VPos : HPos, GetCanvas());
}

void TScrollControl::BeforeScroll(int bar) { FireScrollEvent(OnBeforeScroll, bar); }
void TScrollControl::AfterScroll(int bar) { FireScrollEvent(OnAfterScroll, bar); }
void TScrollControl::BeforeDrag(int bar) { FireScrollEvent(OnBeforeDrag, bar); }
void TScrollControl::AfterDrag(int bar) { FireScrollEvent(OnAfterDrag, bar); }
void TScrollControl::Scroll(int bar) { FireScrollEvent(OnScroll, bar); }
void TScrollControl::ShiftWheel(int) {}

// ---- Painting ----

void TScrollControl::Paint() {
    if (SkipPaint()) return;
    TCanvas* canvas = GetCanvas();
    PrepareDC(canvas->GetHandle());
    if (IsDesigning()) {
        DesignPaint();
        return;
    }
    if (FillBackground) PaintBackground();
    if (OnPaint) OnPaint(this, canvas);
}

void TScrollControl::PaintBackground() {
    HDC dc = GetCanvas()->GetHandle();
    const int width = GetClientWidth();
    const int height = GetClientHeight();
    POINT origin{0, 0};
    SIZE extent{1, 1};
    GetViewportOrgEx(dc, &origin);
    GetViewportExtEx(dc, &extent);
    SetViewportOrgEx(dc, 0, 0, nullptr);
    SetViewportExtEx(dc, width, height, nullptr);
    ::SetBkColor(dc, ColorToRGB(BkColor));
    const RECT client{0, 0, width, height};
    FillRect(dc, &client, BkBrush->GetHandle());
    SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
    SetViewportExtEx(dc, extent.cx, extent.cy, nullptr);
}

void TScrollControl::DesignPaint() {
    HWND window = GetHandle();
    HDC dc = GetDC(window);
    SelectObject(dc, GetStockObject(WHITE_BRUSH));
    SelectObject(dc, GetStockObject(BLACK_PEN));
    Rectangle(dc, 0, 0, GetWidth(), GetHeight());
    TFont font;
    HGDIOBJ previous = SelectObject(dc, font.GetHandle());
    const std::string& name = GetName();
    TextOutA(dc, 4, 4, name.c_str(), static_cast<int>(name.size()));
    SelectObject(dc, previous);
    ReleaseDC(window, dc);
}

void TScrollControl::SetBkColor(TColor color) {
    BkColor = color;
    SetColor(color);
    Invalidate();
}

void TScrollControl::SetBkBrush(const TBrush* brush) {
    if (!brush) return;
    BkBrush->Assign(brush);
    Repaint();
}

// ---- Coordinates ----

void TScrollControl::PrepareDC(HDC dc) {
    SetViewportOrgEx(dc, Saturate(-int64_t(GetSBPosition(SB_HORZ)) * HScrollStep),
                     Saturate(-int64_t(GetSBPosition(SB_VERT)) * VScrollStep), nullptr);
    SetViewportExtEx(dc, GetWidth(), GetHeight(), nullptr);
}

POINT TScrollControl::RelPoint(int x, int y) {
    POINT p{Saturate(x + int64_t(HPos) * HScrollStep), Saturate(y + int64_t(VPos) * VScrollStep)};
    if (FWorkAreaSizes.x != -1 && FWorkAreaSizes.y != -1) {
        const POINT work = GetWorkAreaPos();
        p = POINT{Saturate(int64_t(p.x) - work.x), Saturate(int64_t(p.y) - work.y)};
    }
    return p;
}

POINT TScrollControl::RelPoint(POINT p) { return RelPoint(p.x, p.y); }

POINT TScrollControl::AbsPoint(POINT p) {
    POINT q{Saturate(p.x - int64_t(HPos) * HScrollStep), Saturate(p.y - int64_t(VPos) * VScrollStep)};
    if (FWorkAreaSizes.x != -1 && FWorkAreaSizes.y != -1) {
        const POINT work = GetWorkAreaPos();
        q = POINT{Saturate(int64_t(q.x) + work.x), Saturate(int64_t(q.y) + work.y)};
    }
    return q;
}

void TScrollControl::SetWorkAreaSizes(POINT sizes) {
    FWorkAreaSizes = sizes;
    DoResize();
}

POINT TScrollControl::GetWorkAreaPos() {
    POINT pos{0, 0};
    if (FWorkAreaSizes.x == -1 || FWorkAreaSizes.y == -1) return pos;
    if (HMax == 0) pos.x = Saturate((int64_t(GetClientWidth()) - FWorkAreaSizes.x) / 2);
    if (VMax == 0) pos.y = Saturate((int64_t(GetClientHeight()) - FWorkAreaSizes.y) / 2);
    return pos;
}

// 16 pixels is a scroll bar's thickness: an axis that scrolls leaves the
// other one that much less room.
void TScrollControl::DoResize() {
    if (FWorkAreaSizes.x == -1 || FWorkAreaSizes.y == -1) return;
    const int width = GetWidth();
    const int height = GetHeight();
    const int workWidth = FWorkAreaSizes.x;
    const int workHeight = FWorkAreaSizes.y;
    int availableHeight = width < workWidth ? height - 16 : height;
    int availableWidth = height < workHeight ? width - 16 : width;
    if (width - 16 < workWidth && workWidth < width) availableHeight -= 16;
    if (height - 16 < workHeight && workHeight < height) availableWidth -= 16;
    SetHMax(0);
    if (availableWidth < workWidth) SetHMax(Saturate(int64_t(workWidth) - availableWidth));
    SetVMax(0);
    if (availableHeight < workHeight) SetVMax(Saturate(int64_t(workHeight) - availableHeight));
    SetHPos(0);
    SetVPos(0);
    Repaint();
}

void TScrollControl::SetMouseProps(int x, int y) {
    FAbsMousePos = POINT{x, y};
    FPrevMousePos = FMousePos;
    FMousePos = RelPoint(x, y);
}

// ---- Mouse and keys ----

bool TScrollControl::HandlePopupMenu(TMouseButton button, int x, int y) {
    TPopupMenu* menu = GetPopupMenu();
    if (button != mbRight || !menu || !GetEnabled()) return false;
    const POINT screen = ClientToScreen(POINT{x, y});
    menu->SetPopupComponent(this);
    menu->Popup(screen.x, screen.y);
    return true;
}

void TScrollControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (HandlePopupMenu(button, x, y)) return;
    if (!OnMouseDown || !GetEnabled()) return;
    const POINT p = RelPoint(x, y);
    PrepareDC(GetCanvas()->GetHandle());
    OnMouseDown(this, button, shift, p.x, p.y);
}

void TScrollControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (!OnMouseUp || !GetEnabled()) return;
    const POINT p = RelPoint(x, y);
    PrepareDC(GetCanvas()->GetHandle());
    OnMouseUp(this, button, shift, p.x, p.y);
}

void TScrollControl::MouseMove(TShiftState shift, int x, int y) {
    SetMouseProps(x, y);
    if (!OnMouseMove || !GetEnabled()) return;
    PrepareDC(GetCanvas()->GetHandle());
    OnMouseMove(this, shift, FMousePos.x, FMousePos.y);
}

void TScrollControl::KeyDown(WORD& key, TShiftState shift) {
    TCustomControl::KeyDown(key, shift);
    if (!KeyScroll) return;
    enum TMove { PageBack, PageForward, ToMax, ToZero, StepBack, StepForward };
    // ORDER none: rows are looked up by key.
    static const struct {
        WORD key;
        int bar;
        TMove move;
    } kKeys[] = {
        {VK_PRIOR, SB_VERT, PageBack}, {VK_NEXT, SB_VERT, PageForward}, {VK_END, SB_VERT, ToMax},
        {VK_HOME, SB_VERT, ToZero},    {VK_LEFT, SB_HORZ, StepBack},    {VK_UP, SB_VERT, StepBack},
        {VK_RIGHT, SB_HORZ, StepForward}, {VK_DOWN, SB_VERT, StepForward},
    };
    for (const auto& row : kKeys) {
        if (row.key != key) continue;
        TAxis axis = Axis(row.bar);
        // With Ctrl an arrow moves a tenth of the range.
        const int64_t step = shift.Contains(ssCtrl) ? (int64_t(axis.max) - axis.min + 1) / 10 : 1;
        int64_t target = axis.pos;
        switch (row.move) {
            case PageBack: target -= axis.pageSize; break;
            case PageForward: target += axis.pageSize; break;
            case ToMax: target = axis.max; break;
            case ToZero: target = 0; break;
            case StepBack: target -= step; break;
            case StepForward: target += step; break;
        }
        SetPosition(row.bar, Saturate(target));
        return;
    }
}

// ---- Messages ----

void TScrollControl::WMCreate(TMessage& message) {
    // The ranges may move the positions on their way; the stored ones win.
    const int verticalPos = VPos;
    const int horizontalPos = HPos;
    InitScrollbars();
    SetSBPosition(SB_VERT, verticalPos);
    SetSBPosition(SB_HORZ, horizontalPos);
    message.Result = 0;
}

void TScrollControl::WMEraseBkGnd(TMessage& message) { message.Result = 1; }

void TScrollControl::WMGetDlgCode(TMessage& message) {
    if (KeyScroll || WantArrows) message.Result |= DLGC_WANTARROWS;
    if (WantTab) message.Result |= DLGC_WANTTAB;
}

void TScrollControl::WMHScroll(TMessage& message) { DoScroll(message, SB_HORZ); }

void TScrollControl::WMVScroll(TMessage& message) { DoScroll(message, SB_VERT); }

// A notch (120) away from the user scrolls three units up; only the left-hand
// Ctrl and Shift keys change what the wheel does.
void TScrollControl::WMMouseWheel(TMessage& message) {
    const int delta = static_cast<short>(message.WParamHi());
    const int steps = (-delta / 120) * 3;
    if (IsHeld(VK_LCONTROL))
        SetHPos(Saturate(int64_t(HPos) + steps));
    else if (IsHeld(VK_LSHIFT))
        ShiftWheel(steps);
    else
        SetVPos(Saturate(int64_t(VPos) + steps));
    message.Result = 0;
}

// ---- Published properties and registration ----

namespace {

bool ColorStored(const TPersistent* object) { return !static_cast<const TControl*>(object)->GetParentColor(); }

const TPropertyInfo kScrollControlProperties[] = {
    // The constructor's TabStop and Color, so that only changes are stored.
    CLASSLIB_BOOLEAN_PROPERTY(TScrollControl, TabStop, true),
    StoredWhen(CLASSLIB_NAMED_INTEGER_PROPERTY(TScrollControl, Color, clWhite, &ColorIdentifiers), &ColorStored),
    CLASSLIB_INTEGER_PROPERTY(TScrollControl, VMin, 0),
    CLASSLIB_INTEGER_PROPERTY(TScrollControl, VMax, 100),
    CLASSLIB_INTEGER_PROPERTY(TScrollControl, VPos, 0),
    CLASSLIB_INTEGER_PROPERTY(TScrollControl, VScrollStep, 1),
    CLASSLIB_INTEGER_PROPERTY(TScrollControl, VPageSize, 10),
    CLASSLIB_INTEGER_PROPERTY(TScrollControl, VScrollPage, 64),
    CLASSLIB_INTEGER_PROPERTY(TScrollControl, HMin, 0),
    CLASSLIB_INTEGER_PROPERTY(TScrollControl, HMax, 100),
    CLASSLIB_INTEGER_PROPERTY(TScrollControl, HPos, 0),
    CLASSLIB_INTEGER_PROPERTY(TScrollControl, HScrollStep, 1),
    CLASSLIB_INTEGER_PROPERTY(TScrollControl, HPageSize, 10),
    CLASSLIB_INTEGER_PROPERTY(TScrollControl, HScrollPage, 64),
    CLASSLIB_BOOLEAN_PROPERTY(TScrollControl, AutoScroll, true),
    CLASSLIB_BOOLEAN_PROPERTY(TScrollControl, KeyScroll, false),
    CLASSLIB_BOOLEAN_PROPERTY(TScrollControl, WantArrows, false),
    CLASSLIB_BOOLEAN_PROPERTY(TScrollControl, WantTab, false),
    CLASSLIB_BOOLEAN_PROPERTY(TScrollControl, FillBackground, true),
    CLASSLIB_NAMED_INTEGER_PROPERTY(TScrollControl, BkColor, clWhite, &ColorIdentifiers),
    CLASSLIB_OBJECT_PROPERTY(TScrollControl, BkBrush),
    ROLLAN_READONLY_PROPERTY(TScrollControl, ClientHeight, TPropertyType::Integer),
    ROLLAN_READONLY_PROPERTY(TScrollControl, ClientWidth, TPropertyType::Integer),
    CLASSLIB_EVENT_PROPERTY(TScrollControl, OnPaint, TScrollPaintEvent),
    CLASSLIB_EVENT_PROPERTY(TScrollControl, OnBeforeScroll, TScrollControlEvent),
    CLASSLIB_EVENT_PROPERTY(TScrollControl, OnAfterScroll, TScrollControlEvent),
    CLASSLIB_EVENT_PROPERTY(TScrollControl, OnScroll, TScrollControlEvent),
};

}  // namespace

void RegisterScrollControlProperties() {
    RegisterPropertyTable(TScrollControl::StaticClassInfo(), kScrollControlProperties);
}

namespace Scrollcontrol {
void Register() { RegisterComponents("Rollan", {ComponentClass<TScrollControl>()}); }
}  // namespace Scrollcontrol
