// Keyboard macros through the test driver: recorded with Ctrl+M and a digit
// until Esc, played with Alt and the digit through messages posted to the
// editor's own window, with their OnMacro events; parameter places of a
// named macro; no playback into the slot being recorded, nor during another
// playback.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "KeyboardFixture.h"

namespace {

class MacroRecordingTest : public KeyboardTest {
protected:
    TKeyEditor* MacroEditor(const std::vector<std::string>& text) {
        TKeyEditor* editor = Editor(text);
        editor->OnMacro = [this](TTextEditor*, TTextEditorMacroEventType event, int info) {
            events.push_back({event, info});
        };
        return editor;
    }
    std::vector<std::pair<int, int>> events;
};

}  // namespace

// Ctrl+A selects all and drops its character; the x after it collapses the
// selection and is typed. Played back, a replayed key-down drops nothing, so
// the x comes out too (mended).
TEST_F(MacroRecordingTest, AMacroRecordedWithCtrlMPlaysBackWithAltDigitToTheSameText) {
    TKeyEditor* editor = MacroEditor({"start"});
    editor->PlaceCaret(5, 0);
    Ctrl('M');
    Press({}, '3');
    EXPECT_TRUE(editor->macroRecording);
    driver.Type("ab");
    Ctrl('A');
    driver.Type("x");
    Press({}, VK_RETURN);
    driver.Type("cd");
    Press({}, VK_ESCAPE);
    EXPECT_FALSE(editor->macroRecording);
    const std::vector<std::string> recorded = TextOf(editor->lines);
    EXPECT_EQ(recorded, (std::vector<std::string>{"startabx", "cd"}));
    EXPECT_EQ(events, (std::vector<std::pair<int, int>>{{meChordPending, 0}, {meRecordingStarted, 3}, {meRecordingEnded, 3}}));
    const TTextEditorMacro& macro = editor->macros[3];
    ASSERT_GT(macro.GetCount(), 0);
    EXPECT_EQ(macro[0].kind, mkKeyDown);
    EXPECT_EQ(macro[0].key, 'A');
    EXPECT_EQ(macro[1].kind, mkCharacter);
    EXPECT_EQ(macro[1].ch, 'a');
    EXPECT_EQ(macro[macro.GetCount() - 1].ch, 'd') << "Esc is not recorded";

    ShowText(editor, {"start"});
    editor->PlaceCaret(5, 0);
    Alt('3');
    EXPECT_FALSE(editor->macroPlaying);
    EXPECT_EQ(TextOf(editor->lines), recorded);
}

TEST_F(MacroRecordingTest, EscWhileRecordingStopsTheRecordingAndClearsThePendingChords) {
    TKeyEditor* editor = MacroEditor({""});
    Ctrl('M');
    Press({}, '1');
    Ctrl('L');
    Ctrl('K');
    EXPECT_TRUE(editor->chordK && editor->chordL);
    const int items = editor->macros[1].GetCount();
    Press({}, VK_ESCAPE);
    EXPECT_FALSE(editor->macroRecording);
    EXPECT_FALSE(editor->chordK || editor->chordQ || editor->chordM || editor->chordD || editor->chordL || editor->chordJ);
    EXPECT_EQ(editor->macros[1].GetCount(), items);
    EXPECT_EQ(editor->lines[0].str(), "") << "Esc's character is dropped";
    EXPECT_EQ(events.back(), (std::pair<int, int>{meRecordingEnded, 1}));
}

// Set through the state until RecordParamMacro is built.
TEST_F(MacroRecordingTest, WhileANamedMacroRecordsCtrlDigitMarksAParameterPlace) {
    TKeyEditor* editor = MacroEditor({""});
    std::vector<std::pair<int, int>> namedEvents;
    editor->OnParamMacro = [&](TTextEditor*, TTextEditorMacroEventType event, int info) {
        namedEvents.push_back({event, info});
    };
    editor->paramMacros.NewItem()->name = "greeting";
    editor->paramMacroRecording = true;
    editor->macroSlot = 0;
    driver.Type("a");
    Ctrl('2');
    Press({}, VK_ESCAPE);
    const TTextEditorMacro& macro = editor->paramMacros[0];
    ASSERT_EQ(macro.GetCount(), 4);  // A, a, Ctrl, Ctrl+2
    EXPECT_EQ(macro[1].kind, mkCharacter);
    EXPECT_EQ(macro[3].kind, mkParameter);
    EXPECT_EQ(macro[3].param, 2);
    EXPECT_FALSE(editor->paramMacroRecording);
    EXPECT_EQ(namedEvents, (std::vector<std::pair<int, int>>{{meRecordingEnded, 0}}));
    EXPECT_TRUE(events.empty());

    // Played with texts, the place types its text.
    TStringContainer params;
    for (const char* text : {"zero", "one", "two"}) params.Add(text);
    ShowText(editor, {""});
    editor->PlaceCaret(0, 0);
    editor->PlayMacro(editor->paramMacros[0], params);
    driver.PumpUntilIdle();
    EXPECT_EQ(editor->lines[0].str(), "atwo");
}

TEST_F(MacroRecordingTest, NothingPlaysIntoTheSlotBeingRecordedNorDuringAnotherPlayback) {
    TKeyEditor* editor = MacroEditor({""});
    Ctrl('M');
    Press({}, '3');
    driver.Type("a");
    Alt('3');
    EXPECT_EQ(editor->lines[0].str(), "a");
    Press({}, VK_ESCAPE);

    // The second request comes while the first playback's messages are queued.
    driver.SetAutoPump(false);
    Alt('3');
    Alt('3');
    driver.PumpUntilIdle();
    driver.SetAutoPump(true);
    EXPECT_EQ(editor->lines[0].str(), "aa");
    EXPECT_FALSE(editor->macroPlaying);
    Alt('3');
    EXPECT_EQ(editor->lines[0].str(), "aaa") << "a finished playback lets the next one play";
}
