#include "app/objects/VPLObjEvent.h"

VPLObjEvent::VPLObjEvent(MMScene* scene, const UURefCount<MM3DModel>& model,
                         const MMTaskCallback& callback)
    : VPLObj(scene, model), mCallback(callback) {
  BuildHitShape();
}

void VPLObjEvent::BuildHitShape() {
  MM3DVector min;
  MM3DVector max;
  MeasureMeshes(min, max);
  SetBoundingVolume(
      std::make_unique<VPLBoundingXYPlane>(min.mX, min.mY, min.mZ, max.mX, max.mY, max.mZ));
}

bool VPLObjEvent::HandleEvent(const VPLPickEvent& event) {
  const bool consumed = PreFilter(event);
  if (!consumed) {
    if (HitTest(event.mRay)) {
      HandleOver(event);
    } else if (mPressed) {
      HandleOutside(event);
    }
  }
  const bool post = PostFilter(event);
  return mPressed || consumed || post;
}

void VPLObjEvent::HandleOver(const VPLPickEvent& event) {
  if (event.Has(kVPLDoubleClick) && !mPressed) {
    OnDoubleClick();
    mPressed = false;
  } else if (event.Has(kVPLPress) && !mPressed) {
    OnPress(event);
    mPressed = true;
  } else if (mPressed && event.Has(kVPLRelease)) {
    OnRelease(event);
    mPressed = false;
  } else if (mPressed && event.Has(kVPLHeld)) {
    OnDrag(event);
  }
}

void VPLObjEvent::HandleOutside(const VPLPickEvent& event) {
  if (event.Has(kVPLHeld)) {
    OnDrag(event);
  } else if (event.Has(kVPLRelease)) {
    OnReleaseOutside(event);
    mPressed = false;
  }
}

VPLObjEvent* VPLObjEvent::FindTarget(const VPLPickEvent& event) {
  return HitTest(event.mRay) ? this : nullptr;
}

void VPLObjEvent::SetBaseAlpha(float transparency) {
  mNormalAlpha = transparency;
  SetAlpha(transparency);
}
