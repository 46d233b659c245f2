// TTextEditor: line tasks on worker threads and the mt command.
#include "TextEditor.h"

// Not built yet: the settings stay until the line tasks are done.
void TTextEditor::CmdMT(TString&) {}
void TTextEditor::ConvertLines() {}
void TTextEditor::SetLineCapacity() {}

void TTextEditor::NewLine(int line) { runtimeVars.NewLine(line, selection, GetLineText(line)); }
