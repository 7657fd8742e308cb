#pragma once
// The rig through which the creation moves its camera: the eye orbits the
// vertical axis through the interest point, turns up and down about it on
// a sphere, and comes closer or goes further. Raising, lowering and
// zooming are refused as a whole when the eye would leave the band around
// the interest point (horizontally between 2 and 120 from its axis, at a
// height between 9.4 and 100); orbiting never is. Every change hands the
// camera's view matrix to the view. Stage thread only.

#include "foundation/uu/UURefCount.h"
#include "mm3d/MM3DCamera.h"
#include "mm3d/MM3DVector.h"

class MMView;

class VPLCreationCamera {
 public:
  static constexpr float kMinHorizontal = 2.0f;
  static constexpr float kMaxHorizontal = 120.0f;
  static constexpr float kMinHeight = 9.4f;
  static constexpr float kMaxHeight = 100.0f;
  static constexpr float kQuarterTurn = 1.5708f;

  // The view may be null: nothing is handed on then. The home eye is the
  // camera's eye now.
  VPLCreationCamera(MMView* view, const UURefCount<MM3DCamera>& camera);

  MM3DVector GetEye() const { return mCamera->GetPosition(); }
  // The origin for a camera without an interest point.
  MM3DVector GetInterest() const;
  void GetEyeAndInterest(MM3DVector& eye, MM3DVector& interest) const;
  void SetEye(const MM3DVector& eye);
  void SetInterest(const MM3DVector& interest);
  void ResetEye() { SetEye(mHomeEye); }
  void SetHomeEye(float x, float y, float z, float w) { mHomeEye = MM3DVector(x, y, z, w); }
  const MM3DVector& GetHomeEye() const { return mHomeEye; }
  void SetView(MMView* view) { mView = view; }

  // Radians; Orbit turns the other way round from OrbitOpposite.
  void Orbit(float angle) { OrbitBy(-angle); }
  void OrbitOpposite(float angle) { OrbitBy(angle); }
  void QuarterTurnNegative() { OrbitBy(-kQuarterTurn); }
  void QuarterTurnPositive() { OrbitBy(kQuarterTurn); }
  // Each answers whether the eye moved.
  bool Raise(float amount) { return Tilt(amount, false); }
  bool Lower(float amount) { return Tilt(-amount, true); }
  bool Zoom(float distance) { return ZoomBy(distance); }
  bool ZoomOut(float distance) { return ZoomBy(-distance); }

  // Gives the camera's view matrix to the view.
  void HandOn();

 private:
  void OrbitBy(float angle);
  bool Tilt(float amount, bool closedHeights);
  bool ZoomBy(float distance);
  // Moves the eye to interest + offset when the limits allow it.
  bool MoveWithin(const MM3DVector& offset, bool closedHeights);

  MMView* mView;
  UURefCount<MM3DCamera> mCamera;
  MM3DVector mHomeEye;
};
