// Tests of the "KRO dialog" text format and LoadDialog, on the headless display.
#include "DialogText.h"

#include <gtest/gtest.h>

#include <string>

#include "Compiler.h"
#include "DialogControls.h"
#include "DialogTestSupport.h"
#include "Interpreter.h"
#include "KroTestSupport.h"
#include "ProcessBar.h"
#include "StdCtrls.h"

namespace {

// The folder of this test's dialog files, found from this source file's path.
std::string DialogFolder() {
    const std::string source = __FILE__;
    return source.substr(0, source.find_last_of('/')) + "/dialogs";
}

std::vector<std::string> Strings(const TStrings* strings) {
    std::vector<std::string> out;
    for (int k = 0; k < strings->GetCount(); ++k) out.push_back(strings->GetStrings(k));
    return out;
}

class DialogTextTest : public ScriptDialogTest {};

const char* const kExample =
    "KRO dialog\n"
    "30,40,260,200,Colours,center\n"
    "Button,5,10,10,75,25,OK, mr_ok\n"
    "Button,6,100,10,75,25,Maybe,mr_maybe\n"
    "ListBox,3,10,40,100,80,2\n"
    "red\n"
    "green,blue\n"
    "Label,7,120,40,Pick one\n"
    "\n"
    "Slider,8,0,0,10,10\n"
    " Edit ,9,120,60,80,21,typed";

TEST_F(DialogTextTest, TheExampleBuildsItsControlsAndSkipsBadLines) {
    const int id = BuildDialog(Lines(kExample));
    EXPECT_EQ(id, 0);
    TForm* form = FindScriptDialog(id);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->GetCaption(), "Colours");
    EXPECT_EQ(form->GetPosition(), poScreenCenter);
    EXPECT_EQ(form->GetBorderStyle(), bsDialog);
    EXPECT_EQ(form->GetLeft(), 30);
    EXPECT_EQ(form->GetHeight(), 200);

    TButton* ok = Registered<TButton>(5);
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->GetModalResult(), mrOk);
    EXPECT_EQ(ok->GetCaption(), "OK");
    EXPECT_EQ(ok->GetTag(), 5);
    EXPECT_EQ(ok->GetParent(), form);
    EXPECT_EQ(ComponentInfos()->GetComponent(6), nullptr);

    TListBox* list = Registered<TListBox>(3);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(Strings(list->GetItems()), (std::vector<std::string>{"red", "green,blue"}));
    TLabel* label = Registered<TLabel>(7);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->GetCaption(), "Pick one");
    EXPECT_EQ(ComponentInfos()->GetComponent(8), nullptr);
    ASSERT_NE(Registered<TEdit>(9), nullptr);
    EXPECT_EQ(Registered<TEdit>(9)->GetText(), "typed");
    // The window, the button, the list, the label and the edit.
    EXPECT_EQ(ComponentInfos()->GetCount(), 5);
    EXPECT_EQ(form->GetComponentCount(), 4);
}

TEST_F(DialogTextTest, EveryTypeTakesItsFields) {
    const int id = BuildDialog(Lines("KRO dialog\n0,0,400,300,Types\n"
                                     "Memo,1,1,2,100,50,2\nline one\nline two\n"
                                     "CheckBox,2,1,60,90,20,Remember\n"
                                     "RadioButton,3,1,80,90,20,Either\n"
                                     "ComboBox,4,1,100,90,20,1\nonly\n"
                                     "ScrollBar,5,1,130,120,16,10,50,30\n"
                                     "RadioGroup,6,150,1,100,80,2\nleft\nright\n"
                                     "ProcessBar,7,150,100,100,16,0,200,50\n"
                                     "Button,8,150,130,75,25,Close,mr_cancel\n"
                                     "Button,9,150,160,75,25,Yes,mr_yes\n"
                                     "Button,10,150,190,75,25,No,mr_no"));
    ASSERT_EQ(FindScriptDialog(id)->GetPosition(), poDesigned);
    TMemo* memo = Registered<TMemo>(1);
    ASSERT_NE(memo, nullptr);
    EXPECT_EQ(Strings(memo->GetLines()), (std::vector<std::string>{"line one", "line two"}));
    EXPECT_EQ(memo->GetScrollBars(), ssBoth);
    EXPECT_EQ(memo->GetBoundsRect().right, 101);
    TCheckBox* check = Registered<TCheckBox>(2);
    ASSERT_NE(check, nullptr);
    EXPECT_EQ(check->GetCaption(), "Remember");
    EXPECT_EQ(check->GetWidth(), 90);
    EXPECT_EQ(Registered<TRadioButton>(3)->GetCaption(), "Either");
    TComboBox* combo = Registered<TComboBox>(4);
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->GetStyle(), csDropDown);
    EXPECT_EQ(Strings(combo->GetItems()), (std::vector<std::string>{"only"}));
    TScrollBar* bar = Registered<TScrollBar>(5);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->GetKind(), sbHorizontal);
    EXPECT_EQ(bar->GetMin(), 10);
    EXPECT_EQ(bar->GetMax(), 50);
    EXPECT_EQ(bar->GetPosition(), 30);
    EXPECT_EQ(Strings(Registered<TRadioGroup>(6)->GetItems()), (std::vector<std::string>{"left", "right"}));
    TProcessBar* progress = Registered<TProcessBar>(7);
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(progress->GetMax(), 200);
    EXPECT_EQ(progress->GetPos(), 50);
    EXPECT_EQ(Registered<TButton>(8)->GetModalResult(), mrCancel);
    EXPECT_EQ(Registered<TButton>(9)->GetModalResult(), mrYes);
    EXPECT_EQ(Registered<TButton>(10)->GetModalResult(), mrNo);
}

TEST_F(DialogTextTest, ShortLinesAreSkippedAndItemCountsClamped) {
    // Each type with its last field missing.
    const int id = BuildDialog(Lines("KRO dialog\n0,0,400,300,Short\n"
                                     "Label,1,0,0\nEdit,2,0,0,10,10\nMemo,3,0,0,10,10\n"
                                     "Button,4,0,0,10,10,OK\nCheckBox,5,0,0,10,10\nRadioButton,6,0,0,10,10\n"
                                     "ListBox,7,0,0,10,10\nComboBox,8,0,0,10,10\nScrollBar,9,0,0,10,10,0,5\n"
                                     "RadioGroup,10,0,0,10,10\nProcessBar,11,0,0,10,10,0,5\nButton\n"
                                     "ListBox,12,0,0,50,50,-3\n"
                                     "Label,13,0,0,after the list\n"
                                     "Memo,14,0,0,50,50,99\nonly line\nlast line"));
    ASSERT_EQ(id, 0);
    for (int skipped = 1; skipped <= 11; ++skipped) EXPECT_EQ(ComponentInfos()->GetComponent(skipped), nullptr);
    EXPECT_EQ(Registered<TListBox>(12)->GetItems()->GetCount(), 0);
    EXPECT_NE(Registered<TLabel>(13), nullptr);
    EXPECT_EQ(Strings(Registered<TMemo>(14)->GetLines()), (std::vector<std::string>{"only line", "last line"}));

    // Without a whole window line nothing is built.
    EXPECT_EQ(BuildDialog(Lines("KRO dialog\n0,0,400,300")), -1);
    EXPECT_EQ(BuildDialog(Lines("KRO dialog")), -1);
    EXPECT_EQ(ComponentInfos()->GetCount(), 4);
}

TEST_F(DialogTextTest, LoadDialogFromARunningScript) {
    TStringContainer source = Lines("resource dialog, " + DialogFolder() +
                                    "/colours.dlg, colours\n"
                                    "int first = NewDialog(0, 0, 100, 50, 'first')\n"
                                    "int d = LoadDialog('colours')\n"
                                    "int none = LoadDialog('missing')");
    TProgram program;
    TStringContainer directories;
    TUnitSubsList units;
    ASSERT_TRUE(KRO_Compile(source, program, directories, units)) << KRO_ErrorCode << " line " << KRO_ErrorLine;
    KRO_Run(program, false);
    EXPECT_EQ(Variables.GetVar("first")->value.i, 0);
    EXPECT_EQ(Variables.GetVar("d")->value.i, 1);
    EXPECT_EQ(Variables.GetVar("none")->value.i, 0);
    EXPECT_EQ(FindScriptDialog(1)->GetCaption(), "Colours");
    EXPECT_EQ(Registered<TButton>(5)->GetModalResult(), mrOk);
    EXPECT_EQ(Strings(Registered<TListBox>(3)->GetItems()), (std::vector<std::string>{"red", "green,blue"}));
    EXPECT_EQ(Registered<TLabel>(7)->GetCaption(), "Pick one");
    // Outside a run there is no program to load from.
    EXPECT_EQ(LoadDialog(KRO_GetRunningProgram(), "colours"), -1);
}

TEST_F(DialogTextTest, LoadDialogTakesOnlyDialogResourceTokens) {
    TProgram program;
    auto addResource = [&](int kind, const char* name, const char* text) {
        TToken* token = program.tokens.AddToken(ttResource);
        auto* info = new RESOURCE_INFO;
        info->kind = kind;
        info->name = name;
        info->lines = Lines(text);
        token->record.reset(info);
        program.resourceTokens.Add(program.tokens.GetCount() - 1);
    };
    addResource(1, "ask", "KRO dialog\n0,0,10,10,as text");
    program.tokens.AddToken(ttExpression);
    program.resourceTokens.Add(program.tokens.GetCount() - 1);
    program.resourceTokens.Add(99);
    program.resourceTokens.Add(-1);
    addResource(2, "other", "KRO dialog\n0,0,10,10,other");
    addResource(2, "ask", "KRO dialog\n0,0,10,10,as dialog");

    EXPECT_EQ(LoadDialog(&program, "ask"), 0);
    EXPECT_EQ(FindScriptDialog(0)->GetCaption(), "as dialog");
    EXPECT_EQ(LoadDialog(&program, "nothing"), -1);
    EXPECT_EQ(LoadDialog(nullptr, "ask"), -1);
    EXPECT_EQ(ComponentInfos()->GetCount(), 1);
}

TEST_F(DialogTextTest, ReleasingAWindowLeavesDuplicateIdsOfOthersAlone) {
    ASSERT_EQ(BuildDialog(Lines("KRO dialog\n0,0,100,100,A\nButton,1,0,0,10,10,a,mr_ok")), 0);
    // B's window gets the free id 2; its button repeats id 1.
    ASSERT_EQ(BuildDialog(Lines("KRO dialog\n0,0,100,100,B\nButton,1,0,0,10,10,b,mr_no")), 2);
    TButton* first = Registered<TButton>(1);
    ASSERT_EQ(first->GetCaption(), "a");
    EXPECT_TRUE(ReleaseScriptDialog(2));
    EXPECT_EQ(Registered<TButton>(1), first);
    EXPECT_EQ(ComponentInfos()->GetCount(), 2);
}

}  // namespace
