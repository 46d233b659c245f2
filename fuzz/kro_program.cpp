// Fuzz target: saved script programs, from memory buffers and FILE streams.
#include <cstdint>

#include "FuzzSupport.h"
#include "MemBuffer.h"
#include "Program.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const int reader = fuzz::PickReader(data, size, 2);
    if (reader < 0) return -1;
    TProgram program;
    if (reader == 0) {
        TMemBuffer buffer;
        fuzz::FillBuffer(buffer, data, size);
        program.ReadFromMemBuffer(buffer);
    } else {
        FILE* file = fuzz::OpenStream(data, size);
        program.LoadFromStream(file);
        std::fclose(file);
    }
    // A loaded program is never run here: its tokens may call any built-in.
    return 0;
}
