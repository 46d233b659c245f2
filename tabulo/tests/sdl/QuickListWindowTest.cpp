// The quick list at work in a real window: its find, replace and confirmation
// dialogs over a filled grid, presented through SDL and saved as pictures for
// looking at. Needs a display (CI runs it under xvfb-run); skips itself
// without DISPLAY.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "Buttons.h"
#include "ComboBox.h"
#include "Form.h"
#include "MessageBox.h"
#include "QuickList.h"
#include "QuickListFindDlg.h"
#include "QuickListFindReplaceInfo.h"
#include "QuickListReplaceConfirmDlg.h"
#include "QuickListReplaceDlg.h"
#include "Responder.h"
#include "display/TestPicture.h"
#include "display/WindowPicture.h"

namespace {

const char* const kNames[] = {"Amber", "Basalt", "Cobalt", "Dune", "Ember", "Fjord", "Garnet", "Heath"};

class QuickListWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* display = std::getenv("DISPLAY");
        if (display == nullptr || *display == '\0') GTEST_SKIP() << "no display: run under xvfb-run";
        setenv("SUITE_DISPLAY", "sdl", 1);
        setenv("CHDIR", TABULO_TEST_CHR_DIR, 1);
        form = new TForm(nullptr, 1);
        form->SetText("Statistical");
        form->SetBounds(40, 40, 420, 260);
        form->SetColor(clBtnFace);
        grid = new TQuickList(form);
        grid->SetParent(form);
        grid->SetBounds(8, 8, 397, 209);
        grid->SetShowLineCaption(true);
        grid->SetShowLineNumber(true);
        grid->SetLineCaptionWidth(30);
        grid->SetEdit(true);
        form->Show();
        win32::PumpMessagesFor(500);
        // 30 lines of 5 cells, as the statistics form fills its grid.
        grid->Clear(true);
        grid->SetCaptions({"Name", "Count", "Share", "Place", "Note"}, false);
        for (int line = 0; line < 30; ++line)
            grid->AppendLine({kNames[line % 8], std::to_string(line * 7 % 31), std::to_string(line % 5) + ".5",
                              line % 3 ? "hill" : "valley", line == 12 ? "Ember field" : "-"},
                             false);
        grid->Refresh();
        win32::PumpMessagesFor(200);
    }
    void TearDown() override { delete form; }

    // Lets the dialog be presented and saves its picture and the form's.
    void Picture(const win32::ModalInteraction& interaction, const std::string& label) {
        win32::PumpMessagesFor(400);
        EXPECT_NE(win32::SaveTestPicture(interaction.window, label), "");
        EXPECT_NE(win32::SaveTestPicture(form->GetHandle(), label + ".grid"), "");
    }

    TForm* form = nullptr;
    TQuickList* grid = nullptr;
};

TEST_F(QuickListWindowTest, TheFindReplaceAndConfirmationDialogsOverAFilledGrid) {
    grid->GetFindReplaceInfo().findHistory = {"valley", "Basalt"};
    std::vector<std::string> captions;
    win32::ScopedResponder responder([&](const win32::ModalInteraction& interaction) {
        captions.push_back(interaction.caption);
        if (interaction.kind != win32::ModalKind::Form) return win32::ModalReply::Answer(IDOK);
        TWinControl* window = TWinControl::FindControl(interaction.window);
        if (auto* replace = dynamic_cast<TQuickListReplaceDlg*>(window)) {
            replace->cmbText->SetText("ember f");
            replace->cmbReplace->SetText("Ember meadow");
            replace->cbCase->SetChecked(false);
            Picture(interaction, "replace");
            replace->btnOk->Click();
        } else if (auto* find = dynamic_cast<TQuickListFindDlg*>(window)) {
            find->cmbText->SetText("Ember");
            find->cbCase->SetChecked(true);
            Picture(interaction, "find");
            find->btnOk->Click();
        } else if (auto* confirm = dynamic_cast<TQuickListReplaceConfirmDlg*>(window)) {
            Picture(interaction, "confirm");
            confirm->btnYes->Click();
        }
        return win32::ModalReply::Run();
    });
    grid->Find();
    EXPECT_EQ(grid->GetSelectedLine(), 4);
    EXPECT_EQ(grid->GetSelectedCol(), 0);
    grid->Replace();
    EXPECT_EQ(captions, (std::vector<std::string>{"Find", "QuickListReplaceDlg", "Replace"}));
    EXPECT_EQ(grid->GetCell(12, 4), "Ember meadow");
    EXPECT_EQ(grid->GetSelectedLine(), 12);
    win32::PumpMessagesFor(300);
    EXPECT_NE(win32::SaveTestPicture(form->GetHandle(), "replaced"), "");
}

}  // namespace
