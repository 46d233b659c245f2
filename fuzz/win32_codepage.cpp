// Fuzz target: UTF-8 text from the desktop (the clipboard, typed text) into
// the suite's code page, and code-page text back to UTF-8.
#include <cstdint>
#include <string>

#include "CodePage.h"
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input = fuzz::AsString(data, size);
    const std::string text = win32::Utf8ToCodePage(input);
    fuzz::Require(text.size() <= input.size(), "each code-page byte comes from at least one byte of UTF-8");
    fuzz::Require(win32::Utf8ToCodePage(win32::CodePageToUtf8(input)) == input,
                  "every code-page byte survives a round trip through UTF-8");
    return 0;
}
