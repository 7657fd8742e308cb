#include "media/sound/MMSoundReference.h"

MMSoundReference::MMSoundReference(MMResourceId id)
    : MMSoundReference(id == kMMNoResource ? nullptr : MMFindSoundCollection(id), MMItemOf(id)) {}

MMSoundReference::MMSoundReference(MMSoundCollection* collection, int16_t item) {
  if (collection == nullptr || item < 0 || item >= collection->GetItemCount()) return;
  mCollection = collection;
  mReference.Set(collection->GetReferenceManager(), item);
}

MMResourceId MMSoundReference::GetId() const {
  if (IsEmpty() || MMSoundRegistry().Get(mCollection->GetCollectionNumber()) != mCollection) {
    return kMMNoResource;
  }
  return MMMakeResourceId(mCollection->GetCollectionNumber(), static_cast<uint16_t>(GetItem()));
}

MMSoundFormat MMSoundReference::GetFormat() const {
  return IsEmpty() ? MMSoundFormat{} : mCollection->GetFormat(GetItem());
}

int32_t MMSoundReference::GetInfo() const {
  return IsEmpty() ? 0 : mCollection->GetDuration(GetItem());
}

int32_t MMSoundReference::GetSize() const {
  return IsEmpty() ? 0 : mCollection->GetSize(GetItem());
}

MMSoundSource* MMSoundReference::CreateSource() const {
  return IsEmpty() ? nullptr : mCollection->CreateSoundSource(GetItem());
}

bool MMSoundReference::HasEnvelope() const {
  return !IsEmpty() && mCollection->HasEnvelope(GetItem());
}

MMSoundEnvelope MMSoundReference::ReadEnvelope() const {
  return IsEmpty() ? MMSoundEnvelope() : mCollection->ReadEnvelope(GetItem());
}
