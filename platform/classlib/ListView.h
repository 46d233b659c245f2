// TListColumn(s), TListItem(s), TCustomListView and TListView: a report-style
// list with captioned columns, one row per item and its sub-items.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ControlItems.h"
#include "CustomControl.h"
#include "Label.h"

class TCustomListView;

// One column: its header caption, width in pixels (at least 0) and alignment.
class TListColumn : public TPersistent {
    CLASSLIB_CLASS(TListColumn, TPersistent)

public:
    explicit TListColumn(TCustomListView* owner) : owner_(owner) {}
    const std::string& GetCaption() const { return caption_; }
    void SetCaption(const std::string& caption);
    int GetWidth() const { return width_; }
    void SetWidth(int width);
    TAlignment GetAlignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    // The column's place in its list view.
    int GetIndex() const;

private:
    TCustomListView* owner_;
    std::string caption_;
    int width_ = 50;
    TAlignment alignment_ = taLeftJustify;
};

// The columns of a list view, in order. Indexes outside [0, Count) throw EListError.
class TListColumns : public TPersistent {
    CLASSLIB_CLASS(TListColumns, TPersistent)

public:
    explicit TListColumns(TCustomListView* owner) : owner_(owner) {}
    ~TListColumns() override;
    // A new column at the end.
    TListColumn* Add();
    TListColumn* GetItem(int index) const;
    int GetCount() const { return static_cast<int>(columns_.size()); }
    void Delete(int index);
    void Clear();
    int IndexOf(const TListColumn* column) const;
    // The columns as text, one "Caption=Width" line each ended by CR LF, as
    // form resources store them; setting replaces the columns (a line
    // without "=" or with a width that is no number gets width 50).
    std::string GetText() const;
    void SetText(const std::string& text);

private:
    TCustomListView* owner_;
    std::vector<TListColumn*> columns_;
};

// One row: its caption (the first column) and sub-items (the next columns),
// an optional pointer of the program's own and its selection.
class TListItem : public TPersistent {
    CLASSLIB_CLASS(TListItem, TPersistent)

public:
    explicit TListItem(TCustomListView* owner);
    ~TListItem() override;
    const std::string& GetCaption() const { return caption_; }
    void SetCaption(const std::string& caption);
    TStrings* GetSubItems() const { return subItems_; }
    void* GetData() const { return data_; }
    void SetData(void* data) { data_ = data; }
    int GetIndex() const;
    bool GetSelected() const;
    // Selects the item (the list view has one selected item) or, false, none.
    void SetSelected(bool selected);
    TCustomListView* GetListView() const { return owner_; }

private:
    TCustomListView* owner_;
    std::string caption_;
    TControlItems* subItems_;
    void* data_ = nullptr;
};

// The rows of a list view. Indexes outside [0, Count) throw EListError.
class TListItems : public TPersistent {
    CLASSLIB_CLASS(TListItems, TPersistent)

public:
    explicit TListItems(TCustomListView* owner) : owner_(owner) {}
    ~TListItems() override;
    TListItem* Add();
    // index may be Count (append).
    TListItem* Insert(int index);
    TListItem* GetItem(int index) const;
    int GetCount() const { return static_cast<int>(items_.size()); }
    void Delete(int index);
    void Clear();
    int IndexOf(const TListItem* item) const;

private:
    TCustomListView* owner_;
    std::vector<TListItem*> items_;
};

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };

using TLVSelectItemEvent = std::function<void(TObject* sender, TListItem* item, bool selected)>;
using TLVColumnClickEvent = std::function<void(TObject* sender, TListColumn* column)>;

// Every view style is shown as a report: a header with the column captions
// (unless ShowColumnHeaders is off) over one row per item, the caption in the
// first column and sub-item n in column n + 1 (cut to the column). Up/Down,
// PgUp/PgDn, Home/End and clicks select a row (OnSelectItem for the row left
// and the row taken, then OnClick); a click on a header runs OnColumnClick;
// dragging the right edge of a header resizes its column.
class TCustomListView : public TCustomControl {
    CLASSLIB_CLASS(TCustomListView, TCustomControl)

public:
    // A white, bordered 250x150 list that takes the focus by Tab.
    explicit TCustomListView(TComponent* owner);
    ~TCustomListView() override;

    TListColumns* GetColumns() const { return columns_; }
    // Null out of range.
    TListColumn* GetColumnFromIndex(int index) const;
    TListItems* GetItems() const { return items_; }
    // The selected row, -1 for none; values outside [-1, Count) select none.
    // Setting it scrolls the row into view and fires no event.
    int GetItemIndex() const { return itemIndex_; }
    void SetItemIndex(int index);
    TListItem* GetSelected() const;
    // Selects the item (null, or an item of another list: none).
    void SetSelected(TListItem* item);
    TViewStyle GetViewStyle() const { return viewStyle_; }
    void SetViewStyle(TViewStyle style);
    bool GetShowColumnHeaders() const { return showColumnHeaders_; }
    void SetShowColumnHeaders(bool show);
    bool GetGridLines() const { return gridLines_; }
    void SetGridLines(bool gridLines);
    // The first row shown, clamped so that the last page is full.
    int GetTopIndex() const { return topIndex_; }
    void SetTopIndex(int index);
    int GetRowHeight() const;
    int GetHeaderHeight() const;
    // How many whole rows fit below the header (at least 1).
    int VisibleRowCount() const;
    // The row at a client point, -1 for none (the header included).
    int RowAtPos(POINT point) const;
    // The column whose header holds a client point, -1 for none.
    int ColumnAtHeader(POINT point) const;
    // The column whose right edge in the header is within 3 pixels of a
    // client point (dragging there resizes it; the last one when several
    // edges are that near), -1 for none.
    int ColumnEdgeAt(POINT point) const;
    // The column texts as text, one line per column, for form resources.
    std::string GetColumnsText() const { return columns_->GetText(); }
    void SetColumnsText(const std::string& text) { columns_->SetText(text); }

    TLVSelectItemEvent OnSelectItem;
    TLVColumnClickEvent OnColumnClick;

protected:
    virtual void SelectItem(TListItem* item, bool selected);
    virtual void ColumnClick(TListColumn* column);
    void SelectByUser(int index);
    void UpdateScrollBar();
    void ScrollIntoView(int index);

    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Paint() override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    // OnClick runs for a row chosen by the user, not for every click.
    void Click() override;
    void DoEnter() override;
    void DoExit() override;
    void Resize() override;

    void WMGetDlgCode(TMessage& message);
    void WMVScroll(TMessage& message);
    void WMMouseWheel(TMessage& message);
    CLASSLIB_MESSAGE_MAP(TCustomListView, TCustomControl, {WM_GETDLGCODE, &TCustomListView::WMGetDlgCode},
                         {WM_VSCROLL, &TCustomListView::WMVScroll}, {WM_MOUSEWHEEL, &TCustomListView::WMMouseWheel})

private:
    friend class TListItems;
    friend class TListColumns;
    friend class TListColumn;
    friend class TListItem;
    // Rows or columns changed: keep the selection and scrolling valid, repaint.
    void ContentChanged();
    void ItemRemoving(TListItem* item);
    void DrawHeader(TCanvas* canvas);
    void DrawRow(TCanvas* canvas, int index);
    void DrawCell(TCanvas* canvas, const RECT& cell, const std::string& text, TAlignment alignment);

    TListColumns* columns_;
    TListItems* items_;
    int itemIndex_ = -1;
    int topIndex_ = 0;
    TViewStyle viewStyle_ = vsReport;
    bool showColumnHeaders_ = true;
    bool gridLines_ = false;
    bool clicking_ = false;
    int resizingColumn_ = -1;  // the column whose edge is being dragged
    int resizeStartX_ = 0;
    int resizeStartWidth_ = 0;
};

class TListView : public TCustomListView {
    CLASSLIB_CLASS(TListView, TCustomListView)

public:
    explicit TListView(TComponent* owner) : TCustomListView(owner) {}
};

// The property tables of the list-view classes (called by the library's start-up).
void RegisterListViewProperties();
