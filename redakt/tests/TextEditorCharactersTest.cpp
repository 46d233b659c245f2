// The editor's character classes over all 256 bytes, and the unit's
// separator set, symbol set and macro file header byte for byte.
#include <string>

#include "RedaktFixture.h"
#include "TextEditorCharacters.h"

namespace {

// The bytes of text as a membership table.
std::string Members(const std::string& text) {
    std::string table(256, '0');
    for (unsigned char c : text) table[c] = '1';
    return table;
}

std::string Classified(bool (*test)(char)) {
    std::string table(256, '0');
    for (int c = 0; c < 256; ++c)
        if (test(static_cast<char>(c))) table[static_cast<size_t>(c)] = '1';
    return table;
}

}  // namespace

TEST(TextEditorCharacters, TheThreeClassesMatchTheirByteTables) {
    const std::string letters =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
        "\xC1\xC9\xCD\xD3\xD5\xD6\xDA\xDB\xDC\xE1\xE9\xED\xF3\xF5\xF6\xFA\xFB\xFC";
    EXPECT_EQ(Classified(&TTextEditor::IsCharacter), Members(letters));
    EXPECT_EQ(Classified(&TTextEditor::IsDigit), Members("0123456789"));
    EXPECT_EQ(Classified(&TTextEditor::IsSymbol), Members("+!%/=()[]<>#&@{},.-?:*"));
    // Letters of the code page outside the Hungarian alphabet are not letters here.
    for (char c : {'\xE4', '\xDF', '\xF8', '_', '\x8A'}) EXPECT_FALSE(TTextEditor::IsCharacter(c)) << int(c);
}

TEST(TextEditorCharacters, TheUnitSetsHoldTheirBytesInOrder) {
    EXPECT_EQ(WordSeparators().str(), std::string(" (),.;[]{}<>#&@\xA7'+!%/=$-*:?\"\\"));
    EXPECT_EQ(WordSeparators().Length(), 29);
    EXPECT_EQ(SymbolCharacters().str(), std::string("+!%/=()[]<>#&@{},.-?:*"));
    EXPECT_EQ(SymbolCharacters().Length(), 22);
    EXPECT_EQ(MacroFileHeader().str(), std::string("TTextEditor macros\0", 19));
    EXPECT_EQ(Classified(&IsWordSeparator), Members(WordSeparators().str()));
    EXPECT_FALSE(IsWordSeparator('\t'));
}
