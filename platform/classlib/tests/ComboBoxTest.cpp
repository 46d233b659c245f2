// TComboBox: the dropped list by keys and mouse, selection events, the edit
// field of csDropDown, owner drawing and its form-resource properties.
#include <string>
#include <vector>

#include "ComboBox.h"
#include "ControlFixture.h"
#include "PropertyTable.h"
#include "Registration.h"

namespace {

class ComboBoxTest : public ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        combo = new TComboBox(host);
        combo->SetBounds(10, 10, 120, 21);
        combo->SetParent(host);
        for (const char* name : {"Red", "Green", "Blue", "Black", "White"}) combo->GetItems()->Add(name);
        combo->OnChange = [this](TObject*) { events.push_back("change:" + combo->GetText()); };
        combo->OnClick = [this](TObject*) { events.push_back("click:" + std::to_string(combo->GetItemIndex())); };
        combo->SetFocus();
        driver.PumpUntilIdle();
    }
    HWND Window() { return combo->GetHandle(); }
    HWND ListWindow() { return combo->GetDropList() ? combo->GetDropList()->GetHandle() : nullptr; }

    TComboBox* combo = nullptr;
    std::vector<std::string> events;
};

TEST_F(ComboBoxTest, ArrowsSelectWhileClosed) {
    combo->SetStyle(csDropDownList);
    driver.Press(VK_DOWN);
    driver.Press(VK_DOWN);
    driver.Press(VK_UP);
    EXPECT_EQ(combo->GetItemIndex(), 0);
    EXPECT_EQ(combo->GetText(), "Red");
    EXPECT_EQ(events, (std::vector<std::string>{"click:0", "change:Red", "click:1", "change:Green", "click:0",
                                                "change:Red"}));
    EXPECT_FALSE(combo->GetDroppedDown());
}

TEST_F(ComboBoxTest, KeyboardDropsMovesAndChoosesOrCancels) {
    combo->SetStyle(csDropDownList);
    combo->SetItemIndex(1);
    driver.Press(VK_F4);
    ASSERT_TRUE(combo->GetDroppedDown());
    ASSERT_NE(ListWindow(), nullptr);
    EXPECT_TRUE(IsWindowVisible(ListWindow()));
    EXPECT_EQ(GetFocus(), Window());  // the list never takes the focus
    driver.Press(VK_DOWN);
    driver.Press(VK_DOWN);
    EXPECT_EQ(combo->GetItemIndex(), 1);  // only the highlight moves
    EXPECT_TRUE(events.empty());
    driver.Press(VK_RETURN);
    EXPECT_FALSE(combo->GetDroppedDown());
    EXPECT_EQ(combo->GetItemIndex(), 3);
    EXPECT_EQ(events, (std::vector<std::string>{"click:3", "change:Black"}));

    events.clear();
    driver.Press({VK_MENU}, VK_DOWN);
    ASSERT_TRUE(combo->GetDroppedDown());
    driver.Press(VK_UP);
    driver.Press(VK_ESCAPE);
    EXPECT_FALSE(combo->GetDroppedDown());
    EXPECT_EQ(combo->GetItemIndex(), 3);
    EXPECT_TRUE(events.empty());
}

TEST_F(ComboBoxTest, MouseDropsChoosesAndClosesOutside) {
    combo->SetStyle(csDropDownList);
    int opened = 0, closed = 0;
    combo->OnDropDown = [&](TObject*) { ++opened; };
    combo->OnCloseUp = [&](TObject*) { ++closed; };
    driver.Click(Window(), 20, 8);
    ASSERT_TRUE(combo->GetDroppedDown());
    int height = combo->GetItemHeight();
    driver.MoveMouse(ListWindow(), 20, height * 2 + 2);
    driver.Click(ListWindow(), 20, height * 2 + 2);
    EXPECT_FALSE(combo->GetDroppedDown());
    EXPECT_EQ(combo->GetItemIndex(), 2);
    EXPECT_EQ(events, (std::vector<std::string>{"click:2", "change:Blue"}));

    driver.Click(Window(), combo->GetClientWidth() - 4, 8);  // the button
    ASSERT_TRUE(combo->GetDroppedDown());
    driver.Click(host->GetHandle(), 190, 140);  // elsewhere
    EXPECT_FALSE(combo->GetDroppedDown());
    EXPECT_EQ(combo->GetItemIndex(), 2);
    EXPECT_EQ(opened, 2);
    EXPECT_EQ(closed, 2);
}

TEST_F(ComboBoxTest, ListShowsDropDownCountRowsBelowTheBox) {
    combo->SetDropDownCount(3);
    combo->SetDroppedDown(true);
    RECT box{}, list{};
    GetWindowRect(Window(), &box);
    GetWindowRect(ListWindow(), &list);
    EXPECT_EQ(list.top, box.bottom);
    EXPECT_EQ(list.left, box.left);
    EXPECT_EQ(list.bottom - list.top, 3 * combo->GetItemHeight() + 2);
    // Losing the focus closes the list.
    host->SetFocus();
    EXPECT_FALSE(combo->GetDroppedDown());
    EXPECT_EQ(combo->GetDropList(), nullptr);
}

TEST_F(ComboBoxTest, TheListKeepsOpenWhenAWindowManagerActivatesIt) {
    combo->SetDroppedDown(true);
    SetActiveWindow(ListWindow());  // as a desktop does for a newly shown window
    driver.PumpUntilIdle();
    EXPECT_TRUE(combo->GetDroppedDown());
    EXPECT_EQ(GetFocus(), Window());
    driver.Press(VK_ESCAPE);
    EXPECT_FALSE(combo->GetDroppedDown());
}

TEST_F(ComboBoxTest, EditFieldTypesAndFollowsMatchingItem) {
    driver.Type("Gre");
    EXPECT_EQ(combo->GetText(), "Gre");
    EXPECT_EQ(combo->GetItemIndex(), -1);
    driver.Type("en");
    EXPECT_EQ(combo->GetItemIndex(), 1);
    driver.Press(VK_BACK);
    EXPECT_EQ(combo->GetText(), "Gree");
    driver.Press(VK_HOME);
    driver.Press({VK_SHIFT}, VK_RIGHT);
    driver.Type("T");
    EXPECT_EQ(combo->GetText(), "Tree");
    EXPECT_EQ(events.back(), "change:Tree");
    EXPECT_EQ(events.size(), 7u);
    combo->SetMaxLength(5);
    driver.Press(VK_END);
    driver.Type("house");
    EXPECT_EQ(combo->GetText(), "Treeh");
    // Arrows still select items, which replaces the text.
    driver.Press(VK_DOWN);
    EXPECT_EQ(combo->GetText(), "Red");
}

TEST_F(ComboBoxTest, KeysClearedByTheEventsAreIgnored) {
    combo->OnKeyPress = [](TObject*, char& key) {
        if (key == 'x') key = 0;
    };
    combo->OnKeyDown = [](TObject*, WORD& key, TShiftState) {
        if (key == VK_DOWN) key = 0;
    };
    driver.Type("axb");
    EXPECT_EQ(combo->GetText(), "ab");
    driver.Press(VK_DOWN);
    EXPECT_EQ(combo->GetItemIndex(), -1);
}

TEST_F(ComboBoxTest, ItemsAndTextStayConsistent) {
    combo->SetStyle(csDropDownList);
    combo->SetText("blue");
    EXPECT_EQ(combo->GetItemIndex(), 2);
    EXPECT_EQ(combo->GetText(), "Blue");
    combo->SetText("Purple");
    EXPECT_EQ(combo->GetItemIndex(), -1);
    EXPECT_EQ(combo->GetText(), "");
    combo->SetItemIndex(4);
    combo->GetItems()->Delete(4);
    EXPECT_EQ(combo->GetItemIndex(), -1);
    EXPECT_EQ(combo->GetText(), "");
    combo->SetItemIndex(99);
    EXPECT_EQ(combo->GetItemIndex(), -1);
    // Sorting moves the selection with its item.
    combo->SetItemIndex(1);
    combo->SetSorted(true);
    EXPECT_EQ(combo->GetText(), "Green");
    EXPECT_EQ(combo->GetItemIndex(), 2);
    combo->SetSorted(false);
    // Editable: inserting items keeps the text (a history list grows under it).
    combo->SetStyle(csDropDown);
    combo->SetText("Cyan");
    combo->GetItems()->Insert(0, "Cyan");
    EXPECT_EQ(combo->GetText(), "Cyan");
    EXPECT_EQ(combo->GetItemIndex(), 0);
    EXPECT_TRUE(events.empty());
}

TEST_F(ComboBoxTest, TypedPrefixSelectsInTheListStyle) {
    combo->SetStyle(csDropDownList);
    driver.Type("b");
    EXPECT_EQ(combo->GetText(), "Blue");
    driver.Type("l");
    EXPECT_EQ(combo->GetText(), "Blue");
    driver.Type("a");
    EXPECT_EQ(combo->GetText(), "Black");
}

TEST_F(ComboBoxTest, OwnerDrawnItemsAreDrawnByTheEvent) {
    combo->SetStyle(csOwnerDrawFixed);
    combo->SetItemIndex(0);
    std::vector<std::string> drawn;
    combo->OnDrawItem = [&](TWinControl* control, int index, const RECT& rect, TOwnerDrawState state) {
        auto* box = static_cast<TComboBox*>(control);
        drawn.push_back((state.Contains(odComboBoxEdit) ? "field:" : "item:") + std::to_string(index));
        box->GetCanvas()->GetBrush()->SetColor(index == 0 ? clRed : clGreen);
        box->GetCanvas()->FillRect(rect);
    };
    combo->Repaint();
    EXPECT_EQ(drawn, std::vector<std::string>{"field:0"});
    EXPECT_EQ(driver.Pixel(Window(), 10, 8), ColorToRGB(clRed));
    drawn.clear();
    combo->SetDroppedDown(true);
    driver.PumpUntilIdle();
    EXPECT_EQ(drawn.size(), 6u);  // the field again and the five items
    EXPECT_EQ(driver.Pixel(ListWindow(), 10, combo->GetItemHeight() + 2), ColorToRGB(clGreen));
}

TEST_F(ComboBoxTest, PropertiesByName) {
    auto* made = dynamic_cast<TComboBox*>(CreateComponent("TComboBox", host));
    ASSERT_NE(made, nullptr);
    SetPropertyText(made, "Style", "csDropDownList");
    SetPropertyText(made, "Items", "a\r\nb\r\n");
    SetPropertyText(made, "ItemIndex", "1");
    SetPropertyText(made, "DropDownCount", "4");
    EXPECT_EQ(made->GetStyle(), csDropDownList);
    EXPECT_EQ(made->GetText(), "b");
    EXPECT_EQ(made->GetDropDownCount(), 4);
    EXPECT_EQ(GetPropertyText(made, "Style"), "csDropDownList");
    EXPECT_TRUE(IsPropertyDefault(made, "MaxLength"));
}

}  // namespace
