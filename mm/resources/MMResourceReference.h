#pragma once
// A counted reference to one item of a collection, held by value.

#include "mm/resources/MMReferenceManager.h"

#include <cstdint>

class MMResourceReference {
 public:
  MMResourceReference() = default;
  MMResourceReference(MMReferenceManager* manager, int16_t item);
  MMResourceReference(const MMResourceReference& other);
  MMResourceReference& operator=(const MMResourceReference& other);
  ~MMResourceReference() { Release(); }

  // Adds the new reference before releasing the old one, so that setting
  // the item already held never lets its count reach 0 in between.
  void Set(MMReferenceManager* manager, int16_t item);
  void Release();

  MMReferenceManager* GetManager() const { return mManager; }
  int16_t GetItem() const { return mItem; }
  bool IsEmpty() const { return mManager == nullptr; }

 private:
  MMReferenceManager* mManager = nullptr;
  int16_t mItem = -1;
};
