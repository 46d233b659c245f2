// Keyboard macros through the test driver: recorded with Ctrl+M and a digit
// until Esc, played with Alt and the digit through messages posted to the
// editor's own window, with their OnMacro events; named macros recorded with
// Ctrl+Shift+M and their parameter places, played with Alt+P through the
// selection and parameter dialogs (answered by the responder), deleted; no
// playback into the macro being recorded, nor during another playback.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ComboBox.h"
#include "Edit.h"
#include "GroupControls.h"
#include "KeyboardFixture.h"
#include "TextEditorMacroDlgs.h"

namespace {

// The characters a macro types, in order.
std::string Characters(const TTextEditorMacro& macro) {
    std::string characters;
    for (int i = 0; i < macro.GetCount(); ++i)
        if (macro[i].kind == mkCharacter) characters += macro[i].ch;
    return characters;
}

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

// The named macros' dialogs answered as a user would: the name dialog with
// `name`, the selection dialog by choosing `choice` (empty: OK as it stands),
// the parameter dialog with `texts`; `cancel` cancels every one. Each
// dialog's caption is kept, and the parameter dialog's layout.
class NamedMacroTest : public MacroRecordingTest {
protected:
    struct TEditPlace {
        int left, top, width, height, tabOrder;
        bool operator==(const TEditPlace& other) const {
            return left == other.left && top == other.top && width == other.width && height == other.height &&
                   tabOrder == other.tabOrder;
        }
    };

    std::unique_ptr<win32::ScopedResponder> Answering() {
        return std::make_unique<win32::ScopedResponder>([this](const win32::ModalInteraction& interaction) {
            captions.push_back(interaction.caption);
            if (interaction.kind != win32::ModalKind::Form || cancel) return win32::ModalReply::Answer(mrCancel);
            TWinControl* window = TWinControl::FindControl(interaction.window);
            if (auto* naming = dynamic_cast<TTextEditorMacroNameDlg*>(window)) naming->edName->SetText(name);
            if (auto* selecting = dynamic_cast<TTextEditorSelectParamMacroDlg*>(window)) Choose(selecting);
            if (auto* asking = dynamic_cast<TTextEditorParamMacroDlg*>(window)) Fill(asking);
            return win32::ModalReply::Answer(mrOk);
        });
    }
    void Choose(TTextEditorSelectParamMacroDlg* dialog) {
        TStrings* items = dialog->cmbMacros->GetItems();
        offered.clear();
        for (int i = 0; i < items->GetCount(); ++i) offered.push_back(items->GetStrings(i));
        offeredIndex = dialog->cmbMacros->GetItemIndex();
        EXPECT_EQ(dialog->GetActiveControl(), items->GetCount() > 0 ? dialog->cmbMacros : dialog->GetActiveControl());
        for (int i = 0; i < items->GetCount() && !choice.empty(); ++i)
            if (items->GetStrings(i) == choice) dialog->cmbMacros->SetItemIndex(i);
    }
    void Fill(TTextEditorParamMacroDlg* dialog) {
        places.clear();
        for (size_t i = 0; i < dialog->edits.size(); ++i) {
            TEdit* edit = dialog->edits[i];
            places.push_back({edit->GetLeft(), edit->GetTop(), edit->GetWidth(), edit->GetHeight(), edit->GetTabOrder()});
            if (i < texts.size()) edit->SetText(texts[i]);
        }
        clientHeight = dialog->GetClientHeight();
        bevelHeight = dialog->bevelButtons->GetHeight();
        firstFocused = !dialog->edits.empty() && dialog->GetActiveControl() == dialog->edits[0];
    }

    // Records a named macro with Ctrl+Shift+M: what record() types goes in, Esc ends it.
    void RecordNamed(const std::string& macroName, const std::function<void()>& record) {
        name = macroName;
        {
            auto responder = Answering();
            Press({VK_LCONTROL, VK_LSHIFT}, 'M');
        }
        record();
        Press({}, VK_ESCAPE);
    }
    void PlayNamed(const std::string& macroName, const std::vector<std::string>& parameterTexts = {}) {
        choice = macroName;
        texts = parameterTexts;
        auto responder = Answering();
        Alt('P');
    }

    std::string name, choice;
    std::vector<std::string> texts;
    bool cancel = false;
    std::vector<std::string> captions, offered;
    int offeredIndex = -2;
    std::vector<TEditPlace> places;
    int clientHeight = 0, bevelHeight = 0;
    bool firstFocused = false;
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

TEST_F(MacroRecordingTest, TypingCursorKeysAndEnterPlayBackToTheSameText) {
    TKeyEditor* editor = MacroEditor({"first line", "second"});
    editor->PlaceCaret(5, 1);
    Ctrl('M');
    Press({}, '3');
    driver.Type("ab");
    Press({}, VK_LEFT);
    driver.Type("X");
    Press({}, VK_HOME);
    driver.Type("\xE1");
    Press({}, VK_RETURN);
    Press({}, VK_UP);
    Press({}, VK_END);
    driver.Type("!");
    Press({}, VK_ESCAPE);
    const std::vector<std::string> typed = TextOf(editor->lines);
    EXPECT_EQ(typed, (std::vector<std::string>{"first line", "\xE1!", "seconaXbd"}));
    const POINT caret{editor->GetCurCol(), editor->GetCurLine()};

    ShowText(editor, {"first line", "second"});
    editor->PlaceCaret(5, 1);
    Alt('3');
    EXPECT_EQ(TextOf(editor->lines), typed);
    EXPECT_EQ(editor->GetCurCol(), caret.x);
    EXPECT_EQ(editor->GetCurLine(), caret.y);
}

TEST_F(MacroRecordingTest, RecordingIntoAFilledSlotStartsEmptyAndAnEmptySlotPlaysNothing) {
    TKeyEditor* editor = MacroEditor({""});
    TTextEditorMacroItem old;
    old.kind = mkCharacter;
    old.ch = 'z';
    editor->macros[3] += old;
    Ctrl('M');
    Press({}, '3');
    driver.Type("q");
    Press({}, VK_ESCAPE);
    ASSERT_EQ(editor->macros[3].GetCount(), 2);  // Q, q
    EXPECT_EQ(editor->macros[3][1].ch, 'q');

    ShowText(editor, {"still"});
    editor->PlaceCaret(5, 0);
    typed.clear();
    Alt('5');
    EXPECT_FALSE(editor->macroPlaying);
    EXPECT_EQ(typed, "") << "nothing was played";
    EXPECT_EQ(TextOf(editor->lines), std::vector<std::string>{"still"});
}

// Ctrl+digit marks a parameter place; Alt+P offers the macro and asks for
// one text per place up to the highest.
TEST_F(NamedMacroTest, PlacesZeroAndTwoAskForThreeTextsAndTypeThoseOfPlacesZeroAndTwo) {
    TKeyEditor* editor = MacroEditor({""});
    std::vector<std::pair<int, int>> namedEvents;
    editor->OnParamMacro = [&](TTextEditor*, TTextEditorMacroEventType event, int info) {
        namedEvents.push_back({event, info});
    };
    editor->paramMacros.NewItem()->name = "other";
    RecordNamed("greet", [&] {
        EXPECT_TRUE(editor->paramMacroRecording);
        driver.Type("Hi ");
        Ctrl('0');
        driver.Type(", ");
        Ctrl('2');
        driver.Type("!");
    });
    EXPECT_EQ(captions, std::vector<std::string>{"Param macro name"});
    EXPECT_FALSE(editor->paramMacroRecording);
    EXPECT_EQ(namedEvents, (std::vector<std::pair<int, int>>{{meRecordingStarted, 1}, {meRecordingEnded, 1}}));
    EXPECT_TRUE(events.empty());
    ASSERT_EQ(editor->paramMacros.GetCount(), 2);
    const TTextEditorMacro& macro = editor->paramMacros[1];
    EXPECT_EQ(macro.name.str(), "greet");
    std::vector<int> marked;
    for (int i = 0; i < macro.GetCount(); ++i)
        if (macro[i].kind == mkParameter) marked.push_back(macro[i].param);
    EXPECT_EQ(marked, (std::vector<int>{0, 2}));

    ShowText(editor, {""});
    editor->PlaceCaret(0, 0);
    captions.clear();
    PlayNamed("greet", {"Ann", "Bob", "Cy"});
    EXPECT_EQ(captions, (std::vector<std::string>{"Play paramterized macro", "Macro parameters"}));
    EXPECT_EQ(offered, (std::vector<std::string>{"other", "greet"}));
    EXPECT_EQ(places.size(), 3u);
    EXPECT_EQ(TextOf(editor->lines), std::vector<std::string>{"Hi Ann, Cy!"});
    EXPECT_FALSE(editor->macroPlaying);

    // A cancelled parameter dialog plays nothing.
    ShowText(editor, {""});
    captions.clear();
    choice = "greet";
    auto responder = std::make_unique<win32::ScopedResponder>([this](const win32::ModalInteraction& interaction) {
        captions.push_back(interaction.caption);
        if (auto* selecting = dynamic_cast<TTextEditorSelectParamMacroDlg*>(TWinControl::FindControl(interaction.window))) {
            Choose(selecting);
            return win32::ModalReply::Answer(mrOk);
        }
        return win32::ModalReply::Answer(mrCancel);
    });
    Alt('P');
    EXPECT_EQ(captions.size(), 2u);
    EXPECT_EQ(TextOf(editor->lines), std::vector<std::string>{""});
}

TEST_F(NamedMacroTest, AMacroWithoutPlacesPlaysAtOnceWithoutADialog) {
    TKeyEditor* editor = MacroEditor({""});
    RecordNamed("plain", [&] { driver.Type("xy"); });
    ShowText(editor, {"a"});
    editor->PlaceCaret(1, 0);
    captions.clear();
    PlayNamed("plain");
    EXPECT_EQ(captions, std::vector<std::string>{"Play paramterized macro"});
    EXPECT_EQ(TextOf(editor->lines), std::vector<std::string>{"axy"});
}

TEST_F(NamedMacroTest, RecordingUnderAnExistingNameEmptiesItAndKeepsItsPlace) {
    TKeyEditor* editor = MacroEditor({""});
    RecordNamed("one", [&] { driver.Type("1"); });
    RecordNamed("two", [&] { driver.Type("2"); });
    RecordNamed("three", [&] { driver.Type("3"); });
    RecordNamed("two", [&] { driver.Type("x"); });
    ASSERT_EQ(editor->paramMacros.GetCount(), 3);
    EXPECT_EQ(editor->paramMacros[1].name.str(), "two");
    ASSERT_EQ(editor->paramMacros[1].GetCount(), 2);  // X, x
    EXPECT_EQ(editor->paramMacros[1][1].ch, 'x');
    EXPECT_EQ(editor->paramMacros[2].name.str(), "three");

    // A cancelled or empty name records nothing.
    cancel = true;
    RecordNamed("four", [&] { EXPECT_FALSE(editor->paramMacroRecording); });
    cancel = false;
    RecordNamed("", [&] { EXPECT_FALSE(editor->paramMacroRecording); });
    EXPECT_EQ(editor->paramMacros.GetCount(), 3);
}

TEST_F(NamedMacroTest, TheSelectionKeepsItsChoiceWhileInRangeAndOkWithoutMacrosDoesNothing) {
    TKeyEditor* editor = MacroEditor({""});
    TTextEditorSelectParamMacroDlg* dialog = SharedSelectParamMacroDlg();
    dialog->cmbMacros->GetItems()->Clear();
    PlayNamed("");
    EXPECT_EQ(captions, std::vector<std::string>{"Play paramterized macro"});
    EXPECT_TRUE(offered.empty());
    EXPECT_FALSE(editor->macroPlaying);
    captions.clear();
    editor->DeleteParamMacro();
    EXPECT_TRUE(captions.empty()) << "no responder: the shared cancel-all answers";

    for (const char* macroName : {"a", "b", "c"}) editor->paramMacros.NewItem()->name = macroName;
    PlayNamed("c");
    EXPECT_EQ(offeredIndex, 0) << "a choice below the list becomes the first";
    PlayNamed("");
    EXPECT_EQ(offeredIndex, 2) << "the previous choice is kept";
    editor->paramMacros.Delete(2, true);
    PlayNamed("");
    EXPECT_EQ(offered, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(offeredIndex, 1) << "a choice beyond the list becomes the last";
    dialog->cmbMacros->GetItems()->Clear();
}

TEST_F(NamedMacroTest, DeleteParamMacroRemovesTheChosenOne) {
    TKeyEditor* editor = MacroEditor({""});
    for (const char* macroName : {"a", "b", "c"}) editor->paramMacros.NewItem()->name = macroName;
    choice = "b";
    {
        auto responder = Answering();
        editor->DeleteParamMacro();
    }
    EXPECT_EQ(captions, std::vector<std::string>{"Delete parameterized macro"});
    ASSERT_EQ(editor->paramMacros.GetCount(), 2);
    EXPECT_EQ(editor->paramMacros[0].name.str(), "a");
    EXPECT_EQ(editor->paramMacros[1].name.str(), "c");
    cancel = true;
    {
        auto responder = Answering();
        editor->DeleteParamMacro();
    }
    EXPECT_EQ(editor->paramMacros.GetCount(), 2);
    SharedSelectParamMacroDlg()->cmbMacros->GetItems()->Clear();
}

// Edit i at (4, i x 25 + 4), 160 x 21, tab order i; the client and the bevel
// at least 108 high; never more than ten edits.
TEST_F(NamedMacroTest, TheParameterDialogLaysOutOneEditPerPlace) {
    TKeyEditor* editor = MacroEditor({""});
    for (const int highest : {2, 4, 11}) {
        TTextEditorMacro* macro = editor->paramMacros.NewItem();
        macro->name = TString("up to " + std::to_string(highest));
        TTextEditorMacroItem place;
        place.kind = mkParameter;
        place.param = highest;
        *macro += place;
        PlayNamed(macro->name.str(), {"p0", "p1", "p2", "p3", "p4", "p5", "p6", "p7", "p8", "p9"});
        const int count = std::min(highest + 1, 10);
        ASSERT_EQ(static_cast<int>(places.size()), count) << highest;
        for (int i = 0; i < count; ++i)
            EXPECT_EQ(places[static_cast<size_t>(i)], (TEditPlace{4, i * 25 + 4, 160, 21, i})) << i;
        EXPECT_EQ(clientHeight, std::max(108, count * 25 + 4));
        EXPECT_EQ(bevelHeight, clientHeight);
        EXPECT_TRUE(firstFocused);
    }
    EXPECT_EQ(TextOf(editor->lines), std::vector<std::string>{"p2p4"}) << "place 11 has no text";
}

// Alt+P recorded into the macro it chooses: refused while recording, and
// while the playback's messages are queued, so the macro plays once.
TEST_F(NamedMacroTest, ANamedMacroThatPlaysItselfPlaysOnce) {
    TKeyEditor* editor = MacroEditor({""});
    RecordNamed("loop", [&] {
        driver.Type("x");
        choice = "loop";
        auto responder = Answering();
        Alt('P');
    });
    EXPECT_EQ(TextOf(editor->lines), std::vector<std::string>{"x"});
    ShowText(editor, {""});
    editor->PlaceCaret(0, 0);
    captions.clear();
    PlayNamed("loop");
    EXPECT_EQ(captions, std::vector<std::string>{"Play paramterized macro"}) << "the played Alt+P asks nothing";
    EXPECT_EQ(TextOf(editor->lines), std::vector<std::string>{"x"});
    EXPECT_FALSE(editor->macroPlaying);
}

// Starting one kind of recording ends the other: the keys never go into the
// keyboard slot that the named macro's index names, nor the reverse.
TEST_F(NamedMacroTest, StartingARecordingEndsTheOtherKind) {
    TKeyEditor* editor = MacroEditor({""});
    Ctrl('M');
    Press({}, '1');
    driver.Type("k");
    RecordNamed("named", [&] {
        EXPECT_FALSE(editor->macroRecording);
        driver.Type("n");
    });
    EXPECT_EQ(events.back(), (std::pair<int, int>{meRecordingEnded, 1}));
    EXPECT_EQ(editor->macros[0].GetCount(), 0) << "slot 0 is the named macro's index, not a target";
    EXPECT_EQ(Characters(editor->macros[1]), "k");
    ASSERT_EQ(editor->paramMacros.GetCount(), 1);
    EXPECT_EQ(Characters(editor->paramMacros[0]), "n");

    name = "named";
    {
        auto responder = Answering();
        Press({VK_LCONTROL, VK_LSHIFT}, 'M');
    }
    Ctrl('M');
    Press({}, '2');
    EXPECT_FALSE(editor->paramMacroRecording);
    driver.Type("t");
    Press({}, VK_ESCAPE);
    EXPECT_EQ(Characters(editor->paramMacros[0]), "") << "emptied, then no typing went in";
    EXPECT_EQ(Characters(editor->macros[2]), "t");
}

// Deleting the macro being recorded ends the recording; deleting one before
// it keeps the recording on its macro.
TEST_F(NamedMacroTest, DeletingANamedMacroKeepsTheRecordingOnItsOwnMacro) {
    TKeyEditor* editor = MacroEditor({""});
    for (const char* macroName : {"a", "b"}) editor->paramMacros.NewItem()->name = macroName;
    name = "c";
    {
        auto responder = Answering();
        Press({VK_LCONTROL, VK_LSHIFT}, 'M');
    }
    choice = "a";
    {
        auto responder = Answering();
        editor->DeleteParamMacro();
    }
    driver.Type("y");
    ASSERT_EQ(editor->paramMacros.GetCount(), 2);
    EXPECT_EQ(editor->paramMacros[0].GetCount(), 0);
    EXPECT_EQ(editor->paramMacros[1][editor->paramMacros[1].GetCount() - 1].ch, 'y');
    choice = "c";
    {
        auto responder = Answering();
        editor->DeleteParamMacro();
    }
    EXPECT_FALSE(editor->paramMacroRecording);
    driver.Type("z");
    ASSERT_EQ(editor->paramMacros.GetCount(), 1);
    EXPECT_EQ(editor->paramMacros[0].GetCount(), 0);
    SharedSelectParamMacroDlg()->cmbMacros->GetItems()->Clear();
}

// Macros loaded while one records replace its target: the recording ends.
TEST_F(NamedMacroTest, LoadingMacrosEndsARecording) {
    TKeyEditor* editor = MacroEditor({""});
    TTextEditor other(nullptr);
    other.paramMacros.NewItem()->name = "loaded";
    FILE* file = std::tmpfile();
    ASSERT_TRUE(other.SaveMacros(file));
    std::rewind(file);
    RecordNamed("mine", [&] {
        EXPECT_TRUE(editor->LoadMacros(file));
        EXPECT_FALSE(editor->paramMacroRecording);
        driver.Type("w");
    });
    std::fclose(file);
    ASSERT_EQ(editor->paramMacros.GetCount(), 1);
    EXPECT_EQ(editor->paramMacros[0].name.str(), "loaded");
    EXPECT_EQ(editor->paramMacros[0].GetCount(), 0);
}
