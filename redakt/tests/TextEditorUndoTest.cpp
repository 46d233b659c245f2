// The undo stack: the records its six forms build, the budget, and what an
// undo restores.
#include <string>
#include <vector>

#include "RedaktFixture.h"

namespace {

// A record of one saved line whose budget share is exactly size.
TTextEditorUndoItem* RecordOfSize(int size, int firstLine = 0) {
    auto* record = new TTextEditorUndoItem;
    record->firstLine = record->lastLine = firstLine;
    record->lines.Add(TString(std::string(size - TTextEditorUndoItem::kRecordCost - TTextEditorUndoItem::kLineCost, 'u')));
    return record;
}

struct UndoTest : ::testing::Test {
    win32::TestDriver driver;
    TTextEditor editor{nullptr};
};

}  // namespace

TEST_F(UndoTest, TheSixFormsBuildTheirRecords) {
    SetLines(editor, {"l0", "l1", "l2", "l3", "l4"});
    editor.SetCursorPosX(1);
    editor.SetCursorPosY(2);
    TStringContainer source;
    for (const char* s : {"s0", "s1", "s2", "s3"}) source.Add(s);
    const POINT caret{7, 3};
    const struct {
        const char* form;
        std::function<void()> add;
        int first, last, caretCol, caretLine;
        std::vector<std::string> lines;
    } kForms[] = {
        {"caret line", [&] { editor.AddUndoItem(utDelete); }, 2, 2, 1, 2, {"l2"}},
        {"one line", [&] { editor.AddUndoItem(utTyping, 4, caret, TString("old")); }, 4, 4, 7, 3, {"old"}},
        {"range and a text", [&] { editor.AddUndoItem(utDelete, 3, 2, caret, TString("gone")); }, 3, 2, 7, 3, {"gone"}},
        {"one line that replaced several", [&] { editor.AddUndoItem(utConvert, 1, 3, caret, source); }, 1, 1, 7, 3,
         {"s1", "s2", "s3"}},
        {"own lines", [&] { editor.AddUndoItem(utDeleteBlock, 0, -1, caret, 1, 3); }, 0, -1, 7, 3, {"l1", "l2", "l3"}},
        {"same line count", [&] { editor.AddUndoItem(utAlign, 3, 4); }, 3, 4, 1, 2, {"l3", "l4"}},
    };
    editor.selection = TTextEditorSelection{1, 2, 3, 0, 2};
    editor.markers += TEXT_EDITOR_MARKER{4, 6};
    for (const auto& form : kForms) {
        form.add();
        ASSERT_NE(editor.GetLastUndoItem(), nullptr) << form.form;
        const TTextEditorUndoItem& record = *editor.GetLastUndoItem();
        EXPECT_EQ(record.firstLine, form.first) << form.form;
        EXPECT_EQ(record.lastLine, form.last) << form.form;
        EXPECT_EQ(record.caretCol, form.caretCol) << form.form;
        EXPECT_EQ(record.caretLine, form.caretLine) << form.form;
        EXPECT_EQ(TextOf(record.lines), form.lines) << form.form;
        EXPECT_EQ(record.selection.selEndLine, 2) << form.form;
        ASSERT_EQ(record.markers.GetCount(), 1) << form.form;
        EXPECT_EQ(record.markers[0].line, 4) << form.form;
    }
    EXPECT_EQ(editor.undoItems.GetCount(), 6);
    int held = 0;
    for (int i = 0; i < editor.undoItems.GetCount(); ++i) held += editor.undoItems[i].GetSize();
    EXPECT_EQ(editor.undoSize, held);
}

TEST_F(UndoTest, ARecordPastTheBudgetIsRefusedAndEmptiesTheStack) {
    SetLines(editor, std::vector<std::string>(600, "0123456789"));  // 208 + 600 x 35 = 21208
    TStringContainer source;
    for (int i = 0; i < 600; ++i) source.Add("0123456789");
    const struct {
        const char* form;
        std::function<void()> add;
    } kRefused[] = {
        {"own lines", [&] { editor.AddUndoItem(utConvert, 0, 599); }},
        {"replaced lines", [&] { editor.AddUndoItem(utConvert, 0, 599, POINT{0, 0}, source); }},
        {"a pushed record", [&] { editor.AddUndoItem(RecordOfSize(16385)); }},
    };
    for (const auto& row : kRefused) {
        editor.AddUndoItem(utTyping);
        ASSERT_EQ(editor.undoItems.GetCount(), 1);
        row.add();
        EXPECT_EQ(editor.undoItems.GetCount(), 0) << row.form;
        EXPECT_EQ(editor.undoSize, 0) << row.form;
    }
    editor.AddUndoItem(utConvert, 0, 460);  // 208 + 461 x 35 = 16343: fits
    EXPECT_EQ(editor.undoItems.GetCount(), 1);
}

TEST_F(UndoTest, PushingEvictsTheOldestUntilTheNewRecordFits) {
    SetLines(editor, {"a"});
    for (int i = 0; i < 3; ++i) editor.AddUndoItem(RecordOfSize(6000, i));
    ASSERT_EQ(editor.undoItems.GetCount(), 2);  // the first made room for the third
    EXPECT_EQ(editor.undoItems[0].firstLine, 1);
    EXPECT_EQ(editor.undoSize, 12000);
    editor.AddUndoItem(RecordOfSize(4384, 3));  // 12000 + 4384 = 16384: fits exactly
    EXPECT_EQ(editor.undoItems.GetCount(), 3);
    editor.AddUndoItem(RecordOfSize(9000, 4));  // the two oldest go, one by one
    ASSERT_EQ(editor.undoItems.GetCount(), 2);
    EXPECT_EQ(editor.undoItems[0].firstLine, 3);
    EXPECT_EQ(editor.undoSize, 13384);

    // Undo everything (the records lie beyond this one-line text and are
    // dropped): the whole budget is free again.
    while (editor.undoItems.GetCount() > 0) editor.Undo();
    EXPECT_EQ(editor.undoSize, 0);
    editor.AddUndoItem(RecordOfSize(16384));
    EXPECT_EQ(editor.undoItems.GetCount(), 1);
    EXPECT_EQ(editor.undoSize, 16384);
}

TEST_F(UndoTest, UndoPutsBackLinesCaretSelectionAndBookmarks) {
    const std::vector<std::string> before = {"zero", "one", "two", "three"};
    const struct {
        const char* change;
        int first, last;                    // the record's range
        std::vector<int> savedLines;        // lines of the text it saves
        std::vector<std::string> changed;   // the text after the change
    } kChanges[] = {
        {"an edit within a line", 1, 1, {1}, {"zero", "ONE", "two", "three"}},
        {"a deletion", 2, 1, {2}, {"zero", "one", "three"}},
        {"an insertion", 1, 2, {}, {"zero", "x", "y", "one", "two", "three"}},
        {"two lines joined", 1, 1, {1, 2}, {"zero", "onetwo", "three"}},
        {"the last line deleted", 3, 2, {3}, {"zero", "one", "two"}},
    };
    for (const auto& row : kChanges) {
        SetLines(editor, before);
        editor.SetModified(false);
        editor.SetCursorPosX(2);
        editor.SetCursorPosY(1);
        editor.selection = TTextEditorSelection{0, 3, 1, 0, 0};
        editor.markers.Clear();
        editor.markers += TEXT_EDITOR_MARKER{2, 5};
        auto* record = new TTextEditorUndoItem;
        record->firstLine = row.first;
        record->lastLine = row.last;
        record->caretCol = 2;
        record->caretLine = 1;
        for (int line : row.savedLines) record->lines.Add(editor.lines[line]);
        editor.AddUndoItem(record);

        SetLines(editor, row.changed);
        editor.SetCursorPosX(0);
        editor.SetCursorPosY(0);
        editor.selection = TTextEditorSelection{};
        editor.markers[0].line = 0;
        std::vector<bool> modified;
        editor.OnModifyChange = [&modified](TTextEditor*, bool value) { modified.push_back(value); };
        editor.Undo();
        editor.OnModifyChange = nullptr;
        EXPECT_EQ(TextOf(editor.lines), before) << row.change;
        EXPECT_EQ(editor.GetCurCol(), 2) << row.change;
        EXPECT_EQ(editor.GetCurLine(), 1) << row.change;
        EXPECT_EQ(editor.selection.selEndCol, 3) << row.change;
        EXPECT_EQ(editor.markers[0].line, 2) << row.change;
        EXPECT_EQ(editor.GetVMax(), 3) << row.change;
        EXPECT_EQ(modified, std::vector<bool>{true}) << row.change;
        EXPECT_EQ(editor.undoItems.GetCount(), 0);
        EXPECT_EQ(editor.undoSize, 0);
    }
}

TEST_F(UndoTest, NothingToUndoAndRecordsThatNoLongerFitTheTextChangeNothing) {
    SetLines(editor, {"a", "b", "c"});
    int events = 0;
    editor.OnModifyChange = [&events](TTextEditor*, bool) { ++events; };
    editor.Undo();  // empty stack
    EXPECT_EQ(events, 0);

    const struct {
        int first, last;
    } kBeyond[] = {{3, 3}, {2, 3}, {4, 3}, {-1, 0}, {-2, -3}, {5, 9}};
    for (const auto& range : kBeyond) {
        auto* record = new TTextEditorUndoItem;
        record->firstLine = range.first;
        record->lastLine = range.last;
        record->lines.Add("X");
        editor.AddUndoItem(record);
        editor.Undo();
        EXPECT_EQ(TextOf(editor.lines), (std::vector<std::string>{"a", "b", "c"})) << range.first << ".." << range.last;
        EXPECT_EQ(editor.undoItems.GetCount(), 0);
        EXPECT_EQ(editor.undoSize, 0);
    }
    EXPECT_EQ(events, 0);
    EXPECT_FALSE(editor.GetModified());
}

TEST_F(UndoTest, NewTextEmptiesTheStack) {
    SetLines(editor, {"a", "b"});
    editor.AddUndoItem(utTyping);
    editor.AddUndoItem(utDelete, 0, 1);
    TStringContainer text;
    text.Add("new");
    editor.NewStrings(text);
    EXPECT_EQ(editor.undoItems.GetCount(), 0);
    EXPECT_EQ(editor.undoSize, 0);
    EXPECT_EQ(editor.GetLastUndoItem(), nullptr);
}
