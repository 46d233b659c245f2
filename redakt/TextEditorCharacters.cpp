// The character sets of the editor unit and the editor's character classes.
#include "TextEditorCharacters.h"

#include <array>

#include "TextEditor.h"

namespace {

// A byte-indexed membership table of a character set.
using TCharacterTable = std::array<bool, 256>;

TCharacterTable TableOf(const TString& characters) {
    TCharacterTable table{};
    for (int i = 0; i < characters.Length(); ++i) table[static_cast<unsigned char>(characters[i])] = true;
    return table;
}

// The accented letters of the Hungarian alphabet, capitals then small ones.
const char kAccentedLetters[] = "\xC1\xC9\xCD\xD3\xD5\xD6\xDA\xDB\xDC\xE1\xE9\xED\xF3\xF5\xF6\xFA\xFB\xFC";

const TCharacterTable& LetterTable() {
    static const TCharacterTable table = [] {
        TCharacterTable letters = TableOf(TString(kAccentedLetters));
        for (int c = 'a'; c <= 'z'; ++c) letters[c] = letters[c - 'a' + 'A'] = true;
        return letters;
    }();
    return table;
}

}  // namespace

const TString& WordSeparators() {
    static const TString separators(" (),.;[]{}<>#&@\xA7'+!%/=$-*:?\"\\");
    return separators;
}

bool IsWordSeparator(char c) {
    static const TCharacterTable table = TableOf(WordSeparators());
    return table[static_cast<unsigned char>(c)];
}

const TString& SymbolCharacters() {
    static const TString symbols("+!%/=()[]<>#&@{},.-?:*");
    return symbols;
}

const TString& MacroFileHeader() {
    static const char text[] = "TTextEditor macros";
    static const TString header(text, static_cast<int>(sizeof text));
    return header;
}

bool TTextEditor::IsCharacter(char c) { return LetterTable()[static_cast<unsigned char>(c)]; }

bool TTextEditor::IsDigit(char c) { return c >= '0' && c <= '9'; }

bool TTextEditor::IsSymbol(char c) {
    static const TCharacterTable table = TableOf(SymbolCharacters());
    return table[static_cast<unsigned char>(c)];
}
