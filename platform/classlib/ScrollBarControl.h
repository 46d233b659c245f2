// TScrollBar: a stand-alone scroll bar control with its range, page and
// position, worked by mouse (arrows, track, thumb) and keyboard.
#pragma once

#include <functional>

#include "CustomControl.h"

enum TScrollBarKind { sbHorizontal, sbVertical };
enum TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll };
// Told before a scroll moves the position; the handler may change scrollPos
// (it is clamped into the range afterwards).
using TScrollEvent = std::function<void(TObject* sender, TScrollCode scrollCode, int& scrollPos)>;

// Position stays within [Min, Max - max(PageSize - 1, 0)]. Setting Min above
// Max raises Max to it and setting Max below Min lowers Min; PageSize is
// clamped into [0, Max - Min + 1]. The arrows step by SmallChange, the track
// and Page Up/Down by LargeChange; Home and End go to the ends. A press on an
// arrow or the track repeats while held. Every change of Position runs OnChange.
class TScrollBar : public TCustomControl {
    CLASSLIB_CLASS(TScrollBar, TCustomControl)

public:
    // A horizontal 121x16 bar over [0, 100], a tab stop.
    explicit TScrollBar(TComponent* owner);

    TScrollBarKind GetKind() const { return kind_; }
    // Swaps width and height when the kind changes.
    void SetKind(TScrollBarKind kind);
    int GetMin() const { return min_; }
    void SetMin(int min);
    int GetMax() const { return max_; }
    void SetMax(int max);
    int GetPosition() const { return position_; }
    void SetPosition(int position);
    int GetPageSize() const { return pageSize_; }
    void SetPageSize(int pageSize);
    int GetSmallChange() const { return smallChange_; }
    // At least 1.
    void SetSmallChange(int change) { smallChange_ = change < 1 ? 1 : change; }
    int GetLargeChange() const { return largeChange_; }
    // At least 1.
    void SetLargeChange(int change) { largeChange_ = change < 1 ? 1 : change; }
    // Sets the three at once (Min, then Max, then Position, with the rules above).
    void SetParams(int position, int min, int max);
    // The greatest position the page allows.
    int MaxPosition() const;

    TNotifyEvent OnChange;
    TScrollEvent OnScroll;

protected:
    void Paint() override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void DoEnter() override;
    void DoExit() override;
    virtual void Change();
    // Runs OnScroll, then moves to the (clamped) position it leaves.
    virtual void Scroll(TScrollCode code, int& position);

    void WMGetDlgCode(TMessage& message);
    void WMTimer(TMessage& message);
    CLASSLIB_MESSAGE_MAP(TScrollBar, TCustomControl, {WM_GETDLGCODE, &TScrollBar::WMGetDlgCode},
                         {WM_TIMER, &TScrollBar::WMTimer})

private:
    enum class Part { None, LessArrow, MoreArrow, LessTrack, MoreTrack, Thumb };
    struct Geometry {
        int length;      // along the bar
        int arrow;       // each arrow button's length
        int thumbStart;  // from the bar's start
        int thumbLength;
    };
    Geometry Measure() const;
    Part PartAt(int x, int y) const;
    void ScrollBy(TScrollCode code);
    void StopRepeat();
    RECT PartRect(int start, int length) const;

    TScrollBarKind kind_ = sbHorizontal;
    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
    int pageSize_ = 0;
    int smallChange_ = 1;
    int largeChange_ = 1;
    Part pressed_ = Part::None;
    int dragOffset_ = 0;
    int trackPosition_ = 0;
};

// The property table of TScrollBar (called by the library's start-up).
void RegisterScrollBarProperties();
