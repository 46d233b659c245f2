// Fuzz target: the character-driven symbol parser, over the input's lines.
#include <cstdint>

#include "FuzzSupport.h"
#include "ParserSettings.h"
#include "SymbolParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TSymbolParser parser;
    fuzz::ApplyParserSettings(parser, data, size);
    TStringContainer lines;
    fuzz::SplitLines(data, size, lines);
    parser.Parse(lines);
    return 0;
}
