#pragma once
// How a texture request becomes a driver texture format: the sampling key
// a request carries and the strategy that turns it, with what the texture
// itself is, into a format, filter and clamp for the driver.

#include "mm/resources/MMCollectionRegistry.h"
#include "mm3d/drivers/MM3DDriverTextureCollection.h"

#include <cstdint>

// Each word asks for its feature with 1; any other value does not.
struct MM3DTextureKey {
  int32_t mClamp = 0;
  int32_t mLinear = 0;
  int32_t mMipmaps = 0;
};

class MM3DDriverTextureStrategy {
 public:
  virtual ~MM3DDriverTextureStrategy() = default;
  virtual MM3DDriverTextureFormat ChooseFormat(MMResourceId textureId,
                                               const MM3DTextureKey& key) = 0;
};

// Opaque textures get one format and textures with alpha another; the key
// decides filtering, mipmaps and clamping as far as they are allowed.
class MM3DStandardDriverTextureStrategy : public MM3DDriverTextureStrategy {
 public:
  MM3DDriverTextureFormat ChooseFormat(MMResourceId textureId, const MM3DTextureKey& key) override;

  void SetMipmapsAllowed(bool allowed) { mMipmapsAllowed = allowed; }
  void SetLinearAllowed(bool allowed) { mLinearAllowed = allowed; }
  void SetClampAllowed(bool allowed) { mClampAllowed = allowed; }
  void SetOpaqueFormat(int32_t format) { mOpaqueFormat = format; }
  void SetAlphaFormat(int32_t format) { mAlphaFormat = format; }

 private:
  bool mMipmapsAllowed = true;
  bool mLinearAllowed = true;
  bool mClampAllowed = true;
  int32_t mOpaqueFormat = kMM3DTextureRgb565;
  int32_t mAlphaFormat = kMM3DTextureArgb4444;
};
