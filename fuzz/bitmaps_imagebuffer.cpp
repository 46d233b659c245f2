// Fuzz target: the owning pixel buffer's readers: its memory-buffer record and its BMP files.
#include <cstdint>

#include "FuzzSupport.h"
#include "ImageBuffer.h"
#include "MemBuffer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const int reader = fuzz::PickReader(data, size, 2);
    if (reader < 0) return -1;
    TImageBuffer image;
    bool read = false;
    if (reader == 0) {
        TMemBuffer buffer;
        fuzz::FillBuffer(buffer, data, size);
        read = image.ReadFromMemBuffer(buffer);
    } else {
        read = image.Load(fuzz::WriteInputFile(data, size, "input.bmp").c_str());
    }
    if (read) fuzz::TouchBytes(image.Data, static_cast<size_t>(image.GetCapacity()));
    return 0;
}
