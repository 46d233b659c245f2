// Start-up and shut-down of the Kontrola units: registers the package's
// classes and their property tables for form resources and the palette when
// the library loads, and takes the classes out of the registry when it unloads.
#include "ArrowScroller.h"
#include "FormSplitter.h"
#include "GraphObjectComboBox.h"
#include "ProcessBar.h"
#include "RALabel.h"
#include "Registration.h"

namespace {

void KontrolaInitialise() {
    RegisterRALabelProperties();
    RegisterProcessBarProperties();
    RegisterArrowScrollerProperties();
    RegisterFormSplitterProperties();
    RegisterGraphObjectComboBoxProperties();
    RegisterComponents("Kontrola", {ComponentClass<TFormSplitter>(), ComponentClass<TProcessBar>(),
                                    ComponentClass<TArrowScroller>(), ComponentClass<TGraphObjectComboBox>(),
                                    ComponentClass<TRALabel>()});
}

void KontrolaFinalise() {
    for (const TClassInfo* info : {TFormSplitter::StaticClassInfo(), TProcessBar::StaticClassInfo(),
                                   TArrowScroller::StaticClassInfo(), TGraphObjectComboBox::StaticClassInfo(),
                                   TRALabel::StaticClassInfo()})
        UnRegisterClass(info);
}

__attribute__((constructor)) void LoadKontrolaLibrary() { KontrolaInitialise(); }
__attribute__((destructor)) void UnloadKontrolaLibrary() { KontrolaFinalise(); }

}  // namespace
