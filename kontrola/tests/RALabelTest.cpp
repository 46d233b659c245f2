// Tests of TRALabel: right alignment by default and a fixed right edge.
#include "RALabel.h"

#include "KontrolaFixture.h"
#include "PropertyTable.h"

using RALabelTest = FormTest;

TEST_F(RALabelTest, KeepsItsRightEdgeWhenTheTextChanges) {
    auto* label = Place<TRALabel>(100, 10, 10, 13);
    label->SetText("Short");
    const int right = label->GetLeft() + label->GetWidth();
    label->SetText("A much longer caption");
    EXPECT_EQ(label->GetLeft() + label->GetWidth(), right);
    EXPECT_GT(label->GetWidth(), 40);
    EXPECT_EQ(label->GetAlignment(), taRightJustify);
    EXPECT_TRUE(IsPropertyDefault(label, "Alignment"));
    label->SetAlignment(taLeftJustify);
    EXPECT_FALSE(IsPropertyDefault(label, "Alignment"));
}
