// The macro dialogs' stored forms: captions, language ids, controls and
// buttons; the two shared ones made by Init; the parameter dialog's edits.
#include <gtest/gtest.h>

#include <string>

#include "Buttons.h"
#include "ComboBox.h"
#include "Edit.h"
#include "GroupControls.h"
#include "Label.h"
#include "ListBox.h"
#include "RedaktFixture.h"
#include "TextEditorMacroDlgs.h"
#include "TextEditorPackage.h"

namespace {

// OK and Cancel with their modal results, the Help button without one.
template <class Dialog>
void ExpectButtons(const Dialog& dialog) {
    ASSERT_TRUE(dialog.btnOk != nullptr && dialog.btnCancel != nullptr && dialog.btnHelp != nullptr);
    EXPECT_EQ(dialog.btnOk->GetCaption(), "&Ok");
    EXPECT_TRUE(dialog.btnOk->GetDefault());
    EXPECT_EQ(dialog.btnOk->GetModalResult(), mrOk);
    EXPECT_EQ(dialog.btnCancel->GetCaption(), "&Cancel");
    EXPECT_TRUE(dialog.btnCancel->GetCancel());
    EXPECT_EQ(dialog.btnCancel->GetModalResult(), mrCancel);
    EXPECT_EQ(dialog.btnHelp->GetCaption(), "&Help");
    EXPECT_EQ(dialog.btnHelp->GetModalResult(), mrNone);
}

class MacroDlgsTest : public EditorTest {};

}  // namespace

TEST_F(MacroDlgsTest, TheMacroNameAndSelectionFormsAreTheSharedFormsOfInit) {
    Place();
    TTextEditorMacroNameDlg* naming = SharedMacroNameDlg();
    TTextEditorSelectParamMacroDlg* selecting = SharedSelectParamMacroDlg();
    ASSERT_TRUE(naming != nullptr && selecting != nullptr);
    EXPECT_EQ(GetTextEditorSharedForm(TTextEditorSharedForm::MacroName), naming);
    EXPECT_EQ(GetTextEditorSharedForm(TTextEditorSharedForm::SelectParamMacro), selecting);
    EXPECT_EQ(naming->GetCaption(), "Param macro name");
    EXPECT_EQ(naming->GetTag(), 100445);
    EXPECT_EQ(naming->lbName->GetCaption(), "Macro name:");
    ASSERT_NE(naming->edName, nullptr);
    ExpectButtons(*naming);
    EXPECT_EQ(selecting->GetTag(), 0) << "its caption is set for each use";
    EXPECT_EQ(selecting->lbMacros->GetCaption(), "Available macros:");
    ASSERT_NE(selecting->cmbMacros, nullptr);
    EXPECT_EQ(selecting->cmbMacros->GetStyle(), csDropDownList);
    ExpectButtons(*selecting);
}

TEST_F(MacroDlgsTest, TheParameterFormGrowsWithItsEditsAndTheListFormHoldsTheList) {
    TTextEditorParamMacroDlg asking(nullptr);
    EXPECT_EQ(asking.GetCaption(), "Macro parameters");
    ExpectButtons(asking);
    ASSERT_NE(asking.bevelButtons, nullptr);
    EXPECT_LT(TTextEditorParamMacroDlg::kEditLeft + TTextEditorParamMacroDlg::kEditWidth, asking.bevelButtons->GetLeft());
    EXPECT_LT(asking.bevelButtons->GetLeft(), asking.btnOk->GetLeft()) << "the bevel is left of the buttons";
    asking.AddParameterEdits(-3);
    EXPECT_TRUE(asking.edits.empty());
    EXPECT_EQ(asking.GetClientHeight(), 108);
    EXPECT_EQ(asking.bevelButtons->GetHeight(), 108);

    TTextEditorParamMacroDlg many(nullptr);
    many.AddParameterEdits(7);
    ASSERT_EQ(many.edits.size(), 7u);
    EXPECT_EQ(many.edits[6]->GetTop(), 154);
    EXPECT_EQ(many.edits[6]->GetParent(), &many);
    EXPECT_EQ(many.GetClientHeight(), 179);
    EXPECT_EQ(many.bevelButtons->GetHeight(), 179);
    many.edits[1]->SetText("second");
    EXPECT_EQ(many.GetParameterTexts(), (std::vector<std::string>{"", "second", "", "", "", "", ""}));

    TTextEditorMacroListDlg listing(nullptr);
    EXPECT_EQ(listing.GetCaption(), "List macros");
    EXPECT_EQ(listing.GetTag(), 100288);
    ASSERT_TRUE(listing.gbMacros != nullptr && listing.lbMacros != nullptr);
    EXPECT_EQ(listing.gbMacros->GetCaption(), "The character contents of the macros defined in the editor");
    EXPECT_EQ(listing.lbMacros->GetParent(), listing.gbMacros);
    EXPECT_EQ(listing.btnOk->GetModalResult(), mrOk);
    EXPECT_TRUE(listing.btnOk->GetDefault() && listing.btnOk->GetCancel());
    EXPECT_EQ(listing.btnHelp->GetCaption(), "&Help");
}
