#include "platform/win32/kernel.h"
#include "platform/win32/testhooks.h"

#include <gtest/gtest.h>

namespace {

TEST(GlobalHeapTest, BlocksLockUnlockAndFreeByHandle) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, 40);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(GlobalSize(block), 40u);
  void* address = GlobalLock(block);
  ASSERT_NE(address, nullptr);
  EXPECT_EQ(GlobalLock(block), address);
  EXPECT_TRUE(GlobalUnlock(block));  // still locked once
  EXPECT_FALSE(GlobalUnlock(block));
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  EXPECT_FALSE(GlobalUnlock(block));
  EXPECT_EQ(GetLastError(), ERROR_NOT_LOCKED);
  EXPECT_EQ(GlobalFree(block), nullptr);
  // The handle is dead now: every call refuses it.
  EXPECT_EQ(GlobalFree(block), block);
  EXPECT_EQ(GlobalLock(block), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_EQ(GlobalSize(block), 0u);
}

TEST(GlobalHeapTest, TestLimitMakesAllocationFail) {
  vpl::platform::SetGlobalHeapLimit(100);
  HGLOBAL first = GlobalAlloc(GMEM_MOVEABLE, 60);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(GlobalCompact(0), 40u);
  EXPECT_EQ(GlobalAlloc(GMEM_MOVEABLE, 41), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_NOT_ENOUGH_MEMORY);
  GlobalFree(first);
  HGLOBAL second = GlobalAlloc(GMEM_MOVEABLE, 100);
  EXPECT_NE(second, nullptr);
  GlobalFree(second);
  vpl::platform::SetGlobalHeapLimit(0);
}

}  // namespace
