// TTextEditor: keyboard dispatch, chords and typing.
#include "TextEditor.h"

// Not built yet: keys act as on the scroll control until the keyboard
// handling is done.
void TTextEditor::KeyDown(WORD& key, TShiftState shift) { TScrollControl::KeyDown(key, shift); }
void TTextEditor::KeyPress(char& key) { TScrollControl::KeyPress(key); }
void TTextEditor::KeyUp(WORD& key, TShiftState shift) { TScrollControl::KeyUp(key, shift); }
