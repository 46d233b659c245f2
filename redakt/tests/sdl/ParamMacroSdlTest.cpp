// A parameterized macro played in a real window: the parameter dialog with
// three edits, centred over an editor, is filled by typed text, Tab and
// Enter fed as SDL events, and the macro types the texts at its places.
// Pictures are saved for looking at (SaveTestPicture's folder, and
// SUITE_SCREENSHOT's file when set). Needs a display (CI runs it under
// xvfb-run); skips itself when DISPLAY is unset.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "Edit.h"
#include "RedaktSdlFixture.h"
#include "Responder.h"
#include "TextEditor.h"
#include "TextEditorMacroDlgs.h"
#include "display/TestPicture.h"

namespace {

void Add(TTextEditorMacro& macro, uint8_t kind, char ch, int place) {
    TTextEditorMacroItem item;
    item.kind = kind;
    item.ch = ch;
    item.param = place;
    macro += item;
}

}  // namespace

TEST_F(RedaktSdlTest, TheParameterDialogAsksForThreeTextsOverTheEditor) {
    auto* editor = new TTextEditor(form);
    editor->SetBounds(10, 10, 740, 510);
    editor->SetParent(form);
    editor->SetFontSize(10);
    TStringContainer text;
    for (const char* line : {"// greetings, typed by a parameterized macro", "", "int main() {", "}"}) text.Add(line);
    editor->NewStrings(text);
    // "Dear <0> and <1>, from <2>."
    TTextEditorMacro* macro = editor->paramMacros.NewItem();
    macro->name = "letter";
    for (char c : std::string("Dear ")) Add(*macro, mkCharacter, c, 0);
    Add(*macro, mkParameter, 0, 0);
    for (char c : std::string(" and ")) Add(*macro, mkCharacter, c, 0);
    Add(*macro, mkParameter, 0, 1);
    for (char c : std::string(", from ")) Add(*macro, mkCharacter, c, 0);
    Add(*macro, mkParameter, 0, 2);
    Add(*macro, mkCharacter, '.', 0);
    form->Show();
    Settle();
    editor->SetFocus();
    Settle();
    editor->SetCurLine(1);

    std::string picture;
    RECT shown{}, under{};
    int edits = 0;
    win32::ScopedResponder responder([&](const win32::ModalInteraction& interaction) {
        auto* dialog = dynamic_cast<TTextEditorParamMacroDlg*>(TWinControl::FindControl(interaction.window));
        if (dialog == nullptr) return win32::ModalReply::Answer(IDCANCEL);
        edits = static_cast<int>(dialog->edits.size());
        Settle();
        GetWindowRect(interaction.window, &shown);
        GetWindowRect(editor->GetHandle(), &under);
        picture = win32::SaveTestPicture(interaction.window, "param-macro");
        std::printf("picture: %s\n", picture.c_str());
        if (const char* path = std::getenv("SUITE_SCREENSHOT"); path != nullptr && *path != '\0') {
            EXPECT_TRUE(win32::SaveWindowPicture(interaction.window, path));
        }
        // The first edit has the focus; Tab goes to the next, Enter answers OK.
        PushText(interaction.window, "Anna");
        PushKey(interaction.window, SDLK_TAB, SDL_SCANCODE_TAB);
        PushText(interaction.window, "B\xC3\xA9la");
        PushKey(interaction.window, SDLK_TAB, SDL_SCANCODE_TAB);
        PushText(interaction.window, "Cy");
        PushKey(interaction.window, SDLK_RETURN, SDL_SCANCODE_RETURN);
        CloseUnlessEnded(interaction.window);
        return win32::ModalReply::Run();
    });
    editor->PlayParamMacro(TString("letter"));
    Settle();
    EXPECT_FALSE(picture.empty());
    EXPECT_EQ(edits, 3);
    // Centred over the editor.
    EXPECT_LE(std::abs((shown.left + shown.right) - (under.left + under.right)), 2);
    EXPECT_LE(std::abs((shown.top + shown.bottom) - (under.top + under.bottom)), 2);
    EXPECT_EQ(editor->lines[1].str(), "Dear Anna and B\xE9la, from Cy.");
    EXPECT_FALSE(editor->macroPlaying);
    ExpectPresentedEqualsFullRepaint(editor, "after the playback");
    std::printf("picture: %s\n", win32::SaveTestPicture(form->GetHandle(), "param-macro-played").c_str());
}
