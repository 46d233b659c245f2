// TVGTPanel: the topic panel. It shows a help set in a main topic scroller
// and, while the open topic declares PANEL tags, in one scroller per
// sub-panel; it follows links to topics, sub-panels, forms and lists of
// related topics, keeps a back history and the topic index, and runs the
// topic selection and word search dialogs.
#pragma once

#include <functional>
#include <vector>

#include "CustomControl.h"
#include "PanelHistory.h"
#include "StringContainer.h"
#include "Topics.h"
#include "VGTRecords.h"
#include "VGTScroller.h"

class TVGTFormBase;

// The panel itself stays invisible: its scrollers are components of the
// panel's owner and children of it (siblings of the panel), placed in the
// owner's coordinates over the panel's rectangle. Scroller 0 is the main
// scroller; sub-panels are 1 and up. Sub-panel scrollers that are removed are
// retired (hidden) and freed from a message the panel posts to its own
// window once none of their events is running, so a scroller whose click
// replaced the layout lives on until its click has returned.
class TVGTPanel : public TCustomControl {
    CLASSLIB_CLASS(TVGTPanel, TCustomControl)

public:
    // Invisible, with its main scroller; in the design state 120 x 80 and
    // without scrollers.
    explicit TVGTPanel(TComponent* owner);
    ~TVGTPanel() override;
    // The scrollers are named after the panel, so they are named anew.
    void SetName(const std::string& name) override;
    // Its scrollers, named after it ("Scroller" and a number), are its parts:
    // form texts leave them out, and a text written with them (before they
    // were left out) loads without them, the panel making its own.
    bool MakesPart(const std::string& name, const TClassInfo* info) const override;

    // ---- topics ----
    // Records the history and opens the topic in the main scroller, which
    // then replaces the sub-panels (an empty name opens nothing and only
    // removes them). A topic that cannot be read shows the topic error once
    // and leaves the layout, history and last target as they were.
    void SetSource(const TString& name);
    // The target (and target panel) of the last link followed or topic set.
    TString GetSource() const { return fLastTarget; }
    TString GetTarget() const { return fLastTargetPanel; }
    void SetLastLink(const TString& target, const TString& targetPanel);
    // The topic index.
    void SetTopics(const TTopics& topics) { fTopics = topics; }
    void AddTopics(const TTopics& topics);
    void DeleteTopics() { fTopics.Clear(); }
    TTopics& GetTopics() { return fTopics; }

    // ---- scrollers and sub-panels ----
    TVGTScroller* GetMainPanel() const { return fScrollers.empty() ? nullptr : fScrollers[0]; }
    // The first scroller whose sub-panel name is name (the main scroller's is
    // empty); null when none.
    TVGTScroller* GetPanel(const TString& name) const;
    int GetScrollerCount() const { return static_cast<int>(fScrollers.size()); }
    TVGTScroller* GetScroller(int index) const;
    // Builds the sub-panels a topic of the main scroller declares, after
    // removing any still present; the main scroller then hides.
    void CreatePanels(TVGTScroller* mainScroller, const TPanelInfos& panels);
    // Retires every sub-panel scroller (keep included: it is the one whose
    // click caused this); the main scroller stays alone.
    void DeletePanels(TVGTScroller* keep);
    // Frees the retired scrollers whose events are not running.
    void DeleteScrollers();
    // A scroller that goes tells the panel (it leaves every list; when the
    // main scroller goes, the panel lets go of every scroller).
    void DeletePanel(TVGTScroller* scroller);
    // A scroller's last running event ended: a retired one can go now.
    void ScrollerIdle(TVGTScroller* scroller);
    // Every scroller's rectangle scroller refresh.
    void Refresh() override;
    // Hide or show every scroller; nothing when already so.
    void Hide();
    void Show();
    bool Hidden() const { return fHidden; }
    // Unless designed, Resize(Left, Top, Width, Height).
    void Resize() override;
    // Takes the rectangle; the main scroller alone fills it, sub-panels are
    // placed by their sizes (GetPos) from its left and top.
    void Resize(int left, int top, int width, int height);
    // A percentage of total (truncated), total less a negative pixel value,
    // or the pixel value.
    static int GetPos(const PANEL_POS& position, int total);

    // ---- links and history ----
    // Follows a link clicked in scroller (see the source for the order of the
    // cases: forms, related topics, main, named sub-panel, the same scroller).
    // A target that cannot be read shows the topic error once and changes
    // neither the layout nor the history.
    void SelectLink(TVGTScroller* scroller, const TString& target, const TString& targetPanel);
    // Appends what every scroller shows; at most the history limit stay.
    void RegisterHistory();
    // Restores the last step and drops it; OnHistoryRunOut when the history
    // became empty.
    void Back();
    TPanelHistory& GetHistory() { return fHistory; }
    int GetHistoryLimit() const { return fHistoryLimit; }
    void SetHistoryLimit(int limit) { fHistoryLimit = limit < 1 ? 1 : limit; }

    // ---- dialogs ----
    // Choosing a topic by name from the index, with an incremental search.
    void SelectTopic();
    // Searching the text of every topic of the index for words.
    void Search();
    // The words and options of the last search that was run (OK).
    TStringContainer& GetSearchWords() { return fSearchWords; }
    bool GetWholeWords() const { return fWholeWords; }
    bool GetAndRelation() const { return fAndRelation; }
    bool GetCaseSensitivity() const { return fCaseSensitivity; }

    // ---- forms ----
    // The forms the topic of the main scroller declares.
    TVGTFormInfos& GetDeclaredForms() { return fDeclaredForms; }
    const std::vector<TVGTFormBase*>& GetOpenForms() const { return fOpenForms; }

    // ORDER VIRTUALS: the operations this class adds, in their slot order
    // (Paint overrides the class library's).
    // The design frame: black outline, white fill, the name at (10, 10).
    void Paint() override;
    // A new scroller owned by the panel's owner.
    virtual TVGTScroller* CreateScroller();
    // Centered off, the panel's link-area events, a name of its own.
    virtual void SetScrollerProps(TVGTScroller* scroller);
    // The lines of topic index entry index (empty when it cannot be read).
    virtual void GetTopicSource(int index, TStringContainer& lines);
    virtual TVGTFormBase* CreateForm();
    // A form made by CreateForm with the info's name (as its link name),
    // caption and bounds.
    virtual TVGTFormBase* SetupForm(const TVGTFormInfo& info);
    // Opens source in the form linked as formName: an open one, or one the
    // topic declares (made and kept); false when there is none.
    virtual bool OpenForm(const TString& source, const TString& formName);

    void SetAllScrollerProps();

    TLinkAreaEvent OnEnterLinkArea;
    TLinkAreaEvent OnLeavLinkArea;
    TNotifyEvent OnHistoryRunOut;

    void WMSize(TMessage& message);
    void WMFreeRetired(TMessage& message);

    CLASSLIB_MESSAGE_MAP(TVGTPanel, TCustomControl, {WM_SIZE, &TVGTPanel::WMSize},
                         {WM_USER + 0x140, &TVGTPanel::WMFreeRetired})

protected:
    // The base constructor makes the main scroller before a derived panel's
    // CreateScroller can answer: a derived constructor calls this to replace
    // it by one of its own kind. Nothing in the design state.
    void RemakeMainScroller();
    // Grows whenever sub-panels are built or removed, so that a walk over a
    // copy of the scrollers can tell that the copy went stale.
    int GetLayoutChanges() const { return fLayoutChanges; }
    // A new form of CreateForm taken over by the panel, unnamed.
    TVGTFormBase* AdoptForm(TVGTFormBase* form);

private:
    bool IsDesigning() const;
    void MakeMainScroller();
    // The owner as the parent of the scrollers (null when it is no control).
    TWinControl* ScrollerParent() const;
    // The panel's name, "Scroller" and the first number from the count of
    // topic scrollers of the owner up that no other component uses.
    TString ScrollerName(TVGTScroller* scroller) const;
    void Retire(TVGTScroller* scroller);
    // The scrollers forget the panel and the panel its scrollers.
    void ReleaseScrollers();
    void PostFreeRetired();
    // What every scroller shows, as a history step holds it.
    TPanelStates CurrentStates() const;
    // SEEALSO/caption/target/...: the chosen target, or false.
    bool ChooseSeeAlso(const TString& target, TString& chosen);
    // Frees a scroller or form the panel owns the end of.
    void FreeComponent(TComponent* component);

    TString fLastTargetPanel;
    TString fLastTarget;
    std::vector<TVGTScroller*> fScrollers;
    std::vector<TVGTScroller*> fRetired;
    std::vector<TVGTFormBase*> fOpenForms;
    int fHistoryLimit = 10;
    TPanelHistory fHistory;
    TTopics fTopics;
    bool fHidden = false;
    TStringContainer fSearchWords;
    bool fWholeWords = false;
    bool fAndRelation = false;
    bool fCaseSensitivity = false;
    TVGTFormInfos fDeclaredForms;
    bool fResizing = false;
    bool fFreePosted = false;
    int fLayoutChanges = 0;
};

namespace Vgtpanel {
// Registers TVGTPanel on the palette page "Rollan".
void Register();
}  // namespace Vgtpanel

// The property table and stream class of the panel (called by the package's start-up).
void RegisterVGTPanelClasses();
void UnregisterVGTPanelClasses();
