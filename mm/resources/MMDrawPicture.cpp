#include "mm/resources/MMDrawPicture.h"

#include "mm/drawing/MMDrawingSurfaceBlitRequest.h"

#include <algorithm>

namespace {

// The source, whichever way round it is given, covers pixels of the image
// only: the blit reads every pixel it names without checking.
bool LiesInside(const UURect& source, const UURect& image) {
  const UURect normal(std::min(source.mLeft, source.mRight), std::min(source.mTop, source.mBottom),
                      std::max(source.mLeft, source.mRight), std::max(source.mTop, source.mBottom));
  return !normal.IsEmpty() && normal.mLeft >= image.mLeft && normal.mTop >= image.mTop &&
         normal.mRight <= image.mRight && normal.mBottom <= image.mBottom;
}

}  // namespace

void MMDrawPicture(MMSurface* surface, const MMPictureReference& picture, const UURect& sourceRect,
                   const UURect& rect, const uint8_t* remap, const MMPalette* palette) {
  // Our own reference keeps the picture alive while it is drawn.
  const MMPictureReference held(picture);
  if (held.IsEmpty()) return;
  MMDrawingSurfaceBlitRequest request;
  request.mRemap = remap;
  MMBitmap bitmap;
  MMEncodedImage encoded;
  const MMPalette* ownPalette = nullptr;
  const bool isBitmap = held.IsBitmap();
  const bool locked =
      isBitmap ? held.LockBitmap(&bitmap, &ownPalette) : held.LockEncoded(&encoded, &ownPalette);
  if (!locked) return;
  if (surface->GetPixelFormat() == kMMFormat8) ownPalette = nullptr;
  request.mPalette = palette != nullptr ? palette : ownPalette;
  MMImageDescription* image = isBitmap ? static_cast<MMImageDescription*>(&bitmap) : &encoded;
  if (LiesInside(sourceRect, image->mRect) &&
      request.PrepareRect(image, surface, sourceRect, rect)) {
    request.Execute();
  }
  held.Unlock();
}
