// TTextEditor: loading and saving text files.
#include "TextEditor.h"

// Not built yet: nothing is saved until the files are done.
bool TTextEditor::Save() { return false; }
