// Menus: building and editing items, popup menus tracked by keyboard and
// mouse under the test driver, the responder's view, and the system menu.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MessageRecorder.h"
#include "Responder.h"
#include "Win32.h"
#include "display/TestDriver.h"

namespace {

using win32::ModalInteraction;
using win32::ModalReply;
using win32::ScopedResponder;

enum Command : UINT { Cut = 101, Copy = 102, Paste = 103, Hidden = 104, Seven = 107, Eight = 108 };

class MenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        recorder.Reset();
        window = CreateWindowExA(0, MessageRecorder::ClassName(), "Editor", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100,
                                 100, 400, 300, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(window, nullptr);
        // Cu&t, &Copy, separator, &Paste (grayed), &Bookmarks > &7 / &8 (checked), Cop&y again
        menu = CreatePopupMenu();
        bookmarks = CreatePopupMenu();
        AppendMenuA(bookmarks, MF_STRING, Seven, "&7");
        AppendMenuA(bookmarks, MF_STRING | MF_CHECKED, Eight, "&8");
        AppendMenuA(menu, MF_STRING, Cut, "Cu&t\tCtrl+X");
        AppendMenuA(menu, MF_STRING, Copy, "&Copy");
        AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(menu, MF_STRING | MF_GRAYED, Paste, "&Paste");
        AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(bookmarks), "&Bookmarks");
    }
    void TearDown() override {
        recorder.handler = nullptr;
        DestroyMenu(menu);
    }
    // Tracks the menu with TPM_RETURNCMD while the driver plays input.
    UINT Track(std::function<void(const ModalInteraction&)> input, UINT flags = TPM_RETURNCMD) {
        ScopedResponder responder([&](const ModalInteraction& interaction) {
            seen = interaction;
            input(interaction);
            return ModalReply::Run();
        });
        return UINT(TrackPopupMenu(menu, flags, 150, 150, 0, window, nullptr));
    }
    void ClickItem(const ModalInteraction& interaction, size_t index, int button = 0) {
        const RECT& r = interaction.items[index].rect;
        driver.Click(interaction.window, (r.left + r.right) / 2, (r.top + r.bottom) / 2, button);
    }

    win32::TestDriver driver;
    MessageRecorder& recorder = MessageRecorder::Instance();
    HWND window = nullptr;
    HMENU menu = nullptr;
    HMENU bookmarks = nullptr;
    ModalInteraction seen;
};

TEST_F(MenuTest, ItemsAreBuiltInsertedAndRemoved) {
    EXPECT_EQ(GetMenuItemCount(menu), 5);
    EXPECT_EQ(GetMenuItemID(menu, 1), UINT(Copy));
    EXPECT_EQ(GetMenuItemID(menu, 4), UINT(-1));
    EXPECT_EQ(GetSubMenu(menu, 4), bookmarks);
    EXPECT_EQ(GetMenuState(menu, Paste, MF_BYCOMMAND), UINT(MF_GRAYED));
    EXPECT_EQ(GetMenuState(menu, Eight, MF_BYCOMMAND), UINT(MF_CHECKED));  // found in the submenu
    EXPECT_EQ(GetMenuState(menu, 2, MF_BYPOSITION), UINT(MF_SEPARATOR));
    EXPECT_EQ(GetMenuState(menu, 4, MF_BYPOSITION), UINT(MF_POPUP | (2 << 8)));
    EXPECT_EQ(GetMenuState(menu, 999, MF_BYCOMMAND), UINT(-1));
    char text[6];
    EXPECT_EQ(GetMenuStringA(menu, Cut, text, sizeof text, MF_BYCOMMAND), 5);
    EXPECT_STREQ(text, "Cu&t\t");
    EXPECT_EQ(GetMenuStringA(menu, Cut, nullptr, 0, MF_BYCOMMAND), 11);

    EXPECT_TRUE(InsertMenuA(menu, Copy, MF_BYCOMMAND | MF_STRING, 200, "Before copy"));
    EXPECT_TRUE(InsertMenuA(menu, 99, MF_BYPOSITION | MF_STRING, 201, "At the end"));
    EXPECT_FALSE(InsertMenuA(menu, 999, MF_BYCOMMAND, 202, "x"));
    EXPECT_EQ(GetMenuItemID(menu, 1), 200u);
    EXPECT_EQ(GetMenuItemID(menu, 6), 201u);
    EXPECT_EQ(CheckMenuItem(menu, Copy, MF_CHECKED), DWORD(MF_UNCHECKED));
    EXPECT_EQ(EnableMenuItem(menu, Paste, MF_ENABLED), BOOL(MF_GRAYED));
    EXPECT_EQ(GetMenuState(menu, Copy, MF_BYCOMMAND), UINT(MF_CHECKED));

    // A menu cannot hold itself; removing keeps a submenu, deleting destroys it.
    EXPECT_FALSE(AppendMenuA(bookmarks, MF_POPUP, reinterpret_cast<UINT_PTR>(menu), "loop"));
    EXPECT_TRUE(RemoveMenu(menu, 5, MF_BYPOSITION));
    EXPECT_TRUE(IsMenu(bookmarks));
    EXPECT_TRUE(AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(bookmarks), "&Bookmarks"));
    EXPECT_TRUE(DeleteMenu(menu, GetMenuItemCount(menu) - 1, MF_BYPOSITION));
    EXPECT_FALSE(IsMenu(bookmarks));
    EXPECT_FALSE(DeleteMenu(menu, 999, MF_BYCOMMAND));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_MENU_ITEM_NOT_FOUND));
    EXPECT_FALSE(AppendMenuA(bookmarks, MF_STRING, 1, "gone"));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_MENU_HANDLE));
}

TEST_F(MenuTest, KeyboardChoosesAnItem) {
    struct Case {
        std::vector<UINT> keys;
        UINT expected;
    } cases[] = {
        {{VK_DOWN, VK_DOWN, VK_RETURN}, Copy},
        {{VK_UP, VK_UP, VK_RETURN}, UINT(0)},      // up from nothing: Bookmarks, then the grayed Paste
        {{VK_DOWN, VK_DOWN, VK_DOWN, VK_UP, VK_RETURN}, Copy},  // the separator is skipped both ways
        {{'T'}, Cut},
        {{'C'}, Copy},
        {{'P'}, UINT(0)},                             // grayed: highlighted, not chosen
        {{'B', VK_DOWN, VK_RETURN}, Eight},           // the letter opens the submenu at its first item
        {{VK_UP, VK_RIGHT, '7'}, Seven},
        {{'B', VK_LEFT, VK_UP, VK_RETURN}, UINT(0)},        // back on Bookmarks, up to the grayed Paste
        {{'B', VK_ESCAPE, VK_ESCAPE}, UINT(0)},
    };
    for (const Case& c : cases) {
        const UINT chosen = Track([&](const ModalInteraction&) {
            for (UINT key : c.keys) driver.Press(key);
        });
        EXPECT_EQ(chosen, c.expected) << c.keys.size() << " keys, first " << c.keys[0];
    }
    EXPECT_EQ(GetFocus(), window);
}

TEST_F(MenuTest, MouseChoosesAnItemAndClosesOutside) {
    EXPECT_EQ(Track([&](const ModalInteraction& interaction) { ClickItem(interaction, 1); }), UINT(Copy));
    EXPECT_EQ(Track([&](const ModalInteraction& interaction) { ClickItem(interaction, 3); }), 0u);  // grayed
    EXPECT_EQ(Track([&](const ModalInteraction& interaction) {
                  RECT r{};
                  GetClientRect(interaction.window, &r);
                  driver.Click(interaction.window, r.right + 30, r.bottom + 30);
              }),
              0u);
    // The right button chooses only with TPM_RIGHTBUTTON.
    EXPECT_EQ(Track([&](const ModalInteraction& interaction) { ClickItem(interaction, 0, 1); }), 0u);
    EXPECT_EQ(Track([&](const ModalInteraction& interaction) { ClickItem(interaction, 0, 1); },
                    TPM_RETURNCMD | TPM_RIGHTBUTTON),
              UINT(Cut));
    // Hovering the submenu item opens it beside the menu; its items take clicks too.
    EXPECT_EQ(Track([&](const ModalInteraction& interaction) {
                  const RECT& r = interaction.items[4].rect;
                  driver.MoveMouse(interaction.window, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
                  RECT frame{};
                  GetWindowRect(interaction.window, &frame);
                  driver.MoveMouseOnScreen(POINT{frame.right + 10, frame.top + r.top + 12});
                  driver.MouseDownOnScreen(POINT{frame.right + 10, frame.top + r.top + 12});
                  driver.MouseUpOnScreen(POINT{frame.right + 10, frame.top + r.top + 12});
              }),
              UINT(Seven));
}

TEST_F(MenuTest, TheResponderSeesTheItemsAndAnswers) {
    ScopedResponder responder([&](const ModalInteraction& interaction) {
        seen = interaction;
        return ModalReply::Answer(Seven);  // a command of a submenu
    });
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 10, 10, 0, window, nullptr), BOOL(Seven));
    EXPECT_EQ(seen.kind, win32::ModalKind::PopupMenu);
    EXPECT_EQ(seen.owner, window);
    ASSERT_EQ(seen.items.size(), 5u);
    EXPECT_EQ(seen.items[0].text, "Cu&t\tCtrl+X");
    EXPECT_TRUE(seen.items[2].separator);
    EXPECT_FALSE(seen.items[3].enabled);
    EXPECT_TRUE(seen.items[4].submenu);
    EXPECT_GT(seen.items[1].rect.top, seen.items[0].rect.top);
    EXPECT_FALSE(IsWindow(seen.window));
    // A grayed or unknown command is no answer.
    ScopedResponder refusing([&](const ModalInteraction&) { return ModalReply::Answer(Paste); });
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 10, 10, 0, window, nullptr), 0);
}

TEST_F(MenuTest, WithoutReturnCommandTheWindowGetsWmCommand) {
    ScopedResponder responder([&](const ModalInteraction&) { return ModalReply::Answer(Copy); });
    EXPECT_EQ(TrackPopupMenuEx(menu, 0, 10, 10, window, nullptr), TRUE);
    recorder.Reset();
    driver.PumpUntilIdle();
    const auto commands = recorder.Only({WM_COMMAND});
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].wParam, WPARAM(Copy));
    EXPECT_EQ(TrackPopupMenuEx(menu, TPM_NONOTIFY, 10, 10, window, nullptr), TRUE);
    recorder.Reset();
    driver.PumpUntilIdle();
    EXPECT_TRUE(recorder.Only({WM_COMMAND}).empty());
}

TEST_F(MenuTest, HeadlessWithoutResponderClosesAndBadCallsFail) {
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 10, 10, 0, window, nullptr), 0);
    EXPECT_EQ(TrackPopupMenu(nullptr, TPM_RETURNCMD, 10, 10, 0, window, nullptr), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_MENU_HANDLE));
    EXPECT_EQ(TrackPopupMenu(menu, 0, 10, 10, 0, nullptr, nullptr), FALSE);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_WINDOW_HANDLE));
    HMENU empty = CreatePopupMenu();
    EXPECT_EQ(TrackPopupMenu(empty, TPM_RETURNCMD, 10, 10, 0, window, nullptr), 0);
    DestroyMenu(empty);
    // A menu cannot open inside another.
    BOOL nested = TRUE;
    ScopedResponder responder([&](const ModalInteraction&) {
        nested = TrackPopupMenu(menu, TPM_RETURNCMD, 10, 10, 0, window, nullptr);
        return ModalReply::Answer(Cut);
    });
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 10, 10, 0, window, nullptr), BOOL(Cut));
    EXPECT_EQ(nested, 0);
}

TEST_F(MenuTest, SystemMenuItemsReachTheWindowAsSysCommands) {
    HMENU system = GetSystemMenu(window, FALSE);
    ASSERT_NE(system, nullptr);
    EXPECT_EQ(GetSystemMenu(window, FALSE), system);
    EXPECT_EQ(GetMenuItemID(system, GetMenuItemCount(system) - 1), UINT(SC_CLOSE));
    // The language entries a window adds: a separator and three commands.
    const char* languages[] = {"English", "Magyar", "Deutsch"};
    AppendMenuA(system, MF_SEPARATOR, 0, nullptr);
    for (UINT i = 0; i < 3; ++i) AppendMenuA(system, MF_STRING, 20 + i, languages[i]);
    ModalInteraction seenMenu;
    ScopedResponder responder([&](const ModalInteraction& interaction) {
        seenMenu = interaction;
        return ModalReply::Answer(21);
    });
    EXPECT_EQ(win32::TrackSystemMenu(window), 21u);
    EXPECT_EQ(seenMenu.kind, win32::ModalKind::SystemMenu);
    EXPECT_EQ(seenMenu.caption, "Editor");
    EXPECT_EQ(seenMenu.items.back().text, "Deutsch");
    recorder.Reset();
    driver.PumpUntilIdle();
    const auto commands = recorder.Only({WM_SYSCOMMAND});
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].wParam, 21u);
    // Reverting drops the window's copy; a fresh one has only the standard items.
    EXPECT_EQ(GetSystemMenu(window, TRUE), nullptr);
    EXPECT_FALSE(IsMenu(system));
    EXPECT_EQ(GetMenuItemCount(GetSystemMenu(window, FALSE)), 7);
    EXPECT_EQ(GetSystemMenu(nullptr, FALSE), nullptr);
}

TEST_F(MenuTest, AltSpaceOpensTheSystemMenu) {
    SetFocus(window);
    ModalInteraction seenMenu;
    ScopedResponder responder([&](const ModalInteraction& interaction) {
        seenMenu = interaction;
        return ModalReply::Answer(SC_MINIMIZE);
    });
    recorder.Reset();
    driver.Press({VK_MENU}, VK_SPACE);
    EXPECT_EQ(seenMenu.kind, win32::ModalKind::SystemMenu);
    const auto commands = recorder.Only({WM_SYSCOMMAND});
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[0].wParam, UINT(SC_KEYMENU));
    EXPECT_EQ(commands[1].wParam, UINT(SC_MINIMIZE));
}

}  // namespace
