#pragma once
// The OpenGL driver's texture slots: one texture object per loaded slot,
// with its mip levels made by the box filter.

#include "mm3d/drivers/MM3DDriverTextureCollection.h"
#include "mm3d/drivers/win/WinMM3DGLDispatch.h"

#include <cstdint>
#include <vector>

constexpr int32_t kWinMM3DGLTextureSlots = 1024;

class WinMM3DGLTextureCollection : public MM3DDriverTextureCollection {
 public:
  // The dispatch is not owned and must outlive the collection.
  explicit WinMM3DGLTextureCollection(const WinMM3DGLDispatch& dispatch);

  // OpenGL errors are not checked: the device never refuses.
  bool LoadImage(int32_t slot, const MM3DDriverTextureFormat& format,
                 const MM3DDriverTextureImage& image) override;
  void FreeSlot(int32_t slot) override;
  void Select(int32_t slot) override;
  void Unselect() override;

  int32_t GetSelectedSlot() const { return mSelected; }
  bool IsLoaded(int32_t slot) const { return mSlots[static_cast<size_t>(slot)].mLoaded; }

 private:
  struct Slot {
    bool mLoaded = false;
    int32_t mFormat = 0;
    int32_t mWidth = 0;
    int32_t mHeight = 0;
    GLuint mName = 0;
  };

  void SetParameters(const MM3DDriverTextureFormat& format);
  void UploadLevel(GLint level, GLint internalFormat, const MM3DDriverTextureImage& image);
  // The reduced levels, each box-filtered from the full-size image.
  void UploadMipLevels(GLint internalFormat, const MM3DDriverTextureImage& image);

  const WinMM3DGLDispatch& mDispatch;
  std::vector<Slot> mSlots;
  int32_t mSelected = -1;
};
