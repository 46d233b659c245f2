// The insert-text dialog: its stored form, the mode list enabling the column
// box, and LineInsertText driving it through the responder and the keyboard.
#include <functional>
#include <string>
#include <vector>

#include "Buttons.h"
#include "ComboBox.h"
#include "RedaktFixture.h"
#include "Responder.h"
#include "TextEditorLineInsertTextDlg.h"

namespace {

std::vector<std::string> Items(TComboBox* box) {
    std::vector<std::string> texts;
    for (int i = 0; i < box->GetItems()->GetCount(); ++i) texts.push_back(box->GetItems()->GetStrings(i));
    return texts;
}

class LineInsertTextDlgTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        dialog = SharedLineInsertTextDlg();
        dialog->cmbText->GetItems()->Clear();
        dialog->cmbPosition->GetItems()->Clear();
        editor = Place(40, 30, 300, 200);
        ShowText(editor, {"abcd", "x", "ef"});
    }
    // Runs the dialog from the editor with act applied to it once it opens.
    std::vector<win32::ModalInteraction> Run(const std::function<void(TTextEditorLineInsertTextDlg&)>& act) {
        std::vector<win32::ModalInteraction> seen;
        win32::ScopedResponder responder([&](const win32::ModalInteraction& interaction) {
            seen.push_back(interaction);
            if (interaction.kind == win32::ModalKind::Form) act(*dialog);
            return win32::ModalReply::Run();
        });
        editor->LineInsertText();
        driver.SetAutoPump(true);
        return seen;
    }
    // Chooses a mode as a user does: the list's OnClick runs.
    static void ChooseMode(TTextEditorLineInsertTextDlg& dialog, int index) {
        dialog.cmbMode->SetItemIndex(index);
        dialog.cmbModeClick(dialog.cmbMode);
    }

    TTextEditorLineInsertTextDlg* dialog = nullptr;
    TTextEditor* editor = nullptr;
};

}  // namespace

TEST_F(LineInsertTextDlgTest, TheStoredFormOffersThreeModesAndEnablesTheColumnOnlyForMiddle) {
    auto* fresh = new TTextEditorLineInsertTextDlg(nullptr);
    EXPECT_EQ(fresh->GetCaption(), "Insert text into line");
    EXPECT_EQ(fresh->GetTag(), 100451);
    EXPECT_EQ(Items(fresh->cmbMode), (std::vector<std::string>{"Begin", "Middle", "End"}));
    EXPECT_EQ(fresh->cmbMode->GetItemIndex(), 0);
    EXPECT_EQ(fresh->cmbPosition->GetText(), "0");
    EXPECT_FALSE(fresh->cmbPosition->GetEnabled());
    EXPECT_EQ(fresh->btnOk->GetModalResult(), mrOk);
    EXPECT_EQ(fresh->btnCancel->GetModalResult(), mrCancel);
    EXPECT_EQ(fresh->btnHelp->GetCaption(), "&Help");
    for (int mode : {1, 2, 1, 0}) {
        ChooseMode(*fresh, mode);
        EXPECT_EQ(fresh->cmbPosition->GetEnabled(), mode == 1) << mode;
    }
    delete fresh;
}

// Typed into and answered by the keyboard alone, as in a real window.
TEST_F(LineInsertTextDlgTest, TheKeyboardChoosesMiddleAndTheColumn) {
    ChooseMode(*dialog, 0);
    dialog->cmbText->SetText("");
    dialog->cmbPosition->SetText("0");
    const auto seen = Run([this](TTextEditorLineInsertTextDlg&) {
        driver.SetAutoPump(false);
        driver.Type("X");
        driver.Press(VK_TAB);
        driver.Press(VK_DOWN);
        driver.Press(VK_TAB);
        driver.Press(VK_END);
        driver.Press({VK_SHIFT}, VK_HOME);
        driver.Type("2");
        driver.Press(VK_RETURN);
    });
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "Insert text into line");
    EXPECT_EQ(dialog->cmbMode->GetItemIndex(), 1);
    EXPECT_TRUE(dialog->cmbPosition->GetEnabled());
    EXPECT_EQ(TextOf(editor->lines), (std::vector<std::string>{"abXcd", "xX", "efX"}));
    EXPECT_TRUE(editor->GetModified());
    EXPECT_EQ(Items(dialog->cmbText), std::vector<std::string>{"X"});
    EXPECT_EQ(Items(dialog->cmbPosition), std::vector<std::string>{"2"});
    // Centred over the editor.
    RECT window{}, placed{};
    GetWindowRect(seen[0].window, &window);
    GetWindowRect(editor->GetHandle(), &placed);
    EXPECT_LE(std::abs((window.left + window.right) - (placed.left + placed.right)), 2);
    EXPECT_LE(std::abs((window.top + window.bottom) - (placed.top + placed.bottom)), 2);
}

TEST_F(LineInsertTextDlgTest, BothHistoriesKeepTheirLastTenEntries) {
    for (int i = 0; i < 12; ++i)
        Run([i](TTextEditorLineInsertTextDlg& d) {
            ChooseMode(d, 2);
            // The last texts are already held: they keep their places.
            d.cmbText->SetText("t" + std::to_string(i == 11 ? 3 : i));
            d.cmbPosition->SetText(std::to_string(i == 11 ? 3 : i));
            d.btnOk->Click();
        });
    EXPECT_EQ(Items(dialog->cmbText),
              (std::vector<std::string>{"t10", "t9", "t8", "t7", "t6", "t5", "t4", "t3", "t2", "t1"}));
    EXPECT_EQ(Items(dialog->cmbPosition),
              (std::vector<std::string>{"10", "9", "8", "7", "6", "5", "4", "3", "2", "1"}));
    EXPECT_EQ(editor->lines[1].str(), "xt0t1t2t3t4t5t6t7t8t9t10t3");
}

TEST_F(LineInsertTextDlgTest, CancelOrAMissingColumnLeavesTheText) {
    const std::vector<std::string> before = TextOf(editor->lines);
    Run([](TTextEditorLineInsertTextDlg& d) {
        ChooseMode(d, 0);
        d.cmbText->SetText("cancelled");
        d.btnCancel->Click();
    });
    Run([](TTextEditorLineInsertTextDlg& d) {
        ChooseMode(d, 1);
        d.cmbText->SetText("Y");
        d.cmbPosition->SetText("no number");
        d.btnOk->Click();
    });
    EXPECT_EQ(TextOf(editor->lines), before);
    EXPECT_EQ(Items(dialog->cmbText), std::vector<std::string>{"Y"});
    EXPECT_FALSE(editor->GetModified());
}

// OK clicked through the test driver after choosing "Middle" with the mouse
// on the list's value: the column box is enabled and the text goes in there.
TEST_F(LineInsertTextDlgTest, AClickOnOkInsertsAtTheChosenColumn) {
    ChooseMode(*dialog, 0);
    const auto seen = Run([this](TTextEditorLineInsertTextDlg& d) {
        d.cmbText->SetText("-");
        ChooseMode(d, 1);
        EXPECT_TRUE(d.cmbPosition->GetEnabled());
        d.cmbPosition->SetText("1");
        driver.SetAutoPump(false);
        driver.Click(d.btnOk->GetHandle(), d.btnOk->GetWidth() / 2, d.btnOk->GetHeight() / 2);
    });
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(TextOf(editor->lines), (std::vector<std::string>{"a-bcd", "x-", "e-f"}));
    ChooseMode(*dialog, 2);
    EXPECT_FALSE(dialog->cmbPosition->GetEnabled());
}
