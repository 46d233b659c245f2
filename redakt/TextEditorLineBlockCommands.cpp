// TTextEditor: the line-block commands.
#include "TextEditor.h"

// Not built yet: the commands do nothing until the line-block commands are done.
void TTextEditor::CmdCopy(TString&) {}
void TTextEditor::CmdPaste(TString&) {}
void TTextEditor::CmdSelect(TString&) {}
void TTextEditor::CmdRepeat(TString&) {}
void TTextEditor::CmdSection(TString&) {}
void TTextEditor::CmdExchange(TString&) {}
void TTextEditor::CmdNumbers(TString&) {}
void TTextEditor::CmdInsert(TString&) {}
void TTextEditor::CmdAppend(TString&) {}
void TTextEditor::CmdAdd(TString&) {}
void TTextEditor::CmdDelete(TString&) {}
void TTextEditor::CmdModify(TString&) {}
