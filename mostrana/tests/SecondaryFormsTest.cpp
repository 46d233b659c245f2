// Tests of TForm2 and TForm3: what their stored layouts give so far.
#include "MostranaFixture.h"

namespace {

using SecondaryFormsTest = FormsTest;

TEST_F(SecondaryFormsTest, EachIsShownWithItsCaptionAndBounds) {
    struct Row {
        TForm* form;
        const char* caption;
        int left, top;
        bool clientSize;  // the stored size is the client area's, not the window's
        int width, height;
    };
    const Row rows[] = {
        {Form2, "Scrollers and splitters", 311, 18, true, 498, 345},
        {Form3, "Statistical", 12, 202, false, 923, 436},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.form->GetCaption(), row.caption);
        EXPECT_EQ(row.form->GetLeft(), row.left) << row.caption;
        EXPECT_EQ(row.form->GetTop(), row.top) << row.caption;
        TForm* form = row.form;
        EXPECT_EQ(row.clientSize ? form->GetClientWidth() : form->GetWidth(), row.width) << row.caption;
        EXPECT_EQ(row.clientSize ? form->GetClientHeight() : form->GetHeight(), row.height) << row.caption;
        EXPECT_TRUE(row.form->GetVisible()) << row.caption;
        EXPECT_TRUE(IsWindowVisible(row.form->GetHandle())) << row.caption;
        EXPECT_TRUE(row.form->OnClose) << row.caption;
    }
}

}  // namespace
