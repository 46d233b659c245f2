// The editor unit's character sets: word separators, symbols and the macro
// file header, built on first use and shared by every editor.
#pragma once

#include "String.h"

// The 29 characters that end a word, in this order: blank ( ) , . ; [ ] { }
// < > # & @, the section sign (0xA7), ' + ! % / = $ - * : ?, the double
// quote and the backslash. The tab is not among them.
const TString& WordSeparators();
bool IsWordSeparator(char c);
// The 22 symbol characters: + ! % / = ( ) [ ] < > # & @ { } , . - ? : *.
const TString& SymbolCharacters();
// "TTextEditor macros" with its terminating NUL: 19 bytes.
const TString& MacroFileHeader();
