#pragma once
// The memory of the items of one resource collection, in movable blocks of
// the global heap. All caches share one memory budget and one use clock:
// when a block would exceed the budget, or the heap refuses it, the least
// recently used unlocked item of any cache is purged and the allocation
// tried again.

#include "platform/win32/kernel.h"

#include <cstdint>

class MMResourceCache {
 public:
  enum EntryFlags : uint16_t {
    kReferenced = 0x1,
    kPurged = 0x2,
    kPinned = 0x4,
    kAlsoPins = 0x8,
    kPurgeOnRelease = 0x10,
  };

  // name is copied (at most 31 characters); at most 32767 items.
  MMResourceCache(const char* name, int16_t itemCount);
  // Unlinks the cache and frees its pages; owners free the items' blocks
  // first (FreeAll).
  ~MMResourceCache();
  MMResourceCache(const MMResourceCache&) = delete;
  MMResourceCache& operator=(const MMResourceCache&) = delete;

  int16_t GetItemCount() const { return mItemCount; }
  const char* GetName() const { return mName; }

  // A new block of size bytes for the item, not locked; false when no
  // purge could make room (the entry is then left as it was).
  bool Allocate(int16_t item, uint32_t size);
  bool HasMemory(int16_t item) const { return Entry(item).mHandle != nullptr; }
  void Free(int16_t item);
  void FreeAll();
  // Takes the block of an unlocked item away (references do not protect
  // it); answers the bytes freed, 0 when locked or without a block.
  uint32_t Purge(int16_t item);
  bool IsPurged(int16_t item) const { return (Entry(item).mFlags & kPurged) != 0; }

  bool Lock(int16_t item);
  void Unlock(int16_t item);
  int16_t GetLockCount(int16_t item) const { return Entry(item).mLockCount; }
  HGLOBAL GetHandle(int16_t item) const { return Entry(item).mHandle; }
  void* GetAddress(int16_t item) { return GetMemoryAddress(item, Entry(item).mHandle); }
  uint32_t GetSize(int16_t item) { return GetMemorySize(item, Entry(item).mHandle); }
  uint32_t GetStamp(int16_t item) const { return Entry(item).mStamp; }

  void MarkReferenced(int16_t item) { Entry(item).mFlags |= kReferenced; }
  bool IsReferenced(int16_t item) const { return (Entry(item).mFlags & kReferenced) != 0; }
  // Purges the item when it is marked to go with its last reference.
  void ClearReferenced(int16_t item);
  void Pin(int16_t item) { Entry(item).mFlags |= kPinned; }
  void Unpin(int16_t item) { Entry(item).mFlags &= static_cast<uint16_t>(~kPinned); }
  bool IsPinned(int16_t item) const { return (Entry(item).mFlags & (kPinned | kAlsoPins)) != 0; }
  void SetPurgeOnRelease(int16_t item) { Entry(item).mFlags |= kPurgeOnRelease; }
  void ClearPurgeOnRelease(int16_t item) {
    Entry(item).mFlags &= static_cast<uint16_t>(~kPurgeOnRelease);
  }
  bool IsPurgeOnRelease(int16_t item) const { return (Entry(item).mFlags & kPurgeOnRelease) != 0; }

  // 0 means no budget. Lowering it below the memory in use purges at once.
  static void SetMemoryBudget(uint32_t bytes);
  static uint32_t GetMemoryBudget() { return sMemoryBudget; }
  static uint32_t GetMemoryInUse() { return sMemoryInUse; }
  static uint32_t PurgeLeastRecentlyUsed();
  static uint32_t NextStamp();
  static void CompactMemory();

 protected:
  // The memory primitives on one item's block.
  virtual HGLOBAL AllocateMemory(int16_t item, uint32_t size);
  virtual void FreeMemory(int16_t item, HGLOBAL handle);
  virtual bool LockMemory(int16_t item, HGLOBAL handle);
  virtual void UnlockMemory(int16_t item, HGLOBAL handle);
  // Valid while the item's lock count keeps the block locked.
  virtual void* GetMemoryAddress(int16_t item, HGLOBAL handle);
  virtual uint32_t GetMemorySize(int16_t item, HGLOBAL handle);

 private:
  static constexpr int32_t kPageSize = 256;

  // The handle is pointer-sized here: the heap's handles are pointers on a
  // 64-bit machine, where the entry's 32-bit field could not hold one.
  struct CacheEntry {
    HGLOBAL mHandle = nullptr;
    uint16_t mFlags = 0;
    int16_t mLockCount = 0;
    uint32_t mStamp = 0;
  };

  CacheEntry& Entry(int16_t item) { return mPages[item >> 8][item & 0xFF]; }
  const CacheEntry& Entry(int16_t item) const { return mPages[item >> 8][item & 0xFF]; }
  int32_t PageLength(int32_t page) const;
  // Frees the item's block and takes its size off the memory in use.
  uint32_t ReleaseBlock(int16_t item);
  // The least recently used candidate of this cache, better than *stamp.
  int16_t FindOldest(bool admitReferenced, uint32_t* stamp) const;
  void HalveStamps();

  int16_t mItemCount;
  int16_t mPageCount;
  CacheEntry** mPages;
  char mName[32];
  MMResourceCache* mNext;

  static MMResourceCache* sFirst;
  static uint32_t sMemoryBudget;
  static uint32_t sMemoryInUse;
  static uint32_t sClock;
};
