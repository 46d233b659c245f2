// Tests of the selection info form: the layout from its stored form.
#include <gtest/gtest.h>

#include "Label.h"
#include "SelectableRectScrollerInfoForm.h"
#include "display/TestDriver.h"

TEST(SelectableRectScrollerInfoForm, ComesHiddenAndBorderlessFromItsStoredForm) {
    win32::TestDriver driver;
    TSelectableRectScrollerInfoForm form(nullptr);
    EXPECT_FALSE(form.GetVisible());
    EXPECT_EQ(form.GetName(), "SelectableRectScrollerInfoForm");
    EXPECT_EQ(form.GetCaption(), "SelectableRectScrollerInfoForm");
    EXPECT_EQ(form.GetBorderStyle(), bsNone);
    EXPECT_TRUE(form.GetBorderIcons().Empty());
    EXPECT_EQ(form.GetFormStyle(), fsStayOnTop);
    EXPECT_EQ(form.GetLeft(), 200);
    EXPECT_EQ(form.GetTop(), 107);
    EXPECT_EQ(form.GetClientWidth(), 104);
    EXPECT_EQ(form.GetClientHeight(), 15);
    EXPECT_EQ(form.GetColor(), clWindow);
    EXPECT_EQ(form.GetFont()->GetName(), "MS Sans Serif");
    EXPECT_EQ(form.GetFont()->GetHeight(), -11);
    EXPECT_EQ(form.GetFont()->GetColor(), clWindowText);
    EXPECT_EQ(form.GetPixelsPerInch(), 96);
    EXPECT_EQ(form.GetTextHeight(), 13);
    ASSERT_NE(form.lbInfo, nullptr);
    EXPECT_EQ(form.lbInfo->GetCaption(), "lbInfo");
    EXPECT_EQ(form.lbInfo->GetLeft(), 0);
    EXPECT_EQ(form.lbInfo->GetTop(), 0);
    EXPECT_EQ(form.lbInfo->GetHeight(), 13);

    // Shown, the window has no frame: its size is its client size.
    form.Show();
    driver.PumpUntilIdle();
    RECT window;
    GetWindowRect(form.GetHandle(), &window);
    EXPECT_EQ(window.right - window.left, 104);
    EXPECT_EQ(window.bottom - window.top, 15);
    EXPECT_TRUE(GetWindowLongA(form.GetHandle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    // The label shows on the form's window colour.
    EXPECT_EQ(driver.Pixel(form.GetHandle(), 0, 0), RGB(255, 255, 255));
    EXPECT_EQ(driver.Pixel(form.GetHandle(), 0, 14), RGB(255, 255, 255));
}
