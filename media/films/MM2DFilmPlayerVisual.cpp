#include "media/films/MM2DFilmPlayerVisual.h"

#include "media/films/MM2DFilmPlayerMolecule.h"
#include "mm/drawing/MMDrawingSurfaceBlitRequest.h"
#include "mm/drawing/MMSurface.h"

namespace {

constexpr uint8_t kTransparentIndex = 0;
constexpr uint8_t kFullyTransparent = 255;

}  // namespace

bool MM2DFilmPlayerVisual::Contains(int32_t x, int32_t y) const {
  const UURect bounds = GetBounds();
  const auto px = static_cast<int16_t>(x);
  const auto py = static_cast<int16_t>(y);
  if (px < bounds.mLeft || px >= bounds.mRight || py < bounds.mTop || py >= bounds.mBottom) {
    return false;
  }
  const MMBitmapWithPixels* frame = mPlayer->GetFrameBitmap();
  if (frame == nullptr) return false;
  if (frame->mSubFormat == kMMSubFormatCopy) return true;
  const uint8_t* pixel = frame->GetPixelAddress(px - bounds.mLeft + frame->mRect.mLeft,
                                                py - bounds.mTop + frame->mRect.mTop);
  if (frame->mFormat == kMMFormat8) return pixel[0] != kTransparentIndex;
  return pixel[3] != kFullyTransparent;
}

void MM2DFilmPlayerVisual::DrawClipped(MMSurface* surface) {
  MMBitmapWithPixels* frame = mPlayer->GetFrameBitmap();
  if (frame == nullptr) return;
  MMDrawingSurfaceBlitRequest request;
  // An 8-bit surface takes the indices as they are.
  request.mPalette = surface->GetPixelFormat() == kMMFormat8 ? nullptr : mPlayer->GetPalette();
  if (request.Prepare(frame, surface, GetBounds())) request.Execute();
}
