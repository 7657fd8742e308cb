#include "mm/resources/MMResourceReference.h"

MMResourceReference::MMResourceReference(MMReferenceManager* manager, int16_t item)
    : mManager(manager), mItem(item) {
  if (mManager != nullptr) mManager->AddReference(mItem);
}

MMResourceReference::MMResourceReference(const MMResourceReference& other)
    : MMResourceReference(other.mManager, other.mItem) {}

MMResourceReference& MMResourceReference::operator=(const MMResourceReference& other) {
  Set(other.mManager, other.mItem);
  return *this;
}

void MMResourceReference::Set(MMReferenceManager* manager, int16_t item) {
  MMReferenceManager* oldManager = mManager;
  const int16_t oldItem = mItem;
  mManager = manager;
  mItem = item;
  if (mManager != nullptr) mManager->AddReference(mItem);
  if (oldManager != nullptr) oldManager->ReleaseReference(oldItem);
}

void MMResourceReference::Release() {
  MMReferenceManager* oldManager = mManager;
  const int16_t oldItem = mItem;
  mManager = nullptr;
  mItem = -1;
  if (oldManager != nullptr) oldManager->ReleaseReference(oldItem);
}
