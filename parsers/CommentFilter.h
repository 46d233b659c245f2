// TCommentFilter: a symbol parser that tracks whether it stands inside a
// block comment (slash star ... star slash) or a line comment (two slashes).
#pragma once

#include "SymbolParser.h"

class TCommentFilter : public TSymbolParser {
public:
    enum TCommentState { csNone = 0, csBlock = 1, csLine = 2 };

    TCommentFilter();

    // The comment state machine; does nothing inside a quoted run. A line
    // comment ends at the line feed the base parser sends after every line.
    // (Defined here, like IsQuoteMark, so that the character loop inlines it.)
    void ParseChar(char c) override {
        if (fInQuote) return;
        if (c == '\n' && fCommentState == csLine) fCommentState = csNone;
        if (c == '*' && fPrevSlash && fCommentState == csNone) {
            SetCommentState(csBlock);
            return;
        }
        if (c == '/') {
            if (fPrevStar && fCommentState == csBlock) {
                SetCommentState(csNone);
                return;
            }
            if (fPrevSlash && fCommentState == csNone) {
                SetCommentState(csLine);
                return;
            }
        }
        fPrevSlash = c == '/';
        fPrevStar = c == '*';
    }
    // A quote mark counts only outside comments, and inside a quoted run only
    // the mark that opened it closes it, so an apostrophe in a comment or in a
    // double-quoted text does not start a run that swallows the rest of the text.
    bool IsQuoteMark(char c) override {
        if (!TSymbolParser::IsQuoteMark(c) || fCommentState != csNone) return false;
        if (fInQuote) return c == fOpeningQuote;
        fOpeningQuote = c;
        return true;
    }
    // The base parser's run, with the direct calls when this is a comment filter itself.
    bool Parse(TStringContainer& lines) override;

    // 0 outside comments, 1 inside a block comment, 2 inside a line comment.
    // Kept from one Parse to the next; only construction clears it.
    int GetCommentState() const { return fCommentState; }

protected:
    bool fPrevSlash = false;
    bool fPrevStar = false;
    int fCommentState = csNone;
    char fOpeningQuote = '\0';

private:
    // Enters or leaves a comment; clears both flags so that a slash, star,
    // slash sequence cannot close the comment it opens.
    void SetCommentState(int state) {
        fCommentState = state;
        fPrevSlash = false;
        fPrevStar = false;
    }
};
