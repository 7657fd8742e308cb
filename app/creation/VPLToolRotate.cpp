#include "app/creation/VPLToolRotate.h"

#include "app/creation/VPLCreation.h"
#include "app/creation/VPLObjCreation.h"

namespace {

// Degrees per unit of travel as a share of a turn, and radians per degree.
constexpr float kTurnShare = 0.0333333f;
constexpr double kDegreesPerTurn = 360.0;
constexpr float kRadiansPerDegree = 0.0174533f;
const float kRadiansPerUnit =
    static_cast<float>(kTurnShare * kDegreesPerTurn * static_cast<double>(kRadiansPerDegree));

MM3DVector Travel(const MM3DVector& to, const MM3DVector& from) { return to.Direction(from); }

}  // namespace

void VPLToolRotate::Begin(const VPLSegment& segment, bool alternate) {
  MarkChanged();
  const MM3DVector p = mPicked->GetWorldPosition();
  mPlane = VPLToolDragPlane::Through(p, mCreation->GetCamera().GetEye());
  const MM3DVector along = mPlane.C().Direction(p);
  const VPLFlatDirection sideways(along.mX, along.mZ);
  MM3DMatrixRotationY(mYaw, VPLYaw(sideways, -sideways.mX, sideways.mZ > 0.0f));
  if (!mPlane.Meet(segment, mHit)) {
    mEngaged = false;
    return;
  }
  SoundBegin(mHit, alternate);
  mPreviousHit = mHit;
  mPicked->BeginRotate(0.0f, 0.0f, 0.0f);
}

MM3DVector VPLToolRotate::Angles(const MM3DVector& travel, bool alternate) const {
  MM3DVector r;
  mYaw.TransformDirection(r, travel);
  const float degrees = static_cast<float>(r.mX * -kTurnShare * kDegreesPerTurn);
  const float ay = degrees * kRadiansPerDegree;
  if (!alternate) return MM3DVector(0.0f, ay, 0.0f, 0.0f);
  MM3DVector tip;
  mYaw.TransformPoint(tip, MM3DVector(r.mY, 0.0f, 0.0f, 1.0f));
  return MM3DVector(tip.mX * kRadiansPerUnit, ay, tip.mZ * kRadiansPerUnit, 0.0f);
}

void VPLToolRotate::Drag(const VPLSegment& segment, bool alternate) {
  MM3DVector h;
  if (mPicked == nullptr || !mPlane.Meet(segment, h)) return;
  const MM3DVector travel = Travel(h, mHit);
  if (travel.LengthSquared() > 0.0f) {
    const MM3DVector a = Angles(travel, alternate);
    mPicked->DragRotate(a.mX, a.mY, a.mZ);
  }
  mPreviousHit = mHit;
  mHit = h;
  SoundDrag(h, alternate);
}

void VPLToolRotate::End(const VPLSegment& segment, bool alternate) {
  if (mPicked == nullptr) return;
  // Measured from the hit before the last, so that a rest before the
  // release leaves a group still while a quick flick spins it on.
  MM3DVector h;
  MM3DVector a(0.0f, 0.0f, 0.0f, 0.0f);
  if (mPlane.Meet(segment, h) && !h.Equals(mPreviousHit))
    a = Angles(Travel(h, mPreviousHit), alternate);
  mPicked->EndRotate(a.mX, a.mY, a.mZ);
  SoundEnd(mHit, alternate);
  mPicked = nullptr;
}
