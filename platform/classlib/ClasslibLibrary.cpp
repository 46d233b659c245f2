// Start-up of the class library: registers the classes that form resources
// may name, once, when the library loads.
#include "Form.h"
#include "Registration.h"
#include "TimerComponent.h"

namespace {

void ClasslibInitialise() {
    RegisterClass<TForm>();
    RegisterClass<TTimer>();
}

__attribute__((constructor)) void LoadClasslibLibrary() { ClasslibInitialise(); }

}  // namespace
