// TCustomTabControl, TTabControl, TTabSheet and TPageControl.
#include "TabControls.h"

#include <algorithm>

#include "ControlDrawing.h"
#include "Exceptions.h"
#include "PropertyTable.h"
#include "Registration.h"

namespace {

// Space on each side of a tab's caption, and how far the selected tab grows.
constexpr int kTabPadding = 6;
constexpr int kSelectedGrowth = 2;
constexpr int kFirstTabLeft = 2;

void FillSolid(TCanvas* canvas, const RECT& rect, TColor color) {
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->GetBrush()->SetColor(color);
    canvas->FillRect(rect);
}

void Line(TCanvas* canvas, int x1, int y1, int x2, int y2, TColor color) {
    canvas->GetPen()->SetStyle(psSolid);
    canvas->GetPen()->SetColor(color);
    canvas->MoveTo(x1, y1);
    canvas->LineTo(x2, y2);
}

}  // namespace

// ---- TCustomTabControl ----

TCustomTabControl::TCustomTabControl(TComponent* owner) : TCustomControl(owner) {
    SetBounds(GetLeft(), GetTop(), 289, 193);
    SetTabStop(true);
}

TCustomTabControl::~TCustomTabControl() = default;

void TCustomTabControl::SetTabIndex(int index) {
    if (index < -1 || index >= TabCount()) index = -1;
    if (index != tabIndex_) {
        tabIndex_ = index;
        Invalidate();
    }
    TabChanged();
}

int TCustomTabControl::GetTabHeight() const {
    return FontLineHeight(const_cast<TCustomTabControl*>(this)->GetFont()) + 8;
}

RECT TCustomTabControl::GetDisplayRect() const {
    RECT client = GetClientRect();
    RECT display{4, GetTabHeight() + 4, client.right - 4, client.bottom - 4};
    display.right = std::max(display.left, display.right);
    display.bottom = std::max(display.top, display.bottom);
    return display;
}

RECT TCustomTabControl::TabRect(int index) const {
    if (index < 0 || index >= TabCount()) return RECT{0, 0, 0, 0};
    auto* font = const_cast<TCustomTabControl*>(this)->GetFont();
    int left = kFirstTabLeft;
    for (int i = 0;; ++i) {
        int width = MeasureText(font, TabCaption(i), DT_SINGLELINE, 0).cx + 2 * kTabPadding;
        if (i == index) {
            RECT rect{left, kSelectedGrowth, left + width, GetTabHeight()};
            if (i == tabIndex_) rect = RECT{rect.left - kSelectedGrowth, 0, rect.right + kSelectedGrowth, rect.bottom + 1};
            return rect;
        }
        left += width;
    }
}

int TCustomTabControl::IndexOfTabAt(int x, int y) const {
    POINT point{x, y};
    // The selected tab overlaps its neighbours: it is hit first.
    auto inside = [&](int index) {
        RECT rect = TabRect(index);
        return point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom;
    };
    if (tabIndex_ >= 0 && inside(tabIndex_)) return tabIndex_;
    for (int i = 0; i < TabCount(); ++i)
        if (inside(i)) return i;
    return -1;
}

bool TCustomTabControl::CanChange() {
    bool allow = true;
    if (OnChanging) OnChanging(this, allow);
    return allow;
}

void TCustomTabControl::Change() {
    if (OnChange) OnChange(this);
}

void TCustomTabControl::SelectTabByUser(int index) {
    if (index < 0 || index >= TabCount() || index == tabIndex_) return;
    if (!CanChange()) return;
    SetTabIndex(index);
    Change();
}

void TCustomTabControl::TabsChanged() {
    int count = TabCount();
    int index = std::min(tabIndex_, count - 1);
    if (index < 0 && count > 0) index = 0;
    SetTabIndex(index);
    Invalidate();
}

void TCustomTabControl::Paint() {
    TCanvas* canvas = GetCanvas();
    canvas->SetFont(GetFont());
    RECT client = GetClientRect();
    int tabHeight = GetTabHeight();
    FillSolid(canvas, client, GetColor());
    RECT body{0, tabHeight, client.right, client.bottom};
    DrawFrame3D(canvas, body, clBtnHighlight, clBlack);
    DrawFrame3D(canvas, body, clBtnFace, clBtnShadow);
    for (int i = 0; i < TabCount(); ++i)
        if (i != tabIndex_) DrawTab(i, false);
    if (tabIndex_ >= 0) DrawTab(tabIndex_, true);
}

void TCustomTabControl::DrawTab(int index, bool selected) {
    TCanvas* canvas = GetCanvas();
    RECT rect = TabRect(index);
    if (rect.left >= GetClientWidth()) return;
    FillSolid(canvas, RECT{rect.left, rect.top, rect.right, rect.bottom - (selected ? 0 : 1)}, GetColor());
    // Left and top in light, a rounded corner, right side in shadow.
    Line(canvas, rect.left, rect.bottom - 1, rect.left, rect.top + 2, clBtnHighlight);
    Line(canvas, rect.left + 1, rect.top + 1, rect.left + 2, rect.top + 1, clBtnHighlight);
    Line(canvas, rect.left + 2, rect.top, rect.right - 2, rect.top, clBtnHighlight);
    Line(canvas, rect.right - 2, rect.top + 1, rect.right - 1, rect.top + 1, clBlack);
    Line(canvas, rect.right - 1, rect.top + 2, rect.right - 1, rect.bottom - 1, clBlack);
    Line(canvas, rect.right - 2, rect.top + 1, rect.right - 2, rect.bottom - 1, clBtnShadow);
    RECT text{rect.left + kTabPadding, rect.top + 2, rect.right - kTabPadding, rect.bottom - 1};
    if (selected) {
        text.top -= 1;
        text.bottom -= 1;
    }
    DrawControlText(canvas, text, TabCaption(index), DT_SINGLELINE | DT_VCENTER | DT_CENTER, GetEnabled());
    if (selected && Focused()) {
        RECT frame{rect.left + 3, rect.top + 3, rect.right - 3, rect.bottom - 2};
        DrawFocusFrame(canvas, frame);
    }
}

void TCustomTabControl::KeyDown(WORD& key, TShiftState shift) {
    TCustomControl::KeyDown(key, shift);
    int count = TabCount();
    if (key == 0 || count == 0) return;
    int current = std::max(tabIndex_, 0);
    if (key == VK_TAB && shift.Contains(ssCtrl)) {
        int step = shift.Contains(ssShift) ? count - 1 : 1;
        SelectTabByUser((current + step) % count);
    } else if (key == VK_LEFT || key == VK_UP) {
        SelectTabByUser(std::max(0, current - 1));
    } else if (key == VK_RIGHT || key == VK_DOWN) {
        SelectTabByUser(std::min(count - 1, current + 1));
    } else {
        return;
    }
    key = 0;
}

void TCustomTabControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) {
        int index = IndexOfTabAt(x, y);
        if (index >= 0) {
            if (CanFocus() && !Focused()) SetFocus();
            SelectTabByUser(index);
        }
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TCustomTabControl::DoEnter() {
    Invalidate();
    TCustomControl::DoEnter();
}

void TCustomTabControl::DoExit() {
    Invalidate();
    TCustomControl::DoExit();
}

void TCustomTabControl::Resize() {
    Invalidate();
    TCustomControl::Resize();
}

void TCustomTabControl::WMGetDlgCode(TMessage& message) { message.Result = DLGC_WANTARROWS; }

void TCustomTabControl::CMRepaint(TMessage& message) {
    Invalidate();
    DefaultHandler(message);
}

// ---- TTabControl ----

TTabControl::TTabControl(TComponent* owner)
    : TCustomTabControl(owner), tabs_(new TControlItems([this] { TabsChanged(); })) {
    tabs_->SetDuplicates(dupAccept);
}

TTabControl::~TTabControl() {
    Destroying();
    delete tabs_;
    tabs_ = nullptr;
}

void TTabControl::SetTabs(const TStrings* tabs) {
    if (tabs)
        tabs_->Assign(tabs);
    else
        tabs_->Clear();
}

// ---- TTabSheet ----

TTabSheet::TTabSheet(TComponent* owner) : TCustomControl(owner) {}

TTabSheet::~TTabSheet() {
    Destroying();
    if (pageControl_) pageControl_->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* pageControl) { SetParent(pageControl); }

int TTabSheet::GetPageIndex() const {
    if (!pageControl_) return -1;
    const auto& pages = pageControl_->pages_;
    return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetPageIndex(int index) {
    if (pageControl_) pageControl_->MovePage(this, index);
}

void TTabSheet::SetTabVisible(bool visible) {
    if (visible == tabVisible_) return;
    tabVisible_ = visible;
    if (pageControl_) pageControl_->PagesChanged();
}

void TTabSheet::SetParent(TWinControl* parent) {
    auto* pageControl = dynamic_cast<TPageControl*>(parent);
    if (pageControl_ && pageControl_ != pageControl) pageControl_->RemovePage(this);
    TCustomControl::SetParent(parent);
    if (pageControl && pageControl_ != pageControl) pageControl->InsertPage(this);
}

void TTabSheet::SetText(const std::string& text) {
    TCustomControl::SetText(text);
    if (pageControl_) pageControl_->PagesChanged();
}

void TTabSheet::Paint() { FillSolid(GetCanvas(), GetClientRect(), GetColor()); }

// ---- TPageControl ----

TPageControl::TPageControl(TComponent* owner) : TCustomTabControl(owner) {}

TPageControl::~TPageControl() {
    Destroying();
    // The sheets are deleted as children afterwards; they must not call back.
    for (TTabSheet* page : pages_) page->pageControl_ = nullptr;
    pages_.clear();
    activePage_ = nullptr;
}

TTabSheet* TPageControl::GetPage(int index) const {
    if (index < 0 || index >= GetPageCount())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return pages_[static_cast<size_t>(index)];
}

int TPageControl::TabCount() const {
    return static_cast<int>(std::count_if(pages_.begin(), pages_.end(), [](TTabSheet* p) { return p->tabVisible_; }));
}

std::string TPageControl::TabCaption(int index) const {
    TTabSheet* page = PageOfTab(index);
    return page ? page->GetText() : std::string();
}

int TPageControl::TabOfPage(const TTabSheet* page) const {
    if (!page || !page->tabVisible_) return -1;
    int tab = 0;
    for (TTabSheet* candidate : pages_) {
        if (candidate == page) return tab;
        if (candidate->tabVisible_) ++tab;
    }
    return -1;
}

TTabSheet* TPageControl::PageOfTab(int tab) const {
    if (tab < 0) return nullptr;
    for (TTabSheet* page : pages_)
        if (page->tabVisible_ && tab-- == 0) return page;
    return nullptr;
}

void TPageControl::SetActivePage(TTabSheet* page) {
    if (page && page->pageControl_ != this) return;
    SetTabIndex(TabOfPage(page));
}

int TPageControl::GetActivePageIndex() const { return activePage_ ? activePage_->GetPageIndex() : -1; }

void TPageControl::SetActivePageIndex(int index) {
    SetActivePage(index >= 0 && index < GetPageCount() ? pages_[static_cast<size_t>(index)] : nullptr);
}

std::string TPageControl::GetActivePageName() const {
    return activePage_ ? activePage_->GetName() : pendingActivePage_;
}

void TPageControl::SetActivePageName(const std::string& name) {
    if (GetComponentState().Contains(csLoading)) {
        pendingActivePage_ = name;
        return;
    }
    pendingActivePage_.clear();
    for (TTabSheet* page : pages_)
        if (SameIdentifier(page->GetName(), name)) return SetActivePage(page);
}

void TPageControl::Loaded() {
    TCustomTabControl::Loaded();
    std::string pending = pendingActivePage_;
    if (!pending.empty()) SetActivePageName(pending);
    PagesChanged();
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* current, bool forward) const {
    int count = GetPageCount();
    if (count == 0) return nullptr;
    auto found = std::find(pages_.begin(), pages_.end(), current);
    int start = found == pages_.end() ? (forward ? count - 1 : 0) : static_cast<int>(found - pages_.begin());
    for (int step = 1; step <= count; ++step) {
        int index = ((start + (forward ? step : -step)) % count + count) % count;
        if (pages_[static_cast<size_t>(index)]->tabVisible_) return pages_[static_cast<size_t>(index)];
    }
    return nullptr;
}

void TPageControl::SelectNextPage(bool forward) {
    TTabSheet* next = FindNextPage(activePage_, forward);
    if (next) SelectTabByUser(TabOfPage(next));
}

void TPageControl::TabChanged() {
    activePage_ = PageOfTab(GetTabIndex());
    ShowActivePage();
}

void TPageControl::ShowActivePage() {
    RECT display = GetDisplayRect();
    bool focusHidden = false;
    for (TTabSheet* page : pages_) {
        page->SetBounds(display.left, display.top, display.right - display.left, display.bottom - display.top);
        bool shown = page == activePage_;
        if (!shown && page->HandleAllocated()) {
            HWND focus = GetFocus();
            focusHidden |= focus && (focus == page->GetHandle() || IsChild(page->GetHandle(), focus));
        }
        page->SetVisible(shown);
    }
    if (activePage_) activePage_->BringToFront();
    // A control on a page that went away had the focus: the tabs take it.
    if (focusHidden && CanFocus()) SetFocus();
}

void TPageControl::PagesChanged() {
    int tab = TabOfPage(activePage_);
    if (tab < 0) tab = std::min(std::max(GetTabIndex(), 0), TabCount() - 1);
    SetTabIndex(tab);
    Invalidate();
}

void TPageControl::InsertPage(TTabSheet* page) {
    pages_.push_back(page);
    page->pageControl_ = this;
    page->SetVisible(false);
    PagesChanged();
}

void TPageControl::RemovePage(TTabSheet* page) {
    auto found = std::find(pages_.begin(), pages_.end(), page);
    if (found == pages_.end()) return;
    pages_.erase(found);
    page->pageControl_ = nullptr;
    if (activePage_ == page) activePage_ = nullptr;
    if (!GetComponentState().Contains(csDestroying)) PagesChanged();
}

void TPageControl::MovePage(TTabSheet* page, int index) {
    auto found = std::find(pages_.begin(), pages_.end(), page);
    if (found == pages_.end()) return;
    pages_.erase(found);
    index = std::clamp(index, 0, GetPageCount());
    pages_.insert(pages_.begin() + index, page);
    PagesChanged();
}

void TPageControl::Resize() {
    ShowActivePage();
    TCustomTabControl::Resize();
}

// ---- Published properties ----

namespace {

constexpr TPropertyInfo Renamed(TPropertyInfo row, const char* name) {
    row.name = name;
    return row;
}

const TPropertyInfo tabControlProperties[] = {
    CLASSLIB_STRINGS_PROPERTY(TTabControl, Tabs),
    CLASSLIB_INTEGER_PROPERTY(TTabControl, TabIndex, -1),
    CLASSLIB_BOOLEAN_PROPERTY(TTabControl, TabStop, true),
    CLASSLIB_EVENT_PROPERTY(TTabControl, OnChange, TNotifyEvent),
    CLASSLIB_EVENT_PROPERTY(TTabControl, OnChanging, TTabChangingEvent),
};

const TPropertyInfo pageControlProperties[] = {
    Renamed(CLASSLIB_STRING_PROPERTY(TPageControl, ActivePageName, ""), "ActivePage"),
    CLASSLIB_BOOLEAN_PROPERTY(TPageControl, TabStop, true),
    CLASSLIB_EVENT_PROPERTY(TPageControl, OnChange, TNotifyEvent),
    CLASSLIB_EVENT_PROPERTY(TPageControl, OnChanging, TTabChangingEvent),
};

// The page control places and shows its sheets: their bounds and visibility are not stored.
const TPropertyInfo tabSheetProperties[] = {
    NotStored(CLASSLIB_INTEGER_PROPERTY(TTabSheet, Left, 0)),
    NotStored(CLASSLIB_INTEGER_PROPERTY(TTabSheet, Top, 0)),
    NotStored(CLASSLIB_INTEGER_PROPERTY(TTabSheet, Width, 0)),
    NotStored(CLASSLIB_INTEGER_PROPERTY(TTabSheet, Height, 0)),
    NotStored(CLASSLIB_BOOLEAN_PROPERTY(TTabSheet, Visible, true)),
    CLASSLIB_BOOLEAN_PROPERTY(TTabSheet, TabVisible, true),
};

}  // namespace

void RegisterTabControlProperties() {
    RegisterPropertyTable(TTabControl::StaticClassInfo(), tabControlProperties);
    RegisterPropertyTable(TPageControl::StaticClassInfo(), pageControlProperties);
    RegisterPropertyTable(TTabSheet::StaticClassInfo(), tabSheetProperties);
    RegisterClass<TTabControl>();
    RegisterClass<TPageControl>();
    RegisterClass<TTabSheet>();
}
