#include "mm/drawing/MMDrawingSurfaceBlitRequest.h"

bool MMDrawingSurfaceBlitRequest::Prepare(MMImageDescription* image, MMSurface* surface,
                                          const UURect& rect) {
  return PrepareAxes(image, surface, image->mRect, rect, true);
}

bool MMDrawingSurfaceBlitRequest::PrepareRect(MMImageDescription* image, MMSurface* surface,
                                              const UURect& sourceRect, const UURect& rect) {
  return PrepareAxes(image, surface, sourceRect, rect, false);
}

bool MMDrawingSurfaceBlitRequest::PrepareAxes(MMImageDescription* image, MMSurface* surface,
                                              const UURect& sourceRect, const UURect& rect,
                                              bool exactWhenEqual) {
  mReady = false;
  mClipped = rect;
  mClipped.Intersect(surface->GetRect());
  if (mClipped.IsEmpty()) return false;
  mSource = image;
  mRect = rect;
  mSurface = surface;
  auto step = [exactWhenEqual](int32_t sourceExtent, int32_t extent) {
    if (exactWhenEqual && sourceExtent == extent) return int32_t{0x10000};
    return static_cast<int32_t>(static_cast<int64_t>(sourceExtent) * 65536 / extent);
  };
  mYStep = step(sourceRect.GetHeight(), rect.GetHeight());
  mXStep = step(sourceRect.GetWidth(), rect.GetWidth());
  // The clipping offset and the half step are added when executing.
  mSourceX = static_cast<int32_t>(static_cast<int64_t>(sourceRect.mLeft) * 65536);
  mSourceY = static_cast<int32_t>(static_cast<int64_t>(sourceRect.mTop) * 65536);
  mReady = ChooseSpanRoutine(surface->GetPixelFormat());
  return mReady;
}

int32_t MMDrawingSurfaceBlitRequest::StartOffset(int32_t skipped, int32_t step) {
  if (step == 0x10000) return static_cast<int32_t>(static_cast<int64_t>(skipped) * 65536 + 0x8000);
  return static_cast<int32_t>(static_cast<int64_t>(skipped) * step + step / 2);
}

bool MMDrawingSurfaceBlitRequest::Execute() {
  if (!mReady) return false;
  UURect area = mClipped;
  area.Intersect(mSurface->GetRect());
  if (area.IsEmpty()) return false;
  mSurface->BeginDraw();
  MMBitmap pixels;
  const bool locked = mSurface->LockBits(pixels);
  // Nothing is drawn outside the clip: the area shrinks to the locked
  // pixels before the destination is built.
  area.Intersect(pixels.mRect);
  if (!locked || area.IsEmpty()) {
    mSurface->EndDraw();
    return false;
  }
  mDestination = pixels.GetSubBitmap(area);
  mSourceY += StartOffset(area.mTop - mRect.mTop, mYStep);
  mSourceX += StartOffset(area.mLeft - mRect.mLeft, mXStep);
  mWidth = static_cast<int16_t>(area.GetWidth());
  Run();
  mSurface->EndDraw();
  return true;
}
