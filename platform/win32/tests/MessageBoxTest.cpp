// Message boxes: what the responder sees, its answers, the headless default,
// keyboard and mouse in the real modal window, and what the window shows.
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

class MessageBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        recorder.Reset();
        owner = CreateWindowExA(0, MessageRecorder::ClassName(), "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50,
                                400, 300, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(owner, nullptr);
    }
    void TearDown() override { recorder.handler = nullptr; }
    POINT Centre(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

    win32::TestDriver driver;
    MessageRecorder& recorder = MessageRecorder::Instance();
    HWND owner = nullptr;
};

TEST_F(MessageBoxTest, TheResponderSeesTheBoxAndItsAnswerIsReturned) {
    ModalInteraction seen;
    BOOL ownerEnabledMeanwhile = TRUE;
    ScopedResponder responder([&](const ModalInteraction& interaction) {
        seen = interaction;
        ownerEnabledMeanwhile = IsWindowEnabled(owner);
        return ModalReply::Answer(IDNO);
    });
    EXPECT_EQ(MessageBoxA(owner, "Save changes?", "Editor", MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2), IDNO);
    EXPECT_EQ(seen.kind, win32::ModalKind::MessageBox);
    EXPECT_EQ(seen.owner, owner);
    EXPECT_EQ(seen.caption, "Editor");
    EXPECT_EQ(seen.text, "Save changes?");
    ASSERT_EQ(seen.items.size(), 3u);
    EXPECT_EQ(seen.items[0].text, "&Yes");
    EXPECT_EQ(seen.items[1].identifier, IDNO);
    EXPECT_TRUE(seen.items[1].isDefault);
    EXPECT_EQ(seen.items[2].text, "Cancel");
    EXPECT_EQ(seen.defaultAnswer, IDNO);
    EXPECT_FALSE(ownerEnabledMeanwhile);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_FALSE(IsWindow(seen.window));
}

TEST_F(MessageBoxTest, AControlAsOwnerDisablesItsFormAndGetsTheFocusBack) {
    HWND control = CreateWindowExA(0, MessageRecorder::ClassName(), "", WS_CHILD | WS_VISIBLE, 10, 10, 100, 20, owner,
                                   nullptr, nullptr, nullptr);
    SetFocus(control);
    HWND seenOwner = nullptr;
    BOOL formEnabled = TRUE;
    ScopedResponder responder([&](const ModalInteraction& interaction) {
        seenOwner = interaction.owner;
        formEnabled = IsWindowEnabled(owner);
        return ModalReply::Answer(IDOK);
    });
    EXPECT_EQ(MessageBoxA(control, "Not a number", "Input", MB_OK | MB_ICONERROR), IDOK);
    EXPECT_EQ(seenOwner, owner);
    EXPECT_FALSE(formEnabled);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(GetFocus(), control);
}

TEST_F(MessageBoxTest, EachButtonSetOffersItsButtonsAndHeadlessAnswersTheDefault) {
    struct Case {
        UINT type;
        std::vector<int> buttons;
        int unanswered;
    } cases[] = {
        {MB_OK, {IDOK}, IDOK},
        {MB_OKCANCEL | MB_DEFBUTTON2, {IDOK, IDCANCEL}, IDCANCEL},
        {MB_ABORTRETRYIGNORE | MB_DEFBUTTON3, {IDABORT, IDRETRY, IDIGNORE}, IDIGNORE},
        {MB_YESNOCANCEL, {IDYES, IDNO, IDCANCEL}, IDYES},
        {MB_YESNO | MB_DEFBUTTON2, {IDYES, IDNO}, IDNO},
        {MB_RETRYCANCEL | MB_DEFBUTTON3, {IDRETRY, IDCANCEL}, IDRETRY},  // beyond the last: the first
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MessageBoxA(nullptr, "text", "caption", c.type), c.unanswered) << c.type;
        std::vector<int> offered;
        ScopedResponder responder([&](const ModalInteraction& interaction) {
            for (const win32::ModalItem& item : interaction.items) offered.push_back(item.identifier);
            return ModalReply::Answer(99);
        });
        // An answer that is no button of the box counts as the default.
        EXPECT_EQ(MessageBoxA(nullptr, "text", nullptr, c.type), c.unanswered);
        EXPECT_EQ(offered, c.buttons);
    }
    EXPECT_EQ(MessageBoxA(nullptr, "text", "caption", 6), 0);
}

TEST_F(MessageBoxTest, KeysChooseInTheRunningBox) {
    struct Case {
        UINT type;
        std::vector<UINT> keys;
        int expected;
        bool withAlt = false;
    } cases[] = {
        {MB_YESNOCANCEL, {VK_RETURN}, IDYES},
        {MB_YESNOCANCEL, {VK_TAB, VK_RETURN}, IDNO},
        {MB_YESNOCANCEL | MB_DEFBUTTON3, {VK_RIGHT, VK_SPACE}, IDYES},
        {MB_YESNOCANCEL, {VK_ESCAPE}, IDCANCEL},
        {MB_OK, {VK_ESCAPE}, IDOK},
        {MB_ABORTRETRYIGNORE, {'I'}, IDIGNORE},
        {MB_YESNO, {VK_ESCAPE}, IDYES},  // Escape does nothing without Cancel; idle gives the default
        // An accelerator with Alt, as in forms.
        {MB_YESNOCANCEL, {'N'}, IDNO, true},
        {MB_RETRYCANCEL, {'R'}, IDRETRY, true},
        {MB_YESNO | MB_DEFBUTTON2, {'Y'}, IDYES, true},
        {MB_OKCANCEL, {'C'}, IDOK, true},  // no accelerator: idle gives the default
    };
    for (const Case& c : cases) {
        ScopedResponder responder([&](const ModalInteraction&) {
            for (UINT key : c.keys) c.withAlt ? driver.Press({VK_MENU}, key) : driver.Press(key);
            return ModalReply::Run();
        });
        EXPECT_EQ(MessageBoxA(owner, "text", "caption", c.type), c.expected) << c.type;
    }
    EXPECT_EQ(GetFocus(), owner);
}

TEST_F(MessageBoxTest, ClickingAButtonChoosesIt) {
    ScopedResponder responder([&](const ModalInteraction& interaction) {
        const POINT retry = Centre(interaction.items[1].rect);
        driver.MouseDown(interaction.window, retry.x, retry.y);
        driver.MouseUp(interaction.window, retry.x + 1, retry.y);
        return ModalReply::Run();
    });
    EXPECT_EQ(MessageBoxA(owner, "Disk full", "Save", MB_ABORTRETRYIGNORE | MB_ICONERROR), IDRETRY);
}

TEST_F(MessageBoxTest, TheWindowShowsIconTextAndButtons) {
    struct Case {
        UINT icon;
        COLORREF colour;
    } cases[] = {
        {MB_ICONERROR, RGB(208, 32, 32)},
        {MB_ICONWARNING, RGB(240, 200, 0)},
        {MB_ICONINFORMATION, RGB(32, 80, 200)},
    };
    for (const Case& c : cases) {
        COLORREF iconPixel = 0, buttonEdge = 0, face = 0;
        RECT textArea{};
        ScopedResponder responder([&](const ModalInteraction& interaction) {
            iconPixel = driver.Pixel(interaction.window, 12 + 16, 32 + 24);
            const RECT& first = interaction.items[0].rect;
            buttonEdge = driver.Pixel(interaction.window, first.left, first.top + 5);
            face = driver.Pixel(interaction.window, 2, 60);
            GetClientRect(interaction.window, &textArea);
            return ModalReply::Answer(IDOK);
        });
        MessageBoxA(owner, "A rather long message that the box shows beside its icon.", "Look", MB_OK | c.icon);
        EXPECT_EQ(iconPixel, c.colour) << c.icon;
        EXPECT_EQ(buttonEdge, GetSysColor(COLOR_WINDOWFRAME));
        EXPECT_EQ(face, GetSysColor(COLOR_BTNFACE));
        EXPECT_GT(textArea.right, 200);
    }
}

}  // namespace
