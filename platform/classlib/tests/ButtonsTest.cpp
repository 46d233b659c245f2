// TButton, TCheckBox and TRadioButton: mouse, space, Enter/Esc, accelerators,
// modal results, the check box's cycle and the radio buttons' exclusivity.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Buttons.h"
#include "Forms.h"
#include "PropertyTable.h"
#include "Responder.h"
#include "display/TestDriver.h"

namespace {

class ButtonsTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = new TForm(nullptr, 0);
        form->SetBounds(50, 50, 300, 200);
    }
    void TearDown() override { delete form; }
    // Keys go through the application's routing (dialog keys), as in a running program.
    void Press(std::initializer_list<UINT> modifiers, UINT key) {
        driver.SetAutoPump(false);
        driver.Press(modifiers, key);
        Application->ProcessMessages();
        driver.SetAutoPump(true);
    }
    template <class Control>
    Control* Add(int left, int top, const std::string& caption) {
        auto* control = new Control(form);
        control->SetParent(form);
        control->SetLeft(left);
        control->SetTop(top);
        control->SetCaption(caption);
        return control;
    }
    void ShowForm() {
        form->Show();
        driver.PumpUntilIdle();
    }

    win32::TestDriver driver;
    TForm* form = nullptr;
};

TEST_F(ButtonsTest, AButtonClicksByMouseSpaceAndEnterWhenFocused) {
    auto* button = Add<TButton>(10, 10, "&Go");
    auto* other = Add<TButton>(100, 10, "Other");
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    ShowForm();
    HWND window = button->GetHandle();
    driver.Click(window, 10, 10);
    EXPECT_EQ(1, clicks);
    EXPECT_TRUE(button->Focused());
    // A press released outside the button is no click.
    driver.Drag(window, 10, 10, 200, 10);
    EXPECT_EQ(1, clicks);
    Press({}, VK_SPACE);
    Press({}, VK_RETURN);
    EXPECT_EQ(3, clicks);
    other->SetFocus();
    Press({VK_MENU}, 'G');
    EXPECT_EQ(4, clicks);
    EXPECT_TRUE(button->Focused());
    button->SetEnabled(false);
    Press({VK_MENU}, 'G');
    EXPECT_EQ(4, clicks);
}

TEST_F(ButtonsTest, EnterPressesTheDefaultAndEscTheCancelButton) {
    auto* edit = Add<TCheckBox>(10, 10, "Option");
    auto* ok = Add<TButton>(10, 50, "OK");
    auto* cancel = Add<TButton>(100, 50, "Cancel");
    ok->SetDefault(true);
    cancel->SetCancel(true);
    std::vector<std::string> clicks;
    ok->OnClick = [&](TObject*) { clicks.push_back("ok"); };
    cancel->OnClick = [&](TObject*) { clicks.push_back("cancel"); };
    ShowForm();
    edit->SetFocus();
    Press({}, VK_RETURN);
    Press({}, VK_ESCAPE);
    // Another button with the focus takes Enter itself.
    cancel->SetFocus();
    Press({}, VK_RETURN);
    EXPECT_EQ((std::vector<std::string>{"ok", "cancel", "cancel"}), clicks);
}

TEST_F(ButtonsTest, AButtonWithAModalResultEndsAModalForm) {
    auto* ok = Add<TButton>(10, 50, "OK");
    ok->SetModalResult(mrOk);
    ok->SetDefault(true);
    win32::ScopedResponder responder([](const win32::ModalInteraction& interaction) {
        PostMessageA(interaction.window, WM_KEYDOWN, VK_RETURN, 1);
        return win32::ModalReply::Run();
    });
    EXPECT_EQ(mrOk, form->ShowModal());
}

TEST_F(ButtonsTest, ACheckBoxCyclesThroughItsStates) {
    auto* box = Add<TCheckBox>(10, 10, "Check");
    int clicks = 0;
    box->OnClick = [&](TObject*) { ++clicks; };
    ShowForm();
    HWND window = box->GetHandle();
    driver.Click(window, 5, 8);
    EXPECT_TRUE(box->GetChecked());
    Press({}, VK_SPACE);
    EXPECT_EQ(cbUnchecked, box->GetState());
    box->SetAllowGrayed(true);
    std::vector<TCheckBoxState> states;
    for (int i = 0; i < 3; ++i) {
        Press({}, VK_SPACE);
        states.push_back(box->GetState());
    }
    EXPECT_EQ((std::vector<TCheckBoxState>{cbChecked, cbGrayed, cbUnchecked}), states);
    EXPECT_EQ(5, clicks);
    // Code changes run OnClick too; setting the same state does not.
    box->SetChecked(true);
    box->SetChecked(true);
    EXPECT_EQ(6, clicks);
    // A cleared space does nothing.
    box->OnKeyDown = [](TObject*, WORD& key, TShiftState) { key = 0; };
    Press({}, VK_SPACE);
    EXPECT_TRUE(box->GetChecked());
}

TEST_F(ButtonsTest, ACheckBoxDrawsItsMark) {
    auto* box = Add<TCheckBox>(10, 10, "Check");
    ShowForm();
    HWND window = box->GetHandle();
    auto darkPixels = [&] {
        int count = 0;
        for (int y = 2; y < 13; ++y)
            for (int x = 2; x < 11; ++x)
                if (driver.Pixel(window, x, y) == RGB(0, 0, 0)) ++count;
        return count;
    };
    int empty = darkPixels();
    box->SetChecked(true);
    driver.PumpUntilIdle();
    EXPECT_GT(darkPixels(), empty + 10);
}

TEST_F(ButtonsTest, RadioButtonsOfAParentExcludeEachOtherAndFollowTheArrows) {
    auto* first = Add<TRadioButton>(10, 10, "First");
    auto* second = Add<TRadioButton>(10, 30, "Second");
    auto* third = Add<TRadioButton>(10, 50, "Third");
    auto* after = Add<TButton>(10, 80, "After");
    ShowForm();
    driver.Click(second->GetHandle(), 5, 8);
    EXPECT_TRUE(second->GetChecked());
    EXPECT_FALSE(first->GetChecked());
    Press({}, VK_DOWN);
    EXPECT_TRUE(third->Focused());
    EXPECT_TRUE(third->GetChecked());
    EXPECT_FALSE(second->GetChecked());
    Press({}, VK_DOWN);  // wraps round
    EXPECT_TRUE(first->GetChecked());
    // Only the checked button is a tab stop: Tab leaves the group.
    Press({}, VK_TAB);
    EXPECT_TRUE(after->Focused());
    Press({VK_SHIFT}, VK_TAB);
    EXPECT_TRUE(first->Focused());
    third->SetChecked(true);
    EXPECT_FALSE(first->GetChecked());
}

TEST_F(ButtonsTest, PropertiesGoThroughTheTables) {
    auto* button = Add<TButton>(10, 10, "B");
    SetPropertyText(button, "ModalResult", "mrCancel");
    SetPropertyText(button, "Default", "True");
    EXPECT_EQ(mrCancel, button->GetModalResult());
    EXPECT_TRUE(button->GetDefault());
    EXPECT_EQ("mrCancel", GetPropertyText(button, "ModalResult"));
    auto* box = Add<TCheckBox>(10, 40, "C");
    SetPropertyText(box, "State", "cbGrayed");
    EXPECT_EQ(cbGrayed, box->GetState());
    EXPECT_TRUE(IsPropertyDefault(box, "Checked") || !FindPropertyInfo(box, "Checked")->stored(box));
}

}  // namespace
