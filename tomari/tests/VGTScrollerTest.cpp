// Tests of TVGTScroller and TBufferedVGTScroller: defaults, layout widths and
// the user rectangle, background filling, opening topics, painting, and link
// areas under the mouse.
#include <string>
#include <vector>

#include "ScrollerFixture.h"
#include "VGTScroller.h"

namespace {

std::string Lines(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += "line " + std::to_string(i) + "<NL>";
    return text;
}

TStringContainer Markup(const std::string& text) {
    TStringContainer lines;
    lines.Add(TString(text));
    return lines;
}

bool AnyNot(const std::vector<COLORREF>& pixels, COLORREF colour) {
    for (COLORREF pixel : pixels)
        if (pixel != colour) return true;
    return false;
}

using VGTScrollerTest = ScrollerTest;

TEST_F(VGTScrollerTest, ANewScrollerHasNoTopic) {
    TVGTScroller* scroller = Place<TVGTScroller>(10, 10, 300, 200);
    EXPECT_EQ(scroller->GetBorderBrush()->GetColor(), clWhite);
    EXPECT_FALSE(scroller->GetAutoScroll());
    EXPECT_TRUE(scroller->GetCentered());
    const SIZE rect = scroller->GetRectSizes();
    EXPECT_EQ(rect.cx, 300 - 8);
    EXPECT_EQ(rect.cy, 0);
    EXPECT_TRUE(scroller->GetTopicName().IsEmpty());
    EXPECT_TRUE(scroller->SetSource(TString(""), false));  // an empty name changes nothing
}

TEST_F(VGTScrollerTest, TheLayoutFollowsTheWidthAndTheBar) {
    TVGTScroller* scroller = Place<TVGTScroller>(10, 10, 300, 200);
    folder.Write("short.vgt", "A short topic.");
    folder.Write("tall.vgt", Lines(40));
    folder.Write("wide.vgt", "<NOBREAK>" + std::string(60, 'W'));
    struct Case {
        const char* topic;
        int layoutWidth;
        bool extraMargin;
    } cases[] = {{"short.vgt", 291, false}, {"tall.vgt", 275, false}, {"wide.vgt", 291, true}};
    for (const Case& test : cases) {
        ASSERT_TRUE(scroller->SetSource(TString(test.topic), false)) << test.topic;
        EXPECT_EQ(scroller->GetLayoutWidth(), test.layoutWidth) << test.topic;
        EXPECT_EQ(scroller->GetVisualizer()->GetMeasuredWidth(), test.layoutWidth) << test.topic;
        const int maxWidth = scroller->GetLaidOutMaxWidth();
        EXPECT_EQ(maxWidth > test.layoutWidth, test.extraMargin) << test.topic;
        EXPECT_EQ(scroller->GetRectSizes().cx, maxWidth + (test.extraMargin ? 8 : 0) + 1) << test.topic;
        EXPECT_EQ(scroller->GetRectSizes().cy, scroller->GetVisualizer()->GetMeasuredHeight() + 16) << test.topic;
    }
    EXPECT_EQ(scroller->GetVMax(), 0);  // the wide topic scrolls sideways only
    EXPECT_GT(scroller->GetHMax(), 0);
}

TEST_F(VGTScrollerTest, AnOwnBackgroundTurnsTheFillOff) {
    TVGTScroller* scroller = Place<TVGTScroller>(10, 10, 200, 120);
    scroller->GetBkBrush()->SetColor(RGB(0x30, 0x60, 0x90));
    scroller->SetSource(Markup("<BKCOLOR=F0E0D0>x"));
    EXPECT_FALSE(scroller->GetFillBackground());
    EXPECT_FALSE(scroller->GetFillBorderGap());
    driver.PumpUntilIdle();
    EXPECT_EQ(driver.Pixel(scroller->GetHandle(), 150, 100), RGB(0xF0, 0xE0, 0xD0));
    scroller->SetSource(Markup("x"));
    EXPECT_TRUE(scroller->GetFillBackground());
    EXPECT_TRUE(scroller->GetFillBorderGap());
    driver.PumpUntilIdle();
    EXPECT_EQ(driver.Pixel(scroller->GetHandle(), 150, 60), RGB(0x30, 0x60, 0x90));  // inside the centred rectangle
}

TEST_F(VGTScrollerTest, OpeningTopics) {
    TVGTScroller* scroller = Place<TVGTScroller>(10, 10, 300, 200);
    folder.Write("first.vgt", "<LINK=second.vgt>Second</LINK> topic");
    ASSERT_TRUE(scroller->SetSource(TString("first.vgt"), false));
    EXPECT_EQ(scroller->GetTopicName().str(), "first.vgt");
    const SIZE rect = scroller->GetRectSizes();
    ASSERT_EQ(scroller->GetLinks().GetCount(), 1);
    EXPECT_TRUE(boxes.empty());

    // A topic that cannot be read: the error, and nothing else changes.
    EXPECT_FALSE(scroller->SetSource(TString("missing.vgt"), false));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Select link or topic");
    EXPECT_EQ(boxes[0].text, "The missing.vgt topic can not be opened");
    EXPECT_EQ(boxes[0].style & MB_ICONWARNING, UINT(MB_ICONWARNING));
    EXPECT_EQ(scroller->GetTopicName().str(), "first.vgt");
    EXPECT_EQ(scroller->GetRectSizes().cx, rect.cx);
    EXPECT_EQ(scroller->GetRectSizes().cy, rect.cy);
    EXPECT_EQ(scroller->GetLinks().GetCount(), 1);

    // Lines given directly are shown.
    scroller->SetColor(clWhite);
    scroller->SetSource(Markup(""));
    EXPECT_FALSE(AnyNot(Pixels(scroller), RGB(255, 255, 255)));
    EXPECT_EQ(scroller->GetLinks().GetCount(), 0);
    scroller->SetSource(Markup("<FC=FF0000>Shown"));
    EXPECT_TRUE(AnyNot(Pixels(scroller), RGB(255, 255, 255)));
}

// A link followed from the end of a long, wide topic opens the next topic at
// its top-left; opening the topic shown again keeps the position.
TEST_F(VGTScrollerTest, ANewTopicOpensAtItsTopLeftAndTheSameOneStaysWhereItWas) {
    const std::string wide = "<NOBREAK>" + std::string(60, 'W') + "<NL>";
    folder.Write("long.vgt", wide + Lines(40) + "<LINK=next.vgt>next</LINK>");
    folder.Write("next.vgt", wide + Lines(40));
    TVGTScroller* scroller = Place<TVGTScroller>(10, 10, 300, 200);
    ASSERT_TRUE(scroller->SetSource(TString("long.vgt"), false));
    scroller->SetVPos(scroller->GetVMax());
    scroller->SetHPos(5);
    const RECT area = scroller->GetLinks()[0].areas[0];
    const POINT at = scroller->GetComponentCoord(POINT{(area.left + area.right) / 2, (area.top + area.bottom) / 2});
    driver.MoveMouse(scroller->GetHandle(), at.x, at.y);
    driver.Click(scroller->GetHandle(), at.x, at.y);
    ASSERT_EQ(scroller->GetTopicName().str(), "next.vgt");
    EXPECT_EQ(scroller->GetVPos(), 0);
    EXPECT_EQ(scroller->GetHPos(), 0);
    EXPECT_EQ(scroller->GetSBPosition(SB_VERT), 0);
    EXPECT_EQ(scroller->GetSBPosition(SB_HORZ), 0);
    TVGTScroller* fresh = Place<TVGTScroller>(320, 10, 300, 200);
    ASSERT_TRUE(fresh->SetSource(TString("next.vgt"), false));
    EXPECT_EQ(Pixels(scroller), Pixels(fresh));

    scroller->SetVPos(100);
    scroller->SetHPos(5);
    ASSERT_TRUE(scroller->SetSource(TString("next.vgt"), false));
    EXPECT_EQ(scroller->GetVPos(), 100);
    EXPECT_EQ(scroller->GetHPos(), 5);
}

TEST_F(VGTScrollerTest, TheBufferedScrollerPaintsAsThePlainOne) {
    folder.Write("tall.vgt", "<BKCOLOR=FFF0D0>" + Lines(30) + "<FC=0000FF>end");
    TVGTScroller* plain = Place<TVGTScroller>(10, 10, 260, 200);
    TBufferedVGTScroller* buffered = Place<TBufferedVGTScroller>(300, 10, 260, 200);
    ASSERT_TRUE(plain->SetSource(TString("tall.vgt"), false));
    ASSERT_TRUE(buffered->SetSource(TString("tall.vgt"), false));
    EXPECT_EQ(Pixels(buffered), Pixels(plain));
    plain->SetVPos(97);
    buffered->SetVPos(97);
    EXPECT_EQ(Pixels(buffered), Pixels(plain));

    // A short topic stands in the middle of a bitmap as high as the control.
    folder.Write("short.vgt", "<FC=0000FF>Short");
    ASSERT_TRUE(buffered->SetSource(TString("short.vgt"), false));
    const TMemBitmap& bitmap = buffered->GetBitmap();
    EXPECT_EQ(bitmap.Height, 200);
    EXPECT_EQ(bitmap.Width, buffered->GetRectSizes().cx);
    const int rectHeight = buffered->GetRectSizes().cy;
    const std::vector<COLORREF> pixels = Pixels(buffered);
    int top = -1;
    for (size_t i = 0; i < pixels.size() && top < 0; ++i)
        if (pixels[i] != RGB(255, 255, 255)) top = static_cast<int>(i) / buffered->GetClientWidth();
    EXPECT_GE(top, (200 - rectHeight) / 2 + 8);
    EXPECT_LT(top, (200 - rectHeight) / 2 + rectHeight);
}

// A topic too large for one bitmap: the buffered scroller shows its background.
TEST_F(VGTScrollerTest, ATopicTooLargeForABitmapShowsTheBackground) {
    TBufferedVGTScroller* buffered = Place<TBufferedVGTScroller>(10, 10, 300, 200);
    buffered->SetBkColor(RGB(0x20, 0x80, 0x40));
    buffered->SetSource(Markup("top<LS=100000><FRAME=VGAP=100000>x"));
    EXPECT_FALSE(buffered->GetBitmap().Valid);
    driver.PumpUntilIdle();
    EXPECT_EQ(driver.Pixel(buffered->GetHandle(), 20, 20), RGB(0x20, 0x80, 0x40));
    EXPECT_EQ(driver.Pixel(buffered->GetHandle(), 150, 190), RGB(0x20, 0x80, 0x40));
}

class LinkAreaTest : public ScrollerTest {
protected:
    void SetUp() override {
        ScrollerTest::SetUp();
        TopicFolder::Picture("pic.bmp", 60, 40, RGB(0x80, 0x80, 0xFF));
        TImageLinks links;
        TImageLink* area = links.NewItem();
        area->polygon.Add(POINT{0, 0}, POINT{30, 0}, POINT{30, 40}, POINT{0, 40});
        area->target = "picture.vgt";
        area->targetPanel = "pane";
        links.WriteToFile(TString("pic.ald"));
        folder.Write("links.vgt",
                     "<LINK=one.vgt,TARGET=left>one</LINK> <LINK=two.vgt>two</LINK> plain<NL>"
                     "<IMAGE=pic.bmp,LINKS=pic.ald>" + Lines(30));
        folder.Write("one.vgt", "The first target.");
        scroller = Place<TVGTScroller>(10, 10, 300, 200);
        scroller->SetCentered(false);
        ASSERT_TRUE(scroller->SetSource(TString("links.vgt"), false));
        scroller->OnEnterLinkArea = [this](const TString& target, const TString& panel) {
            events.push_back("enter " + target.str() + " " + panel.str());
        };
        scroller->OnLeaveLinkArea = [this](const TString& target, const TString& panel) {
            events.push_back("leave " + target.str() + " " + panel.str());
        };
        scroller->OnClickLink = [this](const TString& target) { events.push_back("click " + target.str()); };
    }
    // The middle of area k of text link i, in client coordinates (unscrolled).
    POINT TextLink(int i, int k = 0) {
        const RECT area = scroller->GetLinks()[i].areas[k];
        return POINT{(area.left + area.right) / 2, (area.top + area.bottom) / 2};
    }
    bool HandShown() const { return GetCursor() == LoadCursorA(nullptr, IDC_HAND); }

    TVGTScroller* scroller = nullptr;
    std::vector<std::string> events;
};

TEST_F(LinkAreaTest, MovesOverLinksSetTheCursorAndFireOnce) {
    HWND window = scroller->GetHandle();
    const POINT one = TextLink(0), two = TextLink(1);
    const RECT twoArea = scroller->GetLinks()[1].areas[0];
    const int pictureTop = scroller->GetLinks()[0].areas[0].bottom + 1;
    struct Step {
        POINT at;
        bool hand;
        std::vector<std::string> events;
    } steps[] = {
        {{4, 4}, false, {}},
        {one, true, {"enter one.vgt left"}},
        {{one.x + 1, one.y}, true, {}},
        {two, true, {}},  // straight onto another link
        {{twoArea.right, twoArea.bottom}, true, {}},  // its edges belong to it
        {{twoArea.right + 1, two.y}, false, {"leave two.vgt "}},
        {{8 + 10, pictureTop + 20}, true, {"enter picture.vgt pane"}},
        {{8 + 45, pictureTop + 20}, false, {"leave picture.vgt pane"}},  // on the picture, outside its area
    };
    for (const Step& step : steps) {
        events.clear();
        driver.MoveMouse(window, step.at.x, step.at.y);
        EXPECT_EQ(events, step.events) << step.at.x << "," << step.at.y;
        EXPECT_EQ(scroller->GetCursor(), step.hand ? crHandPoint : crDefault) << step.at.x << "," << step.at.y;
        EXPECT_EQ(HandShown(), step.hand) << step.at.x << "," << step.at.y;
    }
    // Scrolled down, the same areas lie higher in the window.
    scroller->SetVPos(20);
    events.clear();
    driver.MoveMouse(window, 250, 150);
    EXPECT_TRUE(events.empty());
    driver.MoveMouse(window, 8 + 10, pictureTop + 20 - 20);
    EXPECT_EQ(events, std::vector<std::string>{"enter picture.vgt pane"});
}

TEST_F(LinkAreaTest, ALeftClickOpensTheTargetARightClickDoesNothing) {
    HWND window = scroller->GetHandle();
    const POINT one = TextLink(0);
    driver.MoveMouse(window, one.x, one.y);
    events.clear();
    driver.Click(window, one.x, one.y, 1);
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(scroller->GetTopicName().str(), "links.vgt");
    driver.Click(window, one.x, one.y);
    EXPECT_EQ(scroller->GetTopicName().str(), "one.vgt");
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back(), "click one.vgt");
    // A click outside any link does nothing.
    events.clear();
    driver.Click(window, 250, 150);
    EXPECT_EQ(scroller->GetTopicName().str(), "one.vgt");
    for (const std::string& event : events) EXPECT_EQ(event.rfind("click", 0), std::string::npos);
}

}  // namespace
