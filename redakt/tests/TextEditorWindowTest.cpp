// The editor's window messages: dialog keys kept from the form, the Alt
// shortcuts of the window procedure, the caret around scrolling, the Shift
// wheel, focus and the private messages of macro playing.
#include <functional>
#include <string>
#include <vector>

#include "RecordingEditor.h"

namespace {

using TKey = TRecordingEditor::TKey;

GUITHREADINFO CaretInfo() {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(0, &info);
    return info;
}

bool CaretShows(HWND window) {
    const GUITHREADINFO info = CaretInfo();
    return info.hwndCaret == window && (info.flags & GUI_CARETBLINKING) != 0;
}

// The system caret stands on the cell of (CurCol, CurLine) in the view.
void ExpectCaretOnItsCell(TTextEditor* editor) {
    const GUITHREADINFO info = CaretInfo();
    EXPECT_EQ(info.hwndCaret, editor->GetHandle());
    EXPECT_EQ(info.rcCaret.left,
              editor->GetCharWidth() * (editor->GetCurCol() - editor->GetHPos()) + editor->GetColGap());
    EXPECT_EQ(info.rcCaret.top, editor->GetLineHeight() * (editor->GetCurLine() - editor->GetVPos()));
}

}  // namespace

TEST_F(RecordingEditorTest, DialogKeysReachTheEditorAndPressNoButton) {
    AddDialogButtons();
    TRecordingEditor* editor = PlaceFocused();
    const UINT keys[] = {VK_RETURN, VK_ESCAPE, VK_TAB, VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN};
    for (UINT key : keys) driver.Press(key);
    std::vector<WORD> reached;
    for (const TKey& key : editor->keys) reached.push_back(key.key);
    EXPECT_EQ(reached, std::vector<WORD>(std::begin(keys), std::end(keys)));
    EXPECT_EQ(buttonClicks, 0);
    EXPECT_TRUE(editor->Focused());
}

TEST_F(RecordingEditorTest, AltDigitsPlayMacrosAndOtherAltCharactersGoOn) {
    TRecordingEditor* editor = PlaceFocused();
    driver.Press({VK_MENU}, '0');
    driver.Press({VK_MENU}, '9');
    EXPECT_EQ(editor->calls, (std::vector<std::string>{"PlayMacro 0", "PlayMacro 9"}));
    EXPECT_EQ(editor->systemCharacters, (std::vector<char>{'0', '9'}));
    EXPECT_TRUE(editor->dispatchedSystemCharacters.empty());

    driver.Press({VK_MENU, VK_SHIFT}, 'G');
    driver.Press({VK_MENU}, 'X');
    EXPECT_EQ(editor->dispatchedSystemCharacters, (std::vector<char>{'G', 'x'}));
    driver.Press({VK_MENU}, 'G');  // Alt+g: the go-to-line dialog, not passed on
    EXPECT_EQ(editor->dispatchedSystemCharacters.size(), 2u);
    EXPECT_EQ(editor->calls.size(), 2u);
}

TEST_F(RecordingEditorTest, ScrollingHidesTheCaretAndShowsItAgainUnlessReadOnly) {
    TRecordingEditor* editor = PlaceFocused();
    ShowText(editor, std::vector<std::string>(100, "line"));
    const HWND window = editor->GetHandle();
    ASSERT_TRUE(CaretShows(window));
    SendMessageA(window, WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(editor->GetVPos(), 1);
    EXPECT_TRUE(CaretShows(window));

    editor->SetReadOnly(true);
    SendMessageA(window, WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(editor->GetVPos(), 2);
    EXPECT_FALSE(CaretShows(window));
    editor->SetReadOnly(false);
    EXPECT_TRUE(CaretShows(window));
}

TEST_F(RecordingEditorTest, ShiftWheelMovesTheCaretLineWithinTheText) {
    TRecordingEditor* editor = PlaceFocused();
    ShowText(editor, {"first", "second"});
    const struct {
        int from;
        int steps;
        int line;
    } kCases[] = {{1, 3, 1}, {1, -5, 0}, {0, 1, 1}, {1, 0, 1}};
    for (const auto& row : kCases) {
        editor->SetCurLine(row.from);
        editor->ShiftWheel(row.steps);
        EXPECT_EQ(editor->GetCurLine(), row.line) << row.from << " by " << row.steps;
    }

    ShowText(editor, std::vector<std::string>(40, "line"));
    editor->SetCurLine(5);
    editor->SetCurCol(2);
    driver.KeyDown(VK_LSHIFT);
    driver.Wheel(editor->GetHandle(), 20, 20, -1);  // towards the user: 3 steps down
    EXPECT_EQ(editor->GetCurLine(), 8);
    ExpectCaretOnItsCell(editor);
    for (int notch = 0; notch < 10; ++notch) driver.Wheel(editor->GetHandle(), 20, 20, -1);
    EXPECT_EQ(editor->GetCurLine(), 38);
    EXPECT_GT(editor->GetVPos(), 0) << "the view follows the caret";
    ExpectCaretOnItsCell(editor);
    driver.Wheel(editor->GetHandle(), 20, 20, 20);
    EXPECT_EQ(editor->GetCurLine(), 0);
    EXPECT_EQ(editor->GetVPos(), 0);
    ExpectCaretOnItsCell(editor);
    driver.KeyUp(VK_LSHIFT);

    editor->lines.Clear();
    editor->ShiftWheel(2);  // no text: line 0
    EXPECT_EQ(editor->GetCurLine(), 0);
}

TEST_F(RecordingEditorTest, FocusingTheEditorHidesAVisibleCommandBox) {
    TRecordingEditor* editor = PlaceFocused();
    editor->DoCommand();
    driver.PumpUntilIdle();
    ASSERT_TRUE(editor->commandCombo->GetVisible());
    ASSERT_TRUE(editor->commandCombo->Focused());
    editor->SetFocus();
    driver.PumpUntilIdle();
    EXPECT_FALSE(editor->commandCombo->GetVisible());
    EXPECT_TRUE(CaretShows(editor->GetHandle()));
}

TEST_F(RecordingEditorTest, PostedMacroMessagesReachTheKeyHandlersAfterEarlierInput) {
    TRecordingEditor* editor = PlaceFocused();
    const HWND window = editor->GetHandle();
    driver.SetAutoPump(false);
    driver.KeyDown(VK_F5);
    PostMessageA(window, WM_USER, VK_F6, 1 | 2 | 4);
    PostMessageA(window, WM_USER, VK_F7, 2);
    PostMessageA(window, WM_USER + 1, 0xE1, 0);
    PostMessageA(window, WM_USER + 1, WPARAM(LONG_PTR(char(0xE9))), 0);  // widened with its sign
    editor->macroPlaying = true;
    PostMessageA(window, WM_USER + 2, 0, 0);
    driver.PumpUntilIdle();
    driver.KeyUp(VK_F5);
    driver.PumpUntilIdle();

    ASSERT_EQ(editor->keys.size(), 3u);
    EXPECT_EQ(editor->keys[0].key, VK_F5);
    EXPECT_EQ(editor->keys[1], (TKey{VK_F6, true, true, true}));
    EXPECT_EQ(editor->keys[2], (TKey{VK_F7, false, true, false}));
    EXPECT_EQ(editor->characters, (std::vector<char>{'\xE1', '\xE9'}));
    EXPECT_FALSE(editor->macroPlaying);
}

// Each message of the map reaches its handler, seen by what the handler
// alone does; any other message goes on to the scroll control.
TEST_F(RecordingEditorTest, TheMessageMapSendsEachMessageToItsHandler) {
    TRecordingEditor* editor = PlaceFocused();
    ShowText(editor, std::vector<std::string>(100, "line"));
    const HWND window = editor->GetHandle();
    const struct {
        const char* what;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        std::function<void()> before;
        std::function<void(LRESULT)> check;
    } kCases[] = {
        {"WM_CREATE", WM_CREATE, 0, 0, [&] { editor->FontSize = 20; },
         [&](LRESULT) {
             EXPECT_GT(editor->GetLineHeight(), 20);
             EXPECT_EQ(editor->GetVScrollStep(), editor->GetLineHeight());
         }},
        {"WM_GETDLGCODE", WM_GETDLGCODE, VK_RETURN, 0, [] {},
         [](LRESULT result) { EXPECT_EQ(result, LRESULT(DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTALLKEYS)); }},
        {"WM_KILLFOCUS", WM_KILLFOCUS, 0, 0, [] {}, [&](LRESULT) { EXPECT_FALSE(CaretShows(window)); }},
        {"WM_SETFOCUS", WM_SETFOCUS, 0, 0, [&] { editor->commandCombo->SetVisible(true); },
         [&](LRESULT) {
             EXPECT_FALSE(editor->commandCombo->GetVisible());
             EXPECT_TRUE(CaretShows(window));
         }},
        {"WM_USER", WM_USER, VK_F6, 1, [] {},
         [&](LRESULT) { EXPECT_EQ(editor->keys.back(), (TKey{VK_F6, true, false, false})); }},
        {"WM_USER+1", WM_USER + 1, 'q', 0, [] {}, [&](LRESULT) { EXPECT_EQ(editor->characters.back(), 'q'); }},
        {"WM_USER+2", WM_USER + 2, 0, 0, [&] { editor->macroPlaying = true; },
         [&](LRESULT) { EXPECT_FALSE(editor->macroPlaying); }},
        {"WM_VSCROLL", WM_VSCROLL, SB_LINEDOWN, 0, [] {}, [&](LRESULT) { EXPECT_EQ(editor->GetVPos(), 1); }},
    };
    for (const auto& row : kCases) {
        SCOPED_TRACE(row.what);
        row.before();
        row.check(SendMessageA(window, row.message, row.wParam, row.lParam));
    }
}
