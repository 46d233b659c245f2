// A drop-down list in a real window, opened by keys from the X server's own
// keyboard and by a click (xdotool): it opens on the current item,
// highlighted and in view, and Enter keeps that item. Needs a display (CI:
// xvfb-run); skips itself when DISPLAY is unset. Saves a picture of the
// open list.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "ComboBox.h"
#include "Forms.h"
#include "display/DisplayBackEnd.h"
#include "display/SdlBackEnd.h"
#include "display/SdlTestEvents.h"
#include "display/TestDriver.h"
#include "display/TestPicture.h"

namespace {

class ComboListSdlTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* display = std::getenv("DISPLAY");
        if (display == nullptr || *display == '\0') GTEST_SKIP() << "no display: run under xvfb-run";
        ASSERT_STREQ(win32::CurrentDisplay().Name(), "sdl");
        driver = std::make_unique<win32::TestDriver>();
        form = std::make_unique<TForm>(nullptr, 0);
        form->SetBounds(80, 80, 300, 260);
        form->SetCaption("Colours");
        combo = new TComboBox(form.get());
        combo->SetParent(form.get());
        combo->SetBounds(20, 20, 160, 21);
        combo->SetStyle(csDropDownList);
        for (const char* name : {"Black", "Maroon", "Green", "Olive", "Navy", "Purple", "Teal", "Gray", "Silver",
                                 "Red", "Lime", "Yellow"})
            combo->GetItems()->Add(name);
        combo->SetDropDownCount(4);
        form->Show();
        combo->SetFocus();
        Settle();
    }
    void TearDown() override {
        form.reset();
        driver.reset();
    }

    void Settle() {
        win32::SettleRealWindows(*driver);
        win32::SettleRealWindows(*driver);
    }
    void PressRealKeys(const std::string& keys) {
        ASSERT_TRUE(win32::SendRealKeys(form->GetHandle(), keys)) << "xdotool key " << keys;
        Settle();
    }
    // A click at a point of the combo box, placed from where the desktop shows the form.
    void ClickOnCombo(int x, int y) {
        SDL_Window* shown = SDL_GetWindowFromID(win32::SdlWindowIdOf(form->GetHandle()));
        ASSERT_NE(shown, nullptr);
        int left = 0, top = 0;
        SDL_GetWindowPosition(shown, &left, &top);
        RECT frame{};
        GetWindowRect(form->GetHandle(), &frame);
        const POINT inside = combo->ClientToScreen(POINT{x, y});
        const std::string command = "xdotool mousemove " + std::to_string(left + inside.x - frame.left) + " " +
                                    std::to_string(top + inside.y - frame.top) + " click 1";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        Settle();
    }
    // The open list highlights item index in view, in the layer and on the screen.
    void ExpectHighlighted(int index) {
        auto* list = dynamic_cast<TCustomListBox*>(combo->GetDropList());
        ASSERT_NE(list, nullptr) << "the list is not open";
        EXPECT_EQ(list->GetItemIndex(), index);
        const RECT row = list->ItemRect(index);
        ASSERT_GE(row.top, 0) << "the item is out of view";
        ASSERT_LE(row.bottom, list->GetClientHeight()) << "the item is out of view";
        RECT frame{};
        GetWindowRect(list->GetHandle(), &frame);
        const POINT inside = list->ClientToScreen(POINT{4, (row.top + row.bottom) / 2});
        EXPECT_EQ(win32::SdlPresentedPixel(list->GetHandle(), inside.x - frame.left, inside.y - frame.top),
                  ColorToRGB(clHighlight));
    }

    std::unique_ptr<win32::TestDriver> driver;
    std::unique_ptr<TForm> form;
    TComboBox* combo = nullptr;
};

TEST_F(ComboListSdlTest, TheListOpensOnTheCurrentItemAndEnterKeepsIt) {
    struct Case {
        const char* opening;
        const char* keys;  // after the list opened
        int chosen;
    } cases[] = {
        {"F4", "Return", 4}, {"alt+Down", "Return", 4}, {"click", "Return", 4},
        {"alt+Down", "Escape", 4}, {"F4", "Down Return", 5}, {"click", "Up Return", 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.opening) + ", " + c.keys);
        combo->SetItemIndex(4);
        if (std::string(c.opening) == "click")
            ClickOnCombo(combo->GetWidth() - 8, 8);
        else
            PressRealKeys(c.opening);
        ASSERT_TRUE(combo->GetDroppedDown());
        ExpectHighlighted(4);
        if (c.chosen == 4 && std::string(c.keys) == "Return") {
            const std::string picture = win32::SaveTestPicture(combo->GetDropList()->GetHandle(), "combo list");
            std::printf("picture: %s\n", picture.c_str());
        }
        PressRealKeys(c.keys);
        EXPECT_FALSE(combo->GetDroppedDown());
        EXPECT_EQ(combo->GetItemIndex(), c.chosen);
    }
}

}  // namespace
