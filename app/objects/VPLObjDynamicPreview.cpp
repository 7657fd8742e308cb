#include "app/objects/VPLObjDynamicPreview.h"

#include "app/objects/VPLSceneBase.h"
#include "mm/stage/MMStage.h"
#include "mm/tasks/MMTaskManager.h"
#include "mm3d/MM3DDisplayTreeNodeTransform.h"

#include <algorithm>

namespace {

float Mix(float a, float b, float t) { return std::clamp(a + (b - a) * t, 0.0f, 1.0f); }

}  // namespace

VPLObjDynamicPreview::VPLObjDynamicPreview(VPLSceneBase* scene, const UURefCount<MM3DModel>& model)
    : VPLObj(scene, model), mLastTick(GetStage()->GetTaskManager()->GetNow()) {
  scene->AddObject(this);
}

void VPLObjDynamicPreview::Tick(int32_t now) {
  const float seconds = static_cast<float>(now - mLastTick) * 0.001f;
  if (seconds == 0.0f) return;
  const float angle = seconds * kTurnRate;
  if (angle > 0.0f && GetRotationNode() != nullptr) {
    MM3DMatrix rotation;
    MM3DMatrixRotationXYZ(rotation, 0.0f, angle, 0.0f);
    rotation *= GetRotationNode()->GetMatrix();
    GetRotationNode()->SetMatrix(rotation);
  }
  mLastTick = now;
  StepPulse();
}

void VPLObjDynamicPreview::StepPulse() {
  if (!mPulsing) return;
  const MM3DColor color{Mix(mColorA.mR, mColorB.mR, mPhase), Mix(mColorA.mG, mColorB.mG, mPhase),
                        Mix(mColorA.mB, mColorB.mB, mPhase), Mix(mColorA.mA, mColorB.mA, mPhase)};
  // Twenty steps of 0.05 reach an end, though their float sum misses it.
  constexpr float kReached = kPulseStep / 2;
  mPhase += mRising ? kPulseStep : -kPulseStep;
  if (mPhase >= 1.0f - kReached || mPhase <= kReached) {
    mPhase = mRising ? 1.0f : 0.0f;
    mRising = !mRising;
  }
  SetColor(color);
}

void VPLObjDynamicPreview::TakeMaterialColors(const MM3DColor& /*color*/, const MM3DColor& second) {
  SetColorB(second.mR, second.mG, second.mB, second.mA);
}

void VPLObjDynamicPreview::SetColorA(float r, float g, float b, float a) {
  mColorA = {r, g, b, a};
  UpdatePulsing();
}

void VPLObjDynamicPreview::SetColorB(float r, float g, float b, float a) {
  mColorB = {r, g, b, a};
  UpdatePulsing();
}

void VPLObjDynamicPreview::UpdatePulsing() {
  // A single channel alike stops the pulse; alpha is not compared.
  mPulsing = mColorA.mR != mColorB.mR && mColorA.mG != mColorB.mG && mColorA.mB != mColorB.mB;
}
