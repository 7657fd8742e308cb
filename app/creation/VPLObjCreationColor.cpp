// The colour pulse and the highlight of a created object.
#include "app/creation/VPLObjCreation.h"

#include "app/objects/VPLDisplayTreeVisitors.h"
#include "mm3d/MM3DDisplayTreeNodeIndexedMesh.h"

#include <algorithm>

namespace {

constexpr float kThird = 0.33333334f;

float Mean(const MM3DColor& c) { return (c.mB + c.mG + c.mR) * kThird; }

float Clamp01(float v) { return std::max(0.0f, std::min(1.0f, v)); }

}  // namespace

void VPLObjCreation::SetColor(const MM3DColor& color) {
  mBaseColor = color;
  VPLObj::SetColor(color);
  mPulseMix = 0.0f;
}

void VPLObjCreation::SetSecondColor(const MM3DColor& color) {
  if (color == mBaseColor) {
    mPulsing = false;
    return;
  }
  mSecondColor = color;
  mPulsing = true;
  mPulseMix = 1.0f;
  UpdatePulsePeriod();
}

void VPLObjCreation::SetColors(const MM3DColor& base, const MM3DColor& second) {
  if (base == second) {
    mPulsing = false;
    return;
  }
  mBaseColor = base;
  mSecondColor = second;
  mPulsing = true;
  mPulseMix = 1.0f;
  UpdatePulsePeriod();
}

// A black colour on either side has no period: the pulse stops and the
// colours stay. Colours far out of range (a damaged record) pulse at most
// this slowly.
void VPLObjCreation::UpdatePulsePeriod() {
  constexpr float kLongestPeriod = 1.0e9f;
  const float base = Mean(mBaseColor);
  const float second = Mean(mSecondColor);
  const float period = base / second * kPulsePeriodFactor;
  mPulsePeriod = base > 0.0f && second > 0.0f && period >= 1.0f
                     ? static_cast<int32_t>(std::min(period, kLongestPeriod))
                     : 0;
  if (mPulsePeriod <= 0) mPulsing = false;
}

void VPLObjCreation::StepColorPulse(int32_t now) {
  if (mPulsing && mPulsePeriod > 0) {
    const int32_t dt = std::clamp(now - mPulseStepTime, 0, mPulsePeriod);
    const float f = std::min(1.0f, static_cast<float>(dt) / static_cast<float>(mPulsePeriod));
    const float mix = mPulseMix;
    const auto between = [mix](float a, float b) { return Clamp01(a + (b - a) * mix); };
    const MM3DColor shown{
        between(mBaseColor.mR, mSecondColor.mR), between(mBaseColor.mG, mSecondColor.mG),
        between(mBaseColor.mB, mSecondColor.mB), between(mBaseColor.mA, mSecondColor.mA)};
    if (mPulseRising) {
      mPulseRising = mPulseMix < 1.0f;
      mPulseMix = mPulseRising ? mPulseMix + kPulseStep * f : 1.0f;
    } else {
      mPulseRising = !(mPulseMix > 0.0f);
      mPulseMix = mPulseRising ? 0.0f : mPulseMix - kPulseStep * f;
    }
    VPLObj::SetColor(shown);
  }
  mPulseStepTime = now;
}

MM3DMaterialWithColor* VPLObjCreation::ColoredPartZero(MM3DDisplayTreeNode* mesh) {
  auto* indexed = static_cast<MM3DDisplayTreeNodeIndexedMesh*>(mesh);
  if (indexed == nullptr || indexed->GetPartCount() == 0) return nullptr;
  return dynamic_cast<MM3DMaterialWithColor*>(indexed->GetPart(0).mMaterial.Get());
}

void VPLObjCreation::SetHighlight(bool on, const MM3DColor& tint) {
  if (on == mHighlighted) return;
  const UUGrowableArray<MM3DDisplayTreeNode*> meshes = VPLFindMeshes(GetDisplayTreeRoot());
  if (on) {
    mSavedPulsing = mPulsing;
    mPulsing = false;
    for (int32_t i = 0; i < meshes.Count(); ++i) {
      MM3DMaterialWithColor* material = ColoredPartZero(meshes[i]);
      mSavedColors.Append(material != nullptr ? material->GetColor() : mBaseColor);
      if (material != nullptr) material->SetColor(tint);
    }
  } else {
    mPulsing = mSavedPulsing;
    for (int32_t i = 0; i < meshes.Count() && i < mSavedColors.Count(); ++i) {
      if (MM3DMaterialWithColor* material = ColoredPartZero(meshes[i])) {
        material->SetColor(mSavedColors[i]);
      }
    }
    mSavedColors = UUGrowableArray<MM3DColor>();
  }
  mHighlighted = on;
}

void VPLObjCreation::HoldHighlight(bool on) {
  if (on && mHighlighted) return;
  if (on) {
    mSavedPulsing = mPulsing;
    mPulsing = false;
  } else {
    mPulsing = mSavedPulsing;
  }
  mHighlighted = on;
}
