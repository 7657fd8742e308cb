// The drags of a group: the members move, turn, scale and mirror about the
// first member, and the spin and jiggle after a drag carry them the same
// way. The group's own transform nodes play no part.
#include "app/creation/VPLObjCreationGroup.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace {

MM3DVector Plus(const MM3DVector& base, const MM3DVector& offset) {
  return MM3DVector(base.mX + offset.mX, base.mY + offset.mY, base.mZ + offset.mZ, base.mW);
}

MM3DVector Through(const MM3DMatrix& matrix, const MM3DVector& direction) {
  MM3DVector out;
  matrix.TransformDirection(out, direction);
  return out;
}

MM3DMatrix Rotation(float ax, float ay, float az) {
  MM3DMatrix matrix;
  MM3DMatrixRotationXYZ(matrix, ax, ay, az);
  return matrix;
}

bool AnyTurn(const float angles[3]) {
  return angles[0] != 0.0f || angles[1] != 0.0f || angles[2] != 0.0f;
}

// The turn the elapsed time's share of the period gives, within one whole
// turn: ticks many periods apart times a stored step may be more than a
// float holds, and an infinite angle would put the members nowhere.
float SpinAngle(int32_t now, int32_t since, int32_t period, float increment) {
  const double elapsed = static_cast<double>(int64_t{now} - since);
  return static_cast<float>(
      std::remainder(elapsed / period * double{increment}, 2.0 * std::numbers::pi));
}

// The child's absolute size: a nested group scales its own members.
void ScaleChild(VPLObjCreation& child, float sx, float sy, float sz) {
  if (auto* group = dynamic_cast<VPLObjCreationGroup*>(&child)) {
    group->ApplyGroupScale(sx, sy, sz);
  } else {
    child.SetScale(sx, sy, sz);
  }
}

}  // namespace

std::vector<MM3DVector> VPLObjCreationGroup::Offsets() const {
  const MM3DVector anchor = GetWorldPosition();
  std::vector<MM3DVector> offsets;
  offsets.reserve(mChildren.size());
  for (const VPLObjCreation* child : mChildren) {
    MM3DVector offset = child->GetWorldPosition().Direction(anchor);
    offset.mW = 0.0f;
    offsets.push_back(offset);
  }
  return offsets;
}

void VPLObjCreationGroup::PlaceMembers(const MM3DVector& anchor,
                                       const std::vector<MM3DVector>& offsets,
                                       const MM3DMatrix& matrix) {
  for (size_t i = 1; i < mChildren.size() && i < offsets.size(); ++i) {
    mChildren[i]->SetLocation(Plus(anchor, Through(matrix, offsets[i])));
  }
}

void VPLObjCreationGroup::SetLocation(const MM3DVector& point) {
  if (mChildren.empty()) return;
  const HeldSteps held(*this);
  const std::vector<MM3DVector> offsets = Offsets();
  mChildren.front()->SetLocation(point);
  PlaceMembers(point, offsets, MM3DMatrixIdentity);
  MoveSoundSources();
  // Each member refreshed its bounds as it moved; refreshing them again
  // would cost a deep nesting the square of its depth at every level.
  BuildBounds();
}

void VPLObjCreationGroup::BeginMove() { PausePath(); }

void VPLObjCreationGroup::DragMove(float x, float y, float z) {
  if (mChildren.empty()) return;
  const MM3DVector point(x, y, z, 1.0f);
  const std::vector<MM3DVector> offsets = Offsets();
  mChildren.front()->SetLocation(point);
  PlaceMembers(point, offsets, MM3DMatrixIdentity);
  MoveSoundSources();
}

void VPLObjCreationGroup::EndMove(float x, float y, float z) {
  DragMove(x, y, z);
  RefreshBounds();
  if (!mChildren.empty() && OutsideTheWorld()) QueueRemoval();
  ResumePath();
}

void VPLObjCreationGroup::TurnMembers(float ax, float ay, float az) {
  if (mChildren.empty()) return;
  const MM3DVector anchor = GetWorldPosition();
  const std::vector<MM3DVector> offsets = Offsets();
  PlaceMembers(anchor, offsets, Rotation(ax, ay, az));
  for (VPLObjCreation* child : mChildren) child->RotateBy(ax, ay, az);
}

void VPLObjCreationGroup::BeginRotate(float ax, float ay, float az) {
  mStepsHeld = true;
  if (RU3DGenericSoundChannel* spin = GetSpinChannel()) {
    if (spin->GetChannel().IsPlaying()) spin->Stop();
  }
  PausePath();
  mSpinning = false;
  mJiggleInterrupted = false;
  if (mJiggling) {
    mJiggling = false;
    mJiggleInterrupted = true;
    std::copy(mJiggleHigh, mJiggleHigh + 3, mScaleCurrent);
    ApplyGroupScale(mJiggleHigh[0], mJiggleHigh[1], mJiggleHigh[2]);
  }
  std::fill(mSpinIncrement, mSpinIncrement + 3, 0.0f);
  mRotateStepTime = mPreviousRotateStepTime = Now();
  // The jiggle's offsets would not turn with the members: the members'
  // places after the turn are the ones it scales from.
  BakeScale();
  TurnMembers(ax, ay, az);
}

void VPLObjCreationGroup::DragRotate(float ax, float ay, float az) {
  mPreviousRotateStepTime = mRotateStepTime;
  mRotateStepTime = Now();
  const float increment[3] = {ax, ay, az};
  std::copy(increment, increment + 3, mSpinIncrement);
  TurnMembers(ax, ay, az);
}

void VPLObjCreationGroup::EndRotate(float ax, float ay, float az) {
  BakeScale();
  const float angles[3] = {ax, ay, az};
  // Without a step there is nothing to spin by, and no spin sound.
  if (!AnyTurn(angles) || !AnyTurn(mSpinIncrement)) {
    mSpinPeriod = 0;
    if (RU3DGenericSoundChannel* spin = GetSpinChannel()) spin->Stop();
    mSpinning = false;
  } else {
    mSpinPeriod = mRotateStepTime - mPreviousRotateStepTime;
    MakeSpinSoundChannel();
    UpdateSpinSound();
    mSpinning = true;
    // The group did not tick while held: the spin counts from the release,
    // not from the frame before the drag.
    mSpinStepTime = Now();
  }
  if (mJiggleInterrupted) mJiggling = true;
  RefreshBounds();
  mStepsHeld = false;
  ResumePath();
}

void VPLObjCreationGroup::StepSpin(int32_t now) {
  if (mSpinning && AnyTurn(mSpinIncrement) && mSpinPeriod > 0) {
    const float ax = SpinAngle(now, mSpinStepTime, mSpinPeriod, mSpinIncrement[0]);
    const float ay = SpinAngle(now, mSpinStepTime, mSpinPeriod, mSpinIncrement[1]);
    const float az = SpinAngle(now, mSpinStepTime, mSpinPeriod, mSpinIncrement[2]);
    TurnMembers(ax, ay, az);
    TransformPlacements(Rotation(ax, ay, az));
  }
  if (mSpinning) RefreshBounds();
  mSpinStepTime = now;
}

void VPLObjCreationGroup::ApplyGroupScale(float sx, float sy, float sz) {
  if (mChildren.empty()) return;
  ScaleChild(*mChildren.front(), sx, sy, sz);
  // A member appended meanwhile has no placement yet: take them all anew.
  if (mPlacements.size() != mChildren.size()) mPlacements = Offsets();
  MM3DMatrix scale;
  MM3DMatrixScale(scale, sx, sy, sz);
  PlaceMembers(GetWorldPosition(), mPlacements, scale);
  for (size_t i = 1; i < mChildren.size(); ++i) ScaleChild(*mChildren[i], sx, sy, sz);
}

void VPLObjCreationGroup::ShowJiggleScale() {
  ApplyGroupScale(mScaleCurrent[0], mScaleCurrent[1], mScaleCurrent[2]);
}

void VPLObjCreationGroup::BeginScale(float sx, float sy, float sz) {
  PausePath();
  mStepsHeld = true;
  mScaleStepTime = mPreviousScaleStepTime = Now();
  ClearPlacements();
  const float start[3] = {sx, sy, sz};
  std::copy(start, start + 3, mJiggleLow);
  std::fill(mScaleCurrent, mScaleCurrent + 3, 1.0f);
  std::fill(mJiggleHigh, mJiggleHigh + 3, 1.0f);
  mJiggling = false;
  BakeScale();
  ApplyGroupScale(sx, sy, sz);
}

void VPLObjCreationGroup::DragScale(float sx, float sy, float sz) {
  if (!(sx > kLeastScaleStep && sy > kLeastScaleStep && sz > kLeastScaleStep)) {
    std::copy(mJiggleHigh, mJiggleHigh + 3, mScaleCurrent);
    return;
  }
  mPreviousScaleStepTime = mScaleStepTime;
  mScaleStepTime = Now();
  std::copy(mScaleCurrent, mScaleCurrent + 3, mJiggleHigh);
  const float current[3] = {sx, sy, sz};
  std::copy(current, current + 3, mScaleCurrent);
  ApplyGroupScale(sx, sy, sz);
}

// Unlike a single object, a group that became small stays.
void VPLObjCreationGroup::EndScale() {
  const bool changed = !std::equal(mJiggleHigh, mJiggleHigh + 3, mScaleCurrent);
  if (changed && mScaleStepTime != mPreviousScaleStepTime) {
    mJigglePeriod = mScaleStepTime - mPreviousScaleStepTime;
    std::copy(mJiggleHigh, mJiggleHigh + 3, mScaleCurrent);
    for (int32_t axis = 0; axis < 3; ++axis) {
      if (!(mJiggleHigh[axis] > mJiggleLow[axis])) std::swap(mJiggleHigh[axis], mJiggleLow[axis]);
      mJiggleGrowing[axis] = false;
    }
    mJiggling = true;
  }
  if (mJiggling) {
    MakeJiggleSoundChannel();
  } else if (RU3DGenericSoundChannel* jiggle = GetJiggleChannel()) {
    jiggle->Stop();
  }
  RefreshBounds();
  mStepsHeld = false;
  ResumePath();
}

void VPLObjCreationGroup::BakeScale() {
  for (int32_t axis = 0; axis < 3; ++axis) {
    mJiggleLow[axis] /= mScaleCurrent[axis];
    mJiggleHigh[axis] /= mScaleCurrent[axis];
  }
  std::fill(mScaleCurrent, mScaleCurrent + 3, 1.0f);
  for (VPLObjCreation* child : mChildren) child->BakeScale();
  mPlacements.clear();
}

void VPLObjCreationGroup::ShowRestShape() {
  if (mJiggling) ApplyGroupScale(1.0f, 1.0f, 1.0f);
  for (VPLObjCreation* child : mChildren) child->ShowRestShape();
}

void VPLObjCreationGroup::ShowMotionShape() {
  if (mJiggling) ShowJiggleScale();
  for (VPLObjCreation* child : mChildren) child->ShowMotionShape();
}

void VPLObjCreationGroup::MirrorLeftRight(const MM3DVector& eye, const MM3DVector& interest) {
  Mirror(eye, interest, 0);
}

void VPLObjCreationGroup::MirrorUpDown(const MM3DVector& eye, const MM3DVector& interest) {
  Mirror(eye, interest, 1);
}

void VPLObjCreationGroup::Mirror(const MM3DVector& eye, const MM3DVector& interest, int32_t axis) {
  for (VPLObjCreation* child : mChildren) {
    if (axis == 0) {
      child->MirrorLeftRight(eye, interest);
    } else {
      child->MirrorUpDown(eye, interest);
    }
  }
  if (mChildren.empty()) return;
  const MM3DMatrix into = ViewTurn(eye, interest);
  MM3DMatrix back = into;
  back.InvertAffine();
  MM3DMatrix flip;
  MM3DMatrixScale(flip, axis == 0 ? -1.0f : 1.0f, axis == 0 ? 1.0f : -1.0f, 1.0f);
  MM3DMatrix intoFlipped;
  MM3DMatrixMultiply(intoFlipped, into, flip);
  MM3DMatrix mirror;
  MM3DMatrixMultiply(mirror, intoFlipped, back);
  PlaceMembers(GetWorldPosition(), Offsets(), mirror);
  TransformPlacements(mirror);
  RefreshBounds();
}
