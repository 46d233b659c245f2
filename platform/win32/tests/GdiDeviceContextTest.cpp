// Device contexts: stock objects, selection, saved states, capabilities,
// logical fonts, the call trace, handles and DCs on several threads.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

#include "GdiCanvas.h"

namespace {

TEST(GdiDeviceContext, NewMemoryDcDefaults) {
    HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), GetStockObject(BLACK_PEN));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), GetStockObject(SYSTEM_FONT));
    EXPECT_EQ(GetBkColor(dc), RGB(255, 255, 255));
    EXPECT_EQ(GetBkMode(dc), OPAQUE);
    EXPECT_EQ(GetROP2(dc), R2_COPYPEN);
    EXPECT_EQ(GetMapMode(dc), MM_TEXT);
    BITMAP record{};
    GetObject(GetCurrentObject(dc, OBJ_BITMAP), sizeof record, &record);
    EXPECT_EQ(record.bmWidth, 1);
    EXPECT_EQ(record.bmBitsPixel, 1);
    EXPECT_EQ(GetObjectType(dc), static_cast<DWORD>(OBJ_MEMDC));
    EXPECT_TRUE(DeleteDC(dc));
    EXPECT_FALSE(DeleteDC(dc));
    EXPECT_EQ(SetBkColor(dc, 0), CLR_INVALID);
}

TEST(GdiDeviceContext, StockFontsAndLogicalFonts) {
    LOGFONTA font{};
    ASSERT_EQ(GetObject(GetStockObject(SYSTEM_FONT), sizeof font, &font), static_cast<int>(sizeof font));
    EXPECT_EQ(font.lfHeight, 16);
    EXPECT_EQ(font.lfWeight, FW_BOLD);
    EXPECT_STREQ(font.lfFaceName, "System");
    GetObject(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    EXPECT_EQ(font.lfHeight, -11);
    EXPECT_STREQ(font.lfFaceName, "MS Sans Serif");

    HFONT arial = CreateFontA(12, 0, 900, 900, 400, 1, 0, 0, 0, 0, 0, 0, 0, "Arial");
    GetObject(arial, sizeof font, &font);
    EXPECT_EQ(font.lfEscapement, 900);
    EXPECT_EQ(font.lfItalic, 1);
    EXPECT_STREQ(font.lfFaceName, "Arial");
    EXPECT_EQ(GetObjectType(arial), static_cast<DWORD>(OBJ_FONT));
    EXPECT_TRUE(DeleteObject(arial));
    EXPECT_EQ(GetObject(arial, sizeof font, &font), 0);
    EXPECT_TRUE(DeleteObject(GetStockObject(SYSTEM_FONT)));  // stock objects stay
    EXPECT_NE(GetObject(GetStockObject(SYSTEM_FONT), sizeof font, &font), 0);
}

TEST(GdiDeviceContext, PenAndBrushRecords) {
    HPEN pen = CreatePen(PS_DASH, 1, RGB(1, 2, 3));
    LOGPEN logPen{};
    EXPECT_EQ(GetObject(pen, sizeof logPen, &logPen), static_cast<int>(sizeof logPen));
    EXPECT_EQ(logPen.lopnStyle, static_cast<UINT>(PS_DASH));
    EXPECT_EQ(logPen.lopnColor, RGB(1, 2, 3));
    HBRUSH brush = CreateHatchBrush(HS_DIAGCROSS, RGB(4, 5, 6));
    LOGBRUSH logBrush{};
    GetObject(brush, sizeof logBrush, &logBrush);
    EXPECT_EQ(logBrush.lbStyle, static_cast<UINT>(BS_HATCHED));
    EXPECT_EQ(logBrush.lbHatch, static_cast<ULONG_PTR>(HS_DIAGCROSS));
    EXPECT_EQ(CreateHatchBrush(9, 0), nullptr);
    DeleteObject(pen);
    DeleteObject(brush);
}

TEST(GdiDeviceContext, DeletingASelectedPenWaitsForTheDc) {
    GdiCanvas canvas(4, 4);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    SelectObject(canvas.dc(), pen);
    EXPECT_TRUE(DeleteObject(pen));
    MoveToEx(canvas.dc(), 0, 0, nullptr);
    LineTo(canvas.dc(), 3, 0);
    EXPECT_EQ(canvas.At(1, 0), RGB(255, 0, 0));
    SelectObject(canvas.dc(), GetStockObject(BLACK_PEN));
}

// Slots of deleted DCs and objects are reused at once; their old handles must
// not reach the newcomers, and no made-up value may pass for a handle.
TEST(GdiDeviceContext, StaleAndMadeUpHandlesFindNothing) {
    HDC old = CreateCompatibleDC(nullptr);
    HPEN oldPen = CreatePen(PS_SOLID, 1, RGB(1, 1, 1));
    ASSERT_TRUE(DeleteDC(old));
    ASSERT_TRUE(DeleteObject(oldPen));
    HDC dc = CreateCompatibleDC(nullptr);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(2, 2, 2));
    EXPECT_NE(dc, old);
    EXPECT_NE(pen, oldPen);
    EXPECT_EQ(SelectObject(old, pen), nullptr);
    EXPECT_EQ(SelectObject(dc, oldPen), nullptr);
    EXPECT_FALSE(DeleteDC(old));
    EXPECT_FALSE(DeleteObject(oldPen));
    EXPECT_EQ(GetObjectType(old), 0u);
    EXPECT_EQ(GetObjectType(oldPen), 0u);
    EXPECT_EQ(GetObjectType(dc), static_cast<DWORD>(OBJ_MEMDC));
    EXPECT_EQ(GetObjectType(pen), static_cast<DWORD>(OBJ_PEN));

    int local = 0;
    const HDC madeUp[] = {reinterpret_cast<HDC>(&local), reinterpret_cast<HDC>(uintptr_t{1}),
                          reinterpret_cast<HDC>(pen), reinterpret_cast<HDC>(~uintptr_t{0})};
    for (HDC bad : madeUp) {
        EXPECT_FALSE(MoveToEx(bad, 1, 1, nullptr));
        EXPECT_EQ(SetBkColor(bad, 0), CLR_INVALID);
        EXPECT_FALSE(DeleteDC(bad));
    }
    LOGPEN record{};
    EXPECT_EQ(GetObject(reinterpret_cast<HGDIOBJ>(dc), sizeof record, &record), 0);
    EXPECT_EQ(GetObject(reinterpret_cast<HGDIOBJ>(&local), sizeof record, &record), 0);
    EXPECT_TRUE(DeleteObject(pen));
    EXPECT_TRUE(DeleteDC(dc));
}

// Worker threads make, draw on and delete DCs of their own all at once, with
// a pen shared by all of them that the main thread deletes while they still
// hold it: every thread sees its own pixels, and the pen is freed once, by
// whichever thread lets it go last (the sanitizer builds check both).
TEST(GdiDeviceContext, ThreadsDrawOnTheirOwnDcsAndShareObjects) {
    constexpr int kThreads = 4, kRounds = 200;
    HPEN shared = CreatePen(PS_SOLID, 1, RGB(0, 0, 255));
    std::atomic<int> holding{0};
    std::atomic<bool> deleted{false};
    std::vector<int> wrong(kThreads, 0);
    auto work = [&](int index) {
        GdiCanvas held(8, 8);
        SelectObject(held.dc(), shared);
        ++holding;
        for (int round = 0; round < kRounds; ++round) {
            GdiCanvas canvas(16, 16);
            HPEN own = CreatePen(PS_SOLID, 1, RGB(index, round % 256, 7));
            SelectObject(canvas.dc(), own);
            DeleteObject(own);  // freed when the DC lets it go
            MoveToEx(canvas.dc(), 0, index, nullptr);
            LineTo(canvas.dc(), 16, index);
            if (canvas.At(5, index) != RGB(index, round % 256, 7)) ++wrong[index];
            SelectObject(canvas.dc(), GetStockObject(BLACK_PEN));
        }
        while (!deleted) std::this_thread::yield();
        MoveToEx(held.dc(), 0, 0, nullptr);
        LineTo(held.dc(), 8, 0);
        if (held.At(3, 0) != RGB(0, 0, 255)) ++wrong[index];
        SelectObject(held.dc(), GetStockObject(BLACK_PEN));
    };
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i) threads.emplace_back(work, i);
    while (holding < kThreads) std::this_thread::yield();
    EXPECT_TRUE(DeleteObject(shared));
    deleted = true;
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(wrong, std::vector<int>(kThreads, 0));
    EXPECT_EQ(GetObjectType(shared), 0u);
}

TEST(GdiDeviceContext, SaveAndRestoreState) {
    GdiCanvas canvas(4, 4);
    HDC dc = canvas.dc();
    const int first = SaveDC(dc);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(9, 9, 9));
    SelectObject(dc, pen);
    SetViewportOrgEx(dc, 5, 6, nullptr);
    SetBkMode(dc, TRANSPARENT);
    EXPECT_EQ(SaveDC(dc), first + 1);
    SetROP2(dc, R2_NOT);
    EXPECT_TRUE(RestoreDC(dc, -1));
    EXPECT_EQ(GetROP2(dc), R2_COPYPEN);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), pen);
    EXPECT_TRUE(RestoreDC(dc, first));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), GetStockObject(BLACK_PEN));
    POINT origin;
    GetViewportOrgEx(dc, &origin);
    EXPECT_EQ(origin.x, 0);
    EXPECT_EQ(GetBkMode(dc), OPAQUE);
    EXPECT_FALSE(RestoreDC(dc, 1));
    EXPECT_TRUE(DeleteObject(pen));
}

TEST(GdiDeviceContext, CapabilitiesAndMulDiv) {
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSX), 96);
    EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSY), 96);
    EXPECT_EQ(GetDeviceCaps(screen, BITSPIXEL), 32);
    EXPECT_GT(GetDeviceCaps(screen, HORZRES), 0);
    EXPECT_GT(GetDeviceCaps(screen, VERTRES), 0);
    EXPECT_EQ(GetDeviceCaps(nullptr, LOGPIXELSX), 0);
    ReleaseDC(nullptr, screen);
    const int cases[][4] = {{10, 96, 72, 13}, {-10, 96, 72, -13},     {5, 3, 2, 8}, {-5, 3, 2, -8},
                            {7, 1, 0, -1},    {0x7FFFFFFF, 2, 1, -1}, {1, 1, 3, 0}};
    for (const auto& c : cases) EXPECT_EQ(MulDiv(c[0], c[1], c[2]), c[3]) << c[0] << "*" << c[1] << "/" << c[2];
}

TEST(GdiDeviceContext, ViewportExtentsAreStored) {
    GdiCanvas canvas(2, 2);
    SIZE old;
    EXPECT_TRUE(SetViewportExtEx(canvas.dc(), 30, 40, &old));
    SIZE now;
    GetViewportExtEx(canvas.dc(), &now);
    EXPECT_EQ(now.cx, 30);
    EXPECT_EQ(now.cy, 40);
    EXPECT_EQ(SetMapMode(canvas.dc(), 8), 0);  // only MM_TEXT
}

TEST(GdiDeviceContext, CallTraceRecordsEveryCallInOrder) {
    GdiCanvas canvas(20, 20);
    HDC dc = canvas.dc();
    EnableCallTrace(dc, true);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    SetBkMode(dc, TRANSPARENT);
    MoveToEx(dc, 1, 2, nullptr);
    LineTo(dc, 10, 12);
    const POINT points[] = {{1, 1}, {5, 5}};
    Polyline(dc, points, 2);
    Rectangle(dc, 1, 1, 6, 6);
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    Ellipse(dc, 0, 0, 10, 10);
    Arc(dc, 0, 0, 10, 10, 10, 5, 5, 0);
    SetBkColor(dc, RGB(0, 0, 255));
    HFONT font = CreateFontA(12, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
    SelectObject(dc, font);
    SelectObject(dc, oldPen);
    const std::vector<std::string> expected = {
        "SelectObject(Pen(PS_SOLID, 1, 0x000000FF))",
        "SetBkMode(1)",
        "MoveToEx(1, 2)",
        "LineTo(10, 12)",
        "Polyline([(1, 1), (5, 5)])",
        "Rectangle(1, 1, 6, 6)",
        "SelectObject(NULL_BRUSH)",
        "Ellipse(0, 0, 10, 10)",
        "Arc(0, 0, 10, 10, 10, 5, 5, 0)",
        "SetBkColor(0x00FF0000)",
        "SelectObject(Font(12, 0, 0, 0, 400, 0, 0, 0, 0, \"Arial\"))",
        "SelectObject(BLACK_PEN)",
    };
    EXPECT_EQ(GetCallTrace(dc), expected);
    EnableCallTrace(dc, false);
    LineTo(dc, 0, 0);
    EXPECT_EQ(GetCallTrace(dc).size(), expected.size());
    // Another DC is not traced.
    GdiCanvas other(2, 2);
    LineTo(other.dc(), 1, 1);
    EXPECT_TRUE(GetCallTrace(other.dc()).empty());
    SelectObject(dc, GetStockObject(SYSTEM_FONT));
    DeleteObject(font);
    DeleteObject(pen);
}

}  // namespace
