// TCommentFilter: construction and the run; the comment state machine is in the header.
#include "CommentFilter.h"

#include "SymbolScan.h"

TCommentFilter::TCommentFilter() = default;

bool TCommentFilter::Parse(TStringContainer& lines) { return ParseAs(*this, lines); }
