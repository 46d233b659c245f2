// Tests of the memory-bitmap scroller's picture: the zoomed buffer and the
// rectangle, coordinates, display ratios, painting of every depth, mouse
// events and rulers in image pixels, zooms too large to hold, a picture set
// after the zoom, the image setters, design-time scrollers and the stored
// properties.
#include <climits>
#include <string>
#include <vector>

#include "MemBitmapFixture.h"
#include "Streaming.h"

namespace {

using MemBitmapScrollerTest = MemBitmapTest;

}  // namespace

TEST_F(MemBitmapScrollerTest, ANewScrollerHasTheConstructionValues) {
    TMemBitmapScroller* scroller = MakeScroller(nullptr);
    EXPECT_EQ(scroller->GetZoom(), 1);
    EXPECT_EQ(scroller->GetHorzRatio(), 1.0f);
    EXPECT_EQ(scroller->GetVertRatio(), 1.0f);
    EXPECT_EQ(scroller->GetHScrollPage(), 256);
    EXPECT_EQ(scroller->GetVScrollPage(), 256);
    EXPECT_FALSE(scroller->GetFillBackground());
    EXPECT_TRUE(scroller->GetTabStop());
    EXPECT_TRUE(scroller->GetAutoScroll());
    EXPECT_TRUE(scroller->GetWantArrows());
    ASSERT_NE(scroller->GetImage(), nullptr);
    EXPECT_FALSE(scroller->GetImage()->Valid);
    EXPECT_EQ(scroller->GetRectSizes().cx, 0);
    EXPECT_EQ(scroller->GetRulerMax(), 0);
    EXPECT_EQ(scroller->GetSelectionImage(), nullptr);
}

TEST_F(MemBitmapScrollerTest, ZoomThreeOnATenByFourPicture) {
    auto picture = MakePicture(8, 10, 4);
    TMemBitmapScroller* scroller = MakeScroller(picture.get());
    scroller->SetZoomRatio(3);
    TMemBitmap* buffer = scroller->GetImageBuffer();
    EXPECT_EQ(buffer->Width, 30);
    EXPECT_EQ(buffer->Height, 12);
    EXPECT_EQ(scroller->GetRectSizes().cx, 30);
    EXPECT_EQ(scroller->GetRectSizes().cy, 12);
    EXPECT_EQ(scroller->GetScreenHCoord(2), 7);
    EXPECT_EQ(scroller->GetRealHCoord(7), 2);
    EXPECT_EQ(scroller->GetScreenVCoord(3), 10);
    EXPECT_EQ(scroller->GetRealVCoord(11), 3);
    // Left of or above the picture stays outside it.
    EXPECT_EQ(scroller->GetRealHCoord(-1), -1);
    EXPECT_EQ(scroller->GetRealVCoord(-4), -2);
    EXPECT_EQ(scroller->GetRulerMax(), 10);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 30; ++x) ASSERT_EQ(buffer->GetPixel(x, y), Index8(x / 3, y / 3)) << x << ", " << y;
    for (int i : {0, 1, 77, 255}) EXPECT_EQ(buffer->GetPaletteEntry(i), picture->GetPaletteEntry(i));

    // Below 1 and the current zoom rebuild nothing: a mark in the buffer stays.
    buffer->SetPixel(0, 0, 200);
    for (int zoom : {0, -2, 3}) scroller->SetZoomRatio(zoom);
    EXPECT_EQ(scroller->GetZoom(), 3);
    EXPECT_EQ(scroller->GetImageBuffer()->GetPixel(0, 0), 200);
    // At Zoom 1 the image is its own display.
    scroller->SetZoomRatio(1);
    EXPECT_EQ(scroller->GetImageBuffer(), scroller->GetImage());
    EXPECT_EQ(scroller->GetRectSizes().cx, 10);
}

TEST_F(MemBitmapScrollerTest, RatiosStretchTheRectangleAndTurnAutoScrollOff) {
    auto picture = MakePicture(24, 10, 4);
    TMemBitmapScroller* scroller = MakeScroller(picture.get());
    scroller->SetZoomRatio(3);
    const struct {
        float horizontal, vertical;
        SIZE rect;
        bool autoScroll;
    } cases[] = {
        {2.0f, 1.0f, {60, 12}, false}, {1.0f, 1.0f, {30, 12}, true}, {1.5f, 0.5f, {45, 6}, false},
        {1.0f, 0.99f, {30, 11}, false}, {-1.0f, 1.0f, {0, 12}, false}, {1.0f, 1.0f, {30, 12}, true},
    };
    for (const auto& c : cases) {
        scroller->SetHorzRatio(c.horizontal);
        scroller->SetVertRatio(c.vertical);
        EXPECT_EQ(scroller->GetRectSizes().cx, c.rect.cx) << c.horizontal;
        EXPECT_EQ(scroller->GetRectSizes().cy, c.rect.cy) << c.vertical;
        EXPECT_EQ(scroller->GetAutoScroll(), c.autoScroll) << c.horizontal << " " << c.vertical;
    }
    // The buffer fills the stretched rectangle to its far corner.
    scroller->SetHorzRatio(2.0f);
    driver.PumpUntilIdle();
    EXPECT_EQ(At(scroller, {0, 0}), Colour24(0, 0));
    EXPECT_EQ(At(scroller, {59, 11}), Colour24(9, 3));
    EXPECT_EQ(At(scroller, {31, 5}), Colour24(5, 1));
    // Selections and conversions keep counting image pixels.
    EXPECT_EQ(scroller->GetRealHCoord(59), 19);
}

// Every pixel of the rectangle shows its image pixel's colour, at Zoom 1 and
// as Zoom x Zoom blocks, whatever the depth.
TEST_F(MemBitmapScrollerTest, EveryDepthShowsItsTrueColoursInBlocksOfTheZoom) {
    const struct {
        int bits, zoom;
    } cases[] = {{8, 2}, {24, 2}, {4, 1}, {4, 3}, {16, 1}, {16, 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.bits) + " bits at zoom " + std::to_string(c.zoom));
        auto picture = MakePicture(c.bits, 17, 11);
        ASSERT_TRUE(picture->Valid);
        TMemBitmapScroller* scroller = MakeScroller(picture.get());
        scroller->SetZoomRatio(c.zoom);
        driver.PumpUntilIdle();
        const SIZE size = scroller->GetRectSizes();
        ASSERT_EQ(size.cx, 17 * c.zoom);
        int wrong = 0;
        for (int y = 0; y < size.cy; ++y)
            for (int x = 0; x < size.cx; ++x)
                if (At(scroller, {x, y}) != ShownColour(*picture, x / c.zoom, y / c.zoom) && wrong++ < 3)
                    ADD_FAILURE() << "pixel " << x << ", " << y << " shows " << std::hex << At(scroller, {x, y});
        // The buffer's picture covers the rectangle even with FillBackground.
        scroller->SetFillBk(true);
        scroller->Repaint();
        driver.PumpUntilIdle();
        EXPECT_EQ(At(scroller, {size.cx - 1, size.cy - 1}), ShownColour(*picture, 16, 10));
        delete scroller;
    }
}

TEST_F(MemBitmapScrollerTest, MouseEventsAndRulersCountImagePixels) {
    auto picture = MakePicture(24, 40, 30);
    TMemBitmapScroller* scroller = MakeScroller(picture.get());
    scroller->SetZoomRatio(2);
    std::vector<std::string> events;
    scroller->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int x, int y) {
        events.push_back("down " + std::to_string(x) + "," + std::to_string(y));
    };
    scroller->OnMouseMove = [&](TObject*, TShiftState, int x, int y) {
        events.push_back("move " + std::to_string(x) + "," + std::to_string(y));
    };
    Move(scroller, {15, 9});
    EXPECT_EQ(events, (std::vector<std::string>{"move 7,4"}));
    Down(scroller, {15, 9});
    EXPECT_EQ(events.back(), "down 7,4");
    Up(scroller, {15, 9});

    scroller->SetShowRulers(true);
    driver.PumpUntilIdle();
    // The tick of image pixel 10 stands on the centre of its 2 x 2 block.
    auto inverted = [](COLORREF c) { return RGB(255 - GetRValue(c), 255 - GetGValue(c), 255 - GetBValue(c)); };
    EXPECT_EQ(At(scroller, {21, 2}), inverted(Colour24(10, 1)));
    EXPECT_EQ(At(scroller, {20, 2}), Colour24(10, 1));
    EXPECT_EQ(At(scroller, {2, 41}), inverted(Colour24(1, 20)));
    EXPECT_EQ(At(scroller, {2, 40}), Colour24(1, 20));
    EXPECT_EQ(scroller->GetRulerMax(), 40);
}

TEST_F(MemBitmapScrollerTest, ALineDownAtZoomFourPaintsWhatAFullRepaintDraws) {
    auto picture = MakePicture(24, 100, 90);
    TMemBitmapScroller* scroller = MakeScroller(picture.get());
    scroller->SetZoomRatio(4);
    scroller->SetShowRulers(true);
    driver.PumpUntilIdle();
    ASSERT_GT(scroller->GetVMax(), 0);
    for (int code : {SB_LINEDOWN, SB_LINEDOWN, SB_PAGEDOWN, SB_LINEUP}) {
        SendScroll(scroller, SB_VERT, code);
        EXPECT_TRUE(ShowsFullRepaint(scroller)) << code;
    }
    SendScroll(scroller, SB_HORZ, SB_LINEDOWN);
    EXPECT_TRUE(ShowsFullRepaint(scroller));
}

TEST_F(MemBitmapScrollerTest, AZoomTooLargeShowsTheTrueSizesAndKeepsTheOldZoom) {
    const struct {
        int width, height, zoom;
        const char* sizes;
    } cases[] = {
        {20000, 10, 4, "80000, 40"},                // a side beyond what a bitmap holds
        {4100, 4100, 4, "16400, 16400"},            // more pixels than a bitmap holds
        {40000, 2, 60000, "2400000000, 120000"},    // beyond an int
        {3, 40000, INT_MAX, "6442450941, 85899345880000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sizes);
        TMemBitmap picture;
        ASSERT_TRUE(picture.NewBitmap(c.width, c.height, 8));
        TMemBitmapScroller* scroller = MakeScroller(&picture);
        TMessageLog log;
        scroller->SetZoomRatio(c.zoom);
        ASSERT_EQ(log.boxes.size(), 1u);
        EXPECT_EQ(log.boxes[0].text, std::string("The system cannot handle an image of size<") + c.sizes +
                                         ">\nTry either a smaller image or a smaller zoom ratio");
        EXPECT_EQ(log.boxes[0].caption, "Zoom image");
        EXPECT_EQ(log.boxes[0].style & MB_ICONMASK, UINT(MB_ICONERROR));
        EXPECT_EQ(log.boxes[0].owner, GetAncestor(scroller->GetHandle(), GA_ROOT));
        EXPECT_EQ(scroller->GetZoom(), 1);
        ASSERT_TRUE(scroller->GetImageBuffer()->Valid);
        EXPECT_EQ(scroller->GetImageBuffer()->Width, c.width);
        EXPECT_EQ(scroller->GetRectSizes().cy, c.height);
        delete scroller;
    }
}

TEST_F(MemBitmapScrollerTest, WithoutAPictureTheZoomWaitsForThePicture) {
    TMessageLog log;
    TMemBitmapScroller* scroller = MakeScroller(nullptr);
    scroller->SetZoomRatio(2);
    EXPECT_EQ(scroller->GetZoom(), 2);
    EXPECT_EQ(scroller->GetRectSizes().cx, 0);
    auto picture = MakePicture(8, 10, 4);
    scroller->SetImage(*picture);
    EXPECT_EQ(scroller->GetImageBuffer()->Width, 20);
    EXPECT_EQ(scroller->GetRectSizes().cy, 8);
    EXPECT_TRUE(log.boxes.empty());
}

TEST_F(MemBitmapScrollerTest, StoredZoomAndRatiosLoadWithoutAPictureAndApplyToTheNextOne) {
    const char kText[] =
        "object Holder: TForm\n"
        "  object Pictures: TMemBitmapScroller\n"
        "    Left = 8\n"
        "    Top = 8\n"
        "    Width = 233\n"
        "    Height = 153\n"
        "    Zoom = 2\n"
        "    HorzRatio = 1.5\n"
        "    VertRatio = 1\n"
        "    RulerNumber = 5\n"
        "    WantArrows = True\n"
        "  end\n"
        "end\n";
    TMessageLog log;
    TForm holder(nullptr, 1);
    ReadComponentText(&holder, kText);
    auto* scroller = static_cast<TMemBitmapScroller*>(holder.FindComponent("Pictures"));
    ASSERT_NE(scroller, nullptr);
    EXPECT_TRUE(log.boxes.empty());
    EXPECT_EQ(scroller->GetZoom(), 2);
    EXPECT_EQ(scroller->GetHorzRatio(), 1.5f);
    EXPECT_FALSE(scroller->GetAutoScroll());
    auto picture = MakePicture(24, 10, 4);
    scroller->SetImage(*picture);
    EXPECT_EQ(scroller->GetRectSizes().cx, 30);
    EXPECT_EQ(scroller->GetRectSizes().cy, 8);

    const std::string saved = WriteComponentText(&holder);
    for (const char* line : {"Zoom = 2", "HorzRatio = 1.5", "RulerNumber = 5", "WantArrows = True"})
        EXPECT_NE(saved.find(line), std::string::npos) << line << " missing from\n" << saved;
    for (const char* name : {"VertRatio", "VScrollPage", "HScrollPage", "FillBackground", "TabStop"})
        EXPECT_EQ(saved.find(name), std::string::npos) << name << " saved though default, in\n" << saved;
    TForm again(nullptr, 1);
    ReadComponentText(&again, saved);
    EXPECT_EQ(WriteComponentText(&again), saved);
}

TEST_F(MemBitmapScrollerTest, TheImageSettersTakeCopyResizeAndRefuseNull) {
    auto picture = MakePicture(8, 30, 20);
    TMemBitmapScroller* scroller = MakeScroller(picture.get());
    TMemBitmap* image = scroller->GetImage();
    EXPECT_NE(image, picture.get());
    EXPECT_EQ(scroller->SetImageAddr(nullptr), nullptr);
    EXPECT_EQ(scroller->SetImageAddr(image), nullptr);
    EXPECT_EQ(scroller->GetImageAddr(), image);

    TMemBitmap* mine = MakePicture(24, 12, 9).release();
    std::unique_ptr<TMemBitmap> previous(scroller->SetImageAddr(mine));
    EXPECT_EQ(previous.get(), image);
    EXPECT_EQ(scroller->GetImage(), mine);
    EXPECT_EQ(scroller->GetRectSizes().cx, 12);
    driver.PumpUntilIdle();
    EXPECT_EQ(At(scroller, {11, 8}), Colour24(11, 8));

    // A blank of the same depth (and table), with new ranges; a size no
    // bitmap can have changes nothing.
    scroller->SetImage(*picture);
    scroller->SetImageSizes(500, 300);
    EXPECT_EQ(scroller->GetImage()->BitCount, 8);
    EXPECT_EQ(scroller->GetImage()->GetPixel(499, 299), 0);
    EXPECT_EQ(scroller->GetImage()->GetPaletteEntry(9), picture->GetPaletteEntry(9));
    EXPECT_EQ(scroller->GetHMax(), 500 - 300 + 16);
    scroller->SetImageSizes(0, 5);
    EXPECT_EQ(scroller->GetImage()->Width, 500);

    // A picture that lives as its device bitmap alone shows and copies its pixels.
    std::vector<uint8_t> file;
    ASSERT_TRUE(MakePicture(24, 6, 4)->EncodeBmp(file));
    TMemBitmap deviceOnly;
    deviceOnly.KeepDIB = 0;
    deviceOnly.LoadFromBMPMemory(file.data(), int(file.size()));
    ASSERT_EQ(deviceOnly.GetDIB(), nullptr);
    scroller->SetImage(deviceOnly);
    driver.PumpUntilIdle();
    EXPECT_EQ(At(scroller, {5, 3}), Colour24(5, 3));
    std::unique_ptr<TMemBitmap> whole(scroller->GetSelectionImage());
    ASSERT_NE(whole, nullptr);
    EXPECT_EQ(whole->GetPixel(5, 3), int(Colour24(5, 3)));
}

TEST_F(MemBitmapScrollerTest, ADesignTimeScrollerHasNoBitmapsAndToleratesEveryCall) {
    form->SetDesigning(true);
    auto* scroller = new TMemBitmapScroller(form);
    auto picture = MakePicture(8, 10, 4);
    EXPECT_EQ(scroller->GetImage(), nullptr);
    EXPECT_EQ(scroller->GetImageBuffer(), nullptr);
    scroller->SetZoomRatio(2);
    EXPECT_EQ(scroller->GetZoom(), 2);
    scroller->SetImage(*picture);
    EXPECT_EQ(scroller->SetImageAddr(picture.get()), nullptr);
    scroller->SetImageSizes(5, 5);
    scroller->RefreshImage();
    scroller->SetHorzRatio(2.0f);
    EXPECT_FALSE(scroller->RefreshImageBuffer());
    EXPECT_EQ(scroller->GetSelectionImage(), nullptr);
    EXPECT_FALSE(scroller->CopyImage(true));
    EXPECT_FALSE(scroller->Paste());
    EXPECT_EQ(scroller->GetRectSizes().cx, 0);
    EXPECT_EQ(scroller->GetRulerMax(), 0);
    delete scroller;
    form->SetDesigning(false);
}
