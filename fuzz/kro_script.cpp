// Fuzz target: the script compiler, then the compiled program saved and loaded again.
#include <cstdint>
#include <cstring>
#include <string>

#include "Compiler.h"
#include "EvaluationGuard.h"
#include "ExtensionHooks.h"
#include "FuzzSupport.h"
#include "MemBuffer.h"
#include "Program.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text = fuzz::AsString(data, size);
    // Past the guard, resource and unit files are looked up in an empty folder.
    if (!fuzz::AcceptsEvaluatedText(text)) return -1;
    TStringContainer source;
    fuzz::SplitLines(data, size, source);
    TStringContainer directories;
    TUnitSubsList units;
    TProgram program;
    const int variables = Variables.GetCount();
    const int functions = ExtFunctions().GetCount();
    const bool compiled = KRO_Compile(source, program, directories, units);
    fuzz::Require(Variables.GetCount() == variables && ExtFunctions().GetCount() == functions,
                  "compiling leaves Variables and ExtFunctions as they were");
    if (compiled) {
        TMemBuffer saved;
        program.WriteToMemBuffer(saved);
        saved.SeekRead(0);
        TProgram loaded;
        fuzz::Require(loaded.ReadFromMemBuffer(saved), "a compiled program loads from what it saved");
        TMemBuffer again;
        loaded.WriteToMemBuffer(again);
        fuzz::Require(again.GetSize() == saved.GetSize() &&
                          std::memcmp(again.GetBlock(), saved.GetBlock(), static_cast<size_t>(saved.GetSize())) == 0,
                      "a loaded program saves the bytes it was loaded from");
    }
    return 0;
}
