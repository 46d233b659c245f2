// Fuzz target: property stores: the text form (files and texts) and the memory-buffer form.
#include <cstdint>

#include "FuzzSupport.h"
#include "MemBuffer.h"
#include "Properties.h"
#include "StringContainer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const int reader = fuzz::PickReader(data, size, 2);
    if (reader < 0) return -1;
    TProperties props;
    if (reader == 0) {
        props.ReadFromFile(fuzz::WriteInputFile(data, size, "props.ini").c_str());
    } else {
        TMemBuffer buffer;
        fuzz::FillBuffer(buffer, data, size);
        props.ReadFromMemBuffer(buffer);
    }
    // Every value of every section, read as each type a caller asks for.
    TStringContainer sections;
    props.GetSections(sections);
    for (int i = 0; i < sections.GetCount(); ++i) {
        props.SetSection(sections[i]);
        TStringContainer keys;
        props.GetSectionKeys(keys);
        for (int k = 0; k < keys.GetCount(); ++k) {
            props.GetString(keys[k]);
            props.GetInt64(keys[k]);
            props.GetDouble(keys[k]);
            props.GetBool(keys[k]);
        }
    }
    props.GetText();
    return 0;
}
