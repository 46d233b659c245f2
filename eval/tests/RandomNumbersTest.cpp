// Tests of the Mersenne Twister: conformance by word and by key, and the shared state.
#include <gtest/gtest.h>

#include <random>

#include "RandomNumbers.h"

namespace {

TEST(RandomNumbersTest, SeedByWordMatchesTheStandardGenerator) {
    MTRand generator;
    generator.Seed(5489);
    std::mt19937 reference(5489);
    for (int i = 0; i < 10000; ++i) ASSERT_EQ(generator.Next(), reference()) << i;
}

TEST(RandomNumbersTest, SeedByKeyGivesTheReferenceOutputs) {
    const uint32_t key[] = {0x123, 0x234, 0x345, 0x456};
    MTRand_int32 generator(key, 4);
    const uint32_t expected[] = {1067595299U, 955945823U,  477289528U,  4107218783U, 4228976476U,
                                 3344332714U, 3355579695U, 227628506U,  810200273U,  2591290167U};
    for (uint32_t want : expected) EXPECT_EQ(generator.Next(), want);
}

TEST(RandomNumbersTest, ObjectsShareOneState) {
    MTRand first;
    MTRand second;
    first.Seed(42);
    std::mt19937 reference(42);
    EXPECT_EQ(first.Next(), reference());
    EXPECT_EQ(second.Next(), reference());
    // A later default construction does not reseed.
    MTRand third;
    EXPECT_EQ(third.Next(), reference());
}

TEST(RandomNumbersTest, EmptyKeySeedsLikeTheZeroWord) {
    const uint32_t zero[] = {0};
    MTRand_int32 generator(zero, 1);
    const uint32_t first = generator.Next();
    generator.SeedByArray(nullptr, 0);
    EXPECT_EQ(generator.Next(), first);
}

TEST(RandomNumbersTest, TwistOfNeighbours) {
    EXPECT_EQ(MTRand_int32::Twist(0x80000000U, 0), 0x40000000U);
    EXPECT_EQ(MTRand_int32::Twist(0, 1), 0x9908b0dfU);
}

}  // namespace
