// TGroupBox, TRadioGroup, TPanel and TBevel: the radio group's buttons and
// index, layout in columns, drawing of frames and bevels.
#include <vector>

#include "ControlFixture.h"
#include "GroupControls.h"
#include "PropertyTable.h"

namespace {

class GroupControlsTest : public ControlTest {};

TEST_F(GroupControlsTest, ARadioGroupMakesAButtonPerItemAndTracksTheIndex) {
    auto* group = new TRadioGroup(host);
    group->SetParent(host);
    group->SetBounds(5, 5, 180, 130);
    int clicks = 0;
    group->OnClick = [&](TObject*) { ++clicks; };
    group->GetItems()->Add("Red");
    group->GetItems()->Add("Green");
    group->GetItems()->Add("Blue");
    ASSERT_NE(nullptr, group->Button(2));
    EXPECT_EQ(nullptr, group->Button(3));
    EXPECT_EQ("Green", group->Button(1)->GetCaption());
    EXPECT_EQ(-1, group->GetItemIndex());
    driver.PumpUntilIdle();
    driver.Click(group->Button(2)->GetHandle(), 5, 8);
    EXPECT_EQ(2, group->GetItemIndex());
    EXPECT_EQ(1, clicks);
    driver.Press(VK_UP);
    EXPECT_EQ(1, group->GetItemIndex());
    EXPECT_TRUE(group->Button(1)->GetChecked());
    EXPECT_FALSE(group->Button(2)->GetChecked());
    // Out of range means none; removing the checked item clears the index.
    group->SetItemIndex(7);
    EXPECT_EQ(-1, group->GetItemIndex());
    group->SetItemIndex(2);
    group->GetItems()->Delete(2);
    EXPECT_EQ(-1, group->GetItemIndex());
    EXPECT_EQ(nullptr, group->Button(2));
}

TEST_F(GroupControlsTest, ColumnsFillTopToBottom) {
    auto* group = new TRadioGroup(host);
    group->SetParent(host);
    group->SetBounds(0, 0, 196, 100);
    for (const char* item : {"a", "b", "c", "d", "e"}) group->GetItems()->Add(item);
    group->SetColumns(2);
    EXPECT_EQ(group->Button(0)->GetLeft(), group->Button(2)->GetLeft());
    EXPECT_LT(group->Button(2)->GetLeft(), group->Button(3)->GetLeft());
    EXPECT_LT(group->Button(0)->GetTop(), group->Button(1)->GetTop());
    EXPECT_EQ(group->Button(0)->GetTop(), group->Button(3)->GetTop());
    group->SetColumns(0);
    EXPECT_EQ(1, group->GetColumns());
    EXPECT_EQ("a\r\nb\r\nc\r\nd\r\ne\r\n", GetPropertyText(group, "Items"));
}

TEST_F(GroupControlsTest, PanelsAndBevelsDrawTheirEdges) {
    auto* panel = new TPanel(host);
    panel->SetParent(host);
    panel->SetBounds(10, 10, 100, 40);
    auto* bevel = new TBevel(host);
    bevel->SetParent(host);
    bevel->SetBounds(10, 60, 100, 30);
    driver.PumpUntilIdle();
    HWND panelWindow = panel->GetHandle();
    EXPECT_EQ(ColorToRGB(clBtnHighlight), driver.Pixel(panelWindow, 0, 10));
    EXPECT_EQ(ColorToRGB(clBtnShadow), driver.Pixel(panelWindow, 99, 10));
    EXPECT_EQ(ColorToRGB(clBtnFace), driver.Pixel(panelWindow, 50, 3));
    panel->SetBevelOuter(bvLowered);
    driver.PumpUntilIdle();
    EXPECT_EQ(ColorToRGB(clBtnShadow), driver.Pixel(panelWindow, 0, 10));

    HWND hostWindow = host->GetHandle();
    EXPECT_EQ(ColorToRGB(clBtnShadow), driver.Pixel(hostWindow, 10, 70));
    EXPECT_EQ(ColorToRGB(clBtnHighlight), driver.Pixel(hostWindow, 109, 70));
    bevel->SetShape(bsTopLine);
    bevel->SetStyle(bsRaised);
    driver.PumpUntilIdle();
    EXPECT_EQ(ColorToRGB(clBtnHighlight), driver.Pixel(hostWindow, 50, 60));
    EXPECT_EQ(ColorToRGB(clBtnShadow), driver.Pixel(hostWindow, 50, 61));
    EXPECT_EQ(ColorToRGB(clWhite), driver.Pixel(hostWindow, 10, 70));
}

TEST_F(GroupControlsTest, AGroupBoxFramesItsChildrenBelowItsCaption) {
    auto* box = new TGroupBox(host);
    box->SetParent(host);
    box->SetBounds(10, 10, 150, 100);
    box->SetCaption("Options");
    driver.PumpUntilIdle();
    HWND window = box->GetHandle();
    int frameTop = -1;
    for (int y = 0; y < 20 && frameTop < 0; ++y)
        if (driver.Pixel(window, 2, y) == ColorToRGB(clBtnShadow)) frameTop = y;
    EXPECT_GT(frameTop, 2);
    // The caption interrupts the frame's top edge.
    EXPECT_NE(ColorToRGB(clBtnShadow), driver.Pixel(window, 10, frameTop));
    EXPECT_EQ(ColorToRGB(clBtnShadow), driver.Pixel(window, 140, frameTop));
}

}  // namespace
