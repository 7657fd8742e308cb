#pragma once
// The handle of one film: a counted reference to a film of a film
// collection, held by value. Copies add a reference; the last one to go
// lets the film be purged at the next act switch.

#include "media/films/MM2DFilmCollection.h"
#include "mm/resources/MMResourceReference.h"

#include <cstdint>

class MM2DFilm {
 public:
  MM2DFilm() = default;
  // -1, an id whose collection is not registered or whose film lies
  // outside its collection give an empty handle.
  explicit MM2DFilm(MMResourceId id);
  // Empty for a null collection or a film outside it.
  MM2DFilm(MM2DFilmCollection* collection, int16_t film);

  bool IsEmpty() const { return mReference.IsEmpty(); }
  // -1 when empty or when the collection is no longer registered.
  MMResourceId GetId() const;
  MM2DFilmCollection* GetCollection() const { return mCollection; }
  int16_t GetFilm() const { return mReference.GetItem(); }
  void Release();

  // The film's answers; the handle must not be empty.
  int32_t GetPixelFormat() const { return mCollection->GetPixelFormat(GetFilm()); }
  int32_t GetSubFormat() const { return mCollection->GetSubFormat(GetFilm()); }
  bool HasPalette() const { return mCollection->HasPalette(GetFilm()); }
  const MMPalette& GetPalette() const { return mCollection->GetPalette(GetFilm()); }
  const UURect& GetRectangle() const { return mCollection->GetRectangle(GetFilm()); }
  int32_t GetWorkBufferSize() const { return mCollection->GetWorkBufferSize(GetFilm()); }
  int32_t GetSoundTrackCount() const { return mCollection->GetSoundTrackCount(GetFilm()); }
  int32_t GetSoundLeadTime() const { return mCollection->GetSoundLeadTime(GetFilm()); }
  MM2DFilmSoundSource* CreateSoundSource(int32_t track) const {
    return mCollection->CreateSoundSource(GetFilm(), track);
  }
  MM2DFilmStream* OpenStream() const { return mCollection->OpenStream(GetFilm()); }

 private:
  MMResourceReference mReference;
  MM2DFilmCollection* mCollection = nullptr;
};
