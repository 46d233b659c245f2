// TStringContainer and the class library: clipboard text and string lists.
#include <gtest/gtest.h>

#include <memory>

#include "ClipboardText.h"
#include "StringContainer.h"
#include "Strings.h"

namespace {

class StringContainerClipboardTest : public ::testing::Test {
protected:
    void SetUp() override { win32::ResetClipboard(); }
    void TearDown() override { win32::ResetClipboard(); }
};

TEST_F(StringContainerClipboardTest, CopyJoinsTheLinesWithCrLf) {
    TStringContainer lines;
    lines.Add(TString("one"));
    lines.Add(TString(""));
    lines.Add(TString("three"));
    EXPECT_TRUE(lines.CopyToClipboard());
    EXPECT_EQ("one\r\n\r\nthree", GetClipboardText());
}

TEST_F(StringContainerClipboardTest, PasteSplitsAtLineFeedsAndDropsEveryCarriageReturn) {
    struct Case {
        const char* clipboard;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb", {"a", "b"}},
        {"x\ry\r\n\r\nz", {"xy", "", "z"}},
        {"", {}},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(SetClipboardText(c.clipboard));
        TStringContainer lines;
        lines.Add(TString("old"));
        EXPECT_TRUE(lines.CopyFromClipboard());
        std::vector<std::string> got;
        for (int i = 0; i < lines.GetCount(); ++i) got.push_back(lines[i].str());
        EXPECT_EQ(c.lines, got) << c.clipboard;
    }
}

TEST_F(StringContainerClipboardTest, PasteWithoutTextKeepsTheLines) {
    TStringContainer lines;
    lines.Add(TString("kept"));
    EXPECT_FALSE(lines.CopyFromClipboard());
    ASSERT_EQ(1, lines.GetCount());
    EXPECT_EQ("kept", lines[0].str());
}

TEST_F(StringContainerClipboardTest, StringListsGoBothWays) {
    TStringList list;
    list.Add("alpha");
    list.Add("beta");
    TStringContainer lines;
    lines.Add(TString("replaced"));
    lines = &list;
    ASSERT_EQ(2, lines.GetCount());
    EXPECT_EQ("beta", lines[1].str());
    std::unique_ptr<TStringList> copy(lines.AsStringList());
    EXPECT_TRUE(copy->Equals(&list));
    lines = static_cast<const TStrings*>(nullptr);
    EXPECT_EQ(0, lines.GetCount());
}

}  // namespace
