// The handlers of the editing and navigation keys: the text, caret and
// selection each leaves, its undo step (one undo gives the text back, runs
// at one place undo together, changes elsewhere stay apart), the bookmarks
// that follow the text, what read-only editors still do, and the
// indentation queries.
#include <cstring>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "RedaktFixture.h"
#include "Win32.h"

namespace {

const TShiftState kPlain{};
const TShiftState kShift{ssShift};
const TShiftState kCtrl{ssCtrl};
const TShiftState kCtrlShift{ssCtrl, ssShift};

struct EditingKeysTest : ::testing::Test {
    void SetUp() override { win32::ResetClipboard(); }
    void TearDown() override { win32::ResetClipboard(); }
    void Text(const std::vector<std::string>& text) {
        SetLines(editor, text);
        editor.SetHMax(80);
        editor.selection = TTextEditorSelection{};
        editor.markers.Clear();
        editor.ClearUndo();
        editor.SetModified(false);
        editor.EditMode = emInsert;
    }
    void Caret(int col, int line) {
        editor.SetCursorPosX(col);
        editor.SetCursorPosY(line);
        editor.selection = TTextEditorSelection{col, col, line, line, line};
    }
    std::vector<std::string> Lines() const { return TextOf(editor.lines); }
    std::tuple<int, int> CaretAt() const { return {editor.GetCurCol(), editor.GetCurLine()}; }
    std::tuple<int, int> Block() const { return {editor.selection.selStartLine, editor.selection.selEndLine}; }
    std::tuple<int, int> Columns() const { return {editor.selection.selStartCol, editor.selection.selEndCol}; }
    std::vector<int> MarkerLines() const {
        std::vector<int> found;
        for (int i = 0; i < editor.markers.GetCount(); ++i) found.push_back(editor.markers[i].line);
        return found;
    }
    void Bookmarks(const std::vector<int>& lines) {
        for (size_t i = 0; i < lines.size(); ++i) editor.markers += TEXT_EDITOR_MARKER{lines[i], static_cast<int>(i)};
    }
    // Text for the handlers that paste: two lines and a tab.
    static void PutClipboardTextForSweep() {
        const char text[] = "p\tq\nr";
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof text);
        std::memcpy(GlobalLock(block), text, sizeof text);
        GlobalUnlock(block);
        OpenClipboard(nullptr);
        EmptyClipboard();
        SetClipboardData(CF_TEXT, block);
        CloseClipboard();
    }
    // After a handler ran on `before` (caret at col): the text, the caret and
    // the undo records it left, and one undo giving `before` back.
    void ExpectOutcome(const std::vector<std::string>& before, int col, const std::vector<std::string>& after,
                       std::tuple<int, int> caret, int records) {
        const std::string what = before.back() + " at " + std::to_string(col);
        EXPECT_EQ(Lines(), after) << what;
        EXPECT_EQ(CaretAt(), caret) << what;
        EXPECT_EQ(editor.undoItems.GetCount(), records) << what;
        if (records > 0) ExpectOneUndoRestores(before, what);
    }
    // One undo gives back `before` exactly.
    void ExpectOneUndoRestores(const std::vector<std::string>& before, const std::string& what) {
        editor.Undo();
        EXPECT_EQ(Lines(), before) << "one undo after " << what;
    }

    win32::TestDriver driver;
    TTestEditor editor{nullptr};
};

using TPress = std::function<void(TTextEditor&, TShiftState)>;

// The handlers that do nothing while ReadOnly is set.
const std::vector<TPress>& EditingHandlers() {
    static const std::vector<TPress> handlers = {
        [](TTextEditor& e, TShiftState s) { e.ReturnPress(s); },
        [](TTextEditor& e, TShiftState) { e.CtrlEnterPress(); },
        [](TTextEditor& e, TShiftState s) { e.TabPress(s); },
        [](TTextEditor& e, TShiftState s) { e.BackspacePress(s); },
        [](TTextEditor& e, TShiftState s) { e.DeletePress(s); },
        [](TTextEditor& e, TShiftState) { e.DeleteWord(); },
        [](TTextEditor& e, TShiftState s) { e.InsertPress(s); },
    };
    return handlers;
}

const std::vector<std::string> kEight = {"line0", "line1", "line2", "line3", "line4", "line5", "line6", "line7"};

}  // namespace

TEST_F(EditingKeysTest, LineFirstPosAndIndentPosCountLeadingBlanksOnly) {
    Text({"    x", "\tx", "   ", "", "  ab", "", "", "z"});
    const struct {
        int line, def, first;
    } kFirst[] = {{0, 9, 4}, {1, 9, 0}, {2, 9, 9}, {3, -1, -1}, {4, 0, 2}, {8, 5, 5}};
    for (const auto& c : kFirst) EXPECT_EQ(editor.GetLineFirstPos(c.line, c.def), c.first) << c.line;
    const struct {
        int line, indent;
    } kIndent[] = {{0, 0}, {1, 4}, {3, 0}, {4, 0}, {7, 2}, {20, 0}};  // an all-blank line above counts, as 0
    for (const auto& c : kIndent) EXPECT_EQ(editor.GetIndentPos(c.line), c.indent) << c.line;
    Text({});
    EXPECT_EQ(editor.GetLineFirstPos(0, 7), 0);
    EXPECT_EQ(editor.GetIndentPos(3), 0);
}

TEST_F(EditingKeysTest, EnterBreaksTheLineInInsertModeAndOnlyMovesInOverwriteMode) {
    const struct {
        std::vector<std::string> text;
        int col, line;
        TTextEditorEditMode mode;
        bool autoIndent;
        std::vector<std::string> after;
        std::tuple<int, int> caret;
    } kCases[] = {
        {{"abcdef"}, 3, 0, emInsert, false, {"abc", "def"}, {0, 1}},
        {{"    abcdef"}, 7, 0, emInsert, true, {"    abc", "    def"}, {4, 1}},
        {{"abc"}, 9, 0, emInsert, false, {"abc", ""}, {0, 1}},  // beyond the line's end
        {{"  ab", "", "cd"}, 0, 2, emInsert, true, {"  ab", "", "", "  cd"}, {2, 3}},  // empty lines skipped
        {{}, 0, 0, emInsert, false, {"", ""}, {0, 1}},
        {{"one", "two"}, 1, 1, emOverwrite, false, {"one", "two"}, {1, 1}},  // the last line: nothing
        {{"one", "two"}, 1, 0, emOverwrite, false, {"one", "two"}, {0, 1}},
        {{"  one", "two"}, 1, 0, emOverwrite, true, {"  one", "two"}, {2, 1}},  // no blanks put in
    };
    for (const auto& c : kCases) {
        Text(c.text);
        editor.EditMode = c.mode;
        editor.SetAutoIndent(c.autoIndent);
        Caret(c.col, c.line);
        editor.ReturnPress(kPlain);
        const std::string what = (c.text.empty() ? std::string("no text") : c.text[0]) + " at " + std::to_string(c.col);
        EXPECT_EQ(Lines(), c.after) << what;
        EXPECT_EQ(CaretAt(), c.caret) << what;
        EXPECT_EQ(editor.GetModified(), c.mode == emInsert) << what;
        EXPECT_EQ(editor.undoItems.GetCount(), c.mode == emInsert ? 1 : 0) << what;
        if (c.mode == emInsert) ExpectOneUndoRestores(c.text.empty() ? std::vector<std::string>{""} : c.text, what);
    }
}

// Enter moves those below the caret line down; joining two lines moves
// those from the removed line on up.
TEST_F(EditingKeysTest, BookmarksFollowTheirTextThroughEnterAndLineJoins) {
    const struct {
        std::function<void(TTextEditor&)> press;
        int col, line;
        std::vector<int> after;
    } kCases[] = {
        {[](TTextEditor& e) { e.ReturnPress(kPlain); }, 3, 4, {4, 6, 7, 2}},
        {[](TTextEditor& e) { e.BackspacePress(kPlain); }, 0, 5, {4, 4, 5, 2}},
        {[](TTextEditor& e) { e.DeletePress(kPlain); }, 9, 4, {4, 4, 5, 2}},
    };
    for (const auto& c : kCases) {
        Text(kEight);
        Bookmarks({4, 5, 6, 2});
        Caret(c.col, c.line);
        c.press(editor);
        EXPECT_EQ(MarkerLines(), c.after) << "caret at " << c.col << ", " << c.line;
    }
}

TEST_F(EditingKeysTest, EntersInARowUndoTogetherAndOtherChangesStayApart) {
    Text({"abcdef", "tail"});
    Caret(2, 0);
    editor.ReturnPress(kPlain);
    editor.ReturnPress(kPlain);
    editor.ReturnPress(kPlain);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"ab", "", "", "cdef", "tail"}));
    EXPECT_EQ(editor.undoItems.GetCount(), 1);
    ExpectOneUndoRestores({"abcdef", "tail"}, "three Enters");

    // Ctrl+Enter and Enter in overwrite mode change nothing and record nothing,
    // so an undo afterwards cannot take the line below.
    for (bool overwrite : {false, true}) {
        Text({"a", "b", "c"});
        editor.EditMode = overwrite ? emOverwrite : emInsert;
        Caret(0, 0);
        editor.ReturnPress(overwrite ? kPlain : kCtrl);
        editor.Undo();
        EXPECT_EQ(Lines(), (std::vector<std::string>{"a", "b", "c"})) << (overwrite ? "overwrite" : "Ctrl");
    }

    // Typing on line 5, then Enter inside line 6: two steps.
    Text(kEight);
    Caret(5, 5);
    editor.AddUndoItem(utTyping);
    editor.typingUndoCol = 5;
    editor.typingUndoLine = 5;
    editor.lines[5] += "X";
    Caret(2, 6);
    editor.ReturnPress(kPlain);
    editor.Undo();
    std::vector<std::string> typed = kEight;
    typed[5] = "line5X";
    EXPECT_EQ(Lines(), typed);
    ExpectOneUndoRestores(kEight, "typing on line 5");
}

TEST_F(EditingKeysTest, TabInsertsBlanksMovesByTabStopsAndFollowsTheLineAboveWithSmartTab) {
    const struct {
        std::vector<std::string> text;
        int col, line;
        TShiftState shift;
        TTextEditorEditMode mode;
        bool smart;
        std::vector<int> tabStops;
        std::vector<std::string> after;
        int caretCol;
    } kCases[] = {
        {{"abcdef"}, 3, 0, kPlain, emInsert, false, {}, {"abc        def"}, 11},  // 8 blanks, not aligned
        {{"abcdef"}, 3, 0, kShift, emInsert, false, {}, {"abcdef"}, 0},
        {{"abcdefgh"}, 6, 0, kCtrl, emInsert, false, {5, 12}, {"abcdef      gh"}, 12},
        {{"abcdefgh"}, 6, 0, kCtrl, emInsert, false, {2}, {"abcdef        gh"}, 14},  // no stop ahead
        {{"abcdef"}, 14, 0, kShift, emInsert, false, {5, 12}, {"abcdef"}, 12},
        {{"abcdef"}, 4, 0, kCtrlShift, emInsert, false, {5, 12}, {"abcdef"}, 0},
        {{"abcdef"}, 3, 0, kPlain, emOverwrite, false, {}, {"abcdef"}, 11},
        {{"abcdef"}, 77, 0, kPlain, emOverwrite, false, {}, {"abcdef"}, 80},  // at most HMax
        {{"x"}, 3, 0, kPlain, emInsert, false, {}, {"x          "}, 11},       // padded to the caret first
        {{"int  value;", ""}, 0, 1, kPlain, emInsert, true, {}, {"int  value;", "     "}, 5},
        {{"int  value;", ""}, 0, 1, kShift, emOverwrite, true, {}, {"int  value;", "     "}, 5},
        {{"int x", "ab"}, 4, 1, kPlain, emInsert, true, {}, {"int x", "ab      "}, 8},  // to a multiple of 8
        {{"ab", "", "x"}, 3, 2, kPlain, emInsert, true, {}, {"ab", "", "x          "}, 11},  // past the line above
    };
    for (const auto& c : kCases) {
        Text(c.text);
        editor.SetTabSize(8);
        editor.EditMode = c.mode;
        editor.SetSmartTab(c.smart);
        editor.tabStops.Clear();
        for (int stop : c.tabStops) editor.tabStops.Add(stop);
        Caret(c.col, c.line);
        editor.TabPress(c.shift);
        ExpectOutcome(c.text, c.col, c.after, {c.caretCol, c.line}, 1);
    }
    Text({});
    Caret(0, 0);
    editor.TabPress(kPlain);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"        "}));
    ExpectOneUndoRestores({""}, "Tab on no text");
}

TEST_F(EditingKeysTest, BackspaceDeletesUnindentsCutsTheHeadAndJoinsLines) {
    const struct {
        std::vector<std::string> text;
        int col, line;
        TShiftState shift;
        bool unindent, persistent;
        TTextEditorSelection selection;
        std::vector<std::string> after;
        std::tuple<int, int> caret;
        int records;
    } kCases[] = {
        {{"abcdef"}, 3, 0, kPlain, false, false, {3, 3, 0, 0, 0}, {"abdef"}, {2, 0}, 1},
        {{"ab", "cd"}, 0, 1, kPlain, false, false, {0, 0, 1, 1, 1}, {"abcd"}, {2, 0}, 1},
        {{"    if", "        x"}, 8, 1, kPlain, true, false, {8, 8, 1, 1, 1}, {"    if", "    x"}, {4, 1}, 1},
        {{"    if", "        x"}, 8, 1, kCtrl, true, false, {8, 8, 1, 1, 1}, {"    if", "x"}, {0, 1}, 1},
        {{"    if", ""}, 6, 1, kPlain, true, false, {6, 6, 1, 1, 1}, {"    if", ""}, {4, 1}, 0},
        {{"abcdef"}, 4, 0, kCtrl, false, false, {4, 4, 0, 0, 0}, {"ef"}, {0, 0}, 1},
        {{"abc"}, 6, 0, kPlain, false, false, {6, 6, 0, 0, 0}, {"abc"}, {5, 0}, 0},  // beyond the end: a move
        {{"abc"}, 0, 0, kPlain, false, false, {0, 0, 0, 0, 0}, {"abc"}, {0, 0}, 0},
        {{"abcdef"}, 3, 0, kPlain, false, false, {1, 3, 0, 0, 0}, {"adef"}, {1, 0}, 1},  // the selection goes
        {{"abcdef"}, 5, 0, kPlain, false, true, {1, 3, 0, 0, 0}, {"abcdf"}, {4, 0}, 1},  // a persistent one stays
    };
    for (const auto& c : kCases) {
        Text(c.text);
        editor.SetBackspaceUnindent(c.unindent);
        editor.SetPersistentBlocks(c.persistent);
        Caret(c.col, c.line);
        editor.selection = c.selection;
        editor.BackspacePress(c.shift);
        EXPECT_EQ(editor.GetModified(), c.records > 0) << c.text.back() << " at " << c.col;
        ExpectOutcome(c.text, c.col, c.after, c.caret, c.records);
    }
}

TEST_F(EditingKeysTest, DeleteRemovesTheCharacterJoinsThePaddedNextLineCutsAndDeletesWords) {
    const struct {
        std::vector<std::string> text;
        int col, line;
        TShiftState shift;
        TTextEditorSelection selection;
        std::vector<std::string> after;
        std::tuple<int, int> caret;
        int records;
    } kCases[] = {
        {{"abcdef"}, 2, 0, kPlain, {2, 2, 0, 0, 0}, {"abdef"}, {2, 0}, 1},
        {{"abc", "def"}, 6, 0, kPlain, {6, 6, 0, 0, 0}, {"abc   def"}, {6, 0}, 1},  // padded to the caret
        {{"abc"}, 3, 0, kPlain, {3, 3, 0, 0, 0}, {"abc"}, {3, 0}, 0},                  // the end of the text
        {{"abcdef"}, 1, 0, kPlain, {1, 4, 0, 0, 0}, {"aef"}, {1, 0}, 1},
        {{"abcdef"}, 3, 0, kShift, {1, 4, 0, 0, 0}, {"aef"}, {1, 0}, 1},              // Cut
        {{"foo bar  baz"}, 5, 0, kCtrl, {5, 5, 0, 0, 0}, {"foo baz"}, {4, 0}, 1},   // the word and its blanks
    };
    for (const auto& c : kCases) {
        Text(c.text);
        Caret(c.col, c.line);
        editor.selection = c.selection;
        editor.DeletePress(c.shift);
        ExpectOutcome(c.text, c.col, c.after, c.caret, c.records);
    }
    // Shift+Delete put the cut text on the clipboard.
    Text({"abcdef"});
    Caret(4, 0);
    editor.selection = TTextEditorSelection{1, 4, 0, 0, 0};
    editor.DeletePress(kShift);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_STREQ(static_cast<const char*>(GlobalLock(GetClipboardData(CF_TEXT))), "bcd");
    GlobalUnlock(GetClipboardData(CF_TEXT));
    CloseClipboard();
}

// Runs of Backspaces and of Deletes at one place, across a line join too,
// undo in one step; a deletion on another line is a step of its own.
TEST_F(EditingKeysTest, DeletionRunsUndoTogetherAndDeletionsOnOtherLinesStayApart) {
    Text({"ab", "cdef"});
    Caret(2, 1);
    for (int i = 0; i < 4; ++i) editor.BackspacePress(kPlain);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"aef"}));
    EXPECT_EQ(editor.undoItems.GetCount(), 1);
    ExpectOneUndoRestores({"ab", "cdef"}, "four Backspaces");

    Text({"abc", "def", "g"});
    Caret(1, 0);
    for (int i = 0; i < 4; ++i) editor.DeletePress(kPlain);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"aef", "g"}));
    EXPECT_EQ(editor.undoItems.GetCount(), 1);
    ExpectOneUndoRestores({"abc", "def", "g"}, "four Deletes");

    // The same column on another line: Delete at 1 on both lines, Backspace
    // at 3 and then at 2 (the column after the first deletion's).
    for (bool backspace : {false, true}) {
        Text({"abcd", "efgh"});
        Caret(backspace ? 3 : 1, 0);
        backspace ? editor.BackspacePress(kPlain) : editor.DeletePress(kPlain);
        Caret(backspace ? 2 : 1, 1);
        backspace ? editor.BackspacePress(kPlain) : editor.DeletePress(kPlain);
        const std::string what = backspace ? "Backspaces" : "Deletes";
        EXPECT_EQ(editor.undoItems.GetCount(), 2) << what;
        editor.Undo();
        EXPECT_EQ(Lines(), (std::vector<std::string>{backspace ? "abd" : "acd", "efgh"})) << what;
    }
}

// The word is found again after the selection went: deleting the selection
// moves text and caret.
TEST_F(EditingKeysTest, DeleteWordFindsTheWordAfterDeletingTheSelectionAndUndoesInOneStep) {
    const struct {
        std::vector<std::string> text;
        int col, line;
        TTextEditorSelection selection;
        std::vector<std::string> after;
    } kCases[] = {
        {{"foo bar  baz"}, 5, 0, {5, 5, 0, 0, 0}, {"foo baz"}},
        {{"aa bb cc dd"}, 6, 0, {0, 3, 0, 0, 0}, {"cc dd"}},
        {{"x", "y", "foo bar"}, 1, 2, {0, 0, 0, 0, 2}, {"bar"}},
        {{"foo bar", "x", "y"}, 0, 2, {0, 0, 0, 1, 3}, {"bar"}},  // the block ended the text
        {{"ab cd"}, 3, 0, {0, 2, 0, 0, 0}, {" cd"}},               // a blank at the caret then: no word
        {{"a b"}, 1, 0, {1, 1, 0, 0, 0}, {"a b"}},                 // on a separator: nothing
    };
    for (const auto& c : kCases) {
        Text(c.text);
        Caret(c.col, c.line);
        editor.selection = c.selection;
        editor.DeleteWord();
        EXPECT_EQ(Lines(), c.after) << c.text[0];
        if (c.after != c.text) ExpectOneUndoRestores(c.text, "DeleteWord on " + c.text[0]);
    }
}

TEST_F(EditingKeysTest, HomeAndEndMoveSelectAndFillToTheMargin) {
    const std::vector<std::string> text = {"line0", "line1", "line2", "line3", "line4", "line5", "line6",
                                           std::string(20, 'x'), "line8", "line9"};
    const struct {
        std::function<void(TTextEditor&)> press;
        int col;
        TTextEditorSelection selection;
        bool readOnly;
        std::tuple<int, int> caret;
        std::tuple<int, int> block, columns;
        int length;  // of line 7 afterwards
    } kCases[] = {
        {[](TTextEditor& e) { e.HomePress(kCtrlShift); }, 3, {3, 3, 7, 7, 7}, false, {3, 0}, {0, 7}, {0, 0}, 20},
        {[](TTextEditor& e) { e.HomePress(kCtrl); }, 3, {3, 3, 7, 7, 7}, false, {3, 0}, {7, 7}, {3, 3}, 20},
        {[](TTextEditor& e) { e.HomePress(kPlain); }, 5, {2, 5, 7, 7, 7}, false, {0, 7}, {7, 7}, {0, 0}, 20},
        {[](TTextEditor& e) { e.HomePress(kShift); }, 5, {5, 5, 7, 7, 7}, false, {0, 7}, {7, 7}, {0, 5}, 20},
        {[](TTextEditor& e) { e.HomePress(kShift); }, 5, {2, 5, 7, 7, 7}, false, {0, 7}, {7, 7}, {0, 2}, 20},
        {[](TTextEditor& e) { e.HomePress(kShift); }, 2, {2, 5, 7, 7, 7}, false, {0, 7}, {7, 7}, {0, 5}, 20},
        {[](TTextEditor& e) { e.EndPress(kPlain); }, 3, {3, 3, 7, 7, 7}, false, {20, 7}, {7, 7}, {20, 20}, 20},
        {[](TTextEditor& e) { e.EndPress(kShift); }, 5, {5, 5, 7, 7, 7}, false, {20, 7}, {7, 7}, {5, 20}, 20},
        {[](TTextEditor& e) { e.EndPress(kShift); }, 20, {20, 20, 7, 7, 7}, false, {80, 7}, {7, 7}, {20, 80}, 80},
        {[](TTextEditor& e) { e.EndPress(kShift); }, 20, {20, 20, 7, 7, 7}, true, {20, 7}, {7, 7}, {20, 20}, 20},
        {[](TTextEditor& e) { e.EndPress(kCtrlShift); }, 3, {3, 3, 7, 7, 7}, false, {3, 9}, {7, 10}, {0, 0}, 20},
        {[](TTextEditor& e) { e.EndPress(kCtrl); }, 3, {3, 3, 7, 7, 7}, false, {3, 9}, {7, 7}, {3, 3}, 20},
    };
    int n = 0;
    for (const auto& c : kCases) {
        Text(text);
        editor.SetMarginPos(80);
        Caret(c.col, 7);
        editor.selection = c.selection;
        editor.SetReadOnly(c.readOnly);
        c.press(editor);
        EXPECT_EQ(CaretAt(), c.caret) << "case " << n;
        EXPECT_EQ(Block(), c.block) << "case " << n;
        EXPECT_EQ(Columns(), c.columns) << "case " << n;
        EXPECT_EQ(editor.lines[7].Length(), c.length) << "case " << n;
        EXPECT_EQ(editor.selection.selLine, 7) << "case " << n;
        ++n;
    }
    EXPECT_EQ(editor.lines[7].Length(), 20);
    editor.SetReadOnly(false);
    Caret(20, 7);
    editor.EndPress(kShift);
    EXPECT_EQ(editor.lines[7].str(), std::string(20, 'x') + std::string(60, ' '));  // fillChar: a blank
    EXPECT_GE(editor.GetHMax(), 80);
    Text({});
    Caret(5, 0);
    editor.EndPress(kCtrlShift);  // no lines: nothing
    EXPECT_EQ(CaretAt(), std::make_tuple(5, 0));
    EXPECT_EQ(Block(), std::make_tuple(0, 0));
}

TEST_F(EditingKeysTest, CtrlF1AndCtrlEnterReportTheWordAtTheCaret) {
    std::vector<std::string> f1Words, enterWords;
    editor.OnCtrlF1 = [&](TTextEditor* sender, TString word) {
        EXPECT_EQ(sender, &editor);
        f1Words.push_back(word.str());
    };
    editor.OnCtrlEnter = [&](TTextEditor*, TString word) { enterWords.push_back(word.str()); };
    const struct {
        std::string line;
        int col;
        std::vector<std::string> words;
    } kCases[] = {{"x", 0, {"x"}}, {" x", 0, {}}, {"foo bar", 5, {"bar"}}, {"abc", 3, {}}, {"f(x)", 2, {"x"}}};
    for (const auto& c : kCases) {
        Text({c.line});
        Caret(c.col, 0);
        f1Words.clear();
        enterWords.clear();
        editor.F1Press(kCtrl);
        editor.F1Press(kPlain);
        editor.ReturnPress(kCtrl);
        EXPECT_EQ(f1Words, c.words) << c.line;
        EXPECT_EQ(enterWords, c.words) << c.line;
        EXPECT_EQ(Lines(), std::vector<std::string>{c.line});
    }
    // Read-only: Ctrl+F1 still asks, Ctrl+Enter does nothing.
    Text({"word"});
    Caret(1, 0);
    editor.SetReadOnly(true);
    f1Words.clear();
    enterWords.clear();
    editor.F1Press(kCtrl);
    editor.ReturnPress(kCtrl);
    EXPECT_EQ(f1Words, std::vector<std::string>{"word"});
    EXPECT_TRUE(enterWords.empty());
}

// The edit mode handlers on a read-only editor change nothing at all, with
// any modifiers; the page keys, Home and End still move the caret.
TEST_F(EditingKeysTest, AReadOnlyEditorIgnoresTheEditingKeysButStillMoves) {
    const std::vector<TPress>& kEditing = EditingHandlers();
    win32::ResetClipboard();
    int ctrlEnters = 0;
    editor.OnCtrlEnter = [&](TTextEditor*, TString) { ++ctrlEnters; };
    for (const TShiftState shift : {kPlain, kShift, kCtrl, kCtrlShift}) {
        for (size_t i = 0; i < kEditing.size(); ++i) {
            Text({"abc def", "  ghi"});
            Caret(4, 1);
            editor.selection = TTextEditorSelection{1, 3, 0, 0, 0};
            editor.SetReadOnly(true);
            kEditing[i](editor, shift);
            EXPECT_EQ(Lines(), (std::vector<std::string>{"abc def", "  ghi"})) << "handler " << i;
            EXPECT_EQ(CaretAt(), std::make_tuple(4, 1)) << "handler " << i;
            EXPECT_EQ(Columns(), std::make_tuple(1, 3)) << "handler " << i;
            EXPECT_EQ(editor.GetEditMode(), emInsert) << "handler " << i;
            EXPECT_EQ(editor.undoItems.GetCount(), 0) << "handler " << i;
            EXPECT_FALSE(editor.GetModified()) << "handler " << i;
        }
    }
    EXPECT_EQ(ctrlEnters, 0);
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));  // Ctrl+Insert copied nothing

    Text({"abc def", "  ghi", "jkl"});
    editor.SetBounds(0, 0, 300, 300);  // a page of more than three lines
    editor.SetReadOnly(true);
    Caret(4, 1);
    editor.EndPress(kPlain);
    EXPECT_EQ(CaretAt(), std::make_tuple(5, 1));
    editor.HomePress(kPlain);
    EXPECT_EQ(CaretAt(), std::make_tuple(0, 1));
    editor.PgDownPress(kPlain);
    EXPECT_EQ(CaretAt(), std::make_tuple(0, 2));
    editor.PgUpPress(kPlain);
    EXPECT_EQ(CaretAt(), std::make_tuple(0, 0));
}

// Every handler with every combination of Shift and Ctrl, on an empty
// editor, on one line with the caret far beyond its end, and read-only,
// with the indentation settings off and on: it ends, the caret stays on a
// line of the text, and an undo of every step gives the text back (run
// under the address sanitizer, this also shows no read outside a line).
TEST_F(EditingKeysTest, EveryHandlerWithEveryModifierEndsSoundlyOnEdgeTexts) {
    std::vector<TPress> kHandlers = EditingHandlers();
    kHandlers.insert(kHandlers.end(), {
        [](TTextEditor& e, TShiftState s) { e.PgUpPress(s); },
        [](TTextEditor& e, TShiftState s) { e.PgDownPress(s); },
        [](TTextEditor& e, TShiftState s) { e.HomePress(s); },
        [](TTextEditor& e, TShiftState s) { e.EndPress(s); },
        [](TTextEditor& e, TShiftState s) { e.F1Press(s); },
    });
    const struct {
        std::vector<std::string> text;
        int col;
        bool readOnly;
    } kEditors[] = {{{}, 0, false}, {{"abc"}, 40, false}, {{"  abc def", "x"}, 3, true}};
    editor.OnCtrlEnter = [](TTextEditor*, TString) {};
    editor.OnCtrlF1 = [](TTextEditor*, TString) {};
    editor.SetBounds(0, 0, 200, 100);
    for (bool settings : {false, true})
        for (const auto& start : kEditors)
            for (const TShiftState shift : {kPlain, kShift, kCtrl, kCtrlShift})
                for (size_t i = 0; i < kHandlers.size(); ++i) {
                    Text(start.text);
                    editor.SetAutoIndent(settings);
                    editor.SetSmartTab(settings);
                    editor.SetBackspaceUnindent(settings);
                    editor.SetPersistentBlocks(settings);
                    editor.tabStops.Clear();
                    if (settings) editor.tabStops.Add(2);
                    Caret(start.col, 0);
                    editor.SetReadOnly(start.readOnly);
                    PutClipboardTextForSweep();
                    kHandlers[i](editor, shift);
                    const std::string what = "handler " + std::to_string(i) + " on " +
                                             std::to_string(start.text.size()) + " lines, settings " +
                                             std::to_string(settings);
                    EXPECT_GE(editor.GetCurLine(), 0) << what;
                    EXPECT_LE(editor.GetCurLine(), std::max(editor.lines.GetCount() - 1, 0)) << what;
                    EXPECT_LE(editor.lines.GetCount(), 2 + int(start.text.size())) << what;
                    if (start.readOnly) {
                        EXPECT_EQ(Lines(), start.text) << what;
                    }
                    while (editor.undoItems.GetCount() > 0) editor.Undo();
                    if (!start.text.empty()) {
                        EXPECT_EQ(Lines(), start.text) << what << ", undone";
                    }
                }
}

namespace {

int CaretWidth() {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(0, &info);
    return info.rcCaret.right - info.rcCaret.left;
}

}  // namespace

TEST_F(EditorTest, InsertTogglesTheModeAndTheCaretAndWithCtrlOrShiftCopiesOrPastes) {
    win32::ResetClipboard();
    TTestEditor* editor = Place<TTestEditor>();
    ShowText(editor, {"abcdef", "ghi"});
    editor->SetFocus();
    driver.PumpUntilIdle();
    std::vector<TTextEditorEditMode> modes;
    editor->OnEditModeChange = [&](TTextEditor* sender, TTextEditorEditMode mode) {
        EXPECT_EQ(sender, editor);
        modes.push_back(mode);
    };
    editor->InsertPress(kPlain);
    EXPECT_EQ(editor->GetEditMode(), emOverwrite);
    EXPECT_EQ(CaretWidth(), editor->GetCharWidth());
    editor->InsertPress(kPlain);
    EXPECT_EQ(editor->GetEditMode(), emInsert);
    EXPECT_EQ(CaretWidth(), 1);
    EXPECT_EQ(modes, (std::vector<TTextEditorEditMode>{emOverwrite, emInsert}));

    editor->selection = TTextEditorSelection{1, 4, 0, 0, 0};
    editor->InsertPress(kCtrl);
    editor->selection = TTextEditorSelection{};
    editor->SetCursorPosX(0);
    editor->SetCursorPosY(1);
    editor->InsertPress(kShift);
    EXPECT_EQ(TextOf(editor->lines), (std::vector<std::string>{"abcdef", "bcdghi"}));
    EXPECT_EQ(modes.size(), 2u);
    win32::ResetClipboard();
}

// The view shows lines 10 on, the caret stands at (3, 15).
TEST_F(EditorTest, PageKeysMoveAPageOrToTheViewsEdgesAndExtendTheBlockWithShift) {
    TTestEditor* editor = Place<TTestEditor>(10, 10, 300, 200);
    ShowText(editor, std::vector<std::string>(100, "some text"));
    const int page = editor->GetClientHeight() / editor->GetLineHeight();
    ASSERT_GE(page, 8);
    ASSERT_LE(page, 15);
    const struct {
        std::function<void(TTextEditor&)> press;
        int line;
        std::tuple<int, int> block;
    } kCases[] = {
        {[](TTextEditor& e) { e.PgDownPress(kPlain); }, 15 + page, {15 + page, 15 + page}},
        {[](TTextEditor& e) { e.PgDownPress(kShift); }, 15 + page, {15, 15 + page}},
        {[](TTextEditor& e) { e.PgDownPress(kCtrl); }, 10 + page - 1, {10 + page - 1, 10 + page - 1}},
        {[](TTextEditor& e) { e.PgDownPress(kCtrlShift); }, 10 + page - 1, {15, 10 + page - 1}},
        {[](TTextEditor& e) { e.PgUpPress(kPlain); }, 15 - page, {15 - page, 15 - page}},
        {[](TTextEditor& e) { e.PgUpPress(kShift); }, 15 - page, {15 - page, 15}},
        {[](TTextEditor& e) { e.PgUpPress(kCtrl); }, 10, {10, 10}},
        {[](TTextEditor& e) { e.PgUpPress(kCtrlShift); }, 10, {10, 15}},
    };
    int n = 0;
    for (const auto& c : kCases) {
        editor->SetVPos(10);
        editor->SetCursorPosX(3);
        editor->SetCursorPosY(15);
        editor->selection = TTextEditorSelection{3, 3, 15, 15, 15};
        c.press(*editor);
        EXPECT_EQ(editor->GetCurLine(), c.line) << "case " << n;
        EXPECT_EQ(editor->GetCurCol(), 3) << "case " << n;
        EXPECT_EQ(std::make_tuple(editor->selection.selStartLine, editor->selection.selEndLine), c.block)
            << "case " << n;
        EXPECT_EQ(editor->pageAnchorLine, 15) << "case " << n;
        EXPECT_GE(editor->GetCurLine(), editor->GetVPos()) << "case " << n;
        EXPECT_LT(editor->GetCurLine(), editor->GetVPos() + page) << "case " << n;
        ++n;
    }
    editor->SetCursorPosY(95);
    editor->PgDownPress(kPlain);
    EXPECT_EQ(editor->GetCurLine(), 99);
    editor->SetCursorPosY(1);
    editor->PgUpPress(kPlain);
    EXPECT_EQ(editor->GetCurLine(), 0);
    // Ctrl+PgDn on a text shorter than the view stops at its last line.
    ShowText(editor, {"a", "b", "c", "d", "e"});
    editor->SetVPos(0);
    editor->SetCursorPosY(1);
    editor->PgDownPress(kCtrl);
    EXPECT_EQ(editor->GetCurLine(), 4);
    editor->SetCursorPosX(0);
    editor->TabPress(kPlain);
    EXPECT_EQ(TextOf(editor->lines).back(), "        e");
    ExpectShowsFullRepaint(editor);
}
