// Global memory blocks: exact sizes, zero filling, locking and reallocation.
#include "GlobalMemory.h"

#include <gtest/gtest.h>

#include <cstring>

#include "LastError.h"

namespace {

bool AllZero(const void* bytes, SIZE_T size) {
    for (SIZE_T i = 0; i < size; ++i)
        if (static_cast<const unsigned char*>(bytes)[i] != 0) return false;
    return true;
}

TEST(GlobalMemory, BlocksKeepTheirExactSizeAndZeroFill) {
    const UINT flagSets[] = {GMEM_FIXED, GMEM_MOVEABLE, GHND, GPTR};
    const SIZE_T sizes[] = {0, 1, 13, 4097};
    for (UINT flags : flagSets) {
        for (SIZE_T size : sizes) {
            SCOPED_TRACE(testing::Message() << "flags " << flags << " size " << size);
            HGLOBAL memory = GlobalAlloc(flags, size);
            ASSERT_NE(memory, nullptr);
            EXPECT_EQ(GlobalSize(memory), size);
            void* bytes = GlobalLock(memory);
            ASSERT_NE(bytes, nullptr);
            if (flags & GMEM_ZEROINIT) {
                EXPECT_TRUE(AllZero(bytes, size));
            }
            std::memset(bytes, 0xAB, size);
            if (!(flags & GMEM_MOVEABLE)) {
                EXPECT_EQ(bytes, memory);
            }
            GlobalUnlock(memory);
            EXPECT_EQ(GlobalFree(memory), nullptr);
        }
    }
}

TEST(GlobalMemory, LocksOfMoveableBlocksNest) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, 8);
    void* first = GlobalLock(memory);
    EXPECT_EQ(GlobalLock(memory), first);
    EXPECT_TRUE(GlobalUnlock(memory));
    SetLastError(ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(GlobalUnlock(memory));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_SUCCESS));
    EXPECT_FALSE(GlobalUnlock(memory));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_NOT_LOCKED));
    GlobalFree(memory);

    HGLOBAL fixed = GlobalAlloc(GPTR, 8);
    EXPECT_EQ(GlobalLock(fixed), fixed);
    EXPECT_FALSE(GlobalUnlock(fixed));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_NOT_LOCKED));
    GlobalFree(fixed);
}

TEST(GlobalMemory, UnknownHandlesAndImpossibleSizesFailCleanly) {
    int notABlock = 0;
    HGLOBAL bogus = &notABlock;
    EXPECT_EQ(GlobalLock(bogus), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
    EXPECT_EQ(GlobalSize(bogus), 0u);
    EXPECT_FALSE(GlobalUnlock(bogus));
    EXPECT_EQ(GlobalFree(bogus), bogus);
    EXPECT_EQ(GlobalFree(nullptr), nullptr);

    HGLOBAL memory = GlobalAlloc(GHND, 4);
    EXPECT_EQ(GlobalFree(memory), nullptr);
    EXPECT_EQ(GlobalSize(memory), 0u);
    EXPECT_EQ(GlobalFree(memory), memory);

    EXPECT_EQ(GlobalAlloc(GMEM_MOVEABLE, ~SIZE_T(0)), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_NOT_ENOUGH_MEMORY));
    EXPECT_EQ(GlobalAlloc(0x8000, 4), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
}

TEST(GlobalMemory, ReallocationKeepsContentsAndZeroesWhatIsAdded) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, 4);
    std::memcpy(GlobalLock(memory), "abcd", 4);
    GlobalUnlock(memory);
    EXPECT_EQ(GlobalReAlloc(memory, 10000, GMEM_ZEROINIT), memory);
    EXPECT_EQ(GlobalSize(memory), 10000u);
    const char* bytes = static_cast<const char*>(GlobalLock(memory));
    EXPECT_EQ(std::memcmp(bytes, "abcd", 4), 0);
    EXPECT_TRUE(AllZero(bytes + 4, 10000 - 4));

    // A locked block cannot move unless asked to.
    EXPECT_EQ(GlobalReAlloc(memory, 20000, 0), nullptr);
    EXPECT_EQ(GlobalSize(memory), 10000u);
    EXPECT_EQ(GlobalReAlloc(memory, 2, 0), memory);
    EXPECT_EQ(GlobalLock(memory), bytes);
    EXPECT_EQ(GlobalSize(memory), 2u);
    GlobalFree(memory);

    HGLOBAL fixed = GlobalAlloc(GMEM_FIXED, 4);
    std::memcpy(fixed, "wxyz", 4);
    EXPECT_EQ(GlobalReAlloc(fixed, 50000, 0), nullptr);
    HGLOBAL moved = GlobalReAlloc(fixed, 50000, GMEM_MOVEABLE | GMEM_ZEROINIT);
    ASSERT_NE(moved, nullptr);
    EXPECT_EQ(GlobalLock(moved), moved);
    EXPECT_EQ(std::memcmp(moved, "wxyz", 4), 0);
    EXPECT_TRUE(AllZero(static_cast<char*>(moved) + 4, 50000 - 4));
    if (moved != fixed) {
        EXPECT_EQ(GlobalSize(fixed), 0u);
    }
    GlobalFree(moved);
}

}  // namespace
