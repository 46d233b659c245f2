// Registration of the standard controls for form resources.
#include "StdCtrls.h"

#include "Registration.h"

void RegisterStandardControls() {
    static const bool registered = [] {
        RegisterLabelProperties();
        RegisterEditProperties();
        RegisterButtonProperties();
        RegisterGroupControlProperties();
        RegisterScrollBarProperties();
        RegisterClass<TLabel>();
        RegisterClass<TEdit>();
        RegisterClass<TMemo>();
        RegisterClass<TButton>();
        RegisterClass<TCheckBox>();
        RegisterClass<TRadioButton>();
        RegisterClass<TRadioGroup>();
        RegisterClass<TGroupBox>();
        RegisterClass<TPanel>();
        RegisterClass<TBevel>();
        RegisterClass<TScrollBar>();
        return true;
    }();
    (void)registered;
}
