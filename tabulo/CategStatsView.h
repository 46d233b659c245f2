// TCategStatsView: one 100%-stacked column per category group, each item as
// high as its share of the column's total and coloured from the column's
// colour list, with an upward caption at the column's foot; the item under
// the mouse is reported through OnShowValue. Drawn into a 32-bit buffer.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "CHRTable.h"
#include "GraphicControl.h"
#include "GraphicsBitmap.h"
#include "ImageData.h"
#include "MemBuffer.h"
#include "SetIDPixel.h"

class TCategStatsView;

// The item under the mouse: its column, index, value and percentage of the
// column's total; (-1, -1, -1, -1.0) when the mouse is over no item.
using TCategShowValueEvent =
    std::function<void(TCategStatsView* csv, int col, int item, int abs_val, float rel_val)>;

class TCategStatsView : public TGraphicControl {
    CLASSLIB_CLASS(TCategStatsView, TGraphicControl)

public:
    // One drawn item, in control coordinates (both corners included).
    struct COLRECT {
        RECT rect;
        TColor color;
        int col;
        int item;
        int value;
        float percent;
    };

    // Sets a pixel block on a device context for every dot: for each point
    // within thickness of (x, y) (a square), the zoom x zoom block at
    // ((x' + offsetX) * zoom, (y' + offsetY) * zoom). Nothing without a DC.
    struct TDCPixelSetter {
        HDC dc = nullptr;
        TColor colour = 0;
        int zoom = 1;
        int thickness = 0;
        int offsetX = 0, offsetY = 0;
        // colour -1 is the setter's own.
        void Set(int x, int y, TColor dotColour) const;
    };

    // 32 x 32, white background and captions, black frame, gaps 2, texts in
    // "arial" 10 (from CHDIR); the default palette is silver, red, navy,
    // yellow, green.
    explicit TCategStatsView(TComponent* owner);
    ~TCategStatsView() override;

    // Operations that take refresh repaint only when it is true; an index out
    // of range, or a negative count, changes nothing and does not repaint.
    // A new count of columns (not the current one) keeps the items and
    // captions of the columns that stay and gives every column a copy of the
    // default palette; new columns have no items and an empty caption.
    void SetColCount(int count, bool refresh);
    int GetColCount() const { return int(items_.size()); }
    // New items are 0.
    void SetColItemCount(int col, int count, bool refresh);
    // -1 when col is out of range.
    int GetColItemCount(int col) const;
    void SetColItem(int col, int item, int value, bool refresh);
    // The sum saturates at the int range's ends instead of wrapping.
    void IncColItem(int col, int item, int delta, bool refresh);
    // -1 when out of range.
    int GetColItem(int col, int item) const;
    void SetColCaption(int col, const std::string& caption, bool refresh);
    // "" when col is out of range.
    std::string GetColCaption(int col) const;
    // The column's colours become the count given. An empty list colours
    // with the default palette (black when that is empty too).
    void SetColColors(int col, const TColor* colors, int count, bool refresh);
    // Every column's colours become the given ones; the palette stays.
    void AssignColors(const TColor* colors, int count, bool refresh);
    // Every item to 0; columns, captions and colours stay.
    void ClearValues(bool refresh);
    const std::vector<TColor>& GetDefaultPalette() const { return palette_; }
    const std::vector<TColor>& GetColColors(int col) const;

    // The rectangles of the items, stacked from the base upwards in item
    // order; a column whose total is 0 has none, nor does an item of 0.
    void CalcColRects(std::vector<COLRECT>& rects) const;
    // The rectangles of the last paint.
    const std::vector<COLRECT>& GetColRects() const { return colRects_; }

    // The state record: the default palette, the colour lists, the items,
    // the captions and the six properties.
    void GetState(TMemBuffer& buffer) const;
    // Reads a record GetState wrote; the colour lists and captions are fitted
    // to the number of item columns (a missing list gets a copy of the
    // palette, a missing caption is empty, surplus ones are dropped). A short
    // or damaged record changes nothing, leaves the read position where it
    // was and gives false.
    bool SetState(TMemBuffer& buffer);
    // dest->Assign(buffer).
    void GetBuffer(TBitmap* dest) const;

    // RuntimePaint unless designing, then Paint.
    void Refresh() override;
    // Draws the picture into the buffer, then reports the item under the
    // last mouse position (unless the repaint was started by that report).
    void RuntimePaint();
    // The design-time picture on the canvas with four sample columns, which
    // replace the view's data; nothing at run time calls it.
    void DesignPaint();
    void SetupBuffer();

    TColor GetBkColor() const { return bkColor_; }
    void SetBkColor(TColor colour);
    TColor GetFrameColor() const { return frameColor_; }
    void SetFrameColor(TColor colour);
    TColor GetCaptionColor() const { return captionColor_; }
    void SetCapColor(TColor colour);
    bool GetFShowCaptions() const { return showCaptions_; }
    void SetShowCaps(bool show);
    int GetHGap() const { return hGap_; }
    void SetHGap(int gap);
    int GetVGap() const { return vGap_; }
    void SetVGap(int gap);
    // The property table's names for two of the setters.
    void SetCaptionColor(TColor colour) { SetCapColor(colour); }
    void SetFShowCaptions(bool show) { SetShowCaps(show); }

    const TCHRTable& GetTable() const { return *table_; }

    TCategShowValueEvent OnShowValue;

protected:
    void Paint() override;
    void Resize() override;
    void WMSize(TMessage& message);
    // Reports the first item whose rectangle holds the point, or, over no
    // item, what MouseLeave reports. OnMouseMove is not fired.
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseLeave(TControl* control) override;

private:
    bool ColumnInRange(int col) const { return col >= 0 && size_t(col) < items_.size(); }
    bool ItemInRange(int col, int item) const;
    TColor ItemColour(int col, int item) const;
    void DrawCaptions(const TSetIDPixel& setter) const;
    void ReportItemAt(int x, int y);
    void Report(int col, int item, int value, float percent);
    template <class Field, class Value>
    void Change(Field& field, Value value) {
        field = value;
        Refresh();
    }

    std::unique_ptr<TBitmap> buffer_;
    std::vector<COLRECT> colRects_;
    int mouseX_ = 0, mouseY_ = 0;
    std::unique_ptr<TCHRTable> table_;
    std::vector<TColor> palette_;
    std::vector<std::vector<TColor>> colors_;
    std::vector<std::vector<int>> items_;
    std::vector<std::string> captions_;
    TColor bkColor_ = 0xFFFFFF;
    TColor frameColor_ = 0;
    TColor captionColor_ = 0xFFFFFF;
    bool showCaptions_ = true;
    int hGap_ = 2;
    int vGap_ = 2;
    bool constructed_ = false;
    // Set while OnShowValue runs, so that a repaint it starts does not report again.
    bool reporting_ = false;

    CLASSLIB_MESSAGE_MAP(TCategStatsView, TGraphicControl, {WM_SIZE, &TCategStatsView::WMSize})
};

// Registers TCategStatsView on the palette page "Statora".
void RegisterCategStatsView();
// The property table of the class (called by the package's start-up).
void RegisterCategStatsViewProperties();
