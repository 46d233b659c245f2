// TTextEditor: recording and playing keyboard and named macros, and the
// private messages through which a macro plays.
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

// A played key-down: lParam bits 1, 2 and 4 are Shift, Ctrl and Alt.
void TTextEditor::WMMacroKeyDown(TMessage& message) {
    TShiftState shift;
    if (message.LParam & 1) shift << ssShift;
    if (message.LParam & 2) shift << ssCtrl;
    if (message.LParam & 4) shift << ssAlt;
    WORD key = static_cast<WORD>(message.WParam);
    KeyDown(key, shift);
}

// A played character: the low byte, so a code-page letter above 127 arrives
// whole however it was widened.
void TTextEditor::WMMacroKeyPress(TMessage& message) {
    char key = static_cast<char>(message.WParam & 0xFF);
    KeyPress(key);
}

void TTextEditor::WMMacroPlayEnd(TMessage&) { macroPlaying = false; }
