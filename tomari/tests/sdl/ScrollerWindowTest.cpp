// A stand-alone topic scroller on a form in a real window: a topic with a
// tiled background, pictures (one with link areas) and text links, the
// mouse over a link showing the hand cursor. The window is saved as a
// picture for looking at. Needs a display (run under xvfb-run); skips itself
// when DISPLAY is unset.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "../TopicFolder.h"
#include "Form.h"
#include "VGTScroller.h"
#include "display/DisplayBackEnd.h"
#include "display/SdlBackEnd.h"
#include "display/SdlTestEvents.h"
#include "display/TestDriver.h"
#include "display/TestPicture.h"

namespace {

// Draws a picture with GDI and saves it as a BMP.
template <class Draw>
void DrawPicture(const std::string& name, int width, int height, Draw draw) {
    TMemBitmap picture;
    ASSERT_TRUE(picture.NewBitmap(width, height, 24));
    HDC dc = picture.BeginPaint(false, nullptr);
    ASSERT_NE(dc, nullptr);
    draw(dc);
    picture.EndPaint();
    ASSERT_TRUE(picture.SaveToFile(TString(name)));
}

void Fill(HDC dc, RECT rect, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

// A paper-like tile, a diagram of three boxes (the middle one a link area)
// and a small badge.
void MakePictures() {
    DrawPicture("paper.bmp", 24, 24, [](HDC dc) {
        Fill(dc, RECT{0, 0, 24, 24}, RGB(0xF6, 0xF1, 0xE4));
        Fill(dc, RECT{0, 0, 12, 12}, RGB(0xEF, 0xE8, 0xD6));
        Fill(dc, RECT{12, 12, 24, 24}, RGB(0xEF, 0xE8, 0xD6));
    });
    DrawPicture("diagram.bmp", 240, 70, [](HDC dc) {
        Fill(dc, RECT{0, 0, 240, 70}, RGB(0xFF, 0xFF, 0xFF));
        const COLORREF colours[] = {RGB(0x9C, 0xC3, 0xE6), RGB(0xF4, 0xB1, 0x83), RGB(0xA9, 0xD1, 0x8E)};
        for (int i = 0; i < 3; ++i) Fill(dc, RECT{10 + 80 * i, 15, 70 + 80 * i, 55}, colours[i]);
        SetBkMode(dc, TRANSPARENT);
        const char* names[] = {"Parse", "Layout", "Paint"};
        for (int i = 0; i < 3; ++i) TextOutA(dc, 18 + 80 * i, 27, names[i], static_cast<int>(std::strlen(names[i])));
    });
    DrawPicture("badge.bmp", 48, 48, [](HDC dc) {
        Fill(dc, RECT{0, 0, 48, 48}, RGB(0x2E, 0x5E, 0x8C));
        Fill(dc, RECT{8, 8, 40, 40}, RGB(0xFF, 0xD8, 0x4A));
    });
    TImageLinks links;
    TImageLink* layout = links.NewItem();
    layout->polygon.Add(POINT{90, 15}, POINT{150, 15}, POINT{150, 55}, POINT{90, 55});
    layout->target = "layout.vgt";
    links.WriteToFile(TString("diagram.ald"));
}

// The presented pixel at a client point of a child window.
COLORREF PresentedPixel(HWND child, int x, int y) {
    HWND topLevel = GetAncestor(child, GA_ROOT);
    POINT point{x, y};
    ClientToScreen(child, &point);
    RECT frame{};
    GetWindowRect(topLevel, &frame);
    return win32::SdlPresentedPixel(topLevel, point.x - frame.left, point.y - frame.top);
}

const char* const kTopic =
    "<BKIMAGE=paper.bmp><LINKCOLOR=B04010>\n"
    "<FS=16><B>Pictures and links</B><FS=10><NL>\n"
    "<IMAGE=badge.bmp,KEEPRIGHT=1>A topic scroller shows a topic on its own: the background is a small\n"
    "picture tiled over the whole area, pictures stand in the text, and links lead to other topics,\n"
    "such as <LINK=parse.vgt>parsing the markup</LINK> or <LINK=paint.vgt>painting a topic</LINK>.<P>\n"
    "The diagram below carries a link area on its middle box:<NL>\n"
    "<IMAGE=diagram.bmp,LINKS=diagram.ald><NL>\n"
    "<I>Move the mouse over a link</I> and the cursor becomes a hand.\n";

TEST(ScrollerWindow, AStandAloneScrollerShowsPicturesAndLinks) {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') GTEST_SKIP() << "no display: run under xvfb-run";
    setenv("SUITE_DISPLAY", "sdl", 1);
    ASSERT_STREQ(win32::CurrentDisplay().Name(), "sdl");
    win32::TestDriver driver;
    TopicFolder folder;
    MakePictures();
    folder.Write("pictures.vgt", kTopic);
    folder.Write("layout.vgt", "The layout topic.");

    auto form = std::make_unique<TForm>(nullptr, 1);
    form->SetBounds(40, 40, 520, 340);
    form->SetCaption("Topic scroller");
    TVGTScroller* scroller = new TVGTScroller(form.get());
    scroller->SetParent(form.get());
    scroller->SetAlign(alClient);
    std::vector<std::string> entered;
    scroller->OnEnterLinkArea = [&](const TString& target, const TString&) { entered.push_back(target.str()); };
    form->Show();
    win32::SettleRealWindows(driver);
    ASSERT_TRUE(scroller->SetSource(TString("pictures.vgt"), false));
    win32::SettleRealWindows(driver);

    // The background tile repeats, the diagram's middle box is a link area.
    HWND window = scroller->GetHandle();
    ASSERT_EQ(scroller->GetImageLinks().GetCount(), 1);
    ASSERT_EQ(scroller->GetLinks().GetCount(), 2);
    const RECT box = scroller->GetImageLinks()[0].polygon.GetCount() == 4
                         ? RECT{scroller->GetImageLinks()[0].polygon[0].x, scroller->GetImageLinks()[0].polygon[0].y,
                                scroller->GetImageLinks()[0].polygon[2].x, scroller->GetImageLinks()[0].polygon[2].y}
                         : RECT{0, 0, 0, 0};
    const POINT corner = scroller->GetComponentCoord(POINT{box.left, box.top});
    EXPECT_EQ(PresentedPixel(window, corner.x + 3, corner.y + 3), RGB(0xF4, 0xB1, 0x83));
    const RECT word = scroller->GetLinks()[1].areas[0];
    const POINT link = scroller->GetComponentCoord(POINT{(word.left + word.right) / 2, (word.top + word.bottom) / 2});
    driver.MoveMouse(window, link.x, link.y);
    win32::SettleRealWindows(driver);
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_HAND));
    EXPECT_EQ(entered, std::vector<std::string>{"paint.vgt"});
    const std::string path = win32::SaveTestPicture(window);
    EXPECT_FALSE(path.empty());
    std::printf("saved %s\n", path.c_str());

    // Over the diagram's link area, then away from every link.
    driver.MoveMouse(window, corner.x + 10, corner.y + 10);
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_HAND));
    driver.MoveMouse(window, corner.x - 60, corner.y + 10);
    EXPECT_NE(GetCursor(), LoadCursorA(nullptr, IDC_HAND));
}

}  // namespace
