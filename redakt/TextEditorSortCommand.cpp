// TTextEditor: the sort command.
#include "TextEditor.h"

// Not built yet: nothing is sorted until the sort command is done.
void TTextEditor::CmdSort(TString&) {}
