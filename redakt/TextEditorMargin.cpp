// TTextEditor: lining text up against the margin column.
#include "TextEditor.h"

int TTextEditor::AlignLineToWidth(int line, int width, char fill) {
    if (line < 0 || line >= lines.GetCount()) return 0;
    TString& text = lines[line];
    const int length = text.Length();
    text.ExtendRight(width, fill);
    return length;
}
