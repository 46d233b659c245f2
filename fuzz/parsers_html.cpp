// Fuzz target: the HTML case parser, which rewrites the input's lines in place.
// Its run through direct calls must leave what the same parser leaves when
// every operation goes through the virtual table (a derived class).
#include <cstdint>

#include "FuzzSupport.h"
#include "HtmlCaseParser.h"
#include "ParserSettings.h"

namespace {

class TDerivedHtmlCaseParser : public THtmlCaseParser {};

void RequireSameState(const THtmlCaseParser& direct, const THtmlCaseParser& derived) {
    const TStringContainer& history = direct.GetSymbolHistory();
    const TStringContainer& derivedHistory = derived.GetSymbolHistory();
    fuzz::Require(history.GetCount() == derivedHistory.GetCount(), "the same history length");
    for (int i = 0; i < history.GetCount(); ++i)
        fuzz::Require(history[i].str() == derivedHistory[i].str(), "the same history");
    fuzz::Require(direct.GetNewSymbol().str() == derived.GetNewSymbol().str(), "the same new symbol");
    fuzz::Require(direct.GetInQuote() == derived.GetInQuote(), "the same quote state");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    THtmlCaseParser parser;
    TDerivedHtmlCaseParser derived;
    const bool upper = size > 0 && (data[0] & 1) != 0;
    if (size > 0) {
        parser.SetUpperCase(upper);
        derived.SetUpperCase(upper);
    }
    const uint8_t* settings = data;
    size_t settingsSize = size;
    fuzz::ApplyParserSettings(parser, data, size);
    fuzz::ApplyParserSettings(derived, settings, settingsSize);
    TStringContainer lines;
    fuzz::SplitLines(data, size, lines);
    TStringContainer derivedLines(lines);
    const int count = lines.GetCount();
    const bool ok = parser.Parse(lines);
    fuzz::Require(lines.GetCount() == count, "recasing keeps the lines");
    fuzz::Require(derived.Parse(derivedLines) == ok, "the same result");
    for (int i = 0; i < count; ++i) fuzz::Require(lines[i].str() == derivedLines[i].str(), "the same lines");
    RequireSameState(parser, derived);
    return 0;
}
