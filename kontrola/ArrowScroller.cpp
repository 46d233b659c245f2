// TArrowScroller: a pair of arrow buttons with an auto-repeating integer position.
#include "ArrowScroller.h"

#include <algorithm>
#include <iterator>

#include "ControlDrawing.h"
#include "PropertyTable.h"

namespace {
constexpr UINT_PTR kRepeatTimer = 1;

bool Contains(const RECT& rect, POINT point) {
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom;
}
}  // namespace

TArrowScroller::TArrowScroller(TComponent* owner) : TCustomControl(owner) { SetBounds(0, 0, 33, 21); }

TArrowScroller::~TArrowScroller() {
    Destroying();
    StopRepeat();
}

void TArrowScroller::SetDirection(TArrowScrollerDirection direction) {
    if (direction == direction_) return;
    direction_ = direction;
    Invalidate();
}

void TArrowScroller::SetPosition(int position) {
    position = std::clamp(position, min_, max_);
    if (position == position_) return;
    position_ = position;
    if (!GetComponentState().Contains(csLoading)) Change();
}

void TArrowScroller::SetMin(int min) {
    min_ = min;
    if (max_ < min_) max_ = min_;
    SetPosition(position_);
}

void TArrowScroller::SetMax(int max) {
    max_ = max;
    if (min_ > max_) min_ = max_;
    SetPosition(position_);
}

void TArrowScroller::SetIncrement(int increment) { increment_ = std::max(increment, 1); }

void TArrowScroller::Step(bool up) {
    const long long next = static_cast<long long>(position_) + (up ? increment_ : -static_cast<long long>(increment_));
    SetPosition(static_cast<int>(std::clamp<long long>(next, min_, max_)));
}

void TArrowScroller::Change() {
    if (OnChange) OnChange(this);
}

RECT TArrowScroller::ButtonRect(bool up) const {
    const RECT client = GetClientRect();
    const bool raisingIsFirst = direction_ == asdUp || direction_ == asdLeft;
    const bool first = up == raisingIsFirst;
    if (client.right >= client.bottom) {
        const int middle = client.right / 2;
        return first ? RECT{0, 0, middle, client.bottom} : RECT{middle, 0, client.right, client.bottom};
    }
    const int middle = client.bottom / 2;
    return first ? RECT{0, 0, client.right, middle} : RECT{0, middle, client.right, client.bottom};
}

TArrowScrollerDirection TArrowScroller::ArrowOf(bool up) const {
    const bool vertical = direction_ == asdUp || direction_ == asdDown;
    const bool raisingIsFirst = direction_ == asdUp || direction_ == asdLeft;
    const bool first = up == raisingIsFirst;
    if (vertical) return first ? asdUp : asdDown;
    return first ? asdLeft : asdRight;
}

void TArrowScroller::PaintButton(bool up) {
    TCanvas* canvas = GetCanvas();
    RECT face = ButtonRect(up);
    const bool pressed = pressed_ == (up ? TPressed::Up : TPressed::Down);
    DrawButtonFace(canvas, face, pressed, false);
    if (pressed) face = RECT{face.left + 1, face.top + 1, face.right + 1, face.bottom + 1};
    // A filled triangle pointing the arrow's way, sized to the smaller side and
    // drawn as rows of growing length so that it stays symmetric.
    const int depth = std::max(2, std::min(face.right - face.left, face.bottom - face.top) / 3);
    const int cx = (face.left + face.right) / 2;
    const int cy = (face.top + face.bottom) / 2;
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->GetBrush()->SetColor(GetEnabled() ? clBtnText : clGrayText);
    const TArrowScrollerDirection arrow = ArrowOf(up);
    for (int row = 0; row < depth; ++row) {
        // Row 0 is the tip; each row is one pixel longer at both ends.
        switch (arrow) {
            case asdUp: canvas->FillRect(RECT{cx - row, cy - depth / 2 + row, cx + row + 1, cy - depth / 2 + row + 1}); break;
            case asdDown: canvas->FillRect(RECT{cx - row, cy + depth / 2 - row, cx + row + 1, cy + depth / 2 - row + 1}); break;
            case asdLeft: canvas->FillRect(RECT{cx - depth / 2 + row, cy - row, cx - depth / 2 + row + 1, cy + row + 1}); break;
            case asdRight: canvas->FillRect(RECT{cx + depth / 2 - row, cy - row, cx + depth / 2 - row + 1, cy + row + 1}); break;
        }
    }
}

void TArrowScroller::Paint() {
    PaintButton(true);
    PaintButton(false);
}

void TArrowScroller::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseDown(button, shift, x, y);
    if (button != mbLeft || !GetEnabled()) return;
    const POINT point{x, y};
    const RECT upRect = ButtonRect(true);
    const RECT downRect = ButtonRect(false);
    if (Contains(upRect, point))
        pressed_ = TPressed::Up;
    else if (Contains(downRect, point))
        pressed_ = TPressed::Down;
    else
        return;
    SetCapture(GetHandle());
    Invalidate();
    Step(pressed_ == TPressed::Up);
    SetTimer(GetHandle(), kRepeatTimer, RepeatDelay, nullptr);
}

void TArrowScroller::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft && pressed_ != TPressed::None) {
        StopRepeat();
        ReleaseCapture();
        Invalidate();
    }
    TCustomControl::MouseUp(button, shift, x, y);
}

void TArrowScroller::KeyDown(WORD& key, TShiftState shift) {
    TCustomControl::KeyDown(key, shift);
    // Each arrow key as the direction it points; the pairs are opposites.
    static const struct {
        WORD key;
        TArrowScrollerDirection direction, opposite;
    } kArrowKeys[] = {{VK_UP, asdUp, asdDown}, {VK_DOWN, asdDown, asdUp}, {VK_LEFT, asdLeft, asdRight},
                      {VK_RIGHT, asdRight, asdLeft}};
    for (const auto& row : kArrowKeys) {
        if (row.key != key) continue;
        if (row.direction == direction_) Step(true);
        if (row.opposite == direction_) Step(false);
    }
}

void TArrowScroller::WMGetDlgCode(TMessage& message) { message.Result = DLGC_WANTARROWS; }

void TArrowScroller::StopRepeat() {
    if (pressed_ == TPressed::None) return;
    pressed_ = TPressed::None;
    if (HandleAllocated()) KillTimer(GetHandle(), kRepeatTimer);
}

void TArrowScroller::WMTimer(TMessage& message) {
    if (message.WParam != kRepeatTimer || pressed_ == TPressed::None) return;
    if (!GetEnabled()) {
        StopRepeat();
        return;
    }
    // The first tick ends the delay; the rest repeat quicker.
    SetTimer(GetHandle(), kRepeatTimer, RepeatInterval, nullptr);
    Step(pressed_ == TPressed::Up);
}

namespace {

const TIdentifier kDirectionNames[] = {
    {"asdUp", asdUp}, {"asdDown", asdDown}, {"asdLeft", asdLeft}, {"asdRight", asdRight}};
const TIdentifierList kDirections{kDirectionNames, std::size(kDirectionNames)};

const TPropertyInfo kArrowScrollerProperties[] = {
    CLASSLIB_ENUM_PROPERTY(TArrowScroller, Direction, TArrowScrollerDirection, asdUp, &kDirections),
    CLASSLIB_INTEGER_PROPERTY(TArrowScroller, Min, 0),
    CLASSLIB_INTEGER_PROPERTY(TArrowScroller, Max, 1000),
    CLASSLIB_INTEGER_PROPERTY(TArrowScroller, Position, 0),
    CLASSLIB_INTEGER_PROPERTY(TArrowScroller, Increment, 1),
    CLASSLIB_EVENT_PROPERTY(TArrowScroller, OnChange, TNotifyEvent),
};

}  // namespace

void RegisterArrowScrollerProperties() {
    RegisterPropertyTable(TArrowScroller::StaticClassInfo(), kArrowScrollerProperties);
}
