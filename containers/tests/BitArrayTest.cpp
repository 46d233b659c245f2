// Tests of TBitArray: bits, resizing and out-of-range access.
#include <gtest/gtest.h>

#include "BitArray.h"

TEST(BitArray, SetGetResize) {
    TBitArray bits(10);
    bits.Set(0);
    bits.Set(9);
    bits.Set(10);  // outside: ignored
    EXPECT_TRUE(bits[9]);
    EXPECT_FALSE(bits[10]);
    EXPECT_FALSE(bits.Get(-1));
    EXPECT_EQ(bits.Count(), 2);
    bits.SetSize(5);
    bits.SetSize(16);  // bits past the cut come back cleared
    EXPECT_FALSE(bits[9]);
    EXPECT_EQ(bits.Count(), 1);
    bits.SetAll(true);
    EXPECT_EQ(bits.Count(), 16);
    bits.SetSize(20);
    EXPECT_EQ(bits.Count(), 16);
}
