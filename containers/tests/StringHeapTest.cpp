// Tests of TStringHeap: lending, growing and releasing slots.
#include <gtest/gtest.h>

#include <set>

#include "StringHeap.h"

TEST(StringHeap, LendsDistinctStringsAndGrows) {
    TStringHeap heap(2);
    std::set<TString*> lent;
    std::vector<int> slots;
    for (int i = 0; i < 5; ++i) {
        TString* text = nullptr;
        slots.push_back(heap.Get(text));
        ASSERT_NE(text, nullptr);
        EXPECT_TRUE(text->IsEmpty());
        *text = "used";
        lent.insert(text);
    }
    EXPECT_EQ(lent.size(), 5u);
    EXPECT_EQ(heap.GetLentCount(), 5);
    heap.Release(slots[1]);
    heap.Release(slots[1]);  // twice: ignored
    heap.Release(99);
    EXPECT_EQ(heap.GetLentCount(), 4);
    TString* again = nullptr;
    EXPECT_EQ(heap.Get(again), slots[1]);
    EXPECT_TRUE(again->IsEmpty());
}
