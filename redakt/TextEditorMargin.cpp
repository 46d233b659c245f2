// TTextEditor: lining text up against the margin column.
#include "TextEditor.h"

int TTextEditor::AlignLineToWidth(int line, int width, char fill) {
    if (line < 0 || line >= lines.GetCount()) return 0;
    TString& text = lines[line];
    const int length = text.Length();
    text.ExtendRight(width, fill);
    return length;
}

// Not built yet: the margin operations and the append mode do nothing until they are done.
void TTextEditor::FillLinesToMargin() {}
void TTextEditor::TruncateLinesAtMargin() {}
void TTextEditor::MergeSelectedLines() {}
void TTextEditor::StartAppendMode() {}
void TTextEditor::EndAppendMode() {}
