// TCustomComboBox and TComboBox: an edit field or fixed text with a list that
// drops down in a popup window.
#include "ComboBox.h"

#include <algorithm>

#include "ControlDrawing.h"
#include "ListNavigation.h"
#include "PropertyTable.h"
#include "Registration.h"

namespace {

constexpr DWORD kSearchPause = 1000;

enum ComboPart { partNone, partField, partButton, partList };

bool PointIn(const RECT& rect, POINT point) {
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom;
}

}  // namespace

// The dropped list: a popup list box that never takes the focus or the mouse
// itself (the combo box holds both while it is dropped) and draws its items
// through the combo box's DrawItem on the combo box's canvas.
class TComboDropList : public TCustomListBox {
    CLASSLIB_CLASS(TComboDropList, TCustomListBox)

public:
    explicit TComboDropList(TCustomComboBox* combo) : TCustomListBox(nullptr), combo_(combo) {
        SetTabStop(false);
        SetFont(combo->GetFont());
        SetItemHeight(combo->GetItemHeight());
        GetItems()->Assign(combo->GetItems());
        SetItemIndex(combo->GetItemIndex());
    }

    // The item under a screen point, -1 when none.
    int ItemAtScreen(POINT screen) const {
        if (!PointIn(ScreenRect(), screen)) return -1;
        return ItemAtPos(ScreenToClient(screen));
    }
    // The list's window on the screen (empty before it exists).
    RECT ScreenRect() const {
        RECT window{0, 0, 0, 0};
        if (HandleAllocated()) GetWindowRect(const_cast<TComboDropList*>(this)->GetHandle(), &window);
        return window;
    }
    // Moves the highlight as the keyboard does; false for keys it does not know.
    bool MoveHighlight(WORD key) {
        int target = ListNavigationTarget(key, GetItemIndex(), GetCount(), VisibleItemCount() - 1);
        if (target == -2) return false;
        SetItemIndex(target);
        return true;
    }
    // A click on the scroll bar beside the items: a page up or down.
    void ScrollByScreenPoint(POINT screen) {
        POINT client = ScreenToClient(screen);
        if (client.x < GetClientWidth()) return;
        Perform(WM_VSCROLL, client.y < GetClientHeight() / 2 ? SB_PAGEUP : SB_PAGEDOWN, 0);
    }

protected:
    void CreateParams(TCreateParams& params) override {
        TCustomListBox::CreateParams(params);
        params.Style = WS_POPUP | WS_BORDER | WS_VSCROLL | WS_CLIPCHILDREN;
        params.ExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
        params.WndParent = nullptr;
    }
    void PaintWindow(HDC dc) override {
        auto* canvas = static_cast<TControlCanvas*>(combo_->GetCanvas());
        canvas->PaintOn(dc, [&] { PaintList(canvas); });
    }
    void DrawItem(int index, const RECT& rect, TOwnerDrawState state) override {
        combo_->DrawItem(index, rect, state);
    }

private:
    TCustomComboBox* combo_;
};

TCustomComboBox::TCustomComboBox(TComponent* owner)
    : TCustomControl(owner), items_(new TControlItems([this] { ItemsChanged(); })) {
    items_->SetDuplicates(dupAccept);
    SetBounds(GetLeft(), GetTop(), 145, 21);
    SetTabStop(true);
    SetColor(clWindow);
}

TCustomComboBox::~TCustomComboBox() {
    Destroying();
    delete dropList_;
    dropList_ = nullptr;
    delete items_;
    items_ = nullptr;
}

void TCustomComboBox::SetStyle(TComboBoxStyle style) {
    if (style == style_) return;
    SetDroppedDown(false);
    style_ = style;
    if (!IsEditable()) text_ = itemIndex_ >= 0 ? items_->GetStrings(itemIndex_) : std::string();
    anchor_ = caret_ = 0;
    selStart_ = selLength_ = 0;
    Invalidate();
}

void TCustomComboBox::SetItems(const TStrings* items) {
    if (items)
        items_->Assign(items);
    else
        items_->Clear();
}

void TCustomComboBox::ItemsChanged() {
    if (itemIndex_ >= GetCount()) itemIndex_ = -1;
    // The selection follows its text when items move (sorting, inserting).
    if (itemIndex_ < 0 || items_->GetStrings(itemIndex_) != text_)
        itemIndex_ = text_.empty() ? -1 : items_->IndexOf(text_);
    if (!IsEditable()) text_ = itemIndex_ >= 0 ? items_->GetStrings(itemIndex_) : std::string();
    if (dropList_) dropList_->GetItems()->Assign(items_);
    Invalidate();
}

void TCustomComboBox::SetItemIndex(int index) {
    if (index < -1 || index >= GetCount()) index = -1;
    itemIndex_ = index;
    text_ = index >= 0 ? items_->GetStrings(index) : std::string();
    anchor_ = 0;
    caret_ = static_cast<int>(text_.size());
    selStart_ = 0;
    selLength_ = Focused() && IsEditable() ? caret_ : 0;
    if (dropList_) dropList_->SetItemIndex(index);
    Invalidate();
}

void TCustomComboBox::SetText(const std::string& text) {
    if (!IsEditable()) {
        SetItemIndex(items_->IndexOf(text));
        return;
    }
    text_ = maxLength_ > 0 && static_cast<int>(text.size()) > maxLength_ ? text.substr(0, maxLength_) : text;
    itemIndex_ = text_.empty() ? -1 : items_->IndexOf(text_);
    anchor_ = caret_ = static_cast<int>(text_.size());
    selStart_ = caret_;
    selLength_ = 0;
    Invalidate();
}

int TCustomComboBox::GetItemHeight() const {
    if (itemHeight_ > 0) return itemHeight_;
    int height = FontLineHeight(const_cast<TCustomComboBox*>(this)->GetFont()) + 2;
    if (style_ == csOwnerDrawVariable && GetCount() > 0) const_cast<TCustomComboBox*>(this)->MeasureItem(0, height);
    return std::max(1, height);
}

void TCustomComboBox::SetItemHeight(int height) {
    itemHeight_ = std::max(0, height);
    Invalidate();
}

void TCustomComboBox::SetMaxLength(int length) {
    maxLength_ = std::max(0, length);
    if (maxLength_ > 0 && IsEditable() && static_cast<int>(text_.size()) > maxLength_) SetText(text_);
}

void TCustomComboBox::Clear() {
    items_->Clear();
    SetItemIndex(-1);
}

TWinControl* TCustomComboBox::GetDropList() const { return dropList_; }

// ---- Selection of the edit text ----

void TCustomComboBox::MoveCaret(int position, bool extend) {
    caret_ = std::clamp(position, 0, static_cast<int>(text_.size()));
    if (!extend) anchor_ = caret_;
    selStart_ = std::min(anchor_, caret_);
    selLength_ = std::abs(caret_ - anchor_);
    Invalidate();
}

void TCustomComboBox::SetSelStart(int start) { MoveCaret(start, false); }

void TCustomComboBox::SetSelLength(int length) {
    anchor_ = selStart_;
    MoveCaret(selStart_ + std::max(0, length), true);
}

std::string TCustomComboBox::GetSelText() const { return text_.substr(selStart_, selLength_); }

void TCustomComboBox::SelectAll() {
    anchor_ = 0;
    MoveCaret(static_cast<int>(text_.size()), true);
}

void TCustomComboBox::ReplaceSelection(const std::string& text) {
    std::string inserted = text;
    if (maxLength_ > 0) {
        int room = maxLength_ - (static_cast<int>(text_.size()) - selLength_);
        inserted = inserted.substr(0, static_cast<size_t>(std::max(0, room)));
    }
    text_ = text_.substr(0, selStart_) + inserted + text_.substr(selStart_ + selLength_);
    MoveCaret(selStart_ + static_cast<int>(inserted.size()), false);
    itemIndex_ = text_.empty() ? -1 : items_->IndexOf(text_);
    if (dropList_) dropList_->SetItemIndex(itemIndex_);
    Change();
}

// ---- Dropping the list ----

void TCustomComboBox::SetDroppedDown(bool dropped) {
    if (dropped == droppedDown_) return;
    if (dropped) {
        if (!HandleAllocated() || !IsShowing()) return;
        DropDown();
        dropList_ = new TComboDropList(this);
        droppedDown_ = true;
        PlaceDropList();
        ShowWindow(dropList_->GetHandle(), SW_SHOWNOACTIVATE);
        SetCapture(GetHandle());
    } else {
        droppedDown_ = false;
        TComboDropList* list = dropList_;
        dropList_ = nullptr;
        delete list;
        if (HandleAllocated() && GetCapture() == GetHandle()) ReleaseCapture();
        CloseUp();
    }
    Invalidate();
}

void TCustomComboBox::PlaceDropList() {
    int rows = std::clamp(GetCount(), 1, dropDownCount_);
    int height = rows * GetItemHeight() + 2;
    RECT window{0, 0, 0, 0};
    GetWindowRect(GetHandle(), &window);
    int top = window.bottom;
    if (top + height > GetSystemMetrics(SM_CYSCREEN) && window.top - height >= 0) top = window.top - height;
    dropList_->SetBounds(window.left, top, window.right - window.left, height);
    dropList_->HandleNeeded();
    dropList_->SetTopIndex(itemIndex_);
}

void TCustomComboBox::ListChose(int index) {
    SetDroppedDown(false);
    if (index >= 0) SelectByUser(index);
}

void TCustomComboBox::SelectByUser(int index) {
    if (index < 0 || index >= GetCount() || index == itemIndex_) return;
    SetItemIndex(index);
    Select();
}

void TCustomComboBox::DropDown() {
    if (OnDropDown) OnDropDown(this);
}

void TCustomComboBox::CloseUp() {
    if (OnCloseUp) OnCloseUp(this);
}

void TCustomComboBox::Select() {
    if (OnSelect) OnSelect(this);
    clicking_ = true;
    Click();
    clicking_ = false;
    Change();
}

void TCustomComboBox::Click() {
    if (clicking_) TCustomControl::Click();
}

void TCustomComboBox::Change() {
    if (OnChange) OnChange(this);
}

// ---- Drawing ----

void TCustomComboBox::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

RECT TCustomComboBox::ButtonRect() const {
    RECT client = GetClientRect();
    int width = std::min<int>(GetSystemMetrics(SM_CXVSCROLL), client.right);
    return RECT{client.right - width, 0, client.right, client.bottom};
}

RECT TCustomComboBox::FieldRect() const {
    RECT client = GetClientRect();
    return RECT{0, 0, ButtonRect().left, client.bottom};
}

int TCustomComboBox::HitPart(int x, int y) const {
    if (dropList_ && dropList_->HandleAllocated()) {
        POINT screen = const_cast<TCustomComboBox*>(this)->ClientToScreen(POINT{x, y});
        if (PointIn(dropList_->ScreenRect(), screen)) return partList;
    }
    POINT point{x, y};
    if (PointIn(ButtonRect(), point)) return partButton;
    if (PointIn(FieldRect(), point)) return partField;
    return partNone;
}

void TCustomComboBox::Paint() {
    TCanvas* canvas = GetCanvas();
    canvas->SetFont(GetFont());
    RECT field = FieldRect();
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->GetBrush()->SetColor(GetColor());
    canvas->FillRect(field);
    if (IsEditable()) {
        DrawEditField(field);
    } else {
        RECT item{field.left + 1, field.top + 1, field.right - 1, field.bottom - 1};
        TOwnerDrawState state;
        state << odComboBoxEdit;
        if (Focused() && !droppedDown_) state << odSelected << odFocused;
        if (!GetEnabled()) state << odDisabled;
        DrawItem(itemIndex_, item, state);
        canvas->SetFont(GetFont());
        if (Focused() && !droppedDown_) DrawFocusFrame(canvas, item);
    }
    DrawButton(ButtonRect());
}

void TCustomComboBox::DrawItem(int index, const RECT& rect, TOwnerDrawState state) {
    TCanvas* canvas = GetCanvas();
    if (IsOwnerDrawn() && OnDrawItem) {
        OnDrawItem(this, index, rect, state);
        return;
    }
    std::string text = index >= 0 && index < GetCount() ? items_->GetStrings(index) : std::string();
    DrawStandardListItem(canvas, rect, text, state, GetColor());
}

void TCustomComboBox::MeasureItem(int index, int& height) {
    if (OnMeasureItem) OnMeasureItem(this, index, height);
}

void TCustomComboBox::DrawEditField(const RECT& rect) {
    TCanvas* canvas = GetCanvas();
    bool focused = Focused() && !droppedDown_;
    int textHeight = canvas->TextHeight("Wg");
    int y = rect.top + (rect.bottom - rect.top - textHeight) / 2;
    std::string before = text_.substr(0, selStart_);
    std::string selected = focused ? text_.substr(selStart_, selLength_) : std::string();
    std::string after = focused ? text_.substr(selStart_ + selLength_) : text_.substr(selStart_);
    // Long texts shift left so that the caret stays inside the field.
    int caretX = canvas->TextWidth(text_.substr(0, caret_));
    int room = rect.right - rect.left - 4;
    int x = rect.left + 2 - std::max(0, caretX - room);
    canvas->GetBrush()->SetStyle(bsClear);
    canvas->GetFont()->SetColor(GetEnabled() ? GetFont()->GetColor() : clGrayText);
    canvas->TextRect(rect, x, y, before);
    x += canvas->TextWidth(before);
    if (!selected.empty()) {
        int width = canvas->TextWidth(selected);
        canvas->GetBrush()->SetStyle(bsSolid);
        canvas->GetBrush()->SetColor(clHighlight);
        canvas->FillRect(RECT{x, y, std::min<int>(x + width, rect.right), y + textHeight});
        canvas->GetBrush()->SetStyle(bsClear);
        canvas->GetFont()->SetColor(clHighlightText);
        canvas->TextRect(rect, x, y, selected);
        canvas->GetFont()->SetColor(GetFont()->GetColor());
        x += width;
    }
    canvas->TextRect(rect, x, y, after);
    if (focused && selLength_ == 0) {
        int at = rect.left + 2 + caretX - std::max(0, caretX - room);
        canvas->GetPen()->SetStyle(psSolid);
        canvas->GetPen()->SetColor(clBlack);
        canvas->MoveTo(at, y);
        canvas->LineTo(at, y + textHeight);
    }
}

void TCustomComboBox::DrawButton(const RECT& rect) {
    TCanvas* canvas = GetCanvas();
    RECT face = rect;
    DrawButtonFace(canvas, face, droppedDown_, false);
    // A small down-pointing triangle in the middle of the face.
    int centreX = (face.left + face.right) / 2 + (droppedDown_ ? 1 : 0);
    int centreY = (face.top + face.bottom) / 2 + (droppedDown_ ? 1 : 0);
    TColor color = GetEnabled() ? clBlack : clGrayText;
    canvas->GetPen()->SetStyle(psSolid);
    canvas->GetPen()->SetColor(color);
    for (int row = 0; row < 4; ++row) {
        canvas->MoveTo(centreX - 3 + row, centreY - 2 + row);
        canvas->LineTo(centreX + 4 - row, centreY - 2 + row);
    }
}

// ---- Keyboard ----

void TCustomComboBox::WMGetDlgCode(TMessage& message) {
    message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
    bool enterOrEscape = message.WParam == VK_RETURN || message.WParam == VK_ESCAPE;
    if (droppedDown_ && enterOrEscape) message.Result |= DLGC_WANTALLKEYS;
}

bool TCustomComboBox::ListKey(WORD key) {
    if (droppedDown_) return dropList_->MoveHighlight(key);
    int target = ListNavigationTarget(key, itemIndex_, GetCount(), dropDownCount_ - 1);
    if (target == -2) return false;
    SelectByUser(target);
    return true;
}

bool TCustomComboBox::EditKey(WORD key, TShiftState shift) {
    bool extend = shift.Contains(ssShift);
    int length = static_cast<int>(text_.size());
    switch (key) {
        case VK_LEFT: MoveCaret(!extend && selLength_ > 0 ? selStart_ : caret_ - 1, extend); return true;
        case VK_RIGHT:
            MoveCaret(!extend && selLength_ > 0 ? selStart_ + selLength_ : caret_ + 1, extend);
            return true;
        case VK_HOME: MoveCaret(0, extend); return true;
        case VK_END: MoveCaret(length, extend); return true;
        case VK_DELETE:
            if (selLength_ == 0 && caret_ < length) MoveCaret(caret_ + 1, true);
            if (selLength_ > 0) ReplaceSelection("");
            return true;
        default: return false;
    }
}

void TCustomComboBox::KeyDown(WORD& key, TShiftState shift) {
    TCustomControl::KeyDown(key, shift);
    if (key == 0) return;
    bool altArrow = shift.Contains(ssAlt) && (key == VK_DOWN || key == VK_UP);
    if (key == VK_F4 || altArrow) {
        SetDroppedDown(!droppedDown_);
    } else if (droppedDown_ && key == VK_RETURN) {
        ListChose(dropList_->GetItemIndex());
    } else if (droppedDown_ && key == VK_ESCAPE) {
        SetDroppedDown(false);
    } else if (IsEditable() && !droppedDown_ && EditKey(key, shift)) {
    } else if (!ListKey(key)) {
        return;
    }
    key = 0;
}

void TCustomComboBox::KeyPress(char& key) {
    TCustomControl::KeyPress(key);
    if (key == 0) return;
    auto code = static_cast<unsigned char>(key);
    if (IsEditable()) {
        if (code == VK_BACK) {
            if (selLength_ == 0 && caret_ > 0) MoveCaret(caret_ - 1, true);
            if (selLength_ > 0) ReplaceSelection("");
        } else if (code == 1) {  // Ctrl+A
            SelectAll();
        } else if (code >= 32) {
            ReplaceSelection(std::string(1, key));
        }
        if (code >= 32 || code == VK_BACK || code == 1) key = 0;
        return;
    }
    if (code < 32) return;
    DWORD now = static_cast<DWORD>(GetMessageTime());
    if (now - lastSearchTime_ > kSearchPause) searchPrefix_.clear();
    lastSearchTime_ = now;
    searchPrefix_ += key;
    int current = droppedDown_ ? dropList_->GetItemIndex() : itemIndex_;
    int start = searchPrefix_.size() == 1 ? current + 1 : std::max(current, 0);
    int found = FindStringByPrefix(items_, searchPrefix_, start);
    if (found >= 0 && droppedDown_)
        dropList_->SetItemIndex(found);
    else if (found >= 0)
        SelectByUser(found);
    key = 0;
}

void TCustomComboBox::DoEnter() {
    if (IsEditable()) SelectAll();
    Invalidate();
    TCustomControl::DoEnter();
}

void TCustomComboBox::DoExit() {
    bool listActivated = droppedDown_ && dropList_->HandleAllocated() && GetActiveWindow() == dropList_->GetHandle();
    if (listActivated)
        PostMessageA(GetHandle(), CM_RECLAIMFOCUS, 0, 0);
    else
        SetDroppedDown(false);
    Invalidate();
    TCustomControl::DoExit();
}

// ---- Mouse ----

int TCustomComboBox::CaretFromX(int x) {
    TCanvas* canvas = GetCanvas();
    canvas->SetFont(GetFont());
    RECT field = FieldRect();
    int caretX = canvas->TextWidth(text_.substr(0, caret_));
    int shift = std::max(0, caretX - (field.right - field.left - 4));
    int target = x - (field.left + 2) + shift;
    int best = 0;
    for (int i = 1; i <= static_cast<int>(text_.size()); ++i) {
        int left = canvas->TextWidth(text_.substr(0, i - 1));
        int right = canvas->TextWidth(text_.substr(0, i));
        if (target >= (left + right) / 2) best = i;
    }
    return best;
}

void TCustomComboBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseDown(button, shift, x, y);
    if (button != mbLeft) return;
    int part = HitPart(x, y);
    if (droppedDown_) {
        if (part == partList) {
            dropList_->ScrollByScreenPoint(ClientToScreen(POINT{x, y}));
            return;
        }
        SetDroppedDown(false);
        return;
    }
    if (CanFocus() && !Focused()) SetFocus();
    if (IsEditable() && part == partField) {
        MoveCaret(CaretFromX(x), shift.Contains(ssShift));
        return;
    }
    if (part == partField || part == partButton) SetDroppedDown(true);
}

void TCustomComboBox::MouseMove(TShiftState shift, int x, int y) {
    TCustomControl::MouseMove(shift, x, y);
    if (droppedDown_) {
        int index = dropList_->ItemAtScreen(ClientToScreen(POINT{x, y}));
        if (index >= 0) dropList_->SetItemIndex(index);
        return;
    }
    if (IsEditable() && shift.Contains(ssLeft) && GetCapture() == GetHandle()) MoveCaret(CaretFromX(x), true);
}

void TCustomComboBox::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseUp(button, shift, x, y);
    if (!droppedDown_ || button != mbLeft) return;
    int index = dropList_->ItemAtScreen(ClientToScreen(POINT{x, y}));
    if (index >= 0) {
        ListChose(index);
        return;
    }
    // The list stays open: keep the mouse so a click elsewhere closes it.
    SetCapture(GetHandle());
}

void TCustomComboBox::WMMouseWheel(TMessage& message) {
    int notches = GET_WHEEL_DELTA_WPARAM(message.WParam) / WHEEL_DELTA;
    if (droppedDown_) {
        dropList_->Perform(WM_MOUSEWHEEL, message.WParam, message.LParam);
    } else if (notches != 0) {
        ListKey(notches > 0 ? VK_UP : VK_DOWN);
    }
    message.Result = 0;
}

void TCustomComboBox::CMReclaimFocus(TMessage&) {
    if (droppedDown_ && CanFocus()) {
        SetFocus();
        SetCapture(GetHandle());
    }
}

void TCustomComboBox::CMRepaint(TMessage& message) {
    Invalidate();
    DefaultHandler(message);
}

// ---- Published properties ----

namespace {

// ORDER TComboBoxStyle: the values are the enumeration's.
const TIdentifier comboBoxStyleNames[] = {{"csDropDown", csDropDown},
                                          {"csSimple", csSimple},
                                          {"csDropDownList", csDropDownList},
                                          {"csOwnerDrawFixed", csOwnerDrawFixed},
                                          {"csOwnerDrawVariable", csOwnerDrawVariable}};
const TIdentifierList comboBoxStyles{comboBoxStyleNames, std::size(comboBoxStyleNames)};

const TPropertyInfo comboBoxProperties[] = {
    CLASSLIB_ENUM_PROPERTY(TCustomComboBox, Style, TComboBoxStyle, csDropDown, &comboBoxStyles),
    CLASSLIB_BOOLEAN_PROPERTY(TCustomComboBox, Sorted, false),
    CLASSLIB_STRINGS_PROPERTY(TCustomComboBox, Items),
    CLASSLIB_INTEGER_PROPERTY(TCustomComboBox, ItemIndex, -1),
    CLASSLIB_STRING_PROPERTY(TCustomComboBox, Text, ""),
    CLASSLIB_INTEGER_PROPERTY(TCustomComboBox, DropDownCount, 8),
    CLASSLIB_INTEGER_PROPERTY(TCustomComboBox, MaxLength, 0),
    CLASSLIB_NAMED_INTEGER_PROPERTY(TCustomComboBox, Color, clWindow, &ColorIdentifiers),
    CLASSLIB_BOOLEAN_PROPERTY(TCustomComboBox, TabStop, true),
    CLASSLIB_EVENT_PROPERTY(TCustomComboBox, OnChange, TNotifyEvent),
    CLASSLIB_EVENT_PROPERTY(TCustomComboBox, OnClick, TNotifyEvent),
    CLASSLIB_EVENT_PROPERTY(TCustomComboBox, OnSelect, TNotifyEvent),
    CLASSLIB_EVENT_PROPERTY(TCustomComboBox, OnDropDown, TNotifyEvent),
    CLASSLIB_EVENT_PROPERTY(TCustomComboBox, OnCloseUp, TNotifyEvent),
    CLASSLIB_EVENT_PROPERTY(TCustomComboBox, OnKeyDown, TKeyEvent),
    CLASSLIB_EVENT_PROPERTY(TCustomComboBox, OnKeyPress, TKeyPressEvent),
    CLASSLIB_EVENT_PROPERTY(TCustomComboBox, OnDrawItem, TDrawItemEvent),
    CLASSLIB_EVENT_PROPERTY(TCustomComboBox, OnMeasureItem, TMeasureItemEvent),
};

}  // namespace

void RegisterComboBoxProperties() {
    RegisterPropertyTable(TCustomComboBox::StaticClassInfo(), comboBoxProperties);
    RegisterClass<TComboBox>();
}
