#include "mm/resources/MMReferenceManager.h"

#include "foundation/al/ALAllocator.h"

MMStandardReferenceManager::MMStandardReferenceManager(int16_t itemCount, MMResourceCache& cache)
    : mItemCount(itemCount < 0 ? 0 : itemCount),
      mCounts(new (ALGlobalAllocator)
                  int16_t[mItemCount == 0 ? size_t{1} : static_cast<size_t>(mItemCount)]()),
      mCache(cache) {}

MMStandardReferenceManager::~MMStandardReferenceManager() { delete[] mCounts; }

void MMStandardReferenceManager::AddReference(int16_t item) {
  if (++mCounts[item] == 1) mCache.MarkReferenced(item);
}

void MMStandardReferenceManager::ReleaseReference(int16_t item) {
  if (--mCounts[item] == 0) mCache.ClearReferenced(item);
}

int16_t MMDummyReferenceManager::ReferenceCount(int16_t) {
  return static_cast<uint32_t>(mTotal) < 32767 ? static_cast<int16_t>(mTotal) : int16_t{32767};
}
