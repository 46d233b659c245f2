// TTextEditor: the editing and navigation keys' handlers.
#include "TextEditor.h"

// Not built yet: the handlers do nothing until the editing keys are done.
void TTextEditor::ReturnPress(TShiftState) {}
void TTextEditor::CtrlEnterPress() {}
void TTextEditor::CtrlEnter(TString) {}
void TTextEditor::TabPress(TShiftState) {}
void TTextEditor::BackspacePress(TShiftState) {}
void TTextEditor::DeletePress(TShiftState) {}
void TTextEditor::DeleteWord() {}
void TTextEditor::InsertPress(TShiftState) {}
void TTextEditor::PgUpPress(TShiftState) {}
void TTextEditor::PgDownPress(TShiftState) {}
void TTextEditor::HomePress(TShiftState) {}
void TTextEditor::EndPress(TShiftState) {}
void TTextEditor::F1Press(TShiftState) {}
