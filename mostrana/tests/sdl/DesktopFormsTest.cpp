// The program's forms on a desktop with a window manager (a virtual X server
// with openbox, started by the test): whatever run of resizes the desktop
// makes, "Scrollers and splitters" and "Statistical" end with the layout that
// one resize straight to the final size gives; and the wheel scrolls the help
// panel under the pointer while the editor keeps the focus.
#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "Application.h"
#include "FormSplitter.h"
#include "Responder.h"
#include "Startup.h"
#include "TextEditor.h"
#include "Unit1.h"
#include "Unit2.h"
#include "Unit3.h"
#include "VGMPanel.h"
#include "VGTScroller.h"
#include "display/DisplayBackEnd.h"
#include "display/SdlBackEnd.h"
#include "display/TestDriver.h"
#include "display/VirtualDesktop.h"

namespace {

// Every control's bounds and every splitter's position, by name.
using Layout = std::vector<std::tuple<std::string, int, int, int, int>>;

Layout LayoutOf(TForm* form) {
    Layout layout;
    for (int i = 0; i < form->GetComponentCount(); ++i) {
        TComponent* component = form->GetComponent(i);
        if (auto* control = dynamic_cast<TControl*>(component)) {
            const RECT r = control->GetBoundsRect();
            layout.emplace_back(component->GetName(), r.left, r.top, r.right, r.bottom);
        } else if (auto* splitter = dynamic_cast<TFormSplitter*>(component)) {
            layout.emplace_back(component->GetName(), splitter->GetPosition(), 0, 0, 0);
        }
    }
    return layout;
}

RECT WindowRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

std::tuple<int, int, int, int> Edges(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

// One thing the desktop does to a window.
struct Step {
    enum Kind { Maximize, Restore, Size } kind;
    int width = 0, height = 0;
};

class DesktopFormsTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string why;
        if (!win32::VirtualDesktop::Start(1280, 1024, &why)) GTEST_SKIP() << why;
        ASSERT_STREQ(win32::CurrentDisplay().Name(), "sdl");
        setenv("CHDIR", MOSTRANA_TEST_CHR_DIR, 0);
        driver = std::make_unique<win32::TestDriver>();
        Application->Initialize();
    }
    void TearDown() override {
        DestroyForms();
        driver.reset();
    }

    // The forms as the program makes them, each shown where it was placed.
    void MakeForms() {
        DestroyForms();
        CreateForms();
        Form1->Show();
        for (TForm* form : std::initializer_list<TForm*>{Form1, Form2, Form3})
            ASSERT_TRUE(Until([&] { return Edges(Desktop(form)) == Edges(WindowRect(form->GetHandle())); }))
                << form->GetCaption() << " is not shown";
    }
    static RECT Desktop(TForm* form) { return win32::DesktopGeometry(win32::DesktopWindowName(form->GetHandle())); }
    bool Until(const std::function<bool()>& condition) { return win32::SettleUntil(*driver, condition); }

    // Asks the desktop for the step and waits until the form has followed:
    // maximizing fills the screen, restoring gives back the size before.
    void Apply(TForm* form, const Step& step, RECT* beforeMaximize) {
        SDL_Window* shown = SDL_GetWindowFromID(win32::SdlWindowIdOf(form->GetHandle()));
        RECT wanted = WindowRect(form->GetHandle());
        switch (step.kind) {
            case Step::Maximize:
                *beforeMaximize = wanted;
                SDL_MaximizeWindow(shown);
                wanted = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
                break;
            case Step::Restore:
                SDL_RestoreWindow(shown);
                wanted = *beforeMaximize;
                break;
            case Step::Size:
                win32::DesktopCommand("xdotool windowsize " + win32::DesktopWindowName(form->GetHandle()) + " " +
                                      std::to_string(step.width) + " " + std::to_string(step.height));
                wanted.right = wanted.left + step.width;
                wanted.bottom = wanted.top + step.height;
                break;
        }
        const int width = wanted.right - wanted.left, height = wanted.bottom - wanted.top;
        ASSERT_TRUE(Until([&] {
            const RECT now = WindowRect(form->GetHandle());
            return now.right - now.left == width && now.bottom - now.top == height &&
                   Edges(now) == Edges(Desktop(form));
        })) << form->GetCaption() << " did not follow the desktop to " << width << " x " << height;
    }

    std::unique_ptr<win32::TestDriver> driver;
    win32::ScopedResponder quiet{[](const win32::ModalInteraction& box) {
        ADD_FAILURE() << box.caption << ": " << box.text;
        return win32::ModalReply::Answer(box.defaultAnswer);
    }};
};

// Runs of resizes for each of the two forms with splitters; each form is
// asked for sizes it accepts (Statistical keeps wide enough for its button).
class DesktopResizeTest : public DesktopFormsTest, public ::testing::WithParamInterface<int> {
protected:
    TForm* Form() const { return GetParam() == 2 ? static_cast<TForm*>(Form2) : static_cast<TForm*>(Form3); }
};

TEST_P(DesktopResizeTest, AnyRunOfResizesEndsInTheLayoutOfOneResizeToTheEnd) {
    MakeForms();
    MINMAXINFO limits{};
    SendMessageA(Form()->GetHandle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    const int narrowest = std::max<int>(limits.ptMinTrackSize.x, 300);
    auto size = [&](int width, int height) { return Step{Step::Size, std::max(width, narrowest), height}; };
    std::vector<Step> tenSizes;
    std::mt19937 random(88);
    for (int i = 0; i < 10; ++i)
        tenSizes.push_back(size(std::uniform_int_distribution<int>(300, 1200)(random),
                                std::uniform_int_distribution<int>(250, 950)(random)));
    const struct {
        const char* name;
        std::vector<Step> steps;
    } runs[] = {
        {"maximize, then restore", {Step{Step::Maximize}, Step{Step::Restore}}},
        {"700 x 520, then 420 x 300", {size(700, 520), size(420, 300)}},
        {"ten sizes in a row", tenSizes},
    };
    for (const auto& run : runs) {
        MakeForms();
        RECT beforeMaximize{};
        for (const Step& step : run.steps) Apply(Form(), step, &beforeMaximize);
        if (HasFatalFailure()) return;
        const RECT end = WindowRect(Form()->GetHandle());
        const Layout afterRun = LayoutOf(Form());
        MakeForms();
        const RECT start = WindowRect(Form()->GetHandle());
        if (end.right - end.left != start.right - start.left || end.bottom - end.top != start.bottom - start.top)
            Apply(Form(), size(end.right - end.left, end.bottom - end.top), &beforeMaximize);
        EXPECT_EQ(afterRun, LayoutOf(Form())) << Form()->GetCaption() << ": " << run.name;
    }
}

INSTANTIATE_TEST_SUITE_P(Forms, DesktopResizeTest, ::testing::Values(2, 3),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return info.param == 2 ? std::string("ScrollersAndSplitters") : std::string("Statistical");
                         });

// The editor has the focus; the wheel over the help panel scrolls the panel.
TEST_F(DesktopFormsTest, TheWheelScrollsTheHelpPanelUnderThePointer) {
    MakeForms();
    TVGTScroller* help = Form2->VGMPanel1->GetMainPanel();
    Form2->TextEditor1->SetFocus();
    win32::SettleRealWindows(*driver);
    ASSERT_EQ(help->GetVPos(), 0);
    const POINT middle = help->ClientToScreen(POINT{help->GetClientWidth() / 2, help->GetClientHeight() / 2});
    win32::DesktopCommand("xdotool mousemove " + std::to_string(middle.x) + " " + std::to_string(middle.y) +
                          " sleep 0.1 click 5 click 5 click 5");
    EXPECT_TRUE(Until([&] { return help->GetVPos() > 0; })) << "the help panel did not scroll";
    EXPECT_TRUE(Form2->TextEditor1->Focused());
}

}  // namespace
