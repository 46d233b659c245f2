// TCategStatsView: the columns and their items, the stacked rectangles, the
// picture, the report of the item under the mouse and the state record.
#include "CategStatsView.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

#include "CHRText.h"
#include "PropertyTable.h"
#include "Registration.h"
#include "SetIDPixel.h"
#include "ViewBuffer.h"
#include "ViewState.h"

namespace {

const std::vector<TColor> kNoColours;

}  // namespace

TCategStatsView::TCategStatsView(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 32, 32);
    buffer_ = std::make_unique<TBitmap>();
    palette_ = {TColor(0xC0C0C0), TColor(0xFF), TColor(0x800000), TColor(0xFFFF), TColor(0x8000)};
    table_ = std::make_unique<TCHRTable>("arial", 10);
    constructed_ = true;
}

TCategStatsView::~TCategStatsView() { Destroying(); }

// ---- Columns and items ----

void TCategStatsView::SetColCount(int count, bool refresh) {
    if (count < 0 || size_t(count) == items_.size()) return;
    items_.resize(size_t(count));
    captions_.resize(size_t(count));
    colors_.assign(size_t(count), palette_);
    if (refresh) Refresh();
}

void TCategStatsView::SetColItemCount(int col, int count, bool refresh) {
    if (!ColumnInRange(col) || count < 0) return;
    items_[size_t(col)].resize(size_t(count), 0);
    if (refresh) Refresh();
}

int TCategStatsView::GetColItemCount(int col) const {
    return ColumnInRange(col) ? int(items_[size_t(col)].size()) : -1;
}

bool TCategStatsView::ItemInRange(int col, int item) const {
    return ColumnInRange(col) && item >= 0 && size_t(item) < items_[size_t(col)].size();
}

void TCategStatsView::SetColItem(int col, int item, int value, bool refresh) {
    if (!ItemInRange(col, item)) return;
    items_[size_t(col)][size_t(item)] = value;
    if (refresh) Refresh();
}

void TCategStatsView::IncColItem(int col, int item, int delta, bool refresh) {
    if (!ItemInRange(col, item)) return;
    const int64_t sum = int64_t(items_[size_t(col)][size_t(item)]) + delta;
    SetColItem(col, item, int(std::clamp<int64_t>(sum, INT_MIN, INT_MAX)), refresh);
}

int TCategStatsView::GetColItem(int col, int item) const {
    return ItemInRange(col, item) ? items_[size_t(col)][size_t(item)] : -1;
}

void TCategStatsView::SetColCaption(int col, const std::string& caption, bool refresh) {
    if (!ColumnInRange(col)) return;
    captions_[size_t(col)] = caption;
    if (refresh) Refresh();
}

std::string TCategStatsView::GetColCaption(int col) const {
    return ColumnInRange(col) ? captions_[size_t(col)] : std::string();
}

void TCategStatsView::SetColColors(int col, const TColor* colors, int count, bool refresh) {
    if (!ColumnInRange(col) || count < 0 || (colors == nullptr && count > 0)) return;
    colors_[size_t(col)].assign(colors, colors + count);
    if (refresh) Refresh();
}

void TCategStatsView::AssignColors(const TColor* colors, int count, bool refresh) {
    if (count < 0 || (colors == nullptr && count > 0)) return;
    for (std::vector<TColor>& list : colors_) list.assign(colors, colors + count);
    if (refresh) Refresh();
}

void TCategStatsView::ClearValues(bool refresh) {
    for (std::vector<int>& column : items_) std::fill(column.begin(), column.end(), 0);
    if (refresh) Refresh();
}

const std::vector<TColor>& TCategStatsView::GetColColors(int col) const {
    return ColumnInRange(col) ? colors_[size_t(col)] : kNoColours;
}

TColor TCategStatsView::ItemColour(int col, int item) const {
    const std::vector<TColor>& own = colors_[size_t(col)];
    const std::vector<TColor>& list = own.empty() ? palette_ : own;
    return list.empty() ? TColor(0) : list[size_t(item) % list.size()];
}

// ---- Rectangles ----

void TCategStatsView::CalcColRects(std::vector<COLRECT>& rects) const {
    rects.clear();
    if (items_.empty()) return;
    // Signed: a control narrower than 2 pixels gives columns of no width,
    // not a huge unsigned one.
    const int64_t width = (int64_t(GetWidth()) - 2) / int64_t(items_.size());
    const int64_t height = GetHeight();
    const int64_t span = height - 2 * int64_t(vGap_) - 2;
    for (size_t c = 0; c < items_.size(); ++c) {
        const std::vector<int>& column = items_[c];
        const int64_t left = int64_t(c) * width + hGap_ + 1, right = int64_t(c + 1) * width - hGap_;
        int64_t total = 0;
        for (int value : column) total += value;
        if (total == 0) continue;
        int64_t sum = 0, previous = 0;
        for (size_t k = 0; k < column.size(); ++k) {
            const int value = column[k];
            if (value == 0) continue;
            sum += value;
            const double share = std::trunc(double(sum) / double(total) * double(span - 1));
            const int64_t reach = sum == total ? span - 1 : int64_t(std::clamp(share, -4e18, 4e18));
            const RECT rect{ViewCoordinate(left), ViewCoordinate(height - reach - vGap_ - 2), ViewCoordinate(right),
                            ViewCoordinate(height - previous - vGap_ - 2)};
            const float percent = float(double(value) / double(total) * 100);
            rects.push_back(COLRECT{rect, ItemColour(int(c), int(k)), int(c), int(k), value, percent});
            previous = reach;
        }
    }
}

// ---- State ----

void TCategStatsView::GetState(TMemBuffer& buffer) const {
    AddIntList(buffer, palette_);
    buffer.AddInt(int(colors_.size()));
    for (const std::vector<TColor>& list : colors_) AddIntList(buffer, list);
    buffer.AddInt(int(items_.size()));
    for (const std::vector<int>& column : items_) AddIntList(buffer, column);
    buffer.AddInt(int(captions_.size()));
    for (const std::string& caption : captions_) buffer.AddString(caption.c_str());
    for (int value : {bkColor_, frameColor_, captionColor_, showCaptions_ ? 1 : 0, hGap_, vGap_})
        buffer.AddInt(value);
}

namespace {

// A count of lists, then each list as AddIntList writes it.
bool ReadIntLists(TMemBuffer& buffer, std::vector<std::vector<int>>& lists) {
    int count = 0;
    if (!ReadStateCount(buffer, 4, count)) return false;
    lists.resize(size_t(count));
    for (std::vector<int>& list : lists)
        if (!ReadIntList(buffer, list)) return false;
    return true;
}

bool ReadStrings(TMemBuffer& buffer, std::vector<std::string>& texts) {
    int count = 0;
    if (!ReadStateCount(buffer, 4, count)) return false;
    texts.resize(size_t(count));
    for (std::string& text : texts)
        if (!ReadStateString(buffer, text)) return false;
    return true;
}

}  // namespace

bool TCategStatsView::SetState(TMemBuffer& buffer) {
    std::vector<TColor> palette;
    std::vector<std::vector<TColor>> colors;
    std::vector<std::vector<int>> items;
    std::vector<std::string> captions;
    int properties[6] = {};
    const bool read = ReadStateRecord(buffer, [&] {
        if (!ReadIntList(buffer, palette) || !ReadIntLists(buffer, colors) || !ReadIntLists(buffer, items) ||
            !ReadStrings(buffer, captions))
            return false;
        for (int& value : properties)
            if (!ReadStateInt(buffer, value)) return false;
        return true;
    });
    if (!read) return false;
    // The item columns say how many columns there are.
    colors.resize(items.size(), palette);
    captions.resize(items.size());
    palette_.swap(palette);
    colors_.swap(colors);
    items_.swap(items);
    captions_.swap(captions);
    bkColor_ = properties[0];
    frameColor_ = properties[1];
    captionColor_ = properties[2];
    showCaptions_ = properties[3] != 0;
    hGap_ = properties[4];
    vGap_ = properties[5];
    Refresh();
    return true;
}

void TCategStatsView::GetBuffer(TBitmap* dest) const {
    if (dest != nullptr) dest->Assign(buffer_.get());
}

// ---- Painting ----

void TCategStatsView::Refresh() {
    if (!GetComponentState().Contains(csDesigning)) RuntimePaint();
    Paint();
}

void TCategStatsView::Paint() {
    if (constructed_ && buffer_ && GetVisible()) DrawViewBuffer(*this, *buffer_);
}

void TCategStatsView::SetupBuffer() { SizeViewBuffer(*buffer_, GetWidth(), GetHeight()); }

void TCategStatsView::Resize() {
    if (buffer_) {
        SetupBuffer();
        if (!GetComponentState().Contains(csDesigning) && constructed_) RuntimePaint();
        Paint();
    }
    TGraphicControl::Resize();
}

void TCategStatsView::WMSize(TMessage&) { Resize(); }

void TCategStatsView::RuntimePaint() {
    IMAGEDATA view;
    if (!constructed_ || !buffer_ || !BeginBufferPaint(*buffer_, GetWidth(), GetHeight(), view)) return;
    const int right = view.width - 1, bottom = view.height - 1;
    TSetIDPixel(view, bkColor_, 1, 0, 0).FillRect(1, 1, right - 1, bottom - 1);
    const TSetIDPixel frame(view, frameColor_, 1, 0, 0);
    frame.FillSpan(0, right, 0);
    frame.FillRect(right, 0, right, bottom);
    frame.FillSpan(0, right, bottom);
    frame.FillRect(0, 0, 0, bottom);
    CalcColRects(colRects_);
    for (const COLRECT& item : colRects_)
        TSetIDPixel(view, item.color, 1, 0, 0)
            .FillRect(item.rect.left, item.rect.top, item.rect.right, item.rect.bottom);
    if (showCaptions_) DrawCaptions(TSetIDPixel(view, captionColor_, 1, 0, 0));
    if (!reporting_) ReportItemAt(mouseX_, mouseY_);
}

void TCategStatsView::DrawCaptions(const TSetIDPixel& setter) const {
    if (items_.empty()) return;
    const int64_t width = (int64_t(GetWidth()) - 2) / int64_t(items_.size());
    const int64_t glyphHeight = table_->GetHeight();
    const int y = ViewCoordinate(int64_t(GetHeight()) - vGap_ - 4);
    for (size_t j = 0; j < captions_.size(); ++j) {
        const int64_t left = int64_t(j) * width + hGap_ + 1, right = int64_t(j + 1) * width - hGap_;
        DrawCHRText(*table_, ViewCoordinate(left + (right - left - glyphHeight) / 2), y, captions_[j].c_str(), setter,
                    chrRotate90, 0, 1, 1, 0);
    }
}

void TCategStatsView::TDCPixelSetter::Set(int x, int y, TColor dotColour) const {
    if (dc == nullptr || zoom < 1) return;
    const COLORREF value = COLORREF(dotColour == -1 ? colour : dotColour);
    for (int64_t py = int64_t(y) - thickness; py <= int64_t(y) + thickness; ++py)
        for (int64_t px = int64_t(x) - thickness; px <= int64_t(x) + thickness; ++px)
            for (int row = 0; row < zoom; ++row)
                for (int column = 0; column < zoom; ++column)
                    SetPixel(dc, ViewCoordinate((px + offsetX) * zoom + column),
                             ViewCoordinate((py + offsetY) * zoom + row), value);
}

void TCategStatsView::DesignPaint() {
    TCanvas* canvas = GetCanvas();
    if (canvas->GetHandle() == nullptr) return;
    canvas->GetPen()->SetColor(frameColor_);
    canvas->GetBrush()->SetColor(bkColor_);
    canvas->Rectangle(0, 0, GetWidth(), GetHeight());
    captions_ = {"First", "Second", "Third", "Fourth"};
    items_ = {{4, 3, 7}, {2, 6, 3, 3}, {1, 2, 6, 4}, {11, 2, 5, 3}};
    colors_.assign(items_.size(), palette_);
    std::vector<COLRECT> rects;
    CalcColRects(rects);
    for (const COLRECT& item : rects) {
        canvas->GetPen()->SetColor(item.color);
        canvas->GetBrush()->SetColor(item.color);
        canvas->Rectangle(item.rect.left, item.rect.top, item.rect.right + 1, item.rect.bottom + 1);
    }
    if (!showCaptions_ || GetWidth() <= 0 || GetHeight() <= 0) return;
    // The captions' dots are found on a mask of the control and set on the
    // canvas's device context one by one.
    std::vector<uint8_t> mask(size_t(GetWidth()) * size_t(GetHeight()), 0);
    const IMAGEDATA maskView = MakeImageData(mask.data(), idtGray8, GetWidth(), GetHeight());
    DrawCaptions(TSetIDPixel(maskView, 1, 1, 0, 0));
    const TDCPixelSetter setter{canvas->GetHandle(), captionColor_, 1, 0, 0, 0};
    for (int y = 0; y < GetHeight(); ++y)
        for (int x = 0; x < GetWidth(); ++x)
            if (mask[size_t(y) * size_t(GetWidth()) + size_t(x)] != 0) setter.Set(x, y, -1);
}

// ---- Mouse ----

void TCategStatsView::MouseMove(TShiftState, int x, int y) {
    mouseX_ = x;
    mouseY_ = y;
    ReportItemAt(x, y);
}

void TCategStatsView::MouseLeave(TControl*) { Report(-1, -1, -1, -1.0f); }

void TCategStatsView::ReportItemAt(int x, int y) {
    for (const COLRECT& item : colRects_) {
        const RECT& r = item.rect;
        if (r.left <= x && x <= r.right && r.top <= y && y <= r.bottom) {
            Report(item.col, item.item, item.value, item.percent);
            return;
        }
    }
    MouseLeave(this);
}

void TCategStatsView::Report(int col, int item, int value, float percent) {
    if (!OnShowValue) return;
    const bool wasReporting = reporting_;
    reporting_ = true;
    try {
        OnShowValue(this, col, item, value, percent);
    } catch (...) {
        reporting_ = wasReporting;
        throw;
    }
    reporting_ = wasReporting;
}

// ---- Properties ----

void TCategStatsView::SetBkColor(TColor colour) { Change(bkColor_, colour); }
void TCategStatsView::SetFrameColor(TColor colour) { Change(frameColor_, colour); }
void TCategStatsView::SetCapColor(TColor colour) { Change(captionColor_, colour); }
void TCategStatsView::SetShowCaps(bool show) { Change(showCaptions_, show); }
void TCategStatsView::SetHGap(int gap) { Change(hGap_, gap); }
void TCategStatsView::SetVGap(int gap) { Change(vGap_, gap); }

namespace {

const TPropertyInfo kCategStatsViewProperties[] = {
    CLASSLIB_NAMED_INTEGER_PROPERTY(TCategStatsView, BkColor, 0xFFFFFF, &ColorIdentifiers),
    CLASSLIB_NAMED_INTEGER_PROPERTY(TCategStatsView, FrameColor, 0, &ColorIdentifiers),
    CLASSLIB_NAMED_INTEGER_PROPERTY(TCategStatsView, CaptionColor, 0xFFFFFF, &ColorIdentifiers),
    CLASSLIB_BOOLEAN_PROPERTY(TCategStatsView, FShowCaptions, true),
    CLASSLIB_INTEGER_PROPERTY(TCategStatsView, HGap, 2),
    CLASSLIB_INTEGER_PROPERTY(TCategStatsView, VGap, 2),
    CLASSLIB_EVENT_PROPERTY(TCategStatsView, OnShowValue, TCategShowValueEvent),
};

}  // namespace

void RegisterCategStatsViewProperties() {
    RegisterPropertyTable(TCategStatsView::StaticClassInfo(), kCategStatsViewProperties);
}

void RegisterCategStatsView() { RegisterComponents("Statora", {ComponentClass<TCategStatsView>()}); }
