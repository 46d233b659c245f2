// The command frame: compiling a command's expression and the "Wrong
// expression" box, the working range and the paragraph, the texts and line
// blocks a command names, the ASCII table around the caret, the result
// dialogs, the history of the editor's combo boxes and the dialogs' help
// handler.
#include <string>
#include <utility>
#include <vector>

#include "Buttons.h"
#include "ComboBox.h"
#include "Edit.h"
#include "GroupControls.h"
#include "Label.h"
#include "Langtable.h"
#include "RecordingEditor.h"
#include "TextEditorFunctions.h"
#include "TextEditorGoToLineDlg.h"
#include "TextEditorPackage.h"
#include "TextEditorResultDlgs.h"
#include "TextEditorTexts.h"

namespace {

// Forms of the classes the help handler knows by name (the dialogs of other
// units; a namespace of their own keeps them apart from those), and one
// derived from the go-to-line dialog.
namespace dialogs {
class TTextEditorSearchDlg : public TForm {
    CLASSLIB_CLASS(TTextEditorSearchDlg, TForm)
public:
    TTextEditorSearchDlg() : TForm(nullptr, 1) {}
};
class TTextEditorReplaceDlg : public TForm {
    CLASSLIB_CLASS(TTextEditorReplaceDlg, TForm)
public:
    TTextEditorReplaceDlg() : TForm(nullptr, 1) {}
};
class TTextEditorSetupDlg : public TForm {
    CLASSLIB_CLASS(TTextEditorSetupDlg, TForm)
public:
    TTextEditorSetupDlg() : TForm(nullptr, 1) {}
};
class TTextEditorMacroListDlg : public TForm {
    CLASSLIB_CLASS(TTextEditorMacroListDlg, TForm)
public:
    TTextEditorMacroListDlg() : TForm(nullptr, 1) {}
};
}  // namespace dialogs
class TOwnGoToLineDlg : public TTextEditorGoToLineDlg {
    CLASSLIB_CLASS(TOwnGoToLineDlg, TTextEditorGoToLineDlg)
public:
    TOwnGoToLineDlg() : TTextEditorGoToLineDlg(nullptr) {}
};

// A button named btnHelp on the form, inside a group box when nested.
TButton* HelpButtonOn(TForm& form, bool nested) {
    TWinControl* parent = &form;
    if (nested) {
        auto* box = new TGroupBox(&form);
        box->SetParent(&form);
        parent = box;
    }
    auto* button = new TButton(&form);
    button->SetParent(parent);
    button->SetName("btnHelp");
    return button;
}

}  // namespace

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

TEST(CommandFrameTest, TheHelpHandlerReportsTheDialogThatHoldsTheSender) {
    win32::TestDriver driver;
    TTextEditor editor(nullptr);
    std::vector<TTextEditorDlg> reported;
    dialogs::TTextEditorSearchDlg search;
    dialogs::TTextEditorReplaceDlg replace;
    dialogs::TTextEditorSetupDlg setup;
    dialogs::TTextEditorMacroListDlg macroList;
    TOwnGoToLineDlg goToLine;
    TForm plain(nullptr, 1);
    const std::pair<TObject*, std::vector<TTextEditorDlg>> kSenders[] = {
        {HelpButtonOn(search, false), {dlgSearch}},
        {HelpButtonOn(replace, false), {dlgReplace}},
        {goToLine.btnHelp, {dlgGoToLine}},
        {HelpButtonOn(setup, true), {dlgSettings}},
        {HelpButtonOn(macroList, true), {dlgMacroList}},
        {goToLine.btnOk, {}},  // another control of a known dialog
        {HelpButtonOn(plain, false), {}},
        {&search, {}},
        {nullptr, {}},
    };
    for (const auto& [sender, expected] : kSenders) {
        reported.clear();
        editor.DlgHelpHandler(sender);
        EXPECT_TRUE(reported.empty()) << "no handler: nothing";
        editor.OnDlgHelp = [&](TTextEditor* who, TTextEditorDlg dialog) {
            EXPECT_EQ(who, &editor);
            reported.push_back(dialog);
        };
        editor.DlgHelpHandler(sender);
        EXPECT_EQ(reported, expected);
        editor.OnDlgHelp = nullptr;
    }
}

TEST_F(EditorTest, ExpressionsCompileOnTheLineVariablesAndABadOneIsReported) {
    TTextEditor* editor = Place();
    ShowText(editor, {"alpha|beta", "gamma"});
    TMessageBoxRecorder shown;
    TExpression expression;
    ASSERT_TRUE(editor->CreateExpression(TString("strlen(line)"), expression));
    editor->runtimeVars.NewLine(0, editor->selection, editor->lines[0]);
    EXPECT_EQ(expression.EvalS().str(), "10");
    TVariableList own;
    own.NewString(TString("s"), false, TString("a;b;c"));
    ASSERT_TRUE(editor->CreateExpression(TString("strtok(s, ';', 1)"), expression, &own));
    EXPECT_EQ(expression.EvalS().str(), "b");
    EXPECT_TRUE(shown.boxes.empty());

    TLangTable* table = GetTextEditorLangTable();
    ASSERT_NE(table, nullptr);
    const int previous = table->GetLang();
    const struct {
        int language;
        const char* text;
        const char* caption;
    } kLanguages[] = {{0, "Wrong expression", "Expression"}, {1, "Hib\xE1s kifejez\xE9s", "Kifejez\xE9s"}};
    for (const auto& language : kLanguages) {
        table->SetLang(language.language);
        for (const char* bad : {"strlen(line", "strtok(line, '|'", "1 +"}) {
            shown.boxes.clear();
            EXPECT_FALSE(editor->CreateExpression(TString(bad), expression)) << bad;
            EXPECT_FALSE(expression.Valid()) << bad;
            ASSERT_EQ(shown.boxes.size(), 1u) << bad;
            EXPECT_EQ(shown.boxes[0].text, std::string(language.text) + ": " + bad);
            EXPECT_EQ(shown.boxes[0].caption, language.caption);
            EXPECT_EQ(shown.boxes[0].style & MB_ICONMASK, UINT(MB_ICONERROR));
            EXPECT_EQ(shown.boxes[0].style & MB_TYPEMASK, UINT(MB_OK));
        }
    }
    table->SetLang(previous);
    EXPECT_EQ(TextOf(editor->lines), (std::vector<std::string>{"alpha|beta", "gamma"}));
    EXPECT_FALSE(editor->GetModified());
}

TEST(CommandFrameTest, AParagraphIsTheFilledLinesAboveAndBelowTheLine) {
    win32::TestDriver driver;
    TTextEditor editor(nullptr);
    //                  0    1    2   3    4    5   6   7   8
    SetLines(editor, {"a", "b", "", "c", "d", "", "", "", "f"});
    const struct {
        int line, first, last;
    } kCases[] = {
        {0, 0, 1}, {1, 0, 1}, {3, 3, 4}, {8, 8, 8},
        {2, 0, 4},    // an empty line between two paragraphs takes in both
        {6, 6, 6},    // an isolated empty line stands alone
        {7, 7, 8},    // an empty line takes in the paragraph below it
        {20, 20, 20}, // past the end: nothing joins
    };
    for (const auto& row : kCases) {
        int first = -9, last = -9;
        editor.GetParagraphLines(row.line, first, last);
        EXPECT_EQ(first, row.first) << "line " << row.line;
        EXPECT_EQ(last, row.last) << "line " << row.line;
    }
    editor.SetCursorPosY(4);
    int first = -9, last = -9;
    editor.GetParagraphLines(first, last);
    EXPECT_EQ(first, 3);
    EXPECT_EQ(last, 4);
}

TEST(CommandFrameTest, TextNamesAreTheLinesOrABufferSpelledExactly) {
    win32::TestDriver driver;
    TTextEditor editor(nullptr);
    const struct {
        const char* name;
        TStringContainer* target;
    } kCases[] = {
        {"text", &editor.lines},       {"b0", &editor.buffers[0]},   {"buf5", &editor.buffers[5]},
        {"buffer9", &editor.buffers[9]}, {"buffer10", nullptr},      {"buf", nullptr},
        {"Text", nullptr},             {"B1", nullptr},              {"b 1", nullptr},
        {"b1 ", nullptr},              {"bx", nullptr},              {"", nullptr},
    };
    TStringContainer untouched;
    for (const auto& row : kCases) {
        TStringContainer* target = &untouched;
        EXPECT_EQ(editor.IsText(TString(row.name), target), row.target != nullptr) << "'" << row.name << "'";
        EXPECT_EQ(target, row.target != nullptr ? row.target : &untouched) << "'" << row.name << "'";
    }
}

TEST(CommandFrameTest, LineBlocksLieAroundTheSelectionOrTheCaretAndInsideTheText) {
    win32::TestDriver driver;
    TTextEditor editor(nullptr);
    SetLines(editor, std::vector<std::string>(10, "line"));
    const struct {
        int selStart, selEnd, caret;
        const char* name;
        bool found;
        int first, last;
    } kCases[] = {
        {0, 0, 4, "cur", true, 4, 4},    {0, 0, 4, "prev", true, 3, 3},  {0, 0, 4, "next", true, 5, 5},
        {0, 0, 0, "prev", false, -1, -1}, {0, 0, 9, "next", false, 10, 10}, {0, 0, 9, "cur", true, 9, 9},
        {3, 6, 0, "cur", true, 3, 5},    {3, 6, 0, "prev", true, 0, 2},  {3, 6, 0, "next", true, 6, 8},
        {2, 5, 0, "prev", false, -1, 1},  // would start above line 0
        {5, 8, 0, "next", false, 8, 10},  // ends two lines before the end: would pass the last line
        {4, 7, 0, "next", true, 7, 9},
        {0, 0, 4, "current", false, -9, -9}, {3, 6, 4, "Cur", false, -9, -9}, {0, 0, 4, "", false, -9, -9},
    };
    for (const auto& row : kCases) {
        editor.selection = TTextEditorSelection{0, 0, 0, row.selStart, row.selEnd};
        editor.SetCursorPosY(row.caret);
        int first = -9, last = -9;
        const std::string what = std::string(row.name) + " from block " + std::to_string(row.selStart) + "-" +
                                 std::to_string(row.selEnd) + ", caret " + std::to_string(row.caret);
        EXPECT_EQ(editor.IsLine(TString(row.name), first, last), row.found) << what;
        EXPECT_EQ(first, row.first) << what;
        EXPECT_EQ(last, row.last) << what;
    }
}

TEST(CommandFrameTest, ATableLineIsABorderARowOrNeither) {
    win32::TestDriver driver;
    TTextEditor editor(nullptr);
    const struct {
        const char* line;
        int kind;
    } kCases[] = {
        {"  +---+", 2}, {"  +-+-+", 2}, {"  +---+ more", 2}, {"  |   |", 1}, {"  + x +", 1}, {"  |---+", 1},
        {"  +---|", 1}, {"  |   x", 0}, {"  x   |", 0}, {"  |  |", 0},  // too short to reach the right column
        {"", 0},        {"  |", 0},
    };
    for (const auto& row : kCases) {
        RECT rect{2, 0, 6, 0};
        TString line(row.line);
        EXPECT_EQ(editor.CheckTableLine(rect, line), row.kind) << "'" << row.line << "'";
    }
}

TEST(CommandFrameTest, TheTableRectReachesTheOuterBordersPastInnerOnes) {
    win32::TestDriver driver;
    TTextEditor editor(nullptr);
    using Lines = std::vector<std::string>;
    const Lines box = {"text above",  "+----+----+", "| a  | b  |", "+----+----+",
                       "| c  | d  |", "+----+----+", "| e  | f  |", "+----+----+", "text below"};
    const struct {
        Lines text;
        int caret;
        bool found;
        RECT rect;
    } kCases[] = {
        {box, 4, true, {0, 1, 10, 7}},
        {box, 2, true, {0, 1, 10, 7}},
        {box, 6, true, {0, 1, 10, 7}},
        {box, 3, false, {}},                                              // a border line has no '|'
        {box, 0, false, {}},                                              // no '|' on the caret line
        {{"+--+", "|ab|", "+--+"}, 1, true, {0, 0, 3, 2}},                 // the borders are the first and last lines
        {{"x | a | y"}, 0, false, {}},                                    // no line above
        {{"| a | b |", "+---+---+", "| c | d |", "+---+---+"}, 2, false, {}},  // no top border
        {{"+---+---+", "| a | b |", "+---+---+", "| c | d |"}, 1, false, {}},  // no bottom border
        {{"+---+", "| a |", "text", "| b |", "+---+"}, 3, false, {}},      // a line that is no table line
        {{"  +-+--+", "  |x|  |", "  +-+--+"}, 1, true, {2, 0, 7, 2}},
    };
    for (const auto& row : kCases) {
        SetLines(editor, row.text);
        editor.SetCursorPosY(row.caret);
        RECT rect{-5, -5, -5, -5};
        const std::string what = row.text[0] + ".. caret on " + std::to_string(row.caret);
        ASSERT_EQ(editor.GetTableRect(rect), row.found) << what;
        const RECT expected = row.found ? row.rect : RECT{-5, -5, -5, -5};
        EXPECT_EQ(rect.left, expected.left) << what;
        EXPECT_EQ(rect.top, expected.top) << what;
        EXPECT_EQ(rect.right, expected.right) << what;
        EXPECT_EQ(rect.bottom, expected.bottom) << what;
    }
    SetLines(editor, {});
    RECT rect{};
    EXPECT_FALSE(editor.GetTableRect(rect));
}

TEST_F(EditorTest, TheCalcResultShowsItsTextSelectedInTheFocusedBox) {
    TTextEditor* editor = Place();
    TTextEditorCalcResultDlg* dialog = SharedCalcResultDlg();
    ASSERT_NE(dialog, nullptr);
    for (const std::string text : {"12345.678", ""}) {
        int forms = 0;
        win32::ScopedResponder responder([&](const win32::ModalInteraction& interaction) {
            if (interaction.kind != win32::ModalKind::Form) return win32::ModalReply::Answer(IDOK);
            ++forms;
            EXPECT_EQ(interaction.window, dialog->GetHandle());
            EXPECT_EQ(dialog->edResult->GetText(), text);
            EXPECT_EQ(dialog->edResult->GetSelStart(), 0);
            EXPECT_EQ(dialog->edResult->GetSelLength(), static_cast<int>(text.size()));
            EXPECT_TRUE(dialog->edResult->Focused());
            // Centred over the editor.
            POINT origin{editor->GetLeft(), editor->GetTop()};
            ClientToScreen(form->GetHandle(), &origin);
            EXPECT_EQ(dialog->GetLeft(), origin.x + (editor->GetWidth() - dialog->GetWidth()) / 2);
            EXPECT_EQ(dialog->GetTop(), origin.y + (editor->GetHeight() - dialog->GetHeight()) / 2);
            dialog->btnOk->Click();
            return win32::ModalReply::Run();
        });
        editor->ShowCalcResult(TString(text));
        EXPECT_EQ(forms, 1);
        EXPECT_FALSE(dialog->GetVisible());
    }
}

TEST_F(EditorTest, TheResultDialogsComeFromTheirFormsOnceForEveryEditor) {
    // Registering a slot's factory again frees its form: the next Init makes it.
    for (TTextEditorSharedForm slot : {TTextEditorSharedForm::CalcResult, TTextEditorSharedForm::ApplyResult}) {
        RegisterTextEditorForm(slot, RegisterTextEditorForm(slot, nullptr));
        ASSERT_EQ(GetTextEditorSharedForm(slot), nullptr);
    }
    TTextEditor* first = Place();
    auto* calc = dynamic_cast<TTextEditorCalcResultDlg*>(GetTextEditorSharedForm(TTextEditorSharedForm::CalcResult));
    auto* apply = dynamic_cast<TTextEditorApplyResultDlg*>(GetTextEditorSharedForm(TTextEditorSharedForm::ApplyResult));
    ASSERT_NE(calc, nullptr);
    ASSERT_NE(apply, nullptr);
    EXPECT_EQ(SharedCalcResultDlg(), calc);
    EXPECT_EQ(SharedApplyResultDlg(), apply);
    TTextEditor* second = Place();
    EXPECT_EQ(SharedCalcResultDlg(), calc);
    EXPECT_EQ(SharedApplyResultDlg(), apply);
    delete first;
    delete second;
    EXPECT_EQ(SharedCalcResultDlg(), calc) << "the forms outlive the editors";

    // The label "Result:" of the calc dialog has no name of its own.
    const auto labelOf = [](TForm& form) -> TLabel* {
        for (int i = 0; i < form.GetComponentCount(); ++i)
            if (auto* label = dynamic_cast<TLabel*>(form.GetComponent(i))) return label;
        return nullptr;
    };
    const auto hasBevel = [](TForm& form) {
        for (int i = 0; i < form.GetComponentCount(); ++i)
            if (dynamic_cast<TBevel*>(form.GetComponent(i)) != nullptr) return true;
        return false;
    };
    const struct {
        TForm* form;
        const char* caption;
        TEdit* edit;
        TButton* button;
        const char* buttonCaption;
    } kDialogs[] = {
        {calc, "calc result", calc->edResult, calc->btnOk, "&Ok"},
        {apply, "Apply result", apply->edResult, apply->btnClose, "Close"},
    };
    for (const auto& row : kDialogs) {
        EXPECT_EQ(row.form->GetCaption(), row.caption);
        ASSERT_NE(row.edit, nullptr) << row.caption;
        ASSERT_NE(row.button, nullptr) << row.caption;
        ASSERT_NE(labelOf(*row.form), nullptr) << row.caption;
        EXPECT_EQ(labelOf(*row.form)->GetCaption(), "Result:");
        EXPECT_TRUE(hasBevel(*row.form)) << row.caption;
        EXPECT_EQ(row.button->GetCaption(), row.buttonCaption);
        EXPECT_TRUE(row.button->GetDefault());
        EXPECT_TRUE(row.button->GetCancel());
        EXPECT_EQ(row.button->GetModalResult(), mrOk);
        EXPECT_FALSE(static_cast<bool>(row.button->OnClick)) << row.caption << " has no handlers";
        // Enter and Esc both close it with OK.
        for (UINT key : {VK_RETURN, VK_ESCAPE}) {
            win32::ScopedResponder responder([&](const win32::ModalInteraction&) {
                driver.SetAutoPump(false);
                driver.Press(key);
                return win32::ModalReply::Run();
            });
            row.form->SetActiveControl(row.edit);
            EXPECT_EQ(row.form->ShowModal(), mrOk) << row.caption << " key " << key;
            driver.SetAutoPump(true);
        }
    }
    EXPECT_EQ(apply->lbResult, labelOf(*apply));
}
