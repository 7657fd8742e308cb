#pragma once
// The moves of the creation's camera that the camera pads ask for, each
// kept within the camera rig's limits by the one that makes it (the
// creation, which also marks itself modified). Angles in radians.

class VPLCameraMoves {
 public:
  virtual ~VPLCameraMoves() = default;
  virtual void RaiseCamera(float angle) = 0;
  virtual void LowerCamera(float angle) = 0;
  virtual void OrbitCameraPositive(float angle) = 0;
  virtual void OrbitCameraNegative(float angle) = 0;
  virtual void ZoomCameraIn(float distance) = 0;
  virtual void ZoomCameraOut(float distance) = 0;
};
