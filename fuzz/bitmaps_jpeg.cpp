// Fuzz target: JPEG files through the memory bitmap's loaders (memory and file).
#include <cstdint>

#include "FuzzSupport.h"
#include "MemBitmap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TMemBitmap fromMemory;
    fromMemory.LoadFromJPEGMemory(data, static_cast<int>(size));
    if (fromMemory.Valid) fromMemory.GetPixel(fromMemory.Width - 1, fromMemory.Height - 1);
    TMemBitmap fromFile;
    fromFile.LoadFromFile(fuzz::WriteInputFile(data, size, "input.jpg").c_str());
    fuzz::Require(fromMemory.Valid == fromFile.Valid, "a JPEG file loads as its bytes in memory do");
    return 0;
}
