// TLabel: sizing to its text, alignment, layout, transparency, the "&"
// accelerator and FocusControl, also when read from a form text.
#include <gtest/gtest.h>

#include "Edit.h"
#include "Forms.h"
#include "Label.h"
#include "PropertyTable.h"
#include "StdCtrls.h"
#include "Streaming.h"
#include "display/TestDriver.h"

namespace {

class LabelTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = new TForm(nullptr, 0);
        form->SetBounds(50, 50, 300, 200);
        form->SetColor(clWhite);
        label = new TLabel(form);
        label->SetName("Label1");
        label->SetParent(form);
        label->SetLeft(10);
        label->SetTop(10);
    }
    void TearDown() override { delete form; }

    win32::TestDriver driver;
    TForm* form = nullptr;
    TLabel* label = nullptr;
};

TEST_F(LabelTest, AutoSizeFollowsTheTextAndKeepsTheAlignedEdge) {
    label->SetCaption("Short");
    int shortWidth = label->GetWidth();
    label->SetCaption("A much longer caption");
    EXPECT_GT(label->GetWidth(), shortWidth);
    EXPECT_EQ(13, label->GetHeight());
    // "&&" shows one '&' and "&x" none: the accelerator mark takes no room.
    label->SetCaption("&Name");
    int marked = label->GetWidth();
    label->SetCaption("Name");
    EXPECT_EQ(marked, label->GetWidth());

    label->SetAlignment(taRightJustify);
    int right = label->GetLeft() + label->GetWidth();
    label->SetCaption("N");
    EXPECT_EQ(right, label->GetLeft() + label->GetWidth());

    label->SetAutoSize(false);
    label->SetWidth(200);
    label->SetCaption("Something else");
    EXPECT_EQ(200, label->GetWidth());
}

TEST_F(LabelTest, WordWrapKeepsTheWidthAndGrowsTheHeight) {
    label->SetWidth(60);
    label->SetWordWrap(true);
    label->SetCaption("several words that cannot fit on one line");
    EXPECT_EQ(60, label->GetWidth());
    EXPECT_GE(label->GetHeight(), 3 * 13);
}

TEST_F(LabelTest, PaintFillsUnlessTransparentAndPlacesTheText) {
    label->SetAutoSize(false);
    label->SetBounds(10, 10, 100, 40);
    label->SetColor(clYellow);
    label->SetCaption("MMM");
    label->SetLayout(tlBottom);
    form->Show();
    driver.PumpUntilIdle();
    HWND window = form->GetHandle();
    EXPECT_EQ(ColorToRGB(clYellow), driver.Pixel(window, 100, 15));
    auto inkInRows = [&](int top, int bottom) {
        for (int y = top; y < bottom; ++y)
            for (int x = 10; x < 40; ++x)
                if (driver.Pixel(window, x, y) == RGB(0, 0, 0)) return true;
        return false;
    };
    EXPECT_FALSE(inkInRows(10, 30));
    EXPECT_TRUE(inkInRows(35, 50));
    label->SetTransparent(true);
    driver.PumpUntilIdle();
    EXPECT_EQ(RGB(255, 255, 255), driver.Pixel(window, 100, 15));
}

TEST_F(LabelTest, TheAcceleratorFocusesTheFocusControl) {
    auto* first = new TEdit(form);
    first->SetParent(form);
    first->SetTop(40);
    auto* target = new TEdit(form);
    target->SetName("Target");
    target->SetParent(form);
    target->SetTop(80);
    label->SetCaption("&Target");
    label->SetFocusControl(target);
    form->Show();
    driver.PumpUntilIdle();
    EXPECT_TRUE(first->Focused());
    driver.SetAutoPump(false);
    driver.Press({VK_MENU}, 'T');
    Application->ProcessMessages();
    EXPECT_TRUE(target->Focused());
    EXPECT_EQ("", target->GetText());  // the key typed nothing
    EXPECT_EQ("Target", GetPropertyText(label, "FocusControl"));
    // The label forgets a focus control that goes.
    delete target;
    EXPECT_EQ(nullptr, label->GetFocusControl());
}

TEST_F(LabelTest, AFormTextNamesTheFocusControlBeforeItExists) {
    RegisterStandardControls();
    auto* root = new TForm(nullptr, 0);
    ReadComponentText(root,
                      "object Root: TForm\n"
                      "  object Caption1: TLabel\n"
                      "    Caption = '&Name'\n"
                      "    FocusControl = 'NameEdit'\n"
                      "    Alignment = taCenter\n"
                      "  end\n"
                      "  object NameEdit: TEdit\n"
                      "  end\n"
                      "end\n");
    auto* caption = dynamic_cast<TLabel*>(root->FindComponent("Caption1"));
    ASSERT_NE(nullptr, caption);
    EXPECT_EQ(root->FindComponent("NameEdit"), caption->GetFocusControl());
    EXPECT_EQ(taCenter, caption->GetAlignment());
    EXPECT_EQ('N', caption->AcceleratorChar());
    std::string written = WriteComponentText(root);
    EXPECT_NE(std::string::npos, written.find("FocusControl = 'NameEdit'"));
    delete root;
}

}  // namespace
