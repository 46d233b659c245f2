// TTextEditor: recording and playing keyboard and named macros.
#include "TextEditor.h"

// Not built yet: nothing is recorded or played until the macros are done.
void TTextEditor::PlayMacro(TTextEditorMacro, TStringContainer) {}
void TTextEditor::StartMacro() {}
void TTextEditor::RecordMacro(int) {}
void TTextEditor::StopMacroRecording(bool) {}
void TTextEditor::PlayMacro(int) {}
void TTextEditor::RecordParamMacro() {}
void TTextEditor::PlayParamMacro() {}
void TTextEditor::PlayParamMacro(TString) {}
void TTextEditor::DeleteParamMacro() {}
