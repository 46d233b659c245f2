// TListColumn(s), TListItem(s), TCustomListView and TListView.
#include "ListView.h"

#include <algorithm>
#include <cstdlib>

#include "ControlDrawing.h"
#include "Exceptions.h"
#include "ListNavigation.h"
#include "PropertyTable.h"
#include "Registration.h"

namespace {

constexpr int kDefaultColumnWidth = 50;
constexpr int kCellPadding = 4;
constexpr int kWheelLines = 3;

[[noreturn]] void ThrowIndex(int index) {
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

void FillSolid(TCanvas* canvas, const RECT& rect, TColor color) {
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->GetBrush()->SetColor(color);
    canvas->FillRect(rect);
}

// The width in a "Caption=Width" line; the default for a missing or bad number.
int ParseWidth(const std::string& text) {
    if (text.empty()) return kDefaultColumnWidth;
    char* end = nullptr;
    long width = std::strtol(text.c_str(), &end, 10);
    if (*end != '\0' || width < 0 || width > 100000) return kDefaultColumnWidth;
    return static_cast<int>(width);
}

}  // namespace

// ---- TListColumn, TListColumns ----

void TListColumn::SetCaption(const std::string& caption) {
    caption_ = caption;
    owner_->Invalidate();
}

void TListColumn::SetWidth(int width) {
    width_ = std::max(0, width);
    owner_->Invalidate();
}

void TListColumn::SetAlignment(TAlignment alignment) {
    alignment_ = alignment;
    owner_->Invalidate();
}

int TListColumn::GetIndex() const { return owner_->GetColumns()->IndexOf(this); }

TListColumns::~TListColumns() {
    for (TListColumn* column : columns_) delete column;
}

TListColumn* TListColumns::Add() {
    columns_.push_back(new TListColumn(owner_));
    owner_->ContentChanged();
    return columns_.back();
}

TListColumn* TListColumns::GetItem(int index) const {
    if (index < 0 || index >= GetCount()) ThrowIndex(index);
    return columns_[static_cast<size_t>(index)];
}

void TListColumns::Delete(int index) {
    TListColumn* column = GetItem(index);
    owner_->resizingColumn_ = -1;
    columns_.erase(columns_.begin() + index);
    delete column;
    owner_->ContentChanged();
}

void TListColumns::Clear() {
    owner_->resizingColumn_ = -1;
    for (TListColumn* column : columns_) delete column;
    columns_.clear();
    owner_->ContentChanged();
}

int TListColumns::IndexOf(const TListColumn* column) const {
    auto found = std::find(columns_.begin(), columns_.end(), column);
    return found == columns_.end() ? -1 : static_cast<int>(found - columns_.begin());
}

std::string TListColumns::GetText() const {
    std::string text;
    for (TListColumn* column : columns_)
        text += column->GetCaption() + "=" + std::to_string(column->GetWidth()) + "\r\n";
    return text;
}

void TListColumns::SetText(const std::string& text) {
    TStringList lines;
    lines.SetText(text);
    Clear();
    for (int i = 0; i < lines.GetCount(); ++i) {
        std::string line = lines.GetStrings(i);
        size_t equals = line.rfind('=');
        TListColumn* column = Add();
        column->SetCaption(equals == std::string::npos ? line : line.substr(0, equals));
        column->SetWidth(equals == std::string::npos ? kDefaultColumnWidth : ParseWidth(line.substr(equals + 1)));
    }
}

// ---- TListItem, TListItems ----

TListItem::TListItem(TCustomListView* owner)
    : owner_(owner), subItems_(new TControlItems([owner] { owner->Invalidate(); })) {
    subItems_->SetDuplicates(dupAccept);
}

TListItem::~TListItem() { delete subItems_; }

void TListItem::SetCaption(const std::string& caption) {
    caption_ = caption;
    owner_->Invalidate();
}

int TListItem::GetIndex() const { return owner_->GetItems()->IndexOf(this); }

bool TListItem::GetSelected() const { return owner_->GetSelected() == this; }

void TListItem::SetSelected(bool selected) {
    if (selected)
        owner_->SetSelected(this);
    else if (GetSelected())
        owner_->SetSelected(nullptr);
}

TListItems::~TListItems() {
    for (TListItem* item : items_) delete item;
}

TListItem* TListItems::Add() { return Insert(GetCount()); }

TListItem* TListItems::Insert(int index) {
    if (index < 0 || index > GetCount()) ThrowIndex(index);
    auto* item = new TListItem(owner_);
    // The selected row keeps its item.
    TListItem* selected = owner_->GetSelected();
    items_.insert(items_.begin() + index, item);
    if (selected) owner_->itemIndex_ = IndexOf(selected);
    owner_->ContentChanged();
    return item;
}

TListItem* TListItems::GetItem(int index) const {
    if (index < 0 || index >= GetCount()) ThrowIndex(index);
    return items_[static_cast<size_t>(index)];
}

void TListItems::Delete(int index) {
    TListItem* item = GetItem(index);
    owner_->ItemRemoving(item);
    TListItem* selected = owner_->GetSelected();
    items_.erase(items_.begin() + index);
    delete item;
    owner_->itemIndex_ = selected ? IndexOf(selected) : -1;
    owner_->ContentChanged();
}

void TListItems::Clear() {
    if (TListItem* selected = owner_->GetSelected()) owner_->ItemRemoving(selected);
    for (TListItem* item : items_) delete item;
    items_.clear();
    owner_->itemIndex_ = -1;
    owner_->ContentChanged();
}

int TListItems::IndexOf(const TListItem* item) const {
    auto found = std::find(items_.begin(), items_.end(), item);
    return found == items_.end() ? -1 : static_cast<int>(found - items_.begin());
}

// ---- TCustomListView ----

TCustomListView::TCustomListView(TComponent* owner)
    : TCustomControl(owner), columns_(new TListColumns(this)), items_(new TListItems(this)) {
    SetBounds(GetLeft(), GetTop(), 250, 150);
    SetTabStop(true);
    SetColor(clWindow);
}

TCustomListView::~TCustomListView() {
    Destroying();
    delete items_;
    items_ = nullptr;
    delete columns_;
    columns_ = nullptr;
}

TListColumn* TCustomListView::GetColumnFromIndex(int index) const {
    return index >= 0 && index < columns_->GetCount() ? columns_->GetItem(index) : nullptr;
}

TListItem* TCustomListView::GetSelected() const { return itemIndex_ >= 0 ? items_->GetItem(itemIndex_) : nullptr; }

void TCustomListView::SetSelected(TListItem* item) { SetItemIndex(item ? items_->IndexOf(item) : -1); }

void TCustomListView::SetItemIndex(int index) {
    if (index < -1 || index >= items_->GetCount()) index = -1;
    if (index == itemIndex_) return;
    itemIndex_ = index;
    ScrollIntoView(index);
    Invalidate();
}

void TCustomListView::SetViewStyle(TViewStyle style) {
    viewStyle_ = style;
    Invalidate();
}

void TCustomListView::SetShowColumnHeaders(bool show) {
    showColumnHeaders_ = show;
    ContentChanged();
}

void TCustomListView::SetGridLines(bool gridLines) {
    gridLines_ = gridLines;
    Invalidate();
}

int TCustomListView::GetRowHeight() const { return FontLineHeight(const_cast<TCustomListView*>(this)->GetFont()) + 3; }

int TCustomListView::GetHeaderHeight() const { return showColumnHeaders_ ? GetRowHeight() + 4 : 0; }

int TCustomListView::VisibleRowCount() const {
    return std::max(1, (GetClientHeight() - GetHeaderHeight()) / GetRowHeight());
}

void TCustomListView::SetTopIndex(int index) {
    index = std::clamp(index, 0, std::max(0, items_->GetCount() - VisibleRowCount()));
    if (index == topIndex_) return;
    topIndex_ = index;
    UpdateScrollBar();
    Invalidate();
}

int TCustomListView::RowAtPos(POINT point) const {
    if (point.x < 0 || point.x >= GetClientWidth() || point.y < GetHeaderHeight()) return -1;
    int index = topIndex_ + (point.y - GetHeaderHeight()) / GetRowHeight();
    return index < items_->GetCount() ? index : -1;
}

int TCustomListView::ColumnAtHeader(POINT point) const {
    if (point.y < 0 || point.y >= GetHeaderHeight()) return -1;
    int left = 0;
    for (int i = 0; i < columns_->GetCount(); ++i) {
        int right = left + columns_->GetItem(i)->GetWidth();
        if (point.x >= left && point.x < right) return i;
        left = right;
    }
    return -1;
}

int TCustomListView::ColumnEdgeAt(POINT point) const {
    constexpr int kEdgeReach = 3;
    if (point.y < 0 || point.y >= GetHeaderHeight()) return -1;
    int right = 0;
    int found = -1;
    // The last edge in reach wins, so that a column dragged to nothing can be widened again.
    for (int i = 0; i < columns_->GetCount(); ++i) {
        right += columns_->GetItem(i)->GetWidth();
        if (std::abs(point.x - right) <= kEdgeReach) found = i;
    }
    return found;
}

void TCustomListView::ContentChanged() {
    if (itemIndex_ >= items_->GetCount()) itemIndex_ = -1;
    topIndex_ = std::clamp(topIndex_, 0, std::max(0, items_->GetCount() - VisibleRowCount()));
    UpdateScrollBar();
    Invalidate();
}

void TCustomListView::ItemRemoving(TListItem* item) {
    if (item == GetSelected()) SelectItem(item, false);
}

void TCustomListView::UpdateScrollBar() {
    if (HandleAllocated()) SetListScrollBar(GetHandle(), items_->GetCount(), VisibleRowCount(), topIndex_);
}

void TCustomListView::ScrollIntoView(int index) {
    if (index < 0) return;
    if (index < topIndex_)
        SetTopIndex(index);
    else if (index >= topIndex_ + VisibleRowCount())
        SetTopIndex(index - VisibleRowCount() + 1);
}

void TCustomListView::SelectItem(TListItem* item, bool selected) {
    if (OnSelectItem) OnSelectItem(this, item, selected);
}

void TCustomListView::ColumnClick(TListColumn* column) {
    if (OnColumnClick) OnColumnClick(this, column);
}

void TCustomListView::SelectByUser(int index) {
    if (index < 0 || index >= items_->GetCount()) return;
    ScrollIntoView(index);
    if (index == itemIndex_) return;
    if (TListItem* previous = GetSelected()) SelectItem(previous, false);
    SetItemIndex(index);
    SelectItem(GetSelected(), true);
    clicking_ = true;
    Click();
    clicking_ = false;
}

void TCustomListView::Click() {
    if (clicking_) TCustomControl::Click();
}

void TCustomListView::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    params.Style |= WS_VSCROLL;
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListView::CreateWnd() {
    TCustomControl::CreateWnd();
    UpdateScrollBar();
}

void TCustomListView::Paint() {
    TCanvas* canvas = GetCanvas();
    canvas->SetFont(GetFont());
    FillSolid(canvas, GetClientRect(), GetColor());
    int last = std::min(items_->GetCount(), topIndex_ + VisibleRowCount() + 1);
    for (int index = topIndex_; index < last; ++index) DrawRow(canvas, index);
    if (showColumnHeaders_) DrawHeader(canvas);
}

void TCustomListView::DrawHeader(TCanvas* canvas) {
    int height = GetHeaderHeight();
    int left = 0;
    for (int i = 0; i < columns_->GetCount(); ++i) {
        TListColumn* column = columns_->GetItem(i);
        RECT face{left, 0, left + column->GetWidth(), height};
        left = face.right;
        if (face.right <= face.left) continue;
        DrawButtonFace(canvas, face, false, false);
        canvas->SetFont(GetFont());
        DrawCell(canvas, face, column->GetCaption(), column->GetAlignment());
    }
    // The header runs on as an empty face after the last column.
    if (left < GetClientWidth()) {
        RECT rest{left, 0, GetClientWidth() + 2, height};
        DrawButtonFace(canvas, rest, false, false);
    }
}

void TCustomListView::DrawRow(TCanvas* canvas, int index) {
    TListItem* item = items_->GetItem(index);
    int top = GetHeaderHeight() + (index - topIndex_) * GetRowHeight();
    RECT row{0, top, GetClientWidth(), top + GetRowHeight()};
    bool selected = index == itemIndex_;
    FillSolid(canvas, row, selected ? clHighlight : GetColor());
    canvas->SetFont(GetFont());
    if (selected) canvas->GetFont()->SetColor(clHighlightText);
    if (!GetEnabled()) canvas->GetFont()->SetColor(clGrayText);
    int left = 0;
    int columns = std::max(1, columns_->GetCount());
    for (int column = 0; column < columns; ++column) {
        TListColumn* info = GetColumnFromIndex(column);
        int width = info ? info->GetWidth() : GetClientWidth();
        RECT cell{left, row.top, left + width, row.bottom};
        left = cell.right;
        std::string text = column == 0 ? item->GetCaption()
                           : column - 1 < item->GetSubItems()->GetCount() ? item->GetSubItems()->GetStrings(column - 1)
                                                                          : std::string();
        DrawCell(canvas, cell, text, info ? info->GetAlignment() : taLeftJustify);
        if (gridLines_) {
            canvas->GetPen()->SetColor(clBtnFace);
            canvas->MoveTo(cell.right - 1, cell.top);
            canvas->LineTo(cell.right - 1, cell.bottom);
        }
    }
    if (gridLines_) {
        canvas->GetPen()->SetColor(clBtnFace);
        canvas->MoveTo(0, row.bottom - 1);
        canvas->LineTo(row.right, row.bottom - 1);
    }
    if (selected && Focused()) DrawFocusFrame(canvas, row);
}

void TCustomListView::DrawCell(TCanvas* canvas, const RECT& cell, const std::string& text, TAlignment alignment) {
    if (text.empty() || cell.right - cell.left <= 2 * kCellPadding) return;
    RECT inner{cell.left + kCellPadding, cell.top, cell.right - kCellPadding, cell.bottom};
    UINT flags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
    if (alignment == taRightJustify) flags |= DT_RIGHT;
    if (alignment == taCenter) flags |= DT_CENTER;
    canvas->GetBrush()->SetStyle(bsClear);
    DrawTextA(canvas->GetHandle(), text.c_str(), static_cast<int>(text.size()), &inner, flags);
}

void TCustomListView::KeyDown(WORD& key, TShiftState shift) {
    TCustomControl::KeyDown(key, shift);
    if (key == 0) return;
    int target = ListNavigationTarget(key, itemIndex_, items_->GetCount(), VisibleRowCount() - 1);
    if (target == -2) return;
    SelectByUser(target);
    key = 0;
}

void TCustomListView::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) {
        if (CanFocus() && !Focused()) SetFocus();
        int edge = ColumnEdgeAt(POINT{x, y});
        int column = ColumnAtHeader(POINT{x, y});
        if (edge >= 0) {
            resizingColumn_ = edge;
            resizeStartX_ = x;
            resizeStartWidth_ = columns_->GetItem(edge)->GetWidth();
        } else if (column >= 0) {
            ColumnClick(columns_->GetItem(column));
        } else {
            SelectByUser(RowAtPos(POINT{x, y}));
        }
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TCustomListView::MouseMove(TShiftState shift, int x, int y) {
    if (resizingColumn_ >= 0 && resizingColumn_ < columns_->GetCount() && shift.Contains(ssLeft))
        columns_->GetItem(resizingColumn_)->SetWidth(resizeStartWidth_ + x - resizeStartX_);
    bool onEdge = resizingColumn_ >= 0 || ColumnEdgeAt(POINT{x, y}) >= 0;
    SetCursor(onEdge ? crSizeWE : crDefault);
    TCustomControl::MouseMove(shift, x, y);
}

void TCustomListView::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) resizingColumn_ = -1;
    TCustomControl::MouseUp(button, shift, x, y);
}

void TCustomListView::DoEnter() {
    Invalidate();
    TCustomControl::DoEnter();
}

void TCustomListView::DoExit() {
    Invalidate();
    TCustomControl::DoExit();
}

void TCustomListView::Resize() {
    ContentChanged();
    TCustomControl::Resize();
}

void TCustomListView::WMGetDlgCode(TMessage& message) { message.Result = DLGC_WANTARROWS; }

void TCustomListView::WMVScroll(TMessage& message) {
    int thumb = static_cast<short>(message.WParamHi());
    SetTopIndex(ScrolledTopRow(message.WParamLo(), thumb, topIndex_, VisibleRowCount() - 1, items_->GetCount()));
    message.Result = 0;
}

void TCustomListView::WMMouseWheel(TMessage& message) {
    SetTopIndex(topIndex_ - GET_WHEEL_DELTA_WPARAM(message.WParam) / WHEEL_DELTA * kWheelLines);
    message.Result = 0;
}

// ---- Published properties ----

namespace {

constexpr TPropertyInfo Renamed(TPropertyInfo row, const char* name) {
    row.name = name;
    return row;
}

// ORDER TViewStyle: the values are the enumeration's.
const TIdentifier viewStyleNames[] = {
    {"vsIcon", vsIcon}, {"vsSmallIcon", vsSmallIcon}, {"vsList", vsList}, {"vsReport", vsReport}};
const TIdentifierList viewStyles{viewStyleNames, std::size(viewStyleNames)};

const TPropertyInfo listViewProperties[] = {
    Renamed(CLASSLIB_STRING_PROPERTY(TCustomListView, ColumnsText, ""), "Columns"),
    CLASSLIB_ENUM_PROPERTY(TCustomListView, ViewStyle, TViewStyle, vsReport, &viewStyles),
    CLASSLIB_BOOLEAN_PROPERTY(TCustomListView, ShowColumnHeaders, true),
    CLASSLIB_BOOLEAN_PROPERTY(TCustomListView, GridLines, false),
    CLASSLIB_NAMED_INTEGER_PROPERTY(TCustomListView, Color, clWindow, &ColorIdentifiers),
    CLASSLIB_BOOLEAN_PROPERTY(TCustomListView, TabStop, true),
    CLASSLIB_EVENT_PROPERTY(TCustomListView, OnClick, TNotifyEvent),
    CLASSLIB_EVENT_PROPERTY(TCustomListView, OnDblClick, TNotifyEvent),
    CLASSLIB_EVENT_PROPERTY(TCustomListView, OnSelectItem, TLVSelectItemEvent),
    CLASSLIB_EVENT_PROPERTY(TCustomListView, OnColumnClick, TLVColumnClickEvent),
};

}  // namespace

void RegisterListViewProperties() {
    RegisterPropertyTable(TCustomListView::StaticClassInfo(), listViewProperties);
    RegisterClass<TListView>();
}
