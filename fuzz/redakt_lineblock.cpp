// Fuzz target: the argument of a line-block command (copy, paste, select,
// repeat, section, exchange, numbers, insert, append, add, delete, modify),
// as a command line or a macro file brings it, run on a small text with two
// tables, sections and a block. The first byte picks the command, the next
// two the caret, the block and the margin. Expressions call no function (a
// text with '(' is refused) and numbers have at most four digits, so a run
// stays small. Afterwards the caret, the ranges and the sections lie inside
// the text, and a command that made one undo record gives the text back.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "EvaluationGuard.h"
#include "FuzzSupport.h"
#include "TextEditor.h"

namespace {

// ORDER none: the commands of the target, by the first byte.
const char* const kCommands[] = {"copy",   "paste",   "select", "repeat", "section", "exchange",
                                 "numbers", "insert", "append", "add",    "delete",  "modify"};

const char* const kText[] = {
    "alpha",
    "+-----+-----+",
    "| ab  | cd  |",
    "+-----+-----+",
    "| ef  | gh  |",
    "+-----+-----+",
    "",
    "beta beta",
    "beta beta",
    "  gamma  ",
    "  +---+",
    "  | x |",
    "  +---+",
    "",
};

std::vector<std::string> TextOf(const TStringContainer& lines) {
    std::vector<std::string> text;
    for (int i = 0; i < lines.GetCount(); ++i) text.push_back(lines[i].str());
    return text;
}

// Short, no function called, nothing named that reaches outside, no number
// of more than four digits.
bool Accepted(const std::string& argument) {
    if (argument.size() > 200 || argument.find('(') != std::string::npos || fuzz::NamesOutsideBuiltin(argument))
        return false;
    int digits = 0;
    for (char c : argument) {
        digits = c >= '0' && c <= '9' ? digits + 1 : 0;
        if (digits > 4) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return -1;
    const std::string argument = fuzz::AsString(data + 3, size - 3);
    if (!Accepted(argument)) return -1;
    TTextEditor editor(nullptr);
    for (const char* line : kText) editor.lines.Add(line);
    const int count = editor.lines.GetCount();
    editor.SetVMax(count - 1);
    editor.SetHMax(editor.GetMaxLineLength());
    editor.SetCursorPosX(data[1] % 16);
    editor.SetCursorPosY(data[1] / 16 % count);
    if (data[2] & 1) {
        editor.selection.selStartLine = data[2] / 2 % count;
        editor.selection.selEndLine = std::min(count, editor.selection.selStartLine + 1 + data[2] / 32);
    }
    editor.SetMarginPos(data[2] / 8);
    editor.sections.Add(TIntPair{7, 8});
    editor.sections.Add(TIntPair{-1, -1});
    editor.sections.Add(TIntPair{10, 12});
    const std::vector<std::string> before = TextOf(editor.lines);

    TString line = TString(kCommands[data[0] % 12]) + TString(" ") + TString(argument);
    editor.ExecCommand(line);

    const int lineCount = editor.lines.GetCount();
    fuzz::Require(editor.GetVMax() == std::max(lineCount - 1, 0), "VMax follows the line count");
    for (int i = 0; i < lineCount; ++i)
        fuzz::Require(editor.lines[i].Length() <= editor.GetHMax(), "HMax reaches the end of every line");
    fuzz::Require(editor.GetCurLine() >= 0 && (lineCount == 0 || editor.GetCurLine() < lineCount),
                  "the caret stays on a line of the text");
    for (int i = 0; i < editor.sections.GetCount(); ++i) {
        const TIntPair& section = editor.sections[i];
        fuzz::Require((section.first == -1 && section.second == -1) ||
                          (section.first >= 0 && section.first <= section.second && section.second < lineCount),
                      "a section is empty or names lines of the text");
    }
    if (editor.undoItems.GetCount() != 1) return 0;
    editor.Undo();
    fuzz::Require(TextOf(editor.lines) == before, "one undo gives the text back");
    return 0;
}
