// TWinControl: windows on demand from CreateParams, child windows, keys with
// their events, focus and the bounds a window reports.
#include <string>
#include <vector>

#include "ControlFixture.h"
#include "Exceptions.h"

namespace {

// Adds scroll-bar style bits and records which key messages reach the
// default window procedure.
class TKeyControl : public TWinControl {
    CLASSLIB_CLASS(TKeyControl, TWinControl)
    CLASSLIB_MESSAGE_MAP(TKeyControl, TWinControl, {WM_SIZE, &TKeyControl::WMSize})

public:
    using TWinControl::TWinControl;
    std::vector<UINT> defaultKeys;
    std::vector<std::string> log;
    void DefaultHandler(TMessage& message) override {
        if (message.Msg == WM_KEYDOWN || message.Msg == WM_CHAR) defaultKeys.push_back(message.Msg);
        TWinControl::DefaultHandler(message);
    }

protected:
    void CreateParams(TCreateParams& params) override {
        TWinControl::CreateParams(params);
        params.Style |= WS_HSCROLL | WS_VSCROLL;
    }
    void KeyDown(WORD& key, TShiftState shift) override {
        TWinControl::KeyDown(key, shift);
        if (key == 0) return;
        log.push_back("KeyDown " + std::to_string(key) + (shift.Contains(ssCtrl) ? " ctrl" : ""));
    }

private:
    void WMSize(TMessage& message) {
        log.push_back("size " + std::to_string(GetWidth()) + "x" + std::to_string(GetHeight()));
        TWinControl::Dispatch(message);
    }
};

TEST_F(ControlTest, WindowIsMadeOnDemandFromCreateParams) {
    auto* control = new TKeyControl(host);
    control->SetBounds(10, 20, 80, 60);
    control->SetText("Hello");
    EXPECT_FALSE(control->HandleAllocated());
    control->SetParent(host);  // the parent has a window: the child gets one at once
    ASSERT_TRUE(control->HandleAllocated());
    HWND window = control->GetHandle();
    EXPECT_EQ(TWinControl::FindControl(window), control);
    EXPECT_EQ(::GetParent(window), host->GetHandle());
    LONG_PTR style = GetWindowLongA(window, GWL_STYLE);
    EXPECT_EQ(style & (WS_CHILD | WS_HSCROLL | WS_VSCROLL | WS_VISIBLE),
              static_cast<LONG_PTR>(WS_CHILD | WS_HSCROLL | WS_VSCROLL | WS_VISIBLE));
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    EXPECT_STREQ(className, "TKeyControl");
    char text[16] = {};
    GetWindowTextA(window, text, sizeof text);
    EXPECT_STREQ(text, "Hello");
    RECT client = control->GetClientRect();
    EXPECT_EQ(client.right, 80 - 16);  // the scroll bars take their room
    EXPECT_EQ(client.bottom, 60 - 16);

    control->Hide();
    EXPECT_FALSE(IsWindowVisible(window));
    control->SetEnabled(false);
    EXPECT_FALSE(IsWindowEnabled(window));
    control->Show();
    EXPECT_TRUE(IsWindowVisible(window));

    control->DestroyHandle();
    EXPECT_FALSE(control->HandleAllocated());
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(control->GetText(), "Hello");
    EXPECT_EQ(control->GetLeft(), 10);
    // Made again from the stored state, disabled as it was left.
    EXPECT_FALSE(IsWindowEnabled(control->GetHandle()));
    EXPECT_EQ(control->GetWidth(), 80);
}

TEST(WinControl, AChildWithoutParentWindowCannotMakeOne) {
    TWinControl control(nullptr);
    control.SetName("Lonely");
    EXPECT_THROW(control.HandleNeeded(), EInvalidOperation);
}

TEST_F(ControlTest, ChildWindowsAreMadeWithTheParentsWindow) {
    auto* panel = new TWinControl(nullptr);
    auto* inner = new TWinControl(panel);
    inner->SetParent(panel);
    inner->SetBounds(3, 4, 10, 10);
    EXPECT_FALSE(inner->HandleAllocated());
    panel->SetParent(host);
    ASSERT_TRUE(inner->HandleAllocated());
    EXPECT_EQ(::GetParent(inner->GetHandle()), panel->GetHandle());
    HWND innerWindow = inner->GetHandle();
    delete panel;  // deletes its child controls and their windows
    EXPECT_FALSE(IsWindow(innerWindow));
    EXPECT_EQ(host->GetControlCount(), 0);
}

TEST_F(ControlTest, BoundsFollowTheWindowAndAreCurrentInWmSize) {
    auto* control = new TKeyControl(host);
    control->SetParent(host);
    control->log.clear();
    control->SetBounds(5, 5, 70, 40);
    EXPECT_EQ(control->log, (std::vector<std::string>{"size 70x40"}));
    MoveWindow(control->GetHandle(), 1, 2, 33, 44, TRUE);
    EXPECT_EQ(control->GetLeft(), 1);
    EXPECT_EQ(control->GetTop(), 2);
    EXPECT_EQ(control->GetWidth(), 33);
    EXPECT_EQ(control->log.back(), "size 33x44");
}

TEST_F(ControlTest, KeySetToZeroGoesNoFurther) {
    auto* control = new TKeyControl(host);
    control->SetParent(host);
    control->SetFocus();
    ASSERT_TRUE(control->Focused());
    control->log.clear();
    std::string pressed;
    control->OnKeyDown = [&](TObject*, WORD& key, TShiftState) {
        if (key == 'X') key = 0;
    };
    control->OnKeyPress = [&](TObject*, char& key) {
        pressed += key;
        if (key == 'b') key = 0;
    };
    driver.Press('A');
    EXPECT_EQ(control->log, (std::vector<std::string>{"KeyDown 65"}));
    EXPECT_EQ(control->defaultKeys, (std::vector<UINT>{WM_KEYDOWN, WM_CHAR}));
    control->log.clear();
    control->defaultKeys.clear();
    driver.Press('X');  // swallowed at key-down: the override and the default see nothing
    EXPECT_TRUE(control->log.empty());
    EXPECT_EQ(control->defaultKeys, (std::vector<UINT>{WM_CHAR}));
    control->defaultKeys.clear();
    driver.Press('B');
    EXPECT_EQ(control->defaultKeys, (std::vector<UINT>{WM_KEYDOWN}));
    EXPECT_EQ(pressed, "axb");
    control->log.clear();
    driver.Press({VK_CONTROL}, 'C');
    EXPECT_EQ(control->log, (std::vector<std::string>{"KeyDown 17 ctrl", "KeyDown 67 ctrl"}));
}

TEST_F(ControlTest, FocusFiresEnterAndExit) {
    auto* first = new TWinControl(host);
    auto* second = new TWinControl(host);
    first->SetParent(host);
    second->SetParent(host);
    std::vector<std::string> log;
    first->OnEnter = [&](TObject*) { log.push_back("enter first"); };
    first->OnExit = [&](TObject*) { log.push_back("exit first"); };
    second->OnEnter = [&](TObject*) { log.push_back("enter second"); };
    first->SetFocus();
    second->SetFocus();
    EXPECT_EQ(log, (std::vector<std::string>{"enter first", "exit first", "enter second"}));
    second->Hide();
    EXPECT_FALSE(second->CanFocus());
    EXPECT_THROW(second->SetFocus(), EInvalidOperation);
}

TEST_F(ControlTest, TabOrderCountsWindowedSiblings) {
    auto* a = new TWinControl(host);
    auto* graphic = new TControl(host);
    auto* b = new TWinControl(host);
    a->SetParent(host);
    graphic->SetParent(host);
    b->SetParent(host);
    EXPECT_EQ(a->GetTabOrder(), 0);
    EXPECT_EQ(b->GetTabOrder(), 1);
    b->SetTabOrder(0);
    EXPECT_EQ(b->GetTabOrder(), 0);
    EXPECT_EQ(a->GetTabOrder(), 1);
    a->SetTabOrder(99);
    EXPECT_EQ(a->GetTabOrder(), 1);
    a->SetTabStop(true);
    EXPECT_TRUE(GetWindowLongA(a->GetHandle(), GWL_STYLE) & WS_TABSTOP);
}

}  // namespace
