// TVGTPanel: construction, scrollers and sub-panels, their layout, retiring
// and freeing, forms, painting in the design state and registration.
#include "VGTPanel.h"

#include <algorithm>
#include <cctype>

#include "PropertyTable.h"
#include "Registration.h"
#include "VGTForm.h"

namespace {

constexpr UINT kFreeRetiredMessage = WM_USER + 0x140;

}  // namespace

TVGTPanel::TVGTPanel(TComponent* owner) : TCustomControl(owner) {
    if (IsDesigning()) {
        SetBounds(GetLeft(), GetTop(), 120, 80);
        return;
    }
    SetVisible(false);
    MakeMainScroller();
}

// The retired scrollers go first, then the open forms; the scrollers that
// stay with the owner forget the panel.
TVGTPanel::~TVGTPanel() {
    Destroying();
    for (TVGTScroller* scroller : std::vector<TVGTScroller*>(fRetired)) {
        scroller->SetPanel(nullptr);
        if (!scroller->EventsRunning()) FreeComponent(scroller);
    }
    fRetired.clear();
    for (TVGTFormBase* form : std::vector<TVGTFormBase*>(fOpenForms)) FreeComponent(form);
    fOpenForms.clear();
    ReleaseScrollers();
}

void TVGTPanel::SetName(const std::string& name) {
    TCustomControl::SetName(name);
    for (TVGTScroller* scroller : fScrollers) scroller->SetName(ScrollerName(scroller).str());
}

// The names ScrollerName gives: the panel's name, "Scroller" and a number.
bool TVGTPanel::MakesPart(const std::string& name, const TClassInfo* info) const {
    const std::string prefix = GetName() + "Scroller";
    if (name.size() <= prefix.size() || !SameIdentifier(name.substr(0, prefix.size()), prefix)) return false;
    const auto number = name.begin() + static_cast<std::ptrdiff_t>(prefix.size());
    if (!std::all_of(number, name.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }))
        return false;
    for (; info != nullptr; info = info->base)
        if (info == TVGTScroller::StaticClassInfo()) return true;
    return false;
}

bool TVGTPanel::IsDesigning() const {
    const TComponent* owner = GetOwner();
    return GetComponentState().Contains(csDesigning) ||
           (owner != nullptr && owner->GetComponentState().Contains(csDesigning));
}

TWinControl* TVGTPanel::ScrollerParent() const { return dynamic_cast<TWinControl*>(GetOwner()); }

void TVGTPanel::FreeComponent(TComponent* component) {
    if (TComponent* owner = component->GetOwner()) owner->RemoveComponent(component);
    delete component;
}

// ---- scrollers ----

TVGTScroller* TVGTPanel::CreateScroller() { return new TVGTScroller(GetOwner()); }

void TVGTPanel::MakeMainScroller() {
    TVGTScroller* main = CreateScroller();
    SetScrollerProps(main);
    main->SetParent(ScrollerParent());
    fScrollers.push_back(main);
    main->SetPanel(this);
}

void TVGTPanel::RemakeMainScroller() {
    if (fScrollers.empty()) return;
    TVGTScroller* previous = fScrollers[0];
    ReleaseScrollers();
    FreeComponent(previous);
    MakeMainScroller();
}

TString TVGTPanel::ScrollerName(TVGTScroller* scroller) const {
    const TComponent* owner = scroller->GetOwner();
    int number = 0;
    if (owner != nullptr)
        for (int i = 0; i < owner->GetComponentCount(); ++i)
            if (dynamic_cast<TVGTScroller*>(owner->GetComponent(i))) ++number;
    for (;; ++number) {
        const std::string name = GetName() + "Scroller" + std::to_string(number);
        const TComponent* holder = owner != nullptr ? owner->FindComponent(name) : nullptr;
        if (holder == nullptr || holder == scroller) return TString(name);
    }
}

// The scroller's events call the panel's as they are at the time, so an
// event set on the panel later reaches every scroller too.
void TVGTPanel::SetScrollerProps(TVGTScroller* scroller) {
    scroller->SetCentered(false);
    scroller->OnEnterLinkArea = [this](const TString& target, const TString& targetPanel) {
        if (OnEnterLinkArea) OnEnterLinkArea(target, targetPanel);
    };
    scroller->OnLeaveLinkArea = [this](const TString& target, const TString& targetPanel) {
        if (OnLeavLinkArea) OnLeavLinkArea(target, targetPanel);
    };
    scroller->SetName(ScrollerName(scroller).str());
}

void TVGTPanel::SetAllScrollerProps() {
    for (TVGTScroller* scroller : fScrollers) SetScrollerProps(scroller);
}

TVGTScroller* TVGTPanel::GetScroller(int index) const {
    return index >= 0 && index < GetScrollerCount() ? fScrollers[static_cast<size_t>(index)] : nullptr;
}

TVGTScroller* TVGTPanel::GetPanel(const TString& name) const {
    for (TVGTScroller* scroller : fScrollers)
        if (scroller->GetPanelInfo().name == name) return scroller;
    return nullptr;
}

// ---- sub-panels ----

// Sub-panels still present go first, so that a main scroller opening a
// frame topic never stacks a second set.
void TVGTPanel::CreatePanels(TVGTScroller* mainScroller, const TPanelInfos& panels) {
    if (GetScrollerCount() > 1) DeletePanels(nullptr);
    ++fLayoutChanges;
    for (TVGTScroller* retired : fRetired) {
        retired->Hide();
        retired->GetPanelInfo().name.Clear();
    }
    for (int i = 0; i < panels.GetCount(); ++i) {
        TVGTScroller* scroller = CreateScroller();
        SetScrollerProps(scroller);
        scroller->SetParent(ScrollerParent());
        scroller->SetPanelInfo(panels[i]);
        fScrollers.push_back(scroller);
        scroller->SetSource(panels[i].source, false);
        scroller->SetPanel(this);
        if (fHidden) scroller->Hide();
    }
    mainScroller->Hide();
    Resize();
}

void TVGTPanel::Retire(TVGTScroller* scroller) {
    scroller->Hide();
    fRetired.push_back(scroller);
}

void TVGTPanel::DeletePanels(TVGTScroller* /*keep*/) {
    if (GetScrollerCount() <= 1) return;
    ++fLayoutChanges;
    for (size_t i = 1; i < fScrollers.size(); ++i) Retire(fScrollers[i]);
    fScrollers.resize(1);
    PostFreeRetired();
}

void TVGTPanel::PostFreeRetired() {
    if (fFreePosted || fRetired.empty()) return;
    if (!HandleAllocated() && (GetParent() == nullptr || !GetParent()->HandleAllocated())) {
        DeleteScrollers();
        return;
    }
    fFreePosted = PostMessageA(GetHandle(), kFreeRetiredMessage, 0, 0) != 0;
}

void TVGTPanel::WMFreeRetired(TMessage&) {
    fFreePosted = false;
    DeleteScrollers();
}

void TVGTPanel::DeleteScrollers() {
    for (TVGTScroller* scroller : std::vector<TVGTScroller*>(fRetired)) {
        if (scroller->EventsRunning()) continue;
        fRetired.erase(std::find(fRetired.begin(), fRetired.end(), scroller));
        scroller->SetPanel(nullptr);
        FreeComponent(scroller);
    }
}

void TVGTPanel::ScrollerIdle(TVGTScroller* scroller) {
    if (std::find(fRetired.begin(), fRetired.end(), scroller) != fRetired.end()) PostFreeRetired();
}

// Without its main scroller the panel shows nothing more: it lets go of
// the sub-panels, which stay with the owner.
void TVGTPanel::DeletePanel(TVGTScroller* scroller) {
    fRetired.erase(std::remove(fRetired.begin(), fRetired.end(), scroller), fRetired.end());
    if (scroller != GetMainPanel()) {
        fScrollers.erase(std::remove(fScrollers.begin(), fScrollers.end(), scroller), fScrollers.end());
        return;
    }
    fScrollers.erase(fScrollers.begin());
    ReleaseScrollers();
}

void TVGTPanel::ReleaseScrollers() {
    for (TVGTScroller* scroller : fScrollers) {
        scroller->SetPanel(nullptr);
        scroller->OnEnterLinkArea = nullptr;
        scroller->OnLeaveLinkArea = nullptr;
    }
    fScrollers.clear();
}

// ---- layout ----

int TVGTPanel::GetPos(const PANEL_POS& position, int total) {
    if (!position.absolute) return static_cast<int>(static_cast<long long>(total) * position.value / 100);
    if (position.value < 0) return static_cast<int>(static_cast<long long>(total) + position.value);
    return position.value;
}

void TVGTPanel::WMSize(TMessage&) { Resize(); }

void TVGTPanel::Resize() {
    if (!IsDesigning()) Resize(GetLeft(), GetTop(), GetWidth(), GetHeight());
}

void TVGTPanel::Resize(int left, int top, int width, int height) {
    if (IsDesigning()) {
        Repaint();
        return;
    }
    if (fResizing || fScrollers.empty()) return;
    fResizing = true;
    SetBounds(left, top, width, height);
    if (fScrollers.size() == 1) {
        fScrollers[0]->SetBounds(left, top, width, height);
        if (!fHidden) fScrollers[0]->Show();
    }
    for (size_t i = 1; i < fScrollers.size(); ++i) {
        const TPanelInfo& info = fScrollers[i]->GetPanelInfo();
        fScrollers[i]->SetBounds(GetPos(info.left, width) + left, GetPos(info.top, height) + top,
                                 GetPos(info.width, width), GetPos(info.height, height));
    }
    fResizing = false;
}

void TVGTPanel::Refresh() {
    for (TVGTScroller* scroller : fScrollers) scroller->TRectScroller::Refresh();
}

void TVGTPanel::Hide() {
    if (fHidden) return;
    fHidden = true;
    for (TVGTScroller* scroller : fScrollers) scroller->Hide();
}

void TVGTPanel::Show() {
    if (!fHidden) return;
    fHidden = false;
    if (fScrollers.size() == 1) fScrollers[0]->Show();
    for (size_t i = 1; i < fScrollers.size(); ++i) fScrollers[i]->Show();
}

void TVGTPanel::Paint() {
    if (!IsDesigning()) return;
    TCanvas* canvas = GetCanvas();
    canvas->GetPen()->SetColor(clBlack);
    canvas->GetBrush()->SetColor(clWhite);
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->Rectangle(0, 0, GetWidth(), GetHeight());
    canvas->GetFont()->SetName("Arial");
    canvas->GetFont()->SetSize(10);
    canvas->GetFont()->SetColor(clBlack);
    canvas->TextOut(10, 10, GetName());
}

// ---- topics ----

void TVGTPanel::SetLastLink(const TString& target, const TString& targetPanel) {
    fLastTarget = target;
    fLastTargetPanel = targetPanel;
}

void TVGTPanel::AddTopics(const TTopics& topics) {
    for (int i = 0; i < topics.GetCount(); ++i) fTopics += topics[i];
}

void TVGTPanel::GetTopicSource(int index, TStringContainer& lines) {
    lines.Clear();
    if (index < 0 || index >= fTopics.GetCount()) return;
    try {
        lines.ReadFromFile(fTopics[index].source);
    } catch (const TSDPPFileException&) {
        lines.Clear();
    }
}

// The main scroller removes the sub-panels only once it has read the topic,
// so a topic that cannot be read reports once and leaves the layout as it
// was. An empty name opens nothing but clears the sub-panels all the same.
void TVGTPanel::SetSource(const TString& name) {
    TVGTScroller* main = GetMainPanel();
    if (main == nullptr) return;
    const int steps = fHistory.GetCount();
    RegisterHistory();
    if (name.IsEmpty()) DeletePanels(nullptr);
    if (!main->SetSource(name, true)) {
        while (fHistory.GetCount() > steps) fHistory.DeleteLast();
    } else {
        fLastTarget = name;
    }
    Resize();
}

// ---- forms ----

// The stored layout names every form alike; the panel's forms go unnamed, so
// that the panel can own several.
TVGTFormBase* TVGTPanel::CreateForm() { return AdoptForm(new TVGTForm(nullptr)); }

TVGTFormBase* TVGTPanel::AdoptForm(TVGTFormBase* form) {
    form->SetName("");
    InsertComponent(form);
    return form;
}

TVGTFormBase* TVGTPanel::SetupForm(const TVGTFormInfo& info) {
    TVGTFormBase* form = CreateForm();
    form->SetLinkName(info.name);
    form->SetCaption(info.caption.str());
    form->SetBounds(info.left, info.top, info.width, info.height);
    return form;
}

bool TVGTPanel::OpenForm(const TString& source, const TString& formName) {
    for (TVGTFormBase* form : fOpenForms) {
        if (form->GetLinkName() != formName) continue;
        form->GetPanel()->SetSource(source);
        form->Show();
        return true;
    }
    for (int i = 0; i < fDeclaredForms.GetCount(); ++i) {
        if (fDeclaredForms[i].name != formName) continue;
        TVGTFormBase* form = SetupForm(fDeclaredForms[i]);
        fOpenForms.push_back(form);
        form->GetPanel()->SetSource(source);
        form->Show();
        return true;
    }
    return false;
}

// ---- published properties and registration ----

namespace {

const TPropertyInfo kVGTPanelProperties[] = {
    CLASSLIB_EVENT_PROPERTY(TVGTPanel, OnEnterLinkArea, TLinkAreaEvent),
    CLASSLIB_EVENT_PROPERTY(TVGTPanel, OnLeavLinkArea, TLinkAreaEvent),
    CLASSLIB_EVENT_PROPERTY(TVGTPanel, OnHistoryRunOut, TNotifyEvent),
};

}  // namespace

void RegisterVGTPanelClasses() {
    RegisterPropertyTable(TVGTPanel::StaticClassInfo(), kVGTPanelProperties);
    RegisterVGTFormClasses();
}

void UnregisterVGTPanelClasses() {
    UnregisterVGTFormClasses();
    UnRegisterClass(TVGTPanel::StaticClassInfo());
}

namespace Vgtpanel {
void Register() { RegisterComponents("Rollan", {ComponentClass<TVGTPanel>()}); }
}  // namespace Vgtpanel
