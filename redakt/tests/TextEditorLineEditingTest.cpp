// Deleting the selection, lines and line parts, cutting, inserting the date
// and the last word: the text they leave, their undo steps, and what follows
// the deleted lines (bookmarks, selection, "search all" rows).
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "ListBox.h"
#include "RedaktFixture.h"
#include "Responder.h"

namespace {

// An editor that records what its Copy would have put on the clipboard.
class TCopyingEditor : public TTextEditor {
public:
    using TTextEditor::TTextEditor;
    void Copy() override {
        TStringContainer text;
        GetSelectedText(text);
        copied.push_back(TextOf(text));
    }
    std::vector<std::vector<std::string>> copied;
};

struct LineEditingTest : ::testing::Test {
    void Text(const std::vector<std::string>& text) { SetLines(editor, text); }
    void Caret(int col, int line) {
        editor.SetCursorPosX(col);
        editor.SetCursorPosY(line);
    }
    std::vector<std::string> Lines() const { return TextOf(editor.lines); }
    std::vector<int> MarkerLines() const {
        std::vector<int> found;
        for (int i = 0; i < editor.markers.GetCount(); ++i) found.push_back(editor.markers[i].line);
        return found;
    }
    std::tuple<int, int> Block() const { return {editor.selection.selStartLine, editor.selection.selEndLine}; }

    win32::TestDriver driver;
    TCopyingEditor editor{nullptr};
};

const std::vector<std::string> kFive = {"zero", "one", "two", "three", "four"};

}  // namespace

TEST_F(LineEditingTest, DeleteLineRemovesTheCaretLineAndEmptiesTheLastOne) {
    const struct {
        int line, times;
        std::vector<std::string> after;
        int records;
    } kRuns[] = {
        {1, 1, {"zero", "two", "three", "four"}, 1},
        {4, 1, {"zero", "one", "two", "three", ""}, 1},
        {1, 2, {"zero", "three", "four"}, 1},
        {3, 2, {"zero", "one", "two", ""}, 1},         // the run reaches the last line
        {3, 4, {"zero", "one", "two", ""}, 1},         // and deletes it again: nothing more
        {0, 5, {""}, 1},
    };
    for (const auto& run : kRuns) {
        Text(kFive);
        editor.ClearUndo();
        Caret(2, run.line);
        for (int i = 0; i < run.times; ++i) editor.DeleteLine();
        EXPECT_EQ(Lines(), run.after) << run.line << " x" << run.times;
        EXPECT_EQ(editor.undoItems.GetCount(), run.records) << run.line << " x" << run.times;
        EXPECT_EQ(editor.GetCurLine(), run.line < int(run.after.size()) ? run.line : int(run.after.size()) - 1);
        EXPECT_TRUE(editor.GetModified());
        editor.Undo();
        EXPECT_EQ(Lines(), kFive) << "undo after line " << run.line << " x" << run.times;
    }
    // The merged record holds both texts and is counted in the budget.
    Text(kFive);
    editor.ClearUndo();
    Caret(0, 1);
    editor.DeleteLine();
    editor.DeleteLine();
    EXPECT_EQ(TextOf(editor.GetLastUndoItem()->lines), (std::vector<std::string>{"one", "two"}));
    EXPECT_EQ(editor.undoSize, editor.GetLastUndoItem()->GetSize());
}

TEST_F(LineEditingTest, ALongDeleteLineRunStaysWithinTheUndoBudget) {
    Text(std::vector<std::string>(700, std::string(30, 'x')));
    editor.AddUndoItem(utTyping);
    Caret(0, 0);
    for (int i = 0; i < 300; ++i) editor.DeleteLine();
    EXPECT_LE(editor.undoSize, editor.undoLimit);
    int held = 0;
    for (int i = 0; i < editor.undoItems.GetCount(); ++i) held += editor.undoItems[i].GetSize();
    EXPECT_EQ(editor.undoSize, held);
}

TEST_F(LineEditingTest, DeleteLineMovesBookmarksSelectionAndTheCaretColumn) {
    Text(kFive);
    editor.markers += TEXT_EDITOR_MARKER{1, 1};
    editor.markers += TEXT_EDITOR_MARKER{2, 2};
    editor.markers += TEXT_EDITOR_MARKER{0, 3};
    editor.selection = TTextEditorSelection{0, 0, 0, 1, 4};
    Caret(9, 2);
    editor.DeleteLine();
    EXPECT_EQ(MarkerLines(), (std::vector<int>{1, -1, 0}));
    EXPECT_EQ(Block(), std::make_tuple(1, 3));  // the block shrinks with its line
    EXPECT_EQ(editor.GetCurCol(), 5);            // within "three"
    Caret(0, 0);
    editor.DeleteLine();
    EXPECT_EQ(Block(), std::make_tuple(0, 2));  // a line above moves it up
    EXPECT_EQ(MarkerLines(), (std::vector<int>{0, -1, -1}));
    // An in-line selection on the deleted line collapses onto the caret.
    Text(kFive);
    editor.selection = TTextEditorSelection{1, 3, 2, 2, 2};
    Caret(2, 2);
    editor.DeleteLine();
    EXPECT_EQ(editor.selection.selStartCol, editor.selection.selEndCol);
}

// Rows: one header, one per hit (row = hit index + 1), then the summary.
TEST_F(LineEditingTest, DeleteLineKeepsSearchAllResultsInStep) {
    TForm form(nullptr, 1);
    auto* box = new TListBox(&form);
    box->SetParent(&form);
    for (const char* row : {"Search all results for 'o:'", "0: zero", "1: one", "2: two", "4: four",
                            "Matching lines: 4"})
        box->GetItems()->Add(row);
    TTextEditorSearchResult* result = editor.searchResults.NewItem();
    result->listBox = box;
    for (int hit : {0, 1, 2, 4}) result->hitLines.Add(hit);
    Text(kFive);
    Caret(0, 1);
    editor.DeleteLine();
    std::vector<int> hits;
    for (int i = 0; i < result->hitLines.GetCount(); ++i) hits.push_back(result->hitLines[i]);
    EXPECT_EQ(hits, (std::vector<int>{0, 1, 3}));
    std::vector<std::string> rows;
    for (int i = 0; i < box->GetCount(); ++i) rows.push_back(box->GetItems()->GetStrings(i));
    EXPECT_EQ(rows, (std::vector<std::string>{"Search all results for 'o:'", "0: zero", "1: two", "3: four",
                                              "Matching lines: 3"}));
    // A list box with fewer rows than hits: only its own rows are touched.
    box->GetItems()->Clear();
    box->GetItems()->Add("header");
    Caret(0, 0);
    editor.DeleteLine();
    EXPECT_EQ(result->hitLines.GetCount(), 2);
    EXPECT_EQ(box->GetCount(), 1);
}

TEST_F(LineEditingTest, DeleteAfterAndDeleteBeforeKeepBookmarksOnTheirText) {
    Text(kFive);
    for (int line : {0, 2, 4}) editor.markers += TEXT_EDITOR_MARKER{line, line};
    Caret(3, 2);
    editor.DeleteAfter();
    EXPECT_EQ(Lines(), (std::vector<std::string>{"zero", "one", ""}));
    EXPECT_EQ(MarkerLines(), (std::vector<int>{0, 2}));
    EXPECT_EQ(editor.GetVMax(), 2);
    editor.Undo();
    EXPECT_EQ(Lines(), kFive);
    EXPECT_EQ(MarkerLines(), (std::vector<int>{0, 2, 4}));

    Caret(3, 2);
    editor.DeleteBefore();
    EXPECT_EQ(Lines(), (std::vector<std::string>{"two", "three", "four"}));
    EXPECT_EQ(MarkerLines(), (std::vector<int>{0, 2}));  // "two" and "four"
    EXPECT_EQ(editor.GetCurLine(), 0);
    EXPECT_EQ(editor.GetCurCol(), 3);
    editor.Undo();
    EXPECT_EQ(Lines(), kFive);
    EXPECT_EQ(MarkerLines(), (std::vector<int>{0, 2, 4}));
    // Nothing before the first line: no change and no record.
    const int records = editor.undoItems.GetCount();
    Caret(0, 0);
    editor.DeleteBefore();
    EXPECT_EQ(Lines(), kFive);
    EXPECT_EQ(editor.undoItems.GetCount(), records);
}

TEST_F(LineEditingTest, DeleteBlockCutsTheSelectionAndOneUndoPutsItBack) {
    const struct {
        const char* what;
        TTextEditorSelection selection;
        int caretCol, caretLine;
        std::vector<std::string> after;
        int col, line;
    } kCases[] = {
        {"columns", {1, 3, 2, 2, 2}, 3, 2, {"zero", "one", "t", "three", "four"}, 1, 2},
        {"columns past the end", {2, 9, 1, 1, 1}, 9, 1, {"zero", "on", "two", "three", "four"}, 2, 1},
        {"lines", {0, 0, 0, 1, 3}, 2, 1, {"zero", "three", "four"}, 0, 1},
        {"lines to the end", {0, 0, 0, 3, 5}, 0, 4, {"zero", "one", "two"}, 0, 2},
        {"every line", {0, 0, 0, 0, 5}, 0, 4, {""}, 0, 0},  // one empty line stays, as after DeleteLine
    };
    for (const auto& row : kCases) {
        Text(kFive);
        editor.markers.Clear();
        editor.markers += TEXT_EDITOR_MARKER{4, 4};
        editor.selection = row.selection;
        Caret(row.caretCol, row.caretLine);
        editor.DeleteBlock();
        EXPECT_EQ(Lines(), row.after) << row.what;
        EXPECT_EQ(std::make_tuple(editor.GetCurCol(), editor.GetCurLine()), std::make_tuple(row.col, row.line))
            << row.what;
        EXPECT_EQ(editor.selection.selStartCol, editor.selection.selEndCol) << row.what;
        EXPECT_EQ(editor.selection.selStartLine, editor.selection.selEndLine) << row.what;
        editor.Undo();
        EXPECT_EQ(Lines(), kFive) << row.what;
        EXPECT_EQ(MarkerLines(), std::vector<int>{4}) << row.what;
    }
}

// Under PersistentBlocks the caret may stand on another line than the
// in-line selection: the selection's own line is cut, and undone.
TEST_F(LineEditingTest, APersistentInLineSelectionIsCutFromItsOwnLine) {
    Text(kFive);
    editor.SetPersistentBlocks(true);
    editor.selection = TTextEditorSelection{0, 2, 3, 3, 3};
    Caret(1, 0);
    editor.DeleteBlock();
    EXPECT_EQ(Lines(), (std::vector<std::string>{"zero", "one", "two", "ree", "four"}));
    EXPECT_EQ(std::make_tuple(editor.GetCurCol(), editor.GetCurLine()), std::make_tuple(0, 3));
    editor.Undo();
    EXPECT_EQ(Lines(), kFive);
    EXPECT_EQ(std::make_tuple(editor.GetCurCol(), editor.GetCurLine()), std::make_tuple(1, 0));
}

TEST_F(LineEditingTest, CutCopiesThenDeletes) {
    Text(kFive);
    editor.selection = TTextEditorSelection{0, 0, 0, 1, 3};
    editor.Cut();
    EXPECT_EQ(editor.copied, (std::vector<std::vector<std::string>>{{"one", "two", ""}}));
    EXPECT_EQ(Lines(), (std::vector<std::string>{"zero", "three", "four"}));
    EXPECT_TRUE(editor.GetModified());
    editor.SetReadOnly(true);
    editor.selection = TTextEditorSelection{0, 2, 0, 0, 0};
    editor.Cut();
    EXPECT_EQ(editor.copied.size(), 1u);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"zero", "three", "four"}));
}

TEST_F(LineEditingTest, DeleteLineTailAndHeadCutAtTheCaretAndMarkTheTextModified) {
    const struct {
        bool tail;
        int col;
        const char* after;
    } kCases[] = {
        {true, 3, "abc"}, {true, 0, ""}, {true, 9, "abcdef"},
        {false, 3, "   def"}, {false, 0, "abcdef"}, {false, 6, ""}, {false, 9, ""},
    };
    for (const auto& row : kCases) {
        Text({"first", "abcdef"});
        editor.SetModified(false);
        Caret(row.col, 1);
        row.tail ? editor.DeleteLineTail() : editor.DeleteLineHead();
        EXPECT_EQ(editor.lines[1].str(), row.after) << (row.tail ? "tail " : "head ") << row.col;
        EXPECT_TRUE(editor.GetModified());
        editor.Undo();
        EXPECT_EQ(editor.lines[1].str(), "abcdef");
    }
}

TEST_F(LineEditingTest, RepeatLastWordInsertsItAtTheCaretAsOneStep) {
    Text({"ab", "xy"});
    editor.lastWord = TString("word");
    Caret(5, 0);
    editor.RepeatLastWord();
    EXPECT_EQ(Lines(), (std::vector<std::string>{"ab   word", "xy"}));
    EXPECT_EQ(editor.GetCurCol(), 9);
    Caret(1, 1);
    editor.RepeatLastWord();
    EXPECT_EQ(editor.lines[1].str(), "xwordy");
    editor.Undo();
    editor.Undo();
    EXPECT_EQ(Lines(), (std::vector<std::string>{"ab", "xy"}));
}

// The texts come from the layer's locale functions; the moment is taken on
// both sides of the insertion and the case retried if a minute turned meanwhile.
TEST_F(LineEditingTest, InsertDateInsertsTheLocaleTextsOfThatMoment) {
    auto locale = [](bool date, DWORD flags) {
        char text[128] = "";
        if (date)
            GetDateFormatA(LOCALE_USER_DEFAULT, flags, nullptr, nullptr, text, sizeof text);
        else
            GetTimeFormatA(LOCALE_USER_DEFAULT, flags, nullptr, nullptr, text, sizeof text);
        return std::string(text);
    };
    const std::function<std::string()> kExpected[] = {
        [&] { return locale(true, DATE_SHORTDATE) + " " + locale(false, TIME_NOSECONDS); },
        [&] { return locale(true, DATE_SHORTDATE); },
        [&] { return locale(true, DATE_LONGDATE); },
        [&] { return locale(false, TIME_NOSECONDS); },
        [&] { return locale(false, 0); },
    };
    for (int kind = 0; kind < 5; ++kind) {
        for (int attempt = 0; attempt < 3; ++attempt) {
            Text({"<>"});
            Caret(1, 0);
            const std::string before = kExpected[kind]();
            editor.InsertDate(static_cast<TTextEditorDateInsert>(kind));
            if (before != kExpected[kind]()) continue;
            EXPECT_EQ(editor.lines[0].str(), "<" + before + ">") << "kind " << kind;
            EXPECT_FALSE(before.empty());
            break;
        }
    }
    Text({"<>"});
    editor.InsertDate(static_cast<TTextEditorDateInsert>(5));
    EXPECT_EQ(Lines(), std::vector<std::string>{"<>"});
}

namespace {

struct TEditingOperation {
    const char* name;
    std::function<void(TTextEditor&)> run;
    bool stopsWhenReadOnly;
};

// Every line editing operation; the dialog is cancelled by the responder.
const std::vector<TEditingOperation>& Operations() {
    static const std::vector<TEditingOperation> kOperations = {
        {"InsertDate", [](TTextEditor& e) { e.InsertDate(diDateAndTime); }, true},
        {"Cut", [](TTextEditor& e) { e.Cut(); }, true},
        {"DeleteBlock", [](TTextEditor& e) { e.DeleteBlock(); }, true},
        {"DeleteLine", [](TTextEditor& e) { e.DeleteLine(); }, true},
        {"DeleteAfter", [](TTextEditor& e) { e.DeleteAfter(); }, true},
        {"DeleteBefore", [](TTextEditor& e) { e.DeleteBefore(); }, true},
        {"SortLines", [](TTextEditor& e) { e.SortLines(); }, true},
        {"SortByCol", [](TTextEditor& e) { e.SortByCol(1); }, false},
        {"DeleteDuplicatedLines", [](TTextEditor& e) { e.DeleteDuplicatedLines(); }, false},
        {"StartSelectSortCol", [](TTextEditor& e) { e.StartSelectSortCol(); }, false},
        {"SortColSelected", [](TTextEditor& e) { e.SortColSelected(); }, false},
        {"SelectAll", [](TTextEditor& e) { e.SelectAll(); }, false},
        {"SelectParagraph", [](TTextEditor& e) { e.SelectParagraph(); }, false},
        {"SelectWord", [](TTextEditor& e) { e.SelectWord(); }, false},
        {"GetSelectedText", [](TTextEditor& e) { TStringContainer out; e.GetSelectedText(out); }, false},
        {"DoIndent", [](TTextEditor& e) { e.DoIndent(); }, true},
        {"DoUnindent", [](TTextEditor& e) { e.DoUnindent(); }, true},
        {"LineInsertText dialog", [](TTextEditor& e) { e.LineInsertText(); }, false},
        {"LineInsertText", [](TTextEditor& e) { e.LineInsertText(TString("X"), imColumn, 2); }, false},
        {"DeleteLineTail", [](TTextEditor& e) { e.DeleteLineTail(); }, true},
        {"DeleteLineHead", [](TTextEditor& e) { e.DeleteLineHead(); }, true},
        {"WordUpperLower", [](TTextEditor& e) { e.WordUpperLower(true); }, true},
        {"WordToUpper", [](TTextEditor& e) { e.WordToUpper(); }, true},
        {"WordToLower", [](TTextEditor& e) { e.WordToLower(); }, true},
        {"BlockUpperLower", [](TTextEditor& e) { e.BlockUpperLower(true); }, true},
        {"BlockToUpper", [](TTextEditor& e) { e.BlockToUpper(); }, true},
        {"BlockToLower", [](TTextEditor& e) { e.BlockToLower(); }, true},
        {"RepeatLastWord", [](TTextEditor& e) { e.RepeatLastWord(); }, false},
        {"Capitalize", [](TTextEditor& e) { e.Capitalize(); }, false},
        {"AddTab", [](TTextEditor& e) { e.AddTab(4); }, false},
        {"DeleteTab", [](TTextEditor& e) { e.DeleteTab(4); }, false},
        {"ChangeTab", [](TTextEditor& e) { e.ChangeTab(8); }, false},
    };
    return kOperations;
}

// The mouse gestures, at client points of a 300 x 200 editor.
void EveryGesture(win32::TestDriver& driver, TTextEditor& editor) {
    HWND window = editor.GetHandle();
    for (int button : {0, 1, 2}) {
        driver.Advance(1000);
        driver.Click(window, 60, 5, button);
    }
    driver.Advance(1000);
    driver.DoubleClick(window, 30, 5);
    driver.Advance(1000);
    driver.Drag(window, 30, 5, 280, 190);
    driver.Advance(1000);
    driver.Drag(window, 280, 5, 5, -60);
    driver.Advance(1000);
    driver.Drag(window, 5, 5, 400, 300);
}

}  // namespace

// An empty editor, a one-line editor with the caret past the line's end and
// a selection reaching past it, and a read-only editor: nothing faults (the
// address sanitizer watches), and what stops on ReadOnly leaves the text.
TEST_F(EditorTest, EveryOperationAndGestureEndsCalmlyInTheEdgeStates) {
    win32::ScopedResponder cancel([](const win32::ModalInteraction&) { return win32::ModalReply::Answer(mrCancel); });
    const std::vector<std::string> kReadOnlyText = {"b a", "x = foo(1)", "", "b a", "A  z"};
    enum TState { Empty, PastTheEnd, ReadOnlyText };
    for (TState state : {Empty, PastTheEnd, ReadOnlyText}) {
        for (const TEditingOperation& op : Operations()) {
            TTextEditor* editor = Place();
            editor->lastWord = TString("word");
            editor->OnOverWord = [](TTextEditor*, TString, int, int) {};
            if (state == PastTheEnd) {
                ShowText(editor, {"abc"});
                editor->SetHMax(40);
                editor->SetCursorPosX(20);
                editor->selection = TTextEditorSelection{2, 30, 0, 0, 0};
            } else if (state == ReadOnlyText) {
                ShowText(editor, kReadOnlyText);
                editor->SetCursorPosX(5);
                editor->SetCursorPosY(1);
                editor->selection = TTextEditorSelection{0, 0, 0, 1, 4};
                editor->SetReadOnly(true);
            }
            editor->SetFocus();
            op.run(*editor);
            driver.PumpUntilIdle();
            if (state == ReadOnlyText && op.stopsWhenReadOnly) {
                EXPECT_EQ(TextOf(editor->lines), kReadOnlyText) << op.name << " changed a read-only text";
            }
            EveryGesture(driver, *editor);
            op.run(*editor);
            EXPECT_LT(editor->GetCurLine(), std::max(editor->lines.GetCount(), 1)) << op.name;
            EXPECT_GE(editor->GetCurLine(), 0) << op.name;
            delete editor;
        }
    }
}
