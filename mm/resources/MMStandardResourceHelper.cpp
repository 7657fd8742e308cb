#include "mm/resources/MMStandardResourceHelper.h"

#include "foundation/al/ALAllocator.h"

#include <cstring>

MMStandardResourceHelperBase::MMStandardResourceHelperBase(MMResourceCache& cache)
    : mItemCount(cache.GetItemCount()), mCache(cache) {}

MMStandardResourceHelperBase::~MMStandardResourceHelperBase() {
  if (mStates != nullptr) ALFree(mStates);
}

bool MMStandardResourceHelperBase::LoadReferenced() {
  mStates = static_cast<uint8_t*>(
      ALAllocate(static_cast<size_t>(mItemCount) + 1, ALDefaultAllocator, kALMayFail));
  if (mStates == nullptr) return false;
  std::memset(mStates, kUntouched, static_cast<size_t>(mItemCount));
  for (int16_t item = 0; item < mItemCount; ++item) {
    if (!mCache.IsReferenced(item)) continue;
    if (mCache.HasMemory(item) && mCache.Lock(item)) {
      mStates[item] = kLocked;
    } else if (AllocateItem(item)) {
      mStates[item] = kAllocated;
    } else {
      Finish(false);
      return false;
    }
  }
  return true;
}

void MMStandardResourceHelperBase::EndLoadReferenced(bool success) { Finish(success); }

void MMStandardResourceHelperBase::Finish(bool read) {
  if (mStates == nullptr) return;
  for (int16_t item = 0; item < mItemCount; ++item) {
    if (mStates[item] == kUntouched) continue;
    const bool keep = mStates[item] == kLocked || (read && ReadItem(item));
    mCache.Unlock(item);
    if (!keep) mCache.Free(item);
  }
  ALFree(mStates);
  mStates = nullptr;
}

void MMStandardResourceHelperBase::PurgeUnreferenced() {
  for (int16_t item = 0; item < mItemCount; ++item) {
    if (!mCache.IsReferenced(item) && mCache.GetLockCount(item) == 0) mCache.Free(item);
  }
}
