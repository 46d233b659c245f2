// TThreadHeap: a block allocator for one thread's short-lived buffers. Memory
// is handed out by moving a block's used mark; a block is reused only after
// it has emptied and been freed. No lock: one heap serves one thread.
#pragma once

#include <vector>

class TThreadHeap {
public:
    class TMemBlock;

    // A handle to an allocation. Copies point into the same block; the block's
    // last handle going tells the heap, which frees empty blocks in bulk.
    class TBlock {
    public:
        TBlock() = default;
        TBlock(const TBlock& other);
        TBlock(TBlock&& other) noexcept;
        TBlock& operator=(const TBlock& other);
        TBlock& operator=(TBlock&& other) noexcept;
        ~TBlock();

        // The allocation; null for an empty handle.
        char* GetData() const;
        bool IsEmpty() const { return fBlock == nullptr; }
        // Lets go of the block; the handle becomes empty.
        void Release();

    private:
        friend class TThreadHeap;
        TMemBlock* fBlock = nullptr;
        int fOffset = 0;
    };

    class TMemBlock {
    public:
        char* Data = nullptr;
        int Size = 0;
        int Used = 0;
        int Refs = 0;
        TThreadHeap* Owner = nullptr;
    };

    // blockCount blocks of blockSize bytes (negative counts and sizes give
    // none and 0). A request that fits no block gets a new one of
    // request × growthFactor bytes (factor at least 1), at most sizeCap, or
    // twice the request when it is not below the cap.
    TThreadHeap(int blockCount, int blockSize, int growthFactor = 2, int sizeCap = 1 << 20);
    // Frees every block. Blocks that handles still point into are handed to
    // those handles: the last one frees its block.
    ~TThreadHeap();
    TThreadHeap(const TThreadHeap&) = delete;
    TThreadHeap& operator=(const TThreadHeap&) = delete;

    // Releases what out held, then points it at n fresh bytes: in the first
    // block whose free room is larger than n, else in a new block that joins
    // the list. n of 0 or less leaves out empty.
    void Alloc(int n, TBlock& out);
    TBlock Alloc(int n);
    // Run when the last handle into a block goes: when at most half of the
    // blocks are still in use, the empty ones are freed.
    void Cleanup();
    // Frees every block that no handle points into.
    void DeleteEmptyBlocks();

    int GetBlockCount() const { return int(fBlocks.size()); }
    // Blocks that handles point into.
    int GetLiveCount() const { return fLiveCount; }

private:
    TMemBlock* NewBlock(int size);
    static void FreeBlock(TMemBlock* block);
    static void Acquire(TMemBlock* block);
    static void Release(TMemBlock* block);

    std::vector<TMemBlock*> fBlocks;
    int fGrowthFactor;
    int fSizeCap;
    int fLiveCount = 0;
};
