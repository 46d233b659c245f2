// The shared language table of the editors and the one lookup every text goes through.
#include "TextEditorTexts.h"

#include "Langtable.h"
#include "TextEditorPackage.h"

namespace {

TLangTable*& SharedTable() {
    static TLangTable* table = nullptr;
    return table;
}

}  // namespace

TLangTable* GetTextEditorLangTable() { return SharedTable(); }

void SetTextEditorLangTable(TLangTable* table) { SharedTable() = table; }

TLangTable* UseTextEditorLangTable() {
    if (SharedTable() == nullptr) SharedTable() = TextEditorPackageLangTable();
    return SharedTable();
}

std::string TextEditorText(int id, const char* defaultText) {
    const std::string fallback = defaultText != nullptr ? defaultText : "";
    const TLangTable* table = SharedTable();
    return table != nullptr ? table->GetText(id, fallback) : fallback;
}
