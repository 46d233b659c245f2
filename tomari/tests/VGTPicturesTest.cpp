// Tests of pictures in a topic: the picture cache, placing IMAGE pictures
// (stretching, wrapping, keeps, background pictures, pictures in links),
// the areas of their link files, and BKIMAGE and BKCOLOR backgrounds.
#include <limits>
#include <string>
#include <vector>

#include "TopicFolder.h"
#include "VisualizerFixture.h"

namespace {

// Counts what it loads.
class CountingVisualizer : public ProbeVisualizer {
public:
    void LoadImage(const TString& name, TMemBitmap& bitmap) override {
        ++imageLoads;
        TVGTVisualizer::LoadImage(name, bitmap);
    }
    void LoadImageLinks(const TString& name, TImageLinks& links) override {
        ++linkLoads;
        TVGTVisualizer::LoadImageLinks(name, links);
    }
    int imageLoads = 0;
    int linkLoads = 0;
};

const COLORREF kRed = RGB(0xE0, 0x10, 0x10);
const COLORREF kGreen = RGB(0x10, 0xC0, 0x20);

// A 4 x 3 picture whose every pixel differs.
void TilePicture(const std::string& name) {
    TMemBitmap picture;
    ASSERT_TRUE(picture.NewBitmap(4, 3, 24));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) picture.SetPixel(x, y, static_cast<int>(RGB(40 * x + 10, 60 * y + 20, 200)));
    picture.Refresh();
    ASSERT_TRUE(picture.SaveToFile(TString(name)));
}

// Two areas for a 40 x 100 picture: a square and a triangle.
std::string TwoAreas() {
    TImageLinks links;
    TImageLink* square = links.NewItem();
    square->polygon.Add(POINT{0, 0}, POINT{10, 0}, POINT{10, 10}, POINT{0, 10});
    square->target = "square.vgt";
    TImageLink* triangle = links.NewItem();
    triangle->polygon.Add(POINT{20, 50}, POINT{39, 50}, POINT{20, 99});
    triangle->target = "triangle.vgt";
    triangle->targetPanel = "side";
    links.WriteToFile(TString("areas.ald"));
    return "areas.ald";
}

class VGTPicturesTest : public ::testing::Test {
protected:
    void SetUp() override {
        TopicFolder::Picture("tall.bmp", 40, 100, kRed);
        TopicFolder::Picture("small.bmp", 20, 12, kGreen);
    }
    HDC dc() const { return surface.dc(); }
    int W(const std::string& word) const { return WordWidth(dc(), word); }
    int H() const { return WordSize(dc(), "x").cy; }
    // The trace entries of one paint (measure first), filtered.
    std::vector<std::string> Calls(const std::string& markup, std::initializer_list<const char*> names,
                                   int right = 500) {
        return Only(topic.Paint(dc(), markup, 8, 0, right), names);
    }

    TopicFolder folder;
    GdiCanvas surface{600, 400};
    CountingVisualizer topic;
};

TEST_F(VGTPicturesTest, AMissingPictureIsBoldTextLookedForOncePerTopic) {
    const std::string missing = "<image:gone.bmp not found>";
    const std::vector<std::string> trace = topic.Paint(dc(), "<IMAGE=gone.bmp> and <IMAGE=gone.bmp>");
    EXPECT_EQ(topic.imageLoads, 1);  // the measure pass loads; the cache answers the rest
    const std::vector<std::string> texts = Only(trace, {"TextOutA"});
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0], TextAt(8, 0, missing));
    // Bold only for the replacement text.
    const std::string bold = "SelectObject(Font(-13, 0, 0, 0, 700, 0, 0, 0, 1, \"Arial\"))";
    std::string font;
    for (const std::string& entry : trace) {
        if (entry.rfind("SelectObject(Font", 0) == 0) font = entry;
        if (entry.rfind("TextOutA", 0) == 0) {
            EXPECT_EQ(font == bold, entry.find("not found") != std::string::npos);
        }
    }
    // Without the cache every occurrence loads.
    int height = 0, maxWidth = 0;
    topic.imageLoads = 0;
    topic.MeasureTopic(dc(), 8, 0, 500, height, maxWidth, true, false);
    EXPECT_EQ(topic.imageLoads, 2);
    // Names are exact: another case is another picture.
    topic.imageLoads = 0;
    topic.Measure(dc(), "<IMAGE=small.bmp><IMAGE=SMALL.bmp><IMAGE=small.bmp>");
    EXPECT_EQ(topic.imageLoads, 2);
}

TEST_F(VGTPicturesTest, PicturesArePlacedStretchedAndKept) {
    const int h = H(), a = W("a");
    const std::string rest = ", hdc, 0, 0, ";
    struct Case {
        std::string markup;
        int right;
        std::vector<std::string> calls;  // StretchBlt prefixes and TextOutA entries in order
    } cases[] = {
        // Its own size, or stretched: WIDTH alone keeps the height.
        {"<IMAGE=small.bmp>b", 500, {"StretchBlt(8, 0, 20, 12" + rest + "20, 12", TextAt(8 + 23, 0, "b")}},
        {"<IMAGE=small.bmp,WIDTH=50>", 500, {"StretchBlt(8, 0, 50, 12" + rest + "20, 12"}},
        {"<IMAGE=small.bmp,HEIGHT=30,WIDTH=5>", 500, {"StretchBlt(8, 0, 5, 30" + rest + "20, 12"}},
        // A picture raises the line; BACKGROUND neither moves the pen nor the line.
        {"a<IMAGE=tall.bmp>b<NL>c", 500,
         {TextAt(8, 0, "a"), "StretchBlt(" + std::to_string(8 + a + 3) + ", 0, 40, 100",
          TextAt(8 + a + 3 + 43, 0, "b"), TextAt(8, 100, "c")}},
        {"a<IMAGE=tall.bmp,BACKGROUND=1>b<NL>c", 500,
         {TextAt(8, 0, "a"), "StretchBlt(" + std::to_string(8 + a + 3) + ", 0, 40, 100",
          TextAt(8 + a + 3, 0, "b"), TextAt(8, h, "c")}},
        // A picture that does not fit wraps to the next line.
        {"a<IMAGE=tall.bmp>", 8 + a + 3 + 30, {TextAt(8, 0, "a"), "StretchBlt(8, " + std::to_string(h) + ", 40, 100"}},
        // At the left limit it stays, whatever its width.
        {"<IMAGE=tall.bmp>", 30, {"StretchBlt(8, 0, 40, 100"}},
        // KEEPRIGHT stands at the right limit and narrows the lines beside it.
        {"<IMAGE=small.bmp,KEEPRIGHT=1>" + std::string("aaaa"), 8 + W("aaaa") + 10,
         {"StretchBlt(" + std::to_string(8 + W("aaaa") + 10 - 20) + ", 0, 20, 12", TextAt(8, 10, "aaaa")}},
    };
    for (const Case& test : cases) {
        const std::vector<std::string> calls = Calls(test.markup, {"StretchBlt", "TextOutA"}, test.right);
        ASSERT_EQ(calls.size(), test.calls.size()) << test.markup;
        for (size_t i = 0; i < calls.size(); ++i)
            EXPECT_EQ(calls[i].substr(0, test.calls[i].size()), test.calls[i]) << test.markup;
    }
}

TEST_F(VGTPicturesTest, KeptPicturesNarrowTheLinesUntilTheirBottom) {
    const int h = H();
    std::string lines;
    for (int i = 0; i < 12; ++i) lines += "x<NL>";
    // KEEPLEFT: lines start at the picture's right edge plus a space unit.
    const std::vector<std::string> left = Calls("<IMAGE=tall.bmp,KEEPLEFT=1>" + lines, {"TextOutA"});
    ASSERT_EQ(left.size(), 12u);
    for (int i = 0; i < 12; ++i) EXPECT_EQ(left[i], TextAt(i * h <= 99 ? 8 + 43 : 8, i * h, "x")) << i;
    // KEEPRIGHT: the right limit is its width and a space unit less while it lasts.
    const int right = 8 + W("x") + 25;
    const std::vector<std::string> kept = Calls("<IMAGE=small.bmp,KEEPRIGHT=1>x x", {"TextOutA"}, right);
    const std::vector<std::string> free = Calls("x x", {"TextOutA"}, right);
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_EQ(kept[1], TextAt(8, h, "x"));
    EXPECT_EQ(free[1], TextAt(8 + W("x") + 3, 0, "x"));
}

TEST_F(VGTPicturesTest, LinkAreasOfPicturesLieOnThePicture) {
    const std::string file = TwoAreas();
    const int a = W("a");
    topic.SetCollectLinks(true);
    struct Case {
        std::string markup;
        int right;
        POINT corner;  // where the picture lands
    } cases[] = {
        {"a<IMAGE=tall.bmp,LINKS= " + file + " >", 500, {8 + a + 3, 0}},
        {"a<IMAGE=tall.bmp,LINKS=" + file + ">", 8 + a + 20, {8, H()}},
        {"a<IMAGE=tall.bmp,KEEPRIGHT=1,LINKS=" + file + ">", 300, {300 - 40, 0}},
    };
    for (const Case& test : cases) {
        topic.linkLoads = 0;
        topic.Paint(dc(), test.markup, 8, 0, test.right);
        EXPECT_EQ(topic.linkLoads, 1) << "read by the measure pass alone: " << test.markup;
        TImageLinks& areas = topic.GetImageLinks();
        ASSERT_EQ(areas.GetCount(), 2) << test.markup;
        EXPECT_EQ(areas[0].polygon[2].x, test.corner.x + 10);
        EXPECT_EQ(areas[0].polygon[2].y, test.corner.y + 10);
        EXPECT_TRUE(areas[0].Contains(test.corner.x + 5, test.corner.y + 5)) << test.markup;
        EXPECT_TRUE(areas[1].Contains(test.corner.x + 22, test.corner.y + 60)) << test.markup;
        EXPECT_FALSE(areas[1].Contains(test.corner.x + 38, test.corner.y + 98)) << test.markup;
        EXPECT_EQ(areas[1].target.str(), "triangle.vgt");
        EXPECT_EQ(areas[1].targetPanel.str(), "side");
    }
    // Not collected: no file is read; a missing picture gets no areas.
    topic.SetCollectLinks(false);
    topic.linkLoads = 0;
    topic.Measure(dc(), "<IMAGE=tall.bmp,LINKS=" + file + ">");
    EXPECT_EQ(topic.linkLoads, 0);
    EXPECT_EQ(topic.GetImageLinks().GetCount(), 0);
    topic.SetCollectLinks(true);
    topic.Measure(dc(), "<IMAGE=gone.bmp,LINKS=" + file + ">");
    EXPECT_EQ(topic.GetImageLinks().GetCount(), 0);
    topic.Measure(dc(), "<IMAGE=tall.bmp,LINKS=gone.ald>");
    EXPECT_EQ(topic.GetImageLinks().GetCount(), 0);
}

// Areas with corners far off the picture (as a real map's file holds) still
// hit on the picture: its rectangle with a sliver up to a far corner, and a
// band from the top of the coordinate range to its bottom.
TEST_F(VGTPicturesTest, AnAreaWithFarCornersWorksOnThePicture) {
    const LONG kMin = std::numeric_limits<LONG>::min(), kMax = std::numeric_limits<LONG>::max();
    const std::vector<POINT> areas[] = {
        {{0, 0}, {30, kMin}, {30, 40}, {0, 40}},
        {{-30, kMin}, {0, kMin}, {60, kMax}, {30, kMax}},
    };
    const int left = 8 + W("a") + 3;
    for (const std::vector<POINT>& corners : areas) {
        TImageLinks links;
        TImageLink* link = links.NewItem();
        for (const POINT& corner : corners) link->polygon.Add(corner);
        links.WriteToFile(TString("far.ald"));
        topic.SetCollectLinks(true);
        topic.Measure(dc(), "a<IMAGE=tall.bmp,LINKS=far.ald>");
        ASSERT_EQ(topic.GetImageLinks().GetCount(), 1);
        const TImageLink& area = topic.GetImageLinks()[0];
        for (const POINT& inside : {POINT{left, 0}, POINT{left + 29, 39}, POINT{left + 15, 20}})
            EXPECT_TRUE(area.Contains(inside.x, inside.y)) << inside.x << "," << inside.y;
        for (const POINT& outside : {POINT{left - 1, 20}, POINT{left + 30, 20}, POINT{left + 35, 1}})
            EXPECT_FALSE(area.Contains(outside.x, outside.y)) << outside.x << "," << outside.y;
    }
}

TEST_F(VGTPicturesTest, APictureInALinkAddsItsRectangle) {
    const int a = W("a");
    topic.SetCollectLinks(true);
    topic.Measure(dc(), "<LINK=t.vgt>a<IMAGE=small.bmp></LINK>");
    ASSERT_EQ(topic.GetLinks().GetCount(), 1);
    const TRectContainer& areas = topic.GetLinks()[0].areas;
    ASSERT_EQ(areas.GetCount(), 2);
    const RECT picture = areas[1];
    EXPECT_EQ(picture.left, 8 + a + 3);
    EXPECT_EQ(picture.top, 0);
    EXPECT_EQ(picture.right, 8 + a + 3 + 19);
    EXPECT_EQ(picture.bottom, 11);
}

TEST_F(VGTPicturesTest, LooseBmpAndJpegShowADamagedJpegIsMissing) {
    TopicFolder::Picture("photo.jpg", 30, 30, RGB(0x20, 0x40, 0xE0));
    folder.Write("broken.jpg", "\xFF\xD8\xFF\xE0 not a picture");
    const std::vector<std::string> texts =
        Calls("<IMAGE=small.bmp><IMAGE=photo.jpg><IMAGE=broken.jpg>", {"TextOutA"});
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0], TextAt(8 + 23 + 33, 0, "<image:broken.jpg not found>"));
    const std::vector<COLORREF> pixels = surface.Pixels();
    EXPECT_EQ(pixels[static_cast<size_t>(5 * surface.width() + 15)], kGreen);
    const COLORREF photo = pixels[static_cast<size_t>(15 * surface.width() + 8 + 23 + 15)];
    EXPECT_NEAR(GetRValue(photo), 0x20, 8);
    EXPECT_NEAR(GetGValue(photo), 0x40, 8);
    EXPECT_NEAR(GetBValue(photo), 0xE0, 8);
}

TEST_F(VGTPicturesTest, BackgroundsTileAtTheirSizeOrFill) {
    TilePicture("tile.bmp");
    struct Case {
        std::string markup;
        int periodX, periodY;
    } cases[] = {{"<BKIMAGE=tile.bmp>x", 4, 3}, {"<BKIMAGE=tile.bmp,WIDTH=8,HEIGHT=6>x", 8, 6},
                 {"<BKIMAGE=WIDTH=8,tile.bmp>x", 8, 3}};
    for (const Case& test : cases) {
        surface.Clear(RGB(255, 255, 255));
        topic.Measure(dc(), test.markup);
        ASSERT_TRUE(topic.HasBackground()) << test.markup;
        topic.FillTopicBackground(dc(), 0, 0, 48, 36);
        const std::vector<COLORREF> pixels = surface.Pixels();
        auto at = [&](int x, int y) { return pixels[static_cast<size_t>(y * surface.width() + x)]; };
        for (int y = 0; y + test.periodY < 36; ++y)
            for (int x = 0; x + test.periodX < 48; ++x) {
                ASSERT_EQ(at(x, y), at(x + test.periodX, y)) << test.markup << " " << x << "," << y;
                ASSERT_EQ(at(x, y), at(x, y + test.periodY)) << test.markup << " " << x << "," << y;
            }
        EXPECT_NE(at(0, 0), at(test.periodX / 2, 0)) << test.markup;
        EXPECT_EQ(at(48, 10), RGB(255, 255, 255)) << test.markup;
    }
    topic.Measure(dc(), "<BKCOLOR=123456>x");
    topic.FillTopicBackground(dc(), 0, 0, 20, 20);
    EXPECT_EQ(surface.At(19, 19), RGB(0x12, 0x34, 0x56));
    topic.Measure(dc(), "<BKIMAGE=gone.bmp>x");
    EXPECT_FALSE(topic.HasBackground());
}

// The background may tile a picture of the cache; clearing the cache keeps
// the background whole instead of leaving it on a freed picture.
TEST_F(VGTPicturesTest, ClearingTheCacheKeepsTheBackgroundPicture) {
    TilePicture("tile.bmp");
    topic.Measure(dc(), "<BKIMAGE=tile.bmp>x");
    ASSERT_EQ(topic.GetPictureCache().GetCount(), 1);
    ASSERT_EQ(&topic.GetBackgroundPicture(), &topic.GetPictureCache()[0].picture);
    surface.Clear(RGB(255, 255, 255));
    EXPECT_TRUE(topic.PaintTopic(dc(), 0, 0, 100, true, true, true));
    EXPECT_EQ(topic.GetPictureCache().GetCount(), 0);
    EXPECT_EQ(topic.GetBackgroundPicture().Width, 4);
    EXPECT_EQ(surface.At(0, 2), RGB(10, 140, 200));
}

}  // namespace
