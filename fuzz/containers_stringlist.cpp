// Fuzz target: string lists: the container storage form (memory buffers, FILE streams) and text files.
#include <cstdint>

#include "ContainerErrors.h"
#include "FuzzSupport.h"
#include "MemBuffer.h"
#include "StringContainer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const int reader = fuzz::PickReader(data, size, 3);
    if (reader < 0) return -1;
    TStringContainer lines;
    if (reader == 0) {
        TMemBuffer buffer;
        fuzz::FillBuffer(buffer, data, size);
        lines.ReadFromMemBuffer(buffer);
    } else if (reader == 1) {
        FILE* file = fuzz::OpenStream(data, size);
        lines.LoadFromStream(file);
        std::fclose(file);
    } else {
        lines.SetMaxLineLength(size > 0 && data[0] == '\0' ? 0 : 64);
        try {
            lines.ReadFromFile(fuzz::WriteInputFile(data, size, "lines.txt").c_str());
        } catch (const TSDPPFileException&) {
        }
    }
    for (int i = 0; i < lines.GetCount(); ++i)
        fuzz::TouchBytes(lines[i].c_str(), static_cast<size_t>(lines[i].Length()));
    return 0;
}
