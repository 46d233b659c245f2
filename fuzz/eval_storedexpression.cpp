// Fuzz target: stored compiled expressions, from memory buffers and FILE streams.
#include <cstdint>

#include "ExpressionStorage.h"
#include "FuzzSupport.h"
#include "MemBuffer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const int reader = fuzz::PickReader(data, size, 2);
    if (reader < 0) return -1;
    EXPRESSION e;
    bool read = false;
    if (reader == 0) {
        TMemBuffer buffer;
        fuzz::FillBuffer(buffer, data, size);
        read = ReadExpression(e, buffer);
    } else {
        FILE* file = fuzz::OpenStream(data, size);
        read = LoadExpression(e, file);
        std::fclose(file);
    }
    if (read && e.count >= 0) {
        // A sound expression writes a stream that reads back.
        TMemBuffer again;
        WriteExpression(again, e);
        EXPRESSION copy;
        fuzz::Require(ReadExpression(copy, again) && copy.count == e.count,
                      "a stored expression that was read writes one that reads back");
        FreeExpression(copy);
    }
    FreeExpression(e);
    return 0;
}
