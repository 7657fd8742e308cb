#include "media/widgets/MM2DScrollBarVisual.h"

#include "mm/drawing/MMSurface.h"

#include <algorithm>

namespace {

UURect Inset(const UURect& rect) {
  return UURect(rect.mLeft + 1, rect.mTop + 1, rect.mRight - 1, rect.mBottom - 1);
}

}  // namespace

MM2DScrollBarVisual::MM2DScrollBarVisual(const UURect& box, int32_t depth)
    : MM2DOpaqueBoxVisual(box, depth) {
  Layout();
}

void MM2DScrollBarVisual::StoreBox(const UURect& box) {
  MM2DOpaqueBoxVisual::StoreBox(box);
  Layout();
}

void MM2DScrollBarVisual::Layout() {
  const UURect box = GetBounds();
  mFirstArrowRect = mTrackRect = mSecondArrowRect = box;
  mVertical = box.GetHeight() > box.GetWidth();
  if (mVertical) {
    mArrowSize = box.GetWidth();
    mBarLength = box.GetHeight();
    mFirstArrowRect.mBottom = box.mTop + mArrowSize;
    mSecondArrowRect.mTop = box.mBottom - mArrowSize;
    mTrackRect.mTop = box.mTop + mArrowSize - 1;
    mTrackRect.mBottom = box.mBottom - mArrowSize + 1;
  } else {
    mArrowSize = box.GetHeight();
    mBarLength = box.GetWidth();
    mFirstArrowRect.mRight = box.mLeft + mArrowSize;
    mSecondArrowRect.mLeft = box.mRight - mArrowSize;
    mTrackRect.mLeft = box.mLeft + mArrowSize - 1;
    mTrackRect.mRight = box.mRight - mArrowSize + 1;
  }
  mTrackLength = mBarLength - 2 * mArrowSize + 2;
  mThumbOffset = 0;
  mThumbLength = mArrowSize;
  mFreeTrack = mTrackLength - mThumbLength;
}

void MM2DScrollBarVisual::SetThumbLength(int32_t length) {
  mThumbOffset = 0;
  mThumbLength = length;
  mFreeTrack = mTrackLength - mThumbLength;
  InvalidatePart(kMMScrollBarThumb);
}

void MM2DScrollBarVisual::SetProportion(int32_t total, int32_t visible) {
  if (total > 0 && visible < total) {
    SetThumbLength(
        std::max(mArrowSize, static_cast<int32_t>(int64_t{visible} * mTrackLength / total)));
  } else {
    SetThumbLength(mTrackLength);
  }
}

void MM2DScrollBarVisual::SetThumbOffset(int32_t offset) {
  mThumbOffset = offset;
  InvalidatePart(kMMScrollBarThumb);
}

int32_t MM2DScrollBarVisual::Along(int32_t x, int32_t y) const {
  const UUPoint position = GetPosition();
  return mVertical ? y - position.mY : x - position.mX;
}

MMScrollBarPart MM2DScrollBarVisual::HitPart(int32_t x, int32_t y) const {
  if (!Contains(x, y)) return kMMScrollBarNone;
  const int32_t c = Along(x, y);
  if (c < mArrowSize) return kMMScrollBarFirstArrow;
  if (c < mArrowSize + mThumbOffset) return kMMScrollBarTrackBefore;
  if (c < mArrowSize + mThumbOffset + mThumbLength) return kMMScrollBarThumb;
  if (c >= mBarLength - mArrowSize) return kMMScrollBarSecondArrow;
  return kMMScrollBarTrackAfter;
}

void MM2DScrollBarVisual::InvalidatePart(MMScrollBarPart part) {
  switch (part) {
    case kMMScrollBarNone:
      return;
    case kMMScrollBarFirstArrow:
      InvalidateRect(mFirstArrowRect);
      return;
    case kMMScrollBarSecondArrow:
      InvalidateRect(mSecondArrowRect);
      return;
    default:
      InvalidateRect(mTrackRect);
      return;
  }
}

void MM2DScrollBarVisual::SetPressedPart(MMScrollBarPart part) {
  InvalidatePart(mPressedPart);
  mPressedPart = part;
  InvalidatePart(mPressedPart);
}

int32_t MM2DScrollBarVisual::ClampOffset(int32_t offset) const {
  return std::max(0, std::min(offset, mFreeTrack));
}

void MM2DScrollBarVisual::BeginThumbDrag(int32_t x, int32_t y) {
  SetPressedPart(kMMScrollBarThumb);
  mDragOrigin = Along(x, y) - mThumbOffset;
  SetThumbOffset(ClampOffset(mThumbOffset));
}

void MM2DScrollBarVisual::DragThumb(int32_t x, int32_t y) {
  SetThumbOffset(ClampOffset(Along(x, y) - mDragOrigin));
}

UURect MM2DScrollBarVisual::GetThumbRect() const {
  UURect thumb = mTrackRect;
  int32_t& start = mVertical ? thumb.mTop : thumb.mLeft;
  int32_t& end = mVertical ? thumb.mBottom : thumb.mRight;
  start += mThumbOffset;
  end = start + mThumbLength;
  return thumb;
}

void MM2DScrollBarVisual::DrawClipped(MMSurface* surface) {
  const UURect& clip = surface->GetClipRect();
  if (mFirstArrowRect.Intersects(clip)) {
    DrawFirstArrow(surface, mFirstArrowRect, mPressedPart == kMMScrollBarFirstArrow);
  }
  if (mTrackRect.Intersects(clip)) {
    const bool pressed =
        mPressedPart >= kMMScrollBarTrackBefore && mPressedPart <= kMMScrollBarTrackAfter;
    DrawTrack(surface, mTrackRect, GetThumbRect(), pressed);
  }
  if (mSecondArrowRect.Intersects(clip)) {
    DrawSecondArrow(surface, mSecondArrowRect, mPressedPart == kMMScrollBarSecondArrow);
  }
}

void MM2DPlainScrollBarVisual::SetColors(const Colors& colors) {
  mColors = colors;
  InvalidateBounds();
}

void MM2DPlainScrollBarVisual::DrawFirstArrow(MMSurface* surface, const UURect& rect,
                                              bool pressed) {
  DrawArrow(surface, rect, pressed);
}

void MM2DPlainScrollBarVisual::DrawSecondArrow(MMSurface* surface, const UURect& rect,
                                               bool pressed) {
  DrawArrow(surface, rect, pressed);
}

void MM2DPlainScrollBarVisual::DrawArrow(MMSurface* surface, const UURect& rect, bool pressed) {
  surface->FrameRect(rect, mColors.mFrame, 1);
  DrawBevel(surface, Inset(rect), pressed);
}

void MM2DPlainScrollBarVisual::DrawTrack(MMSurface* surface, const UURect& track,
                                         const UURect& thumb, bool pressed) {
  surface->FrameRect(track, mColors.mFrame, 1);
  surface->FillRect(Inset(track), pressed ? mColors.mShadow : mColors.mFace);
  surface->FrameRect(thumb, mColors.mFrame, 1);
  DrawBevel(surface, Inset(thumb), false);
}

void MM2DPlainScrollBarVisual::DrawBevel(MMSurface* surface, const UURect& r, bool pressed) {
  const int32_t l = r.mLeft;
  const int32_t t = r.mTop;
  const int32_t rr = r.mRight;
  const int32_t b = r.mBottom;
  if (pressed) {
    surface->FillRect(UURect(l + 1, t + 1, rr, b), mColors.mFace);
    surface->FillRect(UURect(l, t, l + 1, b), mColors.mShadow);
    surface->FillRect(UURect(l, t, rr, t + 1), mColors.mShadow);
    return;
  }
  surface->FillRect(UURect(l + 1, t + 1, rr - 2, b - 2), mColors.mFace);
  surface->FillRect(UURect(l, t, l + 1, b - 1), mColors.mLight);
  surface->FillRect(UURect(l, t, rr - 1, t + 1), mColors.mLight);
  surface->FillRect(UURect(l + 1, b - 2, rr, b), mColors.mShadow);
  surface->FillRect(UURect(rr - 2, t + 1, rr, b), mColors.mShadow);
  surface->SetPixel(rr - 1, t, mColors.mShadow);
  surface->SetPixel(l, b - 1, mColors.mShadow);
}
