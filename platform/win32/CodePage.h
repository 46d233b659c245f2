// The Central European code page (1250) that all text inside the suite uses,
// and its conversion to and from Unicode at the edges (glyphs, clipboard, input).
#pragma once

#include <cstdint>
#include <string>

namespace win32 {

// Unicode code point of a code-page byte. Bytes 0x00-0x7F are ASCII; the few
// bytes the code page leaves undefined map to the C1 control of the same value,
// so every byte survives a round trip.
char32_t CodePageToUnicode(unsigned char byte);

// Code-page byte of a code point, or -1 when the code page has no such character.
int UnicodeToCodePage(char32_t codePoint);

// UTF-8 text to code-page bytes; a character the code page lacks becomes `missing`.
// Malformed UTF-8 sequences also become `missing`, one per bad byte.
std::string Utf8ToCodePage(const std::string& utf8, char missing = '?');

// Code-page bytes to UTF-8.
std::string CodePageToUtf8(const std::string& text);

}  // namespace win32
