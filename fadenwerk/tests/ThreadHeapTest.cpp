// Tests of TThreadHeap: placement in blocks, handle sharing and bulk freeing.
#include <gtest/gtest.h>

#include <cstring>

#include "ThreadHeap.h"

TEST(ThreadHeap, AllocationsFollowEachOtherInTheFirstBlockWithMoreRoom) {
    TThreadHeap heap(2, 100, 2, 1000);
    TThreadHeap::TBlock first = heap.Alloc(30);
    TThreadHeap::TBlock second = heap.Alloc(20);
    ASSERT_NE(first.GetData(), nullptr);
    EXPECT_EQ(second.GetData(), first.GetData() + 30);
    std::memset(first.GetData(), 1, 30);
    std::memset(second.GetData(), 2, 20);
    // 50 bytes are left in the first block: a request of exactly 50 skips it.
    TThreadHeap::TBlock exact = heap.Alloc(50);
    EXPECT_NE(exact.GetData(), second.GetData() + 20);
    TThreadHeap::TBlock smaller = heap.Alloc(49);
    EXPECT_EQ(smaller.GetData(), second.GetData() + 20);
    EXPECT_EQ(heap.GetBlockCount(), 2);
    EXPECT_EQ(heap.GetLiveCount(), 2);
}

TEST(ThreadHeap, BlockIsFreedOnlyAfterItsLastHandleAndTheCleanUpRule) {
    TThreadHeap heap(2, 100, 2, 1000);
    TThreadHeap::TBlock a = heap.Alloc(10);
    TThreadHeap::TBlock b = heap.Alloc(10);
    TThreadHeap::TBlock copy(b);
    a.Release();
    b.Release();
    EXPECT_EQ(heap.GetBlockCount(), 2);  // the copy still points into the block
    std::memset(copy.GetData(), 3, 10);
    copy = TThreadHeap::TBlock();
    // No block in use: at most half in use, so every empty block goes.
    EXPECT_EQ(heap.GetBlockCount(), 0);
    EXPECT_EQ(heap.GetLiveCount(), 0);
}

TEST(ThreadHeap, EmptyBlocksStayWhileMoreThanHalfAreInUse) {
    TThreadHeap heap(0, 0, 1, 64);
    // A request of the cap's size gets twice its size, leaving room equal to
    // the request, so the next such request needs a new block.
    TThreadHeap::TBlock blocks[3] = {heap.Alloc(64), heap.Alloc(64), heap.Alloc(64)};
    EXPECT_EQ(heap.GetBlockCount(), 3);
    blocks[0].Release();  // 2 of 3 in use: more than half
    EXPECT_EQ(heap.GetBlockCount(), 3);
    blocks[1].Release();  // 1 of 3: the two empty blocks go
    EXPECT_EQ(heap.GetBlockCount(), 1);
    EXPECT_EQ(heap.GetLiveCount(), 1);
}

TEST(ThreadHeap, NewBlocksGrowByTheFactorUpToTheCapAndJoinTheList) {
    TThreadHeap heap(1, 16, 4, 64);
    TThreadHeap::TBlock small = heap.Alloc(10);  // fits the first block
    TThreadHeap::TBlock medium = heap.Alloc(10);  // 6 left: new block of 40
    TThreadHeap::TBlock next = heap.Alloc(29);    // 30 left in it
    EXPECT_EQ(next.GetData(), medium.GetData() + 10);
    TThreadHeap::TBlock huge = heap.Alloc(500);  // not below the cap: 1000 bytes
    std::memset(huge.GetData(), 7, 500);
    TThreadHeap::TBlock inHuge = heap.Alloc(499);
    EXPECT_EQ(inHuge.GetData(), huge.GetData() + 500);
    std::memset(inHuge.GetData(), 8, 499);
    EXPECT_EQ(heap.GetBlockCount(), 3);
}

TEST(ThreadHeap, EdgeRequestsAndHandlesThatOutliveTheHeap) {
    TThreadHeap::TBlock survivor;
    {
        TThreadHeap heap(1, 32);
        TThreadHeap::TBlock none = heap.Alloc(0);
        EXPECT_TRUE(none.IsEmpty());
        EXPECT_EQ(heap.Alloc(-5).GetData(), nullptr);
        survivor = heap.Alloc(8);
        heap.Alloc(4, survivor);  // releases the first handle, then points again
        EXPECT_EQ(heap.GetLiveCount(), 1);
    }
    // The heap is gone; the block lives until its last handle goes.
    std::memset(survivor.GetData(), 1, 4);
    TThreadHeap::TBlock moved(std::move(survivor));
    EXPECT_TRUE(survivor.IsEmpty());
    EXPECT_FALSE(moved.IsEmpty());
}
