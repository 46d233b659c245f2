// THistogramViewer: a vector of doubles drawn as columns from a common base
// line straight onto the canvas, each column's colour and brush style chosen
// by the first index range that covers it.
#pragma once

#include <vector>

#include "GraphicControl.h"

class THistogramViewer : public TGraphicControl {
    CLASSLIB_CLASS(THistogramViewer, TGraphicControl)

public:
    // A colour or a brush style for the values from..to (both included).
    struct TColorInfo {
        int from, to;
        TColor colour;
    };
    struct TStyleInfo {
        int from, to;
        TBrushStyle style;
    };

    // 32 x 32, black frame, white background, navy axes, solid black columns.
    explicit THistogramViewer(TComponent* owner);

    // The value operations repaint. A negative count, and an index outside
    // the values, change nothing (no repaint); GetValue answers 0 then.
    void SetValueCount(int count);
    int GetValueCount() const { return int(values_.size()); }
    double GetValue(int index) const;
    void AddValue(int value);
    void SetValue(int index, double value);
    void IncValue(int index);
    void DecValue(int index);
    // The Add operations repaint, the Clear ones do not.
    void AddColorInfo(int from, int to, TColor colour);
    void AddStyleInfo(int from, int to, TBrushStyle style);
    void ClearColorInfos();
    void ClearStyleInfos();
    void ClearInfos();

    TColor GetFrameColor() const { return frameColor_; }
    void SetFrameColor(TColor colour);
    TColor GetBkColor() const { return bkColor_; }
    void SetBkColor(TColor colour);
    TColor GetAxisColor() const { return axisColor_; }
    void SetAxisColor(TColor colour);
    TColor GetColumnColor() const { return columnColor_; }
    void SetColumnColor(TColor colour);
    TBrushStyle GetColumnStyle() const { return columnStyle_; }
    void SetColumnStyle(TBrushStyle style);
    int GetOriginX() const { return originX_; }
    void SetOriginX(int origin);
    int GetOriginY() const { return originY_; }
    void SetOriginY(int origin);

    // The step from one column to the next: (Width - 2 * OriginX - 2) /
    // count, at least 1; 0 without values.
    int ColumnWidth() const;

protected:
    // The frame and the axes; then, when the largest value is above 0, one
    // column per value scaled so that the largest reaches the top, drawn
    // downwards from the base for negative values. Columns are at least one
    // pixel wide; those that start past the right edge are not drawn.
    void Paint() override;

private:
    void PaintColumn(TCanvas* canvas, size_t index, int width, double largest);
    template <class Field, class Value>
    void Change(Field& field, Value value) {
        field = value;
        Repaint();
    }

    std::vector<double> values_;
    std::vector<TColorInfo> colorInfos_;
    std::vector<TStyleInfo> styleInfos_;
    TColor frameColor_ = 0;
    TColor bkColor_ = 0xFFFFFF;
    TColor axisColor_ = 0x800000;
    TColor columnColor_ = 0;
    TBrushStyle columnStyle_ = bsSolid;
    int originX_ = 5;
    int originY_ = 5;
};

// Registers THistogramViewer on the palette page "Statora".
void RegisterHistogramViewer();
// The property table of the class (called by the package's start-up).
void RegisterHistogramViewerProperties();
