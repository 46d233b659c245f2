// Fuzz target: the time-string reader and the time variables in a text.
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "TimeStrings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text = fuzz::AsString(data, size);
    const long t = GetStringTime(text);
    // A fixed moment, so that a run does not depend on the clock.
    ReplaceTimeVars(text, 1700000000L);
    if (t > 0) GetTimeString(t, true, true);
    return 0;
}
