// TVGTPanel: following links, the history, and the topic selection, word
// search and see-also dialogs.
#include <memory>

#include "Buttons.h"
#include "Edit.h"
#include "ListBox.h"
#include "SeeAlsoDlg.h"
#include "FoundTopicsDlg.h"
#include "SearchDlg.h"
#include "SelectTopicDlg.h"
#include "TaggedFinder.h"
#include "VGTPanel.h"

// ---- links ----

bool TVGTPanel::ChooseSeeAlso(const TString& target, TString& chosen) {
    TStringContainer items;
    target.GetTokens('/', items);
    if (items.GetCount() < 3 || items.GetCount() % 2 == 0 || items[0] != TString("SEEALSO")) {
        chosen = target;
        return true;
    }
    auto dialog = std::make_unique<TSeeAlsoDlg>(this);
    for (int i = 1; i + 1 < items.GetCount(); i += 2) dialog->lbNames->GetItems()->Add(items[i].str());
    if (dialog->ShowModal() != mrOk) return false;
    const int selected = dialog->lbNames->GetItemIndex();
    if (selected < 0) return false;
    chosen = items[2 * selected + 2];
    return true;
}

// A form of that name first; then a list of related topics asks which;
// then the history is recorded and the target opens: in the main scroller
// when it is alone or the target panel is "main" (the sub-panels go), in the
// sub-panel of that name, or else in the clicking scroller.
void TVGTPanel::SelectLink(TVGTScroller* scroller, const TString& target, const TString& targetPanel) {
    if (OpenForm(target, targetPanel)) return;
    TString chosen;
    if (!ChooseSeeAlso(target, chosen)) return;
    TVGTScroller* main = GetMainPanel();
    if (main == nullptr) return;
    const int steps = fHistory.GetCount();
    RegisterHistory();
    const bool recorded = fHistory.GetCount() > steps;
    auto open = [&](TVGTScroller* opener, bool deletePanels) {
        if (!opener->SetSource(chosen, deletePanels) && recorded) fHistory.DeleteLast();
    };
    if (GetScrollerCount() == 1) {
        open(main, false);
        return;
    }
    if (targetPanel == TString("main")) {
        // The main scroller shows itself and retires the sub-panels (the
        // clicking one too) once it has read the target; a target that
        // cannot be read leaves the layout as it was.
        open(main, true);
        Resize();
        return;
    }
    TVGTScroller* named = targetPanel.IsEmpty() ? nullptr : GetPanel(targetPanel);
    if (named != nullptr && named != main) {
        open(named, false);
        return;
    }
    open(scroller, false);
    Resize();
}

// ---- history ----

TPanelStates TVGTPanel::CurrentStates() const {
    TPanelStates states;
    for (TVGTScroller* scroller : fScrollers) {
        TPanelState* state = states.NewItem();
        state->panelName = scroller->GetPanelInfo().name;
        state->source = scroller->GetTopicName();
    }
    return states;
}

void TVGTPanel::RegisterHistory() {
    TVGTScroller* main = GetMainPanel();
    if (main == nullptr || main->GetTopicName().IsEmpty()) return;
    fHistory.Add(new TPanelStates(CurrentStates()));
    while (fHistory.GetCount() > fHistoryLimit) fHistory.DeleteFirst();
}

// Each scroller named in the step gets its topic back; a step whose names do
// not all match the scrollers rebuilds the layout from its first topic.
void TVGTPanel::Back() {
    if (fHistory.GetCount() == 0 || GetMainPanel() == nullptr) return;
    const TPanelStates states = fHistory.Last();
    bool matched = states.GetCount() == GetScrollerCount();
    for (int i = 0; matched && i < states.GetCount(); ++i) {
        TVGTScroller* scroller = GetPanel(states[i].panelName);
        if (scroller == nullptr) {
            matched = false;
            break;
        }
        if (scroller->GetTopicName() != states[i].source) scroller->SetSource(states[i].source, false);
    }
    if (!matched && states.GetCount() > 0) {
        DeletePanels(nullptr);
        GetMainPanel()->Show();
        GetMainPanel()->SetSource(states[0].source, false);
    }
    fHistory.DeleteLast();
    if (GetScrollerCount() == 1) Resize();
    if (fHistory.GetCount() == 0 && OnHistoryRunOut) OnHistoryRunOut(this);
}

// ---- dialogs ----

void TVGTPanel::SelectTopic() {
    TStringContainer names, sources;
    for (int i = 0; i < fTopics.GetCount(); ++i)
        for (int k = 0; k < fTopics[i].names.GetCount(); ++k) {
            names.Add(fTopics[i].names[k]);
            sources.Add(fTopics[i].source);
        }
    auto dialog = std::make_unique<TSelectTopicDlg>(this);
    dialog->SetNames(&names);
    if (dialog->ShowModal() != mrOk) return;
    const int selected = dialog->lbNames->GetItemIndex();
    dialog.reset();
    if (selected < 0 || selected >= sources.GetCount()) {
        MessageBoxA(GetHandle(), "No such topic", "Select topic", MB_OK | MB_ICONWARNING);
        return;
    }
    SetSource(sources[selected]);
}

void TVGTPanel::Search() {
    auto dialog = std::make_unique<TSearchDlg>(this);
    dialog->SetCriteria(fSearchWords, fWholeWords, fAndRelation, fCaseSensitivity);
    if (dialog->ShowModal() != mrOk) return;
    dialog->GetCriteria(fSearchWords, fWholeWords, fAndRelation, fCaseSensitivity);
    dialog.reset();
    TStringContainer names, sources;
    for (int i = 0; i < fTopics.GetCount(); ++i) {
        TStringContainer lines;
        GetTopicSource(i, lines);
        TTaggedFinder finder;
        bool found = false;
        finder.Parse(lines, fSearchWords, found, fWholeWords, fAndRelation, fCaseSensitivity);
        if (!found) continue;
        for (int k = 0; k < fTopics[i].names.GetCount(); ++k) {
            names.Add(fTopics[i].names[k]);
            sources.Add(fTopics[i].source);
        }
    }
    if (names.GetCount() == 0) {
        MessageBoxA(GetHandle(), "No words were found.", "Find words", MB_OK);
        return;
    }
    auto found = std::make_unique<TFoundTopicsDlg>(this);
    for (int i = 0; i < names.GetCount(); ++i) found->lbTopics->GetItems()->Add(names[i].str());
    if (found->ShowModal() != mrOk) return;
    const int selected = found->lbTopics->GetItemIndex();
    found.reset();
    if (selected >= 0 && selected < sources.GetCount()) SetSource(sources[selected]);
}
