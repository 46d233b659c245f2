// TBarChart: one vertical bar per chart value, side by side, scaled so that
// the largest value reaches the top margin, with each bar's value and caption
// written upwards.
#pragma once

#include <memory>
#include <string>

#include "ChartBase.h"

// Where a bar's text stands.
enum TBarChartTextPos : uint8_t {
    bccpInBar = 0,    // hanging from the bar's top, TextGap below it
    bccpOverBar = 1,  // standing on the bar's top
    bccpBottom = 2,   // standing on the bar's foot
    bccpTop = 3,      // hanging from the top margin
};

class TBarChart : public TChartBase {
    CLASSLIB_CLASS(TBarChart, TChartBase)

public:
    // Gaps 4, TextGap 2, white captions at the bottom, values in the bar. At
    // design time six random sample heights are made for DesignPaint.
    explicit TBarChart(TComponent* owner);
    ~TBarChart() override;

    // Bars of width (Width - 2 * HGap) / count from HGap on; a value below
    // 1e-20 leaves its place empty and makes no item. Solid values are filled
    // with their colour, others with the second colour and hatched in the
    // first. Nothing but the background without values, with a largest value
    // below 0.00001, or when the bars would be less than a pixel wide.
    void PaintChart() override;
    void DesignPaint() override;
    // Writes one text upwards, centred on the bar whose left and top are x
    // and y (right is not used), its lower end placed by pos. With fillBk
    // its box is filled in BkColor first. Dots outside the buffer are dropped.
    void DrawTextA(int x, int y, int right, int bottom, int barWidth, const std::string& text, TBarChartTextPos pos,
                   TCHRTable* table, TSetIDPixel& setter, bool fillBk);

    TBarChartTextPos GetCaptionPos() const { return captionPos_; }
    void SetCaptionPos(TBarChartTextPos pos);
    bool GetFillCaptionBk() const { return fillCaptionBk_; }
    void SetFillCaptionBk(bool fill);
    TBarChartTextPos GetValuePos() const { return valuePos_; }
    void SetValuePos(TBarChartTextPos pos);
    int GetHGap() const { return hGap_; }
    void SetHGap(int gap);
    int GetUpperGap() const { return upperGap_; }
    void SetUpperGap(int gap);
    int GetLowerGap() const { return lowerGap_; }
    void SetLowerGap(int gap);
    int GetTextGap() const { return textGap_; }
    void SetTextGap(int gap);

private:
    void PaintBar(const IMAGEDATA& view, TSetIDPixel& textSetter, size_t index, int64_t barWidth, double scale,
                  double largest);
    void HatchRect(const IMAGEDATA& view, const TChartValue& value, int left, int top, int right, int bottom);

    bool fillCaptionBk_ = false;
    int hGap_ = 4;
    int upperGap_ = 4;
    int lowerGap_ = 4;
    int textGap_ = 2;
    TBarChartTextPos valuePos_ = bccpInBar;
    TBarChartTextPos captionPos_ = bccpBottom;
    std::unique_ptr<int[]> designSamples_;
};

// Registers TBarChart on the palette page "Statora".
void RegisterBarChart();
// The property table of the class (called by the package's start-up).
void RegisterBarChartProperties();
