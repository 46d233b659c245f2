// Fuzz target: the text editor's state stream: a stream is taken whole or
// refused with the editor unchanged, and a taken one writes a stream that
// reads back to the same state.
#include <cstdint>
#include <cstdio>
#include <vector>

#include "FuzzSupport.h"
#include "TextEditor.h"

namespace {

typedef std::vector<uint8_t> TBytes;

TBytes StateBytes(TTextEditor& editor) {
    return fuzz::StreamBytes([&](FILE* file) { fuzz::Require(editor.SaveToStream(file, true), "the state writes"); });
}

bool LoadState(TTextEditor& editor, const uint8_t* data, size_t size, long* position) {
    FILE* file = fuzz::OpenStream(data, size);
    if (file == nullptr) return false;
    const bool loaded = editor.LoadFromStream(file);
    *position = std::ftell(file);
    std::fclose(file);
    return loaded;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TTextEditor editor(nullptr);
    editor.lines.Add("a line of its own");
    editor.lines.Add("and another");
    const TBytes before = StateBytes(editor);
    long position = -1;
    if (!LoadState(editor, data, size, &position)) {
        fuzz::Require(position == 0, "a refused stream goes back to its start");
        fuzz::Require(StateBytes(editor) == before, "a refused stream leaves the editor");
        return 0;
    }
    fuzz::Require(editor.GetTabSize() >= 1 && editor.GetFontSize() >= 1, "the sizes read are usable");
    const int lines = editor.lines.GetCount();
    fuzz::Require(editor.GetCurLine() >= 0 && editor.GetCurLine() < (lines > 0 ? lines : 1),
                  "the caret is inside the text");
    fuzz::Require(editor.selection.selStartLine <= editor.selection.selEndLine && editor.selection.selEndLine <= lines,
                  "the line block is inside the text");
    const TBytes state = StateBytes(editor);
    TTextEditor copy(nullptr);
    fuzz::Require(LoadState(copy, state.data(), state.size(), &position), "a state taken writes one that reads back");
    fuzz::Require(StateBytes(copy) == state, "the state read back is the same");
    return 0;
}
