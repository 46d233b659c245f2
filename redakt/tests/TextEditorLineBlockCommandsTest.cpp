// The line-block commands through the command line: select, repeat,
// section, exchange, numbers, the table drawing of insert and add (golden
// texts with the caret), append, delete and the removal of lines, modify and
// copy on one thread and on several, paste with the buffers and the append
// mode, and the counts that are refused before anything is made.
#include <sys/resource.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "RecordingEditor.h"
#include "Win32.h"

namespace {

// The clipboard's text, up to its NUL.
std::string ClipboardText() {
    const std::string bytes = ClipboardBytes();
    return bytes.substr(0, bytes.find('\0'));
}

// Undo records pushed before a command: one of a kind no command here makes.
constexpr int kSentinel = -1;
// What a command left on the undo stack: its own record of a kind, none
// (the sentinel on top), or nothing at all (the stack emptied).
constexpr int kNoRecord = -2;
constexpr int kEmptied = -3;

// A command's text before and after, an '@' marking the caret; the block
// before and after it; what it leaves on the undo stack.
struct TGolden {
    const char* name;
    std::vector<std::string> before;
    const char* command;
    std::vector<std::string> after;
    int undo;  // the record's kind, kNoRecord or kEmptied
    std::pair<int, int> block{0, 0};
    std::pair<int, int> blockAfter{0, 0};
};

class LineBlockTest : public ::testing::Test {
protected:
    void SetUp() override { win32::ResetClipboard(); }
    void TearDown() override { win32::ResetClipboard(); }

    // The lines, an '@' marking the caret (removed); no selection, no
    // sections, no bookmarks, and one sentinel record on the undo stack.
    void Text(const std::vector<std::string>& text) {
        std::vector<std::string> plain;
        int col = 0, line = 0;
        for (size_t i = 0; i < text.size(); ++i) {
            std::string row = text[i];
            const size_t at = row.find('@');
            if (at != std::string::npos) {
                col = static_cast<int>(at);
                line = static_cast<int>(i);
                row.erase(at, 1);
            }
            plain.push_back(row);
        }
        SetLines(editor, plain);
        editor.SetHMax(80);
        editor.SetCursorPosX(col);
        editor.SetCursorPosY(line);
        editor.selection = TTextEditorSelection{};
        editor.selMark = -1;
        editor.sections.Clear();
        editor.markers.Clear();
        editor.ClearUndo();
        editor.AddUndoItem(utReplaceChars, 0, -1, POINT{0, 0}, TString("sentinel"));
        editor.SetModified(false);
    }
    // The lines with an '@' at the caret (its line padded with blanks to it).
    std::vector<std::string> Shown() const {
        std::vector<std::string> shown = TextOf(editor.lines);
        const int line = editor.GetCurLine();
        if (line >= 0 && line < static_cast<int>(shown.size())) {
            std::string& row = shown[static_cast<size_t>(line)];
            if (static_cast<int>(row.size()) < editor.GetCurCol()) row.resize(static_cast<size_t>(editor.GetCurCol()), ' ');
            row.insert(static_cast<size_t>(editor.GetCurCol()), "@");
        }
        return shown;
    }
    std::vector<std::string> Lines() const { return TextOf(editor.lines); }
    void Run(const std::string& command) {
        TString line(command);
        editor.ExecCommand(line);
    }
    void Select(int first, int end) {
        editor.selection.selStartLine = first;
        editor.selection.selEndLine = end;
    }
    std::pair<int, int> Block() const { return {editor.selection.selStartLine, editor.selection.selEndLine}; }
    // The undo stack's state after a command (see kNoRecord and kEmptied).
    int UndoState() {
        if (editor.undoItems.GetCount() == 0) return kEmptied;
        const int top = editor.GetLastUndoItem()->kind;
        return top == utReplaceChars ? kNoRecord : top;
    }
    // Runs the command on its text (margin 10) and checks the text, the
    // block and the undo stack; a record undone gives the text, caret and
    // block back, and after a form that emptied the stack undo does nothing.
    void Check(const TGolden& c) {
        Text(c.before);
        Select(c.block.first, c.block.second);
        editor.SetMarginPos(10);
        Run(c.command);
        EXPECT_EQ(Shown(), c.after) << c.name;
        EXPECT_EQ(UndoState(), c.undo) << c.name;
        EXPECT_EQ(Block(), c.blockAfter) << c.name;
        if (c.undo == kNoRecord) return;
        editor.Undo();
        EXPECT_EQ(Shown(), c.undo == kEmptied ? c.after : c.before) << c.name << ", undone";
        if (c.undo != kEmptied) {
            EXPECT_EQ(Block(), c.block) << c.name << ", undone";
        }
    }
    void Section(int index, int first, int last) {
        while (editor.sections.GetCount() <= index) editor.sections.Add(TIntPair{-1, -1});
        editor.sections[index] = TIntPair{first, last};
    }
    std::vector<std::pair<int, int>> Sections() const {
        std::vector<std::pair<int, int>> all;
        for (int i = 0; i < editor.sections.GetCount(); ++i)
            all.emplace_back(editor.sections[i].first, editor.sections[i].second);
        return all;
    }

    win32::TestDriver driver;
    TTextEditor editor{nullptr};
};

std::vector<std::string> Numbered(int count, const std::string& prefix = "L") {
    std::vector<std::string> text;
    for (int i = 0; i < count; ++i) text.push_back(prefix + std::to_string(i));
    return text;
}

// A table of two columns and two rows.
const std::vector<std::string> kTable = {
    "+-----+-----+",
    "| ab  | cd  |",
    "+-----+-----+",
    "| ef  | gh  |",
    "+-----+-----+",
};

// kTable with the caret put into line `line` at column `col`.
std::vector<std::string> TableWithCaret(int line, int col) {
    std::vector<std::string> text = kTable;
    text[static_cast<size_t>(line)].insert(static_cast<size_t>(col), "@");
    return text;
}

}  // namespace

// ---- select ----

TEST_F(LineBlockTest, SelectFormsGiveTheLineBlock) {
    const struct {
        const char* command;
        std::vector<std::string> text;
        std::pair<int, int> before;  // the block before
        std::pair<int, int> block;   // the block after
        int mark;                    // selMark after
    } kCases[] = {
        {"select paragraph", {"a", "b", "@", "c", "d"}, {0, 0}, {2, 3}, -1},     // an empty line alone
        {"select par", {"a", "b@", "c", "", "d"}, {0, 0}, {0, 3}, -1},
        {"select p", {"", "a", "b", "c@"}, {0, 0}, {1, 4}, -1},
        {"select -5", {"a", "b", "@c", "d"}, {0, 0}, {0, 2}, -1},             // lines 0 and 1
        {"select 2", {"a", "@b", "c", "d"}, {0, 0}, {0, 0}, -1},              // "2" is "2nd" with no count
        {"select 3", {"a", "@b", "c", "d", "e"}, {0, 0}, {1, 4}, -1},
        {"select 20", {"a", "@b", "c"}, {0, 0}, {1, 3}, -1},                  // not past the text
        {"select 0", {"a", "@b", "c"}, {0, 2}, {1, 1}, -1},
        {"select 2nd 2", {"a", "b", "c", "d", "e", "f"}, {1, 3}, {1, 5}, 3},   // the mark at the old end
        {"select second 9", {"a", "b", "c", "d"}, {0, 2}, {0, 4}, 2},
        {"select apple", {"a", "@b"}, {0, 1}, {0, 1}, -1},                    // no number: nothing
        {"select", {"a", "@b"}, {0, 1}, {0, 1}, -1},
        {"select while strlen(line) > 0", {"a", "@b", "c", "", "d"}, {0, 0}, {1, 3}, -1},
        {"select until line == 'd'", {"a", "@b", "c", "", "d"}, {0, 0}, {1, 4}, -1},
        {"select while 1", {"a", "@b", "c"}, {0, 0}, {1, 3}, -1},             // stops at the text's end
        {"select until 1", {"a", "@b", "c"}, {0, 0}, {1, 1}, -1},             // an empty block
        {"select while line ==", {"a", "@b"}, {0, 2}, {0, 2}, -1},           // silent, nothing
    };
    for (const auto& c : kCases) {
        Text(c.text);
        Select(c.before.first, c.before.second);
        Run(c.command);
        EXPECT_EQ(Block(), c.block) << c.command;
        EXPECT_EQ(editor.selMark, c.mark) << c.command;
    }
}

TEST_F(LineBlockTest, SelectWithTwoCountsTakesLinesBeforeAndAfterTheCaretLine) {
    std::vector<std::string> text = Numbered(5000);
    text[1500] = "@" + text[1500];
    Text(text);
    Run("select 3000 -1000");
    EXPECT_EQ(Block(), std::make_pair(500, 4500));
    Run("select -10 +5");
    EXPECT_EQ(Block(), std::make_pair(1490, 1505));
    Run("select 3000 4000");  // both after: the last one counts
    EXPECT_EQ(Block(), std::make_pair(1500, 5000));
    Run("select -2000 -3000");
    EXPECT_EQ(Block(), std::make_pair(0, 1500));
}

// ---- repeat ----

TEST_F(LineBlockTest, RepeatCopiesTheBlockAsOneUndoStep) {
    Text({"x", "a", "b", "@c", "y"});
    Select(1, 4);
    Run("repeat 0");
    EXPECT_EQ(Lines(), (std::vector<std::string>{"x", "a", "b", "c", "y"}));
    EXPECT_EQ(UndoState(), kNoRecord);

    Run("repeat 2");
    EXPECT_EQ(Lines(), (std::vector<std::string>{"x", "a", "b", "c", "a", "b", "c", "a", "b", "c", "y"}));
    EXPECT_EQ(Block(), std::make_pair(1, 10));
    EXPECT_EQ(editor.GetCurLine(), 9);
    EXPECT_EQ(UndoState(), utTyping);
    EXPECT_TRUE(editor.GetModified());
    editor.Undo();
    EXPECT_EQ(Shown(), (std::vector<std::string>{"x", "a", "b", "@c", "y"}));
    EXPECT_EQ(Block(), std::make_pair(1, 4));

    Run("repeat apple");  // a word that is no number repeats once
    EXPECT_EQ(Lines(), (std::vector<std::string>{"x", "a", "b", "c", "a", "b", "c", "y"}));
}

TEST_F(LineBlockTest, RepeatCopiesAnInLineSelection) {
    Text({"ab@cd"});
    editor.selection.selLine = 0;
    editor.selection.selStartCol = 1;
    editor.selection.selEndCol = 3;
    Run("repeat 2");
    EXPECT_EQ(Shown(), (std::vector<std::string>{"abcbcbc@d"}));
    EXPECT_EQ(editor.selection.selStartCol, 1);
    EXPECT_EQ(editor.selection.selEndCol, 7);
    EXPECT_EQ(UndoState(), utTyping);
    editor.Undo();
    EXPECT_EQ(Lines(), std::vector<std::string>{"abcd"});
}

TEST_F(LineBlockTest, RepeatPairsInsertTheirTextsAtTheCaret) {
    const struct {
        const char* command;
        std::vector<std::string> before, after;
    } kCases[] = {
        {"repeat a 2 b 3", {"x@y"}, {"xaabbb@y"}},
        {"repeat apple 3", {"@"}, {"appleappleapple@"}},
        {"repeat - 4 = 0", {"ab@"}, {"ab----@"}},
        {"repeat a 2 b", {"x@y"}, {"x@y"}},       // a text without its count
        {"repeat a two", {"x@y"}, {"x@y"}},       // a count that is no number
        {"repeat a -2", {"x@y"}, {"x@y"}},
        {"repeat", {"x@y"}, {"x@y"}},
    };
    for (const auto& c : kCases) {
        Text(c.before);
        Run(c.command);
        EXPECT_EQ(Shown(), c.after) << c.command;
        EXPECT_EQ(UndoState(), kNoRecord) << c.command;
    }
    // The line is padded with blanks to a caret past its end.
    Text({"ab"});
    editor.SetCursorPosX(4);
    Run("repeat x 2");
    EXPECT_EQ(Shown(), std::vector<std::string>{"ab  xx@"});
}

// ---- section ----

TEST_F(LineBlockTest, SectionsMayTouchButNotShareALine) {
    TMessageBoxRecorder shown;
    Text(Numbered(10));
    Select(2, 4);
    Run("section 0");
    EXPECT_EQ(Sections(), (std::vector<std::pair<int, int>>{{2, 3}}));
    Select(4, 6);
    Run("section 2");  // right after section 0; section 1 stays empty
    EXPECT_EQ(Sections(), (std::vector<std::pair<int, int>>{{2, 3}, {-1, -1}, {4, 5}}));
    Select(0, 2);
    Run("section 1");  // right before
    EXPECT_TRUE(shown.boxes.empty());
    Select(5, 8);
    Run("section 3");
    ASSERT_EQ(shown.boxes.size(), 1u);
    EXPECT_EQ(shown.boxes[0].text, "Overlapped sections are not allowed");
    EXPECT_EQ(shown.boxes[0].caption, "Select section");
    EXPECT_EQ(shown.boxes[0].style & 0xF0u, static_cast<UINT>(MB_ICONERROR));
    EXPECT_EQ(Sections(), (std::vector<std::pair<int, int>>{{2, 3}, {0, 1}, {4, 5}}));

    // Numbers above 9,999 or below 0, no number and no block do nothing.
    Select(8, 10);
    for (const char* command : {"section 2000000000", "section 10000", "section -1", "section x"}) {
        Run(command);
        EXPECT_EQ(editor.sections.GetCount(), 3) << command;
    }
    Run("section 9999");
    EXPECT_EQ(editor.sections.GetCount(), 10000);
    Select(0, 0);
    Run("section 5");
    EXPECT_EQ(editor.sections[5].first, -1);
}

TEST_F(LineBlockTest, SectionDeleteRenumbersOrEmptiesInPlace) {
    Text(Numbered(10));
    Section(0, 0, 1);
    Section(1, 3, 4);
    Section(2, 6, 8);
    Run("section delete 1");
    EXPECT_EQ(Sections(), (std::vector<std::pair<int, int>>{{0, 1}, {6, 8}}));

    Section(1, 3, 4);
    Section(2, 6, 8);
    editor.SetCursorPosY(4);
    Run("section del");  // no number: the sections holding the caret line
    EXPECT_EQ(Sections(), (std::vector<std::pair<int, int>>{{0, 1}, {-1, -1}, {6, 8}}));
    Run("section delete 7");  // a number without a section: the same
    EXPECT_EQ(editor.sections.GetCount(), 3);
}

TEST_F(LineBlockTest, SectionGoAndSelectUseOnlySectionsOfTheText) {
    Text(Numbered(10));
    editor.SetCursorPosX(3);
    Section(0, 4, 6);
    Section(1, -1, -1);
    Section(2, 8, 15);   // past the end (the text was replaced, say)
    Section(3, 7, 5);    // turned round
    Run("section go 0");
    EXPECT_EQ(editor.GetCurLine(), 4);
    EXPECT_EQ(editor.GetCurCol(), 0);
    Run("section select 0");
    EXPECT_EQ(Block(), std::make_pair(4, 7));
    editor.SetCursorPosY(1);
    Select(0, 0);
    for (const char* command : {"section go 1", "section go 2", "section go 3", "section select 2", "section go 9",
                                "section select", "section Go 0"}) {
        Run(command);
        EXPECT_EQ(editor.GetCurLine(), 1) << command;
        EXPECT_EQ(Block(), std::make_pair(0, 0)) << command;
    }
}

// ---- exchange ----

TEST_F(LineBlockTest, ExchangeSectionsMovesTheSectionsWithTheirLines) {
    Text(Numbered(12));
    Section(0, 1, 2);   // two lines
    Section(1, 4, 4);   // between them
    Section(2, 6, 10);  // five lines
    Section(3, 11, 11);
    Run("exchange sections 2 0");
    EXPECT_EQ(Lines(), (std::vector<std::string>{"L0", "L6", "L7", "L8", "L9", "L10", "L3", "L4", "L5", "L1", "L2",
                                                 "L11"}));
    EXPECT_EQ(Sections(), (std::vector<std::pair<int, int>>{{9, 10}, {7, 7}, {1, 5}, {11, 11}}));
    EXPECT_EQ(editor.lines[7].str(), "L4");
    EXPECT_EQ(UndoState(), kEmptied);
    editor.Undo();
    EXPECT_EQ(editor.lines[1].str(), "L6");
}

TEST_F(LineBlockTest, ExchangeSectionsRefusesSectionsThatNameNoLines) {
    Text(Numbered(12));
    Section(0, 1, 2);
    Section(1, -1, -1);
    Section(2, 8, 20);
    Section(3, 2, 3);  // shares line 2 with section 0
    for (const char* command : {"exchange sections 0 1", "exchange sections 1 0", "exchange sections 0 2",
                                "exchange sections 0 3", "exchange sections 0 0", "exchange sections 0 9",
                                "exchange sections 0", "exchange s 0 x"}) {
        Run(command);
        EXPECT_EQ(Lines(), Numbered(12)) << command;
        EXPECT_EQ(UndoState(), kNoRecord) << command;
    }
}

TEST_F(LineBlockTest, ExchangeLinesIsOneUndoStep) {
    const struct {
        const char* command;
        int caretLine;
        std::vector<std::string> after;  // empty: nothing changes
    } kCases[] = {
        {"exchange lines 1 3", 0, {"L0", "L3", "L2", "L1", "L4", "L5", "L6"}},
        {"exchange lines 0 1 4 6", 0, {"L4", "L5", "L6", "L2", "L3", "L0", "L1"}},
        {"exchange lines 4 6 0 1", 0, {"L4", "L5", "L6", "L2", "L3", "L0", "L1"}},
        {"exchange l prev next", 2, {"L0", "L3", "L2", "L1", "L4", "L5", "L6"}},
        {"exchange lines -4 99", 2, {"L6", "L1", "L2", "L3", "L4", "L5", "L0"}},  // brought inside the text
        {"exchange lines 1 x 3", 0, {"L0", "L3", "L2", "L1", "L4", "L5", "L6"}},   // other words skipped
        {"exchange lines 3 1 4 5", 0, {}},   // a range turned round
        {"exchange lines 0 2 2 4", 0, {}},   // ranges sharing a line
        {"exchange lines 0 3 1 2", 0, {}},
        {"exchange lines 1 2 3", 0, {}},
        {"exchange lines 1", 0, {}},
        {"exchange lines 2 2", 0, {}},
    };
    for (const auto& c : kCases) {
        Text(Numbered(7));
        editor.SetCursorPosY(c.caretLine);
        Run(c.command);
        if (c.after.empty()) {
            EXPECT_EQ(Lines(), Numbered(7)) << c.command;
            EXPECT_EQ(UndoState(), kNoRecord) << c.command;
            continue;
        }
        EXPECT_EQ(Lines(), c.after) << c.command;
        EXPECT_EQ(UndoState(), utExchange) << c.command;
        editor.Undo();
        EXPECT_EQ(Lines(), Numbered(7)) << c.command;
    }
}

TEST_F(LineBlockTest, NumbersShowsAndHidesTheLineNumbers) {
    Text({"a"});
    Run("numbers on");
    EXPECT_TRUE(editor.GetShowLineNumbers());
    Run("numbers o");
    EXPECT_TRUE(editor.GetShowLineNumbers());
    Run("numbers off");
    EXPECT_FALSE(editor.GetShowLineNumbers());
}

// ---- insert and add: golden texts with the caret ----

TEST_F(LineBlockTest, TableFormsDrawAsShown) {
    const TGolden kCases[] = {
        {"hl in a cell", TableWithCaret(1, 3), "insert hl",
         {"+-----+-----+", "+--@---+ cd  |", "+-----+-----+", "| ef  | gh  |", "+-----+-----+"}, utInsertLines},
        {"hl outside a table", {"he@llo", "world"}, "insert hline", {"--@--------", "hello", "world"}, utInsert},
        {"hl with a bar on one side", {"ab | c@d"}, "insert hl", {"------@----", "ab | cd"}, utInsert},
        {"vl between borders above and below", TableWithCaret(3, 4), "insert vl",
         {"+-----+-----+", "| ab  | cd  |", "+---+-+-----+", "| ef@| | gh  |", "+---+-+-----+"}, utInsert},
        {"vl with a border below the caret only",
         {"+-----+-----+", "| ab  | cd  |", "+-----------+", "| ef  @      |", "+-----+-----+"}, "insert vl",
         {"+-----+-----+", "| ab  | cd  |", "+-----+-----+", "| ef  @|     |", "+-----+-----+"}, utInsert},
        {"vl shifted", TableWithCaret(3, 2), "insert vl 2",
         {"+-----+-----+", "| ab  | cd  |", "+---+-+-----+", "| @ef| | gh  |", "+---+-+-----+"}, utInsert},
        {"vl joining where no border is found", TableWithCaret(1, 6), "insert vl",
         {"+-----++-----+", "| ab  @|| cd  |", "+-----++-----+", "| ef  || gh  |", "+-----++-----+"}, utInsert},
        {"vl without joins", TableWithCaret(1, 6), "insert vl nj",
         {"+-----|+-----+", "| ab  @|| cd  |", "+-----|+-----+", "| ef  || gh  |", "+-----|+-----+"}, utInsert},
        {"vl outside a table", {"abcdefg", "x  @   z", "k", "-------", "m"}, "insert vl",
         {"abcdefg", "x  @|  z", "k  |", "-------", "m"}, utInsert},
        {"vl outside a table, open below", {"abcdefg", "x@", "k"}, "insert vl",
         {"abcdefg", "x@|", "k|"}, utInsert},
        {"rect 5 3", {"a", "bc@"}, "insert rect 5 3", {"a", "  @+---+", "  |   |", "  +---+", "bc"}, utInsert},
        {"rect 3", {"@a"}, "insert rect 3", {"@+-+", "| |", "+-+", "a"}, utInsert},
        {"rect 2 draws nothing", {"@a"}, "insert rect 2", {"@a"}, kNoRecord},
        {"rect 5 2 draws nothing", {"@a"}, "insert rect 5 2", {"@a"}, kNoRecord},
        {"hs", TableWithCaret(1, 4), "insert hs",
         {"+------+-----+", "| ab@   | cd  |", "+------+-----+", "| ef   | gh  |", "+------+-----+"}, kNoRecord},
        {"hs outside a table", {"a@b"}, "insert hs", {"a@b"}, kNoRecord},
        {"vs", TableWithCaret(3, 2), "insert vs",
         {"+-----+-----+", "| ab  | cd  |", "+-----+-----+", "| @    |     |", "| ef  | gh  |", "+-----+-----+"},
         kEmptied},
        {"vs under a row", {"+---+", "| a |", "| b@ |", "+---+"}, "insert vspace",
         {"+---+", "| a |", "|  @ |", "| b |", "+---+"}, kEmptied},
        {"vs on a border", TableWithCaret(2, 2), "insert vs", TableWithCaret(2, 2), kNoRecord},
        {"add col 8", TableWithCaret(1, 3), "add col 8",
         {"+-----+-----+--------+", "| a@b  | cd  |        |", "+-----+-----+--------+", "| ef  | gh  |        |",
          "+-----+-----+--------+"},
         kNoRecord},
        {"add col 0", TableWithCaret(1, 3), "add col 0",
         {"+-----+-----++", "| a@b  | cd  ||", "+-----+-----++", "| ef  | gh  ||", "+-----+-----++"}, kNoRecord},
        {"add col outside a table", {"a@b"}, "add col 8", {"a@b"}, kNoRecord},
        {"add line 2", {"x", "  +---+", "  | @a |", "  +---+", "y"}, "add line 2",
         {"x", "  +---+", "  | @a |", "  +---+", "  |   |", "  |   |", "  +---+", "y"}, kEmptied},
        {"add line 0", {"  +---+", "  | @a |", "  +---+"}, "add line 0",
         {"  +---+", "  | @a |", "  +---+", "  +---+"}, kEmptied},
        {"add frame 1", {"a@b", "cde", "z"}, "add frame 1",
         {"+@-----+", "|     |", "| ab  |", "| cde |", "|     |", "+-----+", "z"}, kEmptied, {0, 2}, {0, 6}},
        {"add frame", {"a@b", "cde"}, "add frame",
         {"+@---+", "|ab |", "|cde|", "+---+"}, kEmptied},
        {"add frame in a table", TableWithCaret(1, 3), "add frame", TableWithCaret(1, 3), kNoRecord},
        {"delete hs", TableWithCaret(1, 4), "delete hs",
         {"+----+-----+", "| ab@ | cd  |", "+----+-----+", "| ef | gh  |", "+----+-----+"}, kNoRecord},
        {"delete hs of a full cell",
         {"+-----+-----+", "| ab@  | cd  |", "+-----+-----+", "| efgh| gh  |", "+-----+-----+"}, "delete hs",
         {"+-----+-----+", "| ab@  | cd  |", "+-----+-----+", "| efgh| gh  |", "+-----+-----+"}, kNoRecord},
        {"delete hs on a join", TableWithCaret(1, 6), "delete hspace", TableWithCaret(1, 6), kNoRecord},
        {"insert lines", {"a", "@b"}, "insert lines 2 3 x", {"a", "@xxx", "xxx", "b"}, kEmptied},
        {"insert lines empty", {"a", "@b"}, "insert l 2", {"a", "@", "", "b"}, kEmptied},
        {"insert lines 0", {"a", "@b"}, "insert lines 0 3 x", {"a", "@b"}, kNoRecord},
    };
    for (const TGolden& c : kCases) Check(c);
}

TEST_F(LineBlockTest, LineNumbersGoInFrontAtTheEndOrAtAColumn) {
    const struct {
        const char* command;
        std::vector<std::string> after;
    } kCases[] = {
        {"insert line number", {"0ab", "1c", "2"}},
        {"insert line number at begin", {"0ab", "1c", "2"}},
        {"insert l n @ b gap 1", {"0 ab", "1 c", "2 "}},
        {"insert line number at end gap 2", {"ab  0", "c  1", "  2"}},
        {"insert line number at e", {"ab0", "c1", "2"}},
        {"insert line number at 1 gap 1", {"a 0 b", "c 1 ", "  2 "}},
        {"insert line number at 3", {"ab 0", "c  1", "   2"}},      // shorter lines padded first
        {"insert line number gap 2", {"  0  ab", "  1  c", "  2  "}},
        {"insert line number at", {"ab", "c", ""}},                  // a missing position
        {"insert line number at -3", {"ab", "c", ""}},
        {"insert line number at x", {"ab", "c", ""}},
        {"insert line number gap -1", {"ab", "c", ""}},
        {"insert line number gap", {"ab", "c", ""}},
    };
    for (const auto& c : kCases) {
        Text({"ab", "c", ""});
        Run(c.command);
        EXPECT_EQ(Lines(), c.after) << c.command;
        EXPECT_EQ(UndoState(), kNoRecord) << c.command;
    }
    // The width is that of the range's last line number.
    Text(Numbered(12, ""));
    Select(8, 11);
    Run("insert line number at begin gap 1");
    EXPECT_EQ(editor.lines[7].str(), "7");
    EXPECT_EQ(editor.lines[8].str(), " 8 8");
    EXPECT_EQ(editor.lines[10].str(), "10 10");
    EXPECT_EQ(editor.lines[11].str(), "11");
}

// ---- append ----

TEST_F(LineBlockTest, AppendPutsTheTextBehindEveryLineWithoutAnUndoStep) {
    Text({"a", "b", "c", "d"});
    Select(1, 3);
    std::vector<std::pair<int, int>> progress;
    editor.OnProgressChange = [&](TTextEditor*, int total, int position) { progress.emplace_back(total, position); };
    Run("append ; x");
    editor.OnProgressChange = nullptr;
    EXPECT_EQ(Lines(), (std::vector<std::string>{"a", "b; x", "c; x", "d"}));
    EXPECT_EQ(progress, (std::vector<std::pair<int, int>>{{0, -1}, {2, 0}, {2, 1}, {0, -2}}));
    EXPECT_EQ(UndoState(), kNoRecord);
    EXPECT_FALSE(editor.GetModified());  // as designed
    Select(0, 0);
    Run("append !");
    EXPECT_EQ(Lines(), (std::vector<std::string>{"a!", "b; x!", "c; x!", "d!"}));
}

// ---- delete ----

TEST_F(LineBlockTest, DeleteFormsChangeTheLines) {
    const TGolden kCases[] = {
        {"chars", {"ab@cdef"}, "delete 2 chars", {"ab@ef"}, kNoRecord},
        {"chars past the end", {"ab@cdef"}, "delete 9 c", {"ab@"}, kNoRecord},
        {"chars at the end", {"ab@"}, "delete 2 chars", {"ab@"}, kNoRecord},
        {"head", {"abcd", "x", "@"}, "delete head 2", {"cd", "", "@"}, kNoRecord},
        {"tail", {"abcd", "x", "@"}, "delete tail 2", {"ab", "", "@"}, kNoRecord},
        {"head past the end", {"abcd", "@xy"}, "delete head 10", {"", "@"}, kNoRecord},
        {"head 0", {"abcd", "@xy"}, "delete head 0", {"abcd", "@xy"}, kNoRecord},
        {"tail of a block", {"abcd", "@xy", "zz"}, "delete tail 1", {"abcd", "@x", "zz"}, kNoRecord, {1, 2}, {1, 2}},
        {"ts", {"a  ", "@b ", " c"}, "delete ts", {"a", "@b", " c"}, kNoRecord},
        {"trailing spaces", {"a  ", "@b "}, "delete trailing spaces", {"a", "@b"}, kNoRecord},
        {"t s", {"a  ", "@b "}, "delete t s", {"a", "@b"}, kNoRecord},
        {"lines", {"a", "@b", "c", "d"}, "delete 2 lines", {"a", "@d"}, kEmptied},
        {"lines past the end", {"a", "@b", "c", "d"}, "delete 9 l", {"@a"}, kEmptied},
        {"the last line", {"a", "b", "@c"}, "delete 1 lines", {"a", "@b"}, kEmptied},
        {"lines without a number", {"a", "@b"}, "delete x lines", {"a", "@b"}, kNoRecord},
        {"nothing", {"a", "@b"}, "delete", {"a", "@b"}, kNoRecord},
        {"no form", {"a", "@b"}, "delete whatever", {"a", "@b"}, kNoRecord},
        // One undo step over what is left of the range; with a block the lines
        // after it survive the undo.
        {"dl", {"@a", "a", "b", "a"}, "delete dl", {"@a", "b", "a"}, utDelete},
        {"duplicate lines", {"@a", "a", "a", "b", "b", "c"}, "delete duplicate lines", {"@a", "b", "c"}, utDelete},
        {"dl, exact", {"@A", "a", "a ", "a"}, "delete dl", {"@A", "a", "a ", "a"}, kNoRecord},
        {"el", {"@", "a", "", "", "b", ""}, "delete el", {"@a", "b"}, utDelete},
        {"e l", {"@", "a", "", "b"}, "delete e l", {"@a", "b"}, utDelete},
        {"el of every line", {"@", ""}, "delete el", {}, utDelete},
        {"el of none", {"@a"}, "delete el", {"@a"}, kNoRecord},
        {"where", {"@a", "bb", "c", "dd"}, "delete where strlen(line) > 1", {"@a", "c"}, utConvert},
        {"where of none", {"@a", "bb"}, "delete where 0", {"@a", "bb"}, kNoRecord},
        {"where in a block", {"@x", "a", "x", "x", "b", "x", "x"}, "delete where line == 'x'", {"@x", "a", "b", "x", "x"},
         utConvert, {1, 5}, {1, 3}},
        {"el in a block", {"@", "a", "", "b", "", ""}, "delete el", {"@", "a", "b", ""}, utDelete, {1, 5}, {1, 3}},
        {"dl in a block", {"@a", "a", "a", "b", "b"}, "delete dl", {"@a", "a", "b", "b"}, utDelete, {1, 4}, {1, 3}},
    };
    for (const TGolden& c : kCases) Check(c);
}

TEST_F(LineBlockTest, DeleteWhereShowsAWrongExpression) {
    TMessageBoxRecorder shown;
    Text({"a", "b"});
    Run("delete where line ==");
    ASSERT_EQ(shown.boxes.size(), 1u);
    EXPECT_EQ(shown.boxes[0].text, "Wrong expression: line ==");
    EXPECT_EQ(shown.boxes[0].caption, "Expression");
    EXPECT_EQ(Lines(), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(UndoState(), kNoRecord);
}

// Sections follow the removed lines as the line primitive moves them line by
// line; bookmarks on removed lines are unset and the others move up; the
// block keeps its lines; a caret below the text goes to the last line.
TEST_F(LineBlockTest, DeleteLinesMovesSectionsBookmarksSelectionAndCaret) {
    Text(Numbered(8));
    editor.SetCursorPosY(7);
    Section(0, 0, 1);
    Section(1, 1, 1);
    Section(2, 2, 6);
    Section(3, 3, 4);
    Section(4, 5, 7);
    Section(5, -1, -1);
    editor.markers += TEXT_EDITOR_MARKER{0, 1};
    editor.markers += TEXT_EDITOR_MARKER{3, 2};
    editor.markers += TEXT_EDITOR_MARKER{5, 3};
    editor.markers += TEXT_EDITOR_MARKER{-1, 4};
    Select(2, 7);
    TIntContainer doomed;
    for (int line : {4, 1, 3, 3, 99, -2}) doomed.Add(line);
    editor.DeleteLines(doomed);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"L0", "L2", "L5", "L6", "L7"}));
    EXPECT_EQ(Sections(),
              (std::vector<std::pair<int, int>>{{0, 0}, {-1, -1}, {1, 3}, {-1, -1}, {2, 4}, {-1, -1}}));
    std::vector<int> marked;
    for (int i = 0; i < editor.markers.GetCount(); ++i) marked.push_back(editor.markers[i].line);
    EXPECT_EQ(marked, (std::vector<int>{0, -1, 2, -1}));
    EXPECT_EQ(Block(), std::make_pair(1, 4));
    EXPECT_EQ(editor.GetCurLine(), 4);
    EXPECT_EQ(editor.GetVMax(), 4);
    EXPECT_TRUE(editor.GetModified());

    TIntContainer none;
    none.Add(12);
    editor.DeleteLines(none);
    EXPECT_EQ(editor.lines.GetCount(), 5);
}

// ---- modify ----

TEST_F(LineBlockTest, ModifyChangesTheLinesAsOneUndoStep) {
    TMessageBoxRecorder shown;
    const std::vector<std::string> text = {"a|1|x", "bb|22|y", "ccc|333|z"};
    const struct {
        const char* command;
        std::vector<std::string> after;
    } kCases[] = {
        {"modify line + ';'", {"a|1|x;", "bb|22|y;", "ccc|333|z;"}},
        {"modify strlen(line) > 5, line + '!'", {"a|1|x", "bb|22|y!", "ccc|333|z!"}},
        {"modify strtok(line, '|', 1)", {"1", "22", "333"}},
        {"modify strlen(line) > 6, strtok(line, '|', 2) + ','", {"a|1|x", "y,", "z,"}},
        {"modify 0, 'gone'", {"a|1|x", "bb|22|y", "ccc|333|z"}},  // still one undo step
    };
    for (int workers : {0, 2}) {
        for (const auto& c : kCases) {
            Text(text);
            editor.multiThreaded = workers > 0;
            editor.threadCount = workers;
            editor.chunkLines = 1;
            Run(c.command);
            EXPECT_EQ(Lines(), c.after) << c.command << ", " << workers << " workers";
            EXPECT_EQ(UndoState(), utConvert) << c.command;
            EXPECT_TRUE(editor.GetModified()) << c.command;
            editor.Undo();
            EXPECT_EQ(Lines(), text) << c.command;
        }
    }
    EXPECT_TRUE(shown.boxes.empty());
    editor.multiThreaded = false;

    // A part that does not compile shows the message; no change, no record.
    const struct {
        const char* command;
        const char* box;  // null: none
    } kRefused[] = {
        {"modify line +", "Wrong expression: line +"},
        {"modify line ==, line", "Wrong expression: line =="},
        {"modify 1, line +", "Wrong expression:  line +"},
        {"modify 1, 2, 3", nullptr},
        {"modify", nullptr},
    };
    for (const auto& c : kRefused) {
        Text(text);
        shown.boxes.clear();
        Run(c.command);
        EXPECT_EQ(Lines(), text) << c.command;
        EXPECT_EQ(UndoState(), kNoRecord) << c.command;
        ASSERT_EQ(shown.boxes.size(), c.box != nullptr ? 1u : 0u) << c.command;
        if (c.box != nullptr) {
            EXPECT_EQ(shown.boxes[0].text, c.box);
        }
    }
}

TEST_F(LineBlockTest, ModifyWidensTheHorizontalRangeAndKeepsOutsideLines) {
    Text({"a", "b", "c"});
    editor.SetHMax(1);
    Select(1, 2);
    Run("modify line + '0123456789'");
    EXPECT_EQ(Lines(), (std::vector<std::string>{"a", "b0123456789", "c"}));
    EXPECT_EQ(editor.GetHMax(), 11);
}

// The same lines on one thread and on 1 to 8 workers, with a block, at
// chunk sizes that leave many tasks.
class ThreadedLineBlockTest : public LineBlockTest, public ::testing::WithParamInterface<int> {};

TEST_P(ThreadedLineBlockTest, ModifyAndCopyGiveTheResultsOfOneThread) {
    const int workers = GetParam();
    std::vector<std::string> text;
    for (int i = 0; i < 20000; ++i) text.push_back("r" + std::to_string(i * 7919 % 10007) + "|" + std::to_string(i));
    const char* const kModify = "modify strlen(line) % 3 == 1, lines[1] + '/' + strtok(line, '|', 1) + base(sel_number, 10)";
    const char* const kCopy = "copy 3 where strlen(line) % 2 == 0 format: line + ':' + base(line_number, 10)";
    const auto run = [&](bool threaded, int chunk, std::vector<std::string>& modified, std::vector<std::string>& copied) {
        Text(text);
        Select(123, 19877);
        editor.multiThreaded = threaded;
        editor.threadCount = workers;
        editor.chunkLines = chunk;
        editor.buffers[3].Clear();
        editor.buffers[3].Add(TString("old"));
        Run(kCopy);
        copied = TextOf(editor.buffers[3]);
        Run(kModify);
        modified = Lines();
    };
    std::vector<std::string> expectedText, expectedCopy;
    run(false, 10000, expectedText, expectedCopy);
    ASSERT_GT(expectedCopy.size(), 1000u);
    EXPECT_NE(expectedText, text);
    for (int chunk : {1, 97, 10000}) {
        std::vector<std::string> modified, copied;
        run(true, chunk, modified, copied);
        EXPECT_TRUE(modified == expectedText) << "chunk " << chunk;
        EXPECT_TRUE(copied == expectedCopy) << "chunk " << chunk;
    }
    editor.multiThreaded = false;
}

INSTANTIATE_TEST_SUITE_P(Workers, ThreadedLineBlockTest, ::testing::Values(1, 2, 4, 8));

// ---- copy ----

TEST_F(LineBlockTest, CopyGoesToTheClipboardOrABuffer) {
    TMessageBoxRecorder shown;
    Text({"one", "two", "three", "four"});
    Select(1, 3);
    Run("copy");
    EXPECT_EQ(ClipboardText(), "two\r\nthree\r\n");
    Run("copy 4");
    EXPECT_EQ(TextOf(editor.buffers[4]), (std::vector<std::string>{"two", "three", ""}));
    PutClipboardText("kept");
    Run("copy 12");  // no buffer 12: the clipboard
    EXPECT_EQ(ClipboardText(), "two\r\nthree\r\n");
    PutClipboardText("kept");
    Run("copy -1");
    EXPECT_EQ(ClipboardText(), "two\r\nthree\r\n");

    Select(0, 0);
    Run("copy where strlen(line) > 3");
    EXPECT_EQ(ClipboardText(), "three\r\nfour\r\n");
    Run("copy where strlen(line) == 3 format: line + '!'");
    EXPECT_EQ(ClipboardText(), "one!\r\ntwo!\r\n");
    Run("copy 3 where strlen(line) == 3");
    EXPECT_EQ(TextOf(editor.buffers[3]), (std::vector<std::string>{"one", "two"}));
    Run("copy 3 where line_number >= 2 format: base(line_number, 10) + line");
    EXPECT_EQ(TextOf(editor.buffers[3]), (std::vector<std::string>{"2three", "3four"}));
    Run("copy 0 where 0");
    EXPECT_EQ(editor.buffers[0].GetCount(), 0);
    EXPECT_TRUE(shown.boxes.empty());

    // A buffer number outside 0 to 9 with a condition does nothing at all.
    PutClipboardText("kept");
    for (int i = 0; i < 10; ++i) editor.buffers[i].Clear();
    for (const char* command : {"copy 10 where 1", "copy -1 where 1"}) {
        Run(command);
        EXPECT_EQ(ClipboardText(), "kept") << command;
        for (int i = 0; i < 10; ++i) EXPECT_EQ(editor.buffers[i].GetCount(), 0) << command;
    }
    // A condition or format that does not compile: the message, nothing copied.
    editor.buffers[3].Add(TString("old"));
    for (const char* command : {"copy where line ==", "copy 3 where line ==", "copy 3 where 1 format: line +",
                                "copy where 1 format: ("}) {
        shown.boxes.clear();
        Run(command);
        EXPECT_EQ(shown.boxes.size(), 1u) << command;
        EXPECT_EQ(ClipboardText(), "kept") << command;
        EXPECT_EQ(TextOf(editor.buffers[3]), std::vector<std::string>{"old"}) << command;
    }
}

// ---- paste ----

TEST_F(LineBlockTest, PasteTakesABufferOrTheClipboard) {
    Text({"ab@c"});
    editor.buffers[3].Add(TString("x"));
    Run("paste 3");
    EXPECT_EQ(Shown(), std::vector<std::string>{"abx@c"});
    PutClipboardText("y");
    Run("paste 12");  // no buffer 12: the clipboard
    EXPECT_EQ(Shown(), std::vector<std::string>{"abxy@c"});
    Run("paste");
    EXPECT_EQ(Shown(), std::vector<std::string>{"abxyy@c"});
}

TEST_F(LineBlockTest, PasteAppendPutsTheClipboardLinesBehindTheLines) {
    const struct {
        const char* command;
        const char* clipboard;
        std::vector<std::string> before;
        std::pair<int, int> block;
        std::vector<std::string> after;
    } kCases[] = {
        {"paste append", "x\r\ny\r\nz", {"a", "b", "c", "d"}, {1, 2}, {"a", "bx", "c", "d"}},  // the block's one line
        {"paste append", "x\r\ny\r\nz", {"a", "b", "c", "d"}, {1, 3}, {"a", "bx", "cy", "d"}},
        {"paste append", "x\ny", {"a", "b", "@c"}, {0, 0}, {"a", "b", "cx", "y"}},          // lines added at the end
        {"paste app - ", "x\ny\nz", {"@a", "bbb"}, {0, 0}, {"a-x", "bbb-y", "-z"}},
        {"paste append align \"|\"", "x\ny\nz", {"@a", "bbb", "cc"}, {0, 0}, {"a  |x", "bbb|y", "cc |z"}},
        {"paste ap al | =", "x\ny\nz", {"@a", "bbb"}, {0, 0}, {"a  |=x", "bbb|=y", "   |=z"}},
        {"paste append", "x\r\ny\r\n", {"@a", "b", "c", "d"}, {0, 0}, {"ax", "by", "c", "d"}},  // a last, empty line
        {"paste append", "\tx", {"@ab"}, {0, 0}, {"ab      x"}},                                  // tabs expanded
    };
    for (const auto& c : kCases) {
        Text(c.before);
        Select(c.block.first, c.block.second);
        PutClipboardText(c.clipboard);
        Run(c.command);
        EXPECT_EQ(Lines(), c.after) << c.command << " of " << c.clipboard;
        EXPECT_EQ(UndoState(), utPaste) << c.command;
        editor.Undo();
        std::vector<std::string> plain = c.before;
        for (std::string& line : plain) line.erase(std::remove(line.begin(), line.end(), '@'), line.end());
        EXPECT_EQ(Lines(), plain) << c.command << ", undone";
    }
    // Nothing without a clipboard text, or while read-only.
    win32::ResetClipboard();
    Text({"@a"});
    Run("paste append");
    EXPECT_EQ(UndoState(), kNoRecord);
    PutClipboardText("x");
    editor.SetReadOnly(true);
    Run("paste append");
    editor.SetReadOnly(false);
    EXPECT_EQ(Lines(), std::vector<std::string>{"a"});
}

// Long lines, lone CRs, a NUL inside the block and bytes above 0x7F: split
// at LF, every CR dropped, nothing read past the NUL (clean under asan).
TEST_F(LineBlockTest, PasteAppendTakesAnyClipboardBytes) {
    std::string high;
    for (int c = 0x80; c <= 0xFF; ++c) high += static_cast<char>(c);
    const std::string longLine(200000, 'q');
    const std::string bytes = longLine + "\r\n" + "a\rb\r\rc" + "\n" + high + "\n" + "end" + std::string(1, '\0') +
                              "hidden\nmore" + std::string(1, '\0');
    Text({"@1", "2", "3"});
    PutClipboardBytes(bytes);
    Run("paste append :");
    EXPECT_EQ(Lines(), (std::vector<std::string>{"1:" + longLine, "2:abc", "3:" + high, ":end"}));
    EXPECT_EQ(editor.GetHMax(), 200002);
    editor.Undo();
    EXPECT_EQ(Lines(), (std::vector<std::string>{"1", "2", "3"}));
    // A block without a NUL is read to its size.
    PutClipboardBytes("x\ny");
    Run("paste append");
    EXPECT_EQ(Lines(), (std::vector<std::string>{"1x", "2y", "3"}));
}

// ---- counts ----

// Each command whose count is negative or whose result would pass 2^31 - 1
// lines or characters leaves the text alone and returns at once: nothing of
// that size is made (a run that tried would take minutes or fail).
TEST_F(LineBlockTest, CountsOutOfRangeChangeNothing) {
    const struct {
        const char* command;
        std::vector<std::string> before;
        std::pair<int, int> block{0, 0};
    } kCases[] = {
        {"insert lines -5", {"a", "@b"}},
        {"insert lines 5 -1 x", {"a", "@b"}},
        {"insert lines 100000000 1000 x", {"a", "@b"}},
        {"insert lines 2147483647", {"a", "@b"}},
        {"insert lines 2147483646", {"a", "@b"}},
        {"insert rect 2000000000 2000000000", {"a", "@b"}},
        {"insert rect 2147483647 3", {"a", "  @b"}},
        {"insert rect -5", {"a", "@b"}},
        {"insert vl 2147483647", {"a", "b@c", "d"}},
        {"insert vl -20", {"a", "b@c", "d"}},
        {"insert line number at 2147483647", {"a", "@b"}},
        {"insert line number gap 1500000000", {"a", "@b"}},
        {"repeat 1000000000", {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"}, {0, 10}},
        {"repeat 2147483647", {"abcdefghij", "b"}, {0, 1}},
        {"repeat a 2000000000 b 2000000000", {"@x"}},
        {"repeat abc 1000000000", {"@x"}},
        {"add col -3", TableWithCaret(1, 3)},
        {"add col 2147483647", TableWithCaret(1, 3)},
        {"add line -1", TableWithCaret(1, 3)},
        {"add line 2147483647", TableWithCaret(1, 3)},
        {"add frame -1", {"@a", "b"}},
        {"add frame 2000000000", {"@a", "b"}},
        {"add frame 1073741823", {"@a", "b"}},
        {"delete head -2", {"abc", "@d"}},
        {"delete tail -2", {"abc", "@d"}},
        {"delete -3 lines", {"a", "@b", "c"}},
        {"delete -3 chars", {"a", "@bc"}},
        {"delete 2 chars", {"a", "bc  @"}},  // the caret past the line's end
        {"select 2147483647 -2147483647", {"a", "@b"}, {0, 0}},
    };
    for (const auto& c : kCases) {
        Text(c.before);
        Select(c.block.first, c.block.second);
        const std::vector<std::string> before = Lines();
        Run(c.command);
        EXPECT_EQ(Lines(), before) << c.command;
        EXPECT_EQ(UndoState(), kNoRecord) << c.command;
    }
}

#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
// Commands whose new lines pass the count checks but not the memory leave
// the text as it was, and no failure leaves them. Run in a child whose
// address space is limited (the sanitizers need theirs whole).
TEST_F(LineBlockTest, ACommandWithoutTheMemoryItNeedsLeavesTheText) {
    const auto inLimitedChild = [&] {
        rlimit limit{};
        getrlimit(RLIMIT_AS, &limit);
        limit.rlim_cur = 1024ul * 1024ul * 1024ul;
        setrlimit(RLIMIT_AS, &limit);
        bool same = true;
        const std::string wide(100000, 'w');
        const struct {
            const char* command;
            std::vector<std::string> text;
            std::pair<int, int> block;
        } kCases[] = {
            {"insert lines 1000000 1000 x", {"a", "b"}, {0, 0}},
            {"repeat 12000", {"a", wide, "b"}, {1, 2}},
            {"add frame 22000", {"a", "b"}, {0, 0}},
        };
        for (const auto& c : kCases) {
            Text(c.text);
            Select(c.block.first, c.block.second);
            Run(c.command);
            same = same && Lines() == c.text;
        }
        std::exit(same ? 0 : 1);
    };
    EXPECT_EXIT(inLimitedChild(), ::testing::ExitedWithCode(0), "");
}
#endif
