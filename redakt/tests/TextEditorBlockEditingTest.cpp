// Selecting all, a paragraph or a word, reading the selection, indenting,
// inserting a text into the lines, upper and lower case, capitalising and
// the tab stops.
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "RedaktFixture.h"

namespace {

struct BlockEditingTest : ::testing::Test {
    void SetUp() override {
        editor.OnSelectionChange = [this](TTextEditor*, bool, int, int) { ++selectionChanges; };
    }
    void Caret(int col, int line) {
        editor.SetCursorPosX(col);
        editor.SetCursorPosY(line);
    }
    std::vector<std::string> Lines() const { return TextOf(editor.lines); }
    std::tuple<int, int> Block() const { return {editor.selection.selStartLine, editor.selection.selEndLine}; }
    std::tuple<int, int, int> Columns() const {
        return {editor.selection.selLine, editor.selection.selStartCol, editor.selection.selEndCol};
    }
    std::vector<std::string> Selected() {
        TStringContainer out;
        out.Add("stale");
        editor.GetSelectedText(out);
        return TextOf(out);
    }

    win32::TestDriver driver;
    TTextEditor editor{nullptr};
    int selectionChanges = 0;
};

}  // namespace

TEST_F(BlockEditingTest, SelectAllAndSelectParagraph) {
    SetLines(editor, {"a", "b", "", "c", "", "d", "e", ""});
    editor.SelectAll();
    EXPECT_EQ(Block(), std::make_tuple(0, 8));
    const struct {
        int line, start, end;
    } kParagraphs[] = {{0, 0, 2}, {1, 0, 2}, {3, 3, 4}, {6, 5, 7}, {2, 0, 4}, {4, 3, 7}, {7, 5, 8}};
    for (const auto& row : kParagraphs) {
        Caret(3, row.line);
        editor.SelectParagraph();
        EXPECT_EQ(Block(), std::make_tuple(row.start, row.end)) << "line " << row.line;
        EXPECT_EQ(editor.selection.selStartCol, 0);
    }
    EXPECT_EQ(selectionChanges, 8);
}

// Ranges are brought inside the text; one that ends before it begins is empty.
TEST_F(BlockEditingTest, SelectLinesAndSelectCharsClampTheirRangesAndClearTheOtherKind) {
    SetLines(editor, std::vector<std::string>(10, "0123456789"));
    editor.lines[4] = TString("abc");
    const struct {
        int first, last, start, end;
    } kLines[] = {{-5, 1000, 0, 10}, {2, 4, 2, 5}, {9, 9, 9, 10}, {6, 3, 6, 6}, {12, 20, 10, 10}, {0, 2147483647, 0, 10}};
    for (const auto& row : kLines) {
        editor.selection.selStartCol = 1;
        editor.selection.selEndCol = 3;
        editor.SelectLines(row.first, row.last);
        EXPECT_EQ(Block(), std::make_tuple(row.start, row.end)) << row.first << ".." << row.last;
        EXPECT_EQ(editor.selection.selStartCol, editor.selection.selEndCol);
    }
    const struct {
        int start, end, line;
        int selLine, selStart, selEnd;
    } kChars[] = {{2, 100, 3, 3, 2, 10}, {-4, 1, 0, 0, 0, 2}, {0, 9, 40, 9, 0, 10}, {1, 1, -3, 0, 1, 2},
                  {5, 8, 4, 4, 3, 3},    {7, 2, 1, 1, 3, 3},  {3, 2147483647, 2, 2, 3, 10}};
    for (const auto& row : kChars) {
        editor.SelectLines(1, 5);
        editor.SelectChars(row.start, row.end, row.line);
        EXPECT_EQ(Columns(), std::make_tuple(row.selLine, row.selStart, row.selEnd))
            << row.start << ".." << row.end << " on " << row.line;
        EXPECT_EQ(editor.selection.selStartLine, editor.selection.selEndLine);
    }
    EXPECT_EQ(selectionChanges, 6 + 2 * 7);
    SetLines(editor, {});
    editor.SelectChars(0, 5, 3);
    EXPECT_EQ(Columns(), std::make_tuple(0, 0, 0));
    editor.SelectLines(0, 5);
    EXPECT_EQ(Block(), std::make_tuple(0, 0));
}

TEST_F(BlockEditingTest, SelectWordSelectsTheWordAtTheCaretOrNothing) {
    SetLines(editor, {"x=foo(1)", "   "});
    const struct {
        int col, line;
        int start, end, caret;
    } kCases[] = {
        {2, 0, 2, 5, 5},  // 'f'
        {4, 0, 2, 5, 5},  // 'o'
        {0, 0, 0, 1, 1},  // 'x'
        {6, 0, 6, 7, 7},  // '1'
        {1, 0, 1, 1, 1},  // '=': empty at the caret
        {5, 0, 5, 5, 5},  // '('
        {12, 0, 12, 12, 12},  // past the end
        {1, 1, 1, 1, 1},  // a blank
    };
    for (const auto& row : kCases) {
        Caret(row.col, row.line);
        editor.SelectWord();
        EXPECT_EQ(Columns(), std::make_tuple(row.line, row.start, row.end)) << row.col << ", " << row.line;
        EXPECT_EQ(editor.GetCurCol(), row.caret) << row.col << ", " << row.line;
        EXPECT_EQ(Block(), std::make_tuple(row.line, row.line));
    }
}

TEST_F(BlockEditingTest, GetSelectedTextGivesTheBlockWithALineBreakOrTheColumnsInsideTheLine) {
    SetLines(editor, {"zero", "one", "two", "three"});
    const struct {
        TTextEditorSelection selection;
        std::vector<std::string> text;
    } kCases[] = {
        {{0, 0, 0, 1, 4}, {"one", "two", "three", ""}},
        {{1, 3, 2, 0, 0}, {"wo"}},
        {{2, 40, 3, 0, 0}, {"ree"}},  // past the end: up to the end
        {{5, 3, 3, 2, 2}, {"ee"}},    // either way round
        {{2, 2, 0, 3, 3}, {}},
        {{0, 0, 0, 2, 9}, {"two", "three", ""}},
    };
    for (const auto& row : kCases) {
        editor.selection = row.selection;
        EXPECT_EQ(Selected(), row.text);
    }
    // Under PersistentBlocks the in-line selection is read from its own line.
    editor.SetPersistentBlocks(true);
    editor.selection = TTextEditorSelection{0, 3, 1, 1, 1};
    Caret(0, 3);
    EXPECT_EQ(Selected(), std::vector<std::string>{"one"});
}

TEST_F(BlockEditingTest, IndentingAddsOrRemovesIndentSizeCharacters) {
    editor.SetIndentSize(4);
    SetLines(editor, {" abcdef", "abc", "", "\tx", "    y"});
    editor.selection = TTextEditorSelection{0, 0, 0, 0, 5};
    editor.DoUnindent();
    EXPECT_EQ(Lines(), (std::vector<std::string>{"def", "abc", "", "\tx", "y"}));
    editor.SetEmptyUnindent(false);
    editor.DoUnindent();
    EXPECT_EQ(Lines(), (std::vector<std::string>{"", "", "", "", ""}));
    SetLines(editor, {"a", "b", "c"});
    editor.selection = TTextEditorSelection{0, 0, 0, 1, 3};
    editor.DoIndent();
    EXPECT_EQ(Lines(), (std::vector<std::string>{"a", "    b", "    c"}));
    EXPECT_TRUE(editor.GetModified());
    // Without a line block nothing moves.
    editor.selection = TTextEditorSelection{0, 1, 0, 0, 0};
    editor.DoIndent();
    editor.DoUnindent();
    EXPECT_EQ(Lines(), (std::vector<std::string>{"a", "    b", "    c"}));
}

TEST_F(BlockEditingTest, LineInsertTextPutsTheTextIntoEveryLineOfTheRange) {
    const struct {
        TTextEditorInsertMode mode;
        int pos;
        std::vector<std::string> after;
    } kCases[] = {
        {imColumn, 2, {"abXcd", "xX", "X"}},
        {imColumn, 10, {"abcdX", "xX", "X"}},
        {imColumn, -3, {"Xabcd", "Xx", "X"}},
        {imLineStart, 9, {"Xabcd", "Xx", "X"}},
        {imLineEnd, 0, {"abcdX", "xX", "X"}},
        {static_cast<TTextEditorInsertMode>(7), 1, {"abcd", "x", ""}},
    };
    for (const auto& row : kCases) {
        SetLines(editor, {"abcd", "x", ""});
        editor.SetHMax(4);
        editor.LineInsertText(TString("X"), row.mode, row.pos);
        EXPECT_EQ(Lines(), row.after) << int(row.mode) << ", " << row.pos;
        EXPECT_EQ(editor.GetHMax(), static_cast<int>(row.after[0].size()));
    }
    SetLines(editor, {"a", "b", "c", "d"});
    editor.selection = TTextEditorSelection{0, 0, 0, 1, 3};
    editor.LineInsertText(TString("-"), imLineStart, 0);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"a", "-b", "-c", "d"}));
}

// Both work on code-page letters, the accented ones included.
TEST_F(BlockEditingTest, UpperAndLowerCaseOfTheWordAndOfTheSelection) {
    const std::string kLine = "\xE1rv\xEDzt\xFBr\xF5 t\xFCk\xF6rf\xFAr\xF3g\xE9p";  // árvíztűrő tükörfúrógép
    const std::string kUpperFirst = "\xC1RV\xCDZT\xDBR\xD5 t\xFCk\xF6rf\xFAr\xF3g\xE9p";
    SetLines(editor, {kLine, "second"});
    Caret(3, 0);
    editor.WordToUpper();
    EXPECT_EQ(editor.lines[0].str(), kUpperFirst);
    EXPECT_TRUE(editor.GetModified());
    editor.WordToLower();
    EXPECT_EQ(editor.lines[0].str(), kLine);
    Caret(9, 0);  // on the blank: no word
    editor.SetModified(false);
    editor.WordUpperLower(true);
    EXPECT_EQ(editor.lines[0].str(), kLine);
    EXPECT_FALSE(editor.GetModified());

    // An in-line selection reaching past the end converts up to the end.
    editor.selection = TTextEditorSelection{10, 40, 0, 0, 0};
    editor.BlockToUpper();
    EXPECT_EQ(editor.lines[0].str(), "\xE1rv\xEDzt\xFBr\xF5 T\xDCK\xD6RF\xDAR\xD3G\xC9P");
    EXPECT_TRUE(editor.GetModified());
    editor.Undo();
    EXPECT_EQ(editor.lines[0].str(), kLine);
    editor.selection = TTextEditorSelection{0, 0, 0, 0, 2};
    editor.BlockToUpper();
    EXPECT_EQ(Lines(), (std::vector<std::string>{kUpperFirst.substr(0, 10) + "T\xDCK\xD6RF\xDAR\xD3G\xC9P", "SECOND"}));
    editor.BlockToLower();
    EXPECT_EQ(Lines(), (std::vector<std::string>{"\xE1rv\xEDzt\xFBr\xF5 t\xFCk\xF6rf\xFAr\xF3g\xE9p", "second"}));
    editor.Undo();
    editor.Undo();
    EXPECT_EQ(Lines(), (std::vector<std::string>{kLine, "second"}));
}

TEST_F(BlockEditingTest, CapitalizeReportsProgressPerLineAndUndoesInOneStep) {
    SetLines(editor, {"one two", "three", "four five", "six"});
    std::vector<std::pair<int, int>> progress;
    editor.OnProgressChange = [&](TTextEditor*, int total, int done) { progress.emplace_back(total, done); };
    editor.selection = TTextEditorSelection{0, 0, 0, 1, 3};
    editor.Capitalize();
    EXPECT_EQ(Lines(), (std::vector<std::string>{"one two", "Three", "Four Five", "six"}));
    EXPECT_EQ(progress, (std::vector<std::pair<int, int>>{{0, -1}, {2, 0}, {2, 1}, {0, -2}}));
    EXPECT_TRUE(editor.GetModified());
    editor.Undo();
    EXPECT_EQ(Lines(), (std::vector<std::string>{"one two", "three", "four five", "six"}));
}

TEST_F(BlockEditingTest, TabStopsStayAscendingAndUnique) {
    for (int col : {16, 4, 16, 8}) editor.AddTab(col);
    EXPECT_EQ((std::vector<int>{editor.tabStops[0], editor.tabStops[1], editor.tabStops[2]}),
              (std::vector<int>{4, 8, 16}));
    EXPECT_EQ(editor.tabStops.GetCount(), 3);
    editor.ChangeTab(8);
    editor.ChangeTab(12);
    editor.DeleteTab(40);
    EXPECT_EQ((std::vector<int>{editor.tabStops[0], editor.tabStops[1], editor.tabStops[2]}),
              (std::vector<int>{4, 12, 16}));
    EXPECT_EQ(editor.tabStops.GetCount(), 3);
}
