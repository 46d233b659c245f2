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
    void ParseChar(char c) override;
    // A quote mark counts only outside comments, and inside a quoted run only
    // the mark that opened it closes it, so an apostrophe in a comment or in a
    // double-quoted text does not start a run that swallows the rest of the text.
    bool IsQuoteMark(char c) override;

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
    void SetCommentState(int state);
};
