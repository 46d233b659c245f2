// Fuzz target: the HTML case parser, which rewrites the input's lines in place.
#include <cstdint>

#include "FuzzSupport.h"
#include "HtmlCaseParser.h"
#include "ParserSettings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    THtmlCaseParser parser;
    if (size > 0) parser.SetUpperCase((data[0] & 1) != 0);
    fuzz::ApplyParserSettings(parser, data, size);
    TStringContainer lines;
    fuzz::SplitLines(data, size, lines);
    const int count = lines.GetCount();
    parser.Parse(lines);
    fuzz::Require(lines.GetCount() == count, "recasing keeps the lines");
    return 0;
}
