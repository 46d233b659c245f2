// TTextEditor: the members that fire its simple events.
#include "TextEditor.h"

void TTextEditor::ProgressChange(int total, int done) {
    if (OnProgressChange) OnProgressChange(this, total, done);
}

void TTextEditor::Event(int code) {
    if (OnEvent) OnEvent(code);
}

void TTextEditor::SelectionChanged() {
    if (!OnSelectionChange) return;
    const TTextEditorSelection& s = selection;
    if (s.selStartLine != s.selEndLine)
        OnSelectionChange(this, true, s.selStartLine, s.selEndLine - 1);
    else if (s.selStartCol != s.selEndCol)
        OnSelectionChange(this, false, s.selStartCol, s.selEndCol - 1);
    else
        OnSelectionChange(this, false, -1, -1);
}

void TTextEditor::CursorMove() {
    if (OnCursorMove) OnCursorMove(this, CurCol, CurLine);
}
