// TTextEditor: the command table's registration and the context menus.
#include "TextEditor.h"

// Not built yet: no menu is filled until the context menus are done.
void TTextEditor::InitPopupMenu() {}
