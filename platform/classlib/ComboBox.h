// TCustomComboBox and TComboBox: an edit field or a fixed text with a list
// that drops down in a popup window, plain or owner-drawn.
#pragma once

#include <functional>
#include <string>

#include "ControlItems.h"
#include "CustomControl.h"
#include "ListBox.h"

// csDropDown: editable text; csSimple behaves as csDropDown here (the list
// still drops down); csDropDownList: the text is always the selected item;
// the owner-drawn styles are drop-down lists whose items (and the field)
// are drawn by DrawItem / OnDrawItem. ORDER TComboBoxStyle: stored by name.
enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

// Asks the height of item index of an csOwnerDrawVariable combo box.
using TMeasureItemEvent = std::function<void(TWinControl* control, int index, int& height)>;

class TComboDropList;

class TCustomComboBox : public TCustomControl {
    CLASSLIB_CLASS(TCustomComboBox, TCustomControl)

public:
    // A 145x21 drop-down combo box that takes the focus by Tab.
    explicit TCustomComboBox(TComponent* owner);
    ~TCustomComboBox() override;

    TComboBoxStyle GetStyle() const { return style_; }
    void SetStyle(TComboBoxStyle style);
    // The items of the list. After a change the selection is the item equal
    // to the text (the one selected while it still holds it), -1 when there is
    // none; the list styles' text follows the selection, csDropDown's stays.
    TStrings* GetItems() const { return items_; }
    // Copies the strings of items (null clears).
    void SetItems(const TStrings* items);
    // The selected item, -1 for none; values outside [-1, Count) select
    // nothing. Setting it takes the item's text (none: the text is cleared)
    // and fires no event.
    int GetItemIndex() const { return itemIndex_; }
    void SetItemIndex(int index);
    // csDropDown: the edit text (ItemIndex follows an item equal to it
    // without regard to case, else -1). List styles: the selected item's
    // text; setting selects the item equal to it, or none.
    std::string GetText() const override { return text_; }
    void SetText(const std::string& text) override;
    // How many items the dropped list shows before it scrolls (at least 1).
    int GetDropDownCount() const { return dropDownCount_; }
    void SetDropDownCount(int count) { dropDownCount_ = count < 1 ? 1 : count; }
    // The height of the list's items (at least 1); 0 restores the font's line height.
    int GetItemHeight() const;
    void SetItemHeight(int height);
    bool GetSorted() const { return items_->GetSorted(); }
    void SetSorted(bool sorted) { items_->SetSorted(sorted); }
    // csDropDown: at most so many characters are kept (0: no limit).
    int GetMaxLength() const { return maxLength_; }
    void SetMaxLength(int length);
    // Shows or closes the list (closing keeps the selection as it is).
    bool GetDroppedDown() const { return droppedDown_; }
    void SetDroppedDown(bool dropped);
    int GetCount() const { return items_->GetCount(); }
    void Clear();

    // The selection of the edit text (csDropDown), clamped into the text.
    int GetSelStart() const { return selStart_; }
    void SetSelStart(int start);
    int GetSelLength() const { return selLength_; }
    void SetSelLength(int length);
    std::string GetSelText() const;
    void SelectAll();

    // The popup window of the dropped list; null while closed.
    TWinControl* GetDropList() const;

    TNotifyEvent OnChange;      // the text changed by the user
    TNotifyEvent OnDropDown;    // before the list drops down
    TNotifyEvent OnCloseUp;     // after the list closed
    TNotifyEvent OnSelect;      // an item chosen by the user (before OnClick)
    TDrawItemEvent OnDrawItem;  // owner-drawn styles
    TMeasureItemEvent OnMeasureItem;

protected:
    // Draws item index in rect on Canvas: the base fills the rectangle (the
    // highlight colour when odSelected) and writes the text; the owner-drawn
    // styles call OnDrawItem instead when it is assigned. Index -1 draws an
    // empty item. odComboBoxEdit marks the drawing of the field itself.
    virtual void DrawItem(int index, const RECT& rect, TOwnerDrawState state);
    // Height of item index for csOwnerDrawVariable (OnMeasureItem may change
    // it). The dropped list gives every item the height measured for item 0.
    virtual void MeasureItem(int index, int& height);
    // The text changed by the user: runs OnChange.
    virtual void Change();
    // An item chosen by the user: OnSelect, then OnClick (Click), then Change.
    virtual void Select();
    virtual void DropDown();
    virtual void CloseUp();

    void CreateParams(TCreateParams& params) override;
    void Paint() override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyPress(char& key) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void DoEnter() override;
    void DoExit() override;

    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    // OnClick runs when the user chooses an item, not for every mouse click.
    void Click() override;

    void WMGetDlgCode(TMessage& message);
    void WMMouseWheel(TMessage& message);
    void CMRepaint(TMessage& message);
    // Posted when the dropped list's window was activated (a window manager
    // may do that): the box takes the focus back and the list stays open.
    static constexpr UINT CM_RECLAIMFOCUS = CM_BASE + 0x41;
    void CMReclaimFocus(TMessage& message);
    CLASSLIB_MESSAGE_MAP(TCustomComboBox, TCustomControl, {WM_GETDLGCODE, &TCustomComboBox::WMGetDlgCode},
                         {WM_MOUSEWHEEL, &TCustomComboBox::WMMouseWheel},
                         {CM_RECLAIMFOCUS, &TCustomComboBox::CMReclaimFocus},
                         {CM_FONTCHANGED, &TCustomComboBox::CMRepaint},
                         {CM_ENABLEDCHANGED, &TCustomComboBox::CMRepaint})

private:
    friend class TComboDropList;
    bool IsEditable() const { return style_ == csDropDown || style_ == csSimple; }
    bool IsOwnerDrawn() const { return style_ == csOwnerDrawFixed || style_ == csOwnerDrawVariable; }
    void ItemsChanged();
    // Selects index as the user does (arrows, the list): text, events.
    void SelectByUser(int index);
    // The list chose index (or -1: closed without a choice).
    void ListChose(int index);
    void ReplaceSelection(const std::string& text);
    bool EditKey(WORD key, TShiftState shift);
    bool ListKey(WORD key);
    void MoveCaret(int position, bool extend);
    int CaretFromX(int x);
    RECT ButtonRect() const;
    RECT FieldRect() const;
    void DrawButton(const RECT& rect);
    void DrawEditField(const RECT& rect);
    // Where a client point is: 0 nowhere, 1 the field, 2 the button, 3 the dropped list.
    int HitPart(int x, int y) const;
    void PlaceDropList();

    TControlItems* items_;
    TComboDropList* dropList_ = nullptr;
    TComboBoxStyle style_ = csDropDown;
    std::string text_;
    int itemIndex_ = -1;
    int dropDownCount_ = 8;
    int itemHeight_ = 0;
    int maxLength_ = 0;
    int selStart_ = 0;
    int selLength_ = 0;
    int anchor_ = 0;  // the fixed end of the selection; the caret is the other
    int caret_ = 0;
    bool droppedDown_ = false;
    bool clicking_ = false;
    std::string searchPrefix_;
    DWORD lastSearchTime_ = 0;
};

// The combo box of form resources: Style, Items, ItemIndex, Text,
// DropDownCount, ItemHeight, Sorted, MaxLength and the events.
class TComboBox : public TCustomComboBox {
    CLASSLIB_CLASS(TComboBox, TCustomComboBox)

public:
    explicit TComboBox(TComponent* owner) : TCustomComboBox(owner) {}
};

// The property tables of the combo box classes (called by the library's start-up).
void RegisterComboBoxProperties();
