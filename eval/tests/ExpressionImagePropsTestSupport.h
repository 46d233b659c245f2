// Shared check of the tests of TExpressionImageProps and its dialog: two records hold the same values.
#pragma once

#include <gtest/gtest.h>

#include "ExpressionImageProps.h"

inline void ExpectSameProps(const TExpressionImageProps& a, const TExpressionImageProps& b) {
    EXPECT_EQ(a.Font.str(), b.Font.str());
    EXPECT_EQ(a.FontSize, b.FontSize);
    EXPECT_EQ(a.BkColor, b.BkColor);
    EXPECT_EQ(a.TextColor, b.TextColor);
    EXPECT_EQ(a.ExpCharRatio, b.ExpCharRatio);
    EXPECT_EQ(a.IndexCharRatio, b.IndexCharRatio);
    EXPECT_EQ(a.RootCharRatio, b.RootCharRatio);
}
