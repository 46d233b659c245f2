// Fuzz target: the memory bitmap's records: FILE and standard streams, memory buffers, BMP and JPEG forms.
#include <cstdint>
#include <sstream>

#include "FuzzSupport.h"
#include "MemBitmap.h"
#include "MemBuffer.h"

namespace {

bool ReadRecord(TMemBitmap& bitmap, int reader, const uint8_t* data, size_t size) {
    if (reader <= 1) {
        FILE* file = fuzz::OpenStream(data, size);
        const bool read = reader == 0 ? bitmap.LoadFromStream(file) : bitmap.LoadFromJpegStream(file);
        std::fclose(file);
        return read;
    }
    if (reader <= 3) {
        std::istringstream stream(fuzz::AsString(data, size));
        return reader == 2 ? bitmap.ReadFromStdStreamBin(stream) : bitmap.LoadFromJpegStream(stream);
    }
    TMemBuffer buffer;
    fuzz::FillBuffer(buffer, data, size);
    return reader == 4 ? bitmap.ReadFromMemBuffer(buffer) : bitmap.ReadFromMemBufferAsJpeg(buffer);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const int reader = fuzz::PickReader(data, size, 6);
    if (reader < 0) return -1;
    TMemBitmap bitmap;
    if (!ReadRecord(bitmap, reader, data, size) || !bitmap.Valid) return 0;
    // What was read is a picture: its own record must read back.
    TMemBuffer again;
    bitmap.WriteToMemBuffer(again);
    TMemBitmap copy;
    fuzz::Require(copy.ReadFromMemBuffer(again) && copy.Width == bitmap.Width && copy.Height == bitmap.Height,
                  "a bitmap read from a record writes a record that reads back");
    return 0;
}
