// Fuzz target: the text editor's settings record: a record is taken whole,
// with values the editor can use, or refused with the editor and the stream
// unchanged; a taken one writes a record that reads back to the same one.
#include <cstdint>
#include <cstdio>
#include <vector>

#include "FuzzSupport.h"
#include "TextEditor.h"

namespace {

typedef std::vector<uint8_t> TBytes;

TBytes SettingsBytes(TTextEditor& editor) {
    return fuzz::StreamBytes([&](FILE* file) { fuzz::Require(editor.SaveSettings(file), "the record writes"); });
}

bool LoadSettings(TTextEditor& editor, const uint8_t* data, size_t size, long* position) {
    FILE* file = fuzz::OpenStream(data, size);
    if (file == nullptr) return false;
    const bool loaded = editor.LoadSettings(file);
    *position = std::ftell(file);
    std::fclose(file);
    return loaded;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TTextEditor editor(nullptr);
    editor.boldWords.Add("while");
    editor.macros[1].NewItem()->key = 'Q';
    editor.schemes.NewItem()->extensions = "C;H";
    editor.schemeIndex = 1;
    const TBytes before = SettingsBytes(editor);
    long position = -1;
    if (!LoadSettings(editor, data, size, &position)) {
        fuzz::Require(position == 0, "a refused record goes back to its start");
        fuzz::Require(SettingsBytes(editor) == before, "a refused record leaves the editor");
        return 0;
    }
    fuzz::Require(editor.GetTabSize() >= 1 && editor.GetTabSize() <= 32, "the tab size is usable");
    fuzz::Require(editor.GetIndentSize() >= 0 && editor.GetIndentSize() <= 16, "the indentation is usable");
    fuzz::Require(editor.GetFontSize() >= 0, "the font size is usable");
    fuzz::Require(editor.schemes.GetCount() > 0 && editor.schemeIndex == 0, "scheme 0 is current");
    fuzz::Require(editor.boldWordLengths.GetCount() == editor.boldWords.GetCount(), "the word lengths follow");
    const TBytes record = SettingsBytes(editor);
    TTextEditor copy(nullptr);
    fuzz::Require(LoadSettings(copy, record.data(), record.size(), &position), "a record taken writes one that reads back");
    fuzz::Require(SettingsBytes(copy) == record, "the record read back is the same");
    return 0;
}
