// THtmlCaseParser: the run; the tag and comment state machine is in the header.
#include "HtmlCaseParser.h"

#include "SymbolScan.h"

bool THtmlCaseParser::Parse(TStringContainer& lines) {
    fInTag = false;
    fInComment = false;
    fPrevChar = ' ';
    fPrevPrevChar = ' ';
    fLines = &lines;
    fCases = &CaseTables();
    bool ok = ParseAs(*this, lines);
    fLines = nullptr;
    return ok;
}
