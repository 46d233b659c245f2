// TStatsView: how a stream of double samples spreads over a fixed number of
// value ranges (columns). Samples are counted, not kept; limit and nominal
// values are marked in the columns that hold them, and the column under the
// mouse is described in hover texts. Drawn into a 32-bit buffer bitmap.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "CHRTable.h"
#include "GraphicControl.h"
#include "GraphicsBitmap.h"
#include "ImageData.h"
#include "MemBuffer.h"

class TStatsView : public TGraphicControl {
    CLASSLIB_CLASS(TStatsView, TGraphicControl)

public:
    // 32 x 32, 11 columns from -10 to 10, texts in "arial" 10 (from CHDIR).
    // Seeds the C random generator with the time, for the design heights.
    explicit TStatsView(TComponent* owner);
    ~TStatsView() override;

    // Every count to 0; no data until the next sample.
    void ClearValues(bool refresh);
    // Counts x in its column. Counts and total saturate: with a total of
    // the largest int (a restored state may hold one) x is not counted.
    void NewValue(double x, bool refresh);
    // Takes one count off x's column when it has any; when every count is 0
    // afterwards there is no data again.
    void RemoveValue(double x, bool refresh);
    // Limits and nominals are kept in order, duplicates too.
    void NewLimit(double value, bool refresh);
    void NewNominal(double value, bool refresh);
    void ClearLimits(bool refresh);
    void ClearNominals(bool refresh);

    // The column of x: the first, in column order, whose range [low, high)
    // holds it; column 0 when none does (NaN, the infinities, DBL_MAX).
    // Column 0 is [-DBL_MAX, LowValue), the last [HighValue, DBL_MAX), and
    // the ones between share [LowValue, HighValue) in equal widths.
    int CalcValCol(double x) const;
    void GetColRanges(std::vector<std::pair<double, double>>& ranges) const { ranges = ranges_; }

    // The state record: the counts, the total, the no-data flag, the limits,
    // the nominals, LowValue and HighValue.
    void GetState(TMemBuffer& buffer) const;
    // Reads a record GetState wrote. The counts are fitted to ColCount (cut,
    // or padded with 0) and the total and the no-data flag follow from them;
    // the ranges follow the restored LowValue and HighValue. A short or
    // damaged record (a count that does not fit, a negative count, counts
    // whose sum passes the int range) changes nothing, leaves the read
    // position where it was and gives false.
    bool SetState(TMemBuffer& buffer);
    // dest->Assign(buffer).
    void GetBuffer(TBitmap* dest) const;

    // RuntimePaint unless designing, then Paint.
    void Refresh() override;
    // Draws the picture into the buffer.
    void RuntimePaint();
    // The design-time picture on the canvas; nothing at run time calls it.
    void DesignPaint();
    void SetupBuffer();

    int GetColCount() const { return colCount_; }
    // Discards every count and draws new design heights. A count below 1 is
    // ignored; with 1 column every value counts in it, with 2 the two outer
    // ranges hold as given and a value between them counts in column 0.
    void SetColCount(int count);
    double GetLowValue() const { return lowValue_; }
    void SetLowValue(double value);
    double GetHighValue() const { return highValue_; }
    void SetHighValue(double value);

    TColor GetBkColor() const { return bkColor_; }
    void SetBkColor(TColor colour);
    TColor GetColColor() const { return colColor_; }
    void SetColColor(TColor colour);
    TColor GetLimitColor() const { return limitColor_; }
    void SetLimitColor(TColor colour);
    TColor GetLimitValueColor() const { return limitValueColor_; }
    void SetLimitValueColor(TColor colour);
    TColor GetAxisColor() const { return axisColor_; }
    void SetAxisColor(TColor colour);
    bool GetDrawAxes() const { return drawAxes_; }
    void SetDrawAxes(bool draw);
    bool GetShowValues() const { return showValues_; }
    void SetShowValues(bool show);
    bool GetShowLimitValues() const { return showLimitValues_; }
    void SetShowLimitValues(bool show);
    bool GetClearLimitValueBk() const { return clearLimitValueBk_; }
    void SetClearLimitValueBk(bool clear);
    int GetHAxisGap() const { return hAxisGap_; }
    void SetHAxisGap(int gap);
    int GetVAxisGap() const { return vAxisGap_; }
    void SetVAxisGap(int gap);
    int GetOriginX() const { return originX_; }
    void SetOriginX(int origin);
    int GetOriginY() const { return originY_; }
    void SetOriginY(int origin);

    // What the picture is drawn from, for tests and callers that show more.
    const std::vector<int>& GetCounts() const { return counts_; }
    int GetTotal() const { return total_; }
    bool GetNoData() const { return noData_; }
    int GetHoverCol() const { return hoverCol_; }
    const std::vector<double>& GetLimits() const { return limits_; }
    const std::vector<double>& GetNominals() const { return nominals_; }
    const TCHRTable& GetTable() const { return *table_; }
    // The width of one column, (Width - OriginX - HAxisGap) / ColCount;
    // columns of width 0 or less are neither drawn nor hovered.
    int64_t ColumnWidth() const;

protected:
    // Copies the buffer to the canvas once constructed, while visible.
    void Paint() override;
    void Resize() override;
    void WMSize(TMessage& message);
    // Finds the column under the mouse at every move and repaints.
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseLeave(TControl* control) override;

private:
    void RecomputeRanges();
    int MiddleColumnOf(double x) const;
    void DrawAxesInto(const IMAGEDATA& view) const;
    void DrawColumns(const IMAGEDATA& view, int64_t width) const;
    void DrawMarkValues(const IMAGEDATA& view, int64_t width) const;
    void DrawHoverTexts(const IMAGEDATA& view) const;
    int64_t ColumnCentre(int column, int64_t width) const;
    std::string RangeText(int column) const;
    template <class Field, class Value>
    void Change(Field& field, Value value) {
        field = value;
        Refresh();
    }

    std::unique_ptr<TBitmap> buffer_;
    std::vector<int> counts_;
    std::vector<int> designHeights_;
    int total_ = 0;
    bool noData_ = true;
    std::unique_ptr<TCHRTable> table_;
    int hoverCol_ = -1;
    std::vector<double> limits_;
    std::vector<double> nominals_;
    std::vector<std::pair<double, double>> ranges_;
    // The middle ranges' lows rise (none is NaN): at most one holds a value,
    // found from the width and checked against the ranges.
    bool middleSorted_ = false;
    double middleWidth_ = 0;
    std::string rangeCaption_, absCaption_, relCaption_;
    bool constructed_ = false;

    TColor bkColor_ = 0xFFFFFF;
    TColor colColor_ = 0x80;
    TColor limitColor_ = 0x800000;
    TColor limitValueColor_ = 0;
    TColor axisColor_ = 0;
    bool drawAxes_ = true;
    bool showValues_ = true;
    bool showLimitValues_ = true;
    bool clearLimitValueBk_ = false;
    int hAxisGap_ = 2;
    int vAxisGap_ = 2;
    int originX_ = 4;
    int originY_ = 4;
    int colCount_ = 0;
    double lowValue_ = -10;
    double highValue_ = 10;

    CLASSLIB_MESSAGE_MAP(TStatsView, TGraphicControl, {WM_SIZE, &TStatsView::WMSize})
};

// Registers TStatsView on the palette page "Statora".
void RegisterStatsView();
// The property table of the class (called by the package's start-up).
void RegisterStatsViewProperties();
