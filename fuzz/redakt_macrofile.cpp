// Fuzz target: the text editor's macro file: a file is taken whole or
// refused with the macros and the stream unchanged; a taken one writes a
// file that reads back to the same one.
#include <cstdint>
#include <cstdio>
#include <vector>

#include "FuzzSupport.h"
#include "TextEditor.h"

namespace {

typedef std::vector<uint8_t> TBytes;

TBytes MacroBytes(TTextEditor& editor) {
    return fuzz::StreamBytes([&](FILE* file) { fuzz::Require(editor.SaveMacros(file), "the file writes"); });
}

bool LoadMacros(TTextEditor& editor, const uint8_t* data, size_t size, long* position) {
    FILE* file = fuzz::OpenStream(data, size);
    if (file == nullptr) return false;
    const bool loaded = editor.LoadMacros(file);
    *position = std::ftell(file);
    std::fclose(file);
    return loaded;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TTextEditor editor(nullptr);
    editor.macros[7].NewItem()->key = 'Z';
    editor.paramMacros.NewItem()->name = "kept";
    const TBytes before = MacroBytes(editor);
    long position = -1;
    if (!LoadMacros(editor, data, size, &position)) {
        fuzz::Require(position == 0, "a refused file goes back to its start");
        fuzz::Require(MacroBytes(editor) == before, "a refused file leaves the macros");
        return 0;
    }
    for (const TTextEditorMacro& macro : editor.macros)
        for (int i = 0; i < macro.GetCount(); ++i)
            fuzz::Require(macro[i].param >= 0 && macro[i].param <= 9, "parameter places are 0 to 9");
    const TBytes file = MacroBytes(editor);
    TTextEditor copy(nullptr);
    fuzz::Require(LoadMacros(copy, file.data(), file.size(), &position), "a file taken writes one that reads back");
    fuzz::Require(MacroBytes(copy) == file, "the file read back is the same");
    return 0;
}
