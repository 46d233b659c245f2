// Start-up of the class library: registers the classes that form resources
// may name and routes dialog keys in the window layer's loops, once, when the
// library loads.
#include "Form.h"
#include "ListControls.h"
#include "Registration.h"
#include "Responder.h"
#include "StdCtrls.h"
#include "TimerComponent.h"

namespace {

void ClasslibInitialise() {
    RegisterClass<TForm>();
    RegisterClass<TTimer>();
    RegisterStandardControls();
    RegisterListControls();
    win32::SetMessageFilter(&TForm::IsDialogKeyMessage);
}

__attribute__((constructor)) void LoadClasslibLibrary() { ClasslibInitialise(); }

}  // namespace
