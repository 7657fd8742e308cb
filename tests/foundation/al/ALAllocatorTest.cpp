#include "foundation/al/ALAllocator.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

// Counts what passes through it and can be told to refuse.
class CountingAllocator : public ALAllocator {
 public:
  void* Allocate(size_t size, ALMemToolsRecord* record) override {
    ++mAllocations;
    mLastSize = size;
    return mRefuse ? nullptr : ALAllocator::Allocate(size, record);
  }
  void Free(void* block, ALMemToolsRecord* record) override {
    ++mFrees;
    ALAllocator::Free(block, record);
  }
  int mAllocations = 0;
  int mFrees = 0;
  size_t mLastSize = 0;
  bool mRefuse = false;
};

int gHandlerCalls = 0;
void CountingHandler() {
  ++gHandlerCalls;
  std::fputs("out-of-memory handler ran\n", stderr);
}

TEST(ALAllocatorTest, AllocationIsThreadedAfterStaticInitialisation) {
  EXPECT_EQ(ALAllocationLockMode(), kALLockThreaded);
  EXPECT_STREQ(ALCurrentMemToolsRecord().mFile, "at");
  EXPECT_STREQ(ALCurrentMemToolsRecord().mInfo, "no_memtools_debug_info");
  EXPECT_EQ(ALCurrentMemToolsRecord().mLine, -1);
}

TEST(ALAllocatorTest, BlocksAreSixteenByteAlignedForEverySize) {
  CountingAllocator allocator;
  std::vector<void*> blocks;
  for (size_t size : {0u, 1u, 3u, 15u, 16u, 17u, 31u, 100u, 4095u, 65537u}) {
    void* block = ALAllocate(size, &allocator, kALMustSucceed);
    ASSERT_NE(block, nullptr) << size;
    EXPECT_EQ(reinterpret_cast<uintptr_t>(block) % 16, 0u) << size;
    blocks.push_back(block);
    auto* plain = new char[size + 1];
    EXPECT_EQ(reinterpret_cast<uintptr_t>(plain) % 16, 0u) << size;
    delete[] plain;
  }
  for (void* block : blocks) operator delete(block);
  EXPECT_EQ(allocator.mFrees, static_cast<int>(blocks.size()));
}

TEST(ALAllocatorTest, ZeroBytesStillYieldsABlockWithItsOverhead) {
  CountingAllocator allocator;
  void* block = ALAllocate(0, &allocator, kALMayFail);
  EXPECT_NE(block, nullptr);
  EXPECT_EQ(allocator.mLastSize, 48u);
  operator delete(block);
}

TEST(ALAllocatorTest, EveryBlockReturnsToTheAllocatorThatMadeIt) {
  CountingAllocator first;
  CountingAllocator second;
  ALAllocator* saved = ALGlobalAllocator;
  ALGlobalAllocator = &first;
  void* fromFirst = ALAllocate(10, ALGlobalAllocator, kALMustSucceed);
  ALGlobalAllocator = nullptr;
  void* fromRunTime = ALAllocate(10, ALGlobalAllocator, kALMustSucceed);
  ALGlobalAllocator = &second;
  operator delete(fromFirst);
  operator delete(fromRunTime);
  ALGlobalAllocator = saved;
  EXPECT_EQ(first.mFrees, 1);
  EXPECT_EQ(second.mFrees, 0);
}

// A null block never reaches an allocator, nor the run time's free.
TEST(ALAllocatorTest, DeleteOfNullDoesNothing) {
  CountingAllocator allocator;
  ALAllocator* saved = ALGlobalAllocator;
  ALGlobalAllocator = &allocator;
  operator delete(static_cast<void*>(nullptr));
  ALFree(nullptr);
  ALGlobalAllocator = saved;
  EXPECT_EQ(allocator.mFrees, 0);
  EXPECT_EQ(allocator.mAllocations, 0);
}

TEST(ALAllocatorTest, PlacementNewConstructsFromTheGivenAllocator) {
  CountingAllocator allocator;
  auto* value = new (&allocator) std::vector<int>{1, 2, 3};
  EXPECT_EQ(allocator.mAllocations, 1);
  delete value;
  EXPECT_EQ(allocator.mFrees, 1);
}

TEST(ALAllocatorTest, OverAlignedObjectsKeepTheirAlignment) {
  struct alignas(64) Wide {
    char bytes[64];
  };
  auto* wide = new Wide[3];
  EXPECT_EQ(reinterpret_cast<uintptr_t>(wide) % 64, 0u);
  delete[] wide;
}

TEST(ALAllocatorTest, MayFailAllocationReturnsNullWithoutTheHandler) {
  CountingAllocator allocator;
  allocator.mRefuse = true;
  gHandlerCalls = 0;
  ALOutOfMemoryHandler previous = ALSetOutOfMemoryHandler(CountingHandler);
  EXPECT_EQ(ALAllocate(100, &allocator, kALMayFail), nullptr);
  EXPECT_EQ(gHandlerCalls, 0);
  EXPECT_EQ(ALSetOutOfMemoryHandler(previous), CountingHandler);
}

TEST(ALAllocatorTest, PlainNewThrowsWhenMemoryRunsOut) {
  volatile size_t huge = SIZE_MAX - 8;  // hidden from the compiler's size checks
  EXPECT_THROW((void)operator new(huge), std::bad_alloc);
  EXPECT_EQ(operator new(huge, std::nothrow), nullptr);
}

using ALAllocatorDeathTest = ::testing::Test;

TEST(ALAllocatorDeathTest, MustSucceedFailureRunsTheHandlerAndExitsWithMinusOne) {
  EXPECT_EXIT(
      {
        CountingAllocator allocator;
        allocator.mRefuse = true;
        ALSetOutOfMemoryHandler(CountingHandler);
        ALAllocate(100, &allocator, kALMustSucceed);
      },
      ::testing::ExitedWithCode(255), "out-of-memory handler ran");
}

TEST(ALAllocatorDeathTest, MustSucceedFailureExitsAlsoWithoutAHandler) {
  EXPECT_EXIT(
      {
        CountingAllocator allocator;
        allocator.mRefuse = true;
        ALSetOutOfMemoryHandler(nullptr);
        ALAllocate(100, &allocator, kALMustSucceed);
      },
      ::testing::ExitedWithCode(255), "");
}

}  // namespace
