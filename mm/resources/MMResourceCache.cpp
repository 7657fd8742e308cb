#include "mm/resources/MMResourceCache.h"

#include "foundation/al/ALAllocator.h"

#include <cstring>
#include <initializer_list>

namespace {

constexpr UINT kBlockFlags = GMEM_MOVEABLE | GMEM_DDESHARE;
constexpr uint32_t kClockTopBit = 0x80000000;
constexpr uint32_t kNoStamp = 0xFFFFFFFF;

}  // namespace

MMResourceCache* MMResourceCache::sFirst = nullptr;
uint32_t MMResourceCache::sMemoryBudget = 0;
uint32_t MMResourceCache::sMemoryInUse = 0;
uint32_t MMResourceCache::sClock = 0;

MMResourceCache::MMResourceCache(const char* name, int16_t itemCount)
    : mItemCount(itemCount < 0 ? 0 : itemCount),
      mPageCount(static_cast<int16_t>((mItemCount + kPageSize - 1) / kPageSize)),
      mPages(new (ALGlobalAllocator)
                 CacheEntry*[mPageCount == 0 ? size_t{1} : static_cast<size_t>(mPageCount)]),
      mName(),
      mNext(sFirst) {
  std::strncpy(mName, name, sizeof(mName) - 1);
  for (int32_t page = 0; page < mPageCount; ++page) {
    mPages[page] = new (ALGlobalAllocator) CacheEntry[static_cast<size_t>(PageLength(page))];
    for (int32_t i = 0; i < PageLength(page); ++i) mPages[page][i].mStamp = sClock;
  }
  sFirst = this;
}

MMResourceCache::~MMResourceCache() {
  for (MMResourceCache** link = &sFirst; *link != nullptr; link = &(*link)->mNext) {
    if (*link == this) {
      *link = mNext;
      break;
    }
  }
  for (int32_t page = 0; page < mPageCount; ++page) delete[] mPages[page];
  delete[] mPages;
}

int32_t MMResourceCache::PageLength(int32_t page) const {
  const int32_t rest = mItemCount - page * kPageSize;
  return rest < kPageSize ? rest : kPageSize;
}

bool MMResourceCache::Allocate(int16_t item, uint32_t size) {
  if (sMemoryBudget != 0) {
    while (static_cast<uint64_t>(sMemoryInUse) + size > sMemoryBudget) {
      if (PurgeLeastRecentlyUsed() == 0) return false;
    }
  }
  HGLOBAL handle = nullptr;
  for (;;) {
    handle = AllocateMemory(item, size);
    if (handle != nullptr) {
      sMemoryInUse += GetMemorySize(item, handle);
      break;
    }
    if (PurgeLeastRecentlyUsed() == 0) break;
  }
  CacheEntry& entry = Entry(item);
  const uint32_t stamp = NextStamp();
  entry.mFlags &= static_cast<uint16_t>(~kPurged);
  entry.mLockCount = 0;
  entry.mStamp = stamp;
  if (handle == nullptr) return false;
  entry.mHandle = handle;
  return true;
}

uint32_t MMResourceCache::ReleaseBlock(int16_t item) {
  CacheEntry& entry = Entry(item);
  const uint32_t size = GetMemorySize(item, entry.mHandle);
  sMemoryInUse -= size;
  FreeMemory(item, entry.mHandle);
  entry.mHandle = nullptr;
  return size;
}

void MMResourceCache::Free(int16_t item) {
  Entry(item).mFlags &= static_cast<uint16_t>(~kPurged);
  if (HasMemory(item)) ReleaseBlock(item);
}

void MMResourceCache::FreeAll() {
  for (int32_t item = 0; item < mItemCount; ++item) Free(static_cast<int16_t>(item));
}

uint32_t MMResourceCache::Purge(int16_t item) {
  if (!HasMemory(item) || Entry(item).mLockCount != 0) return 0;
  const uint32_t size = ReleaseBlock(item);
  Entry(item).mFlags |= kPurged;
  return size;
}

bool MMResourceCache::Lock(int16_t item) {
  CacheEntry& entry = Entry(item);
  if (entry.mHandle == nullptr) return false;
  if (entry.mLockCount == 0 && !LockMemory(item, entry.mHandle)) return false;
  ++entry.mLockCount;
  return true;
}

void MMResourceCache::Unlock(int16_t item) {
  CacheEntry& entry = Entry(item);
  --entry.mLockCount;
  const uint32_t stamp = NextStamp();
  entry.mStamp = stamp;
  if (entry.mLockCount == 0) UnlockMemory(item, entry.mHandle);
}

void MMResourceCache::ClearReferenced(int16_t item) {
  Entry(item).mFlags &= static_cast<uint16_t>(~kReferenced);
  if (IsPurgeOnRelease(item)) Purge(item);
}

void MMResourceCache::SetMemoryBudget(uint32_t bytes) {
  sMemoryBudget = bytes;
  while (sMemoryBudget != 0 && sMemoryBudget < sMemoryInUse) {
    if (PurgeLeastRecentlyUsed() == 0) break;
  }
}

int16_t MMResourceCache::FindOldest(bool admitReferenced, uint32_t* stamp) const {
  int16_t oldest = -1;
  for (int32_t item = mItemCount - 1; item >= 0; --item) {
    const CacheEntry& entry = Entry(static_cast<int16_t>(item));
    const bool candidate = entry.mHandle != nullptr && entry.mLockCount == 0 &&
                           (entry.mFlags & (kPinned | kAlsoPins)) == 0 &&
                           (admitReferenced || (entry.mFlags & kReferenced) == 0);
    if (candidate && entry.mStamp < *stamp) {
      *stamp = entry.mStamp;
      oldest = static_cast<int16_t>(item);
    }
  }
  return oldest;
}

uint32_t MMResourceCache::PurgeLeastRecentlyUsed() {
  // Unreferenced items go first; referenced ones only when nothing else can.
  for (bool admitReferenced : {false, true}) {
    MMResourceCache* chosenCache = nullptr;
    int16_t chosenItem = -1;
    uint32_t stamp = kNoStamp;
    for (MMResourceCache* cache = sFirst; cache != nullptr; cache = cache->mNext) {
      const int16_t item = cache->FindOldest(admitReferenced, &stamp);
      if (item >= 0) {
        chosenCache = cache;
        chosenItem = item;
      }
    }
    if (chosenCache != nullptr) {
      const uint32_t size = chosenCache->ReleaseBlock(chosenItem);
      chosenCache->Entry(chosenItem).mFlags |= kPurged;
      return size;
    }
  }
  return 0;
}

void MMResourceCache::HalveStamps() {
  for (int32_t page = 0; page < mPageCount; ++page) {
    for (int32_t i = 0; i < PageLength(page); ++i) mPages[page][i].mStamp >>= 16;
  }
}

uint32_t MMResourceCache::NextStamp() {
  // Past the top bit every stamp shrinks by 16 bits; old stamps stay below
  // every new one, so the order of use is kept.
  if ((sClock & kClockTopBit) != 0) {
    for (MMResourceCache* cache = sFirst; cache != nullptr; cache = cache->mNext) {
      cache->HalveStamps();
    }
  }
  return sClock++;
}

void MMResourceCache::CompactMemory() { GlobalCompact(0); }

HGLOBAL MMResourceCache::AllocateMemory(int16_t, uint32_t size) {
  return GlobalAlloc(kBlockFlags, size);
}

void MMResourceCache::FreeMemory(int16_t, HGLOBAL handle) { GlobalFree(handle); }

bool MMResourceCache::LockMemory(int16_t, HGLOBAL handle) { return GlobalLock(handle) != nullptr; }

void MMResourceCache::UnlockMemory(int16_t, HGLOBAL handle) { GlobalUnlock(handle); }

void* MMResourceCache::GetMemoryAddress(int16_t, HGLOBAL handle) {
  void* address = GlobalLock(handle);
  GlobalUnlock(handle);
  return address;
}

uint32_t MMResourceCache::GetMemorySize(int16_t, HGLOBAL handle) {
  return static_cast<uint32_t>(GlobalSize(handle));
}
