#pragma once
// Counted references to the items of a collection. The standard manager
// keeps one count per item and marks the item's cache entry while it is
// referenced, so that the act switch keeps exactly the referenced items.

#include "mm/resources/MMResourceCache.h"

#include <cstdint>

class MMReferenceManager {
 public:
  MMReferenceManager() = default;
  virtual ~MMReferenceManager() = default;
  MMReferenceManager(const MMReferenceManager&) = delete;
  MMReferenceManager& operator=(const MMReferenceManager&) = delete;

  virtual int16_t ItemCount() = 0;
  virtual void AddReference(int16_t item) = 0;
  virtual void ReleaseReference(int16_t item) = 0;
  virtual int16_t ReferenceCount(int16_t item) = 0;
};

class MMStandardReferenceManager : public MMReferenceManager {
 public:
  MMStandardReferenceManager(int16_t itemCount, MMResourceCache& cache);
  ~MMStandardReferenceManager() override;

  int16_t ItemCount() override { return mItemCount; }
  // The first reference marks the item referenced in the cache.
  void AddReference(int16_t item) override;
  // The last one clears the mark (purging an item marked to go with it).
  void ReleaseReference(int16_t item) override;
  int16_t ReferenceCount(int16_t item) override { return mCounts[item]; }

 private:
  int16_t mItemCount;
  int16_t* mCounts;
  MMResourceCache& mCache;
};

// One count for all items together.
class MMDummyReferenceManager : public MMReferenceManager {
 public:
  explicit MMDummyReferenceManager(int32_t itemCount) : mItemCount(itemCount) {}

  int16_t ItemCount() override { return static_cast<int16_t>(mItemCount); }
  void AddReference(int16_t) override { ++mTotal; }
  void ReleaseReference(int16_t) override { --mTotal; }
  // The total, or 32767 when it is that high or negative.
  int16_t ReferenceCount(int16_t) override;

 private:
  int32_t mItemCount;
  int32_t mTotal = 0;
};
