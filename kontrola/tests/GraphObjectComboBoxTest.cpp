// Tests of TGraphObjectComboBox: the three lists, selecting and reading values,
// custom colours, item languages, the change event and the drawn samples.
#include "GraphObjectComboBox.h"

#include "KontrolaFixture.h"
#include "PropertyTable.h"

using GraphObjectComboBoxTest = FormTest;

TEST_F(GraphObjectComboBoxTest, ColourListSelectsAndReadsColours) {
    auto* combo = Place<TGraphObjectComboBox>(10, 10, 145, 22);
    EXPECT_EQ(combo->GetCount(), 16);
    EXPECT_EQ(combo->GetItemIndex(), 0);
    EXPECT_EQ(combo->GetColor(), clBlack);
    combo->SetColor(clRed);
    EXPECT_EQ(combo->GetItems()->GetStrings(combo->GetItemIndex()), "Red");
    EXPECT_EQ(combo->GetColor(), clRed);
    // A colour the list lacks gets one custom item, replaced by the next.
    combo->SetColor(0x123456);
    EXPECT_EQ(combo->GetCount(), 17);
    EXPECT_EQ(combo->GetText(), "Custom");
    EXPECT_EQ(combo->GetColor(), 0x123456);
    combo->SetColor(0x654321);
    EXPECT_EQ(combo->GetCount(), 17);
    EXPECT_EQ(combo->GetColor(), 0x654321);
    combo->SetColor(clWhite);
    EXPECT_EQ(combo->GetColor(), clWhite);
}

TEST_F(GraphObjectComboBoxTest, PenAndBrushStyleLists) {
    struct Case {
        TGraphObjectComboStyle style;
        int count;
        const char* first;
    };
    const Case cases[] = {{gocsPenStyle, 7, "Solid"}, {gocsBrushStyle, 8, "Solid"}, {gocsColor, 16, "Black"}};
    auto* combo = Place<TGraphObjectComboBox>(10, 10, 145, 22);
    for (const Case& c : cases) {
        combo->SetStyle(c.style);
        EXPECT_EQ(combo->GetCount(), c.count);
        EXPECT_EQ(combo->GetText(), c.first);
    }
    combo->SetStyle(gocsPenStyle);
    combo->SetPenStyle(psDot);
    EXPECT_EQ(combo->GetPenStyle(), psDot);
    EXPECT_EQ(combo->GetText(), "Dot");
    combo->SetStyle(gocsBrushStyle);
    combo->SetBrushStyle(bsDiagCross);
    EXPECT_EQ(combo->GetBrushStyle(), bsDiagCross);
    combo->SetBrushStyle(static_cast<TBrushStyle>(99));
    EXPECT_EQ(combo->GetItemIndex(), -1);
}

TEST_F(GraphObjectComboBoxTest, LanguageRenamesItemsAndKeepsTheSelection) {
    auto* combo = Place<TGraphObjectComboBox>(10, 10, 145, 22);
    combo->SetColor(clYellow);
    combo->SetLanguage(goclHungarian);
    EXPECT_EQ(combo->GetItems()->GetStrings(0), "Fekete");
    EXPECT_EQ(combo->GetText(), "S\xE1rga");
    EXPECT_EQ(combo->GetColor(), clYellow);
    combo->SetColor(0x010203);
    EXPECT_EQ(combo->GetText(), "Egy\xE9ni");
    combo->SetLanguage(static_cast<TGraphObjectComboLanguage>(7));
    EXPECT_EQ(combo->GetLanguage(), goclEnglish);
    EXPECT_EQ(combo->GetText(), "Custom");
    EXPECT_EQ(combo->GetColor(), 0x010203);
}

TEST_F(GraphObjectComboBoxTest, ChangeEventSeesTheNewColour) {
    auto* combo = Place<TGraphObjectComboBox>(10, 10, 145, 22);
    std::vector<TColor> seen;
    combo->OnChange = [&](TObject*) { seen.push_back(combo->GetColor()); };
    combo->SetFocus();
    driver.PumpUntilIdle();
    driver.Press(VK_DOWN);
    driver.Press(VK_DOWN);
    EXPECT_EQ(seen, (std::vector<TColor>{clMaroon, clGreen}));
}

TEST_F(GraphObjectComboBoxTest, FieldShowsTheColourSample) {
    auto* combo = Place<TGraphObjectComboBox>(10, 10, 145, 22);
    combo->SetColor(clLime);
    driver.PumpUntilIdle();
    HWND window = combo->GetHandle();
    int lime = 0;
    for (int x = 0; x < 40; ++x) lime += driver.Pixel(window, x, 11) == ColorToRGB(clLime);
    EXPECT_GE(lime, 10);
}

TEST_F(GraphObjectComboBoxTest, StyleIsPublishedUnderItsOwnNames) {
    auto* combo = Place<TGraphObjectComboBox>(10, 10, 145, 22);
    SetPropertyText(combo, "Style", "gocsBrushStyle");
    EXPECT_EQ(combo->GetStyle(), gocsBrushStyle);
    EXPECT_EQ(GetPropertyText(combo, "Style"), "gocsBrushStyle");
    EXPECT_EQ(combo->TCustomComboBox::GetStyle(), csOwnerDrawFixed);
}
