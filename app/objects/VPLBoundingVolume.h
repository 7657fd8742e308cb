#pragma once
// The cheap shapes a picking segment is tried against before an object's
// triangles: an axis-aligned box around an object's meshes, and a flat
// rectangle in the x-y plane at the box's near z, the hit shape of the
// clickable interface objects. Coordinates are those the volume was built
// in; the caller brings the segment into that space.

#include "mm3d/MM3DVector.h"

class VPLBoundingVolume {
 public:
  virtual ~VPLBoundingVolume() = default;

  // The minimum and maximum corners, as points (w 1).
  MM3DVector GetMin() const { return mCorners[0]; }
  MM3DVector GetMax() const { return mCorners[7]; }
  virtual bool IntersectsSegment(const MM3DVector& start, const MM3DVector& end) const = 0;
  void Set(float minX, float minY, float minZ, float maxX, float maxY, float maxZ);

  // Where the segment crosses the plane through the three corners, when it
  // does between its ends; a segment parallel to the plane misses it.
  static bool IntersectsFace(const MM3DVector& p0, const MM3DVector& p1, const MM3DVector& p2,
                             const MM3DVector& start, const MM3DVector& end, MM3DVector& hit);
  // pa between a1 and a2 and pb between b1 and b2, the bounds in either order.
  static bool InRange2D(float a1, float b1, float a2, float b2, float pa, float pb);

 protected:
  // Corner i takes the maximum on x when bit 0 of i is set, on y for bit 1
  // and on z for bit 2.
  const MM3DVector& Corner(int i) const { return mCorners[i]; }

 private:
  MM3DVector mOrigin{0.0f, 0.0f, 0.0f, 1.0f};
  MM3DVector mExtent{0.0f, 0.0f, 0.0f, 0.0f};
  MM3DVector mCorners[8];
};

class VPLBoundingBox : public VPLBoundingVolume {
 public:
  VPLBoundingBox(float minX, float minY, float minZ, float maxX, float maxY, float maxZ);
  // Through one of the six faces; a box flat on any axis is never hit.
  bool IntersectsSegment(const MM3DVector& start, const MM3DVector& end) const override;
};

class VPLBoundingXYPlane : public VPLBoundingVolume {
 public:
  VPLBoundingXYPlane(float minX, float minY, float minZ, float maxX, float maxY, float maxZ);
  // Through the rectangle at z = min z.
  bool IntersectsSegment(const MM3DVector& start, const MM3DVector& end) const override;
};
