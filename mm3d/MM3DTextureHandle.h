#pragma once
// A counted reference to one entry of the driver-texture map: what
// materials and other drawn objects hold to use a texture. The entry, with
// its driver texture, goes when its last handle is released.

#include "foundation/uu/UUPoint.h"
#include "mm/resources/MMCollectionRegistry.h"
#include "mm3d/MM3DDriverTextureStrategy.h"
#include "mm3d/drivers/MM3DDriverTextureCollection.h"

class MM3DDriverTextureMap;
struct UUOrderedMapNodeBase;

class MM3DTextureHandle {
 public:
  MM3DTextureHandle() = default;
  MM3DTextureHandle(const MM3DTextureHandle& other);
  MM3DTextureHandle& operator=(const MM3DTextureHandle& other);
  ~MM3DTextureHandle() { Release(); }

  // Empties the handle.
  void Release();
  bool IsEmpty() const { return mEntry == nullptr; }

  // The accessors need a handle that is not empty.
  MMResourceId GetTextureId() const;
  // The key words of the request that made the entry.
  const MM3DTextureKey& GetKey() const;
  UUPoint GetSize() const;
  bool IsOpaque() const;
  // Created on demand; empty when no driver is set or the texels cannot be
  // loaded.
  MM3DDriverTextureHandle GetDriverTexture() const;

 private:
  friend class MM3DDriverTextureMap;
  // Adds a reference to the entry.
  MM3DTextureHandle(MM3DDriverTextureMap* map, UUOrderedMapNodeBase* entry);

  MM3DDriverTextureMap* mMap = nullptr;
  UUOrderedMapNodeBase* mEntry = nullptr;
};
