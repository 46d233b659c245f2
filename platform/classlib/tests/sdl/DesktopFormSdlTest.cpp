// A form of the class library on a desktop with a window manager (a virtual
// X server with openbox, started by the test): after the desktop moved the
// form with its own request, a combo box's list and a popup menu open where
// the desktop shows the box and the click; the main form's close box ends
// the program. Driven with xdotool, read with xwininfo.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "Forms.h"
#include "Menus.h"
#include "Responder.h"
#include "StdCtrls.h"
#include "display/DisplayBackEnd.h"
#include "display/SdlBackEnd.h"
#include "display/TestDriver.h"
#include "display/VirtualDesktop.h"

namespace {

// How far a pop-up may open from where it belongs.
const int kSlack = 2;

class DesktopFormSdlTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string why;
        if (!win32::VirtualDesktop::Start(1280, 1024, &why)) GTEST_SKIP() << why;
        ASSERT_STREQ(win32::CurrentDisplay().Name(), "sdl");
        driver = std::make_unique<win32::TestDriver>();
        Application->Initialize();
    }
    void TearDown() override {
        Application->DestroyComponents();
        driver.reset();
    }

    // The main form, shown where it was placed.
    TForm* OpenForm() {
        form = Application->CreateForm<TForm>();
        form->SetBounds(100, 80, 400, 300);
        form->SetCaption("Placement");
        form->Show();
        EXPECT_TRUE(Until([&] { return Edges(Desktop(form->GetHandle())) == Edges(form->GetBoundsRect()); }));
        return form;
    }
    // Where the desktop shows a point of the form's client area, from the
    // desktop's own geometry of the form and the frame the layer draws.
    POINT OnDesktop(POINT client) {
        const RECT shown = Desktop(form->GetHandle());
        return POINT{shown.left + GetSystemMetrics(SM_CXFRAME) + client.x,
                     shown.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) + client.y};
    }
    static std::tuple<int, int, int, int> Edges(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
    static RECT Desktop(HWND window) { return win32::DesktopGeometry(win32::DesktopWindowName(window)); }
    bool Until(const std::function<bool()>& condition) { return win32::SettleUntil(*driver, condition); }
    static void Click(POINT at, int button) {
        win32::DesktopCommand("xdotool mousemove " + std::to_string(at.x) + " " + std::to_string(at.y) +
                              " sleep 0.1 click " + std::to_string(button));
    }

    std::unique_ptr<win32::TestDriver> driver;
    TForm* form = nullptr;
};

// The visible pop-up window other than the form (a dropped list); null when none.
HWND OpenPopup(HWND form) {
    for (HWND window = GetTopWindow(nullptr); window != nullptr; window = GetWindow(window, GW_HWNDNEXT))
        if (window != form && IsWindowVisible(window) && (GetWindowLongA(window, GWL_STYLE) & WS_POPUP) != 0)
            return window;
    return nullptr;
}

TEST_F(DesktopFormSdlTest, AComboListAndAPopupMenuOpenWhereTheDesktopShowsTheirPlaces) {
    OpenForm();
    auto* combo = new TComboBox(form);
    combo->SetParent(form);
    combo->SetBounds(40, 40, 150, 21);
    combo->SetStyle(csDropDownList);
    for (const char* item : {"Alder", "Birch", "Cedar", "Hazel", "Maple"}) combo->GetItems()->Add(item);
    auto* menu = new TPopupMenu(form);
    menu->GetItems()->Add("First");
    form->SetPopupMenu(menu);
    win32::DesktopCommand("xdotool windowmove " + win32::DesktopWindowName(form->GetHandle()) + " 770 600");
    ASSERT_TRUE(Until([&] { return form->GetLeft() == 770 && form->GetTop() == 600; }))
        << "the form did not follow the desktop's move";
    RECT frame{};
    GetWindowRect(form->GetHandle(), &frame);
    EXPECT_EQ(Edges(frame), Edges(Desktop(form->GetHandle())));

    // The list drops below the box.
    Click(OnDesktop(POINT{40 + 150 - 8, 40 + 10}), 1);
    ASSERT_TRUE(Until([&] { return combo->GetDroppedDown() && OpenPopup(form->GetHandle()) != nullptr; }))
        << "the list did not drop";
    HWND list = OpenPopup(form->GetHandle());
    ASSERT_TRUE(Until([&] { return win32::SdlX11WindowOf(list) != 0; }));
    const RECT dropped = Desktop(list);
    const POINT below = OnDesktop(POINT{40, 40 + 21});
    EXPECT_NEAR(dropped.left, below.x, kSlack);
    EXPECT_NEAR(dropped.top, below.y, kSlack);
    combo->SetDroppedDown(false);

    // The menu opens at the click.
    RECT opened{};
    win32::ScopedResponder responder([&](const win32::ModalInteraction& interaction) {
        if (interaction.kind == win32::ModalKind::PopupMenu &&
            Until([&] { return win32::SdlX11WindowOf(interaction.window) != 0; }))
            opened = Desktop(interaction.window);
        return win32::ModalReply::Answer(0);
    });
    const POINT click = OnDesktop(POINT{250, 200});
    Click(click, 3);
    ASSERT_TRUE(Until([&] { return opened.right > opened.left; })) << "no menu opened";
    EXPECT_NEAR(opened.left, click.x, kSlack);
    EXPECT_NEAR(opened.top, click.y, kSlack);
}

// The close box of the main form's one caption ends the program: the quit
// message comes.
TEST_F(DesktopFormSdlTest, TheMainFormsCloseBoxEndsTheProgram) {
    OpenForm();
    const RECT shown = Desktop(form->GetHandle());
    // The close box: 16 x 14, 2 pixels inside the caption's right end.
    Click(POINT{shown.right - GetSystemMetrics(SM_CXFRAME) - 2 - 8,
                shown.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2},
          1);
    EXPECT_TRUE(Until([&] { return driver->QuitSeen(); })) << "the program did not end";
}

}  // namespace
