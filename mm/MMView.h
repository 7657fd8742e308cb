#pragma once
// What an act asks of the views it holds: their place, layer and
// visibility, drawing and hit testing. The view classes implement it.

#include <cstdint>

#include "foundation/uu/UUPoint.h"
#include "foundation/uu/UURect.h"

class MMRegion;
struct MMMouseTarget;

class MMView {
 public:
  virtual ~MMView() = default;
  virtual bool IsVisible() const = 0;
  // In the host's coordinates.
  virtual UURect GetRect() const = 0;
  // Higher layers are drawn later and hit first.
  virtual int32_t GetDepth() const = 0;
  // Redraws what of the region (host coordinates) the view shows.
  virtual void Draw(const MMRegion& region) = 0;
  // Asked only when the view is shown and its rectangle holds the point.
  virtual void HitTest(UUPoint point, MMMouseTarget& target) = 0;
  virtual void StageToEnclosure(UUPoint& point) const = 0;
};
