// Rasterisation rules of lines and shapes on small surfaces, pens, brushes and R2_NOT.
#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>

#include "GdiCanvas.h"

namespace {

const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kRed = RGB(255, 0, 0);

struct LineCase {
    POINT from, to;
};

TEST(GdiShapes, LinesOmitTheirLastPixel) {
    const LineCase cases[] = {
        {{1, 1}, {6, 1}}, {{6, 2}, {1, 2}}, {{3, 0}, {3, 6}}, {{3, 6}, {3, 0}},
        {{0, 0}, {6, 6}}, {{6, 6}, {0, 0}}, {{0, 5}, {7, 2}}, {{2, 2}, {2, 2}},
    };
    for (const LineCase& c : cases) {
        GdiCanvas canvas(8, 8);
        MoveToEx(canvas.dc(), c.from.x, c.from.y, nullptr);
        LineTo(canvas.dc(), c.to.x, c.to.y);
        const int length = std::max(std::abs(c.to.x - c.from.x), std::abs(c.to.y - c.from.y));
        EXPECT_EQ(canvas.Count(kBlack), length) << c.from.x << "," << c.from.y << " -> " << c.to.x << "," << c.to.y;
        EXPECT_EQ(canvas.At(c.to.x, c.to.y), kWhite);
        if (length > 0) {
            EXPECT_EQ(canvas.At(c.from.x, c.from.y), kBlack);
        }
        POINT position;
        GetCurrentPositionEx(canvas.dc(), &position);
        EXPECT_EQ(position.x, c.to.x);
        EXPECT_EQ(position.y, c.to.y);
    }
}

TEST(GdiShapes, PolylineDrawsEachJointOnce) {
    GdiCanvas canvas(8, 8, kBlack);
    SetROP2(canvas.dc(), R2_NOT);
    const POINT points[] = {{1, 1}, {5, 1}, {5, 5}, {1, 5}, {1, 1}};
    Polyline(canvas.dc(), points, 5);
    // Joints inverted twice would show black again: every border pixel is white.
    EXPECT_EQ(canvas.Mask(kWhite),
              Rows({"........", ".#####..", ".#...#..", ".#...#..", ".#...#..", ".#####..", "........", "........"}));
    EXPECT_FALSE(Polyline(canvas.dc(), points, 1));
}

TEST(GdiShapes, RectangleCoversItsBoxWithThePenInside) {
    GdiCanvas canvas(8, 7);
    HBRUSH red = CreateSolidBrush(kRed);
    HGDIOBJ oldBrush = SelectObject(canvas.dc(), red);
    Rectangle(canvas.dc(), 1, 1, 6, 5);
    EXPECT_EQ(canvas.Mask(kBlack),
              Rows({"........", ".#####..", ".#...#..", ".#...#..", ".#####..", "........", "........"}));
    EXPECT_EQ(canvas.Count(kRed), 6);

    // Reversed corners give the same box; a null pen fills one pixel less each way.
    canvas.Clear(kWhite);
    SelectObject(canvas.dc(), GetStockObject(NULL_PEN));
    Rectangle(canvas.dc(), 6, 5, 1, 1);
    EXPECT_EQ(canvas.Mask(kRed),
              Rows({"........", ".####...", ".####...", ".####...", "........", "........", "........"}));
    SelectObject(canvas.dc(), oldBrush);
    DeleteObject(red);
}

TEST(GdiShapes, WidePenStaysInsideTheRectangle) {
    GdiCanvas canvas(8, 8);
    HPEN wide = CreatePen(PS_SOLID, 2, kBlack);
    SelectObject(canvas.dc(), wide);
    SelectObject(canvas.dc(), GetStockObject(NULL_BRUSH));
    Rectangle(canvas.dc(), 1, 1, 7, 7);
    EXPECT_EQ(canvas.Mask(kBlack),
              Rows({"........", ".######.", ".######.", ".##..##.", ".##..##.", ".######.", ".######.", "........"}));
    SelectObject(canvas.dc(), GetStockObject(BLACK_PEN));
    DeleteObject(wide);
}

TEST(GdiShapes, EllipseStaysInsideItsBoxAndTouchesEverySide) {
    const RECT boxes[] = {{1, 1, 9, 7}, {0, 0, 12, 12}, {2, 3, 5, 11}, {0, 0, 1, 1}, {3, 3, 5, 4}};
    for (const RECT& box : boxes) {
        GdiCanvas canvas(14, 14);
        SelectObject(canvas.dc(), GetStockObject(BLACK_BRUSH));
        Ellipse(canvas.dc(), box.left, box.top, box.right, box.bottom);
        RECT touched{100, 100, -1, -1};
        for (int y = 0; y < 14; ++y)
            for (int x = 0; x < 14; ++x)
                if (canvas.At(x, y) == kBlack) {
                    touched.left = std::min<LONG>(touched.left, x);
                    touched.top = std::min<LONG>(touched.top, y);
                    touched.right = std::max<LONG>(touched.right, x + 1);
                    touched.bottom = std::max<LONG>(touched.bottom, y + 1);
                }
        EXPECT_EQ(touched.left, box.left);
        EXPECT_EQ(touched.top, box.top);
        EXPECT_EQ(touched.right, box.right);
        EXPECT_EQ(touched.bottom, box.bottom);
    }
}

TEST(GdiShapes, EllipseIsSymmetricAndRoundRectCutsCorners) {
    GdiCanvas canvas(10, 10);
    SelectObject(canvas.dc(), GetStockObject(BLACK_BRUSH));
    Ellipse(canvas.dc(), 0, 0, 10, 10);
    const std::string mask = canvas.Mask(kBlack);
    EXPECT_EQ(mask, Rows({"...####...", ".########.", ".########.", "##########", "##########", "##########",
                          "##########", ".########.", ".########.", "...####..."}));
    canvas.Clear(kWhite);
    RoundRect(canvas.dc(), 0, 0, 10, 6, 4, 4);
    EXPECT_EQ(canvas.Mask(kBlack), Rows({".########.", "##########", "##########", "##########", "##########",
                                         ".########.", "..........", "..........", "..........", ".........."}));
}

TEST(GdiShapes, PolygonFillModes) {
    // A five-pointed star drawn in one stroke: its centre is outside by ALTERNATE, inside by WINDING.
    const POINT star[] = {{10, 0}, {16, 19}, {0, 7}, {20, 7}, {4, 19}};
    for (int mode : {ALTERNATE, WINDING}) {
        GdiCanvas canvas(21, 21);
        SelectObject(canvas.dc(), GetStockObject(NULL_PEN));
        SelectObject(canvas.dc(), GetStockObject(BLACK_BRUSH));
        SetPolyFillMode(canvas.dc(), mode);
        Polygon(canvas.dc(), star, 5);
        EXPECT_EQ(canvas.At(10, 11), mode == WINDING ? kBlack : kWhite) << mode;
        EXPECT_EQ(canvas.At(10, 2), kBlack) << mode;  // a point of the star
        EXPECT_EQ(canvas.At(1, 17), kWhite) << mode;  // outside
    }
}

TEST(GdiShapes, PolygonMatchesRectangleForASquare) {
    GdiCanvas polygon(8, 8), rectangle(8, 8);
    const POINT square[] = {{1, 1}, {6, 1}, {6, 6}, {1, 6}};
    SelectObject(polygon.dc(), GetStockObject(NULL_PEN));
    SelectObject(polygon.dc(), GetStockObject(BLACK_BRUSH));
    Polygon(polygon.dc(), square, 4);
    SelectObject(rectangle.dc(), GetStockObject(NULL_PEN));
    SelectObject(rectangle.dc(), GetStockObject(BLACK_BRUSH));
    Rectangle(rectangle.dc(), 1, 1, 7, 7);
    EXPECT_EQ(polygon.Mask(kBlack), rectangle.Mask(kBlack));
}

TEST(GdiShapes, ArcsRunCounterClockwiseFromStartToEnd) {
    // Start on the right, end at the top: the upper-right quarter only.
    GdiCanvas canvas(21, 21);
    Arc(canvas.dc(), 0, 0, 21, 21, 20, 10, 10, 0);
    int upperRight = 0, elsewhere = 0;
    for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 21; ++x)
            if (canvas.At(x, y) == kBlack) (x >= 10 && y <= 10 ? upperRight : elsewhere)++;
    EXPECT_GT(upperRight, 10);
    EXPECT_LE(elsewhere, 2);

    // Swapped radials: the other three quarters.
    canvas.Clear(kWhite);
    Arc(canvas.dc(), 0, 0, 21, 21, 10, 0, 20, 10);
    EXPECT_EQ(canvas.At(0, 10), kBlack);
    EXPECT_EQ(canvas.At(10, 20), kBlack);
    EXPECT_EQ(canvas.At(17, 3), kWhite);
}

TEST(GdiShapes, PieAndChordFillTheirSide) {
    GdiCanvas canvas(21, 21);
    SelectObject(canvas.dc(), GetStockObject(BLACK_BRUSH));
    SelectObject(canvas.dc(), GetStockObject(NULL_PEN));
    Pie(canvas.dc(), 0, 0, 21, 21, 20, 10, 10, 0);  // upper-right quarter
    EXPECT_EQ(canvas.At(14, 6), kBlack);
    EXPECT_EQ(canvas.At(6, 6), kWhite);
    EXPECT_EQ(canvas.At(14, 14), kWhite);
    canvas.Clear(kWhite);
    Chord(canvas.dc(), 0, 0, 21, 21, 20, 10, 10, 0);
    EXPECT_EQ(canvas.At(16, 4), kBlack);  // in the cap beyond the chord
    EXPECT_EQ(canvas.At(12, 8), kWhite);  // inside the pie but not the cap
}

TEST(GdiShapes, ScriptArcStartsAndEndsWhereTheAnglesSay) {
    // Centre (100, 100), radii 50, angles 0 and pi/2 in screen terms: from (100, 150) to (150, 100).
    GdiCanvas canvas(201, 201);
    Arc(canvas.dc(), 50, 50, 151, 151, 100, 150, 150, 100);
    EXPECT_EQ(canvas.At(100, 150), kBlack);
    EXPECT_EQ(canvas.At(150, 100), kBlack);
    // Only the lower-right quarter: clockwise on screen from bottom to right.
    int lowerRight = 0, elsewhere = 0;
    const std::vector<COLORREF> pixels = canvas.Pixels();
    for (int y = 0; y < 201; ++y)
        for (int x = 0; x < 201; ++x)
            if (pixels[static_cast<size_t>(y * 201 + x)] == kBlack) (x >= 100 && y >= 100 ? lowerRight : elsewhere)++;
    EXPECT_GT(lowerRight, 60);
    EXPECT_EQ(elsewhere, 0);
}

TEST(GdiShapes, DrawingTwiceWithR2NotRestoresTheSurface) {
    const std::function<void(HDC)> figures[] = {
        [](HDC dc) {
            MoveToEx(dc, 1, 2, nullptr);
            LineTo(dc, 28, 17);
        },
        [](HDC dc) {
            const POINT p[] = {{1, 1}, {20, 3}, {5, 18}, {25, 25}, {1, 1}};
            Polyline(dc, p, 5);
        },
        [](HDC dc) {
            const POINT p[] = {{3, 1}, {28, 8}, {2, 27}, {20, 20}};
            Polygon(dc, p, 4);
        },
        [](HDC dc) { Rectangle(dc, 2, 3, 27, 20); },
        [](HDC dc) { Ellipse(dc, 1, 1, 29, 23); },
        [](HDC dc) { RoundRect(dc, 1, 1, 29, 23, 9, 7); },
        [](HDC dc) { Arc(dc, 1, 1, 29, 29, 29, 15, 0, 0); },
        [](HDC dc) { Pie(dc, 1, 1, 29, 29, 29, 15, 15, 0); },
        [](HDC dc) { Chord(dc, 1, 1, 29, 29, 0, 29, 29, 0); },
    };
    const int penStyles[][2] = {{PS_SOLID, 1}, {PS_DOT, 1}, {PS_SOLID, 3}};
    for (const auto& pen : penStyles) {
        for (size_t i = 0; i < sizeof(figures) / sizeof(figures[0]); ++i) {
            GdiCanvas canvas(30, 30);
            for (int y = 0; y < 30; ++y)
                for (int x = 0; x < 30; ++x) SetPixel(canvas.dc(), x, y, RGB(x * 8, y * 8, (x ^ y) * 8));
            const std::vector<COLORREF> before = canvas.Pixels();
            HPEN penHandle = CreatePen(pen[0], pen[1], kRed);
            SelectObject(canvas.dc(), penHandle);
            SetROP2(canvas.dc(), R2_NOT);
            figures[i](canvas.dc());
            EXPECT_NE(canvas.Pixels(), before) << "figure " << i;
            figures[i](canvas.dc());
            EXPECT_EQ(canvas.Pixels(), before) << "figure " << i << " pen " << pen[0] << "/" << pen[1];
            SelectObject(canvas.dc(), GetStockObject(BLACK_PEN));
            DeleteObject(penHandle);
        }
    }
}

TEST(GdiShapes, DottedPenFillsGapsOnlyWhenOpaque) {
    GdiCanvas canvas(12, 3);
    HPEN dotted = CreatePen(PS_DOT, 1, kBlack);
    SelectObject(canvas.dc(), dotted);
    SetBkColor(canvas.dc(), kRed);
    SetBkMode(canvas.dc(), TRANSPARENT);
    MoveToEx(canvas.dc(), 0, 1, nullptr);
    LineTo(canvas.dc(), 12, 1);
    EXPECT_EQ(canvas.Mask(kBlack), Rows({"............", "###...###...", "............"}));
    EXPECT_EQ(canvas.Count(kRed), 0);
    SetBkMode(canvas.dc(), OPAQUE);
    MoveToEx(canvas.dc(), 0, 1, nullptr);
    LineTo(canvas.dc(), 12, 1);
    EXPECT_EQ(canvas.Mask(kRed), Rows({"............", "...###...###", "............"}));
    SelectObject(canvas.dc(), GetStockObject(BLACK_PEN));
    DeleteObject(dotted);
}

TEST(GdiShapes, HatchBrushGapsFollowTheBackgroundMode) {
    GdiCanvas canvas(8, 8);
    HBRUSH hatch = CreateHatchBrush(HS_CROSS, kBlack);
    SelectObject(canvas.dc(), hatch);
    SelectObject(canvas.dc(), GetStockObject(NULL_PEN));
    SetBkColor(canvas.dc(), kRed);
    SetBkMode(canvas.dc(), TRANSPARENT);
    Rectangle(canvas.dc(), 0, 0, 9, 9);
    EXPECT_EQ(canvas.Count(kBlack), 15);
    EXPECT_EQ(canvas.Count(kRed), 0);
    SetBkMode(canvas.dc(), OPAQUE);
    Rectangle(canvas.dc(), 0, 0, 9, 9);
    EXPECT_EQ(canvas.Count(kBlack), 15);
    EXPECT_EQ(canvas.Count(kRed), 49);
    SelectObject(canvas.dc(), GetStockObject(WHITE_BRUSH));
    DeleteObject(hatch);
}

TEST(GdiShapes, PatternBrushTilesFromTheBrushOrigin) {
    GdiCanvas canvas(6, 2);
    const uint32_t tile[2] = {0x00FF0000, 0x000000FF};  // red, blue as 32-bit pixels
    HBITMAP bitmap = CreateBitmap(2, 1, 1, 32, tile);
    HBRUSH brush = CreatePatternBrush(bitmap);
    RECT all{0, 0, 6, 2};
    FillRect(canvas.dc(), &all, brush);
    EXPECT_EQ(canvas.Mask(kRed), Rows({"#.#.#.", "#.#.#."}));
    DeleteObject(brush);
    DeleteObject(bitmap);
}

TEST(GdiShapes, FrameRectInvertRectAndPixels) {
    GdiCanvas canvas(6, 5);
    RECT box{1, 1, 5, 4};
    FrameRect(canvas.dc(), &box, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(canvas.Mask(kBlack), Rows({"......", ".####.", ".#..#.", ".####.", "......"}));
    InvertRect(canvas.dc(), &box);
    EXPECT_EQ(canvas.Mask(kBlack), Rows({"......", "......", "..##..", "......", "......"}));
    EXPECT_EQ(SetPixel(canvas.dc(), 0, 0, RGB(1, 2, 3)), RGB(1, 2, 3));
    EXPECT_EQ(GetPixel(canvas.dc(), 0, 0), RGB(1, 2, 3));
    EXPECT_EQ(GetPixel(canvas.dc(), 6, 0), CLR_INVALID);
    EXPECT_EQ(SetPixel(canvas.dc(), -1, 0, kBlack), CLR_INVALID);
}

TEST(GdiShapes, XorPenTwiceRestores) {
    GdiCanvas canvas(10, 10, RGB(10, 200, 30));
    const std::vector<COLORREF> before = canvas.Pixels();
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(0x55, 0xAA, 0x0F));
    SelectObject(canvas.dc(), pen);
    SetROP2(canvas.dc(), R2_XORPEN);
    EXPECT_EQ(GetROP2(canvas.dc()), R2_XORPEN);
    Ellipse(canvas.dc(), 0, 0, 10, 10);
    EXPECT_EQ(canvas.At(5, 0), RGB(10 ^ 0x55, 200 ^ 0xAA, 30 ^ 0x0F));
    Ellipse(canvas.dc(), 0, 0, 10, 10);
    EXPECT_EQ(canvas.Pixels(), before);
    SelectObject(canvas.dc(), GetStockObject(BLACK_PEN));
    DeleteObject(pen);
}

TEST(GdiShapes, ViewportOriginMovesDrawing) {
    GdiCanvas canvas(6, 6);
    SetViewportOrgEx(canvas.dc(), 2, 1, nullptr);
    SetWindowOrgEx(canvas.dc(), 1, 0, nullptr);
    SetPixel(canvas.dc(), 0, 0, kBlack);
    EXPECT_EQ(canvas.At(1, 1), kBlack);
    POINT point{0, 0};
    LPtoDP(canvas.dc(), &point, 1);
    EXPECT_EQ(point.x, 1);
    EXPECT_EQ(point.y, 1);
}

TEST(GdiShapes, FarOffCoordinatesAreCutBeforeRasterising) {
    const int big = 1 << 29;
    GdiCanvas canvas(16, 16);
    SelectObject(canvas.dc(), GetStockObject(BLACK_BRUSH));
    EXPECT_TRUE(Ellipse(canvas.dc(), -big, -big, big, big));
    EXPECT_EQ(canvas.Count(kBlack), 256);  // the middle of a huge disc
    canvas.Clear(kWhite);
    const POINT triangle[] = {{-big, -big}, {big, -big}, {0, big}};
    EXPECT_TRUE(Polygon(canvas.dc(), triangle, 3));
    EXPECT_EQ(canvas.Count(kBlack), 256);
    canvas.Clear(kWhite);
    MoveToEx(canvas.dc(), -big, 5, nullptr);
    EXPECT_TRUE(LineTo(canvas.dc(), big, 5));
    EXPECT_EQ(canvas.Count(kBlack), 16);
    EXPECT_TRUE(Pie(canvas.dc(), -big, -big, big, big, 0, 0, 5, 5));
    HRGN region = CreateEllipticRgn(-big, -big, big, big);
    EXPECT_TRUE(PtInRegion(region, 0, 0));
    DeleteObject(region);
}

// Points at the ends of the LONG range, also ones the origins carry past
// them: the figures are cut to the surface without overflow.
TEST(GdiShapes, PolygonsAndPolylinesOfExtremePointsDrawTheirNearPart) {
    const LONG kMin = std::numeric_limits<LONG>::min(), kMax = std::numeric_limits<LONG>::max();
    for (const POINT origin : {POINT{0, 0}, POINT{3, 2}, POINT{-3, -2}}) {
        SCOPED_TRACE(std::to_string(origin.x) + "," + std::to_string(origin.y));
        GdiCanvas canvas(16, 16);
        SetViewportOrgEx(canvas.dc(), origin.x, origin.y, nullptr);
        SelectObject(canvas.dc(), GetStockObject(BLACK_BRUSH));
        const POINT corners[] = {{kMin, kMin}, {kMax, kMin}, {kMax, kMax}, {kMin, kMax}};
        EXPECT_TRUE(Polygon(canvas.dc(), corners, 4));
        EXPECT_EQ(canvas.Count(kBlack), 256);
        canvas.Clear(kWhite);
        const POINT row[] = {{kMin, 5}, {kMax, 5}, {kMax, kMin}};
        EXPECT_TRUE(Polyline(canvas.dc(), row, 3));
        EXPECT_EQ(canvas.Count(kBlack), 16);
        EXPECT_EQ(canvas.At(0, 5 + origin.y), kBlack);
        canvas.Clear(kWhite);
        // A wide pen along a line from a far corner to the surface.
        HPEN wide = CreatePen(PS_SOLID, 3, kRed);
        HGDIOBJ old = SelectObject(canvas.dc(), wide);
        const POINT ray[] = {{kMin, kMin}, {8, 8}};
        EXPECT_TRUE(Polyline(canvas.dc(), ray, 2));
        EXPECT_TRUE(Polygon(canvas.dc(), ray, 2));
        EXPECT_EQ(canvas.At(4 + origin.x, 4 + origin.y), kRed);
        SelectObject(canvas.dc(), old);
        DeleteObject(wide);
    }
}

// Thin solid lines on a rectangular clip are painted straight onto the
// surface (horizontal and vertical ones as spans) and lines outside the clip
// are passed over: inside the clip the pixels equal those drawn through a
// clip of another shape (which builds the stroke's region), and nothing
// outside it is touched. Wide pens just outside the clip still reach in.
TEST(GdiShapes, ClippedLinesPaintTheSamePixelsInsideTheClip) {
    const RECT clip{10, 8, 50, 40};
    for (int rop2 : {R2_COPYPEN, R2_XORPEN}) {
        GdiCanvas reference(60, 50), clipped(60, 50);
        // All but the corner pixel: a clip region of two bands.
        HRGN all = CreateRectRgn(0, 0, 60, 50);
        HRGN corner = CreateRectRgn(0, 0, 1, 1);
        CombineRgn(all, all, corner, RGN_DIFF);
        SelectClipRgn(reference.dc(), all);
        HRGN box = CreateRectRgn(clip.left, clip.top, clip.right, clip.bottom);
        SelectClipRgn(clipped.dc(), box);
        for (GdiCanvas* canvas : {&reference, &clipped}) {
            SetROP2(canvas->dc(), rop2);
            for (int i = 0; i < 40; ++i) {
                HPEN pen = CreatePen(PS_SOLID, 1, RGB(i * 6, 255 - i * 5, 128));
                HGDIOBJ old = SelectObject(canvas->dc(), pen);
                // A fan through the clip, lines beside it and lines far beyond the canvas.
                MoveToEx(canvas->dc(), 30, 24, nullptr);
                LineTo(canvas->dc(), 30 + (i - 20) * 3, i % 2 ? -40 : 90);
                MoveToEx(canvas->dc(), i, 2, nullptr);
                LineTo(canvas->dc(), i + 7, 6);
                MoveToEx(canvas->dc(), -5000 + i, 20 + i / 4, nullptr);
                LineTo(canvas->dc(), 5000, 30 - i / 4);
                // Rules across the clip's edges, each way: rows 5..44, columns 8..47.
                const int near = 3 + i, far = 56 - i;
                MoveToEx(canvas->dc(), i % 2 ? near : far, 5 + i, nullptr);
                LineTo(canvas->dc(), i % 2 ? far : near, 5 + i);
                MoveToEx(canvas->dc(), 8 + i, i % 2 ? far : near, nullptr);
                LineTo(canvas->dc(), 8 + i, i % 2 ? near : far);
                SelectObject(canvas->dc(), old);
                DeleteObject(pen);
                // A wide pen along the outside of each edge.
                HPEN wide = CreatePen(PS_SOLID, 2 + i % 5, RGB(255 - i * 5, i * 6, 40));
                old = SelectObject(canvas->dc(), wide);
                const int gap = 1 + i % 4;
                const POINT ends[][2] = {{{0, clip.top - gap}, {59, clip.top - gap}},
                                         {{59, clip.bottom + gap - 1}, {0, clip.bottom + gap - 1}},
                                         {{clip.left - gap, 0}, {clip.left - gap, 49}},
                                         {{clip.right + gap - 1, 49}, {clip.right + gap - 1, 0}}};
                const POINT* edge = ends[i % 4];
                MoveToEx(canvas->dc(), edge[0].x, edge[0].y, nullptr);
                LineTo(canvas->dc(), edge[1].x, edge[1].y);
                SelectObject(canvas->dc(), old);
                DeleteObject(wide);
            }
        }
        const std::vector<COLORREF> expected = reference.Pixels(), seen = clipped.Pixels();
        for (int y = 0; y < 50; ++y)
            for (int x = 0; x < 60; ++x) {
                const bool inside = x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom;
                const size_t at = static_cast<size_t>(y * 60 + x);
                EXPECT_EQ(seen[at], inside ? expected[at] : kWhite) << "rop " << rop2 << " at " << x << ", " << y;
            }
        DeleteObject(all);
        DeleteObject(corner);
        DeleteObject(box);
    }
}

TEST(GdiShapes, DottedEllipseAlternatesPenAndGaps) {
    GdiCanvas solid(24, 24), dotted(24, 24);
    SelectObject(solid.dc(), GetStockObject(NULL_BRUSH));
    Ellipse(solid.dc(), 0, 0, 24, 24);
    HPEN pen = CreatePen(PS_DOT, 1, kBlack);
    SelectObject(dotted.dc(), pen);
    SelectObject(dotted.dc(), GetStockObject(NULL_BRUSH));
    SetBkColor(dotted.dc(), kRed);
    Ellipse(dotted.dc(), 0, 0, 24, 24);
    const int ring = solid.Count(kBlack);
    // Dots of three pixels and gaps of three: about half the ring each.
    EXPECT_NEAR(dotted.Count(kBlack), ring / 2, 3);
    EXPECT_EQ(dotted.Count(kBlack) + dotted.Count(kRed), ring);
    SelectObject(dotted.dc(), GetStockObject(BLACK_PEN));
    DeleteObject(pen);
}

}  // namespace
