// The working range and the history of the editor's combo boxes.
#include <string>
#include <vector>

#include "ComboBox.h"
#include "RedaktFixture.h"
#include "TextEditorFunctions.h"

TEST(CommandFrameTest, TheWorkingRangeIsTheLineBlockOrTheWholeText) {
    win32::TestDriver driver;
    TTextEditor editor(nullptr);
    SetLines(editor, std::vector<std::string>(10, "line"));
    int first = -1, last = -1;
    editor.GetWorkingRange(first, last);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(last, 9);
    editor.selection = TTextEditorSelection{2, 5, 7, 3, 6};
    editor.GetWorkingRange(first, last);
    EXPECT_EQ(first, 3);
    EXPECT_EQ(last, 5);
    SetLines(editor, {});
    editor.selection = TTextEditorSelection{};
    editor.GetWorkingRange(first, last);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(last, -1);
}

TEST(CommandFrameTest, AComboHistoryPutsANewTextFirstAndKeepsItsLimit) {
    win32::TestDriver driver;
    TComboBox box(nullptr);
    auto items = [&] {
        std::vector<std::string> texts;
        for (int i = 0; i < box.GetItems()->GetCount(); ++i) texts.push_back(box.GetItems()->GetStrings(i));
        return texts;
    };
    for (const char* text : {"one", "two", "", "one", "One", "three"}) {
        box.SetText(text);
        AddComboHistory(&box, 3);
    }
    EXPECT_EQ(items(), (std::vector<std::string>{"three", "One", "two"}));
    AddComboHistory(nullptr, 3);
}
