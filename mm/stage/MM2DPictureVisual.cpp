#include "mm/stage/MM2DPictureVisual.h"

#include "mm/resources/MMDrawPicture.h"

#include <utility>

namespace {

int32_t gDefaultHitThreshold = 0;

}  // namespace

MM2DPictureBasedVisual::MM2DPictureBasedVisual(int32_t depth)
    : MM2DVisual(depth), mHitThreshold(gDefaultHitThreshold) {}

MM2DPictureBasedVisual::MM2DPictureBasedVisual(const MMPictureReference& picture, int32_t depth)
    : MM2DVisual(depth), mHitThreshold(gDefaultHitThreshold), mPicture(picture) {}

void MM2DPictureBasedVisual::SetDefaultHitThreshold(int32_t threshold) {
  gDefaultHitThreshold = threshold;
}

bool MM2DPictureBasedVisual::Contains(int32_t x, int32_t y) const {
  if (mPicture.IsEmpty()) return false;
  const UURect bounds = GetBounds();
  if (x < bounds.mLeft || x >= bounds.mRight || y < bounds.mTop || y >= bounds.mBottom)
    return false;
  const UUPoint position = GetPosition();
  UUPoint local{x - position.mX, y - position.mY};
  if (mMirrorX) local.mX = bounds.GetWidth() - 1 - local.mX;
  if (mMirrorY) local.mY = bounds.GetHeight() - 1 - local.mY;
  return mPicture.GetTransparencyAt(local) <= mHitThreshold;
}

void MM2DPictureBasedVisual::DrawClipped(MMSurface* surface) {
  if (mPicture.IsEmpty()) return;
  const UUPoint size = mPicture.GetSize();
  UURect source(0, 0, size.mX, size.mY);
  if (mMirrorX) std::swap(source.mLeft, source.mRight);
  if (mMirrorY) std::swap(source.mTop, source.mBottom);
  MMDrawPicture(surface, mPicture, source, GetBounds(), nullptr, nullptr);
}

bool MM2DPictureBasedVisual::IsPlainPicture() const {
  return !mPicture.IsEmpty() && mPicture.GetSubFormat() == kMMSubFormatCopy;
}

void MM2DPictureBasedVisual::SetPicture(const MMPictureReference& picture) {
  if (picture == mPicture) return;
  InvalidateBounds();
  StorePicture(picture);
  InvalidateBounds();
}

void MM2DPictureBasedVisual::SetMirror(bool mirrorX, bool mirrorY) {
  if (mirrorX == mMirrorX && mirrorY == mMirrorY) return;
  mMirrorX = mirrorX;
  mMirrorY = mirrorY;
  InvalidateBounds();
}

UURect MM2DPictureVisual::GetBounds() const {
  if (GetPicture().IsEmpty()) return UURect();
  UURect bounds;
  const UUPoint size = GetPicture().GetSize();
  bounds.FromPointAndSize(mPosition, size.mX, size.mY);
  return bounds;
}

MM2DPictureButtonVisual::MM2DPictureButtonVisual(const MMPictureReference& normal,
                                                 const MMPictureReference& highlighted,
                                                 UUPoint position, int32_t depth)
    : MM2DPictureVisual(position, normal, depth), mNormal(normal), mHighlighted(highlighted) {}

void MM2DPictureButtonVisual::ShowWanted() {
  const MMPictureReference& wanted = GetHighlight() == 1 ? mHighlighted : mNormal;
  if (wanted == GetPicture()) return;
  InvalidateBounds();
  StorePicture(wanted);
  InvalidateBounds();
}

void MM2DPictureButtonVisual::ApplyHighlight(int32_t state) {
  MMHighlightable::ApplyHighlight(state);
  ShowWanted();
}

void MM2DPictureButtonVisual::SetNormalPicture(const MMPictureReference& picture) {
  mNormal.Set(picture);
  if (GetHighlight() == 0) ShowWanted();
}

void MM2DPictureButtonVisual::SetHighlightPicture(const MMPictureReference& picture) {
  mHighlighted.Set(picture);
  if (GetHighlight() == 1) ShowWanted();
}
