// TCustomListBox and TListBox: a list of strings with one selected item.
#include "ListBox.h"

#include <algorithm>
#include <cctype>

#include "ControlDrawing.h"
#include "ListNavigation.h"
#include "PropertyTable.h"
#include "Registration.h"

namespace {

// Typed characters further apart than this start a new search prefix.
constexpr DWORD kSearchPause = 1000;
// Items scrolled per wheel notch.
constexpr int kWheelLines = 3;

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
    if (prefix.size() > text.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) != std::tolower(static_cast<unsigned char>(prefix[i])))
            return false;
    return true;
}

bool AllSameCharacter(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [&](char c) { return c == text[0]; });
}

}  // namespace

void DrawStandardListItem(TCanvas* canvas, const RECT& rect, const std::string& text, TOwnerDrawState state,
                          TColor background) {
    bool selected = state.Contains(odSelected);
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->GetBrush()->SetColor(selected ? clHighlight : background);
    canvas->FillRect(rect);
    if (text.empty()) return;
    TColor textColor = canvas->GetFont()->GetColor();
    if (selected) textColor = clHighlightText;
    if (state.Contains(odDisabled)) textColor = clGrayText;
    canvas->GetFont()->SetColor(textColor);
    canvas->GetBrush()->SetStyle(bsClear);
    int y = rect.top + (rect.bottom - rect.top - canvas->TextHeight(text)) / 2;
    canvas->TextRect(rect, rect.left + 2, y, text);
}

TCustomListBox::TCustomListBox(TComponent* owner)
    : TCustomControl(owner), items_(new TControlItems([this] { ItemsChanged(); })) {
    items_->SetDuplicates(dupAccept);
    SetBounds(GetLeft(), GetTop(), 121, 97);
    SetTabStop(true);
    SetColor(clWindow);
}

TCustomListBox::~TCustomListBox() {
    Destroying();
    delete items_;
    items_ = nullptr;
}

void TCustomListBox::SetItems(const TStrings* items) {
    if (items)
        items_->Assign(items);
    else
        items_->Clear();
}

void TCustomListBox::SetItemIndex(int index) {
    if (index < -1 || index >= GetCount()) index = -1;
    if (index == itemIndex_) return;
    itemIndex_ = index;
    ScrollIntoView(index);
    Invalidate();
}

void TCustomListBox::SetTopIndex(int index) {
    int last = std::max(0, GetCount() - VisibleItemCount());
    index = std::clamp(index, 0, last);
    if (index == topIndex_) return;
    topIndex_ = index;
    UpdateScrollBar();
    Invalidate();
}

int TCustomListBox::GetItemHeight() const {
    if (itemHeight_ > 0) return itemHeight_;
    return FontLineHeight(const_cast<TCustomListBox*>(this)->GetFont()) + 2;
}

void TCustomListBox::SetItemHeight(int height) {
    itemHeight_ = std::max(0, height);
    ItemsChanged();
}

void TCustomListBox::SetStyle(TListBoxStyle style) {
    style_ = style;
    Invalidate();
}

int TCustomListBox::VisibleItemCount() const { return std::max(1, GetClientHeight() / GetItemHeight()); }

int TCustomListBox::ItemAtPos(POINT point) const {
    if (point.x < 0 || point.x >= GetClientWidth() || point.y < 0) return -1;
    int index = topIndex_ + point.y / GetItemHeight();
    return index < GetCount() ? index : -1;
}

RECT TCustomListBox::ItemRect(int index) const {
    if (index < 0 || index >= GetCount()) return RECT{0, 0, 0, 0};
    int top = (index - topIndex_) * GetItemHeight();
    return RECT{0, top, GetClientWidth(), top + GetItemHeight()};
}

int TCustomListBox::FindItemByPrefix(const std::string& prefix, int start) const {
    return FindStringByPrefix(items_, prefix, start);
}

int FindStringByPrefix(const TStrings* strings, const std::string& prefix, int start) {
    int count = strings ? strings->GetCount() : 0;
    if (count == 0) return -1;
    start = ((start % count) + count) % count;
    for (int step = 0; step < count; ++step) {
        int index = (start + step) % count;
        if (StartsWithNoCase(strings->GetStrings(index), prefix)) return index;
    }
    return -1;
}

void TCustomListBox::ItemsChanged() {
    if (itemIndex_ >= GetCount()) itemIndex_ = -1;
    int last = std::max(0, GetCount() - VisibleItemCount());
    topIndex_ = std::clamp(topIndex_, 0, last);
    UpdateScrollBar();
    Invalidate();
}

void TCustomListBox::UpdateScrollBar() {
    if (HandleAllocated()) SetListScrollBar(GetHandle(), GetCount(), VisibleItemCount(), topIndex_);
}

void TCustomListBox::ScrollIntoView(int index) {
    if (index < 0) return;
    if (index < topIndex_)
        SetTopIndex(index);
    else if (index >= topIndex_ + VisibleItemCount())
        SetTopIndex(index - VisibleItemCount() + 1);
}

void TCustomListBox::SelectByUser(int index) {
    if (index < 0 || index >= GetCount()) return;
    ScrollIntoView(index);
    if (index == itemIndex_) return;
    SetItemIndex(index);
    SelectionChanged();
}

void TCustomListBox::SelectionChanged() {
    clicking_ = true;
    Click();
    clicking_ = false;
}

void TCustomListBox::Click() {
    if (clicking_) TCustomControl::Click();
}

void TCustomListBox::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    params.Style |= WS_VSCROLL;
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListBox::CreateWnd() {
    TCustomControl::CreateWnd();
    UpdateScrollBar();
}

void TCustomListBox::Paint() { PaintList(GetCanvas()); }

void TCustomListBox::PaintList(TCanvas* canvas) {
    canvas->SetFont(GetFont());
    RECT client = GetClientRect();
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->GetBrush()->SetColor(GetColor());
    canvas->FillRect(client);
    int last = std::min(GetCount(), topIndex_ + VisibleItemCount() + 1);
    for (int index = topIndex_; index < last; ++index) {
        TOwnerDrawState state;
        if (index == itemIndex_) state << odSelected;
        if (!GetEnabled()) state << odDisabled;
        canvas->SetFont(GetFont());
        DrawItem(index, ItemRect(index), state);
    }
    if (Focused()) {
        int focusIndex = itemIndex_ >= 0 ? itemIndex_ : 0;
        RECT frame = GetCount() > 0 ? ItemRect(focusIndex) : RECT{0, 0, client.right, GetItemHeight()};
        if (frame.bottom > frame.top) DrawFocusFrame(canvas, frame);
    }
}

void TCustomListBox::DrawItem(int index, const RECT& rect, TOwnerDrawState state) {
    if (style_ == lbOwnerDrawFixed && OnDrawItem) {
        OnDrawItem(this, index, rect, state);
        return;
    }
    DrawStandardListItem(GetCanvas(), rect, items_->GetStrings(index), state, GetColor());
}

int TCustomListBox::NavigationTarget(WORD key) const {
    return ListNavigationTarget(key, itemIndex_, GetCount(), VisibleItemCount() - 1);
}

void TCustomListBox::KeyDown(WORD& key, TShiftState shift) {
    TCustomControl::KeyDown(key, shift);
    if (key == 0 || GetCount() == 0) return;
    int target = NavigationTarget(key);
    if (target == -2) return;
    SelectByUser(target);
    key = 0;
}

void TCustomListBox::KeyPress(char& key) {
    TCustomControl::KeyPress(key);
    if (static_cast<unsigned char>(key) < 32) return;
    DWORD now = static_cast<DWORD>(GetMessageTime());
    if (now - lastSearchTime_ > kSearchPause) searchPrefix_.clear();
    lastSearchTime_ = now;
    searchPrefix_ += key;
    int found = FindItemByPrefix(searchPrefix_, searchPrefix_.size() == 1 ? itemIndex_ + 1 : std::max(itemIndex_, 0));
    // Pressing one letter again steps through the items starting with it.
    if (found < 0 && AllSameCharacter(searchPrefix_)) found = FindItemByPrefix(std::string(1, key), itemIndex_ + 1);
    if (found >= 0) SelectByUser(found);
    key = 0;
}

void TCustomListBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) {
        if (CanFocus() && !Focused()) SetFocus();
        int index = ItemAtPos(POINT{x, y});
        mouseSelecting_ = true;
        if (index >= 0 && index != itemIndex_) {
            SetItemIndex(index);
            Update();
        }
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TCustomListBox::MouseMove(TShiftState shift, int x, int y) {
    if (mouseSelecting_ && shift.Contains(ssLeft)) {
        int index = ItemAtPos(POINT{x, std::clamp(y, 0, GetClientHeight() - 1)});
        if (index >= 0) {
            SetItemIndex(index);
            Update();
        }
    }
    TCustomControl::MouseMove(shift, x, y);
}

void TCustomListBox::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseUp(button, shift, x, y);
    if (button != mbLeft || !mouseSelecting_) return;
    mouseSelecting_ = false;
    if (itemIndex_ >= 0) SelectionChanged();
}

void TCustomListBox::DoEnter() {
    Invalidate();
    TCustomControl::DoEnter();
}

void TCustomListBox::DoExit() {
    Invalidate();
    TCustomControl::DoExit();
}

void TCustomListBox::Resize() {
    ItemsChanged();
    TCustomControl::Resize();
}

void TCustomListBox::WMGetDlgCode(TMessage& message) { message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS; }

void TCustomListBox::WMVScroll(TMessage& message) {
    int thumb = static_cast<short>(message.WParamHi());
    SetTopIndex(ScrolledTopRow(message.WParamLo(), thumb, topIndex_, VisibleItemCount() - 1, GetCount()));
    message.Result = 0;
}

void TCustomListBox::WMMouseWheel(TMessage& message) {
    int notches = GET_WHEEL_DELTA_WPARAM(message.WParam) / WHEEL_DELTA;
    SetTopIndex(topIndex_ - notches * kWheelLines);
    message.Result = 0;
}

void TCustomListBox::CMRepaint(TMessage& message) {
    ItemsChanged();
    DefaultHandler(message);
}

// ---- Published properties ----

namespace {

// ORDER TListBoxStyle: the values are the enumeration's.
const TIdentifier listBoxStyleNames[] = {{"lbStandard", lbStandard}, {"lbOwnerDrawFixed", lbOwnerDrawFixed}};
const TIdentifierList listBoxStyles{listBoxStyleNames, std::size(listBoxStyleNames)};

const TPropertyInfo listBoxProperties[] = {
    CLASSLIB_ENUM_PROPERTY(TCustomListBox, Style, TListBoxStyle, lbStandard, &listBoxStyles),
    CLASSLIB_BOOLEAN_PROPERTY(TCustomListBox, Sorted, false),
    CLASSLIB_STRINGS_PROPERTY(TCustomListBox, Items),
    CLASSLIB_INTEGER_PROPERTY(TCustomListBox, ItemHeight, 0),
    CLASSLIB_INTEGER_PROPERTY(TCustomListBox, ItemIndex, -1),
    CLASSLIB_INTEGER_PROPERTY(TCustomListBox, TopIndex, 0),
    CLASSLIB_NAMED_INTEGER_PROPERTY(TCustomListBox, Color, clWindow, &ColorIdentifiers),
    CLASSLIB_BOOLEAN_PROPERTY(TCustomListBox, TabStop, true),
    CLASSLIB_EVENT_PROPERTY(TCustomListBox, OnClick, TNotifyEvent),
    CLASSLIB_EVENT_PROPERTY(TCustomListBox, OnDblClick, TNotifyEvent),
    CLASSLIB_EVENT_PROPERTY(TCustomListBox, OnDrawItem, TDrawItemEvent),
};

}  // namespace

void RegisterListBoxProperties() {
    RegisterPropertyTable(TCustomListBox::StaticClassInfo(), listBoxProperties);
    RegisterClass<TListBox>();
}
