// The scrollers-and-splitters form in a real window, as the program makes it:
// at start, after a click into the picture of the guided tour (a frame topic),
// and with the help given more room by a splitter; each saved as a picture to
// look at. Needs a display (run under xvfb-run); skips itself when DISPLAY is
// unset.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "Application.h"
#include "FormSplitter.h"
#include "Responder.h"
#include "Startup.h"
#include "StringContainer.h"
#include "TextEditor.h"
#include "Unit1.h"
#include "Unit2.h"
#include "VGMPanel.h"
#include "display/DisplayBackEnd.h"
#include "display/SdlTestEvents.h"
#include "display/TestDriver.h"
#include "display/TestPicture.h"

namespace {

void Save(const std::string& label) {
    const std::string path = win32::SaveTestPicture(Form2->GetHandle(), label);
    EXPECT_FALSE(path.empty()) << label;
    std::printf("saved %s\n", path.c_str());
}

// Scrolls a point of a scroller's user rectangle into view and clicks it.
void ClickAt(win32::TestDriver& driver, TVGTScroller* scroller, POINT point) {
    scroller->SetVPos(std::max(0, point.y - scroller->GetClientHeight() / 2));
    scroller->SetHPos(std::max(0, point.x - scroller->GetClientWidth() / 2));
    win32::SettleRealWindows(driver);
    const POINT at = scroller->GetComponentCoord(point);
    driver.MoveMouse(scroller->GetHandle(), at.x, at.y);
    driver.Click(scroller->GetHandle(), at.x, at.y);
    win32::SettleRealWindows(driver);
}

// The middle of the first area of the text link to target; (-1, -1) when there is none.
POINT TextLinkPoint(TVGTScroller* scroller, const char* target) {
    for (int i = 0; i < scroller->GetLinks().GetCount(); ++i) {
        if (scroller->GetLinks()[i].target.str() != target) continue;
        const RECT area = scroller->GetLinks()[i].areas[0];
        return POINT{(area.left + area.right) / 2, (area.top + area.bottom) / 2};
    }
    return POINT{-1, -1};
}

// A point inside the picture's clickable area that opens target.
POINT ImageLinkPoint(TVGTScroller* scroller, const char* target) {
    for (int i = 0; i < scroller->GetImageLinks().GetCount(); ++i) {
        const TImageLink& link = scroller->GetImageLinks()[i];
        if (link.target.str() != target) continue;
        const TPointContainer& p = link.polygon;
        return POINT{(p[0].x + p[1].x + p[2].x) / 3, (p[0].y + p[1].y + p[2].y) / 3};
    }
    return POINT{-1, -1};
}

TEST(Form2Window, TheTourOpensAWindowsPageFromAClickIntoItsPicture) {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') GTEST_SKIP() << "no display: run under xvfb-run";
    ASSERT_STREQ(win32::CurrentDisplay().Name(), "sdl");
    setenv("CHDIR", MOSTRANA_TEST_CHR_DIR, 0);
    win32::TestDriver driver;
    win32::ScopedResponder quiet([](const win32::ModalInteraction& box) {
        ADD_FAILURE() << box.caption << ": " << box.text;
        return win32::ModalReply::Answer(box.defaultAnswer);
    });
    Application->Initialize();
    CreateForms();
    Form1->Show();
    SetActiveWindow(Form2->GetHandle());
    // A few lines in the editor, to see its font in the form.
    TStringContainer lines;
    for (const char* line : {"Charlie 3", "alpha 1", "Bravo 2", "", "Alt+C, then sort or toupper"})
        lines.Add(TString(line));
    Form2->TextEditor1->NewStrings(lines);
    win32::SettleRealWindows(driver);
    Save("start");

    TVGMPanel* panel = Form2->VGMPanel1;
    const POINT tour = TextLinkPoint(panel->GetMainPanel(), "guide.vgt");
    ASSERT_GE(tour.x, 0);
    ClickAt(driver, panel->GetMainPanel(), tour);
    TVGTScroller* windows = panel->GetPanel(TString("windows"));
    TVGTScroller* page = panel->GetPanel(TString("page"));
    ASSERT_TRUE(windows && page);
    EXPECT_EQ(page->GetTopicName().str(), "guidestart.vgt");
    const POINT picture = ImageLinkPoint(windows, "scrollers.vgt");
    ASSERT_GE(picture.x, 0);
    ClickAt(driver, windows, picture);
    EXPECT_EQ(page->GetTopicName().str(), "scrollers.vgt");
    EXPECT_EQ(windows->GetTopicName().str(), "windows.vgt");
    Save("tour");

    // The horizontal line 120 pixels down: the help is taller, the page shows more.
    const int line = Form2->FormSplitter2->GetPosition();
    driver.Drag(Form2->GetHandle(), 100, line, 100, line + 120);
    win32::SettleRealWindows(driver);
    EXPECT_EQ(Form2->FormSplitter2->GetPosition(), line + 120);
    EXPECT_EQ(page->GetTop() + page->GetHeight(), panel->GetTop() + panel->GetHeight());
    Save("taller");
    DestroyForms();
}

}  // namespace
