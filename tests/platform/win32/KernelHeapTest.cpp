#include "platform/win32/kernel.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <future>
#include <vector>

namespace {

TEST(KernelHeapTest, EnforcesItsMaximumSize) {
  HANDLE heap = HeapCreate(0, 0, 1000);
  ASSERT_NE(heap, nullptr);
  void* first = HeapAlloc(heap, 0, 600);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(HeapAlloc(heap, 0, 600), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_NOT_ENOUGH_MEMORY);
  EXPECT_TRUE(HeapFree(heap, 0, first));
  EXPECT_NE(HeapAlloc(heap, 0, 600), nullptr);
  EXPECT_TRUE(HeapDestroy(heap));
}

TEST(KernelHeapTest, RefusesSizesThatOverflowWithTheBlockHeader) {
  for (SIZE_T maximum : {SIZE_T{0}, SIZE_T{1} << 20}) {
    HANDLE heap = HeapCreate(0, 0, maximum);
    ASSERT_NE(heap, nullptr);
    for (SIZE_T size : {SIZE_MAX, SIZE_MAX - 8}) {
      EXPECT_EQ(HeapAlloc(heap, HEAP_ZERO_MEMORY, size), nullptr) << maximum << " " << size;
      EXPECT_EQ(GetLastError(), ERROR_NOT_ENOUGH_MEMORY);
    }
    EXPECT_TRUE(HeapDestroy(heap));
  }
}

TEST(KernelHeapTest, AnswersBlockSizesAndAlignsBlocks) {
  HANDLE heap = HeapCreate(0, 0, 0);
  for (SIZE_T size : {1u, 7u, 52u, 4096u}) {
    void* block = HeapAlloc(heap, HEAP_ZERO_MEMORY, size);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(HeapSize(heap, 0, block), size);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(block) % 16, 0u);
    EXPECT_EQ(static_cast<unsigned char*>(block)[size - 1], 0);
  }
  HeapDestroy(heap);
}

TEST(KernelHeapTest, WalkAnswersTheRegionThenEveryBlock) {
  HANDLE heap = HeapCreate(0, 0, 1 << 20);
  void* a = HeapAlloc(heap, 0, 100);
  void* b = HeapAlloc(heap, 0, 200);
  PROCESS_HEAP_ENTRY entry{};
  ASSERT_TRUE(HeapLock(heap));
  ASSERT_TRUE(HeapWalk(heap, &entry));
  EXPECT_TRUE(entry.wFlags & PROCESS_HEAP_REGION);
  EXPECT_GE(entry.Region.dwCommittedSize, 300u);
  std::vector<void*> seen;
  while (HeapWalk(heap, &entry)) {
    EXPECT_TRUE(entry.wFlags & PROCESS_HEAP_ENTRY_BUSY);
    seen.push_back(entry.lpData);
  }
  EXPECT_EQ(GetLastError(), ERROR_NO_MORE_ITEMS);
  ASSERT_TRUE(HeapUnlock(heap));
  EXPECT_EQ(seen, (std::vector<void*>{a, b}));
  HeapDestroy(heap);
}

TEST(KernelHeapTest, HeapLockHoldsUpNoCallsOfAHeapWithoutSerialisation) {
  constexpr auto kGenerousWait = std::chrono::seconds(10);
  constexpr SIZE_T kBlockSize = 16;
  HANDLE heap = HeapCreate(HEAP_NO_SERIALIZE, 0, 0);
  ASSERT_NE(heap, nullptr);
  ASSERT_TRUE(HeapLock(heap));
  auto other = std::async(std::launch::async, [heap] {
    void* block = HeapAlloc(heap, 0, kBlockSize);
    return block != nullptr && HeapFree(heap, 0, block);
  });
  EXPECT_EQ(other.wait_for(kGenerousWait), std::future_status::ready);
  EXPECT_TRUE(HeapUnlock(heap));
  EXPECT_TRUE(other.get());
  EXPECT_TRUE(HeapDestroy(heap));
}

TEST(KernelHeapTest, RejectsBlocksOfOtherHeaps) {
  HANDLE first = HeapCreate(0, 0, 0);
  HANDLE second = HeapCreate(0, 0, 0);
  void* block = HeapAlloc(first, 0, 10);
  EXPECT_FALSE(HeapFree(second, 0, block));
  EXPECT_EQ(HeapSize(second, 0, block), static_cast<SIZE_T>(-1));
  EXPECT_TRUE(HeapFree(first, 0, block));
  HeapDestroy(first);
  HeapDestroy(second);
}

TEST(KernelVersionTest, AnswersWindowsNT5) {
  OSVERSIONINFOA info{};
  EXPECT_FALSE(GetVersionExA(&info));
  info.dwOSVersionInfoSize = sizeof info;
  ASSERT_TRUE(GetVersionExA(&info));
  EXPECT_EQ(info.dwPlatformId, VER_PLATFORM_WIN32_NT);
  EXPECT_EQ(info.dwMajorVersion, 5u);
}

}  // namespace
