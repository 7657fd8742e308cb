#include "media/films/MM2DFilmCollection.h"

namespace {

// The collection of the id when it holds the id's film.
MM2DFilmCollection* CollectionHolding(MMResourceId id) {
  MM2DFilmCollection* collection = MM2DGetFilmCollection(id);
  const int16_t film = MMItemOf(id);
  if (collection == nullptr || film < 0 || film >= collection->GetFilmCount()) return nullptr;
  return collection;
}

}  // namespace

MMCollectionRegistry<MM2DFilmCollection>& MM2DFilmRegistry() {
  static MMCollectionRegistry<MM2DFilmCollection> registry;
  return registry;
}

MM2DFilmCollection::MM2DFilmCollection(uint16_t collectionNumber)
    : mCollectionNumber(collectionNumber) {
  MM2DFilmRegistry().Set(this, collectionNumber);
}

MM2DFilmCollection::~MM2DFilmCollection() {
  if (MM2DFilmRegistry().Get(mCollectionNumber) == this) {
    MM2DFilmRegistry().Remove(mCollectionNumber);
  }
}

MM2DFilmCollection* MM2DGetFilmCollection(MMResourceId id) {
  return MM2DFilmRegistry().Get(MMCollectionOf(id));
}

MMResourceId MM2DFilmIdFromCollection(MM2DFilmCollection* collection, int16_t film) {
  if (collection == nullptr || !MM2DFilmRegistry().Contains(collection)) return kMMNoResource;
  return MMMakeResourceId(collection->GetCollectionNumber(), static_cast<uint16_t>(film));
}

void MM2DAddFilmReference(MMResourceId id) {
  if (MM2DFilmCollection* collection = CollectionHolding(id)) {
    collection->AddReference(MMItemOf(id));
  }
}

void MM2DReleaseFilmReference(MMResourceId id) {
  if (MM2DFilmCollection* collection = CollectionHolding(id)) {
    collection->ReleaseReference(MMItemOf(id));
  }
}

void MM2DLoadFilm(MMResourceId id) {
  if (MM2DFilmCollection* collection = CollectionHolding(id)) collection->LoadItem(MMItemOf(id));
}

void MM2DPurgeFilm(MMResourceId id) {
  if (MM2DFilmCollection* collection = CollectionHolding(id)) collection->PurgeItem(MMItemOf(id));
}

void MM2DDestroyFilmCollections() { MM2DFilmRegistry().DeleteAll(); }
