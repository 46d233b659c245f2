// TVGMPanel: the document variant of the topic panel, on a help archive.
#include "VGMPanel.h"

#include <vector>

#include "ArchiveEntry.h"
#include "Registration.h"
#include "VGMScroller.h"
#include "VGTForm.h"

TVGMPanel::TVGMPanel(TComponent* owner) : TVGTPanel(owner) { RemakeMainScroller(); }

TVGTScroller* TVGMPanel::CreateScroller() { return new TVGMScroller(GetOwner()); }

void TVGMPanel::SetScrollerProps(TVGTScroller* scroller) {
    TVGTPanel::SetScrollerProps(scroller);
    if (auto* document = dynamic_cast<TVGMScroller*>(scroller)) document->SetResource(fResource);
}

// The main scroller reopening a frame topic builds new sub-panels, which
// open their topics from the new archive as they are made, and retires the
// old ones: the walk goes over a copy and passes over what left the layout.
void TVGMPanel::SetResource(TResourceBase* archive) {
    fResource = archive;
    SetAllScrollerProps();
    TTopics topics;
    if (ReadArchiveEntry(archive, TString("topics"), topics)) SetTopics(topics);
    std::vector<TVGTScroller*> scrollers;
    for (int i = 0; i < GetScrollerCount(); ++i) scrollers.push_back(GetScroller(i));
    const int layout = GetLayoutChanges();
    for (TVGTScroller* scroller : scrollers) {
        const bool stale = GetLayoutChanges() != layout && scroller != GetMainPanel();
        bool inLayout = false;
        for (int i = 0; i < GetScrollerCount() && !inLayout; ++i) inLayout = GetScroller(i) == scroller;
        if (stale || !inLayout) continue;
        scroller->SetSource(scroller->GetTopicName(), false);
    }
    for (TVGTFormBase* form : GetOpenForms())
        if (auto* formPanel = dynamic_cast<TVGMPanel*>(form->GetPanel())) formPanel->SetResource(archive);
}

void TVGMPanel::GetTopicSource(int index, TStringContainer& lines) {
    lines.Clear();
    if (index < 0 || index >= GetTopics().GetCount()) return;
    TStringContainer read;
    if (ReadArchiveEntry(fResource, GetTopics()[index].source, read)) lines.Swap(read);
}

TVGTFormBase* TVGMPanel::CreateForm() { return AdoptForm(new TVGMForm(nullptr)); }

TVGTFormBase* TVGMPanel::SetupForm(const TVGTFormInfo& info) {
    TVGTFormBase* form = TVGTPanel::SetupForm(info);
    if (auto* panel = dynamic_cast<TVGMPanel*>(form->GetPanel())) panel->SetResource(fResource);
    return form;
}

void RegisterVGMPanelClasses() { RegisterVGMScrollerClasses(); }

void UnregisterVGMPanelClasses() {
    UnRegisterClass(TVGMPanel::StaticClassInfo());
    UnregisterVGMScrollerClasses();
}

namespace Vgmpanel {
void Register() { RegisterComponents("Rollan", {ComponentClass<TVGMPanel>()}); }
}  // namespace Vgmpanel
