#include "mm/resources/MMPictureCollection.h"

#include <cstring>

namespace {

constexpr uint8_t kTransparent = 255;

// The collection of the id when it holds the id's item.
MMPictureCollection* CollectionHolding(MMResourceId id) {
  MMPictureCollection* collection = MMGetPictureCollection(id);
  const int16_t item = MMItemOf(id);
  if (collection == nullptr || item < 0 || item >= collection->GetItemCount()) return nullptr;
  return collection;
}

}  // namespace

MMCollectionRegistry<MMPictureCollection>& MMPictureRegistry() {
  static MMCollectionRegistry<MMPictureCollection> registry;
  return registry;
}

MMPictureCollection::MMPictureCollection(uint16_t collectionNumber)
    : mCollectionNumber(collectionNumber) {
  MMPictureRegistry().Set(this, collectionNumber);
}

MMPictureCollection::~MMPictureCollection() {
  if (MMPictureRegistry().Get(mCollectionNumber) == this)
    MMPictureRegistry().Remove(mCollectionNumber);
}

bool MMPictureCollection::LockAny(int16_t item, MMBitmap* bitmap, MMEncodedImage* image,
                                  const MMPalette** palette) {
  return IsBitmap(item) ? LockBitmap(item, bitmap, palette) : LockEncoded(item, image, palette);
}

void MMPictureCollection::Load(int16_t item) {
  MMBitmap bitmap;
  MMEncodedImage image;
  if (LockAny(item, &bitmap, &image, nullptr)) Unlock(item);
}

uint8_t MMPictureCollection::GetTransparencyAt(int16_t item, UUPoint point) {
  if (GetSubFormat(item) == kMMSubFormatCopy) return 0;
  MMBitmap bitmap;
  MMEncodedImage image;
  const MMPalette* palette = nullptr;
  if (!LockAny(item, &bitmap, &image, &palette)) return kTransparent;
  const MMImageDescription& description =
      IsBitmap(item) ? static_cast<const MMImageDescription&>(bitmap) : image;
  const bool inside = point.mX >= 0 && point.mY >= 0 && point.mX < description.GetWidth() &&
                      point.mY < description.GetHeight();
  const uint8_t* pixel = nullptr;
  if (inside) {
    pixel = IsBitmap(item) ? bitmap.GetPixelAddress(point.mX, point.mY)
                           : image.FindPixel(point.mX, point.mY);
  }
  uint8_t transparency = kTransparent;
  if (pixel != nullptr && description.mFormat == kMMFormat32) {
    transparency = pixel[3];
  } else if (pixel != nullptr && *pixel == 0) {
    transparency = kTransparent;
  } else if (pixel != nullptr) {
    const int32_t subFormat = description.mSubFormat;
    transparency = subFormat == kMMSubFormatKeyed || palette == nullptr
                       ? 0
                       : palette->mEntries[*pixel].mTransparency;
  }
  Unlock(item);
  return transparency;
}

bool MMPictureCollection::GetPalette(int16_t item, MMPalette* palette) {
  MMBitmap bitmap;
  MMEncodedImage image;
  const MMPalette* own = nullptr;
  if (!LockAny(item, &bitmap, &image, &own)) return false;
  if (own != nullptr) std::memcpy(palette, own, sizeof(MMPalette));
  Unlock(item);
  return own != nullptr;
}

MMPictureCollection* MMGetPictureCollection(MMResourceId id) {
  return MMPictureRegistry().Get(MMCollectionOf(id));
}

MMResourceId MMMakePictureId(MMPictureCollection* collection, int16_t item) {
  if (collection == nullptr || !MMPictureRegistry().Contains(collection)) return kMMNoResource;
  return MMMakeResourceId(collection->GetCollectionNumber(), static_cast<uint16_t>(item));
}

void MMAddPictureReference(MMResourceId id) {
  if (MMPictureCollection* collection = CollectionHolding(id))
    collection->AddReference(MMItemOf(id));
}

void MMReleasePictureReference(MMResourceId id) {
  if (MMPictureCollection* collection = CollectionHolding(id)) {
    collection->ReleaseReference(MMItemOf(id));
  }
}

void MMLoadPicture(MMResourceId id) {
  if (MMPictureCollection* collection = CollectionHolding(id)) collection->Load(MMItemOf(id));
}

void MMPurgePicture(MMResourceId id) {
  if (MMPictureCollection* collection = CollectionHolding(id)) collection->Purge(MMItemOf(id));
}

void MMDeleteAllPictureCollections() { MMPictureRegistry().DeleteAll(); }
