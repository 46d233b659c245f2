// TCommentFilter: the comment state machine run after each character's symbol work.
#include "CommentFilter.h"

TCommentFilter::TCommentFilter() = default;

void TCommentFilter::SetCommentState(int state) {
    fCommentState = state;
    fPrevSlash = false;
    fPrevStar = false;
}

void TCommentFilter::ParseChar(char c) {
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

bool TCommentFilter::IsQuoteMark(char c) {
    if (!TSymbolParser::IsQuoteMark(c) || fCommentState != csNone) return false;
    if (fInQuote) return c == fOpeningQuote;
    fOpeningQuote = c;
    return true;
}
