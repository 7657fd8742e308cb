#include "mm3d/MM3DTextureCollection.h"

#include "mm3d/drivers/MM3DDriverTextureImage.h"

namespace {

constexpr int32_t kFewEntries = 16;
constexpr int32_t kFewEntriesWidth = 256;
constexpr int32_t kManyEntriesWidth = 128;
constexpr int32_t kTrueColorWidth = 64;

}  // namespace

MMCollectionRegistry<MM3DTextureCollection>& MM3DTextureRegistry() {
  static MMCollectionRegistry<MM3DTextureCollection> registry;
  return registry;
}

MM3DTextureCollection::MM3DTextureCollection(uint16_t collectionNumber)
    : mCollectionNumber(collectionNumber) {
  MM3DTextureRegistry().Set(this, collectionNumber);
}

MM3DTextureCollection::~MM3DTextureCollection() {
  if (MM3DTextureRegistry().Get(mCollectionNumber) == this) {
    MM3DTextureRegistry().Remove(mCollectionNumber);
  }
}

int32_t MM3DTextureCollection::GetBitsPerPixelOfId(MMResourceId id) {
  return MM3DGetTextureBitsPerPixel(id);
}

bool MM3DTextureCollection::FitsSizeLimit(int16_t i) {
  const int32_t width = GetSize(i).mX;
  if (GetBitsPerPixel(i) != 8) return width <= kTrueColorWidth;
  return width <= (GetPaletteCount(i) <= kFewEntries ? kFewEntriesWidth : kManyEntriesWidth);
}

void MM3DDestroyTextureCollections() { MM3DTextureRegistry().DeleteAll(); }

MMResourceId MM3DFindTextureByName(const char* name) {
  if (name == nullptr || name[0] == '\0') return kMMNoResource;
  const MMCollectionRegistry<MM3DTextureCollection>& registry = MM3DTextureRegistry();
  for (int32_t n = 0; n < registry.Count(); ++n) {
    MM3DTextureCollection* collection = registry.GetNth(n);
    const uint16_t i = collection->FindByName(name);
    if (i != kMM3DTextureNotFound) return MMMakeResourceId(collection->GetCollectionNumber(), i);
  }
  return kMMNoResource;
}

char* MM3DGetTextureName(char* buffer, MMResourceId id) {
  MM3DTextureCollection* collection = MM3DGetTextureCollection(id);
  if (collection == nullptr) {
    buffer[0] = '\0';
    return buffer;
  }
  return collection->GetName(buffer, MMItemOf(id));
}

MMResourceId MM3DMakeTextureId(const MM3DTextureCollection* collection, int16_t i) {
  if (collection == nullptr || !MM3DTextureRegistry().Contains(collection)) return kMMNoResource;
  return MMMakeResourceId(collection->GetCollectionNumber(), static_cast<uint16_t>(i));
}

MM3DTextureCollection* MM3DGetTextureCollection(MMResourceId id) {
  return MM3DTextureRegistry().Get(MMCollectionOf(id));
}

bool MM3DLoadTextureImage(MMResourceId id, MM3DDriverTextureImage& image) {
  MM3DTextureCollection* collection = MM3DGetTextureCollection(id);
  if (collection == nullptr) {
    image.Clear();
    return false;
  }
  return collection->LoadImage(MMItemOf(id), image);
}

UUPoint MM3DGetTextureSize(MMResourceId id) {
  MM3DTextureCollection* collection = MM3DGetTextureCollection(id);
  return collection == nullptr ? UUPoint{} : collection->GetSize(MMItemOf(id));
}

int32_t MM3DGetTexturePaletteCount(MMResourceId id) {
  MM3DTextureCollection* collection = MM3DGetTextureCollection(id);
  return collection == nullptr ? 0 : collection->GetPaletteCount(MMItemOf(id));
}

bool MM3DIsTextureOpaque(MMResourceId id) {
  MM3DTextureCollection* collection = MM3DGetTextureCollection(id);
  return collection != nullptr && collection->IsOpaque(MMItemOf(id));
}

int32_t MM3DGetTextureBitsPerPixel(MMResourceId id) {
  MM3DTextureCollection* collection = MM3DGetTextureCollection(id);
  return collection == nullptr ? 0 : collection->GetBitsPerPixel(MMItemOf(id));
}
