// Tests of TStringBuffer: appending and trimming scratch text.
#include <gtest/gtest.h>

#include "StringBuffer.h"

TEST(StringBuffer, AppendRemoveAndReset) {
    TStringBuffer buffer(4);
    buffer.Append("ab", 2);
    buffer.Append('c');
    buffer.Append(TString("de"));
    buffer.Append(nullptr, 3);
    EXPECT_STREQ(buffer.c_str(), "abcde");
    EXPECT_EQ(buffer.LastChar(), 'e');
    EXPECT_EQ(buffer.RemoveLast(2), 2);
    EXPECT_EQ(buffer.RemoveLast(10), 3);
    EXPECT_EQ(buffer.LastChar(), '\0');
    buffer.Append("x", 1);
    buffer.Reset();
    EXPECT_EQ(buffer.Length(), 0);
}
