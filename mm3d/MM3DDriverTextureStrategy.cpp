#include "mm3d/MM3DDriverTextureStrategy.h"

#include "mm3d/MM3DTextureCollection.h"

MM3DDriverTextureFormat MM3DStandardDriverTextureStrategy::ChooseFormat(MMResourceId textureId,
                                                                        const MM3DTextureKey& key) {
  MM3DDriverTextureFormat format;
  format.mFormat = MM3DIsTextureOpaque(textureId) ? mOpaqueFormat : mAlphaFormat;
  const bool linear = key.mLinear == 1 && mLinearAllowed;
  if (key.mMipmaps == 1 && mMipmapsAllowed) {
    format.mFilter = linear ? kMM3DFilterBilinearMipNearest : kMM3DFilterNearestMipNearest;
  } else {
    format.mFilter = linear ? kMM3DFilterBilinear : kMM3DFilterNearest;
  }
  format.mClamp = key.mClamp == 1 && mClampAllowed ? 1 : 0;
  return format;
}
