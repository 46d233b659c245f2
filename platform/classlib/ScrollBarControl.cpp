// TScrollBar: range, page and position, drawing, mouse and keyboard.
#include "ScrollBarControl.h"

#include <algorithm>
#include <iterator>

#include "ControlDrawing.h"
#include "PropertyTable.h"

namespace {

const UINT_PTR kRepeatTimer = 1;
const UINT kFirstRepeatDelay = 400;
const UINT kRepeatInterval = 50;
const int kMinimumThumb = 8;

void DrawArrow(TCanvas* canvas, const RECT& rect, TScrollBarKind kind, bool towardsEnd, bool enabled) {
    int centreX = (rect.left + rect.right) / 2;
    int centreY = (rect.top + rect.bottom) / 2;
    TColor color = enabled ? clBlack : clBtnShadow;
    canvas->GetPen()->SetStyle(psSolid);
    canvas->GetPen()->SetColor(color);
    // A small filled triangle, four pixels deep, drawn as lines of shrinking length.
    for (int i = 0; i < 4; ++i) {
        int depth = towardsEnd ? i - 2 : 1 - i;
        int half = 3 - i;
        if (kind == sbHorizontal) {
            canvas->MoveTo(centreX + depth, centreY - half);
            canvas->LineTo(centreX + depth, centreY + half + 1);
        } else {
            canvas->MoveTo(centreX - half, centreY + depth);
            canvas->LineTo(centreX + half + 1, centreY + depth);
        }
    }
}

}  // namespace

TScrollBar::TScrollBar(TComponent* owner) : TCustomControl(owner) {
    SetBounds(0, 0, 121, 16);
    SetTabStop(true);
}

void TScrollBar::SetKind(TScrollBarKind kind) {
    if (kind == kind_) return;
    kind_ = kind;
    if (!GetComponentState().Contains(csLoading)) SetBounds(GetLeft(), GetTop(), GetHeight(), GetWidth());
    Invalidate();
}

int TScrollBar::MaxPosition() const { return std::max(max_ - std::max(pageSize_ - 1, 0), min_); }

void TScrollBar::SetParams(int position, int min, int max) {
    if (max < min) max = min;
    bool rangeChanged = min != min_ || max != max_;
    min_ = min;
    max_ = max;
    pageSize_ = std::clamp(pageSize_, 0, max_ - min_ + 1);
    int clamped = std::clamp(position, min_, MaxPosition());
    if (rangeChanged) Invalidate();
    if (clamped == position_) return;
    position_ = clamped;
    Invalidate();
    Change();
}

void TScrollBar::SetMin(int min) { SetParams(position_, min, std::max(max_, min)); }

void TScrollBar::SetMax(int max) { SetParams(position_, std::min(min_, max), max); }

void TScrollBar::SetPosition(int position) { SetParams(position, min_, max_); }

void TScrollBar::SetPageSize(int pageSize) {
    pageSize = std::clamp(pageSize, 0, max_ - min_ + 1);
    if (pageSize == pageSize_) return;
    pageSize_ = pageSize;
    Invalidate();
    SetPosition(position_);
}

void TScrollBar::Change() {
    if (GetComponentState().Contains(csLoading)) return;
    if (OnChange) OnChange(this);
}

void TScrollBar::Scroll(TScrollCode code, int& position) {
    if (OnScroll) OnScroll(this, code, position);
    SetPosition(position);
}

void TScrollBar::ScrollBy(TScrollCode code) {
    int position = position_;
    switch (code) {
        case scLineUp: position -= smallChange_; break;
        case scLineDown: position += smallChange_; break;
        case scPageUp: position -= largeChange_; break;
        case scPageDown: position += largeChange_; break;
        case scTop: position = min_; break;
        case scBottom: position = MaxPosition(); break;
        default: break;
    }
    position = std::clamp(position, min_, MaxPosition());
    Scroll(code, position);
}

// ---- Geometry: everything measured along the bar ----

TScrollBar::Geometry TScrollBar::Measure() const {
    int length = kind_ == sbHorizontal ? GetWidth() : GetHeight();
    int thickness = kind_ == sbHorizontal ? GetHeight() : GetWidth();
    Geometry geometry{length, std::min(thickness, length / 2), 0, 0};
    int track = length - 2 * geometry.arrow;
    int span = max_ - min_ + 1;
    int thumb = pageSize_ > 0 ? track * pageSize_ / std::max(span, 1) : geometry.arrow;
    thumb = std::clamp(thumb, std::min(kMinimumThumb, track), std::max(track, 0));
    geometry.thumbLength = thumb;
    int travel = MaxPosition() - min_;
    int room = track - thumb;
    geometry.thumbStart = geometry.arrow + (travel > 0 ? (position_ - min_) * room / travel : 0);
    if (track <= 0) geometry.thumbLength = 0;
    return geometry;
}

RECT TScrollBar::PartRect(int start, int length) const {
    if (kind_ == sbHorizontal) return RECT{start, 0, start + length, GetHeight()};
    return RECT{0, start, GetWidth(), start + length};
}

TScrollBar::Part TScrollBar::PartAt(int x, int y) const {
    Geometry geometry = Measure();
    int along = kind_ == sbHorizontal ? x : y;
    if (along < geometry.arrow) return Part::LessArrow;
    if (along >= geometry.length - geometry.arrow) return Part::MoreArrow;
    if (geometry.thumbLength == 0 || MaxPosition() == min_) return Part::None;
    if (along < geometry.thumbStart) return Part::LessTrack;
    if (along >= geometry.thumbStart + geometry.thumbLength) return Part::MoreTrack;
    return Part::Thumb;
}

// ---- Painting ----

void TScrollBar::Paint() {
    TCanvas* canvas = GetCanvas();
    Geometry geometry = Measure();
    bool canScroll = GetEnabled() && MaxPosition() > min_;
    // The track: a light dither of face and highlight, darker where it is pressed.
    RECT track = PartRect(geometry.arrow, geometry.length - 2 * geometry.arrow);
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->GetBrush()->SetColor(static_cast<TColor>(0xE0E0E0));
    canvas->FillRect(track);
    if (pressed_ == Part::LessTrack || pressed_ == Part::MoreTrack) {
        int start = pressed_ == Part::LessTrack ? geometry.arrow : geometry.thumbStart + geometry.thumbLength;
        int end = pressed_ == Part::LessTrack ? geometry.thumbStart : geometry.length - geometry.arrow;
        canvas->GetBrush()->SetColor(clGray);
        canvas->FillRect(PartRect(start, end - start));
    }
    RECT less = PartRect(0, geometry.arrow);
    RECT more = PartRect(geometry.length - geometry.arrow, geometry.arrow);
    DrawButtonFace(canvas, less, pressed_ == Part::LessArrow, false);
    DrawArrow(canvas, PartRect(0, geometry.arrow), kind_, false, canScroll);
    DrawButtonFace(canvas, more, pressed_ == Part::MoreArrow, false);
    DrawArrow(canvas, PartRect(geometry.length - geometry.arrow, geometry.arrow), kind_, true, canScroll);
    if (canScroll && geometry.thumbLength > 0) {
        RECT thumb = PartRect(geometry.thumbStart, geometry.thumbLength);
        DrawButtonFace(canvas, thumb, false, false);
        if (Focused()) DrawFocusFrame(canvas, RECT{thumb.left + 1, thumb.top + 1, thumb.right - 1, thumb.bottom - 1});
    }
}

// ---- Mouse ----

void TScrollBar::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseDown(button, shift, x, y);
    if (button != mbLeft) return;
    if (CanFocus() && !Focused()) SetFocus();
    pressed_ = PartAt(x, y);
    static const TScrollCode kCodes[] = {scEndScroll, scLineUp, scLineDown, scPageUp, scPageDown};  // ORDER Part
    switch (pressed_) {
        case Part::None: return;
        case Part::Thumb: {
            Geometry geometry = Measure();
            dragOffset_ = (kind_ == sbHorizontal ? x : y) - geometry.thumbStart;
            trackPosition_ = position_;
            break;
        }
        default:
            ScrollBy(kCodes[static_cast<int>(pressed_)]);
            SetTimer(GetHandle(), kRepeatTimer, kFirstRepeatDelay, nullptr);
            break;
    }
    Invalidate();
}

void TScrollBar::WMTimer(TMessage& message) {
    if (message.WParam != kRepeatTimer) return;
    SetTimer(GetHandle(), kRepeatTimer, kRepeatInterval, nullptr);
    POINT point{0, 0};
    GetCursorPos(&point);
    point = ScreenToClient(point);
    Part under = PartAt(point.x, point.y);
    // The track repeats only while the thumb has not reached the pointer.
    if (under != pressed_) return;
    switch (pressed_) {
        case Part::LessArrow: ScrollBy(scLineUp); break;
        case Part::MoreArrow: ScrollBy(scLineDown); break;
        case Part::LessTrack: ScrollBy(scPageUp); break;
        case Part::MoreTrack: ScrollBy(scPageDown); break;
        default: break;
    }
}

void TScrollBar::MouseMove(TShiftState shift, int x, int y) {
    TCustomControl::MouseMove(shift, x, y);
    if (pressed_ != Part::Thumb) return;
    Geometry geometry = Measure();
    int room = geometry.length - 2 * geometry.arrow - geometry.thumbLength;
    int along = (kind_ == sbHorizontal ? x : y) - dragOffset_ - geometry.arrow;
    int travel = MaxPosition() - min_;
    int position = room > 0 ? min_ + (std::clamp(along, 0, room) * travel + room / 2) / room : min_;
    if (position == trackPosition_) return;
    trackPosition_ = position;
    Scroll(scTrack, position);
}

void TScrollBar::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseUp(button, shift, x, y);
    if (button != mbLeft || pressed_ == Part::None) return;
    bool dragged = pressed_ == Part::Thumb;
    StopRepeat();
    int position = position_;
    if (dragged) Scroll(scPosition, position);
    position = position_;
    Scroll(scEndScroll, position);
}

void TScrollBar::StopRepeat() {
    if (HandleAllocated()) KillTimer(GetHandle(), kRepeatTimer);
    pressed_ = Part::None;
    Invalidate();
}

// ---- Keyboard and focus ----

void TScrollBar::WMGetDlgCode(TMessage& message) { message.Result = DLGC_WANTARROWS; }

void TScrollBar::KeyDown(WORD& key, TShiftState shift) {
    TCustomControl::KeyDown(key, shift);
    struct KeyCode {
        WORD key;
        TScrollCode code;
    };
    static const KeyCode kKeys[] = {
        {VK_LEFT, scLineUp},  {VK_UP, scLineUp},     {VK_RIGHT, scLineDown}, {VK_DOWN, scLineDown},
        {VK_PRIOR, scPageUp}, {VK_NEXT, scPageDown}, {VK_HOME, scTop},       {VK_END, scBottom},
    };
    for (const KeyCode& row : kKeys) {
        if (row.key != key) continue;
        ScrollBy(row.code);
        key = 0;
        return;
    }
}

void TScrollBar::DoEnter() {
    Invalidate();
    TCustomControl::DoEnter();
}

void TScrollBar::DoExit() {
    StopRepeat();
    TCustomControl::DoExit();
}

// ---- Published properties ----

namespace {

// ORDER TScrollBarKind: the values are the enumeration's.
const TIdentifier kKindNames[] = {{"sbHorizontal", sbHorizontal}, {"sbVertical", sbVertical}};
const TIdentifierList kKinds{kKindNames, std::size(kKindNames)};

// Min and Max come before Position so that a stored position is in range when set.
const TPropertyInfo kScrollBarProperties[] = {
    CLASSLIB_BOOLEAN_PROPERTY(TScrollBar, TabStop, true),
    CLASSLIB_ENUM_PROPERTY(TScrollBar, Kind, TScrollBarKind, sbHorizontal, &kKinds),
    CLASSLIB_INTEGER_PROPERTY(TScrollBar, Min, 0),
    CLASSLIB_INTEGER_PROPERTY(TScrollBar, Max, 100),
    CLASSLIB_INTEGER_PROPERTY(TScrollBar, PageSize, 0),
    CLASSLIB_INTEGER_PROPERTY(TScrollBar, Position, 0),
    CLASSLIB_INTEGER_PROPERTY(TScrollBar, SmallChange, 1),
    CLASSLIB_INTEGER_PROPERTY(TScrollBar, LargeChange, 1),
    CLASSLIB_EVENT_PROPERTY(TScrollBar, OnChange, TNotifyEvent),
    CLASSLIB_EVENT_PROPERTY(TScrollBar, OnScroll, TScrollEvent),
};

}  // namespace

void RegisterScrollBarProperties() { RegisterPropertyTable(TScrollBar::StaticClassInfo(), kScrollBarProperties); }
