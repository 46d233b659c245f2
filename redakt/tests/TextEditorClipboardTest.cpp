// The system clipboard's text (copying the selection, pasting with its line
// ends and tabs), the ten clipboard buffers and the numbered bookmarks.
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "RedaktFixture.h"
#include "Win32.h"

namespace {

struct ClipboardTest : ::testing::Test {
    void SetUp() override { win32::ResetClipboard(); }
    void TearDown() override { win32::ResetClipboard(); }
    void Text(const std::vector<std::string>& text) {
        SetLines(editor, text);
        editor.SetHMax(80);
    }
    void Caret(int col, int line) {
        editor.SetCursorPosX(col);
        editor.SetCursorPosY(line);
    }
    std::vector<std::string> Lines() const { return TextOf(editor.lines); }
    std::tuple<int, int> Block() const { return {editor.selection.selStartLine, editor.selection.selEndLine}; }
    std::tuple<int, int> CaretAt() const { return {editor.GetCurCol(), editor.GetCurLine()}; }

    win32::TestDriver driver;
    TTextEditor editor{nullptr};
};

const std::vector<std::string> kFive = {"zero", "one", "two", "three", "four"};

}  // namespace

TEST_F(ClipboardTest, ACopiedBlockPastesBackAboveTheCaretLineAsALineBlock) {
    Text(kFive);
    editor.selection = TTextEditorSelection{0, 0, 2, 2, 4};
    editor.Copy();
    EXPECT_EQ(ClipboardBytes(), std::string("two\r\nthree\r\n\0", 13));

    editor.selection = TTextEditorSelection{};
    Caret(0, 1);
    editor.Paste();
    EXPECT_EQ(Lines(), (std::vector<std::string>{"zero", "two", "three", "one", "two", "three", "four"}));
    EXPECT_EQ(Block(), std::make_tuple(1, 3));
    EXPECT_EQ(CaretAt(), std::make_tuple(0, 3));  // column 0 of the former caret line
    EXPECT_TRUE(editor.GetModified());
    EXPECT_EQ(editor.undoItems.GetCount(), 1);
    editor.Undo();
    EXPECT_EQ(Lines(), kFive);
}

// An in-line selection is read from its own line, and only as far as the
// line's text goes.
TEST_F(ClipboardTest, CopyTakesTheInLineSelectionOfItsLineWithinTheText) {
    const struct {
        TTextEditorSelection selection;
        std::string copied;
    } kCases[] = {
        {{1, 4, 3, 0, 0}, "hre"},   // on line 3, the caret's line being 0
        {{4, 1, 3, 0, 0}, "hre"},   // ends turned round
        {{2, 9, 3, 0, 0}, "ree"},   // past the end of "three"
        {{6, 8, 1, 0, 0}, ""},      // wholly past the end of "one"
        {{0, 3, 9, 0, 0}, ""},      // a line the text lacks
    };
    for (const auto& c : kCases) {
        Text(kFive);
        editor.selection = c.selection;
        editor.Copy();
        EXPECT_EQ(ClipboardBytes(), c.copied + std::string(1, '\0'))
            << c.selection.selStartCol << ".." << c.selection.selEndCol;
    }
}

TEST_F(ClipboardTest, CopyWithoutASelectionLeavesTheClipboardAsItWas) {
    PutClipboardText("kept");
    Text(kFive);
    editor.selection = TTextEditorSelection{3, 3, 1, 2, 2};
    editor.Copy();
    EXPECT_EQ(ClipboardBytes(), std::string("kept\0", 5));
    editor.Copy("", 0);  // an empty text is a text
    EXPECT_EQ(ClipboardBytes(), std::string("\0", 1));
    editor.Copy(nullptr, 3);
    EXPECT_EQ(ClipboardBytes(), std::string("\0", 1));
}

// Into "[]" at column 1: the lines are split at LF only, every CR goes, a
// text ending in a line break gives a last empty line, and tabs expand where
// they land (TabSize 8).
TEST_F(ClipboardTest, PastedTextIsSplitAtLineFeedsWithoutCarriageReturnsAndTabsExpanded) {
    const struct {
        std::string clipboard;
        std::vector<std::string> after;
        std::tuple<int, int> caret;
    } kCases[] = {
        {"a\r\nb", {"[a", "b]"}, {1, 1}},
        {"a\nb", {"[a", "b]"}, {1, 1}},
        {"a\rb\r", {"[ab]"}, {3, 0}},
        {"a\r\nb\r\n", {"[a", "b", "]"}, {0, 2}},
        {"a\r\nb\rc\r\n\r\r\nd", {"[a", "bc", "", "d]"}, {1, 3}},  // CR LF beside stray CRs
        {"\n", {"[", "]"}, {0, 1}},
        {"x\ty", {"[x      y]"}, {9, 0}},
        {"\tz\n\tw", {"[       z", "        w]"}, {9, 1}},
    };
    for (const auto& c : kCases) {
        Text({"[]"});
        editor.SetTabSize(8);
        Caret(1, 0);
        PutClipboardText(c.clipboard);
        editor.Paste();
        EXPECT_EQ(Lines(), c.after) << c.clipboard;
        EXPECT_EQ(CaretAt(), c.caret) << c.clipboard;
        editor.Undo();
        EXPECT_EQ(Lines(), (std::vector<std::string>{"[]"})) << c.clipboard;
    }
    // A one-line paste is left selected with the caret after it, tabs expanded.
    Text({"[]"});
    Caret(1, 0);
    PutClipboardText("x\ty");
    editor.Paste();
    EXPECT_EQ(editor.selection.selStartCol, 1);
    EXPECT_EQ(editor.selection.selEndCol, 9);
}

// Into "abcdefgh" at column 4: the width grows to the longest line written,
// be it the caret line with the text before the caret, a pasted line, the
// last line with the text after the caret or a line whose tabs expanded, and
// never shrinks.
TEST_F(ClipboardTest, PasteWidensTheTextToItsLongestLine) {
    const struct {
        std::string clipboard;
        int hMaxBefore;
        int hMax;
    } kCases[] = {
        {"x\n123456789012\ny", 5, 12},
        {"123456789\nz", 5, 13},
        {"a\nbcdefghijkl", 5, 15},
        {"a\tb\nc", 5, 9},
        {"x\ny\n", 80, 80},
    };
    for (const auto& c : kCases) {
        Text({"abcdefgh"});
        editor.SetTabSize(8);
        editor.SetHMax(c.hMaxBefore);
        Caret(4, 0);
        PutClipboardText(c.clipboard);
        editor.Paste();
        EXPECT_EQ(editor.GetHMax(), c.hMax) << c.clipboard;
    }
}

// Under the address sanitizer this also shows that no byte past the block is read.
TEST_F(ClipboardTest, PasteReadsUpToTheNulAndNeverPastTheBlock) {
    const struct {
        std::string bytes;
        std::vector<std::string> after;
    } kCases[] = {
        {"abc", {"abc"}},                           // no NUL at all
        {std::string("ab\0cd", 5), {"ab"}},
        {std::string("x\r\n\0\ny", 6), {"x", ""}},
        {std::string("ab\0\tc\r\0", 7), {"ab"}},  // a NUL before the block's last one
    };
    for (const auto& c : kCases) {
        Text({""});
        Caret(0, 0);
        PutClipboardBytes(c.bytes);
        editor.Paste();
        EXPECT_EQ(Lines(), c.after);
    }
}

TEST_F(ClipboardTest, PasteDoesNothingReadOnlyWithoutTextOrWithAnEmptyText) {
    Text(kFive);
    Caret(1, 1);
    editor.Paste();  // nothing on the clipboard
    PutClipboardText("");
    editor.Paste();
    PutClipboardText("x");
    editor.SetReadOnly(true);
    editor.Paste();
    EXPECT_EQ(Lines(), kFive);
    EXPECT_FALSE(editor.GetModified());
    EXPECT_EQ(editor.undoItems.GetCount(), 0);
}

TEST_F(ClipboardTest, BuffersHoldTheSelectedTextAndPasteItAgainAndAgain) {
    Text(kFive);
    editor.selection = TTextEditorSelection{1, 3, 4, 0, 0};
    editor.CopyToBuffer(3);
    editor.CopyToBuffer(10);
    editor.CopyToBuffer(-1);
    EXPECT_EQ(TextOf(editor.buffers[3]), (std::vector<std::string>{"ou"}));
    for (int n = 0; n < 10; ++n)
        if (n != 3) {
            EXPECT_EQ(editor.buffers[n].GetCount(), 0) << n;
        }

    editor.selection = TTextEditorSelection{};
    Caret(0, 0);
    editor.PasteFromBuffer(3);
    editor.PasteFromBuffer(3);
    editor.PasteFromBuffer(-1);
    editor.PasteFromBuffer(10);
    EXPECT_EQ(Lines()[0], "ououzero");
    EXPECT_EQ(TextOf(editor.buffers[3]), (std::vector<std::string>{"ou"}));

    // A line block goes in with its trailing empty line: whole lines.
    editor.selection = TTextEditorSelection{0, 0, 0, 3, 5};
    editor.CopyToBuffer(0);
    EXPECT_EQ(TextOf(editor.buffers[0]), (std::vector<std::string>{"three", "four", ""}));
    editor.selection = TTextEditorSelection{};
    Caret(0, 1);
    editor.PasteFromBuffer(0);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"ououzero", "three", "four", "one", "two", "three", "four"}));
}

TEST_F(ClipboardTest, MakeMarkerSetsRemovesAndMovesABookmarkToTheEndOfTheList) {
    Text(std::vector<std::string>(30, "line"));
    const auto Marks = [this] {
        std::vector<std::tuple<int, int>> found;
        for (int i = 0; i < editor.markers.GetCount(); ++i)
            found.emplace_back(editor.markers[i].number, editor.markers[i].line);
        return found;
    };
    Caret(0, 5);
    editor.MakeMarker(7);
    Caret(0, 12);
    editor.MakeMarker(3);
    EXPECT_EQ(Marks(), (std::vector<std::tuple<int, int>>{{7, 5}, {3, 12}}));
    editor.MakeMarker(3);  // again on its line: removed
    EXPECT_EQ(Marks(), (std::vector<std::tuple<int, int>>{{7, 5}}));
    editor.MakeMarker(3);
    editor.MakeMarker(10);  // only digits name bookmarks
    editor.MakeMarker(-1);
    Caret(0, 20);
    editor.MakeMarker(3);  // on another line: moved there, last in the list
    Caret(0, 25);
    editor.MakeMarker(7);
    EXPECT_EQ(Marks(), (std::vector<std::tuple<int, int>>{{3, 20}, {7, 25}}));
    editor.ClearMarkers();
    EXPECT_EQ(editor.markers.GetCount(), 0);
}

TEST_F(EditorTest, MarkerPressKeepsTheColumnAndScrollsToTheBookmark) {
    TTextEditor* editor = Place(10, 10, 300, 100);
    ShowText(editor, std::vector<std::string>(40, "a line of text"));
    const int visible = editor->GetClientHeight() / editor->GetLineHeight();
    ASSERT_LT(visible, 20);
    editor->markers += TEXT_EDITOR_MARKER{-1, 3};  // unset: skipped
    editor->markers += TEXT_EDITOR_MARKER{20, 3};
    editor->SetCursorPosX(7);
    editor->SetCursorPosY(2);
    editor->MarkerPress(5);  // no bookmark 5
    EXPECT_EQ(editor->GetCurLine(), 2);
    editor->MarkerPress(3);
    EXPECT_EQ(editor->GetCurLine(), 20);
    EXPECT_EQ(editor->GetCurCol(), 7);
    EXPECT_EQ(editor->GetVPos(), 20 - visible + 1);  // the last visible line
    // A bookmark below the text (a load can leave one) leads to the last line.
    editor->markers += TEXT_EDITOR_MARKER{70, 4};
    editor->MarkerPress(4);
    EXPECT_EQ(editor->GetCurLine(), 39);
}

// Set in the order 50, 10, 30: the moves go by that order, not by the lines.
TEST_F(ClipboardTest, PrevAndNextMarkerGoByTheOrderTheBookmarksWereSet) {
    Text(std::vector<std::string>(60, "line"));
    const struct {
        int caretLine;
        int next, prev;
    } kCases[] = {
        {40, 50, 10},
        {55, 50, 50},  // below every bookmark: Next goes to the first set
        {5, 50, 30},   // above every bookmark: Prev goes to the last set
        {10, 50, 30},  // a bookmark on the caret line is neither above nor below
    };
    for (const auto& c : kCases) {
        editor.markers.Clear();
        for (int line : {50, -1, 10, 30}) editor.markers += TEXT_EDITOR_MARKER{line, line < 0 ? 0 : line / 10};
        Caret(3, c.caretLine);
        editor.NextMarker();
        EXPECT_EQ(editor.GetCurLine(), c.next) << "next from " << c.caretLine;
        Caret(3, c.caretLine);
        editor.PrevMarker();
        EXPECT_EQ(editor.GetCurLine(), c.prev) << "previous from " << c.caretLine;
        EXPECT_EQ(editor.GetCurCol(), 3);
    }
    editor.markers.Clear();
    editor.markers += TEXT_EDITOR_MARKER{-1, 1};
    Caret(3, 12);
    editor.NextMarker();
    editor.PrevMarker();
    EXPECT_EQ(editor.GetCurLine(), 12);
    // A bookmark below the text leads to the last line.
    editor.markers += TEXT_EDITOR_MARKER{90, 2};
    editor.NextMarker();
    EXPECT_EQ(editor.GetCurLine(), 59);
}
