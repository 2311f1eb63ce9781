#include "platform/ole/GlobalMemory.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(GlobalMemory, BlockHasExactlyTheRequestedSizeAndStartsZeroed) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 28);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(GlobalSize(block), 28u);
    auto* bytes = static_cast<unsigned char*>(GlobalLock(block));
    ASSERT_NE(bytes, nullptr);
    for (int i = 0; i < 28; ++i)
        EXPECT_EQ(bytes[i], 0) << i;
    std::memset(bytes, 0xAB, 28);
    EXPECT_FALSE(GlobalUnlock(block));
    EXPECT_EQ(static_cast<unsigned char*>(GlobalLock(block))[27], 0xAB);
    GlobalUnlock(block);
    EXPECT_EQ(GlobalFree(block), nullptr);
}

TEST(GlobalMemory, LocksNestAndUnlockReportsWhetherStillLocked) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 4);
    void* first = GlobalLock(block);
    EXPECT_EQ(GlobalLock(block), first);
    EXPECT_TRUE(GlobalUnlock(block));
    EXPECT_FALSE(GlobalUnlock(block));
    EXPECT_FALSE(GlobalUnlock(block)) << "an unlocked block stays unlocked";
    GlobalFree(block);
}

TEST(GlobalMemory, EmptyBlockLocksToAnAddressButHoldsNoBytes) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 0);
    ASSERT_NE(block, nullptr);
    EXPECT_NE(GlobalLock(block), nullptr);
    EXPECT_EQ(GlobalSize(block), 0u);
    GlobalUnlock(block);
    GlobalFree(block);
}

TEST(GlobalMemory, NullHandleIsHarmlessEverywhere) {
    EXPECT_EQ(GlobalLock(nullptr), nullptr);
    EXPECT_FALSE(GlobalUnlock(nullptr));
    EXPECT_EQ(GlobalSize(nullptr), 0u);
    EXPECT_EQ(GlobalFree(nullptr), nullptr);
}

TEST(GlobalMemory, SizesAboveTheCapAreRefused) {
    EXPECT_EQ(GlobalAlloc(GMEM_MOVEABLE, kGlobalBlockMaxBytes + 1), nullptr);
    EXPECT_EQ(GlobalAlloc(GMEM_MOVEABLE, std::size_t(-1)), nullptr);
    // The largest allowed block is really handed out (calloc touches none of it).
    HGLOBAL largest = GlobalAlloc(GMEM_MOVEABLE, kGlobalBlockMaxBytes);
    ASSERT_NE(largest, nullptr);
    EXPECT_EQ(GlobalSize(largest), kGlobalBlockMaxBytes);
    GlobalFree(largest);
}
