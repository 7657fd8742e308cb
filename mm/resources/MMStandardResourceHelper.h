#pragma once
// The act-switch passes over one collection's cache: purge what no one
// references, then give every referenced item a locked block, read the
// ones that were newly allocated and unlock them all. A collection that
// cannot get the memory undoes its own work.

#include "mm/resources/MMResourceCache.h"

#include <cstdint>

class MMStandardResourceHelperBase {
 public:
  explicit MMStandardResourceHelperBase(MMResourceCache& cache);
  virtual ~MMStandardResourceHelperBase();
  MMStandardResourceHelperBase(const MMStandardResourceHelperBase&) = delete;
  MMStandardResourceHelperBase& operator=(const MMStandardResourceHelperBase&) = delete;

  // Gives the item a block and locks it.
  virtual bool AllocateItem(int16_t item) = 0;
  // Reads the item's data into its locked block.
  virtual bool ReadItem(int16_t item) = 0;

  bool LoadReferenced();
  void EndLoadReferenced(bool success);
  void PurgeUnreferenced();

 private:
  enum ItemState : uint8_t { kUntouched = 0, kLocked = 1, kAllocated = 2 };

  // Unlocks every touched item; allocated ones are also freed unless read
  // is set and reading them succeeds.
  void Finish(bool read);

  int16_t mItemCount;
  MMResourceCache& mCache;
  // One state per item, present between LoadReferenced and
  // EndLoadReferenced.
  uint8_t* mStates = nullptr;
};

// Forwards the two item operations to a collection of class T.
template <typename T>
class MMStandardResourceHelper : public MMStandardResourceHelperBase {
 public:
  MMStandardResourceHelper(T* collection, MMResourceCache& cache)
      : MMStandardResourceHelperBase(cache), mCollection(collection) {}

  bool AllocateItem(int16_t item) override { return mCollection->AllocateItem(item); }
  bool ReadItem(int16_t item) override { return mCollection->ReadItem(item); }

 private:
  T* mCollection;
};
