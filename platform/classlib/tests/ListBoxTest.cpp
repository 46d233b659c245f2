// TListBox: selection by keys, mouse and typed prefix, scrolling, items
// changes and its form-resource properties.
#include <string>
#include <vector>

#include "ControlFixture.h"
#include "ListBox.h"
#include "PropertyTable.h"
#include "Registration.h"

namespace {

class ListBoxTest : public ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        list = new TListBox(host);
        list->SetBounds(10, 10, 120, 100);
        list->SetParent(host);
        for (const char* name : {"Apple", "Banana", "Blueberry", "Cherry", "Date", "Elder", "Fig", "Grape",
                                 "Hazel", "Kiwi", "Lemon", "Mango"})
            list->GetItems()->Add(name);
        list->OnClick = [this](TObject*) { clicks.push_back(list->GetItemIndex()); };
        list->SetFocus();
        driver.PumpUntilIdle();
    }
    HWND Window() { return list->GetHandle(); }

    TListBox* list = nullptr;
    std::vector<int> clicks;
};

TEST_F(ListBoxTest, NavigationKeysMoveTheSelectionAndClick) {
    struct Case {
        UINT key;
        int expected;
    };
    const int page = list->VisibleItemCount() - 1;
    const Case cases[] = {{VK_DOWN, 0}, {VK_DOWN, 1}, {VK_UP, 0}, {VK_UP, 0},         {VK_END, 11},
                          {VK_DOWN, 11}, {VK_HOME, 0}, {VK_NEXT, page}, {VK_PRIOR, 0}};
    std::vector<int> expectedClicks;
    int previous = -1;
    for (const Case& c : cases) {
        driver.Press(c.key);
        EXPECT_EQ(list->GetItemIndex(), c.expected) << "key " << c.key;
        if (c.expected != previous) expectedClicks.push_back(c.expected);
        previous = c.expected;
    }
    EXPECT_EQ(clicks, expectedClicks);
}

TEST_F(ListBoxTest, SelectionScrollsIntoViewAndTopIndexIsClamped) {
    int visible = list->VisibleItemCount();
    ASSERT_LT(visible, 12);
    driver.Press(VK_END);
    EXPECT_EQ(list->GetTopIndex(), 12 - visible);
    list->SetTopIndex(100);
    EXPECT_EQ(list->GetTopIndex(), 12 - visible);
    list->SetTopIndex(-3);
    EXPECT_EQ(list->GetTopIndex(), 0);
    driver.Wheel(Window(), 5, 5, -1);
    EXPECT_EQ(list->GetTopIndex(), 3);
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(Window(), SB_VERT, &info));
    EXPECT_EQ(info.nPos, 3);
    EXPECT_EQ(info.nMax, 11);
}

TEST_F(ListBoxTest, TypedPrefixSearchesAndRepeatedLetterCycles) {
    driver.Type("b");
    EXPECT_EQ(list->GetItemIndex(), 1);
    driver.Type("l");  // "bl"
    EXPECT_EQ(list->GetItemIndex(), 2);
    driver.Advance(1500);
    driver.Type("b");  // a new search after the pause, from the next item
    EXPECT_EQ(list->GetItemIndex(), 1);
    driver.Type("b");  // "bb" matches nothing: the letter steps on
    EXPECT_EQ(list->GetItemIndex(), 2);
    driver.Advance(1500);
    driver.Type("z");
    EXPECT_EQ(list->GetItemIndex(), 2);
}

TEST_F(ListBoxTest, MouseSelectsAndDoubleClickFires) {
    int doubleClicks = 0;
    list->OnDblClick = [&](TObject*) { ++doubleClicks; };
    int height = list->GetItemHeight();
    driver.Click(Window(), 10, height * 2 + 2);
    EXPECT_EQ(list->GetItemIndex(), 2);
    EXPECT_EQ(clicks, std::vector<int>{2});
    driver.DoubleClick(Window(), 10, height * 3 + 2);
    EXPECT_EQ(list->GetItemIndex(), 3);
    EXPECT_EQ(doubleClicks, 1);
    // Below the last item nothing changes.
    list->GetItems()->Clear();
    list->GetItems()->Add("Only");
    driver.Click(Window(), 10, height * 4);
    EXPECT_EQ(list->GetItemIndex(), -1);
}

TEST_F(ListBoxTest, ItemsChangesKeepTheSelectionValid) {
    list->SetItemIndex(11);
    list->GetItems()->Delete(11);
    EXPECT_EQ(list->GetItemIndex(), -1);
    list->SetItemIndex(50);
    EXPECT_EQ(list->GetItemIndex(), -1);
    list->SetItemIndex(3);
    list->GetItems()->Clear();
    EXPECT_EQ(list->GetItemIndex(), -1);
    EXPECT_EQ(list->GetTopIndex(), 0);
    driver.Press(VK_DOWN);  // nothing to select in an empty list
    EXPECT_EQ(list->GetItemIndex(), -1);
    EXPECT_TRUE(clicks.empty());
}

TEST_F(ListBoxTest, SortedKeepsOrderAndDuplicates) {
    list->GetItems()->Clear();
    list->SetSorted(true);
    for (const char* name : {"pear", "apple", "pear", "fig"}) list->GetItems()->Add(name);
    EXPECT_EQ(list->GetItems()->GetCommaText(), "apple,fig,pear,pear");
}

TEST_F(ListBoxTest, SelectedItemIsHighlighted) {
    list->SetItemIndex(1);
    driver.PumpUntilIdle();
    int height = list->GetItemHeight();
    EXPECT_EQ(driver.Pixel(Window(), 50, height + height / 2), ColorToRGB(clHighlight));
    EXPECT_EQ(driver.Pixel(Window(), 50, height / 2), ColorToRGB(clWindow));
}

TEST_F(ListBoxTest, PropertiesByName) {
    auto* made = dynamic_cast<TListBox*>(CreateComponent("TListBox", host));
    ASSERT_NE(made, nullptr);
    SetPropertyText(made, "Items", "one\r\ntwo\r\nthree\r\n");
    SetPropertyText(made, "ItemIndex", "2");
    EXPECT_EQ(made->GetItems()->GetCount(), 3);
    EXPECT_EQ(made->GetItemIndex(), 2);
    EXPECT_EQ(GetPropertyText(made, "Items"), "one\r\ntwo\r\nthree\r\n");
    EXPECT_TRUE(IsPropertyDefault(made, "Sorted"));
    EXPECT_FALSE(IsPropertyDefault(made, "ItemIndex"));
}

}  // namespace
