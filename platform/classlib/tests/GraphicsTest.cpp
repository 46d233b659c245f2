// Colours and the graphics objects TFont, TPen and TBrush.
#include <gtest/gtest.h>

#include <functional>

#include "Exceptions.h"
#include "Graphics.h"

namespace {

TEST(Colors, NamedColoursAreColorRefs) {
    struct Case {
        TColor color;
        COLORREF rgb;
    };
    const Case cases[] = {{clBlack, RGB(0, 0, 0)},        {clMaroon, RGB(128, 0, 0)},   {clGreen, RGB(0, 128, 0)},
                          {clOlive, RGB(128, 128, 0)},    {clNavy, RGB(0, 0, 128)},     {clPurple, RGB(128, 0, 128)},
                          {clTeal, RGB(0, 128, 128)},     {clGray, RGB(128, 128, 128)}, {clSilver, RGB(192, 192, 192)},
                          {clRed, RGB(255, 0, 0)},        {clLime, RGB(0, 255, 0)},     {clYellow, RGB(255, 255, 0)},
                          {clBlue, RGB(0, 0, 255)},       {clFuchsia, RGB(255, 0, 255)}, {clAqua, RGB(0, 255, 255)},
                          {clWhite, RGB(255, 255, 255)}};
    for (const Case& c : cases) EXPECT_EQ(ColorToRGB(c.color), c.rgb) << std::hex << c.color;
}

TEST(Colors, SystemColoursResolveThroughTheLayer) {
    EXPECT_LT(clBtnFace, 0);
    EXPECT_EQ(static_cast<uint32_t>(clBtnFace), 0x8000000Fu);
    const std::pair<TColor, int> cases[] = {{clBtnFace, COLOR_BTNFACE},       {clWindow, COLOR_WINDOW},
                                            {clWindowText, COLOR_WINDOWTEXT}, {clHighlight, COLOR_HIGHLIGHT},
                                            {clHighlightText, COLOR_HIGHLIGHTTEXT}, {clInfoBk, COLOR_INFOBK},
                                            {clInfoText, COLOR_INFOTEXT},     {clGrayText, COLOR_GRAYTEXT}};
    for (const auto& c : cases) EXPECT_EQ(ColorToRGB(c.first), GetSysColor(c.second));
    EXPECT_EQ(ColorToRGB(clBtnFace), RGB(192, 192, 192));
    EXPECT_EQ(ColorToRGB(clNone), RGB(0, 0, 0));
}

TEST(Font, SizeAndHeightAreOneValue) {
    TFont font;
    EXPECT_EQ(font.GetSize(), 8);
    EXPECT_EQ(font.GetHeight(), -11);
    font.SetSize(10);
    EXPECT_EQ(font.GetHeight(), -13);
    font.SetSize(12);
    EXPECT_EQ(font.GetHeight(), -16);
    font.SetHeight(-20);
    EXPECT_EQ(font.GetSize(), 15);
    font.SetHeight(20);  // a cell height
    EXPECT_EQ(font.GetSize(), 15);
}

TEST(Font, DescriptionReachesTheLogicalFontAndBack) {
    TFont font;
    font.SetName("Courier New");
    font.SetStyle({fsBold, fsUnderline});
    font.SetCharset(EASTEUROPE_CHARSET);
    font.SetPitch(TFontPitch::fpFixed);
    LOGFONTA logFont{};
    ASSERT_EQ(GetObjectA(font.GetHandle(), sizeof logFont, &logFont), static_cast<int>(sizeof logFont));
    EXPECT_STREQ(logFont.lfFaceName, "Courier New");
    EXPECT_EQ(logFont.lfWeight, FW_BOLD);
    EXPECT_EQ(logFont.lfUnderline, 1);
    EXPECT_EQ(logFont.lfItalic, 0);
    EXPECT_EQ(logFont.lfCharSet, EASTEUROPE_CHARSET);
    EXPECT_EQ(logFont.lfPitchAndFamily & 3, FIXED_PITCH);

    TFont copy;
    copy.SetHandle(font.GetHandle());
    EXPECT_EQ(copy.GetName(), "Courier New");
    EXPECT_EQ(copy.GetStyle(), TFontStyles({fsBold, fsUnderline}));
    EXPECT_EQ(copy.GetPitch(), TFontPitch::fpFixed);
}

TEST(GraphicsObject, ChangesCallOnChangeOnceAndRemakeTheHandle) {
    TPen pen;
    int changes = 0;
    pen.OnChange = [&](TObject* sender) {
        EXPECT_EQ(sender, &pen);
        ++changes;
    };
    HPEN first = pen.GetHandle();
    pen.SetColor(clRed);
    EXPECT_EQ(GetObjectType(first), 0u) << "the old handle is deleted";
    pen.SetColor(clRed);  // no change
    EXPECT_EQ(changes, 1);
    LOGPEN logPen{};
    GetObjectA(pen.GetHandle(), sizeof logPen, &logPen);
    EXPECT_EQ(logPen.lopnColor, RGB(255, 0, 0));
    pen.SetWidth(-3);
    EXPECT_EQ(pen.GetWidth(), 1);
}

// A pen's mode and a font's colour are no part of their GDI objects: changing
// them calls OnChange but keeps the handle, so a canvas does not rebuild the
// object for each colour of a painted line; every other change remakes it.
TEST(GraphicsObject, OnlyChangesOfTheGdiObjectRemakeTheHandle) {
    struct Case {
        const char* what;
        std::function<HGDIOBJ(TPen&, TFont&)> handle;
        std::function<void(TPen&, TFont&)> change;
        bool remade;
    };
    const Case cases[] = {
        {"pen mode", [](TPen& p, TFont&) { return p.GetHandle(); }, [](TPen& p, TFont&) { p.SetMode(pmXor); }, false},
        {"pen colour", [](TPen& p, TFont&) { return p.GetHandle(); }, [](TPen& p, TFont&) { p.SetColor(clRed); }, true},
        {"pen width", [](TPen& p, TFont&) { return p.GetHandle(); }, [](TPen& p, TFont&) { p.SetWidth(3); }, true},
        {"font colour", [](TPen&, TFont& f) { return f.GetHandle(); }, [](TPen&, TFont& f) { f.SetColor(clRed); }, false},
        {"font size", [](TPen&, TFont& f) { return f.GetHandle(); }, [](TPen&, TFont& f) { f.SetSize(20); }, true},
        {"font style", [](TPen&, TFont& f) { return f.GetHandle(); }, [](TPen&, TFont& f) { f.SetStyle({fsBold}); }, true},
    };
    for (const Case& c : cases) {
        TPen pen;
        TFont font;
        int changes = 0;
        pen.OnChange = font.OnChange = [&](TObject*) { ++changes; };
        const HGDIOBJ before = c.handle(pen, font);
        c.change(pen, font);
        EXPECT_EQ(changes, 1) << c.what;
        EXPECT_EQ(GetObjectType(before) != 0, !c.remade) << c.what;
        EXPECT_EQ(c.handle(pen, font) != before, c.remade) << c.what;
    }
}

TEST(Pen, StylesAndModesMapToTheLayer) {
    const std::pair<TPenStyle, UINT> styles[] = {
        {psSolid, PS_SOLID}, {psDash, PS_DASH}, {psDot, PS_DOT}, {psDashDot, PS_DASHDOT}, {psClear, PS_NULL}};
    for (const auto& s : styles) {
        TPen pen;
        pen.SetStyle(s.first);
        LOGPEN logPen{};
        GetObjectA(pen.GetHandle(), sizeof logPen, &logPen);
        EXPECT_EQ(logPen.lopnStyle & PS_STYLE_MASK, s.second);
    }
    const std::pair<TPenMode, int> modes[] = {
        {pmCopy, R2_COPYPEN}, {pmNot, R2_NOT}, {pmXor, R2_XORPEN}, {pmNotXor, R2_NOTXORPEN}, {pmBlack, R2_BLACK}};
    for (const auto& m : modes) {
        EXPECT_EQ(PenModeToRop2(m.first), m.second);
        EXPECT_EQ(Rop2ToPenMode(m.second), m.first);
    }
}

TEST(Brush, StylesAssignAndClear) {
    TBrush brush;
    brush.SetColor(clYellow);
    brush.SetStyle(bsDiagCross);
    LOGBRUSH logBrush{};
    GetObjectA(brush.GetHandle(), sizeof logBrush, &logBrush);
    EXPECT_EQ(logBrush.lbStyle, static_cast<UINT>(BS_HATCHED));
    EXPECT_EQ(logBrush.lbHatch, static_cast<ULONG_PTR>(HS_DIAGCROSS));
    EXPECT_EQ(logBrush.lbColor, RGB(255, 255, 0));

    TBrush copy;
    copy.Assign(&brush);
    EXPECT_EQ(copy.GetColor(), clYellow);
    EXPECT_EQ(copy.GetStyle(), bsDiagCross);

    copy.SetStyle(bsClear);
    GetObjectA(copy.GetHandle(), sizeof logBrush, &logBrush);
    EXPECT_EQ(logBrush.lbStyle, static_cast<UINT>(BS_NULL));
    copy.SetColor(clRed);  // a colour makes a clear brush solid again
    EXPECT_EQ(copy.GetStyle(), bsSolid);

    TPen pen;
    EXPECT_THROW(copy.Assign(&pen), EConvertError);
}

}  // namespace
