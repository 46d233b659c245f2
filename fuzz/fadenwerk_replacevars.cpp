// Fuzz target: ReplaceVars and ReplacePlatformVars; the input's first line holds name=value pairs, the rest is the
// text.
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "VariableReplacement.h"

namespace {

// "a=1;b=;c=x" into a map; a pair without '=' names an empty value.
TStringMap ParsePairs(const std::string& line) {
    TStringMap vars;
    size_t start = 0;
    while (start <= line.size()) {
        size_t end = line.find(';', start);
        if (end == std::string::npos) end = line.size();
        const std::string pair = line.substr(start, end - start);
        const size_t equals = pair.find('=');
        vars[pair.substr(0, equals)] = equals == std::string::npos ? "" : pair.substr(equals + 1);
        start = end + 1;
    }
    return vars;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input = fuzz::AsString(data, size);
    const size_t newline = input.find('\n');
    const TStringMap vars = ParsePairs(input.substr(0, newline));
    const std::string text = newline == std::string::npos ? std::string() : input.substr(newline + 1);
    const std::string replaced = ReplaceVars(text, vars);
    fuzz::Require(replaced.size() <= text.size() + ReplaceVarsMaximumExpansion,
                  "the references together produce at most the maximum expansion");
    ReplacePlatformVars(text, vars);
    return 0;
}
