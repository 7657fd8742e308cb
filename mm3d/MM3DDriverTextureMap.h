#pragma once
// The cache of driver textures: one entry per texture id, clamp word and
// linear word (the mipmaps word takes no part in matching), holding the
// driver texture made from the texture's collection on demand. Changing
// the display releases every driver texture; entries and handles stay.
// A second driver that draws the same scene for a while (the device of
// pictures) keeps its own driver textures beside the first's, so that
// switching between the two loads nothing again.

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
  // Of the driver switched away from, kept for its return.
  MM3DDriverTextureHandle mKeptTexture;
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
  // The driver switched away from is forgotten, its textures released.
  void SetDriver(MM3DDriver* driver, MM3DDriverTextureStrategy* strategy);
  // The handles draw with the driver, the strategy staying; the outgoing
  // driver's textures are kept, not released, and come back when it is
  // switched to again. The kept textures of a third driver are released.
  // Leaves the incoming driver's context current.
  void SwitchDriver(MM3DDriver* driver);
  // Releases the textures kept for the driver switched away from, in its
  // context, before that driver goes; the current driver stays current.
  void ForgetKeptDriver(MM3DDriver* driver);
  // Id -1 gives an empty handle. No texels are loaded here.
  MM3DTextureHandle GetHandle(MMResourceId textureId, const MM3DTextureKey& key);
  // Creates the driver texture of every entry that lacks one; entries of
  // one texture share one loaded image.
  void LoadAll();
  // Both drivers' textures, each in its own context; the current driver's
  // context is current after.
  void ReleaseAll();

  int32_t GetEntryCount() const { return static_cast<int32_t>(mEntries.Count()); }

 private:
  friend class MM3DTextureHandle;
  using Entries = UUOrderedMap<MM3DDriverTextureEntry>;

  static MM3DDriverTextureEntry& EntryOf(UUOrderedMapNodeBase* node) {
    return Entries::ValueOf(node);
  }
  void RemoveReference(UUOrderedMapNodeBase* node);
  void ReleaseKept();
  MM3DDriverTextureHandle GetDriverTexture(UUOrderedMapNodeBase* node);
  void CreateDriverTexture(MM3DDriverTextureEntry& entry, const MM3DDriverTextureImage& image);

  MM3DDriver* mDriver = nullptr;
  MM3DDriverTextureStrategy* mStrategy = nullptr;
  MM3DDriver* mKeptDriver = nullptr;
  Entries mEntries;
};
