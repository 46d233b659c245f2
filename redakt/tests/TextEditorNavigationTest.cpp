// Navigation and line arrangement: going to a line or position with the view
// re-centred, the bracket searches, aligning, splitting, re-flowing,
// reversing and exchanging lines, with their undo steps and the marks they
// leave.
#include <string>
#include <vector>

#include "RedaktFixture.h"

namespace {

struct NavigationTest : ::testing::Test {
    // The lines, with the ranges to fit and the caret at (col, line).
    void Text(const std::vector<std::string>& text, int col = 0, int line = 0) {
        SetLines(editor, text);
        editor.SetHMax(editor.GetMaxLineLength());
        Caret(col, line);
        editor.SetModified(false);
    }
    void Caret(int col, int line) {
        editor.SetCursorPosX(col);
        editor.SetCursorPosY(line);
    }
    std::vector<std::string> Lines() const { return TextOf(editor.lines); }
    POINT CaretAt() const { return POINT{editor.GetCurCol(), editor.GetCurLine()}; }
    void Block(int first, int end) { editor.selection = TTextEditorSelection{0, 0, 0, first, end}; }
    // An undo record that an operation without records of its own must drop.
    void OlderUndoRecord() { editor.AddUndoItem(utTyping, 0, 0); }
    int UndoRecords() { return editor.undoItems.GetCount(); }

    win32::TestDriver driver;
    TTextEditor editor{nullptr};
};

std::vector<std::string> Numbered(int count) {
    std::vector<std::string> text;
    for (int i = 0; i < count; ++i) text.push_back("line " + std::to_string(i));
    return text;
}

}  // namespace

TEST_F(EditorTest, GoToAFarLineLeavesItHalfAPageFromTheEdgeItCameInAt) {
    TTextEditor* editor = Place();
    ShowText(editor, Numbered(300));
    editor->SetFocus();
    driver.PumpUntilIdle();
    const int h = editor->GetLineHeight();
    const int rows = editor->GetClientHeight() / h;
    const int half = (rows - 1) / 2;
    ASSERT_GE(rows, 5);

    editor->GoTo(3, 200);
    EXPECT_EQ(editor->GetCurLine(), 200);
    EXPECT_EQ(editor->GetCurCol(), 3);
    EXPECT_EQ(editor->GetVPos(), 200 - (rows - 1) + half);
    POINT caret{};
    GetCaretPos(&caret);
    EXPECT_EQ(caret.x, 3 * editor->GetCharWidth() + editor->GetColGap());
    EXPECT_EQ(caret.y, (200 - editor->GetVPos()) * h) << "the caret stays on its cell after the second scroll";

    const int shown = editor->GetVPos();
    editor->GoTo(0, shown + rows - 1);
    EXPECT_EQ(editor->GetVPos(), shown) << "a visible line does not scroll";

    editor->GoTo(0, 50);
    EXPECT_EQ(editor->GetVPos(), 50 - half);
    editor->GoTo(0, 2);
    EXPECT_EQ(editor->GetVPos(), 0);

    // Out of range: clamped to the text and to 0..HMax.
    editor->GoTo(-5, 1000);
    EXPECT_EQ(editor->GetCurLine(), 299);
    EXPECT_EQ(editor->GetCurCol(), 0);
    EXPECT_LE(editor->GetVPos(), 299);
    EXPECT_GT(editor->GetVPos() + rows, 299);
    editor->GoTo(500, -3);
    EXPECT_EQ(editor->GetCurLine(), 0);
    EXPECT_EQ(editor->GetCurCol(), editor->GetHMax());

    editor->SetCursorPosX(4);
    editor->GoToLine(120);
    EXPECT_EQ(editor->GetCurCol(), 4);
    EXPECT_EQ(editor->GetCurLine(), 120);
    editor->GoToLine(-7);
    EXPECT_EQ(editor->GetCurLine(), 0);
    EXPECT_EQ(editor->GetCurCol(), 4);
}

TEST_F(NavigationTest, TheBlockSearchesFindTheBracketsOfTheEnclosingBlock) {
    const std::vector<std::string> call = {"f(a[1]) { x; }"};
    const std::vector<std::string> nested = {"int f() {", "  if (a) {", "    x;", "  }", "}"};
    const std::vector<std::string> braced = {"{ f(x) }"};
    const struct {
        const std::vector<std::string>& text;
        bool next, allBlocks;
        int col, line, toCol, toLine;
    } kCases[] = {
        {call, true, true, 10, 0, 14, 0},     // from 'x' behind '}'
        {call, true, false, 10, 0, 14, 0},
        {call, true, true, 4, 0, 6, 0},       // from '1' behind ']'
        {call, true, false, 4, 0, 4, 0},      // the braces after it balance
        {call, false, true, 0, 0, 0, 0},      // nothing encloses 'f'
        {nested, false, true, 9, 1, 8, 0},    // inner '{' to the outer one
        {nested, false, true, 4, 2, 9, 1},    // 'x' to its block's '{'
        {nested, false, true, 20, 2, 9, 1},   // from beyond the line's end
        {nested, true, true, 4, 2, 3, 3},     // 'x' behind its block's '}'
        {nested, true, true, 9, 1, 1, 4},     // inner '{' behind the outer '}'
        {nested, true, true, 0, 4, 1, 4},
        {braced, false, true, 3, 0, 0, 0},    // '(' under the caret counts as '{' does
        {braced, false, false, 3, 0, 0, 0},
        {{"a { b"}, true, true, 4, 0, 4, 0},  // no closing bracket
        {{}, true, true, 0, 0, 0, 0},
        {{}, false, true, 0, 0, 0, 0},
    };
    for (const auto& c : kCases) {
        Text(c.text, c.col, c.line);
        editor.SetAllBlocks(c.allBlocks);
        c.next ? editor.GoToNextBlock() : editor.GoToPrevBlock();
        EXPECT_EQ(editor.GetCurCol(), c.toCol) << (c.next ? "next" : "prev") << " from " << c.col << "," << c.line
                                                << " allBlocks " << c.allBlocks;
        EXPECT_EQ(editor.GetCurLine(), c.toLine) << (c.next ? "next" : "prev") << " from " << c.col << "," << c.line;
    }
}

TEST_F(NavigationTest, AlignPlacesTheLinesWithinTheMarginAsOneUndoStep) {
    const std::vector<std::string> before = {"  ab", "cd  ", "x"};
    const struct {
        TString::TAlignMode mode;
        bool block;
        std::vector<std::string> after;
    } kCases[] = {
        {TString::amLeft, false, {"ab", "cd", "x"}},
        {TString::amRight, false, {"    ab", "    cd", "     x"}},
        {TString::amMiddle, false, {"  ab", "  cd", "  x"}},
        {TString::amCenter, false, {"  ab  ", "  cd  ", "  x   "}},
        {TString::amRight, true, {"  ab", "    cd", "x"}},
    };
    editor.SetMarginPos(6);
    for (const auto& c : kCases) {
        Text(before);
        editor.ClearUndo();
        if (c.block) Block(1, 2);
        editor.Align(c.mode);
        EXPECT_EQ(Lines(), c.after) << c.mode << (c.block ? " block" : "");
        EXPECT_TRUE(editor.GetModified());
        EXPECT_GE(editor.GetHMax(), editor.GetMaxLineLength()) << c.mode;
        EXPECT_EQ(UndoRecords(), 1);
        editor.Undo();
        EXPECT_EQ(Lines(), before) << c.mode;
        editor.selection = TTextEditorSelection{};
    }
    Text(before);
    editor.SetReadOnly(true);
    editor.Align(TString::amRight);
    EXPECT_EQ(Lines(), before);
    EXPECT_FALSE(editor.GetModified());
}

TEST_F(NavigationTest, SplitLineCutsAtTheSeparatorAndLeavesTheCaretInsideTheText) {
    const std::vector<std::string> text = {"a, b,,c", "", "d,e", "tail"};
    const struct {
        bool trim, block;
        int caretLine;
        std::vector<std::string> after;
        int toLine;
    } kCases[] = {
        {false, true, 0, {"a", " b", "", "c", "", "d", "e", "tail"}, 7},
        {true, true, 0, {"a", "b", "", "c", "", "d", "e", "tail"}, 7},
        {false, false, 2, {"a, b,,c", "", "d", "e", "tail"}, 4},
        {true, false, 0, {"a", "b", "", "c", "", "d,e", "tail"}, 4},
    };
    for (const auto& c : kCases) {
        Text(text, 5, c.caretLine);
        editor.markers.Clear();
        editor.markers += TEXT_EDITOR_MARKER{3, 1};
        OlderUndoRecord();
        if (c.block) Block(0, 3);
        editor.SplitLine(',', c.trim);
        EXPECT_EQ(Lines(), c.after);
        EXPECT_EQ(editor.GetCurLine(), c.toLine);
        EXPECT_EQ(editor.markers[0].line, static_cast<int>(c.after.size()) - 1) << "the bookmark stays on 'tail'";
        EXPECT_TRUE(editor.GetModified());
        EXPECT_EQ(UndoRecords(), 0);
        EXPECT_EQ(editor.selection.selEndLine, 0);
    }

    // The range ends the text: the caret goes to the last line, not below it.
    Text({"x", "y,z"}, 0, 1);
    editor.SplitLine(',', false);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"x", "y", "z"}));
    EXPECT_EQ(editor.GetCurLine(), 2);

    Text({"p,q"});
    editor.SetReadOnly(true);
    editor.SplitLine(',', false);
    EXPECT_EQ(Lines(), std::vector<std::string>{"p,q"});
    EXPECT_FALSE(editor.GetModified());
    editor.SetReadOnly(false);
    Text({});
    editor.SplitLine(',', false);
    EXPECT_TRUE(Lines().empty());
}

TEST_F(NavigationTest, ArrangeLinesReflowsParagraphsToTheMargin) {
    const struct {
        std::vector<std::string> before, after;
    } kCases[] = {
        {{"aaa bbb", "ccc ddd"}, {"aaa bbb", "ccc ddd"}},  // 7 + 3 reaches 10
        {{"  xx yy", "zz"}, {"  xx yy zz"}},
        {{"one two three four five six"}, {"one two", "three four", "five six"}},
        {{"  aa bb cc dd"}, {"  aa bb cc", "  dd"}},        // the indentation carries
        {{"aa", "  bb", "cc"}, {"aa", "  bb cc"}},          // two blanks start a paragraph
        {{"a b", "", "", "c  ", "d"}, {"a b", "", "", "c d"}},
        {{"aaa abcdefghijkl b"}, {"aaa", "abcdefghijkl", "b"}},
        {{" one   two "}, {"one two"}},
        {{}, {}},
    };
    editor.SetMarginPos(10);
    for (const auto& c : kCases) {
        Text(c.before, 3, c.before.empty() ? 0 : static_cast<int>(c.before.size()) - 1);
        editor.ArrangeLines();
        EXPECT_EQ(Lines(), c.after) << (c.before.empty() ? "" : c.before[0]);
        EXPECT_EQ(editor.GetVMax(), std::max(static_cast<int>(c.after.size()) - 1, 0));
        EXPECT_EQ(editor.GetHMax(), editor.GetMaxLineLength());
    }
    EXPECT_TRUE(editor.GetModified());

    // Over a block, also when read-only: one undo step; the block's end follows.
    Text({"x y", "a", "b", "c d e f", "z w"}, 2, 4);
    editor.SetReadOnly(true);
    Block(1, 4);
    editor.ClearUndo();
    editor.markers += TEXT_EDITOR_MARKER{4, 2};
    editor.ArrangeLines();
    EXPECT_EQ(Lines(), (std::vector<std::string>{"x y", "a b c d e", "f", "z w"}));
    EXPECT_EQ(CaretAt().x, 0);
    EXPECT_EQ(CaretAt().y, 1);
    EXPECT_EQ(editor.selection.selEndLine, 3);
    EXPECT_EQ(editor.GetEditMode(), emInsert);
    EXPECT_EQ(editor.markers[0].line, 3) << "the bookmark stays on 'z w'";
    ASSERT_EQ(UndoRecords(), 1);
    editor.Undo();
    EXPECT_EQ(Lines(), (std::vector<std::string>{"x y", "a", "b", "c d e f", "z w"}));
}

TEST_F(NavigationTest, ReversingTurnsTheRangeOrEachParagraphRound) {
    const std::vector<std::string> text = {"a", "b", "", "c", "d"};
    const struct {
        const char* what;
        void (TTextEditor::*reverse)();
        int blockFirst, blockEnd;
        std::vector<std::string> after;
    } kCases[] = {
        {"by paragraph", &TTextEditor::ReverseLinesByParagraph, 0, 0, {"b", "a", "", "d", "c"}},
        {"all", &TTextEditor::ReverseLines, 0, 0, {"d", "c", "", "b", "a"}},
        {"block", &TTextEditor::ReverseLines, 1, 4, {"a", "c", "", "b", "d"}},
        {"block by paragraph", &TTextEditor::ReverseLinesByParagraph, 3, 9, {"a", "b", "", "d", "c"}},
    };
    for (const auto& c : kCases) {
        Text(text);
        Block(c.blockFirst, c.blockEnd);
        OlderUndoRecord();
        (editor.*c.reverse)();
        EXPECT_EQ(Lines(), c.after) << c.what;
        EXPECT_TRUE(editor.GetModified()) << c.what;
        EXPECT_EQ(UndoRecords(), 0) << c.what;
    }

    // An empty, inverted or one-line range moves nothing and keeps the undo
    // steps, but marks the text modified; a range past the text is cut to it.
    for (const auto& range : std::vector<std::pair<int, int>>{{3, 3}, {4, 1}, {2, 3}, {7, 9}}) {
        Text(text);
        editor.ClearUndo();
        OlderUndoRecord();
        editor.ReverseLines(range.first, range.second, true);
        EXPECT_EQ(Lines(), text);
        EXPECT_TRUE(editor.GetModified());
        EXPECT_EQ(UndoRecords(), 1);
    }
    Text(text);
    editor.ReverseLines(-5, 100, false);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"d", "c", "", "b", "a"}));
}

TEST_F(NavigationTest, ExchangeSelectionSwapsThePartsAroundTheMark) {
    Text({"x", "A", "B", "C", "D", "E", "y"});
    Block(1, 6);
    editor.selMark = 3;
    OlderUndoRecord();
    editor.ExchangeSelection();
    EXPECT_EQ(Lines(), (std::vector<std::string>{"x", "C", "D", "E", "A", "B", "y"}));
    EXPECT_EQ(editor.selMark, 4);
    EXPECT_TRUE(editor.GetModified());
    EXPECT_EQ(UndoRecords(), 0);

    const struct {
        int startCol, endCol, mark;
        std::string after;
        int toMark, toEndCol;
    } kInLine[] = {
        {1, 5, 3, "adebcf", 3, 5},
        {1, 10, 4, "aefbcd", 3, 6},      // the end lowered to the line's length
        {1, 10, 8, "abcdef", 8, 10},     // the mark then lies outside: nothing
        {1, 5, -1, "abcdef", -1, 5},
        {1, 5, 5, "abcdef", 5, 5},
        {1, 5, 1, "abcdef", 5, 5},       // an empty first part: only the mark moves
    };
    for (const auto& c : kInLine) {
        Text({"top", "abcdef"});
        editor.selection = TTextEditorSelection{c.startCol, c.endCol, 1, 0, 0};
        editor.selMark = c.mark;
        editor.ExchangeSelection();
        EXPECT_EQ(editor.lines[1].str(), c.after) << c.mark;
        EXPECT_EQ(editor.selMark, c.toMark) << c.mark;
        EXPECT_EQ(editor.selection.selEndCol, c.toEndCol) << c.mark;
        EXPECT_EQ(editor.GetModified(), c.toMark != c.mark || c.after != "abcdef") << c.mark;
    }
}
