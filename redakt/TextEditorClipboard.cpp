// TTextEditor: the clipboard, the ten clipboard buffers and the bookmarks.
#include "TextEditor.h"

// Not built yet: the operations do nothing until the clipboard and the
// bookmarks are done.
void TTextEditor::Copy() {}
void TTextEditor::Paste() {}
void TTextEditor::MakeMarker(int) {}
void TTextEditor::MarkerPress(int) {}
void TTextEditor::PrevMarker() {}
void TTextEditor::NextMarker() {}
