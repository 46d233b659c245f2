// TTextEditor: the aggregating commands calc, count and ecount.
#include "TextEditor.h"

// Not built yet: the commands do nothing until the aggregates are done.
void TTextEditor::CmdCalc(TString&) {}
void TTextEditor::CmdCount(TString&) {}
void TTextEditor::CmdECount(TString&) {}
