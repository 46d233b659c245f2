// The editor's user-visible texts: one language table shared by every editor.
#pragma once

#include <string>

class TLangTable;

// The shared table; null until an editor makes one or a host sets one.
TLangTable* GetTextEditorLangTable();
// The table stays the caller's and must outlive every lookup.
void SetTextEditorLangTable(TLangTable* table);
// The text of id in the table's current language; defaultText without a
// table or without that text.
std::string TextEditorText(int id, const char* defaultText);
