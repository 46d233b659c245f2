// TListView: columns and rows, selection by keys and mouse, header clicks,
// drawing of sub-items in their columns and the stored columns.
#include <string>
#include <vector>

#include "ControlFixture.h"
#include "Exceptions.h"
#include "ListView.h"
#include "PropertyTable.h"
#include "Registration.h"

namespace {

class ListViewTest : public ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        view = new TListView(host);
        view->SetBounds(0, 0, 200, 150);
        view->SetParent(host);
        for (auto [caption, width] : {std::pair<const char*, int>{"Name", 80}, {"Size", 60}}) {
            TListColumn* column = view->GetColumns()->Add();
            column->SetCaption(caption);
            column->SetWidth(width);
        }
        for (int i = 0; i < 20; ++i) {
            TListItem* item = view->GetItems()->Add();
            item->SetCaption("file" + std::to_string(i));
            item->GetSubItems()->Add(std::to_string(i * 100));
        }
        view->OnSelectItem = [this](TObject*, TListItem* item, bool selected) {
            events.push_back((selected ? "+" : "-") + item->GetCaption());
        };
        view->SetFocus();
        driver.PumpUntilIdle();
    }
    TListView* view = nullptr;
    std::vector<std::string> events;
};

TEST_F(ListViewTest, KeysAndClicksSelectRows) {
    driver.Press(VK_DOWN);
    driver.Press(VK_DOWN);
    EXPECT_EQ(view->GetItemIndex(), 1);
    EXPECT_EQ(events, (std::vector<std::string>{"+file0", "-file0", "+file1"}));
    driver.Press(VK_END);
    EXPECT_EQ(view->GetSelected()->GetCaption(), "file19");
    EXPECT_EQ(view->GetTopIndex(), 20 - view->VisibleRowCount());
    driver.Press(VK_HOME);
    int row = view->GetHeaderHeight() + view->GetRowHeight() * 3 + 2;
    driver.Click(view->GetHandle(), 10, row);
    EXPECT_EQ(view->GetItemIndex(), 3);
    EXPECT_TRUE(view->GetItems()->GetItem(3)->GetSelected());
}

TEST_F(ListViewTest, HeaderClickNamesTheColumn) {
    std::vector<std::string> clicked;
    view->OnColumnClick = [&](TObject*, TListColumn* column) { clicked.push_back(column->GetCaption()); };
    driver.Click(view->GetHandle(), 100, 3);
    driver.Click(view->GetHandle(), 190, 3);  // past the last column
    EXPECT_EQ(clicked, std::vector<std::string>{"Size"});
    EXPECT_EQ(view->GetItemIndex(), -1);
}

TEST_F(ListViewTest, DraggingAHeaderEdgeResizesTheColumn) {
    std::vector<std::string> clicked;
    view->OnColumnClick = [&](TObject*, TListColumn* column) { clicked.push_back(column->GetCaption()); };
    driver.Drag(view->GetHandle(), 81, 3, 101, 3);
    EXPECT_EQ(view->GetColumnFromIndex(0)->GetWidth(), 100);
    driver.Drag(view->GetHandle(), 160, 3, 60, 3);  // Size's edge, dragged past its left
    EXPECT_EQ(view->GetColumnFromIndex(1)->GetWidth(), 0);
    EXPECT_TRUE(clicked.empty());
    EXPECT_EQ(view->ColumnEdgeAt(POINT{60, 3}), -1);
    EXPECT_EQ(view->ColumnEdgeAt(POINT{100, 3}), 1);  // the empty column can be widened again
}

TEST_F(ListViewTest, DeletingRowsKeepsTheSelectedItem) {
    view->SetItemIndex(5);
    view->GetItems()->Delete(0);
    EXPECT_EQ(view->GetItemIndex(), 4);
    EXPECT_EQ(view->GetSelected()->GetCaption(), "file5");
    view->GetItems()->Insert(0)->SetCaption("new");
    EXPECT_EQ(view->GetSelected()->GetCaption(), "file5");
    view->GetItems()->Delete(5);
    EXPECT_EQ(view->GetSelected(), nullptr);
    EXPECT_EQ(events, std::vector<std::string>{"-file5"});
    EXPECT_THROW(view->GetItems()->GetItem(99), EListError);
    EXPECT_EQ(view->GetColumnFromIndex(2), nullptr);
    view->GetItems()->Clear();
    EXPECT_EQ(view->GetItemIndex(), -1);
}

TEST_F(ListViewTest, SubItemsAreDrawnInTheirColumns) {
    view->GetItems()->GetItem(0)->SetCaption("");
    view->GetItems()->GetItem(0)->GetSubItems()->SetStrings(0, "WWWWWWWW");
    driver.PumpUntilIdle();
    HWND window = view->GetHandle();
    int rowMiddle = view->GetHeaderHeight() + view->GetRowHeight() / 2;
    auto darkIn = [&](int from, int to) {
        for (int x = from; x < to; ++x)
            for (int y = rowMiddle - 3; y <= rowMiddle + 3; ++y)
                if (driver.Pixel(window, x, y) == 0) return true;
        return false;
    };
    EXPECT_FALSE(darkIn(0, 80));
    EXPECT_TRUE(darkIn(80, 140));
    // The header shows button faces.
    EXPECT_EQ(driver.Pixel(window, 40, view->GetHeaderHeight() / 2 - 4), ColorToRGB(clBtnFace));
}

TEST_F(ListViewTest, ColumnsAreStoredAsText) {
    EXPECT_EQ(GetPropertyText(view, "Columns"), "Name=80\r\nSize=60\r\n");
    SetPropertyText(view, "Columns", "A=10\r\nB\r\nC=x\r\nD=E=7\r\n");
    ASSERT_EQ(view->GetColumns()->GetCount(), 4);
    EXPECT_EQ(view->GetColumnFromIndex(0)->GetWidth(), 10);
    EXPECT_EQ(view->GetColumnFromIndex(1)->GetWidth(), 50);
    EXPECT_EQ(view->GetColumnFromIndex(2)->GetWidth(), 50);
    EXPECT_EQ(view->GetColumnFromIndex(3)->GetCaption(), "D=E");
    EXPECT_EQ(view->GetColumnFromIndex(3)->GetIndex(), 3);
    EXPECT_NE(CreateComponent("TListView", host), nullptr);
}

}  // namespace
