// Tests of TForm1: its stored layout, and the arrow scrollers driving the bar.
#include <string>

#include "ArrowScroller.h"
#include "Events.h"
#include "GraphObjectComboBox.h"
#include "Label.h"
#include "MostranaFixture.h"
#include "ProcessBar.h"

namespace {

using Form1Test = FormsTest;

TEST_F(Form1Test, TheStoredLayoutGivesTheFormAndItsControlsInOrder) {
    EXPECT_EQ(Form1->GetCaption(), "Components demo");
    EXPECT_EQ(Form1->GetLeft(), 12);
    EXPECT_EQ(Form1->GetTop(), 18);
    EXPECT_EQ(Form1->GetWidth(), 295);
    EXPECT_EQ(Form1->GetHeight(), 178);
    EXPECT_EQ(Form1->GetColor(), clBtnFace);
    EXPECT_EQ(EventHandlerName(Form1->OnShow), "FormShow");

    struct Row {
        TComponent* field;
        const char* name;
        const char* className;
        int left, top, width, height;  // -1: the class's own size
        const char* caption;           // labels only
    };
    const Row rows[] = {
        {Form1->Label4, "Label4", "TLabel", 16, 8, -1, -1, "Process:"},
        {Form1->ProcessBar1, "ProcessBar1", "TProcessBar", 96, 8, 177, 20, nullptr},
        {Form1->ArrowScroller1, "ArrowScroller1", "TArrowScroller", 96, 32, 89, 24, nullptr},
        {Form1->Label5, "Label5", "TLabel", 16, 32, -1, -1, "Arrow scrollers:"},
        {Form1->ArrowScroller2, "ArrowScroller2", "TArrowScroller", 248, 32, 25, 105, nullptr},
        {Form1->GraphObjectComboBox1, "GraphObjectComboBox1", "TGraphObjectComboBox", 96, 64, 145, -1, nullptr},
        {Form1->Label1, "Label1", "TLabel", 8, 64, -1, -1, "Color:"},
        {Form1->Label2, "Label2", "TLabel", 8, 88, -1, -1, "Pen style:"},
        {Form1->GraphObjectComboBox2, "GraphObjectComboBox2", "TGraphObjectComboBox", 96, 88, -1, -1, nullptr},
        {Form1->GraphObjectComboBox3, "GraphObjectComboBox3", "TGraphObjectComboBox", 96, 112, -1, -1, nullptr},
        {Form1->Label3, "Label3", "TLabel", 8, 112, -1, -1, "Brush style:"},
    };
    ASSERT_EQ(Form1->GetComponentCount(), static_cast<int>(std::size(rows)));
    for (int i = 0; i < Form1->GetComponentCount(); ++i) {
        const Row& row = rows[i];
        auto* control = dynamic_cast<TControl*>(Form1->GetComponent(i));
        ASSERT_NE(control, nullptr) << row.name;
        EXPECT_EQ(control, row.field) << row.name;
        EXPECT_EQ(control->GetName(), row.name);
        EXPECT_STREQ(control->ClassName(), row.className) << row.name;
        EXPECT_EQ(control->GetParent(), Form1) << row.name;
        EXPECT_EQ(control->GetLeft(), row.left) << row.name;
        EXPECT_EQ(control->GetTop(), row.top) << row.name;
        if (row.width >= 0) {
            EXPECT_EQ(control->GetWidth(), row.width) << row.name;
        }
        if (row.height >= 0) {
            EXPECT_EQ(control->GetHeight(), row.height) << row.name;
        }
        if (row.caption) {
            EXPECT_EQ(control->GetCaption(), row.caption) << row.name;
        }
    }

    TProcessBar* bar = Form1->ProcessBar1;
    EXPECT_EQ(bar->GetMax(), 100);
    EXPECT_EQ(bar->GetPosColor(), clNavy);
    EXPECT_EQ(bar->GetTextColor(), clWhite);
    EXPECT_EQ(bar->GetBkColor(), clGray);
    EXPECT_EQ(bar->GetCaptionColor(), clWhite);
    EXPECT_TRUE(bar->GetPercent());
    EXPECT_EQ(bar->GetPercentPos(), ptpCenter);
    EXPECT_EQ(Form1->ArrowScroller1->GetDirection(), TArrowScroller(nullptr).GetDirection());
    EXPECT_EQ(Form1->ArrowScroller2->GetDirection(), asdLeft);
    EXPECT_EQ(EventHandlerName(Form1->ArrowScroller1->OnChange), "ArrowScroller1Change");
    EXPECT_EQ(EventHandlerName(Form1->ArrowScroller2->OnChange), "ArrowScroller2Change");
    EXPECT_EQ(Form1->GraphObjectComboBox1->GetStyle(), gocsColor);
    EXPECT_EQ(Form1->GraphObjectComboBox2->GetStyle(), gocsPenStyle);
    EXPECT_EQ(Form1->GraphObjectComboBox3->GetStyle(), gocsBrushStyle);
}

// The centre of a part of a control (in its client coordinates) in its form's client coordinates.
POINT ClientPointOf(const TControl* control, const RECT& part) {
    return POINT{control->GetLeft() + (part.left + part.right) / 2, control->GetTop() + (part.top + part.bottom) / 2};
}

TEST_F(Form1Test, TheBarShowsWhicheverScrollerMovedLast) {
    TArrowScroller* first = Form1->ArrowScroller1;
    TArrowScroller* second = Form1->ArrowScroller2;
    struct Step {
        const char* what;
        std::function<void()> act;
        int bar, firstShows, secondShows;
    };
    const HWND form = Form1->GetHandle();
    auto clickRaising = [&](TArrowScroller* scroller) {
        const POINT at = ClientPointOf(scroller, scroller->ButtonRect(true));
        driver.Click(form, at.x, at.y);
    };
    const Step steps[] = {
        {"first to 30", [&] { first->SetPosition(30); }, 30, 30, 0},
        {"second to 70", [&] { second->SetPosition(70); }, 70, 30, 70},
        {"a click on the first's raising arrow", [&] { clickRaising(first); }, 31, 31, 70},
        {"a click on the second's raising arrow", [&] { clickRaising(second); }, 71, 31, 71},
        {"a click on the second's lowering arrow",
         [&] {
             const POINT at = ClientPointOf(second, second->ButtonRect(false));
             driver.Click(form, at.x, at.y);
         },
         70, 31, 70},
    };
    for (const Step& step : steps) {
        step.act();
        EXPECT_EQ(Form1->ProcessBar1->GetPos(), step.bar) << step.what;
        EXPECT_EQ(first->GetPosition(), step.firstShows) << step.what;
        EXPECT_EQ(second->GetPosition(), step.secondShows) << step.what;
    }
}

TEST_F(Form1Test, AScrollerPositionOutsideTheBarsRangeReachesTheBarUnchanged) {
    TProcessBar* bar = Form1->ProcessBar1;
    struct Case {
        TArrowScroller* scroller;
        int scrollerMin, position, barShows;
    };
    const Case cases[] = {
        {Form1->ArrowScroller1, 0, 150, 100},
        {Form1->ArrowScroller2, 0, 150, 100},
        {Form1->ArrowScroller1, -10, -5, 0},
        {Form1->ArrowScroller2, -10, -5, 0},
    };
    for (const Case& c : cases) {
        c.scroller->SetMin(c.scrollerMin);
        // A bar wide enough to keep any value records what the handler passed on.
        bar->SetMin(-1000);
        bar->SetMax(1000);
        c.scroller->SetPosition(c.position);
        EXPECT_EQ(bar->GetPos(), c.position) << c.scroller->GetName() << " at " << c.position;
        // The stored bar applies its own limits.
        bar->SetMin(0);
        bar->SetMax(100);
        c.scroller->SetPosition(0);
        c.scroller->SetPosition(c.position);
        EXPECT_EQ(bar->GetPos(), c.barShows) << c.scroller->GetName() << " at " << c.position;
        EXPECT_EQ(c.scroller->GetPosition(), c.position);
    }
}

TEST_F(Form1Test, TheBarShowsThePercentageOverItsFilledPart) {
    Form1->ArrowScroller2->SetPosition(70);
    driver.PumpUntilIdle();
    const HWND form = Form1->GetHandle();
    const TProcessBar* bar = Form1->ProcessBar1;
    const int middleX = bar->GetLeft() + bar->GetWidth() / 2;
    const int middleY = bar->GetTop() + bar->GetHeight() / 2;
    // The text is smoothed: count pixels near white and exactly navy around the middle.
    int white = 0, navy = 0;
    for (int y = bar->GetTop() + 2; y < bar->GetTop() + bar->GetHeight() - 2; ++y)
        for (int x = middleX - 12; x <= middleX + 12; ++x) {
            const COLORREF pixel = driver.Pixel(form, x, y);
            if (GetRValue(pixel) > 0xD0 && GetGValue(pixel) > 0xD0 && GetBValue(pixel) > 0xD0) ++white;
            if (pixel == ColorToRGB(clNavy)) ++navy;
        }
    EXPECT_GT(white, 10);
    EXPECT_GT(navy, 50);
    EXPECT_EQ(driver.Pixel(form, bar->GetLeft() + 8, middleY), ColorToRGB(clNavy));
    EXPECT_EQ(driver.Pixel(form, bar->GetLeft() + bar->GetWidth() - 8, middleY), ColorToRGB(clGray));
}

}  // namespace
