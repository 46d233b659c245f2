// TVGTFormBase, TVGTForm and TVGMForm: the linked forms and their panels.
#include "VGTForm.h"

#include "Events.h"
#include "Registration.h"
#include "VGMPanel.h"

namespace {

const THandlerEntry kVGTFormBaseHandlers[] = {CLASSLIB_HANDLER(TVGTFormBase, FormResize)};

}  // namespace

TVGTFormBase::TVGTFormBase(TComponent* owner) : TForm(owner) { LoadStoredLayout(); }

std::any TVGTFormBase::FindHandler(const std::string& name) {
    return BindHandler(kVGTFormBaseHandlers, this, name.c_str());
}

void TVGTFormBase::FormResize(TObject*) {
    if (Panel == nullptr) return;
    Panel->SetBounds(0, 0, GetClientWidth(), GetClientHeight());
    Panel->Resize();
}

TVGTForm::TVGTForm(TComponent* owner) : TVGTFormBase(owner) { TakePanel(new TVGTPanel(this)); }

TVGMForm::TVGMForm(TComponent* owner) : TVGTFormBase(owner) { TakePanel(new TVGMPanel(this)); }

void TVGTFormBase::TakePanel(TVGTPanel* panel) {
    Panel = panel;
    Panel->SetParent(this);
    FormResize(this);
}

void RegisterVGTFormClasses() {
    RegisterClass<TVGTForm>();
    RegisterClass<TVGMForm>();
}

void UnregisterVGTFormClasses() {
    UnRegisterClass(TVGMForm::StaticClassInfo());
    UnRegisterClass(TVGTForm::StaticClassInfo());
}
