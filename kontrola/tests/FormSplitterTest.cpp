// Tests of TFormSplitter: dragging with the mouse, omitted and moving controls,
// joined lines, limits, keeping the ratio on resize and the stored properties.
#include "FormSplitter.h"

#include <cmath>
#include <tuple>
#include <vector>

#include "CustomControl.h"
#include "KontrolaFixture.h"
#include "PropertyTable.h"
#include "Registration.h"
#include "Streaming.h"

namespace {

// Four windowed panes around a vertical gap at x 188..200 and a horizontal gap
// at y 138..150, and a small control that moves with the vertical line.
class FormSplitterTest : public FormTest {
protected:
    void SetUp() override {
        FormTest::SetUp();
        topLeft = Place<TCustomControl>(8, 8, 180, 130);
        bottomLeft = Place<TCustomControl>(8, 150, 180, 100);
        topRight = Place<TCustomControl>(200, 8, 180, 130);
        bottomRight = Place<TCustomControl>(200, 150, 180, 100);
        mover = Place<TCustomControl>(190, 255, 10, 10);
        vertical = new TFormSplitter(form);
        vertical->SetPosition(194);
        vertical->AddLowerObject(topLeft);
        vertical->AddLowerObject(bottomLeft);
        vertical->AddUpperObject(topRight);
        vertical->AddUpperObject(bottomRight);
        vertical->AddMovingObject(mover);
        vertical->OnMove = [this](TObject* sender) {
            EXPECT_EQ(sender, vertical);
            ++moves;
        };
        driver.PumpUntilIdle();
    }
    // A horizontal line at y 144 between the two left panes.
    TFormSplitter* MakeHorizontal() {
        TFormSplitter* splitter = new TFormSplitter(form);
        splitter->SetHorizontal(false);
        splitter->SetPosition(144);
        splitter->AddLowerObject(topLeft);
        splitter->AddUpperObject(bottomLeft);
        return splitter;
    }
    HWND Window() { return form->GetHandle(); }

    TCustomControl* topLeft = nullptr;
    TCustomControl* bottomLeft = nullptr;
    TCustomControl* topRight = nullptr;
    TCustomControl* bottomRight = nullptr;
    TCustomControl* mover = nullptr;
    TFormSplitter* vertical = nullptr;
    int moves = 0;
};

void ExpectBounds(TControl* control, int left, int top, int width, int height) {
    EXPECT_EQ(control->GetLeft(), left);
    EXPECT_EQ(control->GetTop(), top);
    EXPECT_EQ(control->GetWidth(), width);
    EXPECT_EQ(control->GetHeight(), height);
}

}  // namespace

TEST_F(FormSplitterTest, DraggingResizesBothSidesAndMovesTheMovingControls) {
    driver.Drag(Window(), 194, 60, 214, 60);
    EXPECT_EQ(vertical->GetPosition(), 214);
    ExpectBounds(topLeft, 8, 8, 200, 130);
    ExpectBounds(bottomLeft, 8, 150, 200, 100);
    ExpectBounds(topRight, 220, 8, 160, 130);
    ExpectBounds(bottomRight, 220, 150, 160, 100);
    ExpectBounds(mover, 210, 255, 10, 10);
    EXPECT_GE(moves, 1);
    EXPECT_FALSE(vertical->Dragging());
    // The window rectangles follow the bounds.
    RECT r{};
    GetWindowRect(topRight->GetHandle(), &r);
    EXPECT_EQ(r.right - r.left, 160);
}

TEST_F(FormSplitterTest, PressesAwayFromTheLineAreLeftToTheForm) {
    driver.Drag(Window(), 194 + vertical->GetHitWidth() + 1, 60, 250, 60);
    EXPECT_EQ(vertical->GetPosition(), 194);
    ExpectBounds(topRight, 200, 8, 180, 130);
    EXPECT_EQ(moves, 0);
}

TEST_F(FormSplitterTest, OmittedControlsAreLeftAlone) {
    vertical->OnOmitControl = [this](TObject*, TControl* control) { return control == bottomLeft || control == mover; };
    driver.Drag(Window(), 194, 60, 174, 60);
    EXPECT_EQ(vertical->GetPosition(), 174);
    ExpectBounds(topLeft, 8, 8, 160, 130);
    ExpectBounds(bottomLeft, 8, 150, 180, 100);
    ExpectBounds(topRight, 180, 8, 200, 130);
    ExpectBounds(mover, 190, 255, 10, 10);
}

TEST_F(FormSplitterTest, ControlsKeepTheirMinimumSize) {
    driver.Drag(Window(), 194, 60, 0, 60);
    EXPECT_EQ(vertical->GetPosition(), 194 - 180 + vertical->GetMinSize());
    EXPECT_EQ(topLeft->GetWidth(), vertical->GetMinSize());
    driver.Drag(Window(), vertical->GetPosition(), 60, 399, 60);
    EXPECT_EQ(topRight->GetWidth(), vertical->GetMinSize());
    EXPECT_EQ(topRight->GetLeft() + topRight->GetWidth(), 380);
}

TEST_F(FormSplitterTest, AJoinedLineEndsOnTheOtherLine) {
    TFormSplitter* horizontal = MakeHorizontal();
    vertical->JoinEnd(horizontal);
    EXPECT_EQ(horizontal->LineEnd(), 194);
    EXPECT_TRUE(horizontal->HitTest(POINT{100, 144}));
    EXPECT_FALSE(horizontal->HitTest(POINT{250, 144}));
    // Beyond the vertical line the horizontal gap is not the splitter's.
    driver.Drag(Window(), 250, 144, 250, 120);
    EXPECT_EQ(horizontal->GetPosition(), 144);
    driver.Drag(Window(), 100, 144, 100, 124);
    EXPECT_EQ(horizontal->GetPosition(), 124);
    ExpectBounds(topLeft, 8, 8, 180, 110);
    ExpectBounds(bottomLeft, 8, 130, 180, 120);
    // The end follows the vertical line.
    driver.Drag(Window(), 194, 60, 224, 60);
    EXPECT_EQ(horizontal->LineEnd(), 224);
    EXPECT_TRUE(horizontal->HitTest(POINT{210, 124}));
    delete vertical;
    vertical = nullptr;
    EXPECT_EQ(horizontal->LineEnd(), form->GetClientWidth());
}

TEST_F(FormSplitterTest, KeepRatioFollowsTheFormSize) {
    vertical->SetResizeMode(fsrKeepRatio);
    const int oldClient = form->GetClientWidth();
    form->SetWidth(form->GetWidth() + 100);
    driver.PumpUntilIdle();
    const int newClient = form->GetClientWidth();
    ASSERT_EQ(newClient, oldClient + 100);
    const int expected = static_cast<int>(std::lround(194.0 * newClient / oldClient));
    EXPECT_EQ(vertical->GetPosition(), expected);
    EXPECT_EQ(topLeft->GetWidth(), 180 + expected - 194);
    EXPECT_EQ(topRight->GetLeft(), 200 + expected - 194);
    EXPECT_GE(moves, 1);
    // Back to the old size, back to the old position.
    form->SetWidth(form->GetWidth() - 100);
    driver.PumpUntilIdle();
    EXPECT_EQ(vertical->GetPosition(), 194);

    vertical->SetResizeMode(fsrNone);
    form->SetWidth(form->GetWidth() + 50);
    driver.PumpUntilIdle();
    EXPECT_EQ(vertical->GetPosition(), 194);
}

// A form whose own resize handler keeps its right-hand panes 8 pixels from
// the edge: after a large growth and a large shrink, in one step each, every
// pane is where it was. The line moves before the handler sizes the panes,
// so none is ever sized from a place the line is about to leave.
TEST_F(FormSplitterTest, ALargeShrinkLeavesTheLayoutOfTheSizeItEndsAt) {
    vertical->SetResizeMode(fsrKeepRatio);
    form->OnResize = [this](TObject*) {
        for (TControl* pane : {topRight, bottomRight}) pane->SetWidth(form->GetClientWidth() - 8 - pane->GetLeft());
    };
    // A small step first, which the handler and the line agree on either way.
    form->SetWidth(form->GetWidth() + 10);
    driver.PumpUntilIdle();
    std::vector<RECT> before;
    for (TControl* pane : {topLeft, bottomLeft, topRight, bottomRight}) before.push_back(pane->GetBoundsRect());
    form->SetWidth(form->GetWidth() + 800);
    driver.PumpUntilIdle();
    EXPECT_EQ(topRight->GetLeft() + topRight->GetWidth(), form->GetClientWidth() - 8);
    form->SetWidth(form->GetWidth() - 800);
    driver.PumpUntilIdle();
    size_t index = 0;
    for (TControl* pane : {topLeft, bottomLeft, topRight, bottomRight}) {
        const RECT now = pane->GetBoundsRect(), then = before[index++];
        EXPECT_EQ(std::make_tuple(now.left, now.top, now.right, now.bottom),
                  std::make_tuple(then.left, then.top, then.right, then.bottom))
            << pane->GetName() << " " << index;
    }
    form->OnResize = nullptr;
}

TEST_F(FormSplitterTest, CursorAndHintOverTheLine) {
    vertical->SetShowPosition(true);
    vertical->SetShowPercentage(true);
    driver.MoveMouse(Window(), 194, 60);
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_SIZEWE));
    const int client = form->GetClientWidth();
    EXPECT_EQ(vertical->HintText(), "194 (" + std::to_string(194 * 100 / client) + "%)");
    vertical->SetShowPosition(false);
    EXPECT_EQ(vertical->HintText(), std::to_string(194 * 100 / client) + "%");
    driver.Drag(Window(), 194, 60, 204, 60);
    EXPECT_EQ(vertical->GetPosition(), 204);
}

TEST_F(FormSplitterTest, ControlsThatGoLeaveTheLists) {
    delete topRight;
    topRight = nullptr;
    driver.Drag(Window(), 194, 60, 204, 60);
    EXPECT_EQ(vertical->GetPosition(), 204);
    EXPECT_EQ(bottomRight->GetLeft(), 210);
}

TEST_F(FormSplitterTest, StoredPropertiesLoadFromAFormText) {
    RegisterClass<TFormSplitter>();
    ReadComponentText(form,
                      "object Form: TForm\n"
                      "  object FormSplitter9: TFormSplitter\n"
                      "    ShowPosition = True\n"
                      "    ShowPercentage = True\n"
                      "    Horizontal = False\n"
                      "    LineType = fslChecked\n"
                      "    CursorType = fscSplit\n"
                      "    ResizeMode = fsrKeepRatio\n"
                      "  end\n"
                      "end\n");
    auto* splitter = dynamic_cast<TFormSplitter*>(form->FindComponent("FormSplitter9"));
    ASSERT_NE(splitter, nullptr);
    EXPECT_TRUE(splitter->GetShowPosition());
    EXPECT_FALSE(splitter->GetHorizontal());
    EXPECT_EQ(splitter->GetLineType(), fslChecked);
    EXPECT_EQ(splitter->GetResizeMode(), fsrKeepRatio);
    EXPECT_EQ(splitter->GetHost(), form);
}
