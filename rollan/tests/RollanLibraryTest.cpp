// Tests of the package as a form sees it: registration on the palette, saving
// and loading both controls with their properties and sub-objects, handlers
// bound by name, and forms with odd stored values.
#include <any>
#include <string>
#include <vector>

#include "Exceptions.h"
#include "RectScroller.h"
#include "Registration.h"
#include "RollanFixture.h"
#include "Streaming.h"

namespace {

// A form with handlers for the controls' events, as a host program has.
class TRollanTestForm : public TForm {
public:
    TRollanTestForm() : TForm(nullptr, 1) { SetBounds(50, 50, 400, 300); }

    std::any FindHandler(const std::string& name) override {
        static const THandlerEntry kHandlers[] = {
            CLASSLIB_HANDLER(TRollanTestForm, ScrollerPaint),
            CLASSLIB_HANDLER(TRollanTestForm, ScrollerScroll),
            CLASSLIB_HANDLER(TRollanTestForm, RectSizes),
            CLASSLIB_HANDLER(TRollanTestForm, RectEntered),
        };
        return BindHandler(kHandlers, this, name.c_str());
    }
    void ScrollerPaint(TScrollControl*, TCanvas* canvas) {
        ++paints;
        PaintGrid(canvas);
    }
    void ScrollerScroll(TScrollControl*, TScrollBarKind kind, int position, TCanvas*) {
        scrolls.push_back(std::to_string(kind) + " " + std::to_string(position));
    }
    void RectSizes(TRectScroller*, SIZE& size) { size = SIZE{300, 90}; }
    void RectEntered(TRectScroller*) { ++entered; }

    int paints = 0;
    int entered = 0;
    std::vector<std::string> scrolls;
};

const char kFormText[] =
    "object RollanForm: TForm\n"
    "  object Scroller: TScrollControl\n"
    "    Left = 8\n"
    "    Top = 8\n"
    "    Width = 200\n"
    "    Height = 150\n"
    "    VMin = 150\n"
    "    VMax = 200\n"
    "    VPos = 180\n"
    "    VScrollStep = 3\n"
    "    HMax = 40\n"
    "    HPageSize = 5\n"
    "    KeyScroll = True\n"
    "    BkColor = clYellow\n"
    "    BkBrush.Color = clAqua\n"
    "    OnPaint = ScrollerPaint\n"
    "    OnScroll = ScrollerScroll\n"
    "  end\n"
    "  object Rect: TRectScroller\n"
    "    Left = 220\n"
    "    Top = 8\n"
    "    Width = 150\n"
    "    Height = 100\n"
    "    Centered = False\n"
    "    BorderBrush.Color = clRed\n"
    "    BorderBkColor = clGray\n"
    "    PageSize = 4\n"
    "    WantTab = True\n"
    "    OnGetRectSizes = RectSizes\n"
    "    OnEnterUserArea = EnterArea\n"
    "  end\n"
    "end\n";

std::string WithEnterHandler(std::string text) {
    const std::string wrong = "EnterArea";
    text.replace(text.find(wrong), wrong.size(), "RectEntered");
    return text;
}

class RollanLibraryTest : public ::testing::Test {
protected:
    win32::TestDriver driver;
};

}  // namespace

TEST_F(RollanLibraryTest, TheControlsAreOnThePalettePageRollan) {
    std::vector<std::string> classes;
    for (const TPalettePage& page : PalettePages())
        if (page.name == "Rollan")
            for (const TClassInfo* info : page.classes) classes.push_back(info->name);
    EXPECT_EQ(classes, (std::vector<std::string>{"TScrollControl", "TRectScroller", "TSelectableRectScroller", "TMemBitmapScroller"}));
}

TEST_F(RollanLibraryTest, AFormSavesOnlyWhatDiffersAndLoadsBackTheSame) {
    TRollanTestForm form;
    EXPECT_THROW(ReadComponentText(&form, kFormText), EReadError);  // no handler EnterArea
    TRollanTestForm loaded;
    ReadComponentText(&loaded, WithEnterHandler(kFormText));
    auto* scroller = static_cast<TScrollControl*>(loaded.FindComponent("Scroller"));
    auto* rect = static_cast<TRectScroller*>(loaded.FindComponent("Rect"));
    ASSERT_NE(scroller, nullptr);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(scroller->GetVMin(), 150);
    EXPECT_EQ(scroller->GetVMax(), 200);
    EXPECT_EQ(scroller->GetVPos(), 180);
    EXPECT_EQ(scroller->GetColor(), clYellow);
    EXPECT_EQ(scroller->GetBkBrush()->GetColor(), clAqua);
    EXPECT_EQ(rect->GetBorderBrush()->GetColor(), clRed);
    EXPECT_EQ(rect->GetBorderBkColor(), clGray);
    EXPECT_TRUE(rect->GetWantTab());
    EXPECT_FALSE(static_cast<TScrollControl*>(rect)->GetWantTab());

    const std::string saved = WriteComponentText(&loaded);
    for (const char* line : {"VMin = 150", "VMax = 200", "VPos = 180", "VScrollStep = 3", "HMax = 40",
                             "HPageSize = 5", "KeyScroll = True", "BkColor = clYellow", "BkBrush.Color = clAqua",
                             "Centered = False", "BorderBrush.Color = clRed", "BorderBkColor = clGray",
                             "PageSize = 4", "WantTab = True"})
        EXPECT_NE(saved.find(line), std::string::npos) << line << " missing from\n" << saved;
    for (const char* name : {"TabStop", "AutoScroll", "HMin", "FillBackground", "FillBorderGap", "ClientWidth",
                             "BkBrush.Style", "VPageSize"})
        EXPECT_EQ(saved.find(name, saved.find("object Scroller")), std::string::npos)
            << name << " saved though default, in\n" << saved;

    TRollanTestForm again;
    ReadComponentText(&again, saved);
    EXPECT_EQ(WriteComponentText(&again), saved);

    // Shown, the bars carry the loaded ranges and the bound handlers run.
    loaded.Show();
    driver.PumpUntilIdle();
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(scroller->GetHandle(), SB_VERT, &info);
    EXPECT_EQ(info.nMin, 150);
    EXPECT_EQ(info.nPos, 180);
    EXPECT_GT(loaded.paints, 0);
    SendMessageA(scroller->GetHandle(), WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(loaded.scrolls, (std::vector<std::string>{"1 181"}));
    EXPECT_EQ(rect->GetHMax(), 166);
    driver.MoveMouse(rect->GetHandle(), 10, 10);
    EXPECT_EQ(loaded.entered, 1);
}

// Into a form already on the screen the controls get their windows while they
// load; the bars and the rectangle's ranges follow once loading ends.
TEST_F(RollanLibraryTest, AFormLoadedWhileShownSetsItsBars) {
    TRollanTestForm form;
    form.Show();
    driver.PumpUntilIdle();
    ReadComponentText(&form, WithEnterHandler(kFormText));
    auto* scroller = static_cast<TScrollControl*>(form.FindComponent("Scroller"));
    auto* rect = static_cast<TRectScroller*>(form.FindComponent("Rect"));
    ASSERT_TRUE(scroller->HandleAllocated());
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(scroller->GetHandle(), SB_VERT, &info);
    EXPECT_EQ(info.nMin, 150);
    EXPECT_EQ(info.nMax, 263);
    EXPECT_EQ(info.nPos, 180);
    EXPECT_EQ(rect->GetHMax(), 166);
    EXPECT_EQ(rect->GetVMax(), 6);
}

TEST_F(RollanLibraryTest, OddStoredValuesLoadIntoControlsThatScroll) {
    TRollanTestForm form;
    ReadComponentText(&form,
                      "object RollanForm: TForm\n"
                      "  object Scroller: TScrollControl\n"
                      "    Width = 200\n"
                      "    Height = 150\n"
                      "    VScrollStep = 0\n"
                      "    VScrollPage = 0\n"
                      "    VPageSize = -7\n"
                      "    HScrollPage = -3\n"
                      "    HScrollStep = 2147483647\n"
                      "    HMax = 2147483647\n"
                      "    VMin = -5\n"
                      "  end\n"
                      "  object Rect: TRectScroller\n"
                      "    Width = 150\n"
                      "    Height = 100\n"
                      "    PageSize = 0\n"
                      "    KeyScroll = True\n"
                      "    OnGetRectSizes = RectSizes\n"
                      "  end\n"
                      "end\n");
    form.Show();
    driver.PumpUntilIdle();
    auto* scroller = static_cast<TScrollControl*>(form.FindComponent("Scroller"));
    auto* rect = static_cast<TRectScroller*>(form.FindComponent("Rect"));
    EXPECT_EQ(scroller->GetVMin(), 0);
    HWND window = scroller->GetHandle();
    for (int code : {SB_LINEDOWN, SB_PAGEDOWN, SB_PAGEUP, SB_BOTTOM})
        for (UINT message : {WM_VSCROLL, WM_HSCROLL}) SendMessageA(window, message, MAKEWPARAM(code, 0), 0);
    scroller->SetHPos(2147483647);
    scroller->SetFocus();
    driver.Wheel(window, 10, 10, -2);
    driver.PumpUntilIdle();
    EXPECT_GE(scroller->GetVPos(), 0);
    rect->SetFocus();
    driver.Press({VK_SHIFT}, VK_DOWN);
    driver.Press({VK_SHIFT}, VK_RIGHT);
    EXPECT_EQ(rect->GetHPos(), rect->GetHMax());
}
