// Fuzz target: BMP files, from memory and from a file, through the memory bitmap.
#include <cstdint>

#include "FuzzSupport.h"
#include "MemBitmap.h"

namespace {

// What a caller does with a loaded picture: reads its corner pixels.
void Touch(TMemBitmap& bitmap) {
    if (!bitmap.Valid) return;
    bitmap.GetPixel(0, 0);
    bitmap.GetPixel(bitmap.Width - 1, bitmap.Height - 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TMemBitmap fromMemory;
    fromMemory.LoadFromBMPMemory(data, static_cast<int>(size));
    Touch(fromMemory);
    TMemBitmap fromFile;
    fromFile.LoadFromFile(fuzz::WriteInputFile(data, size, "input.bmp").c_str());
    Touch(fromFile);
    fuzz::Require(fromMemory.Valid == fromFile.Valid, "a BMP file loads as its bytes in memory do");
    return 0;
}
