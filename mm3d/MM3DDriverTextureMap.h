#pragma once
// The cache of driver textures: one entry per texture id, clamp word and
// linear word (the mipmaps word takes no part in matching), holding the
// driver texture made from the texture's collection on demand. Changing
// the display releases every driver texture; entries and handles stay.

#include "foundation/uu/UUOrderedMap.h"
#include "mm3d/MM3DTextureHandle.h"

#include <cstdint>

class MM3DDriver;
class MM3DDriverTextureImage;

struct MM3DDriverTextureEntry {
  MMResourceId mTextureId = kMMNoResource;
  MM3DTextureKey mKey;
  int32_t mReferenceCount = 0;
  MM3DDriverTextureHandle mDriverTexture;
};

class MM3DDriverTextureMap {
 public:
  MM3DDriverTextureMap();
  // Releases the driver textures with the driver's context current, then
  // frees every entry, whatever handles remain.
  ~MM3DDriverTextureMap();
  MM3DDriverTextureMap(const MM3DDriverTextureMap&) = delete;
  MM3DDriverTextureMap& operator=(const MM3DDriverTextureMap&) = delete;

  // A new pair first releases the driver textures in the outgoing driver's
  // context, then leaves the incoming driver's context current.
  void SetDriver(MM3DDriver* driver, MM3DDriverTextureStrategy* strategy);
  // Id -1 gives an empty handle. No texels are loaded here.
  MM3DTextureHandle GetHandle(MMResourceId textureId, const MM3DTextureKey& key);
  // Creates the driver texture of every entry that lacks one; entries of
  // one texture share one loaded image.
  void LoadAll();
  // Makes the driver's context current first.
  void ReleaseAll();

  int32_t GetEntryCount() const { return static_cast<int32_t>(mEntries.Count()); }

 private:
  friend class MM3DTextureHandle;
  using Entries = UUOrderedMap<MM3DDriverTextureEntry>;

  static MM3DDriverTextureEntry& EntryOf(UUOrderedMapNodeBase* node) {
    return Entries::ValueOf(node);
  }
  void RemoveReference(UUOrderedMapNodeBase* node);
  MM3DDriverTextureHandle GetDriverTexture(UUOrderedMapNodeBase* node);
  void CreateDriverTexture(MM3DDriverTextureEntry& entry, const MM3DDriverTextureImage& image);

  MM3DDriver* mDriver = nullptr;
  MM3DDriverTextureStrategy* mStrategy = nullptr;
  Entries mEntries;
};
