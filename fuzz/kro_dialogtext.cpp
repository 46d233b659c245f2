// Fuzz target: the "KRO dialog" text format, built into windows on the headless display.
#include <cstdint>

#include "ComponentInfos.h"
#include "DialogText.h"
#include "Forms.h"
#include "FuzzSupport.h"

namespace {

// Destroys every window the text built, as a host would; that empties the registry.
void DestroyDialogs() {
    TComponentInfos& registry = *ComponentInfos();
    for (int i = 0; i < registry.GetCount();) {
        if (TForm* form = dynamic_cast<TForm*>(registry[i]->component)) {
            delete form;
            i = 0;
        } else {
            ++i;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TStringContainer lines;
    fuzz::SplitLines(data, size, lines);
    BuildDialog(lines);
    DestroyDialogs();
    fuzz::Require(ComponentInfos()->GetCount() == 0, "destroying the windows empties the registry");
    return 0;
}
