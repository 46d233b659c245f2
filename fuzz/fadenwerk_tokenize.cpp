// Fuzz target: the tokenizers, escape sequences and pattern variables; byte 0 picks separator and flags.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "Tokenizing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return -1;
    const uint8_t options = data[0];
    const std::string input = fuzz::AsString(data + 1, size - 1);
    const char separators[] = {',', ';', ' ', '|'};
    const char separator = separators[options & 3];
    std::vector<std::string> fields;
    Tokenize(input, fields, separator, (options & 4) != 0, (options & 8) != 0);
    fields.clear();
    QMTokenize(input, fields, separator, (options & 16) != 0, (options & 32) != 0 ? '\'' : '"');
    ResolveEscapeChars(input);
    // A pattern on the first line, matched against the second.
    const size_t newline = input.find('\n');
    std::vector<TStringVarsItem> items;
    if (GetStringVars(input.substr(0, newline), items) && newline != std::string::npos) {
        std::map<std::string, std::string> vars;
        ExtractStringVars(input.substr(newline + 1), items, vars, (options & 64) != 0);
    }
    return 0;
}
