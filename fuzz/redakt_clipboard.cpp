// Fuzz target: clipboard text the editor pastes (a CF_TEXT block of any
// bytes, with or without its NUL), at a caret and tab size from the first
// byte; one undo takes the paste out again.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "Clipboard.h"
#include "FuzzSupport.h"
#include "GlobalMemory.h"
#include "TextEditor.h"

namespace {

std::vector<std::string> TextOf(const TStringContainer& lines) {
    std::vector<std::string> text;
    for (int i = 0; i < lines.GetCount(); ++i) text.push_back(lines[i].str());
    return text;
}

bool PutOnClipboard(const uint8_t* data, size_t size) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (block == nullptr) return false;
    if (size > 0) std::memcpy(GlobalLock(block), data, size);
    GlobalUnlock(block);
    if (!OpenClipboard(nullptr)) {
        GlobalFree(block);
        return false;
    }
    EmptyClipboard();
    SetClipboardData(CF_TEXT, block);
    CloseClipboard();
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return -1;
    const int setting = data[0];
    if (!PutOnClipboard(data + 1, size - 1)) return 0;
    TTextEditor editor(nullptr);
    for (const char* line : {"first line", "second", ""}) editor.lines.Add(line);
    editor.SetVMax(2);
    editor.SetHMax(editor.GetMaxLineLength());
    editor.SetTabSize(1 + setting % 8);
    editor.SetCursorPosY(setting / 8 % 3);
    editor.SetCursorPosX(setting / 24);
    const std::vector<std::string> before = TextOf(editor.lines);
    editor.Paste();
    for (int i = 0; i < editor.lines.GetCount(); ++i) {
        fuzz::Require(editor.lines[i].Pos('\t') < 0, "a pasted text keeps no tab");
        fuzz::Require(editor.lines[i].Pos('\r') < 0, "a pasted text keeps no carriage return");
        fuzz::Require(editor.lines[i].Length() <= editor.GetHMax(), "HMax reaches the end of every line");
    }
    fuzz::Require(editor.GetCurLine() >= 0 && editor.GetCurLine() < editor.lines.GetCount(),
                  "the caret stays on a line of the text");
    if (editor.undoItems.GetCount() == 0) return 0;  // an empty text pastes nothing
    editor.Undo();
    fuzz::Require(TextOf(editor.lines) == before, "one undo takes a paste out again");
    return 0;
}
