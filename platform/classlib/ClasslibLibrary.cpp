// Start-up of the class library: registers the classes that form resources
// may name, once, when the library loads.
#include "Form.h"
#include "ListControls.h"
#include "Registration.h"
#include "StdCtrls.h"
#include "TimerComponent.h"

namespace {

void ClasslibInitialise() {
    RegisterClass<TForm>();
    RegisterClass<TTimer>();
    RegisterStandardControls();
    RegisterListControls();
}

__attribute__((constructor)) void LoadClasslibLibrary() { ClasslibInitialise(); }

}  // namespace
