// Keyboard dispatch through the test driver: chords and AltGr, repeat counts
// and the line jump (their mended number reading), the date chord, the
// repeat sequence, typing (collapsing a selection, read-only, undo runs,
// padding, the line break at the margin, the typed word, buffers, the sort
// column, the append mode), the chord lifetimes, the selection kept or
// collapsed by a key, Shift selections with the exchange mark, control
// characters, a sweep of every key with every modifier, and seeded random
// walks of keys that keep the selection inside the text and undo exactly.
#include <gtest/gtest.h>

#include <iterator>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "KeyboardFixture.h"
#include "Win32.h"

namespace {

std::string ClipboardText() {
    if (!OpenClipboard(nullptr)) return "<closed>";
    std::string text = "<none>";
    if (HANDLE block = GetClipboardData(CF_TEXT)) {
        text = static_cast<const char*>(GlobalLock(block));
        GlobalUnlock(block);
    }
    CloseClipboard();
    return text;
}

// Holds Ctrl while the keys are pressed one after another, then releases it.
void WithCtrl(win32::TestDriver& driver, std::initializer_list<UINT> keys) {
    driver.KeyDown(VK_LCONTROL);
    for (UINT key : keys) driver.Press(key);
    driver.KeyUp(VK_LCONTROL);
}

}  // namespace

// ---- Chords and AltGr ----

TEST_F(KeyboardTest, CtrlKCDuplicatesTheSelectionCtrlCCopiesItAndAltGrCTypesItsCharacter) {
    TKeyEditor* editor = Editor({"zero one", "two"});
    editor->selection = TTextEditorSelection{5, 8, 0, 0, 0};
    editor->PlaceCaret(8, 0);
    Ctrl('K');
    Press({}, 'C');
    EXPECT_EQ(editor->lines[0].str(), "zero oneone");

    editor->selection = TTextEditorSelection{0, 4, 0, 0, 0};
    editor->PlaceCaret(4, 0);
    Ctrl('C');
    EXPECT_EQ(ClipboardText(), "zero");
    EXPECT_EQ(editor->selection.selEndCol, 4) << "Ctrl+C keeps the selection";

    editor->Copy(TString("kept"));
    editor->PlaceCaret(3, 1);
    driver.PressAltGr('C', "&");
    EXPECT_EQ(ClipboardText(), "kept");
    EXPECT_EQ(editor->lines[1].str(), "two&");
    EXPECT_EQ(editor->lines[0].str(), "zero oneone");
}

// ---- Repeat counts and the line jump ----

TEST_F(KeyboardTest, RepeatCountsActOnTheNextKeyTheCountedNumberOfTimes) {
    struct TCase {
        const char* what;
        std::vector<UINT> countKeys;  // pressed with Ctrl after Ctrl+Q
        int caretCol;
        UINT key;
        std::string expected;  // line 0 afterwards
    };
    const TCase cases[] = {
        {"twelve", {'1', '2'}, 0, 'X', "xxxxxxxxxxxx"},
        {"to the margin at 80 from column 70", {'M'}, 70, VK_OEM_MINUS, std::string(70, ' ') + std::string(10, '-')},
        {"no number (mended): once", {'A'}, 0, 'X', "x"},
        {"zero: once", {'0'}, 0, 'X', "x"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        TKeyEditor* editor = Editor({""});
        editor->SetHMax(100);
        editor->PlaceCaret(c.caretCol, 0);
        driver.KeyDown(VK_LCONTROL);
        driver.Press('Q');
        for (UINT key : c.countKeys) driver.Press(key);
        driver.KeyUp(VK_LCONTROL);
        EXPECT_FALSE(editor->chordQ);
        Press({}, c.key);
        EXPECT_EQ(editor->lines[0].str(), c.expected);
        EXPECT_EQ(editor->keyRepeat + editor->charRepeat, 0);
        delete editor;
    }
}

TEST_F(KeyboardTest, ACountedCtrlYDeletesThatManyLinesAndACountedCtrlRightMovesByAWordOnce) {
    TKeyEditor* editor = Editor(NumberedLines(8));
    editor->PlaceCaret(0, 2);
    WithCtrl(driver, {'Q', '3'});
    Ctrl('Y');
    EXPECT_EQ(editor->lines.GetCount(), 5);
    EXPECT_EQ(editor->lines[2].str(), "line 5 of the text");

    // The repeats carry Shift alone: a word, then two characters.
    editor->lines[2] = "aa bb cc dd ee";
    editor->PlaceCaret(0, 2);
    WithCtrl(driver, {'Q', '3'});
    editor->charRepeat = 0;
    Ctrl(VK_RIGHT);
    EXPECT_EQ(editor->CurCol, 5);
}

TEST_F(KeyboardTest, CountsStopAt100000AndCtrlPressedAgainSpellsNothing) {
    TKeyEditor* editor = Editor({""});
    driver.KeyDown(VK_LCONTROL);
    driver.Press('Q');
    for (int i = 0; i < 12; ++i) driver.Press('9');
    driver.KeyUp(VK_LCONTROL);
    EXPECT_EQ(editor->keyRepeat, 99999);
    EXPECT_EQ(editor->charRepeat, 99999);
    EXPECT_FALSE(editor->suppressKeyPress);
    editor->keyRepeat = editor->charRepeat = 0;

    // Ctrl+Q, Ctrl released, then Ctrl held again for the digits.
    Ctrl('Q');
    WithCtrl(driver, {'1', '2'});
    EXPECT_EQ(editor->keyRepeat, 11);
    editor->keyRepeat = editor->charRepeat = 0;
}

TEST_F(KeyboardTest, CtrlJJumpsByTheTypedNumberOfLinesAndAMinusUpwardsWithinTheText) {
    TKeyEditor* editor = Editor(NumberedLines(20));
    editor->PlaceCaret(2, 3);
    WithCtrl(driver, {'J', '5'});
    EXPECT_EQ(editor->CurLine, 8);
    EXPECT_FALSE(editor->chordJ);
    WithCtrl(driver, {'J', VK_OEM_MINUS, '5'});
    EXPECT_EQ(editor->CurLine, 3);
    WithCtrl(driver, {'J', VK_OEM_MINUS, '5'});
    EXPECT_EQ(editor->CurLine, 0) << "stops at line 0";
    WithCtrl(driver, {'J', '9', '9', '9'});
    EXPECT_EQ(editor->CurLine, 19) << "stops at the last line";
    WithCtrl(driver, {'J', 'A'});
    EXPECT_EQ(editor->CurLine, 19) << "no number moves nothing (mended)";
    EXPECT_FALSE(editor->chordJ);

    ShowText(editor, {});
    WithCtrl(driver, {'J', '5'});
    EXPECT_EQ(editor->CurLine, 0) << "an empty text keeps the caret on line 0 (mended)";
    Press({}, 'X');
    EXPECT_EQ(TextOf(editor->lines), std::vector<std::string>{"  x"}) << "typed at the caret's column";
}

// ---- The date chord ----

TEST_F(KeyboardTest, CtrlD2InsertsTheLongDateAndCtrlD7TypesASevenLeavingTheChordPending) {
    TKeyEditor* editor = Editor({""});
    TKeyEditor expected(nullptr);
    expected.InsertDate(diLongDate);
    Ctrl('D');
    Press({}, '2');
    EXPECT_EQ(editor->lines[0].str(), expected.lines[0].str());
    EXPECT_FALSE(editor->chordD);

    ShowText(editor, {""});
    editor->PlaceCaret(0, 0);
    Ctrl('D');
    Press({}, '7');
    EXPECT_EQ(editor->lines[0].str(), "7");
    EXPECT_TRUE(editor->chordD);
    Press({}, 'A');  // the chord's own key
    EXPECT_FALSE(editor->chordD);
    EXPECT_EQ(editor->lines.GetCount(), 1);
}

// ---- The repeat sequence ----

TEST_F(KeyboardTest, TheRepeatSequenceWritesItsTextCountTimesAsOneUndoStep) {
    TKeyEditor* editor = Editor({"[]"});
    std::vector<int> events;
    editor->OnRepSeq = [&](TTextEditor*, TTextEditorRepSeqEventType event) { events.push_back(event); };
    editor->PlaceCaret(1, 0);
    Ctrl('Q');
    driver.Type("r3ab");
    Press({}, VK_RETURN);
    EXPECT_EQ(editor->lines[0].str(), "[ababab]");
    EXPECT_EQ(editor->CurCol, 7);
    EXPECT_EQ(editor->repSeqState, 0);
    EXPECT_EQ(events, (std::vector<int>{rsStarted, rsCountComplete, rsEnded}));
    Ctrl('Z');
    EXPECT_EQ(editor->lines[0].str(), "[]");

    // Esc cancels; a 20-digit count stops growing at 100,000 (mended).
    Ctrl('Q');
    Press({}, 'R');
    driver.Type("12345678901234567890");
    EXPECT_EQ(editor->repSeqCount, 100000);
    Press({}, VK_ESCAPE);
    EXPECT_EQ(editor->repSeqState, 0);
    EXPECT_EQ(editor->lines[0].str(), "[]");
}

// ---- Typing ----

TEST_F(KeyboardTest, ATypedLetterCollapsesASelectionAndReadOnlyTypesNothingWhileTheArrowsMove) {
    TKeyEditor* editor = Editor({"abcdef", "ghi"});
    editor->selection = TTextEditorSelection{1, 4, 0, 0, 0};
    editor->PlaceCaret(4, 0);
    Press({}, 'X');
    EXPECT_EQ(editor->lines[0].str(), "abcdxef");
    EXPECT_EQ(editor->selection.selStartCol, editor->selection.selEndCol);
    // With Shift held the key-down keeps the selection; the typing drops it.
    editor->selection = TTextEditorSelection{0, 2, 0, 0, 0};
    Press({VK_LSHIFT}, 'Y');
    EXPECT_EQ(editor->lines[0].str(), "abcdxYef");
    EXPECT_EQ(editor->selection.selStartCol, editor->selection.selEndCol);

    editor->SetReadOnly(true);
    driver.Type("zz");
    Press({}, VK_RETURN);
    Press({}, VK_BACK);
    Press({}, VK_DOWN);
    Press({}, VK_RIGHT);
    EXPECT_EQ(TextOf(editor->lines), (std::vector<std::string>{"abcdxYef", "ghi"}));
    EXPECT_EQ(editor->CurLine, 1);
    EXPECT_EQ(editor->CurCol, 7);
}

TEST_F(KeyboardTest, ARunOfTypingIsOneUndoStepInInsertAndInOverwriteMode) {
    for (TTextEditorEditMode mode : {emInsert, emOverwrite}) {
        SCOPED_TRACE(mode == emInsert ? "insert" : "overwrite");
        TKeyEditor* editor = Editor({"abcdef"});
        editor->EditMode = mode;
        editor->PlaceCaret(2, 0);
        driver.Type("XYZ");
        EXPECT_EQ(editor->lines[0].str(), mode == emInsert ? "abXYZcdef" : "abXYZf");
        EXPECT_EQ(editor->undoItems.GetCount(), 1);
        EXPECT_EQ(editor->undoItems[0].kind, mode == emInsert ? utTyping : utReplaceChars);
        // A jump starts a new run.
        editor->PlaceCaret(0, 0);
        driver.Type("Q");
        EXPECT_EQ(editor->undoItems.GetCount(), 2);
        Ctrl('Z');
        Ctrl('Z');
        EXPECT_EQ(editor->lines[0].str(), "abcdef");
        delete editor;
    }
}

TEST_F(KeyboardTest, TypingBeyondTheLineEndPadsItAndWidensHMax) {
    for (TTextEditorEditMode mode : {emInsert, emOverwrite}) {
        SCOPED_TRACE(mode == emInsert ? "insert" : "overwrite");
        TKeyEditor* editor = Editor({"ab"});
        editor->EditMode = mode;
        editor->SetHMax(6);
        editor->PlaceCaret(6, 0);
        Press({}, 'X');
        // Overwrite mode pads one blank more, which the character replaces.
        EXPECT_EQ(editor->lines[0].str(), "ab    x");
        EXPECT_EQ(editor->HMax, 7);
        EXPECT_EQ(editor->CurCol, 7);
        Ctrl('Z');
        EXPECT_EQ(editor->lines[0].str(), "ab") << "undo takes the padding back too";
        delete editor;
    }
}

TEST_F(KeyboardTest, AutoLineBreakMovesTheWordBelowAndOneUndoGivesTheLineBack) {
    TKeyEditor* editor = Editor({"aaaa bbbbbb", "next"});
    editor->SetAutoLineBreak(true);
    editor->SetMarginPos(10);
    editor->PlaceCaret(11, 0);
    Press({}, 'X');
    EXPECT_EQ(TextOf(editor->lines), (std::vector<std::string>{"aaaa", "bbbbbbx", "next"}));
    EXPECT_EQ(editor->CurLine, 1);
    EXPECT_EQ(editor->CurCol, 7);
    EXPECT_EQ(editor->VMax, 2);
    Ctrl('Z');
    EXPECT_EQ(TextOf(editor->lines), (std::vector<std::string>{"aaaa bbbbbb", "next"}));

    // A line without a blank moves whole, leaving an empty line.
    ShowText(editor, {"cccccccccc"});
    editor->PlaceCaret(10, 0);
    Press({}, 'Y');
    EXPECT_EQ(TextOf(editor->lines), (std::vector<std::string>{"", "ccccccccccy"}));
}

TEST_F(KeyboardTest, TheTypedWordIsKeptAndCtrlQWTypesItAgain) {
    TKeyEditor* editor = Editor({""});
    driver.Type("one two");
    EXPECT_EQ(editor->lastWord.str(), "two");
    EXPECT_TRUE(editor->inWord);
    Press({}, VK_BACK);
    EXPECT_EQ(editor->lastWord.str(), "tw");
    Press({}, VK_LEFT);
    EXPECT_FALSE(editor->inWord);
    Press({}, VK_END);
    driver.Type(" ");
    Ctrl('Q');
    Press({}, 'W');
    EXPECT_EQ(editor->lines[0].str(), "one tw tw");
    EXPECT_EQ(editor->CurCol, 9);
}

TEST_F(KeyboardTest, CtrlQBDigitCopiesToABufferAndCtrlBDigitPastesIt) {
    TKeyEditor* editor = Editor({"copy me", ""});
    editor->selection = TTextEditorSelection{0, 4, 0, 0, 0};
    editor->PlaceCaret(4, 0);
    Ctrl('Q');
    Press({}, 'B');
    Press({}, '4');
    EXPECT_EQ(TextOf(editor->buffers[4]), std::vector<std::string>{"copy"});
    EXPECT_FALSE(editor->copyToBufferPending);
    EXPECT_EQ(editor->lines[0].str(), "copy me") << "neither character is typed";

    editor->PlaceCaret(0, 1);
    Ctrl('B');
    Press({}, '4');
    EXPECT_EQ(editor->lines[1].str(), "copy");
    // A character that is no digit only ends the wait.
    Ctrl('B');
    Press({}, 'Q');
    EXPECT_FALSE(editor->pasteFromBufferPending);
    EXPECT_EQ(editor->lines[1].str(), "copy");
}

TEST_F(KeyboardTest, CtrlKBThenADigitSortsByThatColumnAndAnyOtherKeyEndsTheChoice) {
    TKeyEditor* editor = Editor({"a 3", "b 1", "c 2"});
    std::vector<int> events;
    editor->OnSortCol = [&](TTextEditor*, TTextEditorSortCol event) { events.push_back(event); };
    Ctrl('K');
    Press({}, 'B');
    Press({}, '1');
    EXPECT_EQ(TextOf(editor->lines), (std::vector<std::string>{"b 1", "c 2", "a 3"}));
    EXPECT_EQ(events, std::vector<int>{scChoosing});
    Ctrl('K');
    Press({}, 'B');
    Press({}, 'X');
    EXPECT_EQ(events, (std::vector<int>{scChoosing, scChoosing, scChosen}));
    EXPECT_FALSE(editor->sortColPending);
    EXPECT_EQ(editor->lines[0].str(), "xb 1") << "the key then acts as usual";
}

// Set through the state until StartAppendMode is built.
TEST_F(KeyboardTest, AppendModeTypingWritesAtTheMarginOfTheTargetLines) {
    struct TCase {
        const char* what;
        TTextEditorEditMode mode;
        TTextEditorSelection selection;
        std::vector<std::string> expected;
    };
    const std::string a = "0123456789", b = "abcdefghij", c = "ABCDEFGHIJ";
    const TCase cases[] = {
        {"caret line, insert", emInsert, {0, 0, 0, 0, 0}, {"123456789x", b, c}},
        {"in-line selection's line, insert", emInsert, {3, 5, 1, 1, 1}, {a, "abcefghijx", c}},
        {"block, insert", emInsert, {0, 0, 0, 1, 3}, {a, "bcdefghijx", "BCDEFGHIJx"}},
        {"caret line, overwrite", emOverwrite, {0, 0, 0, 0, 0}, {"012345678x", b, c}},
        {"block, overwrite", emOverwrite, {0, 0, 0, 0, 2}, {"012345678x", "abcdefghix", c}},
    };
    for (const TCase& test : cases) {
        SCOPED_TRACE(test.what);
        TKeyEditor* editor = Editor({a, b, c});
        editor->SetMarginPos(10);
        editor->EditMode = test.mode;
        editor->selection = test.selection;
        editor->PlaceCaret(10, 0);
        editor->appendMode = true;
        Press({}, 'X');
        EXPECT_EQ(TextOf(editor->lines), test.expected);
        EXPECT_EQ(editor->CurCol, 10);
        EXPECT_EQ(editor->appendCount, 1);
        EXPECT_TRUE(editor->GetModified());
        // Esc ends the append mode and does nothing else: a chord stays.
        editor->chordK = true;
        Press({}, VK_ESCAPE);
        EXPECT_FALSE(editor->appendMode);
        EXPECT_TRUE(editor->chordK);
        delete editor;
    }
}

// The mended second step of typing: every control character is dropped.
TEST_F(KeyboardTest, ControlCharactersAreNeverTyped) {
    TKeyEditor* editor = Editor({"text"});
    editor->PlaceCaret(4, 0);
    Ctrl('O');
    Press({VK_LCONTROL, VK_LSHIFT}, 'A');
    Ctrl(VK_OEM_5);
    Ctrl(VK_OEM_6);
    Press({VK_LCONTROL, VK_LSHIFT}, VK_OEM_MINUS, "\x1F");
    Press({VK_LCONTROL, VK_LSHIFT}, '6', "\x1E");
    driver.KeyDown(VK_F5, "\x7F");
    driver.KeyUp(VK_F5);
    EXPECT_EQ(editor->lines[0].str(), "text");
    EXPECT_EQ(typed, "");
}

// ---- Chord lifetimes ----

TEST_F(KeyboardTest, AHandledKeyEndsTheKQAndMChordsEscEndsAllSix) {
    TKeyEditor* editor = Editor(NumberedLines(3));
    auto setAll = [&] { editor->chordK = editor->chordQ = editor->chordM = editor->chordD = editor->chordL = editor->chordJ = true; };
    auto pending = [&] {
        return std::vector<bool>{editor->chordK, editor->chordQ, editor->chordM, editor->chordD, editor->chordL, editor->chordJ};
    };
    setAll();
    Press({}, VK_F5);  // not in the table
    EXPECT_EQ(pending(), std::vector<bool>(6, true));
    Press({}, VK_CAPITAL);
    Press({}, VK_CAPITAL);
    EXPECT_EQ(pending(), std::vector<bool>(6, true));
    Press({}, VK_HOME);
    EXPECT_EQ(pending(), (std::vector<bool>{false, false, false, true, true, true}));
    setAll();
    Press({}, VK_ESCAPE);
    EXPECT_EQ(pending(), std::vector<bool>(6, false));
}

// ---- Selections ----

TEST_F(KeyboardTest, OnlyTheListedKeysKeepASelection) {
    struct TCase {
        const char* what;
        std::vector<UINT> modifiers;
        UINT key;
        const char* prefix;  // chord or pending state before the key: "", "Q", "L", "K", "buffer", "append", "persistent"
        bool kept;
    };
    const TCase cases[] = {
        {"Ctrl", {}, VK_LCONTROL, "", true},       {"Alt", {}, VK_LMENU, "", true},
        {"Caps Lock", {}, VK_CAPITAL, "", true},   {"Insert", {}, VK_INSERT, "", true},
        {"Delete", {}, VK_DELETE, "", true},       {"Backspace", {}, VK_BACK, "", true},
        {"F1", {}, VK_F1, "", true},               {"F3", {}, VK_F3, "", true},
        {"Ctrl+C", {VK_LCONTROL}, 'C', "", true},  {"Alt+C", {VK_LMENU}, 'C', "", true},
        {"Ctrl+V", {VK_LCONTROL}, 'V', "", true},  {"Ctrl+X", {VK_LCONTROL}, 'X', "", true},
        {"Ctrl+Q", {VK_LCONTROL}, 'Q', "", true},  {"Ctrl+K", {VK_LCONTROL}, 'K', "", true},
        {"Ctrl+L", {VK_LCONTROL}, 'L', "", true},  {"Ctrl+F", {VK_LCONTROL}, 'F', "", true},
        {"Ctrl+R", {VK_LCONTROL}, 'R', "", true},  {"Alt+N", {VK_LMENU}, 'N', "", true},
        {"Ctrl+Q, B", {}, 'B', "Q", true},         {"Ctrl+Q, E", {}, 'E', "Q", true},
        {"Ctrl+Q, A", {}, 'A', "Q", true},         {"Ctrl+Q, S", {}, 'S', "Q", true},
        {"Ctrl+L, C", {}, 'C', "L", true},         {"Ctrl+L, F", {}, 'F', "L", true},
        {"Ctrl+L, M", {}, 'M', "L", true},         {"Ctrl+L, T", {}, 'T', "L", true},
        {"Ctrl+L, A", {}, 'A', "L", true},         {"F5 after Ctrl+K", {}, VK_F5, "K", true},
        {"F5 waiting for a buffer digit", {}, VK_F5, "buffer", true},
        {"F5 in the append mode", {}, VK_F5, "append", true},
        {"F5 with PersistentBlocks", {}, VK_F5, "persistent", true},
        {"F5", {}, VK_F5, "", false},              {"Ctrl+E", {VK_LCONTROL}, 'E', "", false},
        {"Alt+X", {VK_LMENU}, 'X', "", false},     {"Ctrl+Q, D", {}, 'D', "Q", false},
        {"Ctrl+L, B", {}, 'B', "L", false},        {"Z", {}, 'Z', "", false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        TRecordingKeyEditor* editor = Editor<TRecordingKeyEditor>(NumberedLines(6));
        const std::string prefix = c.prefix;
        if (prefix == "Q" || prefix == "L" || prefix == "K") Ctrl(prefix[0]);
        editor->copyToBufferPending = prefix == "buffer";
        editor->appendMode = prefix == "append";
        editor->SetPersistentBlocks(prefix == "persistent");
        editor->selection = TTextEditorSelection{1, 4, 2, 2, 2};
        editor->selMark = 9;  // outside it: Ctrl+Q, E exchanges nothing
        editor->PlaceCaret(4, 2);
        // The key-down alone: its character would collapse the selection by typing.
        for (UINT modifier : c.modifiers) driver.KeyDown(modifier);
        driver.KeyDown(c.key, "");
        driver.KeyUp(c.key);
        for (UINT modifier : c.modifiers) driver.KeyUp(modifier);
        const bool kept = editor->selection.selStartCol == 1 && editor->selection.selEndCol == 4 && editor->selMark == 9;
        EXPECT_EQ(kept, c.kept);
        if (c.key == VK_CAPITAL) Press({}, VK_CAPITAL);
        delete editor;
    }
}

TEST_F(KeyboardTest, ShiftWithTheMovingKeysBuildsSelectionsAndItsReleaseEndsThem) {
    TKeyEditor* editor = Editor(NumberedLines(30));
    editor->PlaceCaret(3, 1);
    editor->ClearSelection(true);
    driver.KeyDown(VK_LSHIFT);
    driver.Press(VK_DOWN);
    driver.Press(VK_DOWN);
    EXPECT_TRUE(editor->shiftSelecting);
    EXPECT_EQ(editor->selection.selStartLine, 1);
    EXPECT_EQ(editor->selection.selEndLine, 3);
    driver.Press(VK_UP);
    EXPECT_EQ(editor->selection.selEndLine, 2);
    driver.KeyUp(VK_LSHIFT);
    EXPECT_FALSE(editor->shiftSelecting);

    Press({}, VK_DOWN);  // collapses
    EXPECT_EQ(editor->selection.selStartLine, editor->selection.selEndLine);
    Press({VK_LSHIFT}, VK_RIGHT);
    Press({VK_LSHIFT}, VK_RIGHT);
    EXPECT_EQ(editor->selection.selStartCol, 3);
    EXPECT_EQ(editor->selection.selEndCol, 5);
    Press({VK_LSHIFT}, VK_HOME);
    EXPECT_EQ(editor->selection.selStartCol, 0);
    EXPECT_EQ(editor->selection.selEndCol, 3);
    Press({VK_LSHIFT}, VK_END);
    EXPECT_EQ(editor->selection.selEndCol, 18);
    editor->PlaceCaret(0, 0);
    Press({}, VK_LEFT);
    Press({VK_LSHIFT}, VK_NEXT);
    EXPECT_EQ(editor->selection.selStartLine, 0);
    EXPECT_EQ(editor->selection.selEndLine, editor->CurLine);
    EXPECT_GT(editor->CurLine, 5);

    // Under PersistentBlocks the old block stays until Shift starts a new one.
    editor->SetPersistentBlocks(true);
    editor->selection = TTextEditorSelection{0, 0, 0, 20, 25};
    editor->PlaceCaret(0, 10);
    Press({}, VK_DOWN);
    EXPECT_EQ(editor->selection.selStartLine, 20);
    Press({VK_LSHIFT}, VK_DOWN);
    EXPECT_EQ(editor->selection.selStartLine, 11);
    EXPECT_EQ(editor->selection.selEndLine, 12);
    for (int i = 0; i < 5; ++i) Press({}, VK_RIGHT);
    Press({VK_LSHIFT}, VK_LEFT);  // a new in-line selection; the block goes
    EXPECT_EQ(editor->selection.selStartLine, editor->selection.selEndLine);
    EXPECT_EQ(editor->selection.selStartCol, 4);
    EXPECT_EQ(editor->selection.selEndCol, 5);
}

TEST_F(KeyboardTest, CtrlDuringAShiftSelectionMarksTheExchangeThatCtrlQEMakes) {
    TKeyEditor* editor = Editor({"a", "b", "c", "d", "e"});
    driver.KeyDown(VK_LSHIFT);
    driver.Press(VK_DOWN);
    driver.Press(VK_DOWN);
    driver.Press(VK_LCONTROL);
    EXPECT_EQ(editor->selMark, 2);
    driver.Press(VK_DOWN);
    driver.KeyUp(VK_LSHIFT);
    EXPECT_EQ(editor->selection.selEndLine, 3);
    Ctrl('Q');
    Press({}, 'E');
    EXPECT_EQ(TextOf(editor->lines), (std::vector<std::string>{"c", "a", "b", "d", "e"}));

    // In a line: after Shift+Right the mark is a column.
    ShowText(editor, {"abcdef"});
    editor->PlaceCaret(0, 0);
    editor->ClearSelection(true);
    driver.KeyDown(VK_LSHIFT);
    driver.Press(VK_RIGHT);
    driver.Press(VK_RIGHT);
    driver.Press(VK_LCONTROL);
    driver.Press(VK_RIGHT);
    driver.KeyUp(VK_LSHIFT);
    EXPECT_EQ(editor->selMark, 2);
    Ctrl('Q');
    Press({}, 'E');
    EXPECT_EQ(editor->lines[0].str(), "cabdef");
}

// ---- Every key ----

// Every virtual key with every combination of Shift, Ctrl and Alt, alone and
// after each chord prefix and pending state, on an empty editor and on a
// read-only one (whose text must stay), with every dialog cancelled. Run
// under the address sanitizer this also shows that no path reads or writes
// out of bounds.
TEST_F(KeyboardTest, EveryKeyWithEveryModifierAfterEveryPrefixKeepsTheEditorSound) {
    const std::vector<std::vector<UINT>> prefixes = {
        {}, {'K'}, {'Q'}, {'L'}, {'D'}, {'J'}, {'M'}, {'B'}, {'Q', 'B'}, {'K', 'B'}, {'Q', 'R'},
    };
    const std::vector<std::string> readOnlyText = NumberedLines(12);
    for (bool readOnly : {false, true}) {
        for (const std::vector<UINT>& prefix : prefixes) {
            for (UINT key = 1; key < 255; ++key) {
                TKeyEditor* editor = Editor(readOnly ? readOnlyText : std::vector<std::string>{});
                editor->SetReadOnly(readOnly);
                editor->PlaceCaret(readOnly ? 4 : 0, readOnly ? 3 : 0);
                for (int modifiers = 0; modifiers < 8; ++modifiers) {
                    if (!prefix.empty()) {
                        Ctrl(prefix[0]);
                        if (prefix.size() > 1) Press({}, prefix[1]);
                    }
                    std::vector<UINT> held;
                    if (modifiers & 1) held.push_back(VK_LSHIFT);
                    if (modifiers & 2) held.push_back(VK_LCONTROL);
                    if (modifiers & 4) held.push_back(VK_LMENU);
                    for (UINT modifier : held) driver.KeyDown(modifier);
                    driver.Press(key);
                    for (auto modifier = held.rbegin(); modifier != held.rend(); ++modifier) driver.KeyUp(*modifier);
                    if (editor->helpShown) editor->Help();
                    if (!editor->Focused()) editor->SetFocus();
                    driver.PumpUntilIdle();
                    ASSERT_GE(editor->CurLine, 0) << key << " with " << modifiers;
                    ASSERT_LE(editor->CurLine, std::max(editor->lines.GetCount() - 1, 0)) << key << " with " << modifiers;
                    if (readOnly) {
                        ASSERT_EQ(TextOf(editor->lines), readOnlyText) << key << " with " << modifiers;
                    }
                }
                // Nothing repeats into the next editor.
                editor->keyRepeat = editor->charRepeat = 0;
                driver.PumpUntilIdle();
                delete editor;
            }
        }
    }
    EXPECT_FALSE(dialogs.empty());
    EXPECT_FALSE(typed.empty());
}

// ---- The selection inside the text, and undo back to the start ----

namespace {

// A key pressed alone or with Ctrl held around it.
struct TNamedKey {
    bool ctrl;
    UINT key;
    const char* name;
};

void PressNamed(win32::TestDriver& driver, const TNamedKey& key) {
    if (key.ctrl)
        driver.Press({VK_LCONTROL}, key.key);
    else
        driver.Press(key.key);
}

const TNamedKey kWalkKeys[] = {
    {false, VK_UP, "Up"},         {false, VK_DOWN, "Down"},      {false, VK_LEFT, "Left"},
    {false, VK_RIGHT, "Right"},   {false, VK_PRIOR, "PgUp"},     {false, VK_NEXT, "PgDn"},
    {false, VK_HOME, "Home"},     {false, VK_END, "End"},        {true, 'A', "Ctrl+A"},
    {false, 'X', "x"},            {false, VK_SPACE, "Space"},    {false, VK_RETURN, "Enter"},
    {false, VK_TAB, "Tab"},       {false, VK_BACK, "Backspace"}, {false, VK_DELETE, "Delete"},
    {true, 'X', "Ctrl+X"},        {true, 'C', "Ctrl+C"},         {true, 'V', "Ctrl+V"},
    {true, 'Z', "Ctrl+Z"},
};
// The keys of a run pressed with Shift held throughout.
const TNamedKey kShiftedKeys[] = {
    {false, VK_UP, "Shift+Up"},       {false, VK_DOWN, "Shift+Down"},  {false, VK_LEFT, "Shift+Left"},
    {false, VK_RIGHT, "Shift+Right"}, {false, VK_PRIOR, "Shift+PgUp"}, {false, VK_NEXT, "Shift+PgDn"},
};

// The caret and the selection lie inside the text: the line block within
// [0, line count], start at or before end; an in-line selection on a line of
// the text, start at or before end.
bool SelectionInText(TKeyEditor& editor) {
    const TTextEditorSelection& s = editor.selection;
    const int count = editor.lines.GetCount();
    const bool inlineSound = s.selStartCol == s.selEndCol ||
                             (0 <= s.selLine && s.selLine < count && 0 <= s.selStartCol && s.selStartCol < s.selEndCol);
    return 0 <= editor.CurLine && editor.CurLine < std::max(count, 1) && 0 <= s.selStartLine &&
           s.selStartLine <= s.selEndLine && s.selEndLine <= count && inlineSound;
}

// Keeps in badReport the last line block the editor reports that is not
// lines of its text, first before last.
void WatchBlockReports(TKeyEditor& editor, std::string& badReport) {
    editor.OnSelectionChange = [&badReport](TTextEditor* sender, bool lines, int first, int last) {
        if (lines && (first < 0 || last >= sender->lines.GetCount() || first > last))
            badReport = " reported lines " + std::to_string(first) + " to " + std::to_string(last);
    };
}

std::string DescribeSelection(TKeyEditor& editor) {
    const TTextEditorSelection& s = editor.selection;
    return "caret " + std::to_string(editor.CurCol) + "," + std::to_string(editor.CurLine) + ", block [" +
           std::to_string(s.selStartLine) + ", " + std::to_string(s.selEndLine) + "), columns [" +
           std::to_string(s.selStartCol) + ", " + std::to_string(s.selEndCol) + ") of line " +
           std::to_string(s.selLine) + ", " + std::to_string(editor.lines.GetCount()) + " lines";
}

}  // namespace

// Seeded walks of keys over small texts, with and without PersistentBlocks.
// After every key the selection lies inside the text and every block the
// host is told of names lines of the text, first before last; at the end,
// undoing every record gives the starting text back exactly (the walks stay
// within the undo budget).
TEST_F(KeyboardTest, RandomWalksOfKeysKeepTheSelectionInTheTextAndUndoRestoresIt) {
    const std::vector<std::vector<std::string>> texts = {
        {""}, {"a", "b"}, {"one two", "", "  three", "four"}, NumberedLines(12), NumberedLines(40),
    };
    TKeyEditor* editor = Editor({""});
    std::string badReport;
    WatchBlockReports(*editor, badReport);
    for (bool persistent : {false, true}) {
        for (unsigned seed = 0; seed < 2000; ++seed) {
            const std::vector<std::string>& text = texts[seed % texts.size()];
            ShowText(editor, text);
            editor->ClearUndo();
            editor->PlaceCaret(0, 0);
            editor->ClearSelection(true);
            editor->SetPersistentBlocks(persistent);
            PutClipboardText("");
            badReport.clear();
            std::string walk = "seed " + std::to_string(seed) + (persistent ? " with PersistentBlocks:" : ":");
            std::mt19937 random(seed);
            const auto press = [&](const TNamedKey& key) {
                walk += std::string(" ") + key.name;
                PressNamed(driver, key);
                return SelectionInText(*editor) && badReport.empty();
            };
            bool sound = true;
            for (int step = 0; step < 40 && sound; ++step) {
                if (random() % 4 == 0) {
                    driver.KeyDown(VK_LSHIFT);
                    for (int run = 1 + random() % 4; run > 0 && sound; --run)
                        sound = press(kShiftedKeys[random() % std::size(kShiftedKeys)]);
                    driver.KeyUp(VK_LSHIFT);
                } else {
                    sound = press(kWalkKeys[random() % std::size(kWalkKeys)]);
                }
            }
            ASSERT_TRUE(sound) << walk << ": " << DescribeSelection(*editor) << badReport;
            while (editor->undoItems.GetCount() > 0) editor->Undo();
            ASSERT_EQ(TextOf(editor->lines), text) << walk;
        }
    }
}

// Select-all and a deletion leave one empty line, and the first edit after
// it is undone with the rest: undoing every record gives the text back.
TEST_F(KeyboardTest, DeletingEveryLineLeavesOneEmptyLineAndUndoingEverythingGivesTheTextBack) {
    const std::vector<std::string> text = {"a", "b"};
    const TNamedKey deletions[] = {{false, VK_DELETE, "Delete"}, {false, VK_BACK, "Backspace"}, {true, 'X', "Ctrl+X"}};
    const TNamedKey firstEdits[] = {{false, 'X', "x"}, {false, VK_RETURN, "Enter"}, {false, VK_TAB, "Tab"},
                                    {true, 'V', "Ctrl+V"}};
    for (const TNamedKey& deletion : deletions) {
        for (const TNamedKey& edit : firstEdits) {
            TKeyEditor* editor = Editor(text);
            PutClipboardText("pasted");
            Ctrl('A');
            PressNamed(driver, deletion);
            EXPECT_EQ(TextOf(editor->lines), std::vector<std::string>{""}) << deletion.name;
            PressNamed(driver, edit);
            while (editor->undoItems.GetCount() > 0) Ctrl('Z');
            EXPECT_EQ(TextOf(editor->lines), text) << deletion.name << ", then " << edit.name;
            delete editor;
        }
    }
}

// Shifted moves from the last line, from inside a block and after the empty
// selection was left behind the caret keep the selection in the text, on
// the line or column the caret left, and tell the host only lines of the text.
TEST_F(KeyboardTest, ShiftedMovesKeepTheSelectionInsideTheTextOnItsAnchor) {
    const int kNone = -1;
    const struct {
        const char* what;
        int lineCount;
        bool persistent;
        int blockStart, blockEnd;  // kNone: the selection cleared on the caret
        int col, line;             // the caret before
        std::vector<UINT> plainKeys, shiftedKeys;  // 'A' goes with Ctrl
        int startLine, endLine, startCol, endCol, caretLine;  // after
    } kCases[] = {
        {"Shift+PgUp from the joined last line", 12, false, kNone, kNone, 0, 9, {},
         {VK_DOWN, VK_DOWN, VK_DOWN, VK_PRIOR}, 0, 9, 0, 0, 0},
        {"and Shift+Down after it", 12, false, kNone, kNone, 0, 9, {},
         {VK_DOWN, VK_DOWN, VK_DOWN, VK_PRIOR, VK_DOWN}, 1, 9, 0, 0, 1},
        {"a new block of Shift+Down on the last line", 3, true, kNone, kNone, 0, 2, {}, {VK_DOWN}, 2, 3, 0, 0, 2},
        {"the same in a one-line text", 1, true, kNone, kNone, 0, 0, {}, {VK_DOWN}, 0, 1, 0, 0, 0},
        {"a new block of Shift+Up on the last line", 3, true, 1, 3, 0, 2, {}, {VK_UP}, 2, 2, 0, 0, 2},
        {"and Shift+Up again", 3, true, 1, 3, 0, 2, {}, {VK_UP, VK_UP}, 1, 2, 0, 0, 1},
        {"Shift+Up on the last line after a line join", 3, false, kNone, kNone, 0, 2, {VK_BACK}, {VK_UP}, 0, 1,
         0, 0, 0},
        {"Shift+Right on a new line", 2, false, kNone, kNone, 0, 0, {VK_END, VK_RETURN}, {VK_RIGHT}, 1, 1, 0,
         1, 1},
        {"Shift+Left after Ctrl+A", 2, false, kNone, kNone, 0, 1, {VK_END, 'A'}, {VK_LEFT}, 1, 1, 17, 18, 1},
    };
    for (const auto& c : kCases) {
        TKeyEditor* editor = Editor(NumberedLines(c.lineCount));
        editor->SetPersistentBlocks(c.persistent);
        editor->PlaceCaret(c.col, c.line);
        editor->ClearSelection(true);
        if (c.blockStart != kNone) {
            editor->selection.selStartLine = c.blockStart;
            editor->selection.selEndLine = c.blockEnd;
        }
        std::string badReport;
        WatchBlockReports(*editor, badReport);
        for (UINT key : c.plainKeys) {
            if (key == 'A')
                Ctrl(key);
            else
                driver.Press(key);
        }
        driver.KeyDown(VK_LSHIFT);
        for (UINT key : c.shiftedKeys) driver.Press(key);
        driver.KeyUp(VK_LSHIFT);
        const TTextEditorSelection& s = editor->selection;
        EXPECT_EQ(std::make_tuple(s.selStartLine, s.selEndLine, s.selStartCol, s.selEndCol, editor->CurLine),
                  std::make_tuple(c.startLine, c.endLine, c.startCol, c.endCol, c.caretLine))
            << c.what;
        EXPECT_EQ(badReport, "") << c.what;
        delete editor;
    }
}
