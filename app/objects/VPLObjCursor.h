#pragma once
// The mouse pointer as a 3D model: every frame it moves to just in front of
// the near end of the ray under the pointer, so it is drawn over the scene
// wherever the mouse goes.

#include "app/objects/VPLObj.h"

class VPLSceneUIBase;

class VPLObjCursor : public VPLObj {
 public:
  // How far in front of the ray's start the model sits.
  static constexpr float kDepthOffset = 0.001f;
  // The camera row of the file screen, whose camera sees the cursor so
  // near that the model is shrunk across the view.
  static constexpr int32_t kSmallCursorCamera = 2;
  static constexpr float kSmallCursorScale = 0.025f;

  VPLObjCursor(VPLSceneUIBase* scene, const UURefCount<MM3DModel>& model);

  void Tick(int32_t clock) override;

 private:
  VPLSceneUIBase* mScene;
};
