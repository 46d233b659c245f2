// TCustomTabControl, TTabControl, TTabSheet and TPageControl: a row of tabs
// over a framed body; the page control shows one sheet of controls per tab.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ControlItems.h"
#include "CustomControl.h"

// Asked before the tab changes; setting allowChange to false keeps it.
using TTabChangingEvent = std::function<void(TObject* sender, bool& allowChange)>;

// The tabs run in one row along the top, each as wide as its caption; tabs
// beyond the right edge are cut off. Left/Right (when focused) and Ctrl+Tab,
// Ctrl+Shift+Tab (when it or a control inside has the focus and the key
// reaches it) move to the neighbouring tab, wrapping round for Ctrl+Tab;
// clicking a tab selects it. A change by the user asks OnChanging, then runs
// OnChange; setting TabIndex in code asks nothing and fires nothing.
class TCustomTabControl : public TCustomControl {
    CLASSLIB_CLASS(TCustomTabControl, TCustomControl)

public:
    // A 289x193 control that takes the focus by Tab.
    explicit TCustomTabControl(TComponent* owner);
    ~TCustomTabControl() override;

    // The selected tab, -1 for none; values outside [-1, Count) select none.
    int GetTabIndex() const { return tabIndex_; }
    void SetTabIndex(int index);
    // The client rectangle inside the frame below the tabs, where pages go.
    RECT GetDisplayRect() const;
    // The tab's rectangle in client coordinates (empty out of range).
    RECT TabRect(int index) const;
    // The tab under a client point, -1 when none.
    int IndexOfTabAt(int x, int y) const;
    // The height of the row of tabs.
    int GetTabHeight() const;

    TNotifyEvent OnChange;
    TTabChangingEvent OnChanging;

protected:
    // The captions of the tabs; TTabControl keeps its Tabs, TPageControl its sheets'.
    virtual int TabCount() const = 0;
    virtual std::string TabCaption(int index) const = 0;
    // OnChanging's answer (true without a handler).
    virtual bool CanChange();
    virtual void Change();
    // The selection changed (by code or by the user).
    virtual void TabChanged() {}
    // Moves to another tab as the user does: asks, changes, notifies.
    void SelectTabByUser(int index);
    // Keeps TabIndex inside the tabs after their list changed, then repaints.
    void TabsChanged();

    void Paint() override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void DoEnter() override;
    void DoExit() override;
    void Resize() override;

    void WMGetDlgCode(TMessage& message);
    void CMRepaint(TMessage& message);
    CLASSLIB_MESSAGE_MAP(TCustomTabControl, TCustomControl, {WM_GETDLGCODE, &TCustomTabControl::WMGetDlgCode},
                         {CM_FONTCHANGED, &TCustomTabControl::CMRepaint})

private:
    void DrawTab(int index, bool selected);
    int tabIndex_ = -1;
};

// A tab control over one area whose meaning the program changes on
// OnChange; Tabs holds the captions ('&' marks an access key).
class TTabControl : public TCustomTabControl {
    CLASSLIB_CLASS(TTabControl, TCustomTabControl)

public:
    explicit TTabControl(TComponent* owner);
    ~TTabControl() override;

    // The captions; a change keeps TabIndex inside them.
    TStrings* GetTabs() const { return tabs_; }
    // Copies the strings (null clears).
    void SetTabs(const TStrings* tabs);

protected:
    int TabCount() const override { return tabs_->GetCount(); }
    std::string TabCaption(int index) const override { return tabs_->GetStrings(index); }

private:
    TControlItems* tabs_;
};

class TPageControl;

// One page of a TPageControl: a plain container whose Caption is its tab.
class TTabSheet : public TCustomControl {
    CLASSLIB_CLASS(TTabSheet, TCustomControl)

public:
    explicit TTabSheet(TComponent* owner);
    // Leaves its page control first.
    ~TTabSheet() override;

    TPageControl* GetPageControl() const { return pageControl_; }
    // Moves the sheet into a page control (as its last page) or out of it (null).
    void SetPageControl(TPageControl* pageControl);
    // The sheet's place among the pages, -1 outside a page control; setting
    // moves it there (clamped into the pages).
    int GetPageIndex() const;
    void SetPageIndex(int index);
    // A hidden tab keeps the sheet but shows no tab for it (nor the page).
    bool GetTabVisible() const { return tabVisible_; }
    void SetTabVisible(bool visible);

    // Parenting a sheet in a page control makes it one of its pages.
    void SetParent(TWinControl* parent) override;
    void SetText(const std::string& text) override;

protected:
    void Paint() override;

private:
    friend class TPageControl;
    TPageControl* pageControl_ = nullptr;
    bool tabVisible_ = true;
};

class TPageControl : public TCustomTabControl {
    CLASSLIB_CLASS(TPageControl, TCustomTabControl)

public:
    explicit TPageControl(TComponent* owner);
    // The sheets it parents are deleted with it (as children).
    ~TPageControl() override;

    // Every sheet, with hidden tabs too.
    int GetPageCount() const { return static_cast<int>(pages_.size()); }
    // Throws EListError out of range.
    TTabSheet* GetPage(int index) const;
    TTabSheet* GetActivePage() const { return activePage_; }
    // Shows that sheet (null: none); a sheet of another control is ignored.
    void SetActivePage(TTabSheet* page);
    int GetActivePageIndex() const;
    // Out of range shows none.
    void SetActivePageIndex(int index);
    // The active page by name, as form resources store it: while loading the
    // name is kept until Loaded; an unknown name shows the first page.
    std::string GetActivePageName() const;
    void SetActivePageName(const std::string& name);
    // The next (or previous) sheet with a visible tab after current, wrapping
    // round; null when none.
    TTabSheet* FindNextPage(TTabSheet* current, bool forward) const;
    // Shows the next (or previous) page as the user does.
    void SelectNextPage(bool forward);

    void Loaded() override;

protected:
    int TabCount() const override;
    std::string TabCaption(int index) const override;
    void TabChanged() override;
    void Resize() override;

private:
    friend class TTabSheet;
    void InsertPage(TTabSheet* page);
    void RemovePage(TTabSheet* page);
    void MovePage(TTabSheet* page, int index);
    // Index of the sheet among the visible tabs, -1 when hidden or absent.
    int TabOfPage(const TTabSheet* page) const;
    TTabSheet* PageOfTab(int tab) const;
    void ShowActivePage();
    void PagesChanged();

    std::vector<TTabSheet*> pages_;
    TTabSheet* activePage_ = nullptr;
    std::string pendingActivePage_;
};

// The property tables of the tab classes (called by the library's start-up).
void RegisterTabControlProperties();
