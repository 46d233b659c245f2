// Character tables of the Central European code page (1250).
#include "CharClass.h"

namespace {

// Upper-case / lower-case pairs outside ASCII. ORDER: upper, lower.
const unsigned char kCasePairs[][2] = {
    {0x8A, 0x9A}, {0x8C, 0x9C}, {0x8D, 0x9D}, {0x8E, 0x9E}, {0x8F, 0x9F}, {0xA3, 0xB3},
    {0xA5, 0xB9}, {0xAA, 0xBA}, {0xAF, 0xBF}, {0xBC, 0xBE},
};

// Accented letters and their base letter.
const char* const kAccentSources =
    "\x8A\x8C\x8D\x8E\x8F\x9A\x9C\x9D\x9E\x9F\xA3\xA5\xAA\xAF\xB3\xB9\xBA\xBC\xBE\xBF"
    "\xC0\xC1\xC2\xC3\xC4\xC5\xC6\xC7\xC8\xC9\xCA\xCB\xCC\xCD\xCE\xCF"
    "\xD0\xD1\xD2\xD3\xD4\xD5\xD6\xD8\xD9\xDA\xDB\xDC\xDD\xDE"
    "\xE0\xE1\xE2\xE3\xE4\xE5\xE6\xE7\xE8\xE9\xEA\xEB\xEC\xED\xEE\xEF"
    "\xF0\xF1\xF2\xF3\xF4\xF5\xF6\xF8\xF9\xFA\xFB\xFC\xFD\xFE";
const char* const kAccentTargets =
    "SSTZZsstzzLASZlasLlz"
    "RAAAALCCCEEEEIID"
    "DNNOOOORUUUUYT"
    "raaaalccceeeeiid"
    "dnnooooruuuuyt";

struct CharTables {
    unsigned char upper[256];
    unsigned char lower[256];
    unsigned char plain[256];
    bool letter[256];

    CharTables() {
        for (int c = 0; c < 256; ++c) {
            upper[c] = lower[c] = plain[c] = static_cast<unsigned char>(c);
            letter[c] = false;
        }
        for (int c = 'A'; c <= 'Z'; ++c) Pair(c, c + 32);
        // 0xC0-0xDE pair with 0xE0-0xFE, except the multiplication sign 0xD7 and division sign 0xF7.
        for (int c = 0xC0; c <= 0xDE; ++c)
            if (c != 0xD7) Pair(c, c + 32);
        for (const auto& pair : kCasePairs) Pair(pair[0], pair[1]);
        letter[0xDF] = true;  // sharp s: a letter without an upper-case form
        for (int i = 0; kAccentSources[i] != 0; ++i)
            plain[static_cast<unsigned char>(kAccentSources[i])] = static_cast<unsigned char>(kAccentTargets[i]);
    }

    void Pair(int upperCase, int lowerCase) {
        lower[upperCase] = static_cast<unsigned char>(lowerCase);
        upper[lowerCase] = static_cast<unsigned char>(upperCase);
        letter[upperCase] = letter[lowerCase] = true;
    }
};

const CharTables& Tables() {
    static const CharTables tables;
    return tables;
}

unsigned char Byte(char c) { return static_cast<unsigned char>(c); }

}  // namespace

void mystr_init() { Tables(); }

bool mystr_ishchar(char c) { return Tables().letter[Byte(c)]; }

char mystr_upper_char(char c) { return static_cast<char>(Tables().upper[Byte(c)]); }

char mystr_lower_char(char c) { return static_cast<char>(Tables().lower[Byte(c)]); }

bool mystr_isupper(char c) { return Tables().letter[Byte(c)] && Tables().lower[Byte(c)] != Byte(c); }

bool mystr_islower(char c) { return Tables().letter[Byte(c)] && Tables().upper[Byte(c)] != Byte(c); }

char mystr_noaccent_char(char c) { return static_cast<char>(Tables().plain[Byte(c)]); }
