// Start-up and shut-down of the Tomari units: registers the topic viewer's
// classes and property tables when the library loads and takes them out of
// the registry when it unloads.
#include "VGMPanel.h"
#include "VGTPanel.h"
#include "VGTScroller.h"

namespace {

// ORDER: the units in link order, the scrollers before what is built on them.
void TomariInitialise() {
    RegisterVGTScrollerClasses();
    RegisterVGTPanelClasses();
    RegisterVGMPanelClasses();
    Vgtpanel::Register();
    Vgmpanel::Register();
}

void TomariFinalise() {
    UnregisterVGMPanelClasses();
    UnregisterVGTPanelClasses();
    UnregisterVGTScrollerClasses();
}

__attribute__((constructor)) void LoadTomariLibrary() { TomariInitialise(); }
__attribute__((destructor)) void UnloadTomariLibrary() { TomariFinalise(); }

}  // namespace
