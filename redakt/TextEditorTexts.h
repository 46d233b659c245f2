// The editor's user-visible texts: one language table shared by every editor.
#pragma once

#include <string>

class TLangTable;

// The shared table; null until an editor is made or a host sets one.
TLangTable* GetTextEditorLangTable();
// The table stays the caller's and must outlive every lookup; null leaves
// the editors without a table until the next one is made.
void SetTextEditorLangTable(TLangTable* table);
// The constructor's step: without a shared table, the package's own (read
// from its resource once per process) becomes it. Returns the shared table.
TLangTable* UseTextEditorLangTable();
// The text of id in the table's current language; defaultText without a
// table or without that text.
std::string TextEditorText(int id, const char* defaultText);
