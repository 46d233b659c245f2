// The editor's embedded translation table: both languages for every text,
// converted to the code page, with doubled bars read as one.
#include <set>
#include <string>

#include "Langtable.h"
#include "RedaktFixture.h"
#include "TextEditorPackage.h"
#include "TextEditorTexts.h"

TEST(TextEditorTexts, TheEmbeddedTableHoldsEnglishAndHungarianTexts) {
    TLangTable table;
    table.InitFromResource(RedaktResourceModule(), "texteditor_translations");
    std::set<int> ids;
    table.GetTextIDs(ids);
    ASSERT_GE(ids.size(), 27u);
    for (int id : ids)
        for (int language : {0, 1})
            EXPECT_NE(table.GetText(language, id, "\x01"), "\x01") << id << " lacks language " << language;

    const struct {
        int id;
        const char* english;
        const char* hungarian;
    } kCases[] = {
        {100230, "Previous", "El\xF5z\xF5"},
        {100243, "Next", "K\xF6vetkez\xF5"},
        {100256, "Text files (*.txt)|*.txt", "Sz\xF6vegf\xE1jlok (*.txt)|*.txt"},
        {100460, "Invalid command", "\xC9rv\xE9nytelen parancs"},
        {100461, "Exec command", "Parancs v\xE9grehajt\xE1sa"},
        {100223, "Courier New", "Courier New"},
    };
    for (const auto& row : kCases) {
        EXPECT_EQ(table.GetText(0, row.id, ""), row.english) << row.id;
        EXPECT_EQ(table.GetText(1, row.id, ""), row.hungarian) << row.id;
    }
}

TEST(TextEditorTexts, LookupsFallBackToTheGivenDefault) {
    TLangTable* previous = GetTextEditorLangTable();
    SetTextEditorLangTable(nullptr);
    EXPECT_EQ(TextEditorText(100460, "Invalid command"), "Invalid command");
    EXPECT_EQ(TextEditorText(100460, nullptr), "");
    TLangTable table;
    SetTextEditorLangTable(&table);
    EXPECT_EQ(TextEditorText(100230, "El\xF5z\xF5"), "El\xF5z\xF5");
    SetTextEditorLangTable(previous);
    EXPECT_EQ(TextEditorText(999999, "none"), "none");
}
