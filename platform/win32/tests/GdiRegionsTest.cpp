// Regions and clipping: set operations, polygon and elliptic regions, hit
// tests, clip regions in device coordinates and their restoration.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "GdiCanvas.h"

namespace {

const COLORREF kBlack = RGB(0, 0, 0);

struct CombineCase {
    int mode;
    int expectedComplexity;
    int expectedArea;
};

int Area(HRGN region) {
    int area = 0;
    for (int y = -5; y < 30; ++y)
        for (int x = -5; x < 30; ++x) area += PtInRegion(region, x, y) ? 1 : 0;
    return area;
}

TEST(GdiRegions, CombineModes) {
    const CombineCase cases[] = {
        {RGN_AND, SIMPLEREGION, 25},   {RGN_OR, COMPLEXREGION, 100 + 100 - 25}, {RGN_XOR, COMPLEXREGION, 150},
        {RGN_DIFF, COMPLEXREGION, 75}, {RGN_COPY, SIMPLEREGION, 100},
    };
    for (const CombineCase& c : cases) {
        HRGN a = CreateRectRgn(0, 0, 10, 10);
        HRGN b = CreateRectRgn(5, 5, 15, 15);
        HRGN result = CreateRectRgn(0, 0, 0, 0);
        EXPECT_EQ(CombineRgn(result, a, b, c.mode), c.expectedComplexity) << c.mode;
        EXPECT_EQ(Area(result), c.expectedArea) << c.mode;
        // The destination may be a source.
        EXPECT_EQ(CombineRgn(a, a, b, c.mode), c.expectedComplexity);
        EXPECT_TRUE(EqualRgn(a, result));
        DeleteObject(a);
        DeleteObject(b);
        DeleteObject(result);
    }
}

TEST(GdiRegions, EmptyResultsAndBoxes) {
    HRGN a = CreateRectRgn(0, 0, 4, 4);
    HRGN b = CreateRectRgn(10, 10, 12, 12);
    EXPECT_EQ(CombineRgn(a, a, b, RGN_AND), NULLREGION);
    RECT box{1, 1, 1, 1};
    EXPECT_EQ(GetRgnBox(a, &box), NULLREGION);
    EXPECT_TRUE(box.left == 0 && box.right == 0);
    EXPECT_EQ(GetRgnBox(b, &box), SIMPLEREGION);
    EXPECT_EQ(box.left, 10);
    EXPECT_EQ(box.bottom, 12);
    EXPECT_EQ(OffsetRgn(b, -10, 5), SIMPLEREGION);
    EXPECT_TRUE(PtInRegion(b, 0, 15));
    EXPECT_FALSE(PtInRegion(b, 2, 15));  // right edge is outside
    RECT probe{1, 16, 5, 20};
    EXPECT_TRUE(RectInRegion(b, &probe));
    probe = RECT{2, 0, 5, 20};
    EXPECT_FALSE(RectInRegion(b, &probe));
    EXPECT_EQ(CombineRgn(nullptr, a, b, RGN_OR), ERROR);
    DeleteObject(a);
    DeleteObject(b);
}

TEST(GdiRegions, PolygonRegionsByFillMode) {
    const POINT star[] = {{10, 0}, {16, 19}, {0, 7}, {20, 7}, {4, 19}};
    HRGN alternate = CreatePolygonRgn(star, 5, ALTERNATE);
    HRGN winding = CreatePolygonRgn(star, 5, WINDING);
    EXPECT_FALSE(PtInRegion(alternate, 10, 11));
    EXPECT_TRUE(PtInRegion(winding, 10, 11));
    EXPECT_TRUE(PtInRegion(alternate, 10, 3));
    EXPECT_FALSE(PtInRegion(winding, 1, 17));
    // A triangle: its hit test follows pixel centres.
    const POINT triangle[] = {{0, 0}, {10, 0}, {0, 10}};
    HRGN region = CreatePolygonRgn(triangle, 3, WINDING);
    EXPECT_TRUE(PtInRegion(region, 0, 0));
    EXPECT_TRUE(PtInRegion(region, 4, 4));
    EXPECT_FALSE(PtInRegion(region, 5, 5));
    EXPECT_FALSE(PtInRegion(region, 10, 0));
    HRGN tooFew = CreatePolygonRgn(triangle, 2, WINDING);
    RECT box;
    EXPECT_EQ(GetRgnBox(tooFew, &box), NULLREGION);
    DeleteObject(tooFew);
    DeleteObject(region);
    DeleteObject(alternate);
    DeleteObject(winding);
}

// Corners anywhere in the LONG range: the region is built without overflow
// and holds what it should near the origin.
TEST(GdiRegions, PolygonRegionsOfFarPointsKeepTheirNearPart) {
    const LONG kMin = std::numeric_limits<LONG>::min(), kMax = std::numeric_limits<LONG>::max();
    struct Case {
        const char* what;
        std::vector<POINT> points;
        std::vector<POINT> inside, outside;
    } const cases[] = {
        {"an area of a picture with one far corner",
         {{43, 31}, {449, kMin}, {449, 49}, {45, 49}},
         {{44, 40}, {200, 40}, {448, 48}, {200, 10}, {440, -60000}},
         {{20, 40}, {449, 40}, {200, 49}, {42, 10}}},
        {"a triangle of the range's corners", {{kMin, kMin}, {kMax, kMin}, {0, kMax}}, {{0, 0}, {100, -100}, {-500, 500}}, {}},
        {"a band across the whole range", {{kMin, 0}, {kMax, 0}, {kMax, 10}, {kMin, 10}}, {{0, 5}, {-60000, 0}, {60000, 9}},
         {{0, 10}, {0, -1}}},
        {"a bow tie of the range's corners", {{kMin, kMin}, {kMax, kMax}, {kMax, kMin}, {kMin, kMax}},
         {{-100, 0}, {100, 5}, {-100, -99}}, {{0, 100}, {5, -100}}},
    };
    for (const Case& c : cases)
        for (int mode : {WINDING, ALTERNATE}) {
            SCOPED_TRACE(std::string(c.what) + (mode == WINDING ? ", winding" : ", alternate"));
            HRGN region = CreatePolygonRgn(c.points.data(), static_cast<int>(c.points.size()), mode);
            ASSERT_NE(region, nullptr);
            for (const POINT& p : c.inside) EXPECT_TRUE(PtInRegion(region, p.x, p.y)) << p.x << "," << p.y;
            for (const POINT& p : c.outside) EXPECT_FALSE(PtInRegion(region, p.x, p.y)) << p.x << "," << p.y;
            DeleteObject(region);
        }
}

TEST(GdiRegions, EllipticRegionMatchesEllipse) {
    HRGN region = CreateEllipticRgn(0, 0, 10, 8);
    GdiCanvas canvas(10, 8);
    SelectObject(canvas.dc(), GetStockObject(BLACK_BRUSH));
    Ellipse(canvas.dc(), 0, 0, 10, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 10; ++x)
            EXPECT_EQ(PtInRegion(region, x, y) != 0, canvas.At(x, y) == kBlack) << x << "," << y;
    DeleteObject(region);
}

TEST(GdiRegions, ClippingToPolygonAndRectangleDrawsOnlyInsideBothAndComesBack) {
    GdiCanvas canvas(20, 20);
    const POINT triangle[] = {{0, 0}, {20, 0}, {0, 20}};
    HRGN polygon = CreatePolygonRgn(triangle, 3, WINDING);
    EXPECT_EQ(GetClipRgn(canvas.dc(), polygon), 0);
    SelectClipRgn(canvas.dc(), polygon);
    EXPECT_EQ(IntersectClipRect(canvas.dc(), 5, 0, 20, 10), COMPLEXREGION);
    SelectObject(canvas.dc(), GetStockObject(BLACK_BRUSH));
    Rectangle(canvas.dc(), 0, 0, 20, 20);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool inside = PtInRegion(polygon, x, y) && x >= 5 && y < 10;
            ASSERT_EQ(canvas.At(x, y) == kBlack, inside) << x << "," << y;
        }
    // The polygon alone comes back when selected again, and then no clip at all.
    SelectClipRgn(canvas.dc(), polygon);
    canvas.Clear(RGB(255, 255, 255));
    Rectangle(canvas.dc(), 0, 0, 20, 20);
    EXPECT_EQ(canvas.At(2, 2), kBlack);
    EXPECT_EQ(canvas.At(15, 15), RGB(255, 255, 255));
    SelectClipRgn(canvas.dc(), nullptr);
    EXPECT_EQ(GetClipRgn(canvas.dc(), polygon), 0);
    Rectangle(canvas.dc(), 0, 0, 20, 20);
    EXPECT_EQ(canvas.Count(kBlack), 400);
    DeleteObject(polygon);
}

TEST(GdiRegions, SaveAndRestoreBringBackTheOldClip) {
    GdiCanvas canvas(10, 10);
    IntersectClipRect(canvas.dc(), 0, 0, 5, 5);
    const int level = SaveDC(canvas.dc());
    ExcludeClipRect(canvas.dc(), 0, 0, 2, 2);
    IntersectClipRect(canvas.dc(), 1, 1, 3, 3);
    RECT box;
    EXPECT_EQ(GetClipBox(canvas.dc(), &box), COMPLEXREGION);
    EXPECT_TRUE(RestoreDC(canvas.dc(), level));
    EXPECT_EQ(GetClipBox(canvas.dc(), &box), SIMPLEREGION);
    EXPECT_EQ(box.right, 5);
    EXPECT_EQ(box.bottom, 5);
    EXPECT_FALSE(RestoreDC(canvas.dc(), level));
}

TEST(GdiRegions, ClipRegionsAreInDeviceCoordinatesWhateverTheOrigin) {
    GdiCanvas canvas(10, 10);
    SetViewportOrgEx(canvas.dc(), 3, 3, nullptr);
    HRGN clip = CreateRectRgn(0, 0, 5, 5);
    SelectClipRgn(canvas.dc(), clip);
    SelectObject(canvas.dc(), GetStockObject(BLACK_BRUSH));
    SelectObject(canvas.dc(), GetStockObject(NULL_PEN));
    Rectangle(canvas.dc(), -3, -3, 10, 10);  // device (0,0)-(13,13)
    EXPECT_EQ(canvas.Count(kBlack), 25);
    EXPECT_EQ(canvas.At(4, 4), kBlack);
    EXPECT_EQ(canvas.At(5, 5), RGB(255, 255, 255));
    // IntersectClipRect takes logical coordinates.
    IntersectClipRect(canvas.dc(), 0, 0, 10, 10);  // device (3,3)-(13,13)
    RECT box;
    GetClipBox(canvas.dc(), &box);  // logical again
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.right, 2);
    EXPECT_TRUE(PtVisible(canvas.dc(), 1, 1));
    EXPECT_FALSE(PtVisible(canvas.dc(), 2, 2));
    DeleteObject(clip);
}

TEST(GdiRegions, FillFrameAndInvertRegions) {
    GdiCanvas canvas(6, 6);
    HRGN region = CreateRectRgn(1, 1, 5, 5);
    FrameRgn(canvas.dc(), region, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)), 1, 1);
    EXPECT_EQ(canvas.Mask(kBlack), Rows({"......", ".####.", ".#..#.", ".#..#.", ".####.", "......"}));
    InvertRgn(canvas.dc(), region);
    EXPECT_EQ(canvas.Mask(kBlack), Rows({"......", "......", "..##..", "..##..", "......", "......"}));
    FillRgn(canvas.dc(), region, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(canvas.Count(kBlack), 16);
    DeleteObject(region);
}

}  // namespace
