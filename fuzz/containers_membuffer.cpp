// Fuzz target: memory buffers: the item form (memory and FILE streams, packed with zlib or not) and the packed block.
#include <cstdint>

#include "FuzzSupport.h"
#include "MemBuffer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const int reader = fuzz::PickReader(data, size, 3);
    if (reader < 0) return -1;
    TMemBuffer read;
    bool ok = false;
    if (reader == 0) {
        TMemBuffer source;
        fuzz::FillBuffer(source, data, size);
        ok = read.ReadFromMemBuffer(source);
    } else if (reader == 1) {
        FILE* file = fuzz::OpenStream(data, size);
        ok = read.LoadFromStream(file);
        std::fclose(file);
    } else {
        ok = read.ReadFromPackedBlock(data, static_cast<int>(size));
    }
    if (ok) fuzz::TouchBytes(read.GetBlock(), static_cast<size_t>(read.GetSize()));
    return 0;
}
