// Tests of the script dialog functions, called through Eval expressions and from a script, on the headless display.
#include "ScriptDialogs.h"

#include <gtest/gtest.h>

#include <string>

#include "Compiler.h"
#include "DialogControls.h"
#include "DialogTestSupport.h"
#include "EvaluateEngine.h"
#include "ExpressionCompiler.h"
#include "Interpreter.h"
#include "ProcessBar.h"
#include "Responder.h"
#include "StdCtrls.h"

namespace {

class ScriptDialogsTest : public ScriptDialogTest {
protected:
    static EXPRVALUE Evaluate(const std::string& text) {
        EXPRESSION e = CreateExpression(TString(text));
        EXPECT_GE(e.count, 0) << text;
        EXPRVALUE value = EvaluateExpression(e, false, nullptr);
        FreeExpression(e);
        return value;
    }

    static int64_t Int(const std::string& text) {
        const EXPRVALUE value = Evaluate(text);
        EXPECT_EQ(value.kind, ekInteger) << text;
        return value.value.integer;
    }

    static std::string Text(const std::string& text) {
        const EXPRVALUE value = Evaluate(text);
        EXPECT_EQ(value.kind, ekOwnedText) << text;
        return value.text.str();
    }

    // A 1-D string array variable holding those strings.
    static void StringArray(const char* name, std::initializer_list<const char*> strings) {
        Variables.NewArray(name, vtString, true);
        TStringContainer lines;
        for (const char* s : strings) lines.Add(TString(s));
        Variables.FillStringArray(name, lines);
    }

    static std::vector<std::string> ArrayStrings(const char* name) {
        std::vector<std::string> strings;
        const int count = Variables.GetArrayCount(name);
        for (int k = 0; k < count; ++k) strings.push_back(static_cast<TString*>(Variables.GetArrayItem(name, k))->str());
        return strings;
    }
};

TEST_F(ScriptDialogsTest, FirstWindowIsZeroNextControlOneAndParentsMustBeWindows) {
    EXPECT_EQ(Int("NewDialog(10, 20, 300, 200, 'Ask')"), 0);
    EXPECT_EQ(Int("NewButton(0, 10, 10, 75, 25, 'OK', 1)"), 1);
    EXPECT_EQ(Int("NewLabel(1, 5, 5, 'on a button')"), 0);
    EXPECT_EQ(Int("NewEdit(9, 0, 0, 10, 10)"), 0);
    EXPECT_EQ(ComponentInfos()->GetCount(), 2);

    TForm* form = FindScriptDialog(0);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->GetOwner(), nullptr);
    EXPECT_EQ(form->GetBorderStyle(), bsDialog);
    EXPECT_EQ(form->GetBoundsRect().left, 10);
    EXPECT_EQ(form->GetBoundsRect().bottom, 220);
    EXPECT_EQ(form->GetCaption(), "Ask");
    TButton* button = Registered<TButton>(1);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->GetTag(), 1);
    EXPECT_EQ(button->GetOwner(), form);
    EXPECT_EQ(button->GetParent(), form);
    EXPECT_EQ(button->GetModalResult(), mrOk);
    EXPECT_EQ(button->GetCaption(), "OK");
}

TEST_F(ScriptDialogsTest, EachCreatingFunctionMakesItsControlOnTheWindow) {
    ASSERT_EQ(Int("NewDialog(0, 0, 400, 300, 'All')"), 0);
    const struct {
        const char* call;
        const char* className;
    } cases[] = {
        {"NewLabel(0, 1, 2, 'Name')", "TLabel"},
        {"NewEdit(0, 1, 2, 50, 20)", "TEdit"},
        {"NewMemo(0, 1, 2, 50, 20)", "TMemo"},
        {"NewButton(0, 1, 2, 50, 20, 'Go', 2)", "TButton"},
        {"NewCheckBox(0, 1, 2, 'Check')", "TCheckBox"},
        {"NewRadioButton(0, 1, 2, 'Radio')", "TRadioButton"},
        {"NewListBox(0, 1, 2, 50, 20)", "TListBox"},
        {"NewComboBox(0, 1, 2, 50, 20, 0)", "TComboBox"},
        {"NewScrollBar(0, 1, 2, 16, 100, 1)", "TScrollBar"},
        {"NewProcessBar(0, 1, 2, 50, 20)", "TProcessBar"},
    };
    int expectedId = 1;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.call);
        const int id = static_cast<int>(Int(c.call));
        EXPECT_EQ(id, expectedId++);
        TControl* control = Registered<TControl>(id);
        ASSERT_NE(control, nullptr);
        EXPECT_STREQ(control->ClassName(), c.className);
        EXPECT_EQ(control->GetParent(), FindScriptDialog(0));
        EXPECT_EQ(control->GetLeft(), 1);
        EXPECT_EQ(control->GetTop(), 2);
    }
    // A vertical bar keeps the bounds it was given.
    TScrollBar* bar = Registered<TScrollBar>(9);
    EXPECT_EQ(bar->GetKind(), sbVertical);
    EXPECT_EQ(bar->GetWidth(), 16);
    EXPECT_EQ(bar->GetHeight(), 100);
    // Check boxes are as wide as their caption and 16 more.
    const int shortBox = static_cast<int>(Int("NewCheckBox(0, 1, 2, 'A')"));
    const int longBox = static_cast<int>(Int("NewCheckBox(0, 1, 2, 'A much longer caption')"));
    EXPECT_GT(Registered<TCheckBox>(shortBox)->GetWidth(), 16);
    EXPECT_GT(Registered<TCheckBox>(longBox)->GetWidth(), Registered<TCheckBox>(shortBox)->GetWidth() + 50);
    EXPECT_EQ(Registered<TComboBox>(8)->GetStyle(), csDropDown);
    EXPECT_EQ(Registered<TComboBox>(static_cast<int>(Int("NewComboBox(0, 1, 2, 50, 20, 1)")))->GetStyle(),
              csDropDownList);
}

TEST_F(ScriptDialogsTest, TextAndLinesPerControlClass) {
    ASSERT_EQ(Int("NewDialog(0, 0, 400, 300, 'Lines')"), 0);
    const int edit = static_cast<int>(Int("NewEdit(0, 0, 0, 80, 20)"));
    const int memo = static_cast<int>(Int("NewMemo(0, 0, 30, 80, 60)"));
    const int list = static_cast<int>(Int("NewListBox(0, 100, 0, 80, 60)"));
    const int editable = static_cast<int>(Int("NewComboBox(0, 200, 0, 80, 20, 0)"));
    const int listOnly = static_cast<int>(Int("NewComboBox(0, 200, 40, 80, 20, 1)"));
    const int label = static_cast<int>(Int("NewLabel(0, 0, 100, 'Caption')"));
    StringArray("two", {"first", "second"});
    StringArray("out", {"untouched"});
    const std::string at = ", ";

    // Only an edit takes a text.
    EXPECT_EQ(Int("SetControlText(" + std::to_string(edit) + at + "'typed')"), 1);
    EXPECT_EQ(Text("GetControlText(" + std::to_string(edit) + ")"), "typed");
    EXPECT_EQ(Int("SetControlText(" + std::to_string(memo) + at + "'no')"), 0);
    EXPECT_EQ(Text("GetControlText(" + std::to_string(label) + ")"), "");

    // A memo with two lines reads back as both, each with its line break.
    EXPECT_EQ(Int("SetControlLines(" + std::to_string(memo) + at + "two)"), 1);
    EXPECT_EQ(Text("GetControlText(" + std::to_string(memo) + ")"), "first\r\nsecond\r\n");
    EXPECT_EQ(Int("GetControlLines(" + std::to_string(memo) + at + "out)"), 0);
    EXPECT_EQ(ArrayStrings("out"), (std::vector<std::string>{"first", "second"}));

    // A list box: empty text and -1 without a selection, the item with one.
    EXPECT_EQ(Int("SetControlLines(" + std::to_string(list) + at + "two)"), 1);
    EXPECT_EQ(Text("GetControlText(" + std::to_string(list) + ")"), "");
    EXPECT_EQ(Int("GetControlInt(" + std::to_string(list) + ")"), -1);
    Int("SetControlInt(" + std::to_string(list) + at + "1)");
    EXPECT_EQ(Text("GetControlText(" + std::to_string(list) + ")"), "second");
    EXPECT_EQ(Int("GetControlInt(" + std::to_string(list) + ")"), 1);

    // Combo boxes: items replaced; list-only gives the selection, editable its text.
    Registered<TComboBox>(listOnly)->GetItems()->Add("old");
    EXPECT_EQ(Int("SetControlLines(" + std::to_string(listOnly) + at + "two)"), 1);
    EXPECT_EQ(Registered<TComboBox>(listOnly)->GetItems()->GetText(), "first\r\nsecond\r\n");
    EXPECT_EQ(Text("GetControlText(" + std::to_string(listOnly) + ")"), "");
    Int("SetControlInt(" + std::to_string(listOnly) + at + "0)");
    EXPECT_EQ(Text("GetControlText(" + std::to_string(listOnly) + ")"), "first");
    Registered<TComboBox>(editable)->SetText("free text");
    EXPECT_EQ(Text("GetControlText(" + std::to_string(editable) + ")"), "free text");

    // Other controls: lines neither set nor read.
    EXPECT_EQ(Int("SetControlLines(" + std::to_string(label) + at + "two)"), 0);
    StringArray("kept", {"a", "b", "c"});
    Int("GetControlLines(" + std::to_string(edit) + at + "kept)");
    EXPECT_EQ(ArrayStrings("kept"), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(Int("GetControlInt(" + std::to_string(edit) + ")"), 0);
}

TEST_F(ScriptDialogsTest, ShowDialogGivesTheClickedButtonsResult) {
    ASSERT_EQ(Int("NewDialog(50, 50, 300, 150, 'Sure?')"), 0);
    const int yes = static_cast<int>(Int("NewButton(0, 10, 80, 75, 25, 'Yes', 6)"));
    Int("NewButton(0, 100, 80, 75, 25, 'No', 7)");
    std::string seen;
    win32::ScopedResponder responder([&](const win32::ModalInteraction& interaction) {
        seen = interaction.caption;
        HWND button = Registered<TButton>(yes)->GetHandle();
        PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        return win32::ModalReply::Run();
    });
    EXPECT_EQ(Int("ShowDialog(0)"), mrYes);
    EXPECT_EQ(seen, "Sure?");
    EXPECT_FALSE(FindScriptDialog(0)->GetVisible());
    // Controls and unknown ids are not windows.
    EXPECT_EQ(Int("ShowDialog(" + std::to_string(yes) + ")"), -1);
    EXPECT_EQ(Int("ShowDialog(77)"), -1);
}

TEST_F(ScriptDialogsTest, ReleaseDialogFreesIdsAndRemovesByControl) {
    ASSERT_EQ(Int("NewDialog(0, 0, 200, 100, 'A')"), 0);
    ASSERT_EQ(Int("NewButton(0, 0, 0, 50, 20, 'a', 1)"), 1);
    ASSERT_EQ(Int("NewDialog(0, 0, 200, 100, 'B')"), 2);
    ASSERT_EQ(Int("NewEdit(2, 0, 0, 50, 20)"), 3);
    // B's edit is registered once more under A's button's id, as a dialog text may do.
    TEdit* edit = Registered<TEdit>(3);
    ComponentInfos()->AddComponent(edit, 1);

    EXPECT_EQ(Int("ReleaseDialog(1)"), 0);
    EXPECT_EQ(Int("ReleaseDialog(2)"), 1);
    EXPECT_EQ(ComponentInfos()->GetCount(), 2);
    EXPECT_NE(Registered<TButton>(1), nullptr);
    EXPECT_EQ(Int("ReleaseDialog(2)"), 0);

    // The freed ids are handed out first again.
    EXPECT_EQ(Int("NewDialog(0, 0, 200, 100, 'C')"), 2);
    EXPECT_EQ(Int("NewLabel(2, 0, 0, 'c')"), 3);
    EXPECT_EQ(Int("NewLabel(2, 0, 20, 'd')"), 4);
}

TEST_F(ScriptDialogsTest, ComponentsDestroyedOtherwiseLeaveTheRegistry) {
    ASSERT_EQ(Int("NewDialog(0, 0, 200, 100, 'A')"), 0);
    ASSERT_EQ(Int("NewListBox(0, 0, 0, 50, 50)"), 1);
    ASSERT_EQ(Int("NewEdit(0, 0, 60, 50, 20)"), 2);
    delete Registered<TListBox>(1);
    EXPECT_EQ(ComponentInfos()->GetComponent(1), nullptr);
    EXPECT_EQ(Int("GetControlInt(1)"), 0);
    EXPECT_EQ(Int("NewLabel(0, 0, 0, 'x')"), 1);
    delete FindScriptDialog(0);
    EXPECT_EQ(ComponentInfos()->GetCount(), 0);
    EXPECT_EQ(Text("GetControlText(2)"), "");
}

TEST_F(ScriptDialogsTest, AScriptBuildsReadsAndReleasesADialog) {
    TStringContainer source;
    for (const char* line : {"int d = NewDialog(0, 0, 200, 100, 'Script')", "int e = NewEdit(d, 5, 5, 100, 20)",
                             "int set = SetControlText(e, 'from the script')", "string t = GetControlText(e)",
                             "int gone = ReleaseDialog(d)"})
        source.Add(TString(line));
    TProgram program;
    TStringContainer directories;
    TUnitSubsList units;
    ASSERT_TRUE(KRO_Compile(source, program, directories, units)) << KRO_ErrorCode << " line " << KRO_ErrorLine;
    KRO_Run(program, false);
    EXPECT_EQ(Variables.GetVar("d")->value.i, 0);
    EXPECT_EQ(Variables.GetVar("e")->value.i, 1);
    EXPECT_EQ(Variables.GetVar("set")->value.i, 1);
    EXPECT_EQ(Variables.GetVar("t")->value.s->str(), "from the script");
    EXPECT_EQ(Variables.GetVar("gone")->value.i, 1);
    EXPECT_EQ(ComponentInfos()->GetCount(), 0);
}

}  // namespace
