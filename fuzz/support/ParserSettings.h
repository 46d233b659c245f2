// The settings a parser fuzz target takes from its first input byte.
#pragma once

#include <cstddef>
#include <cstdint>

#include "SymbolParser.h"

namespace fuzz {

// Bit 0 quotes, bits 1-2 quote mode, bits 3-4 history size 0..3 (lookahead
// one less, at least 0), bits 5-7 block mask (angles with bit 7). An empty
// input keeps the parser's own settings.
inline void ApplyParserSettings(TSymbolParser& parser, const uint8_t*& data, size_t& size) {
    if (size == 0) return;
    const uint8_t bits = data[0];
    ++data;
    --size;
    parser.SetQuotes((bits & 1) != 0);
    parser.SetQuoteMode((bits >> 1) & 3);
    const int history = (bits >> 3) & 3;
    parser.SetHistorySize(history);
    parser.SetLookahead(history > 0 ? history - 1 : 0);
    parser.SetBlockMask((bits >> 5) | ((bits & 0x80) != 0 ? TSymbolParser::btAngle : 0));
}

}  // namespace fuzz
