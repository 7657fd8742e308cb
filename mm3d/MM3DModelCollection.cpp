#include "mm3d/MM3DModelCollection.h"

#include "mm3d/MM3DModel.h"

MMCollectionRegistry<MM3DModelCollection>& MM3DModelRegistry() {
  static MMCollectionRegistry<MM3DModelCollection> registry;
  return registry;
}

MM3DModelCollection::MM3DModelCollection(uint16_t collectionNumber)
    : mCollectionNumber(collectionNumber) {
  MM3DModelRegistry().Set(this, collectionNumber);
}

MM3DModelCollection::~MM3DModelCollection() {
  if (MM3DModelRegistry().Get(mCollectionNumber) == this) {
    MM3DModelRegistry().Remove(mCollectionNumber);
  }
}

void MM3DDestroyModelCollections() { MM3DModelRegistry().DeleteAll(); }

UURefCount<MM3DModel> MM3DGetModel(MMResourceId id, MM3DDriverTextureMap* map) {
  MM3DModelCollection* collection = MM3DGetModelCollection(id);
  if (collection == nullptr) return {};
  return collection->GetModel(MMItemOf(id), map);
}

MM3DModelCollection* MM3DGetModelCollection(MMResourceId id) {
  return MM3DModelRegistry().Get(MMCollectionOf(id));
}

MMResourceId MM3DMakeModelId(const MM3DModelCollection* collection, int16_t i) {
  if (collection == nullptr || !MM3DModelRegistry().Contains(collection)) return kMMNoResource;
  return MMMakeResourceId(collection->GetCollectionNumber(), static_cast<uint16_t>(i));
}
