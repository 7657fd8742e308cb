#include "mm3d/drivers/win/WinMM3DGLTextureCollection.h"

#include <algorithm>

namespace {

GLint InternalFormatOf(int32_t code) {
  switch (code) {
    case kMM3DTextureArgb4444:
      return GL_RGBA4;
    case kMM3DTextureArgb1555:
      return GL_RGB5_A1;
    case kMM3DTextureRgb888:
      return GL_RGB8;
    case kMM3DTextureArgb8888:
      return GL_RGBA8;
    default:
      return GL_RGB;
  }
}

struct Filters {
  GLint mMagnification;
  GLint mMinification;
};

Filters FiltersOf(int32_t filter) {
  switch (filter) {
    case kMM3DFilterBilinear:
      return {GL_LINEAR, GL_LINEAR};
    case kMM3DFilterNearestMipNearest:
      return {GL_NEAREST, GL_NEAREST_MIPMAP_NEAREST};
    case kMM3DFilterBilinearMipNearest:
      return {GL_LINEAR, GL_LINEAR_MIPMAP_NEAREST};
    case kMM3DFilterNearestMipLinear:
      return {GL_NEAREST, GL_NEAREST_MIPMAP_LINEAR};
    case kMM3DFilterBilinearMipLinear:
      return {GL_LINEAR, GL_LINEAR_MIPMAP_LINEAR};
    default:
      return {GL_NEAREST, GL_NEAREST};
  }
}

}  // namespace

WinMM3DGLTextureCollection::WinMM3DGLTextureCollection(const WinMM3DGLDispatch& dispatch)
    : MM3DDriverTextureCollection(kWinMM3DGLTextureSlots),
      mDispatch(dispatch),
      mSlots(kWinMM3DGLTextureSlots) {}

bool WinMM3DGLTextureCollection::LoadImage(int32_t slot, const MM3DDriverTextureFormat& format,
                                           const MM3DDriverTextureImage& image) {
  MM3DDriverTextureImage expanded;
  if (image.GetPaletteCount() != 0 && !expanded.ExpandFrom(image)) return false;
  const MM3DDriverTextureImage& pixels = image.GetPaletteCount() != 0 ? expanded : image;
  if (mSlots[static_cast<size_t>(slot)].mLoaded) FreeSlot(slot);
  Slot& record = mSlots[static_cast<size_t>(slot)];
  mDispatch.glGenTextures(1, &record.mName);
  mDispatch.glBindTexture(GL_TEXTURE_2D, record.mName);
  mDispatch.glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  SetParameters(format);
  const GLint internalFormat = InternalFormatOf(format.mFormat);
  UploadLevel(0, internalFormat, pixels);
  if (format.IsMipmapped()) UploadMipLevels(internalFormat, pixels);
  record.mLoaded = true;
  record.mFormat = format.mFormat;
  record.mWidth = pixels.GetWidth();
  record.mHeight = pixels.GetHeight();
  // Binding the new texture changed the binding the draws use.
  if (mSelected >= 0) {
    Select(mSelected);
  } else {
    Unselect();
  }
  return true;
}

void WinMM3DGLTextureCollection::SetParameters(const MM3DDriverTextureFormat& format) {
  const Filters filters = FiltersOf(format.mFilter);
  const GLint wrap = format.mClamp != 0 ? GL_CLAMP : GL_REPEAT;
  mDispatch.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filters.mMagnification);
  mDispatch.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filters.mMinification);
  mDispatch.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
  mDispatch.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
}

void WinMM3DGLTextureCollection::UploadLevel(GLint level, GLint internalFormat,
                                             const MM3DDriverTextureImage& image) {
  mDispatch.glTexImage2D(GL_TEXTURE_2D, level, internalFormat, image.GetWidth(), image.GetHeight(),
                         0, GL_RGBA, GL_UNSIGNED_BYTE, image.GetPixels());
}

void WinMM3DGLTextureCollection::UploadMipLevels(GLint internalFormat,
                                                 const MM3DDriverTextureImage& image) {
  int32_t width = image.GetWidth();
  int32_t height = image.GetHeight();
  for (GLint level = 1; width > 1 || height > 1; ++level) {
    width = std::max(width / 2, 1);
    height = std::max(height / 2, 1);
    auto block = std::unique_ptr<uint8_t[]>(
        new (std::nothrow) uint8_t[static_cast<size_t>(width) * static_cast<size_t>(height) * 4]);
    if (!block) return;  // the texture keeps the levels it has
    MM3DDriverTextureImage reduced(width, height, std::move(block), image.GetFlag());
    reduced.BoxFilterFrom(image);
    UploadLevel(level, internalFormat, reduced);
  }
}

void WinMM3DGLTextureCollection::FreeSlot(int32_t slot) {
  Slot& record = mSlots[static_cast<size_t>(slot)];
  if (!record.mLoaded) return;
  mDispatch.glDeleteTextures(1, &record.mName);
  record = Slot{};
  if (mSelected == slot) mSelected = -1;
}

void WinMM3DGLTextureCollection::Select(int32_t slot) {
  mDispatch.glEnable(GL_TEXTURE_2D);
  mDispatch.glBindTexture(GL_TEXTURE_2D, mSlots[static_cast<size_t>(slot)].mName);
  mSelected = slot;
}

void WinMM3DGLTextureCollection::Unselect() {
  mDispatch.glBindTexture(GL_TEXTURE_2D, 0);
  mDispatch.glDisable(GL_TEXTURE_2D);
  mSelected = -1;
}
