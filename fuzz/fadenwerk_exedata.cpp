// Fuzz target: data appended to an executable: the entry table and every entry's data.
#include <cstdint>
#include <string>
#include <vector>

#include "ExeData.h"
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TReadFromExeContext context;
    if (!ReadFromExeInit(fuzz::WriteInputFile(data, size, "program.exe"), context)) return 0;
    for (const auto& entry : context.entries) {
        char* bytes = nullptr;
        long length = 0;
        if (ReadFromExe(context, entry.first, bytes, length)) {
            fuzz::TouchBytes(bytes, static_cast<size_t>(length));
            delete[] bytes;
        }
        std::vector<std::string> lines;
        ReadFromExe(context, entry.first, lines);
    }
    return 0;
}
