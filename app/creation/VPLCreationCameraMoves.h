#pragma once
// The creation's camera as the camera pads move it: each move goes to the
// creation, which keeps the eye within its rig's band and marks itself
// modified.

#include "app/creation/VPLCreation.h"
#include "app/objects/VPLCameraMoves.h"

class VPLCreationCameraMoves : public VPLCameraMoves {
 public:
  explicit VPLCreationCameraMoves(VPLCreation& creation) : mCreation(creation) {}

  void RaiseCamera(float angle) override { mCreation.RaiseCamera(angle); }
  void LowerCamera(float angle) override { mCreation.LowerCamera(angle); }
  void OrbitCameraPositive(float angle) override { mCreation.OrbitCameraPositive(angle); }
  void OrbitCameraNegative(float angle) override { mCreation.OrbitCameraNegative(angle); }
  void ZoomCameraIn(float distance) override { mCreation.ZoomCameraIn(distance); }
  void ZoomCameraOut(float distance) override { mCreation.ZoomCameraOut(distance); }

 private:
  VPLCreation& mCreation;
};
