// The code page's upper- and lower-case mappings as tables, taken once from
// the Containers package's character functions, for the loops that convert
// every character of a tag or a word. Internal to the parsers.
#pragma once

#include <string>

#include "CharClass.h"

struct TCaseTables {
    char upper[256];
    char lower[256];

    char Upper(char c) const { return upper[static_cast<unsigned char>(c)]; }
    char Lower(char c) const { return lower[static_cast<unsigned char>(c)]; }
    // text upper-cased into out, whose storage is reused.
    void UpperInto(const std::string& text, std::string& out) const {
        out = text;
        for (char& c : out) c = Upper(c);
    }
};

// Built on first use from mystr_upper_char and mystr_lower_char.
inline const TCaseTables& CaseTables() {
    static const TCaseTables tables = [] {
        TCaseTables made{};
        for (int c = 0; c < 256; ++c) {
            made.upper[c] = mystr_upper_char(static_cast<char>(c));
            made.lower[c] = mystr_lower_char(static_cast<char>(c));
        }
        return made;
    }();
    return tables;
}
