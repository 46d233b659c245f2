// Tests of the quick list's find and replace dialogs and its confirmation:
// their stored forms, loading from and storing into the search state, and
// the history rule.
#include "QuickListFindDlg.h"

#include <gtest/gtest.h>

#include "Buttons.h"
#include "ComboBox.h"
#include "GroupControls.h"
#include "Label.h"
#include "QuickListFindReplaceInfo.h"
#include "QuickListReplaceConfirmDlg.h"
#include "QuickListReplaceDlg.h"
#include "display/TestDriver.h"

namespace {

class QuickListFindDlgTest : public ::testing::Test {
protected:
    win32::TestDriver driver;
};

std::vector<std::string> Items(const TComboBox* combo) {
    std::vector<std::string> items;
    for (int i = 0; i < combo->GetCount(); ++i) items.push_back(combo->GetItems()->GetStrings(i));
    return items;
}

std::string CaptionOf(TForm& form, const char* name) {
    auto* control = dynamic_cast<TControl*>(form.FindComponent(name));
    return control ? control->GetCaption() : "<missing>";
}

TEST_F(QuickListFindDlgTest, TheDialogsHaveTheirStoredForms) {
    TQuickListFindDlg find(nullptr);
    TQuickListReplaceDlg replace(nullptr);
    TQuickListReplaceConfirmDlg confirm(nullptr);
    struct Case {
        TForm* form;
        const char* caption;
        int width, height;
        std::vector<std::pair<const char*, const char*>> captions;
    };
    const Case cases[] = {
        {&find, "Find", 249, 115,
         {{"Label1", "Text to find:"}, {"GroupBox1", "Options"}, {"cbWholeText", "Whole text only"},
          {"cbCase", "Case sensitivity"}, {"btnOk", "&Ok"}, {"btnCancel", "&Cancel"}}},
        {&replace, "QuickListReplaceDlg", 250, 165,
         {{"Label1", "Text to find:"}, {"Label2", "Replace with:"}, {"cbCase", "Case sensitivity"},
          {"btnOk", "&Ok"}, {"btnAll", "Replace &all"}, {"btnCancel", "&Cancel"}}},
        {&confirm, "Replace", 336, 66,
         {{"lbQuestion", "Replace this occurance of the string?"}, {"btnYes", "&Yes"}, {"btnNo", "&No"},
          {"btnAll", "&All"}, {"btnCancel", "&Cancel"}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.form->GetCaption(), c.caption);
        EXPECT_EQ(c.form->GetBorderStyle(), bsDialog) << c.caption;
        EXPECT_EQ(c.form->GetClientWidth(), c.width) << c.caption;
        EXPECT_EQ(c.form->GetClientHeight(), c.height) << c.caption;
        for (const auto& control : c.captions) EXPECT_EQ(CaptionOf(*c.form, control.first), control.second) << c.caption;
    }
    ASSERT_NE(replace.cmbText, nullptr);
    ASSERT_NE(replace.cmbReplace, nullptr);
    EXPECT_TRUE(find.btnOk->GetDefault());
    EXPECT_EQ(find.btnOk->GetModalResult(), mrNone);  // its handler closes it
    EXPECT_TRUE(find.btnCancel->GetCancel());
    EXPECT_EQ(find.btnCancel->GetModalResult(), mrCancel);
    EXPECT_EQ(replace.btnAll->GetModalResult(), mrYes);
    // The replace dialog moves the inherited options and Cancel below the replacement.
    EXPECT_GT(dynamic_cast<TControl*>(replace.FindComponent("GroupBox1"))->GetTop(), replace.cmbReplace->GetTop());
    EXPECT_GT(replace.btnCancel->GetTop(), replace.btnAll->GetTop());
    const int results[] = {confirm.btnYes->GetModalResult(), confirm.btnNo->GetModalResult(),
                           confirm.btnAll->GetModalResult(), confirm.btnCancel->GetModalResult()};
    EXPECT_EQ(std::vector<int>(std::begin(results), std::end(results)), (std::vector<int>{6, 7, 10, 2}));
}

TEST_F(QuickListFindDlgTest, LoadingAndStoringRoundTripTheState) {
    TQuickListFindReplaceInfo info;
    info.findText = "needle";
    info.replaceText = "thread";
    info.findHistory = {"needle", "pin", "Needle"};
    info.replaceHistory = {"thread", "yarn"};
    info.wholeText = true;
    info.caseSensitive = false;
    info.line = 3;
    TQuickListReplaceDlg dialog(nullptr);
    dialog.Load(info);
    EXPECT_EQ(dialog.cmbText->GetText(), "needle");
    EXPECT_EQ(Items(dialog.cmbText), info.findHistory);
    EXPECT_EQ(Items(dialog.cmbReplace), info.replaceHistory);
    EXPECT_TRUE(dialog.cbWholeText->GetChecked());
    EXPECT_FALSE(dialog.cbCase->GetChecked());

    TQuickListFindReplaceInfo stored;
    stored.line = 9;
    dialog.Store(stored);
    EXPECT_EQ(stored.findText, info.findText);
    EXPECT_EQ(stored.replaceText, info.replaceText);
    EXPECT_EQ(stored.findHistory, info.findHistory);
    EXPECT_EQ(stored.replaceHistory, info.replaceHistory);
    EXPECT_EQ(stored.wholeText, info.wholeText);
    EXPECT_EQ(stored.caseSensitive, info.caseSensitive);
    EXPECT_EQ(stored.line, 9);  // the position is not the dialog's

    // OK puts both texts first in their lists.
    dialog.cmbText->SetText("hook");
    dialog.cmbReplace->SetText("yarn");
    dialog.cbCase->SetChecked(true);
    dialog.btnOk->Click();
    dialog.Store(stored);
    EXPECT_EQ(stored.findHistory, (std::vector<std::string>{"hook", "needle", "pin", "Needle"}));
    EXPECT_EQ(stored.replaceHistory, (std::vector<std::string>{"thread", "yarn"}));
    EXPECT_TRUE(stored.caseSensitive);
}

TEST_F(QuickListFindDlgTest, AHistoryKeepsSixteenDistinctTextsNewestFirst) {
    TQuickListFindDlg dialog(nullptr);
    TStrings* list = dialog.cmbText->GetItems();
    for (int i = 1; i <= 16; ++i) TQuickListFindDlg::AddToHistory(list, "t" + std::to_string(i));
    ASSERT_EQ(list->GetCount(), 16);
    EXPECT_EQ(list->GetStrings(0), "t16");
    EXPECT_EQ(list->GetStrings(15), "t1");
    // One already there keeps its place; an empty text is not added; case counts.
    TQuickListFindDlg::AddToHistory(list, "t5");
    TQuickListFindDlg::AddToHistory(list, "");
    EXPECT_EQ(list->GetCount(), 16);
    EXPECT_EQ(list->GetStrings(11), "t5");
    TQuickListFindDlg::AddToHistory(list, "T5");
    ASSERT_EQ(list->GetCount(), 16);
    EXPECT_EQ(list->GetStrings(0), "T5");
    EXPECT_EQ(list->GetStrings(15), "t2");
    // The dialog's OK adds its text the same way.
    dialog.cmbText->SetText("t17");
    dialog.btnOk->Click();
    EXPECT_EQ(list->GetStrings(0), "t17");
    EXPECT_EQ(list->GetStrings(15), "t3");
    EXPECT_EQ(dialog.GetModalResult(), mrOk);
}

}  // namespace
