// A painted topic in a real window: the window's paint runs both passes of the
// visualizer, and the presented pixels show the red word, the frame and the
// highlighted stretch where the layout put them. The window is saved as a
// picture for looking at. Needs a display (run under xvfb-run); skips itself
// when DISPLAY is unset.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "../ShowcaseTopic.h"
#include "../VisualizerFixture.h"
#include "display/DisplayBackEnd.h"
#include "display/SdlBackEnd.h"
#include "display/TestDriver.h"
#include "display/TestPicture.h"

// The desktop's message bus library, which SDL's video start-up loads, keeps
// a block past exit; it is not ours to free.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }

namespace {

constexpr int kWidth = 600;
constexpr int kHeight = 560;

TVGTVisualizer* shown = nullptr;

// Lays the topic out to the client width and paints it, as a topic scroller does.
LRESULT CALLBACK TopicWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT || shown == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(window, &paint);
    RECT client{};
    GetClientRect(window, &client);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    int height = 0, maxWidth = client.right - 9;
    shown->MeasureTopic(dc, 8, 8, client.right - 9, height, maxWidth, true, true);
    shown->PaintTopic(dc, 8, 8, client.right - 9, false, true, true);
    EndPaint(window, &paint);
    return 0;
}

bool IsRed(COLORREF c) { return GetRValue(c) > 200 && GetGValue(c) < 60 && GetBValue(c) < 60; }

TEST(TopicWindow, APaintedTopicShowsInARealWindow) {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') GTEST_SKIP() << "no display: run under xvfb-run";
    setenv("SUITE_DISPLAY", "sdl", 1);
    ASSERT_STREQ(win32::CurrentDisplay().Name(), "sdl");
    win32::TestDriver driver;

    // Where the layout puts things, from the same passes over a memory DC.
    GdiCanvas surface(kWidth, kHeight);
    ProbeVisualizer probe;
    const std::vector<std::string> trace = probe.Paint(surface.dc(), kShowcase, 8, 8, kWidth - 9, true);
    POINT red{-1, -1};
    for (const std::string& entry : trace)
        if (entry.find("\"RED\"") != std::string::npos) std::sscanf(entry.c_str(), "TextOutA(%d, %d", &red.x, &red.y);
    ASSERT_GE(red.x, 0);
    ASSERT_EQ(probe.GetColorBlocks().GetCount(), 1);
    const TColorBlock block = probe.GetColorBlocks()[0];
    const SIZE redSize = WordSize(surface.dc(), "RED", 14, FW_BOLD);

    TVGTVisualizer topic;
    topic.AssignSource(MarkupLines(kShowcase));
    shown = &topic;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = TopicWindowProc;
    windowClass.lpszClassName = "TomariTopicWindow";
    ASSERT_NE(RegisterClassA(&windowClass), 0);
    HWND window = CreateWindowExA(0, "TomariTopicWindow", "Topic", WS_POPUP | WS_VISIBLE, 40, 40, kWidth, kHeight,
                                  nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    win32::PumpMessagesFor(500);

    bool redShown = false;
    for (int y = red.y; y < red.y + redSize.cy && !redShown; ++y)
        for (int x = red.x; x < red.x + redSize.cx && !redShown; ++x)
            redShown = IsRed(win32::SdlPresentedPixel(window, x, y));
    EXPECT_TRUE(redShown);
    EXPECT_EQ(win32::SdlPresentedPixel(window, block.left, block.top), RGB(0xFF, 0xE0, 0x70));
    EXPECT_EQ(win32::SdlPresentedPixel(window, 10, 12), RGB(0xF4, 0xF0, 0xE8));
    EXPECT_EQ(win32::SdlPresentedPixel(window, 3, 3), RGB(0xFF, 0xFF, 0xFF));

    const std::string path = win32::SaveTestPicture(window);
    EXPECT_FALSE(path.empty());
    std::printf("saved %s\n", path.c_str());
    DestroyWindow(window);
    shown = nullptr;
}

}  // namespace
