#pragma once
// The interface through which the driver-texture cache gets textures: each
// collection is numbered and registered in the texture registry (separate
// from the other kinds'), so that a texture id (collection number << 16 |
// item) names a texture anywhere.

#include "foundation/uu/UUPoint.h"
#include "mm/resources/MMCollectionRegistry.h"
#include "mm/resources/MMResourceCollection.h"

#include <cstdint>

class MM3DDriverTextureImage;

// What a buffer given to the name operations must hold.
constexpr int32_t kMM3DTextureNameCapacity = 260;
// FindByName's answer when no texture has the name.
constexpr uint16_t kMM3DTextureNotFound = 0xFFFF;

class MM3DTextureCollection : public MMResourceCollection {
 public:
  explicit MM3DTextureCollection(uint16_t collectionNumber);
  ~MM3DTextureCollection() override;

  uint16_t GetCollectionNumber() const { return mCollectionNumber; }

  // Fills the image with the texels; false, the image empty, on failure.
  virtual bool LoadImage(int16_t i, MM3DDriverTextureImage& image) = 0;
  virtual UUPoint GetSize(int16_t i) = 0;
  // 0 for 32-bit texels.
  virtual int32_t GetPaletteCount(int16_t i) = 0;
  virtual bool IsOpaque(int16_t i) = 0;
  // GetBitsPerPixel of the id's own collection; 0 when it is not registered.
  int32_t GetBitsPerPixelOfId(MMResourceId id);
  // 32 or 8.
  virtual int32_t GetBitsPerPixel(int16_t i) = 0;
  virtual uint16_t FindByName(const char* name) = 0;
  // buffer holds kMM3DTextureNameCapacity characters; answers buffer.
  virtual char* GetName(char* buffer, int16_t i) = 0;

  // Whether the texture's width is small enough for its texel format.
  bool FitsSizeLimit(int16_t i);

 private:
  uint16_t mCollectionNumber;
};

MMCollectionRegistry<MM3DTextureCollection>& MM3DTextureRegistry();

// Deletes every registered collection and the registry's overflow map.
void MM3DDestroyTextureCollections();
// The id of the first texture of that name in the collections in number
// order; -1 when none has it or the name is empty.
MMResourceId MM3DFindTextureByName(const char* name);
// An empty buffer when the id's collection is not registered.
char* MM3DGetTextureName(char* buffer, MMResourceId id);
MMResourceId MM3DMakeTextureId(const MM3DTextureCollection* collection, int16_t i);
// Null when the id's collection is not registered.
MM3DTextureCollection* MM3DGetTextureCollection(MMResourceId id);

// The collection operations by id; an id whose collection is not registered
// answers the empty result (false, {0, 0}, 0).
bool MM3DLoadTextureImage(MMResourceId id, MM3DDriverTextureImage& image);
UUPoint MM3DGetTextureSize(MMResourceId id);
int32_t MM3DGetTexturePaletteCount(MMResourceId id);
bool MM3DIsTextureOpaque(MMResourceId id);
int32_t MM3DGetTextureBitsPerPixel(MMResourceId id);
