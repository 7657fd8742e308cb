// The after-motions of a created object: the spin that goes on after a
// rotation drag and the jiggle that goes on after a scale drag.
#include "app/creation/VPLObjCreation.h"

#include "media/sound/MMSoundReference.h"
#include "mm3d/MM3DDisplayTreeNodeTransform.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// The step's share of its period: 0 to 1.
float Share(int32_t elapsed, int32_t period) {
  const int32_t dt = std::clamp(elapsed, 0, period);
  return std::min(1.0f, static_cast<float>(dt) / static_cast<float>(period));
}

}  // namespace

void VPLObjCreation::StepSpin(int32_t now) {
  const bool turns =
      mSpinIncrement[0] != 0.0f || mSpinIncrement[1] != 0.0f || mSpinIncrement[2] != 0.0f;
  if (mSpinning && turns && mSpinPeriod > 0) {
    if (GetType() == kVPLObjCreationChar) {
      RotateBy(mSpinIncrement[0], mSpinIncrement[1], mSpinIncrement[2]);
    } else if (MM3DDisplayTreeNodeTransform* node = GetRotationNode()) {
      const float f = Share(now - mSpinStepTime, mSpinPeriod);
      MM3DMatrix step;
      MM3DMatrixRotationXYZ(step, f * mSpinIncrement[0], f * mSpinIncrement[1],
                            f * mSpinIncrement[2]);
      MM3DMatrix turned;
      MM3DMatrixMultiply(turned, step, node->GetMatrix());
      node->SetMatrix(turned);
    }
  }
  mSpinStepTime = now;
}

void VPLObjCreation::StepScaleJiggle(int32_t now) {
  if (mJiggling && mJigglePeriod > 0) {
    ShowJiggleScale();
    if (StepJiggleFactors(Share(now - mJiggleStepTime, mJigglePeriod))) {
      StartSound(mJiggleChannel.get(), mJiggleSound, false);
    }
  }
  mJiggleStepTime = now;
}

void VPLObjCreation::ShowJiggleScale() {
  MM3DDisplayTreeNodeTransform* node = GetScaleNode();
  if (node == nullptr) return;
  MM3DMatrix scale;
  MM3DMatrixScale(scale, mScaleCurrent[0], mScaleCurrent[1], mScaleCurrent[2]);
  MM3DMatrix scaled;
  MM3DMatrixMultiply(scaled, scale, mScaleBase);
  node->SetMatrix(scaled);
}

// The character's model is never written: its shape needs no rest.
void VPLObjCreation::ShowRestShape() {
  if (mJiggling && GetType() != kVPLObjCreationChar) SetScaleNode(mScaleBase);
}

void VPLObjCreation::ShowMotionShape() {
  if (mJiggling && GetType() != kVPLObjCreationChar) ShowJiggleScale();
}

bool VPLObjCreation::StepJiggleFactors(float f) {
  bool bounced = false;
  for (int32_t axis = 0; axis < 3; ++axis) {
    float& current = mScaleCurrent[axis];
    bool& growing = mJiggleGrowing[axis];
    if (growing && current < mJiggleHigh[axis]) {
      current = std::min(mJiggleHigh[axis], current + kJiggleStep * f);
    } else if (!growing && current > mJiggleLow[axis]) {
      current = std::max(mJiggleLow[axis], current - kJiggleStep * f);
    } else {
      current = growing ? mJiggleHigh[axis] : mJiggleLow[axis];
      growing = !growing;
      bounced = true;
    }
  }
  return bounced;
}

void VPLObjCreation::UpdateSpinSound() {
  if (!mSpinChannel) return;
  StartSound(mSpinChannel.get(), mSpinSound, true);
  const int32_t duration = MMSoundReference(mSpinSound).GetInfo();
  const float fastest = std::max(
      {std::fabs(mSpinIncrement[0]), std::fabs(mSpinIncrement[1]), std::fabs(mSpinIncrement[2])});
  const float stepsPerTurn = fastest > 0.0f ? 2.0f * std::numbers::pi_v<float> / fastest : 1.0f;
  int32_t rate = kMinSpinRate;
  if (mSpinPeriod > 0 && duration > 0) {
    const float turn = static_cast<float>(mSpinPeriod) * stepsPerTurn;
    const float exact = 65536.0f / (turn / static_cast<float>(duration));
    rate = std::max(kMinSpinRate, static_cast<int32_t>(std::min(exact, 2.0e9f)));
  }
  mSpinChannel->GetChannel().SetPitch(rate);
}
