#pragma once
// Resource ids and the registry that resolves them. An id is the
// collection number << 16 | the item index; -1 names no resource. Each
// kind of resource has one registry: eight direct slots for the numbers 0
// to 7 and an ordered map, made at the first registration above 7, for the
// rest. Registries live until the process ends, so the map takes its
// memory from the process heap, never from an application's pool.

#include "foundation/al/ALAllocator.h"
#include "foundation/uu/UUOrderedMap.h"

#include <cstdint>

using MMResourceId = int32_t;
constexpr MMResourceId kMMNoResource = -1;

constexpr MMResourceId MMMakeResourceId(uint16_t collection, uint16_t item) {
  return static_cast<MMResourceId>(static_cast<uint32_t>(collection) << 16 | item);
}
constexpr uint16_t MMCollectionOf(MMResourceId id) {
  return static_cast<uint16_t>(static_cast<uint32_t>(id) >> 16);
}
constexpr int16_t MMItemOf(MMResourceId id) { return static_cast<int16_t>(id & 0xFFFF); }

template <typename T>
class MMCollectionRegistry {
 public:
  static constexpr int32_t kDirectSlots = 8;

  MMCollectionRegistry() = default;
  ~MMCollectionRegistry() { delete mOverflow; }
  MMCollectionRegistry(const MMCollectionRegistry&) = delete;
  MMCollectionRegistry& operator=(const MMCollectionRegistry&) = delete;

  // Null when the number is not registered.
  T* Get(uint16_t number) const {
    if (number < kDirectSlots) return mSlots[number];
    if (mOverflow == nullptr) return nullptr;
    auto* node = mOverflow->Find(&number);
    return node == mOverflow->End() ? nullptr : Map::ValueOf(node).mCollection;
  }

  // A number already taken is given to the new collection and the one that
  // held it is deleted: nothing else would ever delete it.
  void Set(T* collection, uint16_t number) {
    T* replaced = Get(number);
    Store(collection, number);
    if (replaced != collection) delete replaced;
  }

  void Remove(uint16_t number) {
    if (number < kDirectSlots) {
      mSlots[number] = nullptr;
    } else if (mOverflow != nullptr) {
      auto* node = mOverflow->Find(&number);
      if (node != mOverflow->End()) mOverflow->Erase(node);
    }
  }

  bool Contains(const T* collection) const {
    for (int32_t n = 0; n < Count(); ++n) {
      if (GetNth(n) == collection) return true;
    }
    return false;
  }

  int32_t Count() const {
    int32_t count = mOverflow == nullptr ? 0 : static_cast<int32_t>(mOverflow->Count());
    for (T* slot : mSlots) count += slot != nullptr ? 1 : 0;
    return count;
  }

  // The direct slots in number order, then the map in number order; n must
  // be below Count.
  T* GetNth(int32_t n) const {
    for (T* slot : mSlots) {
      if (slot != nullptr && n-- == 0) return slot;
    }
    auto* node = mOverflow->Begin();
    while (n-- > 0) node = UUOrderedMapIterator::Increment(node);
    return Map::ValueOf(node).mCollection;
  }

  // Deletes every registered collection (their destructors remove them)
  // and the overflow map.
  void DeleteAll() {
    for (int32_t number = 0; number < kDirectSlots; ++number) delete mSlots[number];
    while (mOverflow != nullptr && mOverflow->Count() > 0) {
      delete Map::ValueOf(mOverflow->Begin()).mCollection;
    }
    delete mOverflow;
    mOverflow = nullptr;
  }

 private:
  struct Entry {
    uint16_t mNumber;
    T* mCollection;
  };
  using Map = UUOrderedMap<Entry>;

  void Store(T* collection, uint16_t number) {
    if (number < kDirectSlots) {
      mSlots[number] = collection;
      return;
    }
    if (mOverflow == nullptr) {
      mOverflow = new (ALDefaultAllocator) Map(KeyOf, Less, ALBlockSource::ProcessWide());
    }
    auto inserted = mOverflow->InsertUnique(Entry{number, collection});
    if (!inserted.second) Map::ValueOf(inserted.first).mCollection = collection;
  }

  static const void* KeyOf(const Entry* entry) { return &entry->mNumber; }
  static bool Less(const void* a, const void* b) {
    return *static_cast<const uint16_t*>(a) < *static_cast<const uint16_t*>(b);
  }

  T* mSlots[kDirectSlots] = {};
  Map* mOverflow = nullptr;
};
