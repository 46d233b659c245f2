// TPieChart: the chart values as slices of one circle, clockwise on the
// screen from its rightmost point, with captions outside the circle and the
// values or percentages halfway out; the slice polygons are the hit items.
#pragma once

#include <string>
#include <vector>

#include "ChartBase.h"
#include "RasterDrawing.h"

enum TPieChartShowMode : uint8_t { pcsmNone = 0, pcsmValue = 1, pcsmPercent = 2 };

class TPieChart : public TChartBase {
    CLASSLIB_CLASS(TPieChart, TChartBase)

public:
    // Gap 10, CaptionGap 2, values shown.
    explicit TPieChart(TComponent* owner);

    // Slices over the circle's points, each ending where its share of the
    // total takes it. Negative and non-finite values count as 0; a total of 0
    // leaves the background and no items. Captions are drawn in 0x000001
    // (CaptionColor has no effect here); value texts go over every slice.
    void PaintChart() override;
    void DesignPaint() override;

    int GetGap() const { return gap_; }
    void SetGap(int gap);
    int GetCaptionGap() const { return captionGap_; }
    void SetCaptionGap(int gap);
    TPieChartShowMode GetShowMode() const { return showMode_; }
    void SetShowMode(TPieChartShowMode mode);

    // min((Height - 2 * Gap) / 2, (Width - 2 * Gap) / 2); negative when the
    // control is smaller than twice the gap. At most 32767, however negative
    // Gap is, so that the circle's points stay few enough to hold.
    int Radius() const;

private:
    // A value text and its top-left, drawn once every slice is.
    struct TValueText {
        std::string text;
        int x, y;
    };
    void PaintSlices(const IMAGEDATA& view, const std::vector<POINT>& circle, int cx, int cy, int radius);
    void FillSlice(const IMAGEDATA& view, const TChartValue& value, const std::vector<POINT>& polygon);
    void DrawCaption(const TSetIDPixel& setter, const std::string& caption, int cx, int cy, int radius,
                     double angle);
    TValueText ValueText(double share, double total, int cx, int cy, int radius, double angle);

    int gap_ = 10;
    int captionGap_ = 2;
    TPieChartShowMode showMode_ = pcsmValue;
};

// The points of the circle of radius r around (cx, cy) in drawing order:
// from the rightmost point downwards (clockwise on the screen) in eight runs
// over the midpoint octant, a run's first point left out where it repeats
// the last one (an octant ending on the diagonal). Radius 0 gives the centre,
// 1 the four neighbours above, below, left and right; a negative radius none.
void RasterCircle(int cx, int cy, int r, TDFFunctorBase& functor);

// Writes text (its first length bytes; -1: up to its terminating zero) with
// the top-left of its box at (x, y), each glyph dot scaleX x scaleY, the box
// turned by angle (radians) about (x, y). The box runs from (x, y) to
// x + width * scaleX, y + height * scaleY, both ends included, so its last
// column and row are background; every glyph column lies inside it. Text
// dots get colour; background dots get background when fillBackground is on.
// flags are those of DrawCHRText. Nothing is drawn for scales outside
// (0, 4096], an angle that is not finite, or a turned box more than 65,536
// pixels across.
void DrawCHRTextScaled(const TSetIDPixel& setter, int x, int y, const TCHRTable& table, const char* text, int colour,
                       int flags, double angle, bool fillBackground, int background, int length, double scaleX,
                       double scaleY);

// Registers TPieChart on the palette page "Statora".
void RegisterPieChart();
// The property table of the class (called by the package's start-up).
void RegisterPieChartProperties();
