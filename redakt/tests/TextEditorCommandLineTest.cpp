// The command line: the split of a line, the lookup by prefix in table
// order, running a line (box, focus, history, last command), the "Invalid
// command" box, repeating, the box's place over the caret and its keys.
#include <algorithm>
#include <string>
#include <vector>

#include "Application.h"
#include "RecordingEditor.h"
#include "Responder.h"

namespace {

std::vector<std::string> Items(TComboBox* box) {
    std::vector<std::string> items;
    for (int i = 0; i < box->GetItems()->GetCount(); ++i) items.push_back(box->GetItems()->GetStrings(i));
    return items;
}

}  // namespace

// The command word is found by FindCommand alone: every name finds its own
// entry, and words that begin no name find none.
TEST(TextEditorCommandLine, EveryNameSelectsItsOwnEntryAndOtherWordsNone) {
    win32::TestDriver driver;
    TTextEditor editor(nullptr);
    for (int i = 0; i < editor.commands.GetCount(); ++i)
        EXPECT_EQ(FindCommand(editor.commands, editor.commands[i].name), &editor.commands[i]);
    for (const char* word : {"copyx", "COPY", "Copy", "xyz", "stats", "", "sortx", "copy\t1"})
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

// Each line runs through the box as typed: the member of the first entry its
// word begins gets the argument verbatim, the box hides, the editor has the
// focus, the box's text enters the history and the line is the last command.
TEST_F(RecordingEditorTest, EveryShortestWordAndPrefixRunsItsMemberWithTheArgumentVerbatim) {
    TRecordingEditor* editor = PlaceFocused();
    editor->RecordEveryCommand();
    TMessageBoxRecorder shown;
    using T = TTextEditor;
    const struct {
        const char* line;
        TTextEditorCommandHandler member;
        const char* argument;
    } kCases[] = {
        // The shortest word of each of the 31 commands, in table order.
        {"c", &T::CmdCopy, ""},          {"p 1", &T::CmdPaste, "1"},      {"s +2", &T::CmdSelect, "+2"},
        {"r 3", &T::CmdRepeat, "3"},     {"sec 1", &T::CmdSection, "1"},
        {"e sections 1 2", &T::CmdExchange, "sections 1 2"},
        {"n on", &T::CmdNumbers, "on"},  {"i hl", &T::CmdInsert, "hl"},   {"a ;", &T::CmdAppend, ";"},
        {"ad col", &T::CmdAdd, "col"},   {"d el", &T::CmdDelete, "el"},
        {"m strlen(line)", &T::CmdModify, "strlen(line)"},
        {"so", &T::CmdSort, ""},         {"rev par", &T::CmdReverse, "par"}, {"appl 1", &T::CmdApply, "1"},
        {"sw b0 b1", &T::CmdSwap, "b0 b1"}, {"sh", &T::CmdShuffle, ""},   {"en off", &T::CmdEnds, "off"},
        {"mt info", &T::CmdMT, "info"},  {"t word", &T::CmdToLower, "word"}, {"tou", &T::CmdToUpper, ""},
        {"ca", &T::CmdCapitalize, ""},   {"cal sum", &T::CmdCalc, "sum"}, {"cou x", &T::CmdCount, "x"},
        {"ec 1", &T::CmdECount, "1"},    {"g 5", &T::CmdGo, "5"},         {"f 1; 2", &T::CmdFor, "1; 2"},
        {"fore v=[1] insert $(v)", &T::CmdForEach, "v=[1] insert $(v)"},
        {"repl a b", &T::CmdReplace, "a b"}, {"al left", &T::CmdAlign, "left"}, {"su < >", &T::CmdSurround, "< >"},
        // Further prefixes and whole names.
        {"se 10", &T::CmdSelect, "10"},  {"co", &T::CmdCopy, ""},         {"cap", &T::CmdCapitalize, ""},
        {"fo", &T::CmdFor, ""},          {"for", &T::CmdFor, ""},         {"foreach", &T::CmdForEach, ""},
        {"rep 2", &T::CmdRepeat, "2"},   {"app x", &T::CmdAppend, "x"},   {"so 3", &T::CmdSort, "3"},
        {"sort 3", &T::CmdSort, "3"},    {"surround", &T::CmdSurround, ""},
        // The argument as it stands.
        {"copy ", &T::CmdCopy, ""},      {"copy  1", &T::CmdCopy, " 1"},  {"shuffle", &T::CmdShuffle, ""},
        {"s 1 ", &T::CmdSelect, "1 "},   {"a  ", &T::CmdAppend, " "},
    };
    std::vector<std::string> history;
    for (const auto& row : kCases) {
        editor->commandCombo->SetText(row.line);
        editor->DoCommand();
        driver.PumpUntilIdle();
        ASSERT_TRUE(editor->commandCombo->Focused());
        const size_t runs = editor->commandRuns.size();
        TString line(row.line);
        editor->ExecCommand(line);
        driver.PumpUntilIdle();
        ASSERT_EQ(editor->commandRuns.size(), runs + 1) << row.line;
        const TRecordingEditor::TCommandRun run = editor->commandRuns.back();
        ASSERT_GE(run.entry, 0);
        EXPECT_TRUE(editor->replacedHandlers[run.entry] == row.member)
            << "'" << row.line << "' ran " << editor->commands[run.entry].name.str();
        EXPECT_EQ(run.argument, row.argument) << "'" << row.line << "'";
        EXPECT_FALSE(run.boxVisible) << row.line;
        EXPECT_TRUE(run.focused) << row.line;
        EXPECT_FALSE(editor->commandCombo->GetVisible());
        EXPECT_TRUE(editor->Focused());
        EXPECT_EQ(editor->lastCommand.str(), row.line);
        if (std::find(history.begin(), history.end(), row.line) == history.end())
            history.insert(history.begin(), row.line);
        if (history.size() > 16) history.pop_back();
        EXPECT_EQ(Items(editor->commandCombo), history) << row.line;
    }
    EXPECT_TRUE(shown.boxes.empty());
}

TEST_F(RecordingEditorTest, AnUnknownWordShowsInvalidCommandAndChangesNothing) {
    TRecordingEditor* editor = PlaceFocused();
    editor->RecordEveryCommand();
    editor->commandCombo->SetText("sort 3");
    TString first("sort 3");
    editor->ExecCommand(first);
    TMessageBoxRecorder shown;
    for (const char* typed : {"xyz", "stats", "stats 1", "COPY", "copyx", "copy\t1", "", " copy"}) {
        editor->commandCombo->SetText(typed);
        editor->DoCommand();
        driver.PumpUntilIdle();
        TString line(typed);
        editor->ExecCommand(line);
        EXPECT_TRUE(editor->commandCombo->GetVisible()) << "'" << typed << "'";
        EXPECT_EQ(editor->commandCombo->GetText(), typed);
    }
    ASSERT_EQ(shown.boxes.size(), 8u);
    for (const TMessageBoxRecorder::TShown& box : shown.boxes) {
        EXPECT_EQ(box.caption, "Exec command");
        EXPECT_EQ(box.text, "Invalid command");
        EXPECT_EQ(box.style & MB_ICONMASK, UINT(MB_ICONERROR));
        EXPECT_EQ(box.style & MB_TYPEMASK, UINT(MB_OK));
    }
    EXPECT_EQ(editor->commandRuns.size(), 1u);
    EXPECT_EQ(editor->lastCommand.str(), "sort 3");
    EXPECT_EQ(Items(editor->commandCombo), std::vector<std::string>{"sort 3"});

    // Repeating after the failures runs the last line that ran, and the
    // failed line left in the box does not enter the history.
    editor->commandCombo->SetText("stats 2");
    editor->RepeatCommand();
    ASSERT_EQ(editor->commandRuns.size(), 2u);
    EXPECT_EQ(editor->commandRuns.back().argument, "3");
    EXPECT_EQ(shown.boxes.size(), 8u);
    EXPECT_EQ(Items(editor->commandCombo), std::vector<std::string>{"sort 3"});
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

// A desktop sends text for Alt chords as well; none of it is typed: Alt+C
// shows the box with its text as it was, Alt+X types nothing, Alt+Shift+C
// repeats the last command and leaves the box's text alone.
TEST_F(RecordingEditorTest, AltChordsReachKeyDownAndTypeNothingOfTheDesktopsText) {
    TRecordingEditor* editor = PlaceFocused();
    ShowText(editor, {"alpha", "beta"});
    editor->RecordEveryCommand();
    editor->commandCombo->SetText("sort 3");
    TString line("sort 3");
    editor->ExecCommand(line);
    const auto altChord = [&](std::initializer_list<UINT> held, UINT key, const char* text) {
        for (UINT modifier : held) driver.KeyDown(modifier);
        driver.KeyDown(key);
        driver.Text(text);
        driver.KeyUp(key);
        for (auto modifier = std::rbegin(held); modifier != std::rend(held); ++modifier) driver.KeyUp(*modifier);
    };
    editor->keys.clear();
    altChord({VK_LMENU}, 'C', "c");
    EXPECT_TRUE(editor->commandCombo->GetVisible());
    EXPECT_TRUE(editor->commandCombo->Focused());
    EXPECT_EQ(editor->commandCombo->GetText(), "sort 3");
    driver.Press(VK_ESCAPE);
    ASSERT_TRUE(editor->Focused());
    altChord({VK_LMENU}, 'X', "x");
    altChord({VK_LMENU, VK_LSHIFT}, 'C', "C");
    EXPECT_EQ(editor->commandRuns.size(), 2u);
    EXPECT_EQ(editor->commandCombo->GetText(), "sort 3");
    EXPECT_EQ(editor->lines[0].str(), "alpha");
    EXPECT_EQ(editor->lines[1].str(), "beta");
    EXPECT_TRUE(editor->characters.empty());
    const auto pressed = [&](WORD key, bool shift) {
        return std::count(editor->keys.begin(), editor->keys.end(), TRecordingEditor::TKey{key, shift, false, true});
    };
    EXPECT_EQ(pressed('C', false), 1);
    EXPECT_EQ(pressed('X', false), 1);
    EXPECT_EQ(pressed('C', true), 1);
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

// The keys are queued without pumping and then taken by the application's
// own loop, which routes dialog keys as a running program does.
TEST_F(RecordingEditorTest, EnterAndEscInTheBoxActOnAFormWithDefaultAndCancelButtons) {
    AddDialogButtons();
    TRecordingEditor* editor = PlaceFocused();
    editor->RecordEveryCommand();
    driver.SetAutoPump(false);
    const auto typeAndPress = [&](const char* text, UINT key) {
        driver.Type(text);
        driver.KeyDown(key);
        driver.KeyUp(key);
        Application->ProcessMessages();
    };
    editor->DoCommand();
    Application->ProcessMessages();
    typeAndPress("sort 3", VK_RETURN);
    ASSERT_EQ(editor->commandRuns.size(), 1u);
    EXPECT_EQ(editor->commandRuns[0].argument, "3");
    EXPECT_FALSE(editor->commandCombo->GetVisible());
    EXPECT_TRUE(editor->Focused());

    editor->DoCommand();
    Application->ProcessMessages();
    typeAndPress(" 4", VK_ESCAPE);
    EXPECT_EQ(editor->commandRuns.size(), 1u);
    EXPECT_FALSE(editor->commandCombo->GetVisible());
    EXPECT_TRUE(editor->Focused());
    EXPECT_EQ(editor->commandCombo->GetText(), " 4");  // the focus selected the old text, the typing replaced it
    EXPECT_EQ(Items(editor->commandCombo), std::vector<std::string>{"sort 3"});
    EXPECT_EQ(buttonClicks, 0);

    // A plain combo box leaves Enter and Esc to the form: the buttons fire.
    auto* plain = new TComboBox(form);
    plain->SetParent(form);
    plain->SetBounds(200, 230, 100, 21);
    Application->ProcessMessages();
    plain->SetFocus();
    Application->ProcessMessages();
    typeAndPress("", VK_RETURN);
    EXPECT_EQ(buttonClicks, 1);
    typeAndPress("", VK_ESCAPE);
    EXPECT_EQ(buttonClicks, 2);
}
