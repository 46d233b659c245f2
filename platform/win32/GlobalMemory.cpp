// Global memory blocks, tracked in one table so that every handle is checked.
#include "GlobalMemory.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <unordered_map>

#include "LastError.h"

namespace {

struct GlobalBlock {
    void* bytes = nullptr;
    SIZE_T size = 0;       // as requested
    SIZE_T capacity = 0;   // as allocated, at least 1
    bool moveable = false;
    UINT lockCount = 0;
};

// Blocks larger than this can never be allocated; refusing them early keeps
// size arithmetic from overflowing.
const SIZE_T largestBlock = SIZE_T(PTRDIFF_MAX) / 2;

class GlobalHeap {
public:
    static GlobalHeap& Instance() {
        static GlobalHeap* heap = new GlobalHeap;  // outlives static destructors
        return *heap;
    }

    HGLOBAL Allocate(UINT flags, SIZE_T bytes) {
        if ((flags & ~UINT(GMEM_MOVEABLE | GMEM_ZEROINIT)) != 0) return Fail(ERROR_INVALID_PARAMETER);
        auto block = std::make_unique<GlobalBlock>();
        if (!Resize(*block, bytes, flags & GMEM_ZEROINIT)) return Fail(ERROR_NOT_ENOUGH_MEMORY);
        block->moveable = (flags & GMEM_MOVEABLE) != 0;
        std::lock_guard<std::mutex> lock(mutex_);
        HGLOBAL handle = block->moveable ? static_cast<HGLOBAL>(block.get()) : block->bytes;
        blocks_[handle] = std::move(block);
        return handle;
    }

    LPVOID Lock(HGLOBAL handle) {
        std::lock_guard<std::mutex> lock(mutex_);
        GlobalBlock* block = FindLocked(handle);
        if (!block) return Fail(ERROR_INVALID_HANDLE);
        if (block->moveable) ++block->lockCount;
        return block->bytes;
    }

    BOOL Unlock(HGLOBAL handle) {
        std::lock_guard<std::mutex> lock(mutex_);
        GlobalBlock* block = FindLocked(handle);
        if (!block) return FailFalse(ERROR_INVALID_HANDLE);
        if (block->lockCount == 0) return FailFalse(ERROR_NOT_LOCKED);
        --block->lockCount;
        if (block->lockCount == 0) return FailFalse(ERROR_SUCCESS);
        return TRUE;
    }

    SIZE_T Size(HGLOBAL handle) {
        std::lock_guard<std::mutex> lock(mutex_);
        GlobalBlock* block = FindLocked(handle);
        if (!block) return FailFalse(ERROR_INVALID_HANDLE);
        return block->size;
    }

    HGLOBAL Free(HGLOBAL handle) {
        if (!handle) return nullptr;
        std::unique_ptr<GlobalBlock> block;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            auto found = blocks_.find(handle);
            if (found == blocks_.end()) {
                SetLastError(ERROR_INVALID_HANDLE);
                return handle;
            }
            block = std::move(found->second);
            blocks_.erase(found);
        }
        std::free(block->bytes);
        return nullptr;
    }

    HGLOBAL ReAllocate(HGLOBAL handle, SIZE_T bytes, UINT flags) {
        if ((flags & ~UINT(GMEM_MOVEABLE | GMEM_ZEROINIT)) != 0) return Fail(ERROR_INVALID_PARAMETER);
        std::lock_guard<std::mutex> lock(mutex_);
        auto found = blocks_.find(handle);
        if (found == blocks_.end()) return Fail(ERROR_INVALID_HANDLE);
        GlobalBlock& block = *found->second;
        const bool mayMove = (block.moveable && block.lockCount == 0) || (flags & GMEM_MOVEABLE);
        if (bytes > block.capacity && !mayMove) return Fail(ERROR_NOT_ENOUGH_MEMORY);
        if (!Resize(block, bytes, flags & GMEM_ZEROINIT)) return Fail(ERROR_NOT_ENOUGH_MEMORY);
        if (block.moveable || block.bytes == handle) return handle;
        // A fixed block that moved is known by its new address.
        std::unique_ptr<GlobalBlock> moved = std::move(found->second);
        blocks_.erase(found);
        HGLOBAL newHandle = moved->bytes;
        blocks_[newHandle] = std::move(moved);
        return newHandle;
    }

private:
    static std::nullptr_t Fail(DWORD error) {
        SetLastError(error);
        return nullptr;
    }

    static BOOL FailFalse(DWORD error) {
        SetLastError(error);
        return FALSE;
    }

    // Gives the block `bytes` bytes, reallocating only when its capacity is too
    // small; new bytes are zeroed when asked. The block is unchanged on failure.
    static bool Resize(GlobalBlock& block, SIZE_T bytes, bool zeroNewBytes) {
        if (bytes > largestBlock) return false;
        if (bytes > block.capacity || !block.bytes) {
            const SIZE_T capacity = bytes ? bytes : 1;
            void* bytesNow = std::realloc(block.bytes, capacity);
            if (!bytesNow) return false;
            block.bytes = bytesNow;
            block.capacity = capacity;
        }
        if (zeroNewBytes && bytes > block.size)
            std::memset(static_cast<char*>(block.bytes) + block.size, 0, bytes - block.size);
        block.size = bytes;
        return true;
    }

    GlobalBlock* FindLocked(HGLOBAL handle) {
        auto found = blocks_.find(handle);
        return found == blocks_.end() ? nullptr : found->second.get();
    }

    std::mutex mutex_;
    std::unordered_map<HGLOBAL, std::unique_ptr<GlobalBlock>> blocks_;
};

}  // namespace

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) { return GlobalHeap::Instance().Allocate(flags, bytes); }

LPVOID GlobalLock(HGLOBAL memory) { return GlobalHeap::Instance().Lock(memory); }

BOOL GlobalUnlock(HGLOBAL memory) { return GlobalHeap::Instance().Unlock(memory); }

SIZE_T GlobalSize(HGLOBAL memory) { return GlobalHeap::Instance().Size(memory); }

HGLOBAL GlobalFree(HGLOBAL memory) { return GlobalHeap::Instance().Free(memory); }

HGLOBAL GlobalReAlloc(HGLOBAL memory, SIZE_T bytes, UINT flags) {
    return GlobalHeap::Instance().ReAllocate(memory, bytes, flags);
}
