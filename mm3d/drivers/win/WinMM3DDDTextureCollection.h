#pragma once
// The Direct3D 7 driver's textures: one managed texture surface per slot,
// in the requested format, with a chain of reduced levels for mipmapped
// filters; selecting a slot sets the device's first texture stage.

#include "mm3d/drivers/MM3DDriverTextureCollection.h"
#include "mm3d/drivers/win/WinMM3DDDInterfaces.h"

#include <cstddef>
#include <cstdint>
#include <memory>

class WinMM3DDDTextureCollection : public MM3DDriverTextureCollection {
 public:
  // The interfaces are the driver's, which outlive the collection.
  WinMM3DDDTextureCollection(const WinMM3DDDInterfaces& interfaces, int32_t slotCount);
  ~WinMM3DDDTextureCollection() override;

  bool LoadImage(int32_t slot, const MM3DDriverTextureFormat& format,
                 const MM3DDriverTextureImage& image) override;
  void FreeSlot(int32_t slot) override;
  void Select(int32_t slot) override;
  void Unselect() override;

  // 0 modulates, anything else replaces; applied at the next Select.
  void SetTextureMode(int32_t mode) { mTextureMode = mode; }

 private:
  IDirectDrawSurface7* CreateSurface(const MM3DDriverTextureFormat& format,
                                     const MM3DDriverTextureImage& image);
  void SetStageStates(const MM3DDriverTextureFormat& format);

  const WinMM3DDDInterfaces& mInterfaces;
  std::unique_ptr<IDirectDrawSurface7*[]> mSurfaces;
  int32_t mTextureMode = 0;
  int32_t mSelected = -1;
};

// Writes width red, green, blue, alpha pixels, step bytes apart, as texels
// of the known format code, little end first.
void WinMM3DDDWriteTexels(int32_t code, const uint8_t* pixels, ptrdiff_t step, int32_t width,
                          uint8_t* out);

// The number of levels of a texture: 1 plus the number of times both sides
// can be halved while both exceed 1.
int32_t WinMM3DDDMipLevelCount(int32_t width, int32_t height);
