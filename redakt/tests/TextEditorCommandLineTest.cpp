// The command line: the split of a line, the lookup by prefix in table
// order, running a line (box, focus, history, last command), the "Invalid
// command" box, repeating, the box's place over the caret and its keys.
#include <string>
#include <vector>

#include "RecordingEditor.h"
#include "Responder.h"

namespace {

std::vector<std::string> Items(TComboBox* box) {
    std::vector<std::string> items;
    for (int i = 0; i < box->GetItems()->GetCount(); ++i) items.push_back(box->GetItems()->GetStrings(i));
    return items;
}

}  // namespace

TEST(TextEditorCommandLine, TheWordSelectsTheFirstCommandItBegins) {
    win32::TestDriver driver;
    TTextEditor editor(nullptr);
    const struct {
        const char* word;
        TTextEditorCommandHandler handler;
    } kCases[] = {
        {"c", &TTextEditor::CmdCopy},         {"co", &TTextEditor::CmdCopy},     {"copy", &TTextEditor::CmdCopy},
        {"p", &TTextEditor::CmdPaste},        {"s", &TTextEditor::CmdSelect},    {"se", &TTextEditor::CmdSelect},
        {"r", &TTextEditor::CmdRepeat},       {"rep", &TTextEditor::CmdRepeat},  {"sec", &TTextEditor::CmdSection},
        {"e", &TTextEditor::CmdExchange},     {"n", &TTextEditor::CmdNumbers},   {"i", &TTextEditor::CmdInsert},
        {"a", &TTextEditor::CmdAppend},       {"ap", &TTextEditor::CmdAppend},   {"ad", &TTextEditor::CmdAdd},
        {"d", &TTextEditor::CmdDelete},       {"m", &TTextEditor::CmdModify},    {"so", &TTextEditor::CmdSort},
        {"rev", &TTextEditor::CmdReverse},    {"appl", &TTextEditor::CmdApply},  {"sw", &TTextEditor::CmdSwap},
        {"sh", &TTextEditor::CmdShuffle},     {"en", &TTextEditor::CmdEnds},     {"mt", &TTextEditor::CmdMT},
        {"t", &TTextEditor::CmdToLower},      {"tou", &TTextEditor::CmdToUpper}, {"ca", &TTextEditor::CmdCapitalize},
        {"cap", &TTextEditor::CmdCapitalize}, {"cal", &TTextEditor::CmdCalc},    {"cou", &TTextEditor::CmdCount},
        {"ec", &TTextEditor::CmdECount},      {"g", &TTextEditor::CmdGo},        {"f", &TTextEditor::CmdFor},
        {"fo", &TTextEditor::CmdFor},         {"for", &TTextEditor::CmdFor},     {"fore", &TTextEditor::CmdForEach},
        {"foreach", &TTextEditor::CmdForEach}, {"repl", &TTextEditor::CmdReplace}, {"al", &TTextEditor::CmdAlign},
        {"su", &TTextEditor::CmdSurround},    {"surround", &TTextEditor::CmdSurround},
    };
    for (const auto& row : kCases) {
        const TTextEditorCommand* command = FindCommand(editor.commands, TString(row.word));
        ASSERT_NE(command, nullptr) << row.word;
        EXPECT_TRUE(command->handler == row.handler) << row.word << " selects " << command->name.str();
    }
    // Every name selects its own entry, with its own member.
    for (int i = 0; i < editor.commands.GetCount(); ++i)
        EXPECT_EQ(FindCommand(editor.commands, editor.commands[i].name), &editor.commands[i]);
    for (const char* word : {"copyx", "COPY", "Copy", "xyz", "stats", "", "sortx"})
        EXPECT_EQ(FindCommand(editor.commands, TString(word)), nullptr) << "'" << word << "'";
}

TEST(TextEditorCommandLine, TheLineSplitsAtItsFirstBlankOnly) {
    const struct {
        const char* line;
        const char* word;
        const char* argument;
    } kCases[] = {
        {"sort 3", "sort", "3"},     {"so 3", "so", "3"},       {"shuffle", "shuffle", ""},
        {"copy ", "copy", ""},       {"copy  1", "copy", " 1"}, {"copy\t1", "copy\t1", ""},
        {" copy", "", "copy"},       {"", "", ""},              {"a b  c ", "a", "b  c "},
    };
    for (const auto& row : kCases) {
        TString word("stale");
        TString argument("stale");
        SplitCommandLine(TString(row.line), word, argument);
        EXPECT_EQ(word.str(), row.word) << "'" << row.line << "'";
        EXPECT_EQ(argument.str(), row.argument) << "'" << row.line << "'";
    }
}

TEST_F(RecordingEditorTest, AMatchingLineRunsWithTheBoxHiddenAndEntersTheHistory) {
    TRecordingEditor* editor = PlaceFocused();
    editor->RecordEveryCommand();
    TMessageBoxRecorder shown;
    const struct {
        const char* line;
        const char* argument;
    } kCases[] = {{"sort 3", "3"}, {"so 3", "3"}, {"copy  1", " 1"}, {"shuffle", ""}};
    for (const auto& row : kCases) {
        editor->commandCombo->SetText(row.line);
        editor->DoCommand();
        driver.PumpUntilIdle();
        ASSERT_TRUE(editor->commandCombo->Focused());
        TString line(row.line);
        editor->ExecCommand(line);
        driver.PumpUntilIdle();
        ASSERT_FALSE(editor->commandRuns.empty());
        const TRecordingEditor::TCommandRun run = editor->commandRuns.back();
        EXPECT_EQ(run.argument, row.argument) << row.line;
        EXPECT_FALSE(run.boxVisible) << row.line;
        EXPECT_TRUE(run.focused) << row.line;
        EXPECT_FALSE(editor->commandCombo->GetVisible());
        EXPECT_TRUE(editor->Focused());
        EXPECT_EQ(editor->lastCommand.str(), row.line);
        EXPECT_EQ(Items(editor->commandCombo).front(), row.line);
    }
    EXPECT_EQ(editor->commandRuns.size(), std::size(kCases));
    EXPECT_EQ(Items(editor->commandCombo), (std::vector<std::string>{"shuffle", "copy  1", "so 3", "sort 3"}));
    EXPECT_TRUE(shown.boxes.empty());
}

TEST_F(RecordingEditorTest, AnUnknownWordShowsInvalidCommandAndChangesNothing) {
    TRecordingEditor* editor = PlaceFocused();
    editor->RecordEveryCommand();
    editor->commandCombo->SetText("sort 3");
    TString first("sort 3");
    editor->ExecCommand(first);
    TMessageBoxRecorder shown;
    for (const char* typed : {"xyz", "stats 1", "COPY", "copyx", "copy\t1", "", " copy"}) {
        editor->commandCombo->SetText(typed);
        editor->DoCommand();
        driver.PumpUntilIdle();
        TString line(typed);
        editor->ExecCommand(line);
        EXPECT_TRUE(editor->commandCombo->GetVisible()) << "'" << typed << "'";
        EXPECT_EQ(editor->commandCombo->GetText(), typed);
    }
    ASSERT_EQ(shown.boxes.size(), 7u);
    for (const TMessageBoxRecorder::TShown& box : shown.boxes) {
        EXPECT_EQ(box.caption, "Exec command");
        EXPECT_EQ(box.text, "Invalid command");
        EXPECT_EQ(box.style & MB_ICONMASK, UINT(MB_ICONERROR));
        EXPECT_EQ(box.style & MB_TYPEMASK, UINT(MB_OK));
    }
    EXPECT_EQ(editor->commandRuns.size(), 1u);
    EXPECT_EQ(editor->lastCommand.str(), "sort 3");
    EXPECT_EQ(Items(editor->commandCombo), std::vector<std::string>{"sort 3"});

    // Repeating after the failures runs the last line that ran.
    editor->RepeatCommand();
    ASSERT_EQ(editor->commandRuns.size(), 2u);
    EXPECT_EQ(editor->commandRuns.back().argument, "3");
    EXPECT_EQ(shown.boxes.size(), 7u);
}

TEST_F(RecordingEditorTest, RepeatingBeforeAnyCommandDoesNothing) {
    TRecordingEditor* editor = PlaceFocused();
    editor->RecordEveryCommand();
    TMessageBoxRecorder shown;
    editor->RepeatCommand();
    EXPECT_TRUE(editor->commandRuns.empty());
    EXPECT_TRUE(shown.boxes.empty());
    EXPECT_TRUE(editor->lastCommand.IsEmpty());
}

TEST_F(RecordingEditorTest, TheBoxOpensOverTheCaretCellAndStaysInsideTheClientArea) {
    TRecordingEditor* editor = PlaceFocused();
    ShowText(editor, std::vector<std::string>(100, std::string(300, 'x')));
    editor->SetVPos(10);
    editor->SetHPos(5);
    const int w = editor->GetCharWidth();
    const int h = editor->GetLineHeight();
    const int width = 2 * editor->GetWidth() / 3;
    editor->SetCursorPosX(8);
    editor->SetCursorPosY(12);
    editor->DoCommand();
    driver.PumpUntilIdle();
    TComboBox* box = editor->commandCombo;
    EXPECT_TRUE(box->GetVisible());
    EXPECT_TRUE(box->Focused());
    EXPECT_EQ(box->GetLeft(), w * 3 + editor->GetColGap());
    EXPECT_EQ(box->GetTop(), h * 2);
    EXPECT_EQ(box->GetWidth(), width);

    // Near the right edge it is pulled back to end at the client width.
    editor->SetCursorPosX(5 + (editor->GetClientWidth() - editor->GetColGap()) / w - 1);
    editor->DoCommand();
    EXPECT_EQ(box->GetLeft() + box->GetWidth(), editor->GetClientWidth());
    EXPECT_EQ(box->GetWidth(), width);
}

TEST_F(RecordingEditorTest, EnterAndEscInTheBoxActOnAFormWithDefaultAndCancelButtons) {
    AddDialogButtons();
    TRecordingEditor* editor = PlaceFocused();
    editor->RecordEveryCommand();
    editor->DoCommand();
    driver.PumpUntilIdle();
    driver.Type("sort 3");
    driver.Press(VK_RETURN);
    ASSERT_EQ(editor->commandRuns.size(), 1u);
    EXPECT_EQ(editor->commandRuns[0].argument, "3");
    EXPECT_FALSE(editor->commandCombo->GetVisible());
    EXPECT_TRUE(editor->Focused());

    editor->DoCommand();
    driver.PumpUntilIdle();
    driver.Type(" 4");
    driver.Press(VK_ESCAPE);
    EXPECT_EQ(editor->commandRuns.size(), 1u);
    EXPECT_FALSE(editor->commandCombo->GetVisible());
    EXPECT_TRUE(editor->Focused());
    EXPECT_EQ(editor->commandCombo->GetText(), " 4");  // the focus selected the old text, the typing replaced it
    EXPECT_EQ(Items(editor->commandCombo), std::vector<std::string>{"sort 3"});
    EXPECT_EQ(buttonClicks, 0);

    // A plain combo box leaves Enter to the form: the default button fires.
    auto* plain = new TComboBox(form);
    plain->SetParent(form);
    plain->SetBounds(200, 230, 100, 21);
    driver.PumpUntilIdle();
    plain->SetFocus();
    driver.Press(VK_RETURN);
    EXPECT_EQ(buttonClicks, 1);
}
