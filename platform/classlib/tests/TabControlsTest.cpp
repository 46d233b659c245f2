// TTabControl, TPageControl and TTabSheet: tab selection by keys and mouse,
// the changing protocol, pages shown one at a time and form texts.
#include <string>
#include <vector>

#include "ControlFixture.h"
#include "Exceptions.h"
#include "Form.h"
#include "Streaming.h"
#include "TabControls.h"

namespace {

class TabControlTest : public ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        host->SetBounds(100, 100, 300, 200);
        tabs = new TTabControl(host);
        tabs->SetBounds(5, 5, 280, 180);
        tabs->SetParent(host);
        for (const char* caption : {"&General", "Colours", "Fonts"}) tabs->GetTabs()->Add(caption);
        tabs->OnChange = [this](TObject*) { changes.push_back(tabs->GetTabIndex()); };
        tabs->SetFocus();
        driver.PumpUntilIdle();
    }
    TTabControl* tabs = nullptr;
    std::vector<int> changes;
};

TEST_F(TabControlTest, KeysMoveBetweenTabsAndAskFirst) {
    EXPECT_EQ(tabs->GetTabIndex(), 0);  // the first tab once there are tabs
    driver.Press(VK_RIGHT);
    driver.Press(VK_RIGHT);
    driver.Press(VK_RIGHT);  // stays on the last
    EXPECT_EQ(tabs->GetTabIndex(), 2);
    driver.Press({VK_CONTROL}, VK_TAB);  // wraps round
    EXPECT_EQ(tabs->GetTabIndex(), 0);
    driver.Press({VK_CONTROL, VK_SHIFT}, VK_TAB);
    EXPECT_EQ(tabs->GetTabIndex(), 2);
    EXPECT_EQ(changes, (std::vector<int>{1, 2, 0, 2}));
    tabs->OnChanging = [](TObject*, bool& allow) { allow = false; };
    driver.Press(VK_LEFT);
    EXPECT_EQ(tabs->GetTabIndex(), 2);
    EXPECT_EQ(changes.size(), 4u);
}

TEST_F(TabControlTest, ClickingATabSelectsIt) {
    RECT second = tabs->TabRect(1);
    driver.Click(tabs->GetHandle(), (second.left + second.right) / 2, (second.top + second.bottom) / 2);
    EXPECT_EQ(tabs->GetTabIndex(), 1);
    EXPECT_EQ(changes, std::vector<int>{1});
    // The selected tab is drawn larger than the others.
    RECT selected = tabs->TabRect(1), other = tabs->TabRect(0);
    EXPECT_LT(selected.top, other.top);
    EXPECT_EQ(tabs->IndexOfTabAt(5, 150), -1);
}

TEST_F(TabControlTest, TabIndexStaysInsideTheTabs) {
    tabs->SetTabIndex(2);
    tabs->GetTabs()->Delete(2);
    EXPECT_EQ(tabs->GetTabIndex(), 1);
    tabs->SetTabIndex(7);
    EXPECT_EQ(tabs->GetTabIndex(), -1);
    tabs->GetTabs()->Clear();
    EXPECT_EQ(tabs->GetTabIndex(), -1);
    EXPECT_TRUE(changes.empty());  // changes in code fire nothing
}

class PageControlTest : public ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        pages = new TPageControl(host);
        pages->SetBounds(0, 0, 200, 150);
        pages->SetParent(host);
        for (const char* caption : {"One", "Two", "Three"}) {
            auto* sheet = new TTabSheet(host);
            sheet->SetCaption(caption);
            sheet->SetPageControl(pages);
            sheets.push_back(sheet);
        }
        driver.PumpUntilIdle();
    }
    TPageControl* pages = nullptr;
    std::vector<TTabSheet*> sheets;
};

TEST_F(PageControlTest, OnePageShowsAtATimeInTheDisplayRect) {
    EXPECT_EQ(pages->GetPageCount(), 3);
    EXPECT_EQ(pages->GetActivePage(), sheets[0]);
    EXPECT_TRUE(sheets[0]->GetVisible());
    EXPECT_FALSE(sheets[1]->GetVisible());
    RECT display = pages->GetDisplayRect();
    EXPECT_EQ(sheets[0]->GetTop(), display.top);
    EXPECT_EQ(sheets[0]->GetWidth(), display.right - display.left);
    pages->SetActivePage(sheets[2]);
    EXPECT_EQ(pages->GetTabIndex(), 2);
    EXPECT_TRUE(sheets[2]->GetVisible());
    EXPECT_FALSE(sheets[0]->GetVisible());
    EXPECT_EQ(pages->GetPage(1), sheets[1]);
    EXPECT_THROW(pages->GetPage(3), EListError);
}

TEST_F(PageControlTest, HiddenTabsAreSkippedAndRemovedPagesHandOver) {
    sheets[1]->SetTabVisible(false);
    pages->SelectNextPage(true);
    EXPECT_EQ(pages->GetActivePage(), sheets[2]);
    EXPECT_EQ(pages->GetTabIndex(), 1);  // the second visible tab
    pages->SetFocus();
    driver.Press({VK_CONTROL}, VK_TAB);
    EXPECT_EQ(pages->GetActivePage(), sheets[0]);
    sheets[1]->SetPageIndex(0);
    EXPECT_EQ(sheets[1]->GetPageIndex(), 0);
    EXPECT_EQ(pages->GetActivePage(), sheets[0]);
    delete sheets[0];
    EXPECT_EQ(pages->GetPageCount(), 2);
    EXPECT_EQ(pages->GetActivePage(), sheets[2]);
    sheets[2]->SetPageControl(nullptr);
    EXPECT_EQ(pages->GetActivePage(), nullptr);
    EXPECT_EQ(pages->GetTabIndex(), -1);
    delete sheets[2];
}

TEST_F(PageControlTest, TheFocusLeavesAHiddenPageForTheTabs) {
    auto* edit = new TCustomControl(host);
    edit->SetTabStop(true);
    edit->SetParent(sheets[0]);
    edit->SetFocus();
    pages->SetActivePage(sheets[1]);
    EXPECT_TRUE(pages->Focused());
}

TEST_F(PageControlTest, CaptionsAreTheTabs) {
    sheets[1]->SetCaption("Second");
    RECT wide = pages->TabRect(1);
    sheets[1]->SetCaption("2");
    RECT narrow = pages->TabRect(1);
    EXPECT_GT(wide.right - wide.left, narrow.right - narrow.left);
}

TEST(TabControlsForm, AFormTextBuildsPagesAndChoosesTheActiveOne) {
    win32::TestDriver driver;
    TForm form(nullptr, 0);
    ReadComponentText(&form,
                      "object Form1: TForm\n"
                      "  object Pages: TPageControl\n"
                      "    Left = 4\n"
                      "    ActivePage = 'Second'\n"
                      "    object First: TTabSheet\n"
                      "      Caption = 'First'\n"
                      "    end\n"
                      "    object Second: TTabSheet\n"
                      "      Caption = 'Second'\n"
                      "    end\n"
                      "  end\n"
                      "  object Tabs: TTabControl\n"
                      "    Tabs = 'a'#13#10'b'#13#10\n"
                      "    TabIndex = 1\n"
                      "  end\n"
                      "end\n");
    auto* pages = dynamic_cast<TPageControl*>(form.FindComponent("Pages"));
    ASSERT_NE(pages, nullptr);
    EXPECT_EQ(pages->GetPageCount(), 2);
    EXPECT_EQ(pages->GetActivePage(), form.FindComponent("Second"));
    auto* tabs = dynamic_cast<TTabControl*>(form.FindComponent("Tabs"));
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->GetTabs()->GetCount(), 2);
    EXPECT_EQ(tabs->GetTabIndex(), 1);
    std::string text = WriteComponentText(&form);
    EXPECT_NE(text.find("ActivePage = 'Second'"), std::string::npos) << text;
    // The page control places and shows its sheets itself.
    EXPECT_EQ(text.find("Visible", text.find("object Pages")), std::string::npos) << text;
}

}  // namespace
