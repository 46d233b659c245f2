// The statistics-options dialog in a real window over an editor holding a
// table: the column is typed and the separator chosen with the keys, fed as
// SDL events, then the sum of that column is shown. Pictures are saved for
// looking at (SaveTestPicture's folder, and SUITE_SCREENSHOT's file when
// set). Needs a display (CI runs it under xvfb-run); skips itself when
// DISPLAY is unset.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "ComboBox.h"
#include "RedaktSdlFixture.h"
#include "Responder.h"
#include "TextEditor.h"
#include "TextEditorStatSetupDlg.h"
#include "display/TestPicture.h"

TEST_F(RedaktSdlTest, TheStatisticsOptionsDialogTakesTheColumnAndTheSeparatorFromTheKeys) {
    auto* editor = new TTextEditor(form);
    editor->SetBounds(10, 10, 740, 510);
    editor->SetParent(form);
    editor->SetFontSize(10);
    TStringContainer text;
    for (int i = 1; i <= 40; ++i)
        text.Add(TString("item " + std::to_string(i) + " | " + std::to_string(i) + ".25 | kg"));
    editor->NewStrings(text);
    form->Show();
    Settle();
    editor->SetFocus();
    Settle();
    TTextEditorStatSetupDlg* dialog = SharedStatSetupDlg();
    ASSERT_NE(dialog, nullptr);
    dialog->cmbCol->SetText("");
    dialog->cmbSep->SetItemIndex(0);

    std::string caption, picture;
    win32::ScopedResponder responder([&](const win32::ModalInteraction& interaction) {
        if (interaction.kind == win32::ModalKind::MessageBox) {
            caption = interaction.caption + ": " + interaction.text;
            return win32::ModalReply::Answer(IDOK);
        }
        Settle();
        picture = win32::SaveTestPicture(interaction.window, "dialog");
        std::printf("picture: %s\n", picture.c_str());
        if (const char* path = std::getenv("SUITE_SCREENSHOT"); path != nullptr && *path != '\0') {
            EXPECT_TRUE(win32::SaveWindowPicture(interaction.window, path));
        }
        // The column box has the focus; Tab leads to the separators, two
        // steps down choose the pipe, Enter answers OK.
        PushText(interaction.window, "1");
        PushKey(interaction.window, SDLK_TAB, SDL_SCANCODE_TAB);
        PushKey(interaction.window, SDLK_DOWN, SDL_SCANCODE_DOWN);
        PushKey(interaction.window, SDLK_DOWN, SDL_SCANCODE_DOWN);
        PushKey(interaction.window, SDLK_RETURN, SDL_SCANCODE_RETURN);
        CloseUnlessEnded(interaction.window);
        return win32::ModalReply::Run();
    });
    editor->StatOptions();
    Settle();
    EXPECT_FALSE(picture.empty());
    EXPECT_FALSE(IsWindowVisible(dialog->GetHandle()));
    EXPECT_EQ(editor->statColumn, 1);
    EXPECT_EQ(editor->statSeparator, '|');
    editor->StatSum();
    EXPECT_EQ(caption, "Sum: The sum is: 830.000");  // 1 + ... + 40 and 40 quarters
    ExpectPresentedEqualsFullRepaint(editor, "after the dialog closed");
    std::printf("picture: %s\n", win32::SaveTestPicture(form->GetHandle(), "editor").c_str());
}
