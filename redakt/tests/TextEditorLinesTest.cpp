// Whole-line insertion and deletion with their sections, inserting a text at
// the caret (and undoing it), and the append-mode overwrite step.
#include <string>
#include <vector>

#include "RedaktFixture.h"

namespace {

struct LinesTest : ::testing::Test {
    void SetText(const std::vector<std::string>& text) { SetLines(editor, text); }
    std::vector<int> MarkerLines() const {
        std::vector<int> found;
        for (int i = 0; i < editor.markers.GetCount(); ++i) found.push_back(editor.markers[i].line);
        return found;
    }

    win32::TestDriver driver;
    TTextEditor editor{nullptr};
};

}  // namespace

TEST_F(LinesTest, TheLineTextOfALineTheStoreDoesNotHaveIsEmpty) {
    SetText({"a", "b"});
    EXPECT_EQ(editor.GetLineText(1).str(), "b");
    for (int outside : {-1, 2, 1000}) EXPECT_TRUE(editor.GetLineText(outside).IsEmpty()) << outside;
}

TEST_F(LinesTest, InsertingAndDeletingLinesKeepsTheSectionsInStep) {
    const struct {
        const char* change;
        std::function<void(TTextEditor&)> apply;
        std::vector<TIntPair> before, after;
        int count;  // lines afterwards
        int probe;  // a line afterwards and its text
        const char* probeText;
    } kChanges[] = {
        {"one line at 5", [](TTextEditor& e) { e.Insert(5, TString("new")); },
         {{5, 8}, {2, 5}, {1, 4}, {-1, -1}}, {{6, 9}, {2, 6}, {1, 4}, {-1, -1}}, 21, 5, "new"},
        {"three lines at 5",
         [](TTextEditor& e) {
             TStringContainer three;
             for (const char* s : {"x", "y", "z"}) three.Add(s);
             e.Insert(5, three);
         },
         {{5, 8}, {2, 5}, {10, 12}}, {{8, 11}, {2, 8}, {13, 15}}, 23, 7, "z"},
        {"a line at the line count", [](TTextEditor& e) { e.Insert(20, TString("end")); },
         {{19, 19}, {2, 5}}, {{19, 19}, {2, 5}}, 21, 20, "end"},
        {"lines 4 to 6 deleted", [](TTextEditor& e) { e.Delete(4, 6); },
         {{10, 12}, {2, 8}, {5, 6}, {5, 9}, {2, 5}, {0, 3}, {-1, -1}},
         {{7, 9}, {2, 5}, {-1, -1}, {4, 6}, {2, 3}, {0, 3}, {-1, -1}}, 17, 4, "L7"},
        // A section of exactly the deleted lines is gone too, not turned round.
        {"the lines of a section deleted", [](TTextEditor& e) { e.Delete(3, 4); }, {{3, 4}, {3, 5}, {2, 4}},
         {{-1, -1}, {3, 3}, {2, 2}}, 18, 3, "L5"},
        {"one line deleted", [](TTextEditor& e) { e.Delete(3); }, {{3, 3}}, {{-1, -1}}, 19, 3, "L4"},
        {"a range beyond the text", [](TTextEditor& e) { e.Delete(25, 30); }, {{2, 5}}, {{2, 5}}, 20, 19, "L19"},
    };
    for (const auto& row : kChanges) {
        std::vector<std::string> text;
        for (int i = 0; i < 20; ++i) text.push_back("L" + std::to_string(i));
        SetText(text);
        editor.sections.Clear();
        for (const TIntPair& pair : row.before) editor.sections.Add(pair);
        row.apply(editor);
        EXPECT_EQ(editor.lines.GetCount(), row.count) << row.change;
        EXPECT_EQ(editor.GetLineText(row.probe).str(), row.probeText) << row.change;
        ASSERT_EQ(editor.sections.GetCount(), static_cast<int>(row.after.size())) << row.change;
        for (size_t i = 0; i < row.after.size(); ++i) {
            EXPECT_EQ(editor.sections[static_cast<int>(i)].first, row.after[i].first) << row.change << " #" << i;
            EXPECT_EQ(editor.sections[static_cast<int>(i)].second, row.after[i].second) << row.change << " #" << i;
        }
    }
}

TEST_F(LinesTest, InsertTextAtTheCaretAndUndoingIt) {
    const std::vector<std::string> before = {"top", "abc", "end"};
    const struct {
        const char* insertion;
        std::vector<std::string> text, caretLine;
        int col;
        std::vector<std::string> after;
        TTextEditorSelection selection;
        int caretCol, caretLineAfter;
        std::vector<int> markers;  // bookmarks set on lines 0, 1 and 2 follow their text
    } kInsertions[] = {
        {"one line", {"x"}, {"abc"}, 1, {"top", "axbc", "end"}, {1, 2, 1, 1, 1}, 2, 1, {0, 1, 2}},
        {"two lines", {"x", "y"}, {"abc"}, 1, {"top", "ax", "ybc", "end"}, {0, 0, 0, 1, 3}, 1, 2, {0, 1, 3}},
        {"past the end of a short line", {"x"}, {"ab"}, 5, {"top", "ab   x", "end"}, {5, 6, 1, 1, 1}, 6, 1, {0, 1, 2}},
        {"two lines and a line break at column 0", {"a2", "b2", ""}, {"abc"}, 0, {"top", "a2", "b2", "abc", "end"},
         {0, 0, 0, 1, 3}, 0, 3, {0, 3, 4}},
        {"one line and a line break inside", {"x", ""}, {"abc"}, 2, {"top", "abx", "c", "end"}, {0, 0, 0, 1, 2}, 0, 2,
         {0, 1, 3}},
    };
    for (const auto& row : kInsertions) {
        std::vector<std::string> text = before;
        text[1] = row.caretLine[0];
        SetText(text);
        editor.ClearUndo();
        editor.selection = TTextEditorSelection{};
        editor.markers.Clear();
        for (int line : {0, 1, 2}) editor.markers += TEXT_EDITOR_MARKER{line, line};
        editor.SetCursorPosX(row.col);
        editor.SetCursorPosY(1);
        editor.SetModified(false);
        TStringContainer insertion;
        for (const std::string& line : row.text) insertion.Add(TString(line));
        editor.InsertText(insertion);

        EXPECT_EQ(TextOf(editor.lines), row.after) << row.insertion;
        const TTextEditorSelection& s = editor.selection;
        EXPECT_EQ(std::vector<int>({s.selStartCol, s.selEndCol, s.selLine, s.selStartLine, s.selEndLine}),
                  std::vector<int>({row.selection.selStartCol, row.selection.selEndCol, row.selection.selLine,
                                    row.selection.selStartLine, row.selection.selEndLine}))
            << row.insertion;
        EXPECT_EQ(editor.GetCurCol(), row.caretCol) << row.insertion;
        EXPECT_EQ(editor.GetCurLine(), row.caretLineAfter) << row.insertion;
        EXPECT_EQ(MarkerLines(), row.markers) << row.insertion;
        EXPECT_EQ(editor.GetVMax(), static_cast<int>(row.after.size()) - 1) << row.insertion;
        EXPECT_TRUE(editor.GetModified()) << row.insertion;
        EXPECT_EQ(TextOf(insertion), row.text) << row.insertion << ": the source changed";

        editor.Undo();
        EXPECT_EQ(TextOf(editor.lines), text) << row.insertion << " undone";
        EXPECT_EQ(MarkerLines(), (std::vector<int>{0, 1, 2})) << row.insertion << " undone";
        EXPECT_EQ(editor.GetCurCol(), row.col) << row.insertion << " undone";
        EXPECT_EQ(editor.GetCurLine(), 1) << row.insertion << " undone";
    }
}

TEST_F(LinesTest, InsertTextIntoNoTextReadOnlyOrNothing) {
    TStringContainer one;
    one.Add("x");
    editor.InsertText(one);  // an empty editor gets its first line
    EXPECT_EQ(TextOf(editor.lines), std::vector<std::string>{"x"});

    TStringContainer none;
    editor.InsertText(none);
    editor.SetReadOnly(true);
    editor.InsertText(one);
    EXPECT_EQ(TextOf(editor.lines), std::vector<std::string>{"x"});
    editor.SetReadOnly(false);
    editor.SetCursorPosY(5);  // a caret outside the text inserts nothing
    editor.InsertText(one);
    EXPECT_EQ(TextOf(editor.lines), std::vector<std::string>{"x"});
    EXPECT_EQ(editor.undoItems.GetCount(), 1);

    editor.SetCursorPosY(0);
    editor.SetCursorPosX(1);
    editor.InsertText(editor.lines);  // the text into itself
    EXPECT_EQ(TextOf(editor.lines), std::vector<std::string>{"xx"});
}

TEST_F(LinesTest, AppendModeTypingShiftsTheTypedCharactersTowardsTheMargin) {
    const struct {
        const char* typing;
        const char* line;
        int col, appendCount;
        const char* after;
    } kTyping[] = {
        {"two typed before", "abcdefghij", 3, 2, "abcdefgijX"},
        {"none typed before", "abcdefghij", 9, 0, "abcdefghiX"},
        {"more typed than fit before the margin", "abcdefghij", 8, 5, "abcdefghjX"},
        {"text beyond the margin stays", "abcdefghijKLM", 3, 2, "abcdefgijXKLM"},
        {"a short line is padded to the margin", "abc", 5, 0, "abc      X"},
        {"a short line with typed characters", "abcdefg", 1, 2, "abcdefg  X"},
        {"the column at the margin", "abcdefghij", 10, 0, "abcdefghij"},
        {"the column beyond the margin", "abc", 12, 0, "abc"},
    };
    editor.SetMarginPos(10);
    for (const auto& row : kTyping) {
        SetText({row.line});
        editor.appendCount = row.appendCount;
        editor.AppendLineInInsertMode(0, row.col, 'X');
        EXPECT_EQ(editor.lines[0].str(), row.after) << row.typing;
    }
    editor.AppendLineInInsertMode(3, 1, 'X');  // a line outside the text
    EXPECT_EQ(editor.lines.GetCount(), 1);
}
