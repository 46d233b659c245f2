// Tests of the text input form: its layout and the keyboard path through it.
#include <gtest/gtest.h>

#include "Buttons.h"
#include "Edit.h"
#include "KroGetTextDlg.h"
#include "Label.h"
#include "Responder.h"
#include "display/TestDriver.h"

namespace {

class KroGetTextDlgTest : public ::testing::Test {
protected:
    void SetUp() override { dialog = new TKroGetTextDlg(nullptr); }
    void TearDown() override { delete dialog; }

    win32::TestDriver driver;
    TKroGetTextDlg* dialog = nullptr;
};

TEST_F(KroGetTextDlgTest, TheFormHasItsLayout) {
    EXPECT_EQ(dialog->GetCaption(), "Text input");
    EXPECT_EQ(dialog->GetBorderStyle(), bsDialog);
    EXPECT_EQ(dialog->GetPosition(), poScreenCenter);
    EXPECT_EQ(dialog->GetClientWidth(), 281);
    EXPECT_EQ(dialog->GetClientHeight(), 89);
    ASSERT_NE(dialog->lbCimke, nullptr);
    ASSERT_NE(dialog->edSzoveg, nullptr);
    ASSERT_NE(dialog->btnOk, nullptr);
    ASSERT_NE(dialog->btnMegsem, nullptr);
    EXPECT_EQ(dialog->GetPrompt(), "Label:");
    EXPECT_EQ(dialog->edSzoveg->GetWidth(), 265);
    EXPECT_EQ(dialog->btnOk->GetCaption(), "&Ok");
    EXPECT_TRUE(dialog->btnOk->GetDefault());
    EXPECT_EQ(dialog->btnOk->GetModalResult(), mrOk);
    EXPECT_EQ(dialog->btnMegsem->GetCaption(), "&Cancel");
    EXPECT_TRUE(dialog->btnMegsem->GetCancel());
    EXPECT_EQ(dialog->btnMegsem->GetModalResult(), mrCancel);
}

// Typing replaces the starting text (it is shown selected); Enter chooses OK
// and Escape cancels.
TEST_F(KroGetTextDlgTest, TheKeyboardAloneAnswersIt) {
    bool escape = false;
    win32::ScopedResponder responder([&](const win32::ModalInteraction&) {
        driver.SetAutoPump(false);
        driver.Type("new");
        driver.Press(escape ? VK_ESCAPE : VK_RETURN);
        return win32::ModalReply::Run();
    });
    std::string text = "start";
    EXPECT_TRUE(dialog->Execute("Rename", "New name:", text));
    EXPECT_EQ(text, "new");
    escape = true;
    text = "start";
    EXPECT_FALSE(dialog->Execute("Rename", "New name:", text));
    EXPECT_EQ(text, "start");
    driver.SetAutoPump(true);
}

}  // namespace
