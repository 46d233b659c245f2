// The editor's tools: numbering, HTML tag case, the Java method list and its
// click, the search-all click over a text that shrank, the column statistics
// with their options dialog (through the responder), the help view with its
// carets, undo and saving, and the language switch.
#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "Application.h"
#include "Buttons.h"
#include "ComboBox.h"
#include "Langtable.h"
#include "Label.h"
#include "ListBox.h"
#include "RedaktFixture.h"
#include "Responder.h"
#include "TextEditorGoToLineDlg.h"
#include "TextEditorLineInsertTextDlg.h"
#include "TextEditorMacroDlgs.h"
#include "TextEditorPackage.h"
#include "TextEditorStatSetupDlg.h"
#include "TextEditorTexts.h"

namespace {

// A control of class T on (and owned by) form.
template <class T>
T* Child(TForm* form, int left, int top, int width, int height) {
    T* control = new T(form);
    control->SetParent(form);
    control->SetBounds(left, top, width, height);
    return control;
}

// The shared forms SetLang translates, in its order.
const TTextEditorSharedForm kTranslatedForms[] = {
    TTextEditorSharedForm::Setup,         TTextEditorSharedForm::GoToLine,
    TTextEditorSharedForm::Search,        TTextEditorSharedForm::Replace,
    TTextEditorSharedForm::ReplacePrompt, TTextEditorSharedForm::MacroName,
    TTextEditorSharedForm::SelectParamMacro, TTextEditorSharedForm::LineInsertText,
};

// The texts of the controls (the form included) that carry a language id,
// by id; lists and combo boxes, whose ids name their items, are left out.
std::map<int, std::string> TaggedTexts(TComponent* component) {
    std::map<int, std::string> texts;
    auto* control = dynamic_cast<TControl*>(component);
    const bool itemList = dynamic_cast<TCustomComboBox*>(component) || dynamic_cast<TCustomListBox*>(component);
    if (control != nullptr && !itemList && component->GetTag() != 0)
        texts[static_cast<int>(component->GetTag())] = control->GetText();
    for (int i = 0; i < component->GetComponentCount(); ++i)
        texts.merge(TaggedTexts(component->GetComponent(i)));
    return texts;
}

struct TBox {
    std::string caption, text;
    bool errorIcon;
};

// An editor on the fixture's form; the message boxes its tools show are
// answered and kept.
class ToolsTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        editor = Place();
        responder = std::make_unique<win32::ScopedResponder>([this](const win32::ModalInteraction& interaction) {
            if (interaction.kind != win32::ModalKind::MessageBox) return win32::ModalReply::Run();
            boxes.push_back({interaction.caption, interaction.text, (interaction.style & MB_ICONERROR) == MB_ICONERROR});
            return win32::ModalReply::Answer(IDOK);
        });
    }
    void TearDown() override {
        responder.reset();
        EditorTest::TearDown();
    }
    void Numbered(int count, int mode) {
        SetLines(*editor, std::vector<std::string>(count, "x"));
        editor->SelectLines(0, count - 1);
        editor->DoEnumeration(mode);
    }

    TTextEditor* editor = nullptr;
    std::unique_ptr<win32::ScopedResponder> responder;
    std::vector<TBox> boxes;
};

}  // namespace

TEST_F(ToolsTest, NumberingPrefixesTheSelectedLinesByModeWithoutAnUndoRecord) {
    const struct {
        int count, mode;
        std::vector<std::string> some;  // the first lines, then the last
    } kRuns[] = {
        {3, 2, {"1. x", "2. x", "3. x"}},
        {3, 1, {" - x", " - x", " - x"}},
        {14, 3, {"I. x", "II. x", "III. x", "IV. x", "IX. x", "X. x", "XIV. x"}},
        {99, 3, {"I. x", "XCIX. x"}},
        {2, 7, {"x", "x"}},
    };
    for (const auto& run : kRuns) {
        editor->SetModified(false);
        Numbered(run.count, run.mode);
        const std::vector<std::string> text = TextOf(editor->lines);
        std::vector<std::string> some(text.begin(), text.begin() + long(run.some.size()) - 1);
        if (run.count == 14) some = {text[0], text[1], text[2], text[3], text[8], text[9]};
        some.push_back(text.back());
        EXPECT_EQ(some, run.some) << run.count << " lines, mode " << run.mode;
        EXPECT_TRUE(editor->GetModified());
    }
    EXPECT_EQ(editor->undoItems.GetCount(), 0);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ToolsTest, NumberingRefusesNoSelectionAndRomanNumbersBeyond99) {
    Numbered(100, 3);
    SetLines(*editor, {"a", "b"});
    editor->SelectChars(0, 1, 0);  // characters are no selected lines
    editor->SetModified(false);
    editor->DoEnumeration(2);
    EXPECT_EQ(TextOf(editor->lines), (std::vector<std::string>{"a", "b"}));
    EXPECT_FALSE(editor->GetModified());
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "Too big range");
    EXPECT_EQ(boxes[0].caption, "Roman numbering");
    EXPECT_EQ(boxes[1].text, "No selected text");
    EXPECT_EQ(boxes[1].caption, "Numbering");
    EXPECT_TRUE(boxes[0].errorIcon && boxes[1].errorIcon);
}

TEST_F(ToolsTest, HtmlCaseChangesTagsOnlyWhenTheTextIsHtml) {
    const std::vector<std::string> page = {"<p class=\"Big\">Some Text</p>", "<Br>"};
    SetLines(*editor, page);
    editor->SetModified(false);
    editor->ConvertHtmlCase(true);
    EXPECT_EQ(TextOf(editor->lines), page);
    EXPECT_FALSE(editor->GetModified());
    editor->syntaxLanguage = 3;
    editor->ConvertHtmlCase(true);
    EXPECT_EQ(TextOf(editor->lines), (std::vector<std::string>{"<P CLASS=\"Big\">Some Text</P>", "<BR>"}));
    EXPECT_TRUE(editor->GetModified());
    editor->ConvertHtmlCase(false);
    EXPECT_EQ(TextOf(editor->lines), (std::vector<std::string>{"<p class=\"Big\">Some Text</p>", "<br>"}));
}

TEST_F(ToolsTest, TheMethodListNamesClassesOnlyWhenThereAreSeveralAndAClickGoesToTheMethod) {
    TForm* mainForm = new TForm(Application, 1);
    Application->AdoptForm(mainForm);
    ASSERT_EQ(Application->GetMainForm(), mainForm);
    mainForm->SetBounds(60, 60, 500, 400);
    auto* java = Child<TTextEditor>(mainForm, 0, 0, 300, 300);
    auto* other = Child<TButton>(mainForm, 320, 0, 60, 25);
    auto* list = Child<TListBox>(mainForm, 320, 40, 150, 200);
    mainForm->Show();
    mainForm->SetActiveControl(other);
    driver.PumpUntilIdle();

    std::vector<std::string> source = {"class Shape {", "  void draw(int x, String s) {", "  }", "}",
                                       "class Circle {"};
    for (int i = 0; i < 40; ++i) source.push_back("");
    source.insert(source.end(), {"  int area() {", "    return 0;", "  }", "}"});
    ShowText(java, source);
    java->SetCursorPosX(5);
    java->Parse(list);
    std::vector<std::string> entries;
    for (int i = 0; i < list->GetCount(); ++i) entries.push_back(list->GetItems()->GetStrings(i));
    EXPECT_EQ(entries, (std::vector<std::string>{"Shape::draw(int, String)", "Circle::area()"}));
    list->SetItemIndex(1);
    ASSERT_TRUE(static_cast<bool>(list->OnClick));
    list->OnClick(list);
    EXPECT_EQ(java->GetCurLine(), 45);
    EXPECT_EQ(java->GetCurCol(), 0);
    EXPECT_EQ(mainForm->GetActiveControl(), java);

    // A one-class text; an editor on a form that is not the main one leaves
    // the main form's active control alone.
    ShowText(editor, {"class Solo {", "  void run() {}", "}"});
    list->Clear();
    editor->Parse(list);
    ASSERT_EQ(list->GetCount(), 1);
    EXPECT_EQ(list->GetItems()->GetStrings(0), "run()");
    mainForm->SetActiveControl(other);
    list->SetItemIndex(0);
    list->OnClick(list);
    EXPECT_EQ(editor->GetCurLine(), 1);
    EXPECT_EQ(mainForm->GetActiveControl(), other);
    delete mainForm;
    EXPECT_EQ(Application->GetMainForm(), nullptr);
}

// Rows: header, one per hit, the count. The text shrinks below the second
// hit: its click removes its row and rewrites the count, so that the third
// row's click still reaches the third hit's line.
TEST_F(ToolsTest, ASearchAllHitWhoseLineIsGoneLeavesWithItsRow) {
    TForm* resultsForm = new TForm(nullptr, 1);
    resultsForm->SetBounds(500, 50, 200, 200);
    auto* list = Child<TListBox>(resultsForm, 0, 0, 180, 180);
    for (const char* row : {"Search: x", "2: x", "40: x", "5: x", "Matching lines: 3"}) list->GetItems()->Add(row);
    list->OnClick = [this](TObject* sender) { editor->OnSearchAllOnClick(sender); };
    TTextEditorSearchResult* result = editor->searchResults.NewItem();
    result->listBox = list;
    for (int line : {2, 40, 5}) result->hitLines.Add(line);
    ShowText(editor, std::vector<std::string>(10, "x"));
    editor->SetFocus();

    const auto click = [&](int row) {
        list->SetItemIndex(row);
        list->OnClick(list);
    };
    click(1);
    EXPECT_EQ(editor->GetCurLine(), 2);
    EXPECT_TRUE(resultsForm->GetVisible()) << "the list's form is brought forward";
    EXPECT_EQ(form->GetActiveControl(), editor);
    click(2);
    EXPECT_EQ(editor->GetCurLine(), 2);
    std::vector<std::string> rows;
    for (int i = 0; i < list->GetCount(); ++i) rows.push_back(list->GetItems()->GetStrings(i));
    EXPECT_EQ(rows, (std::vector<std::string>{"Search: x", "2: x", "5: x", "Matching lines: 2"}));
    EXPECT_EQ(result->hitLines.GetCount(), 2);
    click(2);
    EXPECT_EQ(editor->GetCurLine(), 5);
    click(0);
    click(3);
    EXPECT_EQ(editor->GetCurLine(), 5);
    EXPECT_EQ(list->GetCount(), 4);
    delete resultsForm;
}

TEST_F(ToolsTest, ColumnStatisticsSumAndAverageTheFieldsThatReadAsNumbers) {
    editor->statColumn = 1;
    editor->statSeparator = '|';
    const struct {
        std::vector<std::string> text;
        int count;
        double sum;
    } kTexts[] = {
        {{"a|2.5", "b|x", "c"}, 1, 2.5},
        {{"a|1.17549435e-38", "b| 4", "c|3kg|9", "||"}, 3, 7.0 + 1.17549435e-38},
        {{"only", "", "x|"}, 0, 0},
    };
    for (const auto& row : kTexts) {
        SetLines(*editor, row.text);
        int count = -1;
        EXPECT_EQ(editor->CalcStatSum(count), row.sum);
        EXPECT_EQ(count, row.count);
    }
    SetLines(*editor, {"a|2.5", "b|x", "c"});
    editor->StatSum();
    editor->StatAve();
    SetLines(*editor, {"a|1", "b|2", "c|3", "d|4"});
    editor->SelectLines(1, 2);
    editor->StatAve();
    editor->statColumn = -1;
    editor->StatAve();
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_EQ(boxes[0].caption, "Sum");
    EXPECT_EQ(boxes[0].text, "The sum is: 2.500");
    EXPECT_EQ(boxes[1].caption, "Average");
    EXPECT_EQ(boxes[1].text, "The average is: 2.500");
    EXPECT_EQ(boxes[2].text, "The average is: 2.500");
    EXPECT_EQ(boxes[3].text, "There are no valid lines");
    EXPECT_FALSE(boxes[0].errorIcon);
}

TEST_F(ToolsTest, ALongColumnSumsInDoubleArithmetic) {
    TStringContainer column;
    double expected = 0;
    for (int i = 0; i < 100000; ++i) {
        column.Add(TString("0.1"));
        expected += 0.1;
    }
    editor->lines = column;
    editor->statColumn = 0;
    int count = 0;
    EXPECT_EQ(editor->CalcStatSum(count), expected);
    EXPECT_EQ(count, 100000);
    editor->StatSum();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "The sum is: 10000.000");
}

TEST_F(ToolsTest, TheOptionsDialogSetsTheColumnAndTheSeparatorOnOk) {
    TTextEditorStatSetupDlg* dialog = SharedStatSetupDlg();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->GetCaption(), "Statistics options");
    std::vector<std::string> separators;
    for (int i = 0; i < dialog->cmbSep->GetItems()->GetCount(); ++i)
        separators.push_back(dialog->cmbSep->GetItems()->GetStrings(i));
    EXPECT_EQ(separators, (std::vector<std::string>{"',' <comma>", "' ' <space>", "'|' <pipe>", "'/' <slash>",
                                                    "'\\' <backslash>", "':' <colon>", "';' <semicolon>",
                                                    "'.' <dot>", "'*' <asterisk>"}));
    EXPECT_EQ(dialog->cmbCol->GetText(), "0");
    EXPECT_EQ(dialog->cmbCol->GetItems()->GetCount(), 11);
    EXPECT_EQ(editor->statSeparator, ',');
    EXPECT_EQ(editor->statColumn, 0);

    const struct {
        const char* column;
        int separator;
        bool ok;
        int wantColumn;
        char wantSeparator;
    } kAnswers[] = {
        {"3", 2, true, 3, '|'},     {"7", 5, false, 3, '|'}, {" 12 cm", 4, true, 12, '\\'},
        {"none", 1, true, 12, ' '}, {"-2", 8, true, -2, '*'},
    };
    RECT placed{};
    for (const auto& answer : kAnswers) {
        win32::ScopedResponder dialogResponder([&](const win32::ModalInteraction& interaction) {
            EXPECT_EQ(interaction.kind, win32::ModalKind::Form);
            placed = RECT{dialog->GetLeft(), dialog->GetTop(), dialog->GetWidth(), dialog->GetHeight()};
            dialog->cmbCol->SetText(answer.column);
            dialog->cmbSep->SetItemIndex(answer.separator);
            (answer.ok ? dialog->btnOk : dialog->btnCancel)->Click();
            return win32::ModalReply::Run();
        });
        editor->StatOptions();
        EXPECT_EQ(editor->statColumn, answer.wantColumn) << answer.column;
        EXPECT_EQ(editor->statSeparator, answer.wantSeparator) << answer.column;
    }
    // Centred over the editor, in screen coordinates.
    const POINT corner = form->ClientToScreen(POINT{editor->GetLeft(), editor->GetTop()});
    EXPECT_EQ(placed.left, corner.x + (editor->GetWidth() - placed.right) / 2);
    EXPECT_EQ(placed.top, corner.y + (editor->GetHeight() - placed.bottom) / 2);
}

TEST_F(ToolsTest, HelpSwapsTextsWithTheirOwnCaretsAndEmptiesTheUndoStackEachTime) {
    ASSERT_GT(editor->helpText.GetCount(), 5);
    const std::vector<std::string> help = TextOf(editor->helpText);
    const std::vector<std::string> text = {"one", "two", "three", "four"};
    ShowText(editor, text);
    editor->SetFocus();
    editor->GoTo(2, 3);
    editor->SelectLines(1, 2);
    editor->AddUndoItem(utTyping, 0, 0);
    ASSERT_EQ(editor->undoItems.GetCount(), 1);

    editor->Help();
    EXPECT_TRUE(editor->helpShown);
    EXPECT_EQ(TextOf(editor->lines), help);
    EXPECT_EQ(editor->undoItems.GetCount(), 0);
    EXPECT_EQ(editor->GetCurLine(), 0);
    EXPECT_EQ(editor->selection.selStartLine, editor->selection.selEndLine);
    editor->GoTo(1, 5);
    editor->AddUndoItem(utTyping, 5, 5);
    editor->Undo();  // an undo in the help writes only the help
    editor->AddUndoItem(utTyping, 5, 5);

    editor->Help();
    EXPECT_FALSE(editor->helpShown);
    EXPECT_EQ(TextOf(editor->lines), text);
    EXPECT_EQ(TextOf(editor->helpText), help);
    EXPECT_EQ(editor->undoItems.GetCount(), 0);
    EXPECT_EQ(editor->GetCurLine(), 3);
    EXPECT_EQ(editor->GetCurCol(), 2);
    EXPECT_EQ(editor->selection.selStartLine, 1);
    EXPECT_EQ(editor->selection.selEndLine, 3);
    editor->Undo();  // nothing left that would write help lines over the text
    EXPECT_EQ(TextOf(editor->lines), text);

    editor->Help();
    EXPECT_EQ(editor->GetCurLine(), 5);
    EXPECT_EQ(editor->GetCurCol(), 1);
    editor->Help();
    EXPECT_EQ(TextOf(editor->lines), text);
}

TEST_F(ToolsTest, WhileTheHelpShowsSavingLeavesTheFileUntouched) {
    TTempFolder folder("redakt-help-save");
    const std::string path = folder.Path("text.txt");
    {
        std::ofstream file(path, std::ios::binary);
        file << "mine\r\n";
    }
    const auto contents = [&path] {
        std::ifstream file(path, std::ios::binary);
        std::stringstream bytes;
        bytes << file.rdbuf();
        return bytes.str();
    };
    editor->Load(TString(path), 0);
    editor->SetModified(true);
    editor->Help();
    EXPECT_FALSE(editor->Save());
    EXPECT_FALSE(editor->SaveAs(TString(path)));
    editor->SetAutoSave(true);
    editor->SetFocus();
    form->SetFocus();  // the kill-focus auto-save
    driver.PumpUntilIdle();
    EXPECT_EQ(contents(), "mine\r\n");
    EXPECT_TRUE(editor->GetModified());
    editor->Help();
    editor->lines[0] = TString("changed");
    EXPECT_TRUE(editor->Save());
    EXPECT_EQ(contents(), "changed\r\n");

    // A file loaded while the help shows replaces the text, not the help.
    const std::vector<std::string> help = TextOf(editor->helpText);
    editor->Help();
    editor->Load(TString(path), 0);
    EXPECT_FALSE(editor->helpShown);
    EXPECT_EQ(TextOf(editor->lines), std::vector<std::string>{"changed"});
    EXPECT_EQ(TextOf(editor->helpText), help);
    EXPECT_TRUE(boxes.empty());
}

// The state stream, written while the help shows, carries the user's text
// with its caret and selection; a stream or a new text taken while the help
// shows replaces the user's text and puts the help back in its place.
TEST_F(ToolsTest, WhileTheHelpShowsTheStateStreamAndANewTextReachTheUsersText) {
    const std::vector<std::string> help = TextOf(editor->helpText);
    const std::vector<std::string> text = {"one", "two", "three", "four"};
    ShowText(editor, text);
    editor->GoTo(2, 3);
    editor->SelectLines(1, 2);
    editor->Help();
    editor->GoTo(1, 5);
    std::unique_ptr<FILE, int (*)(FILE*)> stream(std::tmpfile(), &std::fclose);
    ASSERT_NE(stream, nullptr);
    ASSERT_TRUE(editor->SaveToStream(stream.get(), true));

    TTextEditor* reader = Place();
    std::rewind(stream.get());
    ASSERT_TRUE(reader->LoadFromStream(stream.get()));
    EXPECT_EQ(TextOf(reader->lines), text);
    EXPECT_EQ(std::make_pair(reader->GetCurCol(), reader->GetCurLine()), std::make_pair(2, 3));
    EXPECT_EQ(std::make_pair(reader->selection.selStartLine, reader->selection.selEndLine), std::make_pair(1, 3));

    std::rewind(stream.get());
    ASSERT_TRUE(editor->LoadFromStream(stream.get()));
    EXPECT_FALSE(editor->helpShown);
    EXPECT_EQ(TextOf(editor->lines), text);
    EXPECT_EQ(TextOf(editor->helpText), help);

    editor->Help();
    TStringContainer fresh;
    fresh.Add(TString("fresh"));
    editor->NewStrings(fresh);
    EXPECT_FALSE(editor->helpShown);
    EXPECT_EQ(TextOf(editor->lines), std::vector<std::string>{"fresh"});
    EXPECT_EQ(TextOf(editor->helpText), help);
    editor->Help();
    EXPECT_EQ(TextOf(editor->lines), help);
    editor->NewStrings(editor->lines);  // the help's own lines stay the help
    EXPECT_TRUE(editor->helpShown);
    EXPECT_EQ(TextOf(editor->helpText), std::vector<std::string>{"fresh"});
}

// A method list on another form may outlive the editor (its clicks then
// reach nothing), and one that goes first is forgotten.
TEST_F(ToolsTest, AMethodListNoLongerReachesAnEditorThatWent) {
    TForm* listForm = new TForm(nullptr, 1);
    auto* kept = Child<TListBox>(listForm, 0, 0, 150, 100);
    auto* dropped = Child<TListBox>(listForm, 0, 100, 150, 100);
    TTextEditor* java = Place();
    ShowText(java, {"class Solo {", "  void run() {}", "}"});
    for (TListBox* list : {kept, dropped, kept}) java->Parse(list);
    ASSERT_TRUE(static_cast<bool>(kept->OnClick));
    EXPECT_EQ(java->methodClickLists.size(), 2u);
    delete dropped;
    EXPECT_EQ(java->methodClickLists, std::vector<TListBox*>{kept});
    delete java;
    EXPECT_FALSE(static_cast<bool>(kept->OnClick));
    EXPECT_EQ(kept->GetCount(), 1);
    delete listForm;
}

// A table with a text for every id of the forms: each existing form of the
// list takes the new language's texts, every other form keeps its own.
TEST_F(ToolsTest, SetLangTranslatesTheSharedFormsAndSetLangTableSharesOneTable) {
    TLangTable* previous = GetTextEditorLangTable();
    ASSERT_NE(previous, nullptr);
    TTextEditorGoToLineDlg* goToLine = SharedGoToLineDlg();
    TTextEditorLineInsertTextDlg* insertText = SharedLineInsertTextDlg();
    ASSERT_TRUE(goToLine != nullptr && insertText != nullptr);
    std::map<TForm*, std::map<int, std::string>> english, translated;
    for (int slot = 0; slot < kTextEditorSharedFormCount; ++slot)
        if (TForm* shared = GetTextEditorSharedForm(TTextEditorSharedForm(slot))) english[shared] = TaggedTexts(shared);
    for (TTextEditorSharedForm slot : kTranslatedForms) {
        TForm* shared = GetTextEditorSharedForm(slot);
        if (shared == nullptr) continue;
        for (const auto& [id, text] : english[shared]) translated[shared][id] = "T" + std::to_string(id);
    }
    ASSERT_EQ(translated.size(), 8u) << "setup, go-to-line, search, replace, replace prompt, macro name, macro "
                                        "selection and insert text exist";
    // Every id of the package's table and every Tag of the forms.
    std::map<int, std::string> englishById;
    for (const auto& entry : english) englishById.insert(entry.second.begin(), entry.second.end());
    std::set<int> ids;
    previous->GetTextIDs(ids);
    for (int id : ids) englishById[id] = previous->GetText(0, id, "");
    std::vector<std::string> lines = {"0|2"};
    for (const auto& [id, text] : englishById) {
        std::string escaped;
        for (char c : text) escaped += c == '|' ? std::string("||") : std::string(1, c);
        lines.push_back(std::to_string(id) + "|" + escaped + "|T" + std::to_string(id));
    }
    TLangTable table;
    table.Init(lines);

    TTextEditor other(nullptr);
    editor->SetLangTable(&table);
    EXPECT_EQ(GetTextEditorLangTable(), &table);
    other.SetLang(2);
    EXPECT_EQ(table.GetLang(), 2);
    EXPECT_EQ(goToLine->GetCaption(), "T100315");
    EXPECT_EQ(goToLine->btnHelp->GetCaption(), "T100312");
    EXPECT_EQ(insertText->btnHelp->GetCaption(), "T100312");
    EXPECT_EQ(SharedMacroNameDlg()->GetCaption(), "T100445");
    EXPECT_EQ(SharedMacroNameDlg()->lbName->GetCaption(), "T100446");
    EXPECT_EQ(SharedSelectParamMacroDlg()->lbMacros->GetCaption(), "T100447");
    EXPECT_EQ(TextEditorText(100289, ""), "T100289");
    for (const auto& [shared, texts] : english)
        EXPECT_EQ(TaggedTexts(shared), translated.count(shared) ? translated[shared] : texts) << shared->GetName();
    editor->SetLang(0);
    EXPECT_EQ(goToLine->GetCaption(), "Go to line");
    EXPECT_EQ(insertText->btnOk->GetCaption(), "&Ok");
    for (const auto& [shared, texts] : english) EXPECT_EQ(TaggedTexts(shared), texts) << shared->GetName();

    editor->SetLangTable(previous);
    for (const auto& entry : english) previous->SetText(entry.first);
    EXPECT_EQ(goToLine->GetCaption(), "Go to line");
}
