// Tests of the selectable rectangle scroller's mouse: drawing rectangles,
// ellipses and polygons with their events, hovering (cursors, last hit wins),
// dragging edges, corners, radii and points, moving selections, and the
// limits that keep them in the rectangle.
#include <string>
#include <vector>

#include "Menus.h"
#include "Responder.h"
#include "SelectableFixture.h"

namespace {

using Events = std::vector<std::string>;

class SelectableMouseTest : public SelectableTest {
protected:
    // A 200 x 150 rectangle centred in a 260 x 200 scroller, at (30, 25).
    TProbeSelectableScroller* scroller = nullptr;
    void SetUp() override {
        SelectableTest::SetUp();
        scroller = Make(SIZE{200, 150});
    }

    // Drops the selection (a press on it would grab it).
    void Clear() { scroller->SetSelectable(true); }

    // A triangle (20, 20), (100, 20), (60, 80), closed with the right button.
    void DrawTriangle() {
        Clear();
        scroller->SetSelectionType(selPolygon);
        Click(scroller, {20, 20});
        Move(scroller, {100, 20});
        Click(scroller, {100, 20});
        Move(scroller, {60, 80});
        Click(scroller, {60, 80}, 1);
    }

    // Hovers at from (returning the cursor shown there), presses, moves once
    // to to and releases there.
    TCursor Reshape(POINT from, POINT to) {
        Move(scroller, from);
        const TCursor cursor = scroller->GetCursor();
        Down(scroller, from);
        Move(scroller, to);
        Up(scroller, to);
        return cursor;
    }

    std::string Ellipse() const {
        return std::to_string(scroller->GetSelectCenterX()) + "," + std::to_string(scroller->GetSelectCenterY()) +
               " r" + std::to_string(scroller->GetSelectHorzRadius()) + "," +
               std::to_string(scroller->GetSelectVertRadius());
    }
    std::string Points() const {
        TPointContainer points;
        scroller->GetSelectPoints(points);
        std::string text;
        for (int i = 0; i < points.GetCount(); ++i)
            text += (i ? " " : "") + std::to_string(points[i].x) + "," + std::to_string(points[i].y);
        return text;
    }
};

}  // namespace

// A press into the scroller gives it the keyboard, unless it is no tab stop;
// a left press still starts its selection.
TEST_F(SelectableMouseTest, APressGivesTheScrollerTheKeyboard) {
    for (bool tabStop : {true, false}) {
        scroller->SetTabStop(tabStop);
        SetFocus(nullptr);
        Drag(scroller, {20, 20}, {60, 50});
        EXPECT_EQ(GetFocus() == scroller->GetHandle(), tabStop) << tabStop;
        EXPECT_TRUE(scroller->GetSelection()) << tabStop;
        Ctrl('R');
        EXPECT_EQ(scroller->GetShowRulers(), tabStop) << tabStop;
        scroller->SetShowRulers(false);
    }
}

TEST_F(SelectableMouseTest, APressAndReleaseAtOnePointLeavesNoSelection) {
    Click(scroller, {50, 40});
    EXPECT_FALSE(scroller->GetSelection());
    EXPECT_FALSE(scroller->GetSelecting());
    EXPECT_EQ(scroller->events, (Events{"selection 0 0 50,40,50,40", "end 0 0 50,40,50,40"}));
}

TEST_F(SelectableMouseTest, ARectangleDragReportsEachStepAndEndsNormalised) {
    const POINT corner = ClientOf(scroller, {20, 30});
    const COLORREF before = driver.Pixel(scroller->GetHandle(), corner.x, corner.y);
    Drag(scroller, {20, 30}, {80, 70});
    EXPECT_EQ(scroller->events, (Events{"selection 0 0 20,30,20,30", "start 0 0 20,30,20,30", "change 0 0 20,30,35,40",
                                        "change 0 0 20,30,50,50", "change 0 0 20,30,65,60", "change 0 0 20,30,80,70",
                                        "selection 0 1 20,30,80,70", "end 0 1 20,30,80,70"}));
    EXPECT_TRUE(scroller->GetSelection());
    EXPECT_EQ(Text(scroller->GetSelectRect()), "20,30,80,70");
    EXPECT_EQ(scroller->GetSelectRight(), 80);
    // The outline inverts the corner pixel; the inside is untouched.
    EXPECT_EQ(driver.Pixel(scroller->GetHandle(), corner.x, corner.y), before ^ 0xFFFFFF);
    const POINT inside = ClientOf(scroller, {50, 50});
    Move(scroller, {150, 140});
    const COLORREF insideNow = driver.Pixel(scroller->GetHandle(), inside.x, inside.y);
    scroller->SetShowSelection(false);
    EXPECT_EQ(driver.Pixel(scroller->GetHandle(), inside.x, inside.y), insideNow);
    EXPECT_EQ(driver.Pixel(scroller->GetHandle(), corner.x, corner.y), before);

    // A rectangle grows to the right and down only; without KeepSelection it
    // is reported and dropped.
    scroller->SetShowSelection(true);
    scroller->SetKeepSelection(false);
    scroller->events.clear();
    Drag(scroller, {100, 100}, {40, 40}, 1);
    EXPECT_EQ(scroller->events, (Events{"selection 0 0 100,100,100,100", "start 0 0 100,100,100,100",
                                        "change 0 0 100,100,101,101", "selection 0 1 100,100,101,101",
                                        "selection 0 0 100,100,101,101", "end 0 0 100,100,101,101"}));
    EXPECT_FALSE(scroller->GetSelection());
}

// Pressed at the last column a rectangle cannot grow: the line shown while
// it was drawn goes at the release, as the selection does not exist.
TEST_F(SelectableMouseTest, ARectangleWithoutWidthLeavesNothingBehind) {
    const std::vector<uint32_t> plain = Snapshot(scroller);
    Drag(scroller, {199, 40}, {230, 100});
    EXPECT_EQ(Text(scroller->GetSelectRect()), "199,40,199,100");
    EXPECT_FALSE(scroller->GetSelection());
    EXPECT_EQ(Snapshot(scroller), plain);
}

TEST_F(SelectableMouseTest, EdgesAndCornersDragWithinTheRectangle) {
    struct Case {
        POINT hover, to;
        TCursor cursor;
        const char* rect;
    };
    // The rectangle 20,30,80,70 in a 200 x 150 rectangle.
    const Case cases[] = {
        {{20, 50}, {60, 50}, crSizeWE, "60,30,80,70"},      {{19, 50}, {150, 50}, crSizeWE, "79,30,80,70"},
        {{80, 50}, {5, 50}, crSizeWE, "20,30,21,70"},       {{50, 30}, {50, -40}, crSizeNS, "20,0,80,70"},
        {{50, 71}, {50, 500}, crSizeNS, "20,30,80,149"},    {{81, 71}, {190, 140}, crSizeNWSE, "20,30,189,139"},
        {{20, 30}, {100, 100}, crSizeNWSE, "79,69,80,70"},  {{80, 30}, {300, -50}, crSizeNESW, "20,0,199,70"},
        {{20, 70}, {-30, 10}, crSizeNESW, "0,30,80,31"},
    };
    for (const Case& c : cases) {
        Clear();
        Drag(scroller, {20, 30}, {80, 70});
        EXPECT_EQ(Reshape(c.hover, c.to), c.cursor) << c.rect;
        EXPECT_EQ(Text(scroller->GetSelectRect()), c.rect);
        EXPECT_EQ(scroller->GetCursor(), crDefault);
        EXPECT_EQ(scroller->GetMouseMode(), smNone);
    }
    // Away from the edges the cursor is the default one.
    Move(scroller, {50, 50});
    EXPECT_EQ(scroller->GetCursor(), crDefault);
}

// Where two edges or corners are within reach, the last one tested is taken.
TEST_F(SelectableMouseTest, TheLastEdgeOrCornerHitWins) {
    Drag(scroller, {20, 30}, {22, 70}, 1);
    EXPECT_EQ(Reshape({21, 50}, {40, 50}), crSizeWE);
    EXPECT_EQ(Text(scroller->GetSelectRect()), "20,30,41,70");
    Clear();
    Drag(scroller, {20, 30}, {22, 32}, 1);
    EXPECT_EQ(Reshape({21, 31}, {60, 60}), crSizeNWSE);
    EXPECT_EQ(Text(scroller->GetSelectRect()), "20,30,61,61");
}

TEST_F(SelectableMouseTest, EllipseRadiiDragUpToTheNearerBorders) {
    struct Case {
        bool selectEllipse;
        POINT hover, to;
        TCursor cursor;
        const char* ellipse;
    };
    // Drawn from 100,75 to 130,95: radii 30 and 20, or a circle of 20.
    const Case cases[] = {
        {true, {130, 75}, {160, 75}, crSizeWE, "100,75 r60,20"},  {true, {129, 75}, {400, 75}, crSizeWE, "100,75 r99,20"},
        {true, {70, 75}, {90, 75}, crSizeWE, "100,75 r10,20"},    {true, {100, 95}, {100, 300}, crSizeNS, "100,75 r30,74"},
        {true, {100, 55}, {100, 70}, crSizeNS, "100,75 r30,5"},   {false, {120, 75}, {150, 75}, crSizeWE, "100,75 r50,50"},
        {false, {100, 55}, {100, 400}, crSizeNS, "100,75 r74,74"},
    };
    scroller->SetSelectionType(selEllipse);
    for (const Case& c : cases) {
        scroller->SetSelectEllipse(c.selectEllipse);
        Clear();
        Drag(scroller, {100, 75}, {130, 95});
        EXPECT_EQ(Reshape(c.hover, c.to), c.cursor) << c.ellipse;
        EXPECT_EQ(Ellipse(), c.ellipse);
    }
    // Drawn as 30 by 10 without SelectEllipse: a circle of radius 10.
    Clear();
    Drag(scroller, {100, 75}, {130, 85});
    EXPECT_EQ(Ellipse(), "100,75 r10,10");
    // The reported rectangle is the ellipse's bounding box.
    EXPECT_EQ(Text(scroller->GetSelectRect()), "90,65,110,85");
    EXPECT_EQ(scroller->GetSelectBottom(), 85);
}

TEST_F(SelectableMouseTest, AnEllipseOfRadiusZeroHasNoInside) {
    scroller->SetSelectionType(selEllipse);
    scroller->SetMovableSelection(true);
    Drag(scroller, {100, 75}, {130, 95});
    Reshape({130, 75}, {100, 75});
    EXPECT_EQ(Ellipse(), "100,75 r0,20");
    EXPECT_TRUE(scroller->GetSelection());
    // A press inside its height (away from the handles) starts a new ellipse
    // instead of moving this one.
    Click(scroller, {100, 85});
    EXPECT_FALSE(scroller->GetSelection());
    EXPECT_EQ(scroller->GetMouseMode(), smNone);
}

TEST_F(SelectableMouseTest, PolygonPointsDragWithinTheRectangle) {
    DrawTriangle();
    EXPECT_TRUE(scroller->GetSelection());
    EXPECT_EQ(Points(), "20,20 100,20 60,80");
    EXPECT_EQ(Text(scroller->GetSelectRect()), "-1,-1,-1,-1");
    scroller->events.clear();
    EXPECT_EQ(Reshape({101, 21}, {150, 40}), crSizeAll);
    EXPECT_EQ(Points(), "20,20 150,40 60,80");
    EXPECT_EQ(scroller->events, (Events{"change 3 1"}));
    EXPECT_EQ(Reshape({62, 78}, {500, 500}), crSizeAll);
    EXPECT_EQ(Points(), "20,20 150,40 199,149");
    // Outside MoveRadius (3) of every point.
    Move(scroller, {23, 22});
    EXPECT_EQ(scroller->GetCursor(), crDefault);
}

TEST_F(SelectableMouseTest, PolygonsCloseWithTheRightButtonAndWithholdThePopup) {
    auto* menu = new TPopupMenu(form);
    auto* item = new TMenuItem(menu);
    item->SetCaption("Item");
    menu->GetItems()->Add(item);
    scroller->SetPopupMenu(menu);
    int popups = 0;
    win32::SetModalResponder([&](const win32::ModalInteraction& interaction) {
        if (interaction.kind == win32::ModalKind::PopupMenu) ++popups;
        return win32::ModalReply::Answer(0);
    });

    // One real point and the one that follows the mouse: dropped.
    scroller->SetSelectionType(selPolygon);
    Click(scroller, {20, 20});
    Click(scroller, {20, 20}, 1);
    EXPECT_FALSE(scroller->GetSelection());
    EXPECT_FALSE(scroller->GetSelecting());
    EXPECT_EQ(scroller->events, (Events{"selection 3 0", "selection 3 0", "end 3 0"}));
    EXPECT_EQ(popups, 0);
    // Without a polygon under way the right button opens the menu.
    Click(scroller, {20, 20}, 1);
    EXPECT_EQ(popups, 1);

    // A polygon fires no OnSelStart; without KeepSelection it is reported, then dropped.
    scroller->SetKeepSelection(false);
    scroller->events.clear();
    DrawTriangle();
    EXPECT_EQ(popups, 1);
    EXPECT_FALSE(scroller->GetSelection());
    EXPECT_EQ(scroller->events, (Events{"selection 3 0", "change 3 0", "selection 3 0", "change 3 0", "selection 3 1",
                                        "selection 3 0", "end 3 0"}));
    win32::SetModalResponder(nullptr);
}

TEST_F(SelectableMouseTest, MovableSelectionsMoveWhileTheyStayInside) {
    struct Case {
        TRectScrollerSelection kind;
        POINT press, to;
        const char* result;
    };
    const Case cases[] = {
        {selRect, {50, 50}, {60, 55}, "30,35,90,75"},        {selRect, {50, 50}, {190, 60}, "20,40,80,80"},
        {selEllipse, {100, 75}, {120, 80}, "120,80 r30,20"}, {selEllipse, {100, 75}, {190, 60}, "100,60 r30,20"},
        {selPolygon, {60, 40}, {70, 50}, "30,30 110,30 70,90"}, {selPolygon, {60, 40}, {-40, 40}, "0,20 80,20 40,80"},
    };
    scroller->SetMovableSelection(true);
    for (const Case& c : cases) {
        Clear();
        scroller->SetSelectionType(c.kind);
        if (c.kind == selRect) Drag(scroller, {20, 30}, {80, 70});
        if (c.kind == selEllipse) Drag(scroller, {100, 75}, {130, 95});
        if (c.kind == selPolygon) DrawTriangle();
        scroller->events.clear();
        Reshape(c.press, c.to);
        const std::string result =
            c.kind == selRect ? Text(scroller->GetSelectRect()) : c.kind == selEllipse ? Ellipse() : Points();
        EXPECT_EQ(result, c.result);
        EXPECT_TRUE(scroller->GetSelection());
        EXPECT_TRUE(scroller->events.empty()) << scroller->events.front();  // a move fires nothing
    }
    // A press outside the selection starts a new one.
    scroller->SetSelectionType(selRect);
    Clear();
    Drag(scroller, {20, 30}, {80, 70});
    Reshape({150, 100}, {160, 120});
    EXPECT_EQ(Text(scroller->GetSelectRect()), "150,100,160,120");
}

// While the selection is hidden or not reshapable, hovering grabs nothing.
TEST_F(SelectableMouseTest, HiddenOrFixedSelectionsAreNotGrabbed) {
    Drag(scroller, {20, 30}, {80, 70});
    for (int variant = 0; variant < 2; ++variant) {
        scroller->SetShowSelection(variant == 1);
        scroller->SetMovablePoints(variant == 0);
        Move(scroller, {20, 50});
        EXPECT_EQ(scroller->GetMouseMode(), smNone) << variant;
        EXPECT_EQ(scroller->GetCursor(), crDefault) << variant;
    }
    // A selection that goes while the mouse hovers over its edge leaves nothing to drag.
    scroller->SetMovablePoints(true);
    scroller->SetShowSelection(true);
    Move(scroller, {20, 50});
    EXPECT_EQ(scroller->GetMouseMode(), smOverEdge);
    Ctrl('S');
    EXPECT_EQ(scroller->GetMouseMode(), smNone);
    Down(scroller, {20, 50});
    EXPECT_TRUE(scroller->GetSelecting());
    EXPECT_EQ(scroller->GetSelectionType(), selEllipse);
}
