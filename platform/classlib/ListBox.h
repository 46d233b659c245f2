// TCustomListBox and TListBox: a list of strings with one selected item, a
// vertical scroll bar, keyboard navigation and search by typed prefix.
#pragma once

#include <functional>
#include <string>

#include "ControlItems.h"
#include "CustomControl.h"
#include "EnumSet.h"

// The state of an item being drawn by an owner-drawn list or combo box.
enum TOwnerDrawStateFlag { odSelected, odGrayed, odDisabled, odChecked, odFocused, odDefault, odComboBoxEdit };
using TOwnerDrawState = TEnumSet<TOwnerDrawStateFlag>;
// Draws item index of control in rect (on the control's Canvas).
using TDrawItemEvent =
    std::function<void(TWinControl* control, int index, const RECT& rect, TOwnerDrawState state)>;

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed };

class TCustomListBox : public TCustomControl {
    CLASSLIB_CLASS(TCustomListBox, TCustomControl)

public:
    // A white, bordered list of 121x97 pixels that takes the focus by Tab.
    explicit TCustomListBox(TComponent* owner);
    ~TCustomListBox() override;

    // The strings shown. Any change repaints, keeps ItemIndex within the
    // list (-1 when it is empty) and, with Sorted, keeps the order.
    TStrings* GetItems() const { return items_; }
    // Copies the strings of items (null clears).
    void SetItems(const TStrings* items);
    // The selected item, -1 for none; values outside [-1, Count) select
    // nothing. Setting it scrolls the item into view and fires no event.
    int GetItemIndex() const { return itemIndex_; }
    void SetItemIndex(int index);
    // The first visible item, clamped so that the last page is full.
    int GetTopIndex() const { return topIndex_; }
    void SetTopIndex(int index);
    bool GetSorted() const { return items_->GetSorted(); }
    void SetSorted(bool sorted) { items_->SetSorted(sorted); }
    // Height of one item in pixels (at least 1); 0 restores the font's line height.
    int GetItemHeight() const;
    void SetItemHeight(int height);
    TListBoxStyle GetStyle() const { return style_; }
    void SetStyle(TListBoxStyle style);
    int GetCount() const { return items_->GetCount(); }
    void Clear() { items_->Clear(); }
    // The item at a client point, -1 when none there.
    int ItemAtPos(POINT point) const;
    // The item's rectangle in client coordinates (empty out of range).
    RECT ItemRect(int index) const;
    // How many whole items fit in the client area (at least 1).
    int VisibleItemCount() const;
    // The first item from start (wrapping round, start itself last) whose
    // text begins with prefix without regard to case; -1 when none.
    int FindItemByPrefix(const std::string& prefix, int start) const;

    TDrawItemEvent OnDrawItem;

protected:
    // Draws one item in rect; the base fills it (highlighted when selected)
    // and writes the text, or calls OnDrawItem for lbOwnerDrawFixed.
    virtual void DrawItem(int index, const RECT& rect, TOwnerDrawState state);
    // The selection changed by the user (keys, mouse): runs OnClick.
    virtual void SelectionChanged();
    // Selects index as the user would (scrolls it into view, fires Click
    // when it differs).
    void SelectByUser(int index);
    void ItemsChanged();
    // Paints every visible item through DrawItem on canvas, then the focus frame.
    void PaintList(TCanvas* canvas);
    void UpdateScrollBar();
    void ScrollIntoView(int index);

    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Paint() override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyPress(char& key) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    // OnClick runs for a selection by the user only, not for every mouse click.
    void Click() override;
    void DoEnter() override;
    void DoExit() override;
    void Resize() override;

    void WMGetDlgCode(TMessage& message);
    void WMVScroll(TMessage& message);
    void WMMouseWheel(TMessage& message);
    void CMRepaint(TMessage& message);
    CLASSLIB_MESSAGE_MAP(TCustomListBox, TCustomControl, {WM_GETDLGCODE, &TCustomListBox::WMGetDlgCode},
                         {WM_VSCROLL, &TCustomListBox::WMVScroll}, {WM_MOUSEWHEEL, &TCustomListBox::WMMouseWheel},
                         {CM_FONTCHANGED, &TCustomListBox::CMRepaint},
                         {CM_ENABLEDCHANGED, &TCustomListBox::CMRepaint})

private:
    // Where the keyboard would move the selection for a navigation key; -2 when
    // the key is no navigation key.
    int NavigationTarget(WORD key) const;

    TControlItems* items_;
    int itemIndex_ = -1;
    int topIndex_ = 0;
    int itemHeight_ = 0;
    TListBoxStyle style_ = lbStandard;
    std::string searchPrefix_;
    DWORD lastSearchTime_ = 0;
    bool mouseSelecting_ = false;
    bool clicking_ = false;
};

// The list box of form resources: Items, ItemIndex, TopIndex, Sorted,
// ItemHeight, Style, OnClick, OnDblClick, OnDrawItem.
class TListBox : public TCustomListBox {
    CLASSLIB_CLASS(TListBox, TCustomListBox)

public:
    explicit TListBox(TComponent* owner) : TCustomListBox(owner) {}
};

// The property tables of the list box classes (called by the library's start-up).
void RegisterListBoxProperties();

// The first string of strings from start (wrapping round, start itself
// last) that begins with prefix without regard to case; -1 when none.
int FindStringByPrefix(const TStrings* strings, const std::string& prefix, int start);

// The standard look of a list item: rect filled with background (the
// highlight colour when odSelected) and text written 2 pixels in, centred
// vertically, in gray when odDisabled.
void DrawStandardListItem(TCanvas* canvas, const RECT& rect, const std::string& text, TOwnerDrawState state,
                          TColor background);
