#include "mm/stage/MMVisual.h"

#include "mm/stage/MMEnclosure.h"
#include "mm/stage/MMMouseTarget.h"
#include "mm3d/MM3DSceneChanges.h"

void MMVisual::SetEnclosure(MMEnclosure* enclosure) {
  if (enclosure == mEnclosure) return;
  AttachToEnclosure(enclosure);
  MM3DSceneChanges::Note();
}

void MMVisual::SetDepth(int32_t depth) {
  if (depth == mDepth) return;
  StoreDepth(depth);
  if (mEnclosure != nullptr) mEnclosure->InvalidateOrder();
  MM3DSceneChanges::Note();
}

void MMVisual::SetVisibility(MMVisibility visibility) {
  if (visibility == mVisibility) return;
  StoreVisibility(visibility);
  MM3DSceneChanges::Note();
}

void MMPlanarVisual::HitTest(UUPoint point, MMMouseTarget& target) {
  if (!Contains(point.mX, point.mY)) return;
  if (mInterpreter != nullptr) {
    target.SetFound(mInterpreter);
  } else {
    target.SetBlocked();
  }
}

void MMPlanarVisual::InvalidateBounds() { InvalidateRect(GetBounds()); }

void MMPlanarVisual::InvalidateRect(const UURect& rect) {
  if (GetEnclosure() != nullptr && GetVisibility() == kMMShown) GetEnclosure()->Invalidate(rect);
}

void MMPlanarVisual::MoveTo(UUPoint point) {
  if (GetPosition() == point) return;
  InvalidateBounds();
  StorePosition(point);
  InvalidateBounds();
}

void MMPlanarVisual::AttachToEnclosure(MMEnclosure* enclosure) {
  InvalidateBounds();
  MMVisual::AttachToEnclosure(enclosure);
  InvalidateBounds();
}

void MMPlanarVisual::StoreDepth(int32_t depth) {
  MMVisual::StoreDepth(depth);
  InvalidateBounds();
}

void MMPlanarVisual::StoreVisibility(MMVisibility visibility) {
  InvalidateBounds();
  MMVisual::StoreVisibility(visibility);
  InvalidateBounds();
}
