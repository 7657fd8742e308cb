#include "foundation/uu/UUGrowableArray.h"

#include "foundation/uu/UUOwned.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

TEST(UUGrowableArrayTest, CapacityAtLeastDoubles) {
  UUGrowableArray<int32_t> array;
  int32_t expected[] = {1, 2, 4, 4, 8};
  for (int32_t capacity : expected) {
    array.Append(array.Count());
    EXPECT_EQ(array.Capacity(), capacity);
  }
  array.EraseRange(4, 5);
  EXPECT_EQ(array.Count(), 4);
  array.Compact();
  EXPECT_EQ(array.Capacity(), 4);
  array.Compact();
  EXPECT_EQ(array.Capacity(), 4);
  array.Insert(1, 10, 7);
  EXPECT_EQ(array.Capacity(), 14);
  EXPECT_EQ(array.Count(), 14);
  const int32_t order[] = {0, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 1, 2, 3};
  for (int32_t i = 0; i < 14; ++i) EXPECT_EQ(array[i], order[i]) << i;
}

TEST(UUGrowableArrayTest, InsertingAnOwnElementSurvivesGrowing) {
  UUGrowableArray<int64_t> array;
  array.Append(5);
  array.Insert(0, 3, array[0]);
  EXPECT_EQ(array.Count(), 4);
  for (int64_t value : array) EXPECT_EQ(value, 5);
  array.EraseRange(0, 2);
  EXPECT_EQ(array.Count(), 2);
}

TEST(UUGrowableArrayTest, ElementsStayAlignedAndOwnedElementsMove) {
  struct alignas(16) Wide {
    int64_t mLow;
    int64_t mHigh;
  };
  UUGrowableArray<Wide> wide;
  wide.Append(Wide{1, 2});
  EXPECT_EQ(reinterpret_cast<uintptr_t>(wide.Begin()) % 16, 0u);

  int deletions = 0;
  struct Counted {
    explicit Counted(int* deletions) : mDeletions(deletions) {}
    ~Counted() { ++*mDeletions; }
    int* mDeletions;
  };
  {
    UUGrowableArray<UUOwned<Counted>> owned;
    for (int i = 0; i < 5; ++i) owned.Append(UUOwned<Counted>(new Counted(&deletions)));
    owned.Compact();
    EXPECT_EQ(deletions, 0);
    owned.EraseRange(0, 1);
    EXPECT_EQ(deletions, 1);
  }
  EXPECT_EQ(deletions, 5);
}

}  // namespace
