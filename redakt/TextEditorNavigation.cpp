// TTextEditor: navigation and line arrangement.
#include "TextEditor.h"

// Not built yet: no line is asked for until the navigation is done.
void TTextEditor::GoToLine() {}
