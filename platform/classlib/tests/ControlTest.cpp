// TControl: bounds, parent, visibility, font and colour inheritance, the
// message path with its maps, and the mouse events of windowed controls.
#include <string>
#include <vector>

#include "ControlFixture.h"
#include "Exceptions.h"

namespace {

// A control whose map handles WM_USER itself and leaves the rest to its base.
class TMappedBase : public TControl {
    CLASSLIB_CLASS(TMappedBase, TControl)
    CLASSLIB_MESSAGE_MAP(TMappedBase, TControl, {WM_USER, &TMappedBase::BaseUser},
                         {WM_USER + 1, &TMappedBase::BaseUserPlusOne})

public:
    using TControl::TControl;
    std::vector<std::string> log;
    void DefaultHandler(TMessage& message) override { log.push_back("default " + std::to_string(message.Msg)); }

private:
    void BaseUser(TMessage& message) {
        log.push_back("base user");
        message.Result = 7;
    }
    void BaseUserPlusOne(TMessage&) { log.push_back("base user+1"); }
};

class TMappedDerived : public TMappedBase {
    CLASSLIB_CLASS(TMappedDerived, TMappedBase)
    CLASSLIB_MESSAGE_MAP(TMappedDerived, TMappedBase, {WM_USER + 1, &TMappedDerived::DerivedUserPlusOne})

public:
    using TMappedBase::TMappedBase;

private:
    void DerivedUserPlusOne(TMessage& message) {
        log.push_back("derived user+1");
        TMappedBase::Dispatch(message);  // "inherited"
    }
};

// A control with a Refresh of its own, as the scrolling views have.
class TRefreshingControl : public TControl {
public:
    using TControl::TControl;
    void Refresh() override { ++refreshes; }
    int refreshes = 0;
};

TEST(ControlPainting, ADerivedRefreshRunsThroughTheBaseClass) {
    TRefreshingControl control(nullptr);
    TControl* base = &control;
    base->Refresh();
    EXPECT_EQ(control.refreshes, 1);
}

TEST(ControlMessages, MapsFallBackToTheBaseClassThenTheDefaultHandler) {
    TMappedDerived control(nullptr);
    EXPECT_EQ(control.Perform(WM_USER, 0, 0), 7);
    control.Perform(WM_USER + 1, 0, 0);
    control.Perform(WM_USER + 2, 0, 0);
    EXPECT_EQ(control.log, (std::vector<std::string>{"base user", "derived user+1", "base user+1",
                                                     "default " + std::to_string(WM_USER + 2)}));
}

TEST(ControlMessages, WindowProcCanBeReplaced) {
    TMappedDerived control(nullptr);
    auto original = control.WindowProc;
    int seen = 0;
    control.WindowProc = [&](TMessage& message) {
        ++seen;
        original(message);
    };
    EXPECT_EQ(control.Perform(WM_USER, 0, 0), 7);
    EXPECT_EQ(seen, 1);
}

TEST(ControlBounds, NegativeSizesBecomeZeroAndResizeFiresOnlyOnSizeChanges) {
    TControl control(nullptr);
    int resizes = 0;
    control.OnResize = [&](TObject* sender) {
        EXPECT_EQ(sender, &control);
        ++resizes;
    };
    control.SetBounds(5, 6, -10, 20);
    EXPECT_EQ(control.GetWidth(), 0);
    EXPECT_EQ(control.GetHeight(), 20);
    EXPECT_EQ(resizes, 1);
    control.SetLeft(50);
    EXPECT_EQ(resizes, 1);
    control.SetWidth(30);
    EXPECT_EQ(resizes, 2);
    EXPECT_EQ(control.GetClientWidth(), 30);
    EXPECT_EQ(control.GetClientRect().bottom, 20);
}

TEST(ControlBounds, SizeIsCurrentWhenTheSizeMessageArrives) {
    class TSizeWatcher : public TControl {
        CLASSLIB_CLASS(TSizeWatcher, TControl)
        CLASSLIB_MESSAGE_MAP(TSizeWatcher, TControl, {WM_SIZE, &TSizeWatcher::WMSize})

    public:
        using TControl::TControl;
        int widthSeen = -1;

    private:
        void WMSize(TMessage& message) {
            widthSeen = GetWidth();
            TControl::Dispatch(message);
        }
    } control(nullptr);
    control.SetBounds(0, 0, 33, 10);
    EXPECT_EQ(control.widthSeen, 33);
}

TEST_F(ControlTest, ParentKeepsChildrenAndRefusesLoops) {
    auto* panel = new TWinControl(host);
    panel->SetParent(host);
    auto* inner = new TControl(host);
    inner->SetParent(panel);
    EXPECT_EQ(host->GetControlCount(), 1);
    EXPECT_EQ(panel->GetControl(0), inner);
    EXPECT_THROW(host->SetParent(panel), EInvalidOperation);
    EXPECT_THROW(panel->SetParent(panel), EInvalidOperation);
    inner->SetParent(host);
    EXPECT_EQ(panel->GetControlCount(), 0);
    EXPECT_EQ(host->GetControlCount(), 2);
    delete inner;
    EXPECT_EQ(host->GetControlCount(), 1);
}

TEST_F(ControlTest, ClientToScreenGoesThroughTheParentWindow) {
    auto* control = new TControl(host);
    control->SetParent(host);
    control->SetBounds(10, 20, 30, 30);
    POINT screen = control->ClientToScreen(POINT{1, 2});
    EXPECT_EQ(screen.x, 111);
    EXPECT_EQ(screen.y, 122);
    POINT back = control->ScreenToClient(screen);
    EXPECT_EQ(back.x, 1);
    EXPECT_EQ(back.y, 2);
}

TEST_F(ControlTest, ParentFontAndColourFollowTheParentUntilSetOwn) {
    auto* child = new TControl(host);
    child->SetParent(host);
    child->SetParentColor(true);
    host->GetFont()->SetName("Arial");
    host->SetColor(clYellow);
    EXPECT_EQ(child->GetFont()->GetName(), "Arial");
    EXPECT_EQ(child->GetColor(), clYellow);
    child->GetFont()->SetSize(20);
    child->SetColor(clRed);
    EXPECT_FALSE(child->GetParentFont());
    EXPECT_FALSE(child->GetParentColor());
    host->GetFont()->SetName("Courier New");
    host->SetColor(clBlue);
    EXPECT_EQ(child->GetFont()->GetName(), "Arial");
    EXPECT_EQ(child->GetColor(), clRed);
}

TEST_F(ControlTest, AlignLaysOutBandsThenTheClientArea) {
    auto make = [&](TAlign align, int size) {
        auto* control = new TControl(host);
        control->SetBounds(0, 0, size, size);
        control->SetParent(host);
        control->SetAlign(align);
        return control;
    };
    TControl* top = make(alTop, 20);
    TControl* left = make(alLeft, 30);
    TControl* client = make(alClient, 5);
    EXPECT_EQ(top->GetBoundsRect().right, 200);
    EXPECT_EQ(left->GetTop(), 20);
    EXPECT_EQ(left->GetHeight(), 130);
    EXPECT_EQ(client->GetLeft(), 30);
    EXPECT_EQ(client->GetWidth(), 170);
    host->SetHeight(100);
    EXPECT_EQ(client->GetHeight(), 80);
}

// Clicks, double clicks and the order of the mouse events of a windowed control.
TEST_F(ControlTest, MouseEventsOfAWindowedControl) {
    auto* control = new TWinControl(host);
    control->SetBounds(10, 10, 50, 50);
    control->SetParent(host);
    std::vector<std::string> log;
    control->OnMouseDown = [&](TObject*, TMouseButton button, TShiftState shift, int x, int y) {
        log.push_back("down " + std::to_string(button) + (shift.Contains(ssDouble) ? " double " : " ") +
                      std::to_string(x) + "," + std::to_string(y));
    };
    control->OnMouseUp = [&](TObject*, TMouseButton button, TShiftState, int, int) {
        log.push_back("up " + std::to_string(button));
    };
    control->OnClick = [&](TObject*) { log.push_back("click"); };
    control->OnDblClick = [&](TObject*) { log.push_back("dblclick"); };
    driver.Click(control->GetHandle(), 5, 6);
    EXPECT_EQ(log, (std::vector<std::string>{"down 0 5,6", "up 0", "click"}));
    log.clear();
    driver.Advance(1000);
    driver.DoubleClick(control->GetHandle(), 7, 8);
    // The up after a double click is no click of its own.
    EXPECT_EQ(log, (std::vector<std::string>{"down 0 7,8", "up 0", "click", "dblclick", "down 0 double 7,8",
                                             "up 0"}));
    log.clear();
    driver.Advance(1000);
    // Released outside (the control holds the mouse): an up, no click.
    driver.MouseDown(control->GetHandle(), 5, 5);
    driver.MoveMouse(control->GetHandle(), 200, 200);
    driver.MouseUp(control->GetHandle(), 200, 200);
    EXPECT_EQ(log, (std::vector<std::string>{"down 0 5,5", "up 0"}));
}

}  // namespace
