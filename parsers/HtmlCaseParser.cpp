// THtmlCaseParser: the tag and comment state machine that recases tag text in place.
#include "HtmlCaseParser.h"

#include "CharClass.h"

bool THtmlCaseParser::Parse(TStringContainer& lines) {
    fInTag = false;
    fInComment = false;
    fPrevChar = ' ';
    fPrevPrevChar = ' ';
    fLines = &lines;
    bool ok = TSymbolParser::Parse(lines);
    fLines = nullptr;
    return ok;
}

void THtmlCaseParser::ConvertCurrentChar(char c) {
    if (fLines == nullptr || fLineIndex >= fLines->GetCount()) return;
    (*fLines)[fLineIndex].SetChar(fCharIndex, fUpperCase ? mystr_upper_char(c) : mystr_lower_char(c));
}

void THtmlCaseParser::ParseChar(char c) {
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
            if (fInTag && !fInComment && !fInQuote && c != '\n') ConvertCurrentChar(c);
            break;
    }
    fPrevPrevChar = fPrevChar;
    fPrevChar = c;
}
