#pragma once
// Boxes that culling tests against the view volume, with their eight
// corners in one order: (x-, y-, z-), (x-, y+, z-), (x+, y+, z-),
// (x+, y-, z-), then the same four with z+, where x- is the minimum (or
// the centre minus the first half-axis); every corner is a point (w 1).

#include "mm3d/MM3DVector.h"

#include <cstdint>

class UUReader;
class UUWriter;

constexpr int32_t kMM3DBoxCornerCount = 8;

// The corners of an axis-aligned box.
void MM3DBoxCorners(const MM3DVector& minimum, const MM3DVector& maximum,
                    MM3DVector (&out)[kMM3DBoxCornerCount]);

// A box of any orientation: a centre and three half-axes.
class MM3DOrientedBox {
 public:
  // A point at the origin: no extent.
  MM3DOrientedBox();
  // Centre, then the three half-axes, four floats each.
  explicit MM3DOrientedBox(const float (&values)[16]);

  void SetFromAxisAligned(const MM3DVector& minimum, const MM3DVector& maximum);
  // From eight corners in the order above.
  void SetFromCorners(const MM3DVector (&corners)[kMM3DBoxCornerCount]);
  void GetCorners(MM3DVector (&out)[kMM3DBoxCornerCount]) const;

  // The centre and the three half-axes, four floats each.
  bool Write(UUWriter& writer) const;
  bool Read(UUReader& reader);

  MM3DVector mCentre;
  MM3DVector mHalfAxes[3];
};
