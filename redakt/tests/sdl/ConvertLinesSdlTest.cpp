// The convert-lines dialog in a real window, centred over an editor: the
// expression is typed and confirmed with Enter, fed as SDL events, and the
// lines are converted on worker threads. Pictures are saved for looking at
// (SaveTestPicture's folder, and SUITE_SCREENSHOT's file when set). Needs a
// display (CI runs it under xvfb-run); skips itself when DISPLAY is unset.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "ComboBox.h"
#include "RedaktSdlFixture.h"
#include "Responder.h"
#include "TextEditor.h"
#include "TextEditorConvertLinesDlg.h"
#include "display/TestPicture.h"

TEST_F(RedaktSdlTest, TheConvertLinesDialogTakesTheExpressionFromTheKeys) {
    auto* editor = new TTextEditor(form);
    editor->SetBounds(10, 10, 740, 510);
    editor->SetParent(form);
    editor->SetFontSize(10);
    TStringContainer text;
    for (int i = 1; i <= 60; ++i) text.Add(TString("record " + std::to_string(i) + "|" + std::to_string(i * 7)));
    editor->NewStrings(text);
    TString command("mt 4 16");
    editor->CmdMT(command);
    form->Show();
    Settle();
    editor->SetFocus();
    Settle();
    TTextEditorConvertLinesDlg* dialog = SharedConvertLinesDlg();
    ASSERT_NE(dialog, nullptr);
    dialog->cmbExpr->GetItems()->Clear();
    dialog->cmbExpr->SetText("");

    std::string picture;
    RECT shown{}, under{};
    win32::ScopedResponder responder([&](const win32::ModalInteraction& interaction) {
        if (interaction.kind != win32::ModalKind::Form) return win32::ModalReply::Answer(IDOK);
        Settle();
        GetWindowRect(interaction.window, &shown);
        GetWindowRect(editor->GetHandle(), &under);
        picture = win32::SaveTestPicture(interaction.window, "convert-lines");
        std::printf("picture: %s\n", picture.c_str());
        if (const char* path = std::getenv("SUITE_SCREENSHOT"); path != nullptr && *path != '\0') {
            EXPECT_TRUE(win32::SaveWindowPicture(interaction.window, path));
        }
        // The expression box has the focus; Enter answers OK.
        PushText(interaction.window, "line + ';'");
        PushKey(interaction.window, SDLK_RETURN, SDL_SCANCODE_RETURN);
        CloseUnlessEnded(interaction.window);
        return win32::ModalReply::Run();
    });
    editor->ConvertLines();
    Settle();
    EXPECT_FALSE(picture.empty());
    EXPECT_FALSE(IsWindowVisible(dialog->GetHandle()));
    // Centred over the editor.
    EXPECT_LE(std::abs((shown.left + shown.right) - (under.left + under.right)), 2);
    EXPECT_LE(std::abs((shown.top + shown.bottom) - (under.top + under.bottom)), 2);
    ASSERT_EQ(editor->lines.GetCount(), 60);
    EXPECT_EQ(editor->lines[0].str(), "record 1|7;");
    EXPECT_EQ(editor->lines[59].str(), "record 60|420;");
    EXPECT_EQ(dialog->cmbExpr->GetItems()->GetCount(), 1);
    ExpectPresentedEqualsFullRepaint(editor, "after the conversion");
    std::printf("picture: %s\n", win32::SaveTestPicture(form->GetHandle(), "converted").c_str());
}
