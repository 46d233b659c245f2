// TThreadHeap: blocks, handles into them and the bulk freeing of empty blocks.
#include "ThreadHeap.h"

#include <algorithm>
#include <climits>

// ---- handles ----

TThreadHeap::TBlock::TBlock(const TBlock& other) : fBlock(other.fBlock), fOffset(other.fOffset) { Acquire(fBlock); }

TThreadHeap::TBlock::TBlock(TBlock&& other) noexcept : fBlock(other.fBlock), fOffset(other.fOffset) {
    other.fBlock = nullptr;
    other.fOffset = 0;
}

TThreadHeap::TBlock& TThreadHeap::TBlock::operator=(const TBlock& other) {
    if (this == &other) return *this;
    Acquire(other.fBlock);
    Release();
    fBlock = other.fBlock;
    fOffset = other.fOffset;
    return *this;
}

TThreadHeap::TBlock& TThreadHeap::TBlock::operator=(TBlock&& other) noexcept {
    if (this == &other) return *this;
    Release();
    fBlock = other.fBlock;
    fOffset = other.fOffset;
    other.fBlock = nullptr;
    other.fOffset = 0;
    return *this;
}

TThreadHeap::TBlock::~TBlock() { Release(); }

char* TThreadHeap::TBlock::GetData() const { return fBlock ? fBlock->Data + fOffset : nullptr; }

void TThreadHeap::TBlock::Release() {
    TMemBlock* block = fBlock;
    fBlock = nullptr;
    fOffset = 0;
    TThreadHeap::Release(block);
}

void TThreadHeap::Acquire(TMemBlock* block) {
    if (block != nullptr && block->Refs++ == 0 && block->Owner != nullptr) ++block->Owner->fLiveCount;
}

void TThreadHeap::Release(TMemBlock* block) {
    if (block == nullptr || --block->Refs > 0) return;
    if (block->Owner != nullptr)
        block->Owner->Cleanup();
    else
        FreeBlock(block);  // its heap has gone; the last handle frees it
}

// ---- the heap ----

TThreadHeap::TThreadHeap(int blockCount, int blockSize, int growthFactor, int sizeCap)
    : fGrowthFactor(std::max(growthFactor, 1)), fSizeCap(std::max(sizeCap, 1)) {
    for (int i = 0; i < blockCount; ++i) fBlocks.push_back(NewBlock(std::max(blockSize, 0)));
}

TThreadHeap::~TThreadHeap() {
    for (TMemBlock* block : fBlocks) {
        if (block->Refs == 0)
            FreeBlock(block);
        else
            block->Owner = nullptr;
    }
}

TThreadHeap::TMemBlock* TThreadHeap::NewBlock(int size) {
    auto* block = new TMemBlock;
    block->Data = new char[size_t(size > 0 ? size : 1)];
    block->Size = size;
    block->Owner = this;
    return block;
}

void TThreadHeap::FreeBlock(TMemBlock* block) {
    delete[] block->Data;
    delete block;
}

void TThreadHeap::Alloc(int n, TBlock& out) {
    out.Release();
    if (n <= 0) return;
    // Strictly less: a request equal to the free room does not use the block.
    auto found = std::find_if(fBlocks.begin(), fBlocks.end(), [n](const TMemBlock* block) { return n < block->Size - block->Used; });
    TMemBlock* block;
    if (found != fBlocks.end()) {
        block = *found;
    } else {
        const long long grown = n < fSizeCap ? std::min<long long>(static_cast<long long>(n) * fGrowthFactor, fSizeCap)
                                             : 2LL * n;
        block = NewBlock(int(std::min<long long>(grown, INT_MAX)));
        // Kept in the list, so that it is reused and freed like the others.
        fBlocks.push_back(block);
    }
    out.fBlock = block;
    out.fOffset = block->Used;
    block->Used += n;
    Acquire(block);
}

TThreadHeap::TBlock TThreadHeap::Alloc(int n) {
    TBlock block;
    Alloc(n, block);
    return block;
}

void TThreadHeap::Cleanup() {
    --fLiveCount;
    if (int(fBlocks.size()) / 2 >= fLiveCount) DeleteEmptyBlocks();
}

void TThreadHeap::DeleteEmptyBlocks() {
    std::vector<TMemBlock*> kept;
    for (TMemBlock* block : fBlocks) {
        if (block->Refs != 0)
            kept.push_back(block);
        else
            FreeBlock(block);
    }
    fBlocks.swap(kept);
    fLiveCount = int(fBlocks.size());
}
