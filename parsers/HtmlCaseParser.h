// THtmlCaseParser: rewrites the letters inside HTML tags to upper or lower
// case, in place, leaving running text, quoted values and comments alone.
#pragma once

#include "CaseTables.h"
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
    // (Defined here so that the character loop inlines it.)
    void ParseChar(char c) override {
        switch (c) {
            case '-':
                // The second hyphen of "<!--" opens a comment.
                if (fInTag && fPrevChar == '-' && fPrevPrevChar == '!') fInComment = true;
                break;
            case '<':
                if (!fInQuote && !fInTag) fInTag = true;
                break;
            case '>':
                if (!fInQuote && fInTag) fInTag = false;
                if (!fInQuote && fPrevChar == '-' && fPrevPrevChar == '-') fInComment = false;
                break;
            default:
                if (Converting() && c != '\n') ConvertCurrentChar(c);
                break;
        }
        fPrevPrevChar = fPrevChar;
        fPrevChar = c;
    }

    // Whether ParseChar now converts the characters it is given.
    bool Converting() const { return fInTag && !fInComment && !fInQuote; }
    // Plain characters text[first] .. text[first + count - 1] of the current
    // line, as ParseChar takes them one by one: none of them is '-', '<' or
    // '>', so the tag state stays and each is converted when inside a tag.
    void ParsePlainRun(const char* text, int first, int count) {
        const char last = text[first + count - 1];
        const char beforeLast = count > 1 ? text[first + count - 2] : fPrevChar;
        if (Converting()) ConvertRun(text, first, count);
        fPrevPrevChar = beforeLast;
        fPrevChar = last;
        fCharIndex = first + count - 1;
    }

protected:
    bool fUpperCase = true;
    TStringContainer* fLines = nullptr;
    bool fInTag = false;
    bool fInComment = false;
    char fPrevChar = ' ';
    char fPrevPrevChar = ' ';

private:
    // The character at the parser's position in the lines takes the case of c.
    void ConvertCurrentChar(char c) {
        if (fLines == nullptr || fLineIndex >= fLines->GetCount() || fCases == nullptr) return;
        TString& line = *static_cast<TString*>(static_cast<void**>(fLines->GetItems())[fLineIndex]);
        // Outside the line the reference goes nowhere, as SetChar would.
        line[fCharIndex] = fUpperCase ? fCases->Upper(c) : fCases->Lower(c);
    }

    // ConvertCurrentChar for each character of the run, the line found once.
    void ConvertRun(const char* text, int first, int count) {
        if (fLines == nullptr || fLineIndex >= fLines->GetCount() || fCases == nullptr) return;
        TString& line = *static_cast<TString*>(static_cast<void**>(fLines->GetItems())[fLineIndex]);
        const char* map = fUpperCase ? fCases->upper : fCases->lower;
        for (int k = first; k < first + count; ++k) line[k] = map[static_cast<unsigned char>(text[k])];
    }

    const TCaseTables* fCases = nullptr;
};
