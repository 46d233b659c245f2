// Character scans of script lines: identifier characters, quotes, comments, constants and white space.
#pragma once

#include "String.h"
#include "StringContainer.h"

// ASCII letters and digits, '_' and the eighteen accented Hungarian letters (code page 1250).
bool IsIdentifierChar(char c);
// Blank, tab, line feed, vertical tab, carriage return.
bool IsWordSpace(char c);

// Tracks whether a scan stands inside a single- or double-quoted text; a
// quote of the other kind inside a quoted text is an ordinary character.
class TQuoteState {
public:
    // Feeds one character; returns whether it lies inside quotes (its
    // opening and closing quotes included).
    bool Feed(char c);
    bool Inside() const { return quote != 0; }

private:
    char quote = 0;
};

// Cuts the line at the first "//" outside quotes.
void CutComment(TString& line);
// Removes white space at the end of the line.
void TrimLineEnd(TString& line);
// Removes white-space characters (the package's set) outside quotes.
TString RemoveWhiteSpace(const TString& text);
// Whether the text holds nothing but white space.
bool IsBlankLine(const TString& line);
// Replaces, outside quotes, each whole-word occurrence of names[k] by
// values[k], constant by constant in order; the scan continues after the
// inserted text.
void SubstituteConstants(TString& line, const TStringContainer& names, const TStringContainer& values);
// The pieces of text between separators outside brackets and quotes; an
// unmatched closing bracket stays in its piece. An empty text gives no
// piece; n separators give n + 1 pieces, empty ones included.
void SplitTopLevel(const TString& text, char separator, TStringContainer& parts);
// Position of the bracket that closes the one at open (brackets, parentheses
// and braces balanced, quoted text skipped); -1 when unbalanced.
int FindClosingBracket(const TString& text, int open);
// Position of the first c outside quotes at or after start, or -1.
int FindOutsideQuotes(const TString& text, char c, int start = 0);
// Text with white space removed at both ends.
TString TrimWhiteSpace(const TString& text);
