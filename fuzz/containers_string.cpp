// Fuzz target: the string's storage form from memory buffers, FILE streams and standard streams.
#include <cstdint>
#include <sstream>

#include "FuzzSupport.h"
#include "MemBuffer.h"
#include "String.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const int reader = fuzz::PickReader(data, size, 3);
    if (reader < 0) return -1;
    TString text;
    bool read = false;
    if (reader == 0) {
        TMemBuffer buffer;
        fuzz::FillBuffer(buffer, data, size);
        read = text.ReadFromMemBuffer(buffer);
    } else if (reader == 1) {
        FILE* file = fuzz::OpenStream(data, size);
        read = text.LoadFromStream(file);
        std::fclose(file);
    } else {
        std::istringstream stream(fuzz::AsString(data, size));
        read = text.ReadFromStdStream(stream);
    }
    fuzz::Require(read || text.Length() == 0, "a failed read leaves the text empty");
    fuzz::TouchBytes(text.c_str(), static_cast<size_t>(text.Length()) + 1);
    return 0;
}
