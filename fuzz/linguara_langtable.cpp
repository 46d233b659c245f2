// Fuzz target: language table text, as lines and as a file, with lookups.
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "Langtable.h"
#include "StringContainer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TStringContainer split;
    fuzz::SplitLines(data, size, split);
    std::vector<std::string> lines;
    for (int i = 0; i < split.GetCount(); ++i) lines.emplace_back(split[i].c_str(), split[i].Length());
    TLangTable table;
    table.Init(lines);
    TLangTable fromFile(fuzz::WriteInputFile(data, size, "table.txt"));
    table.Add(fromFile);
    std::set<int> ids;
    table.GetTextIDs(ids);
    for (const int id : ids) {
        std::string text = table.GetAnyText(id, "");
        TLangTable::TransformBackslashes(text);
        table.GetText(1, id, "");
    }
    return 0;
}
