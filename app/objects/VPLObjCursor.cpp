#include "app/objects/VPLObjCursor.h"

#include "app/objects/VPLSceneUIBase.h"
#include "mm/stage/MMStage.h"

VPLObjCursor::VPLObjCursor(VPLSceneUIBase* scene, const UURefCount<MM3DModel>& model)
    : VPLObj(scene, model), mScene(scene) {}

void VPLObjCursor::Tick(int32_t /*clock*/) {
  const MMMouseEvent& mouse = GetStage()->GetLastMouseEvent();
  const VPLSegment ray = mScene->MakeViewRay(mouse.mX, mouse.mY);
  SetPosition(ray.mStart.mX, ray.mStart.mY, ray.mStart.mZ - kDepthOffset);
  if (mScene->GetCameraIndex() == kSmallCursorCamera) {
    SetScale(kSmallCursorScale, kSmallCursorScale, 1.0f);
  }
}
