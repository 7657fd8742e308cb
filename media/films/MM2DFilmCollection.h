#pragma once
// The interface through which the film player reaches a film: its frame
// format, palette, rectangle and buffer sizes, its sound tracks, and its
// data as a stream read ahead on the streaming pulse thread. Every film
// collection is numbered and registered in the film registry, so that a
// film id (collection number << 16 | film) names it anywhere.

#include "foundation/uu/UURect.h"
#include "media/films/MM2DFilmSoundSource.h"
#include "media/films/MM2DFilmStream.h"
#include "mm/drawing/MMPalette.h"
#include "mm/resources/MMCollectionRegistry.h"
#include "mm/resources/MMReferenceManager.h"
#include "mm/resources/MMResourceCollection.h"

#include <cstdint>

class MM2DFilmCollection : public MMResourceCollection {
 public:
  explicit MM2DFilmCollection(uint16_t collectionNumber);
  ~MM2DFilmCollection() override;

  uint16_t GetCollectionNumber() const { return mCollectionNumber; }
  // Films at or above the count are refused by every id operation.
  virtual int16_t GetFilmCount() const = 0;
  // The image format of the frames: 0 8-bit palettized, 1 32-bit.
  virtual int32_t GetPixelFormat(int16_t film) = 0;
  virtual int32_t GetSubFormat(int16_t film) = 0;
  virtual bool HasPalette(int16_t film) = 0;
  virtual const MMPalette& GetPalette(int16_t film) = 0;
  virtual const UURect& GetRectangle(int16_t film) = 0;
  virtual int32_t GetWorkBufferSize(int16_t film) = 0;
  // 0 to 4.
  virtual int32_t GetSoundTrackCount(int16_t film) = 0;
  // Milliseconds.
  virtual int32_t GetSoundLeadTime(int16_t film) = 0;
  // A new source owned by the caller, or null.
  virtual MM2DFilmSoundSource* CreateSoundSource(int16_t film, int32_t track) = 0;
  // A new stream owned by the caller, or null.
  virtual MM2DFilmStream* OpenStream(int16_t film) = 0;
  virtual MMReferenceManager* GetReferenceManager() = 0;
  void AddReference(int16_t film) { GetReferenceManager()->AddReference(film); }
  void ReleaseReference(int16_t film) { GetReferenceManager()->ReleaseReference(film); }
  virtual void LoadItem(int16_t) {}
  virtual void PurgeItem(int16_t) {}

 private:
  uint16_t mCollectionNumber;
};

MMCollectionRegistry<MM2DFilmCollection>& MM2DFilmRegistry();

// Null when no collection is registered under the id's number.
MM2DFilmCollection* MM2DGetFilmCollection(MMResourceId id);
// -1 for a null or unregistered collection.
MMResourceId MM2DFilmIdFromCollection(MM2DFilmCollection* collection, int16_t film);
// Operations on a film id; an id whose collection is not registered, or
// whose film lies outside it, is ignored.
void MM2DAddFilmReference(MMResourceId id);
void MM2DReleaseFilmReference(MMResourceId id);
void MM2DLoadFilm(MMResourceId id);
void MM2DPurgeFilm(MMResourceId id);
// Deletes every registered film collection.
void MM2DDestroyFilmCollections();
