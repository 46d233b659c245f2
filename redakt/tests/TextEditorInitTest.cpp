// What Init makes besides the construction values (the properties test
// checks those): the font name from the language table, the "Default"
// scheme, the help text, the search state, the command table, the command
// box and the menus; the design state; the font and steps of a new window.
#include <string>
#include <vector>

#include "ComboBox.h"
#include "Langtable.h"
#include "Menus.h"
#include "RedaktFixture.h"
#include "TextEditorTexts.h"

namespace {

// ORDER COMMANDS: the command table as the command line matches it.
const char* const kCommandNames[] = {
    "copy", "paste", "select", "repeat", "section", "exchange", "numbers", "insert", "append", "add", "delete",
    "modify", "sort", "reverse", "apply", "swap", "shuffle", "ends", "mt", "tolower", "toupper", "capitalize",
    "calc", "count", "ecount", "go", "for", "foreach", "replace", "align", "surround",
};

std::vector<std::string> CommandNames(const TTextEditor& editor) {
    std::vector<std::string> names;
    for (int i = 0; i < editor.commands.GetCount(); ++i) names.push_back(editor.commands[i].name.str());
    return names;
}

// Sets a table for the life of the object and puts the previous one back.
class ScopedLangTable {
public:
    explicit ScopedLangTable(TLangTable* table) : previous_(GetTextEditorLangTable()) { SetTextEditorLangTable(table); }
    ~ScopedLangTable() { SetTextEditorLangTable(previous_); }

private:
    TLangTable* previous_;
};

}  // namespace

TEST(TextEditorInit, InitMakesTheSchemeHelpSearchStateCommandsBoxAndMenus) {
    win32::TestDriver driver;
    TLangTable table;
    table.Init(std::vector<std::string>{"0|1", "100223|Liberation Mono|Liberation Mono"});
    ScopedLangTable useTable(&table);
    TTextEditor editor(nullptr);

    EXPECT_EQ(editor.GetFontName(), "Liberation Mono");
    ASSERT_EQ(editor.schemes.GetCount(), 1);
    EXPECT_EQ(editor.schemes[0].extensions.str(), "Default");
    const TTextEditorScheme fresh;
    for (TTextEditorScheme::TFlag flag : TTextEditorScheme::Flags()) EXPECT_EQ(editor.schemes[0].*flag, fresh.*flag);
    EXPECT_EQ(editor.schemes[0].indentSize, fresh.indentSize);
    EXPECT_EQ(editor.schemes[0].marginPos, fresh.marginPos);
    EXPECT_EQ(editor.schemes[0].boldWords.GetCount(), 0);
    ASSERT_GT(editor.helpText.GetCount(), 20);
    EXPECT_EQ(editor.helpText[0].str().rfind("Text editor keys", 0), 0u);
    EXPECT_TRUE(editor.replacePrompt);
    EXPECT_TRUE(editor.searchAllInfo->fromStart);
    EXPECT_EQ(CommandNames(editor), std::vector<std::string>(std::begin(kCommandNames), std::end(kCommandNames)));
    EXPECT_TRUE(editor.lastCommand.IsEmpty());

    ASSERT_NE(editor.commandCombo, nullptr);
    EXPECT_EQ(editor.commandCombo->GetParent(), &editor);
    EXPECT_EQ(editor.commandCombo->GetOwner(), &editor);
    EXPECT_FALSE(editor.commandCombo->GetVisible());
    ASSERT_NE(editor.editPopup, nullptr);
    ASSERT_NE(editor.gapPopup, nullptr);
    EXPECT_NE(editor.editPopup, editor.gapPopup);
    EXPECT_EQ(editor.activePopup, editor.editPopup);
    EXPECT_EQ(editor.editPopup->GetOwner(), &editor);
    EXPECT_EQ(editor.editPopup->GetItems()->GetCount(), 6);
    EXPECT_EQ(editor.gapPopup->GetItems()->GetCount(), 14);

    // A second Init resets rather than piles up.
    editor.schemes.NewItem()->extensions = TString("CPP");
    TComboBox* box = editor.commandCombo;
    editor.Init();
    EXPECT_EQ(editor.schemes.GetCount(), 1);
    EXPECT_EQ(CommandNames(editor).size(), std::size(kCommandNames));
    EXPECT_EQ(editor.commandCombo, box);
    EXPECT_EQ(editor.editPopup->GetItems()->GetCount(), 6);
    EXPECT_EQ(editor.gapPopup->GetItems()->GetCount(), 14);
}

TEST_F(EditorTest, AnEditorMadeAtDesignTimeHasNoCommandBox) {
    form->SetDesigning(true);
    TTextEditor* editor = Place();
    EXPECT_EQ(editor->commandCombo, nullptr);
    EXPECT_EQ(editor->GetControlCount(), 0);
    editor->Init();
    editor->SetFocus();
    driver.PumpUntilIdle();
    editor->DoCommand();
    TString line("copy");
    editor->ExecCommand(line);
    EXPECT_EQ(editor->commandCombo, nullptr);
    EXPECT_EQ(editor->GetControlCount(), 0);
    EXPECT_EQ(editor->lastCommand.str(), "copy");
    form->SetDesigning(false);
}

TEST_F(EditorTest, ANewWindowTakesTheFontAndScrollsByLinesAndCharacters) {
    TTextEditor* editor = Place();
    ASSERT_TRUE(editor->HandleAllocated());
    EXPECT_EQ(editor->GetFont()->GetName(), editor->GetFontName());
    EXPECT_EQ(editor->GetFont()->GetSize(), editor->GetFontSize());
    EXPECT_GT(editor->GetLineHeight(), 1);
    EXPECT_GT(editor->GetCharWidth(), 1);
    EXPECT_EQ(editor->GetVScrollStep(), editor->GetLineHeight());
    EXPECT_EQ(editor->GetHScrollStep(), editor->GetCharWidth());
}
