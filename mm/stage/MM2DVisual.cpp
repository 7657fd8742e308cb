#include "mm/stage/MM2DVisual.h"

#include "mm/drawing/MMSurface.h"
#include "mm/stage/MMDrawContext.h"

namespace {

// Left and top inside, right and bottom outside.
bool BoxContains(const UURect& box, int32_t x, int32_t y) {
  return x >= box.mLeft && x < box.mRight && y >= box.mTop && y < box.mBottom;
}

}  // namespace

void MM2DVisual::Draw(const MMDrawContext& context) {
  const UURect bounds = GetBounds();
  if (bounds.IsEmpty()) return;
  MMSurface* surface = context.mSurface;
  const UURect savedClip = surface->GetClipRect();
  for (int32_t i = 0; i < context.mRegion.GetCount(); ++i) {
    UURect clip = context.mRegion.GetRect(i);
    clip.Intersect(bounds);
    clip.Intersect(savedClip);
    if (clip.IsEmpty()) continue;
    surface->SetClipRect(clip);
    DrawClipped(surface);
  }
  surface->SetClipRect(savedClip);
}

void MM2DBoxBasedVisual::SetBox(const UURect& box) {
  if (box == mBox) return;
  InvalidateBounds();
  StoreBox(box);
  InvalidateBounds();
}

void MM2DBoxBasedVisual::CenterOn(UUPoint point) {
  MoveTo(UUPoint{point.mX - mBox.GetWidth() / 2, point.mY - mBox.GetHeight() / 2});
}

void MM2DBoxBasedVisual::StorePosition(UUPoint point) {
  UURect box;
  box.FromPointAndSize(point, mBox.GetWidth(), mBox.GetHeight());
  StoreBox(box);
}

bool MM2DOpaqueBoxVisual::Contains(int32_t x, int32_t y) const {
  return BoxContains(GetBounds(), x, y);
}

void MM2DSolidBoxVisual::DrawClipped(MMSurface* surface) { surface->FillRect(GetBounds(), mColor); }

bool MM2DBoxVisual::Contains(int32_t x, int32_t y) const { return BoxContains(GetBounds(), x, y); }
