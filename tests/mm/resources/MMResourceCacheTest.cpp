#include "mm/resources/MMResourceCache.h"

#include "platform/win32/testhooks.h"

#include <gtest/gtest.h>

namespace {

// Every test leaves the process-wide budget and heap limit as it found them.
class MMResourceCacheTest : public ::testing::Test {
 protected:
  void TearDown() override {
    MMResourceCache::SetMemoryBudget(0);
    vpl::platform::SetGlobalHeapLimit(0);
  }
};

// Allocates each item in turn with the given size, unlocked.
void AllocateAll(MMResourceCache& cache, uint32_t size) {
  for (int16_t i = 0; i < cache.GetItemCount(); ++i) ASSERT_TRUE(cache.Allocate(i, size));
}

TEST_F(MMResourceCacheTest, EntriesLiveInPagesOf256) {
  for (int16_t count : {int16_t{1}, int16_t{256}, int16_t{257}, int16_t{600}}) {
    MMResourceCache cache("picture resource cache", count);
    ASSERT_TRUE(cache.Allocate(static_cast<int16_t>(count - 1), 8));
    EXPECT_TRUE(cache.HasMemory(static_cast<int16_t>(count - 1)));
    EXPECT_FALSE(cache.HasMemory(0) && count > 1);
    cache.FreeAll();
  }
  EXPECT_EQ(MMResourceCache::GetMemoryInUse(), 0u);
}

TEST_F(MMResourceCacheTest, LockUnlockPurgeAndFree) {
  MMResourceCache cache("c", 3);
  EXPECT_FALSE(cache.Lock(0));  // no block
  ASSERT_TRUE(cache.Allocate(0, 100));
  EXPECT_EQ(cache.GetSize(0), 100u);
  EXPECT_EQ(MMResourceCache::GetMemoryInUse(), 100u);
  ASSERT_TRUE(cache.Lock(0));
  ASSERT_TRUE(cache.Lock(0));
  EXPECT_EQ(cache.GetLockCount(0), 2);
  EXPECT_NE(cache.GetAddress(0), nullptr);
  EXPECT_EQ(cache.Purge(0), 0u);  // locked: nothing changes
  EXPECT_TRUE(cache.HasMemory(0));
  const uint32_t before = cache.GetStamp(0);
  cache.Unlock(0);  // still locked once, but stamped
  EXPECT_GT(cache.GetStamp(0), before);
  cache.Unlock(0);
  EXPECT_EQ(cache.Purge(0), 100u);
  EXPECT_TRUE(cache.IsPurged(0));
  EXPECT_FALSE(cache.HasMemory(0));
  EXPECT_EQ(MMResourceCache::GetMemoryInUse(), 0u);
  ASSERT_TRUE(cache.Allocate(0, 10));
  EXPECT_FALSE(cache.IsPurged(0));
  cache.Free(0);
  EXPECT_FALSE(cache.HasMemory(0));
}

TEST_F(MMResourceCacheTest, PurgeOnReleaseGoesWithTheLastReference) {
  MMResourceCache cache("c", 2);
  AllocateAll(cache, 16);
  cache.MarkReferenced(0);
  cache.MarkReferenced(1);
  cache.SetPurgeOnRelease(1);
  cache.ClearReferenced(0);
  cache.ClearReferenced(1);
  EXPECT_TRUE(cache.HasMemory(0));
  EXPECT_TRUE(cache.IsPurged(1));
  cache.FreeAll();
}

TEST_F(MMResourceCacheTest, LeastRecentlyUsedPrefersUnreferencedAndSkipsLockedOrPinned) {
  MMResourceCache cache("c", 5);
  AllocateAll(cache, 10);   // stamps rise with the index
  cache.MarkReferenced(0);  // oldest, but referenced
  ASSERT_TRUE(cache.Lock(1));
  cache.Pin(2);
  EXPECT_EQ(MMResourceCache::PurgeLeastRecentlyUsed(), 10u);
  EXPECT_TRUE(cache.IsPurged(3));
  EXPECT_EQ(MMResourceCache::PurgeLeastRecentlyUsed(), 10u);
  EXPECT_TRUE(cache.IsPurged(4));
  // Only the referenced item is left as a candidate.
  EXPECT_EQ(MMResourceCache::PurgeLeastRecentlyUsed(), 10u);
  EXPECT_TRUE(cache.IsPurged(0));
  EXPECT_EQ(MMResourceCache::PurgeLeastRecentlyUsed(), 0u);
  EXPECT_TRUE(cache.HasMemory(1));
  EXPECT_TRUE(cache.HasMemory(2));
  cache.Unlock(1);
  cache.FreeAll();
}

TEST_F(MMResourceCacheTest, UnlockingMakesAnItemRecentlyUsed) {
  MMResourceCache cache("c", 3);
  AllocateAll(cache, 4);
  ASSERT_TRUE(cache.Lock(0) && cache.Lock(2));
  cache.Unlock(2);
  cache.Unlock(0);  // 0 is now younger than 2; 1 is the oldest
  for (const int16_t expected : {int16_t{1}, int16_t{2}, int16_t{0}}) {
    EXPECT_EQ(MMResourceCache::PurgeLeastRecentlyUsed(), 4u);
    EXPECT_TRUE(cache.IsPurged(expected)) << expected;
  }
}

TEST_F(MMResourceCacheTest, BudgetPurgesAcrossCachesAndRefusesWhenNothingCanGo) {
  MMResourceCache older("older", 2);
  MMResourceCache newer("newer", 2);
  ASSERT_TRUE(older.Allocate(0, 100));
  ASSERT_TRUE(newer.Allocate(0, 100));
  MMResourceCache::SetMemoryBudget(250);
  ASSERT_TRUE(newer.Allocate(1, 100));  // the oldest block, older's, goes
  EXPECT_TRUE(older.IsPurged(0));
  ASSERT_TRUE(newer.Lock(0) && newer.Lock(1));
  EXPECT_FALSE(older.Allocate(1, 100));  // nothing unlocked to purge
  EXPECT_FALSE(older.HasMemory(1));
  MMResourceCache::SetMemoryBudget(150);  // cannot reach it: both locked
  EXPECT_EQ(MMResourceCache::GetMemoryInUse(), 200u);
  newer.Unlock(0);
  newer.Unlock(1);
  MMResourceCache::SetMemoryBudget(150);
  EXPECT_EQ(MMResourceCache::GetMemoryInUse(), 100u);
  older.FreeAll();
  newer.FreeAll();
}

TEST_F(MMResourceCacheTest, WithoutBudgetAHeapRefusalPurges) {
  MMResourceCache cache("c", 3);
  vpl::platform::SetGlobalHeapLimit(250);
  ASSERT_TRUE(cache.Allocate(0, 100));
  ASSERT_TRUE(cache.Allocate(1, 100));
  ASSERT_TRUE(cache.Allocate(2, 100));
  EXPECT_TRUE(cache.IsPurged(0));
  ASSERT_TRUE(cache.Lock(1) && cache.Lock(2));
  EXPECT_FALSE(cache.Allocate(0, 100));
  cache.Unlock(1);
  cache.Unlock(2);
  cache.FreeAll();
}

}  // namespace
