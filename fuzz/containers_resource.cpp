// Fuzz target: the memory resource container's storage form, with every entry unpacked.
#include <cstdint>

#include "FuzzSupport.h"
#include "MemBuffer.h"
#include "Resource.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TMemBuffer buffer;
    fuzz::FillBuffer(buffer, data, size);
    TMemResource archive;
    archive.ReadFromMemBuffer(buffer);
    for (int i = 0; i < archive.GetCount(); ++i) {
        TMemResourceEntry* entry = archive.GetEntry(i);
        if (entry == nullptr) continue;
        TMemBuffer unpacked;
        if (archive.GetBuffer(entry->Name, unpacked))
            fuzz::TouchBytes(unpacked.GetBlock(), static_cast<size_t>(unpacked.GetSize()));
    }
    return 0;
}
