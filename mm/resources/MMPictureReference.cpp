#include "mm/resources/MMPictureReference.h"

namespace {

constexpr uint8_t kTransparent = 255;

bool Holds(const MMPictureCollection* collection, int16_t item) {
  return collection != nullptr && item >= 0 && item < collection->GetItemCount();
}

}  // namespace

MMPictureReference::MMPictureReference(MMResourceId id)
    : MMPictureReference(id == kMMNoResource ? nullptr : MMGetPictureCollection(id), MMItemOf(id)) {
}

MMPictureReference::MMPictureReference(MMPictureCollection* collection, int16_t item) {
  if (!Holds(collection, item)) return;
  mReference.Set(collection->GetReferenceManager(), item);
  mCollection = collection;
}

void MMPictureReference::Set(const MMPictureReference& other) {
  mReference.Set(other.mReference.GetManager(), other.mReference.GetItem());
  mCollection = other.mCollection;
}

MMResourceId MMPictureReference::GetId() const {
  if (IsEmpty()) return kMMNoResource;
  return MMMakePictureId(mCollection, GetItem());
}

UUPoint MMPictureReference::GetSize() const {
  return IsEmpty() ? UUPoint{} : mCollection->GetSize(GetItem());
}

int32_t MMPictureReference::GetSubFormat() const {
  return IsEmpty() ? 0 : mCollection->GetSubFormat(GetItem());
}

int32_t MMPictureReference::GetBitsPerPixel() const {
  return IsEmpty() ? 0 : mCollection->GetBitsPerPixel(GetItem());
}

uint8_t MMPictureReference::GetTransparencyAt(UUPoint point) const {
  return IsEmpty() ? kTransparent : mCollection->GetTransparencyAt(GetItem(), point);
}

int32_t MMPictureReference::ClassifyPoint(UUPoint point) const {
  const uint8_t transparency = GetTransparencyAt(point);
  if (transparency == 0) return 0;
  if (transparency == kTransparent) return 1;
  return GetSubFormat();
}

bool MMPictureReference::ContainsPoint(UUPoint point) const {
  const UUPoint size = GetSize();
  return point.mX >= 0 && point.mX < size.mX && point.mY >= 0 && point.mY < size.mY;
}

bool MMPictureReference::IsBitmap() const { return !IsEmpty() && mCollection->IsBitmap(GetItem()); }

bool MMPictureReference::LockBitmap(MMBitmap* bitmap, const MMPalette** palette) const {
  return !IsEmpty() && mCollection->LockBitmap(GetItem(), bitmap, palette);
}

bool MMPictureReference::LockEncoded(MMEncodedImage* image, const MMPalette** palette) const {
  return !IsEmpty() && mCollection->LockEncoded(GetItem(), image, palette);
}

void MMPictureReference::Unlock() const {
  if (!IsEmpty()) mCollection->Unlock(GetItem());
}

bool MMPictureReference::GetPalette(MMPalette* palette) const {
  return !IsEmpty() && mCollection->GetPalette(GetItem(), palette);
}
