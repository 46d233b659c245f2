// Shift states of messages, bound events and binding handlers by name.
#include <gtest/gtest.h>

#include "Controls.h"
#include "display/TestDriver.h"

namespace {

class TMainForm : public TComponent {
    CLASSLIB_CLASS(TMainForm, TComponent)

public:
    using TComponent::TComponent;
    TObject* clickedBy = nullptr;
    void ButtonClick(TObject* sender) { clickedBy = sender; }
    void EditKeyDown(TObject*, WORD& key, TShiftState) { key = 0; }
};

const THandlerEntry kMainFormHandlers[] = {
    CLASSLIB_HANDLER(TMainForm, ButtonClick),
    CLASSLIB_HANDLER(TMainForm, EditKeyDown),
};

TEST(Events, HandlersBindByNameToTheirObject) {
    TMainForm form(nullptr);
    TControl button(nullptr);
    button.OnClick = std::any_cast<TNotifyEvent>(BindHandler(kMainFormHandlers, &form, "ButtonClick"));
    button.SetBounds(0, 0, 10, 10);
    button.Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
    button.Perform(WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
    EXPECT_EQ(form.clickedBy, &button);

    auto keyDown = std::any_cast<TKeyEvent>(BindHandler(kMainFormHandlers, &form, "EditKeyDown"));
    WORD key = 'A';
    keyDown(&button, key, TShiftState{});
    EXPECT_EQ(key, 0);
}

TEST(Events, UnknownHandlersWrongObjectsAndWrongSignaturesFailCleanly) {
    TMainForm form(nullptr);
    TComponent other(nullptr);
    EXPECT_FALSE(BindHandler(kMainFormHandlers, &form, "Missing").has_value());
    EXPECT_FALSE(BindHandler(kMainFormHandlers, &form, nullptr).has_value());
    EXPECT_FALSE(BindHandler(kMainFormHandlers, &other, "ButtonClick").has_value());
    EXPECT_THROW(std::any_cast<TKeyEvent>(BindHandler(kMainFormHandlers, &form, "ButtonClick")), std::bad_any_cast);
    EXPECT_FALSE(MakeEvent<TMainForm>(nullptr, &TMainForm::ButtonClick));
}

TEST(Events, ShiftStatesOfMouseKeys) {
    win32::TestDriver driver;
    TShiftState shift = KeysToShiftState(MK_SHIFT | MK_CONTROL | MK_RBUTTON);
    EXPECT_TRUE(shift.Contains(ssShift));
    EXPECT_TRUE(shift.Contains(ssCtrl));
    EXPECT_TRUE(shift.Contains(ssRight));
    EXPECT_FALSE(shift.Contains(ssLeft));
    EXPECT_FALSE(shift.Contains(ssAlt));
    EXPECT_TRUE(KeyDataToShiftState(0x20000000).Contains(ssAlt));
    EXPECT_TRUE(KeyDataToShiftState(0).Empty());
}

}  // namespace
