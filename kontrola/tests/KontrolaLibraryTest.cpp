// Tests of the package's start-up: class registration, the palette page and
// a form text that stores every control with its properties and handlers.
#include <algorithm>

#include "ArrowScroller.h"
#include "FormSplitter.h"
#include "GraphObjectComboBox.h"
#include "KontrolaFixture.h"
#include "ProcessBar.h"
#include "RALabel.h"
#include "Registration.h"
#include "Streaming.h"

namespace {

// A form with the handlers its text names, as a program's form class has.
class TDemoForm : public TForm {
    CLASSLIB_CLASS(TDemoForm, TForm)

public:
    explicit TDemoForm(TComponent* owner) : TForm(owner, 1) {}
    std::any FindHandler(const std::string& name) override {
        static const THandlerEntry handlers[] = {CLASSLIB_HANDLER(TDemoForm, ArrowScrollerChange),
                                                 CLASSLIB_HANDLER(TDemoForm, SplitterMove),
                                                 CLASSLIB_HANDLER(TDemoForm, SplitterOmitControl)};
        return BindHandler(handlers, this, name.c_str());
    }
    void ArrowScrollerChange(TObject* sender) {
        static_cast<TProcessBar*>(FindComponent("ProcessBar1"))->SetPos(static_cast<TArrowScroller*>(sender)->GetPosition());
    }
    void SplitterMove(TObject*) { ++moves; }
    bool SplitterOmitControl(TObject*, TControl* control) { return control->GetName() == "Kept"; }
    int moves = 0;
};

const char* const kDemoFormText =
    "object Form1: TDemoForm\n"
    "  Caption = 'Components demo'\n"
    "  object ProcessBar1: TProcessBar\n"
    "    Left = 96\n    Top = 8\n    Width = 177\n    Height = 20\n"
    "    Max = 100\n    PosColor = clNavy\n    TextColor = clWhite\n    BkColor = clGray\n"
    "    CaptionColor = clWhite\n    Percent = True\n    PercentPos = ptpCenter\n"
    "  end\n"
    "  object ArrowScroller2: TArrowScroller\n"
    "    Left = 248\n    Top = 32\n    Width = 25\n    Height = 105\n"
    "    Direction = asdLeft\n    OnChange = ArrowScrollerChange\n"
    "  end\n"
    "  object GraphObjectComboBox2: TGraphObjectComboBox\n"
    "    Left = 96\n    Top = 88\n    Width = 145\n    Height = 22\n    Style = gocsPenStyle\n"
    "  end\n"
    "  object RALabel1: TRALabel\n"
    "    Left = 8\n    Top = 120\n    Width = 80\n    Height = 13\n    Caption = 'Right'\n"
    "  end\n"
    "  object FormSplitter1: TFormSplitter\n"
    "    ShowPosition = True\n    ShowPercentage = True\n    LineType = fslChecked\n"
    "    CursorType = fscSplit\n    ResizeMode = fsrKeepRatio\n"
    "    OnMove = SplitterMove\n    OnOmitControl = SplitterOmitControl\n"
    "  end\n"
    "end\n";

}  // namespace

TEST(KontrolaLibrary, ClassesAreRegisteredOnTheirPalettePage) {
    const char* const names[] = {"TFormSplitter", "TProcessBar", "TArrowScroller", "TGraphObjectComboBox", "TRALabel"};
    for (const char* name : names) EXPECT_NE(GetClass(name), nullptr) << name;
    const std::vector<TPalettePage> pages = PalettePages();
    auto page = std::find_if(pages.begin(), pages.end(), [](const TPalettePage& p) { return p.name == "Kontrola"; });
    ASSERT_NE(page, pages.end());
    EXPECT_EQ(page->classes.size(), std::size(names));
}

TEST_F(FormTest, DemoFormTextLoadsEveryControlWithItsHandlers) {
    RegisterClass<TDemoForm>();
    auto* demo = new TDemoForm(form);
    demo->SetBounds(60, 60, 320, 200);
    ReadComponentText(demo, kDemoFormText);
    demo->Show();
    driver.PumpUntilIdle();

    auto* bar = dynamic_cast<TProcessBar*>(demo->FindComponent("ProcessBar1"));
    auto* scroller = dynamic_cast<TArrowScroller*>(demo->FindComponent("ArrowScroller2"));
    auto* combo = dynamic_cast<TGraphObjectComboBox*>(demo->FindComponent("GraphObjectComboBox2"));
    auto* splitter = dynamic_cast<TFormSplitter*>(demo->FindComponent("FormSplitter1"));
    ASSERT_TRUE(bar && scroller && combo && splitter && demo->FindComponent("RALabel1"));
    EXPECT_EQ(bar->GetBkColor(), clGray);
    EXPECT_EQ(bar->GetPercentPos(), ptpCenter);
    EXPECT_EQ(scroller->GetDirection(), asdLeft);
    EXPECT_EQ(combo->GetStyle(), gocsPenStyle);
    EXPECT_EQ(splitter->GetResizeMode(), fsrKeepRatio);

    // The stored OnChange drives the bar, whose own limits apply.
    scroller->SetMax(500);
    scroller->SetPosition(42);
    EXPECT_EQ(bar->GetPos(), 42);
    scroller->SetPosition(420);
    EXPECT_EQ(bar->GetPos(), 100);

    // The stored splitter handlers are bound.
    ASSERT_TRUE(splitter->OnOmitControl);
    auto* kept = new TProcessBar(demo);
    kept->SetName("Kept");
    EXPECT_TRUE(splitter->OnOmitControl(splitter, kept));
    splitter->OnMove(splitter);
    EXPECT_EQ(demo->moves, 1);
}
