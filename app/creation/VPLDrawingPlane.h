#pragma once
// The upright plane the drawing tools draw on: through the vertical axis,
// facing the camera's eye horizontally, fixed at each press so that moving
// the camera while drawing does not move it. Turning a point by the yaw
// about the vertical axis lays the plane onto z = 0, where a stroke is
// flat; turning back by the yaw returns it to the world.

#include "app/objects/VPLPicking.h"
#include "mm3d/MM3DVector.h"

class VPLDrawingPlane {
 public:
  // The plane facing the eye; false when the eye stands straight above
  // the vertical axis, where no horizontal direction faces it.
  bool Face(const MM3DVector& eye);
  bool Intersect(const VPLSegment& segment, MM3DVector& out) const;
  // (x, y, z) to (x cos a + z sin a, y, z cos a - x sin a) with a = +yaw,
  // and the same with a = -yaw; w is kept.
  MM3DVector TurnOnto(const MM3DVector& v) const { return Turn(v, mCos, mSin); }
  MM3DVector TurnBack(const MM3DVector& v) const { return Turn(v, mCos, -mSin); }

  MM3DVector mOrigin{0.0f, 0.0f, 0.0f, 1.0f};
  MM3DVector mTop{0.0f, 9.0f, 0.0f, 1.0f};
  MM3DVector mSide{0.0f, 0.0f, 0.0f, 1.0f};
  // From the origin toward the eye, horizontal and of unit length.
  MM3DVector mEyeDirection{0.0f, 0.0f, 1.0f, 0.0f};
  float mYaw = 0.0f;

 private:
  static MM3DVector Turn(const MM3DVector& v, float cosine, float sine);

  float mCos = 1.0f;
  float mSin = 0.0f;
};
