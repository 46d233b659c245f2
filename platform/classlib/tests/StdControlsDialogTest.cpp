// A dialog read from a form resource with one of each standard control,
// worked from the keyboard alone and with the mouse; on request it is also
// saved as a picture (SUITE_SCREENSHOT=<file.bmp>, for a look under a real display).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "Forms.h"
#include "Responder.h"
#include "StdCtrls.h"
#include "Streaming.h"
#include "display/TestDriver.h"
#include "display/WindowPicture.h"

namespace {

// The dialog of resource TSTDCONTROLSDIALOG.
class TStdControlsDialog : public TForm {
    CLASSLIB_CLASS(TStdControlsDialog, TForm)

public:
    explicit TStdControlsDialog(TComponent* owner) : TForm(owner) {
        LoadStoredLayout();
    }
    std::any FindHandler(const std::string& name) override;

    template <class Control>
    Control* Find(const char* name) {
        auto* control = dynamic_cast<Control*>(FindComponent(name));
        EXPECT_NE(nullptr, control) << name;
        return control;
    }

    void BoldClick(TObject*) { ++boldClicks; }
    int boldClicks = 0;
};

const THandlerEntry kDialogHandlers[] = {CLASSLIB_HANDLER(TStdControlsDialog, BoldClick)};
std::any TStdControlsDialog::FindHandler(const std::string& name) {
    return BindHandler(kDialogHandlers, this, name.c_str());
}

class StdControlsDialogTest : public ::testing::Test {
protected:
    void SetUp() override { dialog = new TStdControlsDialog(nullptr); }
    void TearDown() override { delete dialog; }
    // Keys go through the application's routing, as in a running program.
    void Press(std::initializer_list<UINT> modifiers, UINT key) {
        driver.SetAutoPump(false);
        driver.Press(modifiers, key);
        Application->ProcessMessages();
        driver.SetAutoPump(true);
    }
    void Press(UINT key) { Press({}, key); }
    void Type(const std::string& text) {
        driver.SetAutoPump(false);
        driver.Type(text);
        Application->ProcessMessages();
        driver.SetAutoPump(true);
    }
    TWinControl* Focused() { return TWinControl::FindControl(GetFocus()); }

    win32::TestDriver driver;
    TStdControlsDialog* dialog = nullptr;
};

TEST_F(StdControlsDialogTest, TheResourceMakesEveryControlWithItsProperties) {
    EXPECT_EQ("Text Settings", dialog->GetCaption());
    EXPECT_EQ(2, dialog->Find<TMemo>("NotesMemo")->GetLines()->GetCount());
    EXPECT_EQ(40, dialog->Find<TEdit>("NameEdit")->GetMaxLength());
    EXPECT_EQ(0, dialog->Find<TRadioGroup>("ColorGroup")->GetItemIndex());
    EXPECT_EQ(3, dialog->Find<TRadioGroup>("ColorGroup")->GetColumns());
    EXPECT_TRUE(dialog->Find<TRadioButton>("LeftRadio")->GetChecked());
    EXPECT_EQ(100, dialog->Find<TScrollBar>("ZoomBar")->GetPosition());
    EXPECT_EQ(1, dialog->Find<TComboBox>("SizeCombo")->GetItemIndex());
    EXPECT_EQ(3, dialog->Find<TListBox>("FontList")->GetItems()->GetCount());
    EXPECT_EQ(bsTopLine, dialog->Find<TBevel>("Divider")->GetShape());
    EXPECT_EQ(bvLowered, dialog->Find<TPanel>("StatusPanel")->GetBevelOuter());
    EXPECT_EQ(dialog->Find<TEdit>("NameEdit"), dialog->Find<TLabel>("NameLabel")->GetFocusControl());
    // Loading ran no OnClick of the check box.
    EXPECT_EQ(0, dialog->boldClicks);
    // What is written reads back into the same controls.
    std::string written = WriteComponentText(dialog);
    auto* copy = new TStdControlsDialog(nullptr);
    copy->DestroyComponents();
    ReadComponentText(copy, written);
    EXPECT_EQ(written, WriteComponentText(copy));
    delete copy;
}

TEST_F(StdControlsDialogTest, EveryControlWorksFromTheKeyboardAlone) {
    dialog->Show();
    driver.PumpUntilIdle();
    auto* nameEdit = dialog->Find<TEdit>("NameEdit");
    EXPECT_EQ(nameEdit, Focused());
    Type("Ada");
    Press(VK_TAB);
    EXPECT_EQ(dialog->Find<TMemo>("NotesMemo"), Focused());
    Press({VK_CONTROL}, VK_END);
    Press(VK_RETURN);  // the memo keeps Enter
    Type("Third");
    Press(VK_TAB);
    EXPECT_EQ(dialog->Find<TCheckBox>("BoldCheck"), Focused());
    Press(VK_SPACE);
    Press(VK_TAB);
    auto* colors = dialog->Find<TRadioGroup>("ColorGroup");
    EXPECT_EQ(colors->Button(0), Focused());
    Press(VK_RIGHT);
    Press(VK_TAB);
    EXPECT_EQ(dialog->Find<TComboBox>("SizeCombo"), Focused());
    Press(VK_DOWN);
    Press(VK_TAB);
    EXPECT_EQ(dialog->Find<TListBox>("FontList"), Focused());
    Press(VK_DOWN);
    Press(VK_DOWN);
    Press(VK_TAB);
    EXPECT_EQ(dialog->Find<TRadioButton>("LeftRadio"), Focused());
    Press(VK_DOWN);
    Press(VK_TAB);
    EXPECT_EQ(dialog->Find<TScrollBar>("ZoomBar"), Focused());
    Press(VK_RIGHT);
    Press(VK_NEXT);
    Press(VK_TAB);
    EXPECT_EQ(dialog->Find<TButton>("OkButton"), Focused());
    Press({VK_MENU}, 'N');
    EXPECT_EQ(nameEdit, Focused());

    EXPECT_EQ("Ada", nameEdit->GetText());
    EXPECT_EQ("First line\r\nSecond line\r\nThird", dialog->Find<TMemo>("NotesMemo")->GetText());
    EXPECT_TRUE(dialog->Find<TCheckBox>("BoldCheck")->GetChecked());
    EXPECT_EQ(1, dialog->boldClicks);
    EXPECT_EQ(1, colors->GetItemIndex());
    EXPECT_EQ(2, dialog->Find<TComboBox>("SizeCombo")->GetItemIndex());
    EXPECT_GE(dialog->Find<TListBox>("FontList")->GetItemIndex(), 1);
    EXPECT_TRUE(dialog->Find<TRadioButton>("RightRadio")->GetChecked());
    EXPECT_FALSE(dialog->Find<TRadioButton>("LeftRadio")->GetChecked());
    EXPECT_EQ(111, dialog->Find<TScrollBar>("ZoomBar")->GetPosition());

    // Enter presses the default button, Esc the cancel button.
    Press(VK_RETURN);
    EXPECT_EQ(mrOk, dialog->GetModalResult());
    Press(VK_ESCAPE);
    EXPECT_EQ(mrCancel, dialog->GetModalResult());
    // Space on a focused button presses it.
    dialog->Find<TButton>("OkButton")->SetFocus();
    Press(VK_SPACE);
    EXPECT_EQ(mrOk, dialog->GetModalResult());
}

TEST_F(StdControlsDialogTest, EveryControlWorksWithTheMouse) {
    dialog->Show();
    driver.PumpUntilIdle();
    auto clickOn = [&](TWinControl* control, int x, int y) { driver.Click(control->GetHandle(), x, y); };
    auto* nameEdit = dialog->Find<TEdit>("NameEdit");
    clickOn(dialog->Find<TMemo>("NotesMemo"), 100, 10);
    EXPECT_EQ(dialog->Find<TMemo>("NotesMemo"), Focused());
    clickOn(nameEdit, 20, 10);
    Type("Bob");
    EXPECT_EQ("Bob", nameEdit->GetText());
    clickOn(dialog->Find<TCheckBox>("BoldCheck"), 6, 8);
    EXPECT_TRUE(dialog->Find<TCheckBox>("BoldCheck")->GetChecked());
    auto* colors = dialog->Find<TRadioGroup>("ColorGroup");
    clickOn(colors->Button(2), 6, 8);
    EXPECT_EQ(2, colors->GetItemIndex());
    auto* list = dialog->Find<TListBox>("FontList");
    clickOn(list, 20, 3 + list->GetItemHeight() * 2);
    EXPECT_EQ(2, list->GetItemIndex());
    clickOn(dialog->Find<TRadioButton>("RightRadio"), 6, 8);
    EXPECT_TRUE(dialog->Find<TRadioButton>("RightRadio")->GetChecked());
    auto* zoom = dialog->Find<TScrollBar>("ZoomBar");
    clickOn(zoom, zoom->GetWidth() - 5, 8);
    EXPECT_EQ(101, zoom->GetPosition());
    clickOn(dialog->Find<TButton>("CancelButton"), 30, 12);
    EXPECT_EQ(mrCancel, dialog->GetModalResult());
}

TEST_F(StdControlsDialogTest, AModalRunEndsWithTheButtonEnterPresses) {
    win32::ScopedResponder responder([](const win32::ModalInteraction& interaction) {
        PostMessageA(interaction.window, WM_KEYDOWN, VK_RETURN, 1);
        return win32::ModalReply::Run();
    });
    EXPECT_EQ(mrOk, dialog->ShowModal());
}

// ---- The picture for a look under a real display ----

TEST(StdControlsDialogPicture, SavedWhenAsked) {
    const char* path = std::getenv("SUITE_SCREENSHOT");
    if (!path) GTEST_SKIP() << "SUITE_SCREENSHOT names no file";
    auto* dialog = new TStdControlsDialog(nullptr);
    dialog->Show();
    dialog->Find<TEdit>("NameEdit")->SetText("Ada Lovelace");
    dialog->Find<TEdit>("NameEdit")->SelectAll();
    dialog->Find<TCheckBox>("BoldCheck")->SetChecked(true);
    dialog->Find<TListBox>("FontList")->SetItemIndex(1);
    for (int i = 0; i < 20; ++i) Application->ProcessMessages();
    EXPECT_TRUE(win32::SaveWindowPicture(dialog->GetHandle(), path));
    delete dialog;
}

}  // namespace
