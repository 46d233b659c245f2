// The language entries that a window appends to its system menu.
#include "Langtable.h"

#include "Win32.h"

int LangAppendSystemMenu(void* menu, char** texts, unsigned* ids, int count) {
    HMENU handle = static_cast<HMENU>(menu);
    if (count > 0 && (!texts || !ids)) return 0;
    AppendMenuA(handle, MF_SEPARATOR, 0, nullptr);
    if (count < 1) return 0;
    for (int i = 0; i < count; ++i) AppendMenuA(handle, MF_STRING, ids[i], texts[i]);
    return count;
}

void LangAppendSystemMenuDefs(void* menu) {
    // ORDER LANGUAGE MENU: the command ids are what the owning window maps to languages.
    static char english[] = "English";
    static char hungarian[] = "Magyar";
    static char german[] = "Deutsch";
    char* texts[] = {english, hungarian, german};
    unsigned ids[] = {20, 21, 22};
    LangAppendSystemMenu(menu, texts, ids, 3);
}
