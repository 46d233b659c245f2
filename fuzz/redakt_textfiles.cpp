// Fuzz target: text files the editor reads: loaded as a text or an HTM file
// (with a line limit from the first byte), or inserted at the caret as a
// block, which one undo takes out again.
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "TextEditor.h"

namespace {

std::vector<std::string> TextOf(const TStringContainer& lines) {
    std::vector<std::string> text;
    for (int i = 0; i < lines.GetCount(); ++i) text.push_back(lines[i].str());
    return text;
}

void CheckLoaded(TTextEditor& editor) {
    for (int i = 0; i < editor.lines.GetCount(); ++i) {
        fuzz::Require(editor.lines[i].Pos('\t') < 0, "a loaded text keeps no tab");
        fuzz::Require(editor.lines[i].Length() <= editor.GetHMax(), "HMax reaches the end of every line");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const int reader = fuzz::PickReader(data, size, 3);
    if (reader < 0 || size == 0) return -1;
    const int maxLines = data[0] % 8;
    ++data;
    --size;
    TTextEditor editor(nullptr);
    if (reader < 2) {
        editor.Load(TString(fuzz::WriteInputFile(data, size, reader == 0 ? "text.txt" : "page.htm")), maxLines);
        CheckLoaded(editor);
        return 0;
    }
    for (const char* line : {"first line", "second", ""}) editor.lines.Add(line);
    editor.SetHMax(editor.GetMaxLineLength());
    editor.SetTabSize(1 + maxLines);
    editor.SetCursorPosY(maxLines % 3);
    editor.SetCursorPosX(maxLines);
    const std::vector<std::string> before = TextOf(editor.lines);
    editor.InsertBlockFile(TString(fuzz::WriteInputFile(data, size, "block.txt")));
    if (editor.undoItems.GetCount() == 0) return 0;  // an empty file inserts nothing
    CheckLoaded(editor);
    editor.Undo();
    fuzz::Require(TextOf(editor.lines) == before, "one undo takes a block out again");
    return 0;
}
