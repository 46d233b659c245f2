// Text output and measurement on a memory DC: extents against drawn advances,
// code-page widths, alignment, rotation, opaque and clipped output, DrawTextA,
// the enumeration of the font families.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "Gdi.h"
#include "Text.h"

namespace {

const int kWidth = 400;
const int kHeight = 300;
const uint32_t kWhite = 0x00FFFFFF;
// "Árvíztűrő tükörfúrógép" in the Central European code page.
const char kHungarian[] = "\xC1rv\xEDzt\xFBr\xF5 t\xFCk\xF6rf\xFAr\xF3g\xE9p";

struct Ink {
    LONG left = kWidth, top = kHeight, right = 0, bottom = 0;
    bool Empty() const { return right <= left; }
};

class TextTest : public ::testing::Test {
protected:
    void SetUp() override {
        dc_ = CreateCompatibleDC(nullptr);
        ASSERT_NE(dc_, nullptr);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = kWidth;
        info.bmiHeader.biHeight = -kHeight;  // top-down
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        ASSERT_NE(bitmap_, nullptr);
        pixels_ = static_cast<uint32_t*>(bits);
        oldBitmap_ = SelectObject(dc_, bitmap_);
        oldFont_ = GetCurrentObject(dc_, OBJ_FONT);
        Clear();
        SetBkMode(dc_, TRANSPARENT);
    }

    void TearDown() override {
        SelectObject(dc_, oldFont_);
        for (HFONT font : fonts_) DeleteObject(font);
        SelectObject(dc_, oldBitmap_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }

    void Clear() { std::fill(pixels_, pixels_ + kWidth * kHeight, kWhite); }
    uint32_t Pixel(int x, int y) const { return pixels_[y * kWidth + x]; }
    std::vector<uint32_t> Snapshot() const { return std::vector<uint32_t>(pixels_, pixels_ + kWidth * kHeight); }

    // Creates and selects a font that the fixture deletes at the end.
    HFONT UseFont(int height, const char* face, int weight = FW_NORMAL, int escapement = 0, DWORD italic = 0,
                  DWORD underline = 0, DWORD strikeOut = 0) {
        HFONT font = CreateFontA(height, 0, escapement, escapement, weight, italic, underline, strikeOut, 0, 0, 0, 0, 0,
                                 face);
        fonts_.push_back(font);
        SelectObject(dc_, font);
        return font;
    }

    // Bounding box of the pixels that are not white (or, with `only`, of that colour).
    Ink InkBox(bool matchColour = false, uint32_t only = 0) const {
        Ink ink;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                uint32_t pixel = Pixel(x, y);
                if (matchColour ? pixel != only : pixel == kWhite) continue;
                ink.left = std::min<LONG>(ink.left, x);
                ink.right = std::max<LONG>(ink.right, x + 1);
                ink.top = std::min<LONG>(ink.top, y);
                ink.bottom = std::max<LONG>(ink.bottom, y + 1);
            }
        }
        return ink;
    }

    SIZE Extent(const char* text) {
        SIZE size{-1, -1};
        EXPECT_TRUE(GetTextExtentPoint32A(dc_, text, int(std::strlen(text)), &size));
        return size;
    }

    TEXTMETRICA Metrics() {
        TEXTMETRICA metrics{};
        EXPECT_TRUE(GetTextMetricsA(dc_, &metrics));
        return metrics;
    }

    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ oldBitmap_ = nullptr;
    HGDIOBJ oldFont_ = nullptr;
    uint32_t* pixels_ = nullptr;
    std::vector<HFONT> fonts_;
};

TEST_F(TextTest, ExtentIsTheAdvanceTextOutUses) {
    UseFont(-MulDiv(10, GetDeviceCaps(dc_, LOGPIXELSY), 72), "Arial");
    SIZE hello = Extent("Hello");
    EXPECT_GT(hello.cx, 20);
    EXPECT_EQ(hello.cy, Metrics().tmHeight);

    // The current position moves by exactly the extent.
    SetTextAlign(dc_, TA_UPDATECP);
    MoveToEx(dc_, 10, 20, nullptr);
    ASSERT_TRUE(TextOutA(dc_, 0, 0, "Hello", 5));
    POINT position{};
    GetCurrentPositionEx(dc_, &position);
    EXPECT_EQ(position.x, 10 + hello.cx);
    EXPECT_EQ(position.y, 20);

    // Two halves drawn one extent apart give the very pixels of the whole.
    SetTextAlign(dc_, TA_LEFT | TA_TOP);
    Clear();
    TextOutA(dc_, 10, 50, "HelloHello", 10);
    std::vector<uint32_t> whole = Snapshot();
    Clear();
    TextOutA(dc_, 10, 50, "Hello", 5);
    TextOutA(dc_, 10 + hello.cx, 50, "Hello", 5);
    EXPECT_TRUE(Snapshot() == whole);
    Ink ink = InkBox();
    EXPECT_GE(ink.left, 10);
    EXPECT_LE(ink.right, 10 + 2 * hello.cx + 1);

    // So does a run far longer than the glyphs looked up at a time.
    const std::string run = std::string(150, 'i') + "Wl\xF5";
    const std::string head = run.substr(0, 97), tail = run.substr(97);
    Clear();
    EXPECT_EQ(win32::TextOutMeasured(dc_, 5, 80, run.data(), int(run.size())), Extent(run.c_str()).cx);
    whole = Snapshot();
    Clear();
    EXPECT_EQ(win32::TextOutMeasured(dc_, 5, 80, head.data(), int(head.size())), Extent(head.c_str()).cx);
    TextOutA(dc_, 5 + Extent(head.c_str()).cx, 80, tail.data(), int(tail.size()));
    EXPECT_TRUE(Snapshot() == whole);
    EXPECT_EQ(win32::TextOutMeasured(dc_, 5, 80, nullptr, 3), -1);
    EXPECT_EQ(win32::TextOutMeasured(nullptr, 5, 80, "a", 1), -1);
}

TEST_F(TextTest, CodePageWidthsAreTheSumOfCharacterWidths) {
    struct Case {
        int height;
        const char* face;
        int weight;
    };
    const Case cases[] = {{-13, "Arial", FW_NORMAL}, {-16, "Times New Roman", FW_BOLD}, {12, "Courier New", FW_NORMAL},
                          {-11, "MS Sans Serif", FW_NORMAL}};
    for (const Case& c : cases) {
        UseFont(c.height, c.face, c.weight);
        INT widths[256];
        ASSERT_TRUE(GetCharWidthA(dc_, 0, 255, widths));
        LONG sum = 0;
        for (const char* p = kHungarian; *p; ++p) {
            EXPECT_GT(widths[static_cast<unsigned char>(*p)], 0);
            sum += widths[static_cast<unsigned char>(*p)];
        }
        EXPECT_EQ(Extent(kHungarian).cx, sum) << c.face;
        INT single = 0;
        ASSERT_TRUE(GetCharWidthA(dc_, 0xFB, 0xFB, &single));  // u double acute
        EXPECT_EQ(single, widths[0xFB]);
    }
    INT widths[2];
    EXPECT_FALSE(GetCharWidthA(dc_, 10, 9, widths));
    EXPECT_FALSE(GetCharWidthA(dc_, 255, 256, widths));
}

TEST_F(TextTest, MetricsFollowTheLogicalFont) {
    UseFont(-11, "MS Sans Serif");
    TEXTMETRICA sans = Metrics();
    EXPECT_EQ(sans.tmHeight, 13);
    EXPECT_EQ(sans.tmHeight, sans.tmAscent + sans.tmDescent);
    EXPECT_EQ(sans.tmHeight - sans.tmInternalLeading, 11);
    EXPECT_EQ(sans.tmWeight, FW_NORMAL);
    EXPECT_TRUE(sans.tmPitchAndFamily & TMPF_FIXED_PITCH);  // set means variable pitch

    UseFont(20, "Courier New", FW_BOLD, 0, TRUE, TRUE, TRUE);
    TEXTMETRICA mono = Metrics();
    EXPECT_EQ(mono.tmHeight, 20);
    EXPECT_EQ(mono.tmWeight, FW_BOLD);
    EXPECT_NE(mono.tmItalic, 0);
    EXPECT_NE(mono.tmUnderlined, 0);
    EXPECT_NE(mono.tmStruckOut, 0);
    EXPECT_FALSE(mono.tmPitchAndFamily & TMPF_FIXED_PITCH);
    INT w = 0;
    GetCharWidthA(dc_, 'W', 'W', &w);
    EXPECT_EQ(mono.tmAveCharWidth, w);
    EXPECT_EQ(Extent("iiii").cx, 4 * w);

    char face[LF_FACESIZE];
    EXPECT_GT(GetTextFaceA(dc_, sizeof(face), face), 0);
    EXPECT_STREQ(face, "Liberation Mono");

    SelectObject(dc_, GetStockObject(SYSTEM_FONT));
    TEXTMETRICA system = Metrics();
    EXPECT_EQ(system.tmHeight, 16);
    EXPECT_EQ(system.tmWeight, FW_BOLD);
    SelectObject(dc_, GetStockObject(DEFAULT_GUI_FONT));
    EXPECT_EQ(Metrics().tmHeight, sans.tmHeight);
}

TEST_F(TextTest, AlignmentPlacesTheCellAroundTheReferencePoint) {
    UseFont(-20, "Arial");
    const SIZE size = Extent("Mg");
    const TEXTMETRICA metrics = Metrics();
    struct Case {
        UINT align;
        LONG left;
        LONG top;
    };
    const Case cases[] = {
        {TA_LEFT | TA_TOP, 100, 100},
        {TA_RIGHT | TA_TOP, 100 - size.cx, 100},
        {TA_CENTER | TA_TOP, 100 - size.cx / 2, 100},
        {TA_LEFT | TA_BASELINE, 100, 100 - metrics.tmAscent},
        {TA_RIGHT | TA_BOTTOM, 100 - size.cx, 100 - size.cy},
        {TA_CENTER | TA_BASELINE, 100 - size.cx / 2, 100 - metrics.tmAscent},
    };
    // In opaque mode the background cell shows exactly where the text stands.
    const COLORREF red = RGB(255, 0, 0);
    SetBkMode(dc_, OPAQUE);
    SetBkColor(dc_, red);
    SetTextColor(dc_, red);
    for (const Case& c : cases) {
        Clear();
        SetTextAlign(dc_, c.align);
        EXPECT_EQ(GetTextAlign(dc_), c.align);
        TextOutA(dc_, 100, 100, "Mg", 2);
        Ink cell = InkBox();
        EXPECT_EQ(cell.left, c.left) << c.align;
        EXPECT_EQ(cell.top, c.top) << c.align;
        EXPECT_EQ(cell.right - cell.left, size.cx) << c.align;
        EXPECT_EQ(cell.bottom - cell.top, size.cy) << c.align;
    }
}

TEST_F(TextTest, UpdateCurrentPositionMovesWithTheAlignment) {
    UseFont(-13, "Arial");
    const LONG width = Extent("abc").cx;
    POINT position{};
    MoveToEx(dc_, 200, 40, nullptr);
    SetTextAlign(dc_, TA_UPDATECP | TA_RIGHT);
    TextOutA(dc_, 0, 0, "abc", 3);
    GetCurrentPositionEx(dc_, &position);
    EXPECT_EQ(position.x, 200 - width);
    Ink ink = InkBox();
    EXPECT_LE(ink.right, 201);
    EXPECT_GE(ink.left, 200 - width - 1);

    SetTextAlign(dc_, TA_UPDATECP | TA_CENTER);
    TextOutA(dc_, 0, 0, "abc", 3);
    GetCurrentPositionEx(dc_, &position);
    EXPECT_EQ(position.x, 200 - width);
}

TEST_F(TextTest, EscapementNinetyReadsUpwardsFromTheReferencePoint) {
    const char text[] = "Ruler 120";
    UseFont(-24, "Arial");
    const SIZE size = Extent(text);
    TextOutA(dc_, 100, 60, text, 9);
    std::vector<uint32_t> upright = Snapshot();

    Clear();
    UseFont(-24, "Arial", FW_NORMAL, 900);
    EXPECT_EQ(Extent(text).cx, size.cx);  // extents are along the baseline
    TextOutA(dc_, 100, 260, text, 9);
    Ink ink = InkBox();
    EXPECT_GE(ink.left, 100);
    EXPECT_LE(ink.right, 100 + size.cy);
    EXPECT_LE(ink.bottom, 260);
    EXPECT_GE(ink.top, 260 - size.cx);

    // Upright pixel (x, y) relative to the reference point lands at (y, -x - 1).
    int inked = 0, mismatched = 0;
    for (int y = 60; y < 60 + size.cy; ++y) {
        for (int x = 100; x < 100 + size.cx; ++x) {
            bool before = upright[y * kWidth + x] != kWhite;
            bool after = Pixel(100 + (y - 60), 260 - (x - 100) - 1) != kWhite;
            inked += before;
            mismatched += before != after;
        }
    }
    EXPECT_GT(inked, 100);
    EXPECT_LT(mismatched, inked / 10);
}

TEST_F(TextTest, EscapementIsTakenModuloAFullTurn) {
    UseFont(-18, "Arial");
    TextOutA(dc_, 30, 30, kHungarian, int(std::strlen(kHungarian)));
    std::vector<uint32_t> straight = Snapshot();
    for (int escapement : {3600, 7200, -3600}) {
        Clear();
        UseFont(-18, "Arial", FW_NORMAL, escapement);
        TextOutA(dc_, 30, 30, kHungarian, int(std::strlen(kHungarian)));
        EXPECT_TRUE(Snapshot() == straight) << escapement;
    }
}

TEST_F(TextTest, OpaqueAndClippedExtTextOut) {
    UseFont(-20, "Arial");
    const COLORREF blue = RGB(0, 0, 255);
    SetBkColor(dc_, blue);
    RECT rect{50, 50, 120, 80};
    // ETO_OPAQUE fills the rectangle even with no text, whatever the background mode.
    ASSERT_TRUE(ExtTextOutA(dc_, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr));
    Ink filled = InkBox();
    EXPECT_EQ(filled.left, 50);
    EXPECT_EQ(filled.top, 50);
    EXPECT_EQ(filled.right, 120);
    EXPECT_EQ(filled.bottom, 80);
    EXPECT_EQ(Pixel(60, 60), 0x000000FFu);

    // ETO_CLIPPED keeps a long text inside the rectangle.
    Clear();
    ExtTextOutA(dc_, 40, 40, ETO_CLIPPED, &rect, "WWWWWWWWWW", 10, nullptr);
    Ink clipped = InkBox();
    EXPECT_FALSE(clipped.Empty());
    EXPECT_GE(clipped.left, 50);
    EXPECT_GE(clipped.top, 50);
    EXPECT_LE(clipped.right, 120);
    EXPECT_LE(clipped.bottom, 80);

    // Given advances place each character.
    Clear();
    const INT advances[3] = {40, 40, 40};
    ExtTextOutA(dc_, 10, 10, 0, nullptr, "lll", 3, advances);
    Ink spread = InkBox();
    EXPECT_GT(spread.right - spread.left, 80);
}

TEST_F(TextTest, TransparentTextLeavesTheBackgroundAndOpaqueFillsTheCell) {
    UseFont(-20, "Arial");
    SetTextColor(dc_, RGB(0, 0, 0));
    TextOutA(dc_, 10, 10, "o", 1);
    EXPECT_EQ(Pixel(10, 10), kWhite);  // corner of the cell, outside the glyph
    SetBkMode(dc_, OPAQUE);
    SetBkColor(dc_, RGB(0, 255, 0));
    TextOutA(dc_, 10, 10, "o", 1);
    EXPECT_EQ(Pixel(10, 10), 0x0000FF00u);
    EXPECT_EQ(GetTextColor(dc_), RGB(0, 0, 0));
}

TEST_F(TextTest, UnderlineAndStrikeOutSpanTheText) {
    UseFont(-20, "Arial", FW_NORMAL, 0, FALSE, TRUE, TRUE);
    const SIZE size = Extent("a b");
    const TEXTMETRICA metrics = Metrics();
    SetTextAlign(dc_, TA_BASELINE);
    TextOutA(dc_, 20, 100, "a b", 3);
    // The space between the letters is inked only by the two lines.
    const int spaceX = 20 + size.cx / 2;
    std::vector<int> rows;
    for (int y = 100 - metrics.tmAscent; y < 100 + metrics.tmDescent; ++y) {
        if (Pixel(spaceX, y) != kWhite) rows.push_back(y);
    }
    ASSERT_GE(rows.size(), 2u);
    EXPECT_GE(rows.back(), 100);  // underline below the baseline
    EXPECT_LT(rows.front(), 100 - 2);  // strike-out above it
    EXPECT_NE(Pixel(20, rows.back()), kWhite);
    EXPECT_NE(Pixel(20 + size.cx - 1, rows.back()), kWhite);
}

TEST_F(TextTest, ClipRegionAndViewportOrigin) {
    UseFont(-20, "Arial");
    HRGN region = CreateRectRgn(0, 0, 60, kHeight);
    SelectClipRgn(dc_, region);
    DeleteObject(region);
    TextOutA(dc_, 40, 10, "WWWWWW", 6);
    EXPECT_LE(InkBox().right, 60);
    SelectClipRgn(dc_, nullptr);

    Clear();
    SetViewportOrgEx(dc_, 100, 50, nullptr);
    TextOutA(dc_, 0, 0, "W", 1);
    Ink ink = InkBox();
    EXPECT_GE(ink.left, 100);
    EXPECT_GE(ink.top, 50);
    EXPECT_LT(ink.right, 130);
}

TEST_F(TextTest, BadInputFailsCleanly) {
    SIZE size{};
    EXPECT_FALSE(TextOutA(nullptr, 0, 0, "a", 1));
    EXPECT_FALSE(TextOutA(dc_, 0, 0, nullptr, 1));
    EXPECT_FALSE(TextOutA(dc_, 0, 0, "a", -1));
    EXPECT_TRUE(TextOutA(dc_, 0, 0, nullptr, 0));
    EXPECT_FALSE(GetTextExtentPoint32A(dc_, "a", 1, nullptr));
    EXPECT_FALSE(GetTextExtentPoint32A(dc_, "a", -2, &size));
    EXPECT_TRUE(GetTextExtentPoint32A(dc_, "", 0, &size));
    EXPECT_EQ(size.cx, 0);
    EXPECT_GT(size.cy, 0);
    EXPECT_EQ(SetTextColor(nullptr, 0), CLR_INVALID);
    EXPECT_EQ(SetTextAlign(nullptr, 0), UINT(GDI_ERROR));
    EXPECT_FALSE(GetTextMetricsA(dc_, nullptr));
    RECT rect{0, 0, 10, 10};
    EXPECT_EQ(DrawTextA(dc_, "a", 1, nullptr, 0), 0);
    EXPECT_EQ(DrawTextA(dc_, nullptr, 1, &rect, 0), 0);
    EXPECT_EQ(InkBox().right, 0);
    // Every byte, control characters included, has a width and draws without harm.
    std::string all;
    for (int byte = 1; byte < 256; ++byte) all += char(byte);
    EXPECT_TRUE(TextOutA(dc_, -50, -5, all.data(), int(all.size())));
}

TEST_F(TextTest, MonochromeBitmapsGetOnlyBlackAndWhite) {
    HDC mono = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateBitmap(60, 30, 1, 1, nullptr);
    HGDIOBJ old = SelectObject(mono, bitmap);
    PatBlt(mono, 0, 0, 60, 30, WHITENESS);
    HFONT font = CreateFontA(-20, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
    HGDIOBJ oldFont = SelectObject(mono, font);
    SetBkMode(mono, TRANSPARENT);
    SetTextColor(mono, RGB(200, 0, 0));
    TextOutA(mono, 2, 2, "ok", 2);
    int black = 0, grey = 0;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 60; ++x) {
            COLORREF pixel = GetPixel(mono, x, y);
            black += pixel == RGB(0, 0, 0);
            grey += pixel != RGB(0, 0, 0) && pixel != RGB(255, 255, 255);
        }
    }
    EXPECT_GT(black, 20);
    EXPECT_EQ(grey, 0);
    SelectObject(mono, oldFont);
    DeleteObject(font);
    SelectObject(mono, old);
    DeleteObject(bitmap);
    DeleteDC(mono);
}

TEST_F(TextTest, CallsAreTraced) {
    EnableCallTrace(dc_, true);
    SetTextColor(dc_, RGB(255, 0, 0));
    TextOutA(dc_, 10, 20, "Hi", 2);
    std::vector<std::string> trace = GetCallTrace(dc_);
    ASSERT_EQ(trace.size(), 2u);
    EXPECT_EQ(trace[0], "SetTextColor(0x000000FF)");
    EXPECT_EQ(trace[1], "TextOutA(10, 20, \"Hi\", 2)");
    EnableCallTrace(dc_, false);
}

// ---- DrawTextA -------------------------------------------------------------------

TEST_F(TextTest, DrawTextCalculatesTheRectangle) {
    UseFont(-13, "Arial");
    const TEXTMETRICA metrics = Metrics();
    RECT rect{10, 20, 10, 20};
    EXPECT_EQ(DrawTextA(dc_, "Hello", -1, &rect, DT_CALCRECT | DT_SINGLELINE), metrics.tmHeight);
    EXPECT_EQ(rect.right - rect.left, Extent("Hello").cx);
    EXPECT_EQ(rect.bottom - rect.top, metrics.tmHeight);

    rect = RECT{0, 0, 0, 0};
    EXPECT_EQ(DrawTextA(dc_, "one\r\nthree\nx", -1, &rect, DT_CALCRECT), 3 * metrics.tmHeight);
    EXPECT_EQ(rect.right, Extent("three").cx);

    // Prefix marks take no room; a doubled one shows itself.
    rect = RECT{0, 0, 0, 0};
    DrawTextA(dc_, "&File", -1, &rect, DT_CALCRECT);
    EXPECT_EQ(rect.right, Extent("File").cx);
    rect = RECT{0, 0, 0, 0};
    DrawTextA(dc_, "a&&b", -1, &rect, DT_CALCRECT);
    EXPECT_EQ(rect.right, Extent("a&b").cx);
    rect = RECT{0, 0, 0, 0};
    DrawTextA(dc_, "a&&b", -1, &rect, DT_CALCRECT | DT_NOPREFIX);
    EXPECT_EQ(rect.right, Extent("a&&b").cx);
    EXPECT_EQ(InkBox().right, 0);  // nothing drawn
}

TEST_F(TextTest, DrawTextBreaksLinesBetweenWords) {
    UseFont(-13, "Arial");
    const TEXTMETRICA metrics = Metrics();
    const char text[] = "the quick brown fox jumps over the lazy dog";
    const LONG limit = Extent("the quick brown").cx;
    RECT rect{0, 0, limit, 0};
    int height = DrawTextA(dc_, text, -1, &rect, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(height, 3 * metrics.tmHeight);  // "the quick brown" / "fox jumps over" / "the lazy dog"
    EXPECT_EQ(rect.right, limit);
    EXPECT_EQ(rect.bottom, height);

    // A word wider than the rectangle stays whole on its own line.
    rect = RECT{0, 0, 20, 0};
    height = DrawTextA(dc_, "a extraordinarily b", -1, &rect, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(height, 3 * metrics.tmHeight);
    EXPECT_EQ(rect.right, Extent("extraordinarily").cx);

    // Drawn lines stay inside the rectangle's width.
    RECT box{20, 20, 20 + limit, 200};
    EXPECT_EQ(DrawTextA(dc_, text, -1, &box, DT_WORDBREAK), 3 * metrics.tmHeight);
    Ink ink = InkBox();
    EXPECT_GE(ink.left, 20);
    EXPECT_LE(ink.right, 20 + limit);
    EXPECT_LE(ink.bottom, 20 + 3 * metrics.tmHeight);
    EXPECT_GT(ink.bottom, 20 + 2 * metrics.tmHeight);
}

TEST_F(TextTest, DrawTextCentresAndClips) {
    UseFont(-20, "Arial");
    const SIZE size = Extent("Mid");
    RECT rect{100, 100, 300, 200};
    const int offset = DrawTextA(dc_, "Mid", 3, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    EXPECT_EQ(offset, (100 - size.cy) / 2 + size.cy);
    Ink ink = InkBox();
    EXPECT_NEAR((ink.left + ink.right) / 2.0, 200, 2);
    EXPECT_GE(ink.top, 100 + (100 - size.cy) / 2);
    EXPECT_LE(ink.bottom, 100 + (100 + size.cy) / 2);

    Clear();
    DrawTextA(dc_, "Right", 5, &rect, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE);
    ink = InkBox();
    EXPECT_LE(ink.right, 300);
    EXPECT_GE(ink.right, 300 - 3);
    EXPECT_LE(ink.bottom, 200);

    // Clipped to the rectangle unless DT_NOCLIP.
    Clear();
    RECT narrow{10, 10, 30, 40};
    DrawTextA(dc_, "WWWWW", 5, &narrow, DT_LEFT);
    EXPECT_LE(InkBox().right, 30);
    Clear();
    DrawTextA(dc_, "WWWWW", 5, &narrow, DT_LEFT | DT_NOCLIP);
    EXPECT_GT(InkBox().right, 30);
}

TEST_F(TextTest, DrawTextExpandsTabsAndUnderlinesPrefixes) {
    UseFont(-13, "Arial");
    const TEXTMETRICA metrics = Metrics();
    RECT rect{0, 0, 0, 0};
    DrawTextA(dc_, "a\tb", -1, &rect, DT_CALCRECT | DT_EXPANDTABS);
    EXPECT_EQ(rect.right, 8 * metrics.tmAveCharWidth + Extent("b").cx);

    // The marked character gets a line under it, the others do not.
    RECT box{10, 10, 200, 60};
    DrawTextA(dc_, "&ab", -1, &box, DT_LEFT);
    const int underline = 10 + metrics.tmAscent + 1;
    int underlinedPixels = 0;
    for (int y = underline - 1; y <= 10 + metrics.tmHeight; ++y) {
        underlinedPixels += Pixel(10 + Extent("a").cx / 2, y) != kWhite;
        EXPECT_EQ(Pixel(10 + Extent("a").cx + Extent("b").cx / 2, y), kWhite);
    }
    EXPECT_GT(underlinedPixels, 0);
}

}  // namespace

namespace {

struct TEnumerated {
    std::vector<std::string> names;
    std::vector<int> charSets;
    int stopAfter = -1;
};

int CALLBACK CollectFamily(const LOGFONTA* logFont, const TEXTMETRICA* metrics, DWORD fontType, LPARAM lParam) {
    auto* seen = reinterpret_cast<TEnumerated*>(lParam);
    seen->names.push_back(logFont->lfFaceName);
    seen->charSets.push_back(logFont->lfCharSet);
    EXPECT_EQ(fontType, static_cast<DWORD>(TRUETYPE_FONTTYPE));
    EXPECT_EQ(metrics->tmCharSet, logFont->lfCharSet);
    return static_cast<int>(seen->names.size()) == seen->stopAfter ? 0 : 7;
}

TEnumerated Enumerate(const char* face, int stopAfter = -1) {
    LOGFONTA wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    std::strncpy(wanted.lfFaceName, face, LF_FACESIZE - 1);
    TEnumerated seen;
    seen.stopAfter = stopAfter;
    EnumFontFamiliesExA(nullptr, &wanted, &CollectFamily, reinterpret_cast<LPARAM>(&seen), 0);
    return seen;
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

TEST(FontFamilies, EveryFamilyIsReportedOnceInOrderWithTheClassicNames) {
    const TEnumerated all = Enumerate("");
    for (const char* family : {"Liberation Sans", "Liberation Serif", "Liberation Mono", "DejaVu Sans",
                               "DejaVu Sans Mono", "Arial", "Courier New", "Times New Roman", "MS Sans Serif"})
        EXPECT_NE(std::find(all.names.begin(), all.names.end(), family), all.names.end()) << family;
    for (size_t i = 1; i < all.names.size(); ++i) EXPECT_LT(Lower(all.names[i - 1]), Lower(all.names[i]));
    for (int charSet : all.charSets) EXPECT_EQ(charSet, DEFAULT_CHARSET);

    // One family by name (without regard to case); an unknown one gives none.
    EXPECT_EQ(Enumerate("liberation MONO").names, std::vector<std::string>{"Liberation Mono"});
    EXPECT_TRUE(Enumerate("No Such Family 42").names.empty());
    // A callback's 0 ends the enumeration, and is its result.
    EXPECT_EQ(Enumerate("", 2).names.size(), 2u);
    LOGFONTA wanted{};
    TEnumerated seen;
    seen.stopAfter = 1;
    EXPECT_EQ(EnumFontFamiliesExA(nullptr, &wanted, &CollectFamily, reinterpret_cast<LPARAM>(&seen), 0), 0);
    seen = TEnumerated{};
    EXPECT_EQ(EnumFontFamiliesExA(nullptr, &wanted, &CollectFamily, reinterpret_cast<LPARAM>(&seen), 0), 7);
    std::strcpy(wanted.lfFaceName, "No Such Family 42");
    EXPECT_EQ(EnumFontFamiliesExA(nullptr, &wanted, &CollectFamily, reinterpret_cast<LPARAM>(&seen), 0), 1);
    EXPECT_EQ(EnumFontFamiliesExA(nullptr, nullptr, &CollectFamily, 0, 0), 0);
    EXPECT_EQ(EnumFontFamiliesExA(nullptr, &wanted, nullptr, 0, 0), 0);
}
