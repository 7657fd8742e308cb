#include "foundation/uu/UURefCount.h"

#include "foundation/al/ALAllocator.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Counted {
  explicit Counted(int* deletions) : mDeletions(deletions) {}
  virtual ~Counted() { ++*mDeletions; }
  int* mDeletions;
};

// Counts the blocks the cell pool takes from the global allocator.
class BlockCounter : public ALAllocator {
 public:
  void* Allocate(size_t size, ALMemToolsRecord* record) override {
    ++mAllocations;
    return ALAllocator::Allocate(size, record);
  }
  void Free(void* block, ALMemToolsRecord* record) override {
    ++mFrees;
    ALAllocator::Free(block, record);
  }
  int mAllocations = 0;
  int mFrees = 0;
};

TEST(UURefCountTest, TheLastOfThreeCopiesDeletesOnce) {
  int deletions = 0;
  UURefCount<Counted> empty;
  UURefCount<Counted> copyOfEmpty(empty);
  EXPECT_TRUE(copyOfEmpty.IsEmpty());
  {
    UURefCount<Counted> first(new Counted(&deletions));
    UURefCount<Counted> second(first);
    UURefCount<Counted> third;
    third = second;
    first.Reset();
    second.Reset();
    EXPECT_EQ(deletions, 0);
    EXPECT_FALSE(third.IsEmpty());
  }
  EXPECT_EQ(deletions, 1);

  UURefCount<Counted> handle(new Counted(&deletions));
  UURefCount<Counted>& same = handle;
  handle = same;
  handle.Reset(new Counted(&deletions));
  EXPECT_EQ(deletions, 2);
}

TEST(UURefCountTest, ThePoolGrowsByBlocksAndGivesThemBack) {
  BlockCounter counter;
  ALAllocator* previous = ALGlobalAllocator;
  ALGlobalAllocator = &counter;
  int deletions = 0;
  std::vector<UURefCount<Counted>> handles;
  for (int i = 0; i < 255; ++i) handles.emplace_back(new Counted(&deletions));
  EXPECT_EQ(counter.mAllocations, 1);
  handles.emplace_back(new Counted(&deletions));
  EXPECT_EQ(counter.mAllocations, 2);
  handles.clear();
  EXPECT_EQ(counter.mFrees, 2);
  UURefCount<Counted> again(new Counted(&deletions));
  EXPECT_EQ(counter.mAllocations, 3);
  again.Reset();
  ALGlobalAllocator = previous;
  EXPECT_EQ(deletions, 257);
}

}  // namespace
