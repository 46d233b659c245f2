// Fuzz target: the comment filter, over the input's lines.
#include <cstdint>

#include "CommentFilter.h"
#include "FuzzSupport.h"
#include "ParserSettings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TCommentFilter parser;
    fuzz::ApplyParserSettings(parser, data, size);
    TStringContainer lines;
    fuzz::SplitLines(data, size, lines);
    parser.Parse(lines);
    return 0;
}
