#pragma once
// The interface through which the sound system reaches a sound: its format,
// duration and size, sources of its PCM and its envelope. Every collection
// is numbered and registered in the sound registry, so that a sound id
// (collection number << 16 | item) names it anywhere.

#include "media/sound/MMSoundEnvelope.h"
#include "media/sound/MMSoundFormat.h"
#include "media/sound/MMSoundSource.h"
#include "mm/resources/MMCollectionRegistry.h"
#include "mm/resources/MMReferenceManager.h"
#include "mm/resources/MMResourceCollection.h"

#include <cstdint>

class MMSoundCollection : public MMResourceCollection {
 public:
  explicit MMSoundCollection(uint16_t collectionNumber);
  ~MMSoundCollection() override;

  uint16_t GetCollectionNumber() const { return mCollectionNumber; }
  // Items at or above the count are refused by every id operation.
  virtual int16_t GetItemCount() const = 0;
  virtual MMSoundFormat GetFormat(int16_t item) = 0;
  // Milliseconds.
  virtual int32_t GetDuration(int16_t item) = 0;
  // The bytes of PCM a source of the sound delivers.
  virtual int32_t GetSize(int16_t item) = 0;
  // A new source owned by the caller, or null.
  virtual MMSoundSource* CreateSoundSource(int16_t item) = 0;
  virtual bool HasEnvelope(int16_t item) = 0;
  // Empty when the sound has none.
  virtual MMSoundEnvelope ReadEnvelope(int16_t item) = 0;
  virtual MMReferenceManager* GetReferenceManager() = 0;
  // Brings the sound into memory, and lets it go.
  virtual void LoadItem(int16_t) {}
  virtual void PurgeItem(int16_t) {}

 private:
  uint16_t mCollectionNumber;
};

MMCollectionRegistry<MMSoundCollection>& MMSoundRegistry();

// -1 for a null or unregistered collection.
MMResourceId MMMakeSoundId(MMSoundCollection* collection, int16_t item);
// Null when no collection is registered under the id's number.
MMSoundCollection* MMFindSoundCollection(MMResourceId id);
// Operations on a sound id; an id whose collection is not registered, or
// whose item lies outside it, is ignored.
void MMAddSoundReference(MMResourceId id);
void MMReleaseSoundReference(MMResourceId id);
void MMLoadSound(MMResourceId id);
void MMPurgeSound(MMResourceId id);
// Deletes every registered sound collection.
void MMDestroySoundCollections();
