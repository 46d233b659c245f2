// TTextEditor: expanding tabs into blanks and turning the Hungarian accented
// letters into HTML entities and back, over the whole line store.
#include <algorithm>
#include <array>
#include <string>

#include "TextEditor.h"
#include "TextEditorTexts.h"

namespace {

// ORDER: row i of the conversion table; rows 9 to 17 are the capitals of rows 0 to 8.
const char kLetters[] = "\xE1\xE9\xED\xF3\xF6\xF5\xFA\xFC\xFB\xC1\xC9\xCD\xD3\xD6\xD5\xDA\xDC\xDB";
const char* const kNames[9] = {"aacute", "eacute", "iacute", "oacute", "ouml", "otilde", "uacute", "uuml", "ucirc"};
constexpr int kRows = 18;

// The entity name of row i, capitalised for the capital letters.
std::string NameOf(int row) {
    std::string name = kNames[row % 9];
    if (row > 8) name[0] = static_cast<char>(name[0] - 'a' + 'A');
    return name;
}

// The row of each byte, or -1.
const std::array<int, 256>& RowOfByte() {
    static const std::array<int, 256> rows = [] {
        std::array<int, 256> table;
        table.fill(-1);
        for (int i = 0; i < kRows; ++i) table[static_cast<unsigned char>(kLetters[i])] = i;
        return table;
    }();
    return rows;
}

}  // namespace

void TTextEditor::ExpandTabs(TString& text, int startColumn) const { text.ExpandTabs(TabSize, startColumn); }

void TTextEditor::TabsToSpaces() {
    for (int i = 0; i < lines.GetCount(); ++i) ExpandTabs(lines[i], 0);
}

// Ampersands and angle brackets already in the text stay as they are.
void TTextEditor::TextToHTML() {
    const std::array<int, 256>& rows = RowOfByte();
    std::string converted;
    for (int i = 0; i < lines.GetCount(); ++i) {
        TString& line = lines[i];
        converted.clear();
        bool changed = false;
        for (char c : line.str()) {
            const int row = rows[static_cast<unsigned char>(c)];
            if (row < 0) {
                converted += c;
                continue;
            }
            converted += '&' + NameOf(row) + ';';
            changed = true;
        }
        if (changed) line = converted;
    }
}

// Entities the user typed turn into letters as well; other entities and
// other letter cases stay.
void TTextEditor::HTMLToText() {
    TString entities[kRows];
    for (int row = 0; row < kRows; ++row) entities[row] = GetHTMLTittleChar(row);
    // A line without the entities' first character holds none of them.
    const char lead = entities[0][0];
    for (int i = 0; i < lines.GetCount(); ++i) {
        TString& line = lines[i];
        if (lead != '\0' && line.str().find(lead) == std::string::npos) continue;
        // The line keeps the storage its entities took: the next load of the
        // file fills it again rather than moving the line elsewhere.
        const bool reduce = line.GetReduceCapacity();
        line.SetReduceCapacity(false);
        for (int row = 0; row < kRows; ++row) line.SubstituteAll(entities[row], TString(kLetters[row]));
        line.SetReduceCapacity(reduce);
    }
}

TString TTextEditor::GetHTMLTittleChar(int i) {
    if (i < 0 || i >= kRows) return TString();
    return TString(TextEditorText(100244, "&") + NameOf(i) + TextEditorText(100245, ";"));
}
