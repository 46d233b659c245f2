// Fuzz target: FnMatch and the name filters; the first line is the pattern, the rest the name.
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "NameMatching.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input = fuzz::AsString(data, size);
    const size_t newline = input.find('\n');
    const std::string pattern = input.substr(0, newline);
    const std::string name = newline == std::string::npos ? std::string() : input.substr(newline + 1);
    FnMatch(pattern.c_str(), name.c_str());
    FnMatch(pattern, name);
    FileNameMatch(pattern, name);
    FilterMatch(name, std::vector<std::string>{pattern, "*" + pattern}, true);
    return 0;
}
