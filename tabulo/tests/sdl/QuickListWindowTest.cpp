// The quick list at work in a real window: its find, replace and confirmation
// dialogs over a filled grid, editing in a cell, a selection made with the
// keys and a column dragged with its info form, presented through SDL and
// saved as pictures for looking at. Needs a display (CI runs it under xvfb-run); skips itself
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
#include "QuickListInfoForm.h"
#include "QuickListReplaceConfirmDlg.h"
#include "QuickListReplaceDlg.h"
#include "Responder.h"
#include "display/TestPicture.h"
#include "display/WindowPicture.h"

namespace {

const char* const kNames[] = {"Amber", "Basalt", "Cobalt", "Dune", "Ember", "Fjord", "Garnet", "Heath"};

// A grid that takes keys and mouse events as its window would pass them on.
class TDrivenQuickList : public TQuickList {
public:
    explicit TDrivenQuickList(TComponent* owner) : TQuickList(owner) {}
    void Key(WORD key, TShiftState shift = TShiftState()) { KeyDown(key, shift); }
    void Type(const std::string& text) {
        for (char c : text) KeyPress(c);
    }
    void Press(int x, int y) { MouseDown(mbLeft, TShiftState(), x, y); }
    void Move(int x, int y) { MouseMove(TShiftState(), x, y); }
    void Release(int x, int y) { MouseUp(mbLeft, TShiftState(), x, y); }
};

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
        grid = new TDrivenQuickList(form);
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

    void SaveForm(const std::string& label) {
        win32::PumpMessagesFor(300);
        EXPECT_NE(win32::SaveTestPicture(form->GetHandle(), label), "");
    }

    TForm* form = nullptr;
    TDrivenQuickList* grid = nullptr;
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

TEST_F(QuickListWindowTest, EditingInACellASelectionByTheKeysAndAColumnDragged) {
    grid->SetEditInCell(true);
    grid->SetEditCursor(false);  // the caret stays shown for the picture
    grid->SetSelectedLine(3);
    grid->SetSelectedCol(0);
    grid->SetFocus();
    grid->Key(VK_RETURN, TShiftState() << ssAlt);
    grid->Key(VK_LEFT);
    grid->Key(VK_LEFT);
    grid->Type("x");
    EXPECT_TRUE(grid->GetInCellEditing());
    EXPECT_EQ(grid->GetCell(3, 0), "Duxne");
    EXPECT_EQ(grid->GetCaretPosition(), 3);
    SaveForm("editing");
    grid->Key(VK_RETURN);

    grid->SetSelectedLine(5);
    grid->SetSelectedCol(1);
    const TShiftState shift = TShiftState() << ssShift;
    for (WORD key : {VK_RIGHT, VK_RIGHT, VK_DOWN, VK_DOWN, VK_DOWN}) grid->Key(key, shift);
    RECT selection;
    ASSERT_TRUE(grid->GetSelection(selection));
    EXPECT_EQ((std::vector<LONG>{selection.left, selection.top, selection.right, selection.bottom}),
              (std::vector<LONG>{1, 5, 3, 8}));
    SaveForm("selection");

    // Column 2's border: line captions 30 wide, columns 50 wide.
    const int border = 2 + 31 + 51 * 2 + 50;
    grid->Move(border, 60);
    grid->Press(border, 60);
    grid->Move(border + 30, 64);
    TQuickListInfoForm* info = grid->GetInfoForm();
    EXPECT_TRUE(info->InfoShown());
    EXPECT_EQ(grid->GetColWidth(2), 80);
    SaveForm("drag");
    EXPECT_NE(win32::SaveTestPicture(info->GetHandle(), "drag.info"), "");
    grid->Release(border + 30, 64);
    EXPECT_FALSE(info->InfoShown());
    SaveForm("dragged");
}
