#include "app/creation/VPLToolMove.h"

#include "app/creation/VPLCreation.h"
#include "app/creation/VPLObjCreation.h"

namespace {

MM3DMatrix Yaw(float angle) {
  MM3DMatrix m;
  MM3DMatrixRotationY(m, angle);
  return m;
}

}  // namespace

void VPLToolMove::Begin(const VPLSegment& segment, bool alternate) {
  MarkChanged();
  const MM3DVector p = mPicked->GetWorldPosition();
  const MM3DVector camera = mCreation->GetCamera().GetEye();
  mPlane = VPLToolDragPlane::Through(p, camera);
  if (!mPlane.Meet(segment, mHit)) {
    mEngaged = false;
    return;
  }
  SoundBegin(mHit, alternate);
  const VPLFlatDirection towardAxis(-camera.mX, -camera.mZ);
  mViewYaw = Yaw(VPLYaw(towardAxis, towardAxis.mZ, towardAxis.mX < 0.0f));
  const MM3DVector along = mPlane.A().Direction(mPlane.C());
  const VPLFlatDirection sideways(along.mX, along.mZ);
  mDragYaw = Yaw(VPLYaw(sideways, sideways.mX, sideways.mZ < 0.0f));
  mPicked->BeginMove();
}

bool VPLToolMove::Step(const VPLSegment& segment, bool alternate, MM3DVector& to) {
  MM3DVector h;
  if (!mPlane.Meet(segment, h)) return false;
  const MM3DVector p = mPicked->GetWorldPosition();
  MM3DVector travel(h.mX - mHit.mX, h.mY - mHit.mY, h.mZ - mHit.mZ, 0.0f);
  if (alternate) {
    if (travel.LengthSquared() == 0.0f) return false;
    // Up the plane becomes away along the ground: onto x, a quarter turn
    // about x, back to the camera's heading.
    MM3DMatrix carry = mDragYaw;
    MM3DMatrix tilt;
    MM3DMatrixRotationX(tilt, VPLToolDragPlane::kQuarterTurn);
    carry *= tilt;
    carry *= mViewYaw;
    MM3DVector r;
    carry.TransformDirection(r, travel);
    to = MM3DVector(p.mX + r.mX, p.mY, p.mZ + r.mZ, 0.0f);
  } else {
    to = MM3DVector(p.mX + travel.mX, p.mY + travel.mY, p.mZ + travel.mZ, 0.0f);
  }
  mHit = h;
  return true;
}

void VPLToolMove::Drag(const VPLSegment& segment, bool alternate) {
  if (mPicked == nullptr) return;
  MM3DVector to;
  if (Step(segment, alternate, to)) mPicked->DragMove(to.mX, to.mY, to.mZ);
  SoundDrag(mHit, alternate);
}

void VPLToolMove::End(const VPLSegment& segment, bool alternate) {
  if (mPicked == nullptr) return;
  MM3DVector to = mPicked->GetWorldPosition();
  Step(segment, alternate, to);
  mPicked->EndMove(to.mX, to.mY, to.mZ);
  SoundEnd(mHit, alternate);
  mPicked = nullptr;
}
