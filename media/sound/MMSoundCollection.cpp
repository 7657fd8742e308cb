#include "media/sound/MMSoundCollection.h"

namespace {

// The collection of the id when it holds the id's item.
MMSoundCollection* CollectionHolding(MMResourceId id) {
  MMSoundCollection* collection = MMFindSoundCollection(id);
  const int16_t item = MMItemOf(id);
  if (collection == nullptr || item < 0 || item >= collection->GetItemCount()) return nullptr;
  return collection;
}

}  // namespace

MMCollectionRegistry<MMSoundCollection>& MMSoundRegistry() {
  static MMCollectionRegistry<MMSoundCollection> registry;
  return registry;
}

MMSoundCollection::MMSoundCollection(uint16_t collectionNumber)
    : mCollectionNumber(collectionNumber) {
  MMSoundRegistry().Set(this, collectionNumber);
}

MMSoundCollection::~MMSoundCollection() {
  if (MMSoundRegistry().Get(mCollectionNumber) == this) MMSoundRegistry().Remove(mCollectionNumber);
}

MMResourceId MMMakeSoundId(MMSoundCollection* collection, int16_t item) {
  if (collection == nullptr || !MMSoundRegistry().Contains(collection)) return kMMNoResource;
  return MMMakeResourceId(collection->GetCollectionNumber(), static_cast<uint16_t>(item));
}

MMSoundCollection* MMFindSoundCollection(MMResourceId id) {
  return MMSoundRegistry().Get(MMCollectionOf(id));
}

void MMAddSoundReference(MMResourceId id) {
  if (MMSoundCollection* collection = CollectionHolding(id)) {
    collection->GetReferenceManager()->AddReference(MMItemOf(id));
  }
}

void MMReleaseSoundReference(MMResourceId id) {
  if (MMSoundCollection* collection = CollectionHolding(id)) {
    collection->GetReferenceManager()->ReleaseReference(MMItemOf(id));
  }
}

void MMLoadSound(MMResourceId id) {
  if (MMSoundCollection* collection = CollectionHolding(id)) collection->LoadItem(MMItemOf(id));
}

void MMPurgeSound(MMResourceId id) {
  if (MMSoundCollection* collection = CollectionHolding(id)) collection->PurgeItem(MMItemOf(id));
}

void MMDestroySoundCollections() { MMSoundRegistry().DeleteAll(); }
