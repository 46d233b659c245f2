// Start-up and shut-down of the Rollan units: registers the package's classes
// and their property tables for form resources and the palette when the
// library loads, and takes the classes out of the registry when it unloads.
#include "MemBitmapScroller.h"
#include "RectScroller.h"
#include "Registration.h"
#include "ScrollControl.h"
#include "SelectableRectScroller.h"

namespace {

// ORDER: the units in link order, the scroll control before the scrollers built on it.
void RollanInitialise() {
    RegisterScrollControlProperties();
    Scrollcontrol::Register();
    RegisterRectScrollerProperties();
    Rectscroller::Register();
    RegisterSelectableRectScrollerProperties();
    Selectablerectscroller::Register();
    RegisterMemBitmapScrollerProperties();
    Membitmapscroller::Register();
}

void RollanFinalise() {
    UnRegisterClass(TMemBitmapScroller::StaticClassInfo());
    UnRegisterClass(TSelectableRectScroller::StaticClassInfo());
    UnRegisterClass(TRectScroller::StaticClassInfo());
    UnRegisterClass(TScrollControl::StaticClassInfo());
}

__attribute__((constructor)) void LoadRollanLibrary() { RollanInitialise(); }
__attribute__((destructor)) void UnloadRollanLibrary() { RollanFinalise(); }

}  // namespace
