// THtmlCaseParser: rewrites the letters inside HTML tags to upper or lower
// case, in place, leaving running text, quoted values and comments alone.
#pragma once

#include "SymbolParser.h"

class THtmlCaseParser : public TSymbolParser {
public:
    // Upper case (the default) or lower case; set before Parse.
    void SetUpperCase(bool upper) { fUpperCase = upper; }
    bool GetUpperCase() const { return fUpperCase; }

    // Resets the tag and comment state and rewrites the lines in place.
    // Quote tracking runs over the whole text: an apostrophe in running text
    // leaves the tags after it unchanged until the next apostrophe.
    bool Parse(TStringContainer& lines) override;
    void ParseChar(char c) override;

protected:
    bool fUpperCase = true;
    TStringContainer* fLines = nullptr;
    bool fInTag = false;
    bool fInComment = false;
    char fPrevChar = ' ';
    char fPrevPrevChar = ' ';

private:
    void ConvertCurrentChar(char c);
};
