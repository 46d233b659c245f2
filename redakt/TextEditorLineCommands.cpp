// TTextEditor: the expression loops and the remaining line commands.
#include "TextEditor.h"

// Not built yet: the commands do nothing until the line commands are done.
void TTextEditor::CmdReverse(TString&) {}
void TTextEditor::CmdApply(TString&) {}
void TTextEditor::CmdSwap(TString&) {}
void TTextEditor::CmdShuffle(TString&) {}
void TTextEditor::CmdEnds(TString&) {}
void TTextEditor::CmdToLower(TString&) {}
void TTextEditor::CmdToUpper(TString&) {}
void TTextEditor::CmdCapitalize(TString&) {}
void TTextEditor::CmdGo(TString&) {}
void TTextEditor::CmdFor(TString&) {}
void TTextEditor::CmdForEach(TString&) {}
void TTextEditor::CmdReplace(TString&) {}
void TTextEditor::CmdAlign(TString&) {}
void TTextEditor::CmdSurround(TString&) {}
