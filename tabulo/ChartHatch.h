// The hatch patterns of the charts' brush styles, anchored at the buffer's
// corner, and the functor that draws a polygon's hatch dots.
#pragma once

#include "Graphics.h"
#include "RasterDrawing.h"

// Whether dot (x, y) of the buffer belongs to the hatch of style with lines
// crossSize apart (crossSize >= 1). bsSolid, bsClear and unknown styles have
// no hatch dots.
bool ChartHatchDot(TBrushStyle style, int x, int y, int crossSize);
// Whether the style is drawn as a hatch over its second colour.
bool ChartHatched(TBrushStyle style);

// Sets the points of a line or polygon that lie on the hatch, in the setter's colour.
class TChartHatchFunctor : public TDFFunctorBase {
public:
    TChartHatchFunctor(const TSetIDPixel& setter, TBrushStyle style, int crossSize)
        : setter_(setter), style_(style), crossSize_(crossSize) {}
    void Point(int x, int y, int colour) override;
    // Only the part of the span over the view is walked.
    void Span(int x1, int x2, int y) override;

private:
    TSetIDPixel setter_;
    TBrushStyle style_;
    int crossSize_;
};
