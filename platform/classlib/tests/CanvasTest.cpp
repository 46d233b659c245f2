// TCanvas on a memory DC: write-through state, shapes, text and copies.
#include <gtest/gtest.h>

#include <functional>

#include "Exceptions.h"
#include "Graphics.h"

namespace {

// A canvas bound to a white 64x48 memory bitmap.
class CanvasTest : public ::testing::Test {
protected:
    void SetUp() override {
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateCompatibleBitmap(dc, 64, 48);
        firstBitmap = SelectObject(dc, bitmap);
        PatBlt(dc, 0, 0, 64, 48, WHITENESS);
        canvas.SetHandle(dc);
    }
    void TearDown() override {
        canvas.SetHandle(nullptr);
        SelectObject(dc, firstBitmap);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }

    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ firstBitmap = nullptr;
    TCanvas canvas;
};

TEST_F(CanvasTest, CanvasChangesReachTheDcAtOnce) {
    canvas.GetPen()->SetColor(clRed);
    canvas.GetPen()->SetMode(pmNot);
    canvas.GetBrush()->SetColor(clBlue);
    canvas.GetFont()->SetColor(clGreen);
    canvas.GetFont()->SetName("Courier New");

    LOGPEN logPen{};
    GetObjectA(GetCurrentObject(dc, OBJ_PEN), sizeof logPen, &logPen);
    EXPECT_EQ(logPen.lopnColor, RGB(255, 0, 0));
    EXPECT_EQ(GetROP2(dc), R2_NOT);
    LOGBRUSH logBrush{};
    GetObjectA(GetCurrentObject(dc, OBJ_BRUSH), sizeof logBrush, &logBrush);
    EXPECT_EQ(logBrush.lbColor, RGB(0, 0, 255));
    EXPECT_EQ(GetBkColor(dc), RGB(0, 0, 255));
    EXPECT_EQ(GetTextColor(dc), RGB(0, 128, 0));
    LOGFONTA logFont{};
    GetObjectA(GetCurrentObject(dc, OBJ_FONT), sizeof logFont, &logFont);
    EXPECT_STREQ(logFont.lfFaceName, "Courier New");

    canvas.GetBrush()->SetStyle(bsClear);
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);

    // A new font colour or pen mode keeps the selected object.
    const HGDIOBJ font = GetCurrentObject(dc, OBJ_FONT), pen = GetCurrentObject(dc, OBJ_PEN);
    canvas.GetFont()->SetColor(clMaroon);
    canvas.GetPen()->SetMode(pmXor);
    EXPECT_EQ(GetTextColor(dc), RGB(128, 0, 0));
    EXPECT_EQ(GetROP2(dc), R2_XORPEN);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), pen);

    // Raw GDI drawing on the handle uses the canvas's pen.
    canvas.GetPen()->SetMode(pmCopy);
    MoveToEx(canvas.GetHandle(), 0, 5, nullptr);
    ::LineTo(canvas.GetHandle(), 10, 5);
    EXPECT_EQ(GetPixel(dc, 3, 5), RGB(255, 0, 0));
}

TEST_F(CanvasTest, RawGdiChangesAreWhatTheCanvasReadsAndDrawsWith) {
    HPEN rawPen = CreatePen(PS_DASH, 1, RGB(0, 0, 255));
    HBRUSH rawBrush = CreateSolidBrush(RGB(0, 255, 0));
    HFONT rawFont = CreateFontA(-20, 0, 0, 0, FW_BOLD, 1, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
    HGDIOBJ oldPen = SelectObject(canvas.GetHandle(), rawPen);
    SelectObject(canvas.GetHandle(), rawBrush);
    SelectObject(canvas.GetHandle(), rawFont);
    SetROP2(canvas.GetHandle(), R2_XORPEN);
    SetTextColor(canvas.GetHandle(), RGB(1, 2, 3));

    EXPECT_EQ(canvas.GetPen()->GetColor(), clBlue);
    EXPECT_EQ(canvas.GetPen()->GetStyle(), psDash);
    EXPECT_EQ(canvas.GetPen()->GetMode(), pmXor);
    EXPECT_EQ(canvas.GetBrush()->GetColor(), clLime);
    EXPECT_EQ(canvas.GetFont()->GetName(), "Arial");
    EXPECT_EQ(canvas.GetFont()->GetHeight(), -20);
    EXPECT_TRUE(canvas.GetFont()->GetStyle().Contains(fsItalic));
    EXPECT_EQ(canvas.GetFont()->GetColor(), static_cast<TColor>(RGB(1, 2, 3)));

    // Canvas drawing uses what the DC holds: the raw brush fills.
    SetROP2(canvas.GetHandle(), R2_COPYPEN);
    canvas.FillRect(RECT{20, 20, 30, 30});
    EXPECT_EQ(GetPixel(dc, 25, 25), RGB(0, 255, 0));

    // A raw selection of the canvas's old pen still works, and a later canvas
    // change wins over the raw objects.
    EXPECT_NE(SelectObject(canvas.GetHandle(), oldPen), nullptr);
    canvas.GetPen()->SetColor(clFuchsia);
    LOGPEN logPen{};
    GetObjectA(GetCurrentObject(dc, OBJ_PEN), sizeof logPen, &logPen);
    EXPECT_EQ(logPen.lopnColor, RGB(255, 0, 255));

    canvas.GetBrush()->SetColor(clRed);
    canvas.GetFont()->SetSize(10);
    DeleteObject(rawPen);
    DeleteObject(rawBrush);
    DeleteObject(rawFont);
}

// RestoreDC selects again the objects a SaveDC kept, which the canvas may
// have replaced (and freed) since: the canvas then draws with its own.
TEST_F(CanvasTest, ObjectsReplacedBetweenSaveDcAndRestoreDcDrawAfterTheRestore) {
    canvas.GetBrush()->SetColor(clRed);
    canvas.GetPen()->SetColor(clRed);
    const int saved = SaveDC(dc);
    canvas.GetBrush()->SetColor(clBlue);
    canvas.GetPen()->SetColor(clBlue);
    RestoreDC(dc, saved);
    canvas.FillRect(RECT{0, 0, 10, 10});
    EXPECT_EQ(GetPixel(dc, 5, 5), RGB(0, 0, 255));
    canvas.GetPen()->SetColor(clBlue);
    canvas.MoveTo(0, 20);
    canvas.LineTo(20, 20);
    EXPECT_EQ(GetPixel(dc, 10, 20), RGB(0, 0, 255));
    canvas.GetBrush()->SetColor(clBlue);
    canvas.FrameRect(RECT{30, 30, 40, 40});
    EXPECT_EQ(GetPixel(dc, 30, 35), RGB(0, 0, 255));
}

TEST_F(CanvasTest, ShapesUseThePenAndBrush) {
    canvas.GetPen()->SetColor(clBlack);
    canvas.GetBrush()->SetColor(clRed);
    canvas.Rectangle(2, 2, 12, 12);
    EXPECT_EQ(canvas.GetPixels(2, 2), clBlack);
    EXPECT_EQ(canvas.GetPixels(6, 6), clRed);
    EXPECT_EQ(canvas.GetPixels(12, 12), clWhite) << "right and bottom are outside";

    canvas.GetBrush()->SetStyle(bsClear);
    canvas.Ellipse(20, 2, 40, 22);
    EXPECT_EQ(canvas.GetPixels(30, 12), clWhite) << "a clear brush leaves the inside";

    canvas.GetPen()->SetMode(pmNot);
    canvas.MoveTo(0, 40);
    canvas.LineTo(10, 40);
    EXPECT_EQ(canvas.GetPixels(5, 40), clBlack);
    EXPECT_EQ(canvas.GetPenPos().x, 10);
    canvas.MoveTo(0, 40);
    canvas.LineTo(10, 40);
    EXPECT_EQ(canvas.GetPixels(5, 40), clWhite) << "pmNot twice restores";

    canvas.GetPen()->SetMode(pmCopy);
    canvas.GetBrush()->SetColor(clBlue);
    canvas.Polygon({{44, 30}, {60, 30}, {52, 46}});
    EXPECT_EQ(canvas.GetPixels(52, 35), clBlue);
    canvas.Polygon({{1, 1}});  // too few points: nothing

    // A hatch keeps its gaps: the white underneath shows through.
    canvas.GetBrush()->SetStyle(bsCross);
    canvas.Rectangle(0, 14, 20, 34);
    int blue = 0;
    int white = 0;
    for (int y = 15; y < 33; ++y)
        for (int x = 1; x < 19; ++x) {
            blue += canvas.GetPixels(x, y) == clBlue;
            white += canvas.GetPixels(x, y) == clWhite;
        }
    EXPECT_GT(blue, 0);
    EXPECT_GT(white, blue);
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);

    canvas.SetPixels(63, 47, clYellow);
    EXPECT_EQ(canvas.GetPixels(63, 47), clYellow);
    EXPECT_EQ(canvas.GetPixels(64, 0), clNone);
    RECT clip = canvas.GetClipRect();
    EXPECT_EQ(clip.right, 64);
    EXPECT_EQ(clip.bottom, 48);
}

TEST_F(CanvasTest, TextIsMeasuredAndDrawnWithTheFont) {
    canvas.GetFont()->SetSize(10);
    SIZE extent = canvas.TextExtent("Hello");
    EXPECT_GT(extent.cx, 0);
    EXPECT_EQ(canvas.TextWidth("Hello"), extent.cx);
    EXPECT_EQ(canvas.TextHeight("Hello"), extent.cy);
    EXPECT_EQ(canvas.TextWidth(""), 0);
    canvas.GetFont()->SetSize(20);
    EXPECT_GT(canvas.TextWidth("Hello"), extent.cx);

    canvas.GetFont()->SetColor(clBlack);
    canvas.GetBrush()->SetColor(clYellow);
    // The pen moves on by the text's width, which drawing the text measured.
    EnableCallTrace(canvas.GetHandle(), true);
    canvas.TextOut(0, 0, "WW");
    const std::vector<std::string> calls = GetCallTrace(canvas.GetHandle());
    EnableCallTrace(canvas.GetHandle(), false);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0], "TextOutA(0, 0, \"WW\", 2)");
    EXPECT_EQ(calls[1].rfind("MoveToEx(", 0), 0u) << calls[1];
    EXPECT_EQ(canvas.GetPenPos().x, canvas.TextWidth("WW"));
    bool black = false;
    for (int x = 0; x < canvas.TextWidth("WW"); ++x)
        for (int y = 0; y < canvas.TextHeight("WW"); ++y) black |= canvas.GetPixels(x, y) == clBlack;
    EXPECT_TRUE(black);

    canvas.TextRect(RECT{40, 30, 50, 40}, 40, 30, "WWWWWWWW");
    EXPECT_EQ(canvas.GetPixels(55, 35), clWhite) << "clipped to the rectangle";
}

TEST_F(CanvasTest, CopyRectStretchesByTheCopyMode) {
    canvas.GetBrush()->SetColor(clRed);
    canvas.FillRect(RECT{0, 0, 4, 4});
    canvas.CopyRect(RECT{10, 10, 18, 18}, &canvas, RECT{0, 0, 4, 4});
    EXPECT_EQ(canvas.GetPixels(17, 17), clRed);
    canvas.SetCopyMode(DSTINVERT);
    canvas.CopyRect(RECT{10, 10, 18, 18}, &canvas, RECT{0, 0, 4, 4});
    EXPECT_EQ(canvas.GetPixels(17, 17), clAqua);
}

TEST(Canvas, DrawingWithoutHandleThrows) {
    TCanvas canvas;
    EXPECT_EQ(canvas.GetHandle(), nullptr);
    EXPECT_THROW(canvas.LineTo(1, 1), EInvalidOperation);
    EXPECT_EQ(canvas.GetPixels(0, 0), clNone);
    canvas.GetPen()->SetColor(clRed);  // no DC: kept for later
    EXPECT_EQ(canvas.GetPen()->GetColor(), clRed);
}

}  // namespace

namespace {

// Each figure call draws inside its bounding box [10,10)-(30,30) and nowhere else.
TEST_F(CanvasTest, FiguresDrawInsideTheirBoxes) {
    const std::pair<const char*, std::function<void(TCanvas&)>> figures[] = {
        {"RoundRect", [](TCanvas& c) { c.RoundRect(10, 10, 30, 30, 6, 6); }},
        {"Arc", [](TCanvas& c) { c.Arc(10, 10, 30, 30, 30, 20, 10, 20); }},
        {"Pie", [](TCanvas& c) { c.Pie(10, 10, 30, 30, 30, 20, 10, 20); }},
        {"Chord", [](TCanvas& c) { c.Chord(10, 10, 30, 30, 30, 20, 10, 20); }},
        {"Polyline", [](TCanvas& c) { c.Polyline({{10, 10}, {29, 29}, {10, 29}}); }},
        {"FrameRect", [](TCanvas& c) { c.FrameRect(RECT{10, 10, 30, 30}); }},
        {"Ellipse", [](TCanvas& c) { c.Ellipse(RECT{10, 10, 30, 30}); }},
    };
    canvas.GetPen()->SetColor(clBlack);
    canvas.GetBrush()->SetColor(clBlack);
    for (const auto& figure : figures) {
        PatBlt(dc, 0, 0, 64, 48, WHITENESS);
        figure.second(canvas);
        int inside = 0;
        int outside = 0;
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 64; ++x) {
                bool drawn = canvas.GetPixels(x, y) != clWhite;
                bool inBox = x >= 10 && x < 30 && y >= 10 && y < 30;
                (inBox ? inside : outside) += drawn;
            }
        EXPECT_GT(inside, 0) << figure.first;
        EXPECT_EQ(outside, 0) << figure.first;
    }
}

TEST_F(CanvasTest, ChangeEventsSurroundEachDrawing) {
    std::string calls;
    canvas.OnChanging = [&](TObject*) { calls += "<"; };
    canvas.OnChange = [&](TObject*) { calls += ">"; };
    canvas.LineTo(5, 5);
    canvas.FillRect(RECT{0, 0, 2, 2});
    EXPECT_EQ(calls, "<><>");
}

}  // namespace
