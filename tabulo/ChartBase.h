// TChartBase: the common base of the bar and pie charts. It keeps the chart
// values, draws the chart into a 32-bit buffer bitmap with bitmap character
// tables, copies the buffer to the screen, and turns a press inside a drawn
// value into OnItemClick.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "CHRTable.h"
#include "GraphicControl.h"
#include "GraphicsBitmap.h"
#include "ImageData.h"
#include "SetIDPixel.h"

// One chart value. Values stored through AddValue, SetValue and DecValue are
// never below 0; IncValue may take one below.
struct TChartValue {
    double value = 0;
    TColor colour = clBlack;        // the fill of a solid value, the hatch colour of others
    TColor secondColour = clBlack;  // the fill under the hatching
    TBrushStyle style = bsSolid;
    std::string caption;
};

// The hit region of one drawn value, in control coordinates, rebuilt by every
// paint of a chart.
struct TChartItem {
    std::vector<POINT> outline;
    int valueIndex = 0;
};

class TChartBase;

// A handler may change the value; the change is kept when the value is still
// there after the handler returns.
using TChartItemClickEvent = std::function<void(TChartBase* chart, TMouseButton button, TShiftState shift, int x,
                                                int y, TChartValue& value)>;

class TChartBase : public TGraphicControl {
    CLASSLIB_CLASS(TChartBase, TGraphicControl)

public:
    // 32 x 32, white background, black captions, white value texts, hatch
    // spacing 5, "courier-new" 10 for both texts (read from CHDIR). The buffer
    // is sized by the first resize.
    explicit TChartBase(TComponent* owner);
    ~TChartBase() override;

    // Reads the caption and value tables again; a table whose file is missing
    // keeps what it held.
    void LoadFonts();
    TBitmap* GetBuffer() { return buffer_.get(); }
    // The view of the buffer (see PrepareImageData in BufferImageData.h).
    void PrepareImageData(IMAGEDATA& view);
    // The buffer takes the control's size, 32 bits per pixel.
    void SetupBuffer();

    // Draws the design-time view on the canvas; nothing at run time calls it.
    virtual void DesignPaint();
    // Draws the chart into the buffer and rebuilds the items; the base draws nothing.
    virtual void PaintChart();
    // PaintChart, then Paint.
    void Refresh() override;

    // Appends a value; a negative value is stored as 0.
    void AddValue(double value, TColor colour, TBrushStyle style, const std::string& caption, TColor secondColour,
                  bool refresh);
    // The value operations do nothing (and do not repaint) for an index
    // outside 0..count-1. SetValue stores a negative value as 0; DecValue
    // keeps the result at or above 0; IncValue does not clamp.
    void SetValue(int index, double value, bool refresh);
    void IncValue(int index, double delta, bool refresh);
    void DecValue(int index, double delta, bool refresh);
    // Removes the value; later values move up.
    void DeleteCol(int index, bool refresh);
    // Both remove every value; the items stay until the next paint.
    void DeleteCols(bool refresh);
    void Clear(bool refresh);
    void GetValues(std::vector<TChartValue>& values) const;
    // The hit regions of the last paint.
    const std::vector<TChartItem>& GetItems() const { return items_; }
    const TCHRTable& GetCaptionTable() const { return *captionTable_; }
    const TCHRTable& GetValueTable() const { return *valueTable_; }

    TColor GetBkColor() const { return bkColor_; }
    void SetBkColor(TColor colour);
    TColor GetCaptionColor() const { return captionColor_; }
    void SetCaptionColor(TColor colour);
    TColor GetValueColor() const { return valueColor_; }
    void SetValueColor(TColor colour);
    bool GetFillValueBk() const { return fillValueBk_; }
    void SetFillValueBk(bool fill);
    int GetCrossSize() const { return crossSize_; }
    // A spacing below 1 is ignored (every hatch rule divides by it).
    void SetCrossSize(int size);
    const std::string& GetCaptionFont() const { return captionFont_; }
    void SetCaptionFont(const std::string& font);
    const std::string& GetValueFont() const { return valueFont_; }
    void SetValueFont(const std::string& font);
    int GetCaptionFontSize() const { return captionFontSize_; }
    void SetCaptionFontSize(int size);
    int GetValueFontSize() const { return valueFontSize_; }
    void SetValueFontSize(int size);

    // The value text of a chart: the number by format, without trailing
    // zeros and then without a trailing point ("12.50" gives "12.5").
    static std::string ChartNumberText(const char* format, double number);

    TChartItemClickEvent OnItemClick;

protected:
    // Copies the buffer to the canvas at (0, 0) once constructed, while visible.
    void Paint() override;
    // A press inside an item fires OnItemClick for the first such item, and
    // then neither OnMouseDown nor, at its release, OnMouseUp.
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    // Sizes the buffer to the control and paints.
    void Resize() override;
    void WMSize(TMessage& message);

    // The first step of every chart's PaintChart: false before construction
    // ends or while the buffer (sized to the control here) has no area; else
    // the view, with the buffer filled in BkColor.
    bool BeginChartPaint(IMAGEDATA& view);
    // Coordinates worked out in 64 bits (gaps and sizes may be any int) for
    // the int-based drawing; what is clamped lies far outside any buffer.
    static int ChartCoordinate(int64_t value);
    bool Constructed() const { return constructed_; }
    TCHRTable* CaptionTable() { return captionTable_.get(); }
    TCHRTable* ValueTable() { return valueTable_.get(); }

    std::vector<TChartValue> values_;
    std::vector<TChartItem> items_;

    // A property setter: stores the value and repaints.
    template <class Field, class Value>
    void Change(Field& field, Value value) {
        field = value;
        Refresh();
    }

private:
    void ChangeFont(std::string& font, const std::string& value);
    void ChangeFontSize(int& size, int value);
    void FireItemClick(TMouseButton button, TShiftState shift, int x, int y, size_t index);

    bool itemClick_ = false;
    std::unique_ptr<TBitmap> buffer_;
    std::unique_ptr<TCHRTable> captionTable_;
    std::unique_ptr<TCHRTable> valueTable_;
    bool constructed_ = false;
    TColor bkColor_ = clWhite;
    TColor captionColor_ = clBlack;
    TColor valueColor_ = clWhite;
    bool fillValueBk_ = false;
    int crossSize_ = 5;
    std::string captionFont_ = "courier-new";
    std::string valueFont_ = "courier-new";
    int captionFontSize_ = 10;
    int valueFontSize_ = 10;

    CLASSLIB_MESSAGE_MAP(TChartBase, TGraphicControl, {WM_SIZE, &TChartBase::WMSize})
};

// The property table of the class (called by the package's start-up).
void RegisterChartBaseProperties();
