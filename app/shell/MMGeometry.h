#pragma once
// Integer vector and point helpers, and the mapping of rectangles and
// points from one rectangle onto another.

#include "foundation/uu/UUPoint.h"
#include "foundation/uu/UURect.h"

#include <cstdint>

// The integer length of (x, y) by three Newton steps from an estimate;
// squares are taken in 64 bits so long vectors do not overflow.
int32_t MMVectorLength(int32_t x, int32_t y);
// Scales the vector to the length; a zero vector stays.
void MMVectorSetLength(UUPoint& vector, int32_t length);
// (x, y) turned by 90 to (y, -x), 180 to (-x, -y), 270 to (-y, x).
UUPoint MMPointRotateQuarter(UUPoint point, int32_t angle);

// Maps from a source rectangle onto a target one; the identity when either
// is empty. Keeping the aspect narrows (or lowers) the target to the
// source's aspect, centred.
class MMRectMapping {
 public:
  MMRectMapping(const UURect& source, const UURect& target, bool keepAspect);

  UUPoint MapPoint(UUPoint point) const;
  UURect MapRect(const UURect& rect) const;
  const UURect& GetTarget() const { return mTarget; }

 private:
  int32_t MapX(int32_t x) const;
  int32_t MapY(int32_t y) const;

  UURect mSource;
  UURect mTarget;
  bool mIdentity;
};
