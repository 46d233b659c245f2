// The editor's Alt chords pressed on the X server's own keyboard (xdotool)
// in a real window: Alt+C shows the command box with its text as it was,
// Alt+X and Alt+Shift+C type nothing, and every chord reaches KeyDown.
// Needs a display (CI runs it under xvfb-run); skips itself when DISPLAY is
// unset.
#include <algorithm>
#include <string>

#include "../RecordingEditor.h"
#include "RedaktSdlFixture.h"

namespace {

class AltChordSdlTest : public RedaktSdlTest {
protected:
    void PressRealKeys(const std::string& keys) {
        ASSERT_TRUE(win32::SendRealKeys(form->GetHandle(), keys)) << "xdotool key " << keys;
        Settle();
    }
};

}  // namespace

TEST_F(AltChordSdlTest, AltChordsReachKeyDownAndTypeNothing) {
    auto* editor = new TRecordingEditor(form);
    editor->SetBounds(10, 10, 600, 400);
    editor->SetParent(form);
    TStringContainer text;
    text.Add(TString("alpha"));
    text.Add(TString("beta"));
    editor->NewStrings(text);
    form->Show();
    Settle();
    editor->SetFocus();
    editor->RecordEveryCommand();
    editor->commandCombo->SetText("sort 3");
    TString line("sort 3");
    editor->ExecCommand(line);
    Settle();

    PressRealKeys("alt+c");
    EXPECT_TRUE(editor->commandCombo->GetVisible());
    EXPECT_TRUE(editor->commandCombo->Focused());
    EXPECT_EQ(editor->commandCombo->GetText(), "sort 3");
    PressRealKeys("Escape");
    ASSERT_TRUE(editor->Focused());
    PressRealKeys("alt+x alt+shift+c");
    EXPECT_EQ(editor->commandRuns.size(), 2u);
    EXPECT_EQ(editor->commandCombo->GetText(), "sort 3");
    EXPECT_EQ(editor->lines[0].str(), "alpha");
    EXPECT_EQ(editor->lines[1].str(), "beta");
    EXPECT_TRUE(editor->characters.empty());
    const auto pressed = [&](WORD key, bool shift) {
        return std::count(editor->keys.begin(), editor->keys.end(), TRecordingEditor::TKey{key, shift, false, true});
    };
    EXPECT_EQ(pressed('C', false), 1);
    EXPECT_EQ(pressed('X', false), 1);
    EXPECT_EQ(pressed('C', true), 1);
}
