// Fuzz target: stored variables and variable lists (memory buffers, FILE streams) and variables in a property store.
#include <cstdint>

#include "FuzzSupport.h"
#include "MemBuffer.h"
#include "Properties.h"
#include "StringContainer.h"
#include "Variables.h"
#include "VariablesProperties.h"

namespace {

// Reads one stored form into a variable or a list; true when it held one.
bool ReadStored(int reader, const uint8_t* data, size_t size, TVariable& variable, TVariableList& list) {
    TMemBuffer buffer;
    fuzz::FillBuffer(buffer, data, size);
    switch (reader) {
        case 0: return variable.ReadFromMemBuffer(buffer);
        case 1: return list.ReadFromMemBuffer(buffer);
        default: break;
    }
    FILE* file = fuzz::OpenStream(data, size);
    const bool read = reader == 2 ? variable.LoadFromStream(file) : list.LoadFromStream(file);
    std::fclose(file);
    return read;
}

// Largest array the target lets the property form state: that form stores
// an array of empty strings as its size alone, so a short text may rightly
// ask for 2^27 items, which is no fault but too much for a fuzz run.
constexpr int64_t kMaxStatedItems = 1 << 16;

bool StatesOnlySmallArrays(TProperties& props) {
    TStringContainer sections;
    props.GetSections(sections);
    for (int i = 0; i < sections.GetCount(); ++i) {
        props.SetSection(sections[i]);
        const int64_t count = props.GetInt64("count");
        const int64_t lines = props.GetInt64("lines");
        const int64_t cols = props.GetInt64("cols");
        if (count > kMaxStatedItems || lines > kMaxStatedItems || cols > kMaxStatedItems ||
            lines * cols > kMaxStatedItems)
            return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const int reader = fuzz::PickReader(data, size, 5);
    if (reader < 0) return -1;
    TVariable variable;
    TVariableList list;
    if (reader == 4) {
        TProperties props;
        props.SetText(TString(reinterpret_cast<const char*>(data), static_cast<int>(size)));
        if (!StatesOnlySmallArrays(props)) return -1;
        LoadVariables(props, list, "vars");
    } else if (ReadStored(reader, data, size, variable, list)) {
        // What was read shows as text, as a variable view would show it.
        GetVariableAsString(&variable, true);
    }
    for (int i = 0; i < list.GetCount(); ++i) GetVariableAsString(list[i], true);
    return 0;
}
