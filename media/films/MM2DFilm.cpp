#include "media/films/MM2DFilm.h"

MM2DFilm::MM2DFilm(MMResourceId id)
    : MM2DFilm(id == kMMNoResource ? nullptr : MM2DGetFilmCollection(id), MMItemOf(id)) {}

MM2DFilm::MM2DFilm(MM2DFilmCollection* collection, int16_t film) {
  if (collection == nullptr || film < 0 || film >= collection->GetFilmCount()) return;
  mCollection = collection;
  mReference.Set(collection->GetReferenceManager(), film);
}

MMResourceId MM2DFilm::GetId() const {
  if (IsEmpty()) return kMMNoResource;
  return MM2DFilmIdFromCollection(mCollection, GetFilm());
}

void MM2DFilm::Release() {
  mReference.Release();
  mCollection = nullptr;
}
