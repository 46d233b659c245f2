// TProcessBar: a progress bar that fills from the left in proportion to its
// position within Min..Max and can show the percentage and a caption.
#pragma once

#include <string>

#include "GraphicControl.h"

// Where the text sits in the bar.
enum TProcessTextPos { ptpLeft, ptpCenter, ptpRight };

// The bar draws BkColor, fills the done part with PosColor, and writes its text
// (Caption, then the percentage when Percent is on) in TextColor over the empty
// part and in CaptionColor over the filled part, so it stays readable where the
// fill passes under it. Min is at most Max at all times.
class TProcessBar : public TGraphicControl {
    CLASSLIB_CLASS(TProcessBar, TGraphicControl)

public:
    // A bar of 150x16, 0..100 at 0, navy on white with the percentage centred.
    explicit TProcessBar(TComponent* owner);

    int GetMin() const { return min_; }
    // Raises Max to min when it is below; the position is clamped into the range.
    void SetMin(int min);
    int GetMax() const { return max_; }
    // Lowers Min to max when it is above; the position is clamped into the range.
    void SetMax(int max);
    int GetPos() const { return pos_; }
    // Clamped into Min..Max.
    void SetPos(int pos);
    // The position as a whole percentage of the range, 0..100 (0 for an empty range).
    int GetPercentage() const;

    TColor GetPosColor() const { return posColor_; }
    void SetPosColor(TColor color);
    TColor GetTextColor() const { return textColor_; }
    void SetTextColor(TColor color);
    TColor GetBkColor() const { return bkColor_; }
    void SetBkColor(TColor color);
    TColor GetCaptionColor() const { return captionColor_; }
    void SetCaptionColor(TColor color);
    bool GetPercent() const { return percent_; }
    void SetPercent(bool percent);
    TProcessTextPos GetPercentPos() const { return percentPos_; }
    void SetPercentPos(TProcessTextPos position);

    // The text the bar shows: the caption, a space and "NN%" as they apply.
    std::string DisplayText() const;
    // Width in pixels of the filled part of the client area's inside.
    int FilledWidth() const;

protected:
    void Paint() override;

private:
    template <class Value>
    void Change(Value& field, Value value);

    int min_ = 0;
    int max_ = 100;
    int pos_ = 0;
    TColor posColor_ = clNavy;
    TColor textColor_ = clBlack;
    TColor bkColor_ = clWhite;
    TColor captionColor_ = clWhite;
    bool percent_ = true;
    TProcessTextPos percentPos_ = ptpCenter;
};

// The property table of the class (called by the package's start-up).
void RegisterProcessBarProperties();
