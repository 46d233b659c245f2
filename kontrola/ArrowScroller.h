// TArrowScroller: two arrow buttons that step an integer position up or down
// and report each new position through OnChange.
#pragma once

#include "CustomControl.h"

// The arrow that raises the position; the other button points the other way.
// The two buttons share the longer side of the control.
enum TArrowScrollerDirection { asdUp, asdDown, asdLeft, asdRight };

// A press on a button steps once at once, then repeats while the button is
// held (after RepeatDelay, every RepeatInterval milliseconds). With the focus
// (TabStop is off by default), the arrow key of the raising arrow steps up and
// the opposite key steps down. The position stays within Min..Max; Min is at
// most Max at all times.
class TArrowScroller : public TCustomControl {
    CLASSLIB_CLASS(TArrowScroller, TCustomControl)

public:
    static constexpr unsigned RepeatDelay = 400;
    static constexpr unsigned RepeatInterval = 60;

    // A scroller of 33x21, positions 0..1000 in steps of 1, at 0.
    explicit TArrowScroller(TComponent* owner);
    ~TArrowScroller() override;

    TArrowScrollerDirection GetDirection() const { return direction_; }
    void SetDirection(TArrowScrollerDirection direction);
    int GetPosition() const { return position_; }
    // Clamped into Min..Max; a change fires OnChange (not while loading).
    void SetPosition(int position);
    int GetMin() const { return min_; }
    // Raises Max to min when below it, and clamps the position.
    void SetMin(int min);
    int GetMax() const { return max_; }
    // Lowers Min to max when above it, and clamps the position.
    void SetMax(int max);
    int GetIncrement() const { return increment_; }
    // Values below 1 become 1.
    void SetIncrement(int increment);

    // Steps as a press of the raising (up true) or lowering button does.
    void Step(bool up);
    // The rectangle of the raising or lowering button in client coordinates.
    RECT ButtonRect(bool up) const;

    TNotifyEvent OnChange;

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyDown(WORD& key, TShiftState shift) override;
    virtual void Change();

    void WMTimer(TMessage& message);
    void WMGetDlgCode(TMessage& message);
    CLASSLIB_MESSAGE_MAP(TArrowScroller, TCustomControl, {WM_TIMER, &TArrowScroller::WMTimer},
                         {WM_GETDLGCODE, &TArrowScroller::WMGetDlgCode})

private:
    enum class TPressed { None, Up, Down };
    void StopRepeat();
    void PaintButton(bool up);
    // The arrow's direction on the raising (up true) or lowering button.
    TArrowScrollerDirection ArrowOf(bool up) const;

    TArrowScrollerDirection direction_ = asdUp;
    int position_ = 0;
    int min_ = 0;
    int max_ = 1000;
    int increment_ = 1;
    TPressed pressed_ = TPressed::None;
};

// The property table of the class (called by the package's start-up).
void RegisterArrowScrollerProperties();
