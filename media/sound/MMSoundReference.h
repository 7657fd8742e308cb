#pragma once
// A counted reference to one sound of a sound collection, held by value:
// the item's reference through the collection's reference manager, and the
// collection that answers for the item.

#include "media/sound/MMSoundCollection.h"
#include "mm/resources/MMCollectionRegistry.h"
#include "mm/resources/MMResourceReference.h"

#include <cstdint>

class MMSoundReference {
 public:
  MMSoundReference() = default;
  // -1, an id whose collection is not registered or whose item lies
  // outside its collection give an empty reference.
  explicit MMSoundReference(MMResourceId id);
  // Empty for a null collection or an item outside it.
  MMSoundReference(MMSoundCollection* collection, int16_t item);

  bool IsEmpty() const { return mReference.IsEmpty(); }
  // -1 when empty or when the collection is no longer registered.
  MMResourceId GetId() const;
  MMSoundCollection* GetCollection() const { return mCollection; }
  int16_t GetItem() const { return mReference.GetItem(); }

  // The sound's answers; an empty reference answers 0, null or an empty
  // envelope.
  MMSoundFormat GetFormat() const;
  // The duration in milliseconds.
  int32_t GetInfo() const;
  int32_t GetSize() const;
  MMSoundSource* CreateSource() const;
  bool HasEnvelope() const;
  MMSoundEnvelope ReadEnvelope() const;

 private:
  MMResourceReference mReference;
  MMSoundCollection* mCollection = nullptr;
};
