// TTextEditor: painting its lines, the gutter and the overlays.
#include "TextEditor.h"

// Not built yet: the editor paints as the scroll control does.
void TTextEditor::Paint() { TScrollControl::Paint(); }
void TTextEditor::PaintLineBk(int) {}
void TTextEditor::FillLineBk(int, TColor) {}
void TTextEditor::PaintLine(int) {}
