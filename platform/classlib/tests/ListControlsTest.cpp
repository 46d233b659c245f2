// The list, tab, list-view and menu controls and the file dialog together in
// a dialog made from a form resource, worked from the keyboard alone with the
// application's dialog-key routing.
#include <string>
#include <vector>

#include "Application.h"
#include "Buttons.h"
#include "ControlFixture.h"
#include "FileDialogs.h"
#include "Form.h"
#include "ListControls.h"
#include "Menus.h"
#include "Streaming.h"

namespace {

class TListControlsDialog : public TForm {
    CLASSLIB_CLASS(TListControlsDialog, TForm)

public:
    explicit TListControlsDialog(TComponent* owner) : TForm(owner) {
        LoadStoredLayout();
    }
    std::any FindHandler(const std::string& name) override {
        static const THandlerEntry handlers[] = {CLASSLIB_HANDLER(TListControlsDialog, PagesChange),
                                                 CLASSLIB_HANDLER(TListControlsDialog, SizeComboChange),
                                                 CLASSLIB_HANDLER(TListControlsDialog, FontListDblClick)};
        return BindHandler(handlers, this, name.c_str());
    }
    template <class Control>
    Control* Find(const char* name) {
        auto* found = dynamic_cast<Control*>(FindComponent(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    void PagesChange(TObject*) { events.push_back("pages"); }
    void SizeComboChange(TObject*) { events.push_back("size"); }
    void FontListDblClick(TObject*) { events.push_back("font"); }
    std::vector<std::string> events;
};

class ListControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        dialog = new TListControlsDialog(nullptr);
        dialog->Show();
        driver.PumpUntilIdle();
    }
    void TearDown() override { delete dialog; }
    // Keys go through the application's routing, as in a running program.
    void Press(std::initializer_list<UINT> modifiers, UINT key) {
        driver.SetAutoPump(false);
        driver.Press(modifiers, key);
        Application->ProcessMessages();
        driver.SetAutoPump(true);
    }
    void Press(UINT key) { Press({}, key); }
    TWinControl* Focused() { return TWinControl::FindControl(GetFocus()); }

    win32::TestDriver driver;
    TListControlsDialog* dialog = nullptr;
};

TEST_F(ListControlsTest, TheResourceMakesEveryControl) {
    auto* pages = dialog->Find<TPageControl>("Pages");
    ASSERT_EQ(pages->GetPageCount(), 2);
    EXPECT_EQ(pages->GetActivePage()->GetName(), "GeneralSheet");
    EXPECT_EQ(dialog->Find<TListBox>("FontList")->GetItems()->GetStrings(0), "Arial");
    EXPECT_EQ(dialog->Find<TComboBox>("SizeCombo")->GetText(), "10");
    EXPECT_EQ(dialog->Find<TListView>("FileView")->GetColumnFromIndex(1)->GetCaption(), "Size");
    EXPECT_EQ(dialog->Find<TTabControl>("Sections")->GetTabIndex(), 0);
    auto* popup = dialog->Find<TPopupMenu>("FilePopup");
    ASSERT_EQ(popup->GetItems()->GetCount(), 2);
    EXPECT_TRUE(popup->GetItems()->GetItem(1)->IsLine());
    auto* open = dialog->Find<TOpenDialog>("OpenDialog");
    EXPECT_TRUE(open->GetOptions().Contains(ofFileMustExist));
    EXPECT_EQ(open->GetDefaultExt(), "lst");
}

TEST_F(ListControlsTest, KeyboardAloneWorksEveryControl) {
    auto* list = dialog->Find<TListBox>("FontList");
    auto* combo = dialog->Find<TComboBox>("SizeCombo");
    auto* pages = dialog->Find<TPageControl>("Pages");
    list->SetFocus();
    Press(VK_DOWN);  // arrows stay in the list instead of moving the focus
    Press(VK_DOWN);
    EXPECT_EQ(list->GetItemIndex(), 1);
    EXPECT_EQ(list, Focused());
    Press(VK_TAB);
    EXPECT_EQ(combo, Focused());
    Press(VK_DOWN);
    EXPECT_EQ(combo->GetText(), "12");
    // Enter and Esc work the dropped list, not the dialog's buttons.
    Press({VK_MENU}, VK_DOWN);
    ASSERT_TRUE(combo->GetDroppedDown());
    Press(VK_DOWN);
    Press(VK_RETURN);
    EXPECT_FALSE(combo->GetDroppedDown());
    EXPECT_EQ(combo->GetText(), "14");
    EXPECT_EQ(dialog->GetModalResult(), mrNone);
    Press(VK_F4);
    Press(VK_ESCAPE);
    EXPECT_FALSE(combo->GetDroppedDown());
    EXPECT_EQ(dialog->GetModalResult(), mrNone);
    // Closed, Enter presses the default button.
    Press(VK_RETURN);
    EXPECT_EQ(dialog->GetModalResult(), mrOk);
    EXPECT_EQ(dialog->events, (std::vector<std::string>{"size", "size"}));
    // The page control changes pages by arrows and Ctrl+Tab when focused.
    pages->SetFocus();
    Press(VK_RIGHT);
    EXPECT_EQ(pages->GetActivePage()->GetName(), "ColumnsSheet");
    Press({VK_CONTROL}, VK_TAB);
    EXPECT_EQ(pages->GetActivePage()->GetName(), "GeneralSheet");
    EXPECT_FALSE(dialog->Find<TListView>("FileView")->IsShowing());
    Press(VK_ESCAPE);
    EXPECT_EQ(dialog->GetModalResult(), mrCancel);
}

}  // namespace
