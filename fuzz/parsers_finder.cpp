// Fuzz target: the tagged finder; the first line holds the search words, the rest is the tagged text.
#include <cstdint>

#include "FuzzSupport.h"
#include "ParserSettings.h"
#include "TaggedFinder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return -1;
    const uint8_t options = data[0];
    ++data;
    --size;
    TStringContainer text;
    fuzz::SplitLines(data, size, text);
    TStringContainer words;
    if (text.GetCount() > 0) {
        text[0].GetTokens(' ', words);
        text.DeleteFirst();
    }
    TTaggedFinder finder;
    bool found = false;
    finder.Parse(text, words, found, (options & 1) != 0, (options & 2) != 0, (options & 4) != 0);
    return 0;
}
