// Fuzz target: the class library's form text reader.
#include <cstdint>

#include "Exceptions.h"
#include "FormText.h"
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        ParseFormText(fuzz::AsString(data, size));
    } catch (const EReadError&) {
        // Malformed text is reported this way, and only this way.
    }
    return 0;
}
