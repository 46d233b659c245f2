// Tests of the selectable rectangle scroller's state: construction values,
// the keys, the info forms (texts, placement from the control's own screen
// position, hiding) and the properties a form stores.
#include <string>
#include <vector>

#include "Exceptions.h"
#include "GroupControls.h"
#include "Label.h"
#include "PropertyTable.h"
#include "SelectableFixture.h"
#include "SelectableRectScrollerInfoForm.h"
#include "Streaming.h"

namespace {

using Events = std::vector<std::string>;

class SelectableStateTest : public SelectableTest {};

}  // namespace

TEST_F(SelectableStateTest, ANewControlHasTheConstructionValues) {
    TProbeSelectableScroller* scroller = Make(SIZE{200, 150});
    EXPECT_EQ(scroller->GetRulerNumber(), 5);
    EXPECT_EQ(scroller->GetRulerStep(), 10);
    EXPECT_TRUE(scroller->GetWantArrows());
    EXPECT_TRUE(SendMessageA(scroller->GetHandle(), WM_GETDLGCODE, 0, 0) & DLGC_WANTARROWS);
    EXPECT_TRUE(scroller->GetSelectable());
    EXPECT_TRUE(scroller->GetKeepSelection());
    EXPECT_EQ(scroller->GetSelectionType(), selRect);
    EXPECT_EQ(scroller->GetMoveRadius(), 3);
    EXPECT_EQ(scroller->GetDashLength(), 10);
    EXPECT_FALSE(scroller->GetShowCursor());
    EXPECT_EQ(scroller->GetRulerMax(), 200);
    ASSERT_NE(scroller->GetInfoForm(0), nullptr);
    EXPECT_FALSE(scroller->GetInfoForm(0)->GetVisible());
    EXPECT_NE(scroller->GetInfoForm(0), scroller->GetInfoForm(1));
    EXPECT_EQ(scroller->GetMousePos().x, TSelectableRectScroller::kNoPoint);
    // A derived constructor may run Init again; the forms stay the same.
    TSelectableRectScrollerInfoForm* first = scroller->GetInfoForm(0);
    scroller->Init();
    EXPECT_EQ(scroller->GetInfoForm(0), first);
}

TEST_F(SelectableStateTest, CtrlSCyclesTheKindsButNeverToTheSkewedRectangle) {
    TProbeSelectableScroller* scroller = Make(SIZE{200, 150});
    for (TRectScrollerSelection expected : {selEllipse, selPolygon, selRect, selEllipse}) {
        Ctrl('S');
        EXPECT_EQ(scroller->GetSelectionType(), expected);
    }
    scroller->SetSelectionType(selSkewRect);
    Ctrl('S');
    EXPECT_EQ(scroller->GetSelectionType(), selEllipse);
    EXPECT_EQ(scroller->events, (Events{"type 2", "type 3", "type 0", "type 2", "type 2"}));

    // An existing selection goes first; while one is drawn, or without
    // ChangeSelectionType, the kind stays.
    scroller->SetSelectionType(selRect);
    const std::vector<uint32_t> plain = Snapshot(scroller);
    Drag(scroller, {20, 30}, {80, 70});
    scroller->events.clear();
    Ctrl('S');
    EXPECT_EQ(scroller->events, (Events{"selection 0 0 20,30,80,70", "type 2"}));
    EXPECT_FALSE(scroller->GetSelection());
    EXPECT_EQ(Snapshot(scroller), plain);
    Down(scroller, {20, 30});
    Ctrl('S');
    EXPECT_EQ(scroller->GetSelectionType(), selEllipse);
    driver.Press(VK_ESCAPE);
    EXPECT_FALSE(scroller->GetSelecting());
    scroller->SetChangeSelectionType(false);
    Ctrl('S');
    EXPECT_EQ(scroller->GetSelectionType(), selEllipse);
}

TEST_F(SelectableStateTest, ArrowsChangeTheRulerStepWhileRulersOrMeshShow) {
    TProbeSelectableScroller* scroller = Make(SIZE{200, 150});
    scroller->SetRulerStep(6);
    driver.Press(VK_DOWN);
    EXPECT_EQ(scroller->GetRulerStep(), 6) << "no rulers, no mesh";
    Ctrl('R');
    EXPECT_TRUE(scroller->GetShowRulers());
    driver.Press(VK_DOWN);
    EXPECT_EQ(scroller->GetRulerStep(), 5);
    driver.Press(VK_DOWN);
    EXPECT_EQ(scroller->GetRulerStep(), 5);
    Ctrl('R');
    Ctrl('M');
    EXPECT_FALSE(scroller->GetShowRulers());
    EXPECT_TRUE(scroller->GetShowMesh());
    driver.Press(VK_UP);
    EXPECT_EQ(scroller->GetRulerStep(), 6);
}

// The x form runs along the lower edge of the rectangle (the upper one when
// the mouse is in the lower half), the y form along its right edge (the
// left one when the mouse is in the right half), 2 pixels from the mouse.
TEST_F(SelectableStateTest, InfoFormsFollowTheCursorFromTheControlsOwnScreenPosition) {
    form->SetBounds(50, 50, 500, 420);
    TProbeSelectableScroller* scroller = Make(SIZE{180, 120}, 200, 150);
    scroller->SetBounds(8, 184, 200, 150);
    driver.PumpUntilIdle();
    ASSERT_EQ(scroller->GetRectPos().x, 10);
    ASSERT_EQ(scroller->GetRectPos().y, 15);
    scroller->SetShowCursor(true);
    scroller->SetShowPosition(true);
    TSelectableRectScrollerInfoForm* xForm = scroller->GetInfoForm(0);
    TSelectableRectScrollerInfoForm* yForm = scroller->GetInfoForm(1);
    EXPECT_FALSE(xForm->GetVisible()) << "the mouse has not been over the rectangle";

    struct Case {
        POINT at;
        const char *xText, *yText;
        bool lowerRight;
    };
    const Case cases[] = {{{30, 20}, "30", "20", false}, {{150, 100}, "150", "100", true}};
    for (const Case& c : cases) {
        Move(scroller, c.at);
        ASSERT_TRUE(xForm->GetVisible());
        ASSERT_TRUE(yForm->GetVisible());
        EXPECT_EQ(xForm->lbInfo->GetCaption(), c.xText);
        EXPECT_EQ(yForm->lbInfo->GetCaption(), c.yText);
        const POINT client = ClientOf(scroller, c.at);
        const int xTop = c.lowerRight ? 2 : 120 + 15 - xForm->GetHeight() - 2;
        const int yLeft = c.lowerRight ? 2 : 180 + 10 - yForm->GetWidth() - 2;
        const POINT xPlace = scroller->ClientToScreen(POINT{client.x + 2, xTop});
        const POINT yPlace = scroller->ClientToScreen(POINT{yLeft, client.y + 2});
        EXPECT_EQ(xForm->GetLeft(), xPlace.x);
        EXPECT_EQ(xForm->GetTop(), xPlace.y);
        EXPECT_EQ(yForm->GetLeft(), yPlace.x);
        EXPECT_EQ(yForm->GetTop(), yPlace.y);
    }
    // The control's own place in the form counts.
    const POINT formClient = form->ClientToScreen(POINT{0, 0});
    EXPECT_EQ(xForm->GetLeft(), formClient.x + 8 + 160 + 2);

    // Leaving the rectangle hides them, unless the pointer is over one of them.
    int leaves = 0;
    scroller->OnLeaveUserArea = [&](TRectScroller*) { ++leaves; };
    driver.MoveMouse(scroller->GetHandle(), 3, 3);
    EXPECT_FALSE(xForm->GetVisible());
    EXPECT_FALSE(yForm->GetVisible());
    Move(scroller, {30, 20});
    ASSERT_TRUE(xForm->GetVisible());
    driver.MoveMouse(xForm->GetHandle(), 3, 3);
    EXPECT_EQ(leaves, 2);
    EXPECT_TRUE(xForm->GetVisible());
    EXPECT_TRUE(yForm->GetVisible());
    // The scroller's form keeps the activation.
    EXPECT_EQ(GetActiveWindow(), form->GetHandle());
    // Without the crosshair no forms show.
    scroller->SetShowCursor(false);
    EXPECT_FALSE(xForm->GetVisible());
}

TEST_F(SelectableStateTest, InfoFormTextsFollowShowPositionAndShowPercentage) {
    TProbeSelectableScroller* scroller = Make(SIZE{180, 120}, 200, 150);
    scroller->SetShowCursor(true);
    struct Case {
        bool position, percentage;
        const char *xText, *yText;
    };
    const Case cases[] = {{true, false, "45", "30"},
                          {false, true, "25.0%", "25.0%"},
                          {true, true, "45 (25.0%)", "30 (25.0%)"}};
    TSelectableRectScrollerInfoForm* xForm = scroller->GetInfoForm(0);
    int previousWidth = 0;
    for (const Case& c : cases) {
        scroller->SetShowPosition(c.position);
        scroller->SetShowPercentage(c.percentage);
        Move(scroller, {45, 30});
        EXPECT_EQ(xForm->lbInfo->GetCaption(), c.xText);
        EXPECT_EQ(scroller->GetInfoForm(1)->lbInfo->GetCaption(), c.yText);
        EXPECT_EQ(xForm->GetWidth(), xForm->lbInfo->GetWidth()) << c.xText;
        EXPECT_NE(xForm->GetWidth(), previousWidth) << c.xText;
        previousWidth = xForm->GetWidth();
        Move(scroller, {46, 30});
    }
    // The label is as wide as its text in the form's font.
    HDC dc = GetDC(xForm->GetHandle());
    HGDIOBJ previous = SelectObject(dc, xForm->lbInfo->GetFont()->GetHandle());
    SIZE extent{0, 0};
    const std::string text = xForm->lbInfo->GetCaption();
    GetTextExtentPoint32A(dc, text.c_str(), int(text.size()), &extent);
    SelectObject(dc, previous);
    ReleaseDC(xForm->GetHandle(), dc);
    EXPECT_EQ(xForm->GetWidth(), extent.cx);
    // Neither option: the forms hide.
    scroller->SetShowPosition(false);
    scroller->SetShowPercentage(false);
    EXPECT_FALSE(xForm->GetVisible());
}

// A scroller owned by no form (or by a panel) has no form to hand the
// activation back to; the forms show all the same.
TEST_F(SelectableStateTest, InfoFormsShowForAScrollerOwnedByNoForm) {
    auto* panel = new TPanel(form);
    panel->SetBounds(0, 0, 300, 250);
    panel->SetParent(form);
    for (TComponent* owner : {static_cast<TComponent*>(nullptr), static_cast<TComponent*>(panel)}) {
        auto* scroller = new TProbeSelectableScroller(owner);
        scroller->SetBounds(10, 10, 260, 200);
        scroller->SetParent(panel);
        driver.PumpUntilIdle();
        scroller->Refresh();
        EXPECT_EQ(scroller->GetOwnerForm(), nullptr);
        scroller->SetShowCursor(true);
        scroller->SetShowPercentage(true);
        Move(scroller, {50, 50});
        EXPECT_TRUE(scroller->GetInfoForm(0)->GetVisible());
        EXPECT_EQ(scroller->GetInfoForm(1)->lbInfo->GetCaption(), "33.3%");
        delete scroller;
    }
}

TEST_F(SelectableStateTest, ReadOnlyPropertiesAreNeitherSetNorStored) {
    TProbeSelectableScroller* scroller = Make(SIZE{200, 150});
    EXPECT_THROW(SetPropertyText(scroller, "Selection", "True"), EPropertyError);
    EXPECT_THROW(SetPropertyText(scroller, "SelectLeft", "3"), EPropertyError);
    Drag(scroller, {20, 30}, {80, 70});
    EXPECT_EQ(GetPropertyText(scroller, "SelectRight"), "80");
    EXPECT_EQ(GetPropertyText(scroller, "Selection"), "True");
}

namespace {

const char kStoredForm[] =
    "object StoredForm: TForm\n"
    "  object Picture: TSelectableRectScroller\n"
    "    Left = 8\n"
    "    Top = 184\n"
    "    Width = 200\n"
    "    Height = 150\n"
    "    WantArrows = %s\n"
    "    RulerNumber = %d\n"
    "    ShowRulers = True\n"
    "    SelectionType = selEllipse\n"
    "  end\n"
    "end\n";

std::string StoredForm(const char* wantArrows, int rulerNumber) {
    char text[sizeof kStoredForm + 32];
    std::snprintf(text, sizeof text, kStoredForm, wantArrows, rulerNumber);
    return text;
}

}  // namespace

// RulerNumber and WantArrows start at 5 and true although their declared
// defaults are 50 and false: both are always stored, so every value survives.
TEST_F(SelectableStateTest, RulerNumberAndWantArrowsSurviveASaveAndLoad) {
    struct Case {
        const char* wantArrows;
        int rulerNumber;
    };
    for (const Case& c : {Case{"False", 50}, Case{"True", 5}, Case{"False", 7}}) {
        TForm loaded(nullptr, 1);
        ReadComponentText(&loaded, StoredForm(c.wantArrows, c.rulerNumber));
        auto* picture = static_cast<TSelectableRectScroller*>(loaded.FindComponent("Picture"));
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(picture->GetRulerNumber(), c.rulerNumber);
        EXPECT_EQ(picture->GetWantArrows(), std::string(c.wantArrows) == "True");
        EXPECT_EQ(picture->GetSelectionType(), selEllipse);
        const std::string saved = WriteComponentText(&loaded);
        EXPECT_NE(saved.find(std::string("WantArrows = ") + c.wantArrows), std::string::npos) << saved;
        EXPECT_NE(saved.find("RulerNumber = " + std::to_string(c.rulerNumber)), std::string::npos) << saved;
        for (const char* name : {"Selection ", "Selecting", "SelectLeft", "SelectHorzRadius", "RulerStep"})
            EXPECT_EQ(saved.find(name), std::string::npos) << name << " stored in\n" << saved;
        TForm again(nullptr, 1);
        ReadComponentText(&again, saved);
        EXPECT_EQ(WriteComponentText(&again), saved);
    }
}
