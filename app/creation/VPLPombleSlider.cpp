#include "app/creation/VPLPombleSlider.h"

#include "app/creation/VPLObjButtonToolPomble.h"
#include "app/objects/VPLPicking.h"
#include "app/objects/VPLScript.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kPi = 3.14159265f;
constexpr float kHalfPi = 1.5707964f;
// Three points of the plane the knob moves in.
const MM3DVector kPlane[3] = {
    {10.0f, 0.0f, -45.0f, 1.0f}, {-10.0f, 0.0f, -45.0f, 1.0f}, {0.0f, 10.0f, -45.0f, 1.0f}};

MM3DVector ReadPoint(MMResourceId table) {
  MM3DVector point{0.0f, 0.0f, 0.0f, 1.0f};
  VPLReadVectorTable(table, point);
  point.mW = 1.0f;
  return point;
}

bool HasComponent(const MM3DColor& c) { return c.mR != 0 || c.mG != 0 || c.mB != 0 || c.mA != 0; }

}  // namespace

VPLPombleSlider::VPLPombleSlider(MMScene* scene, const UURefCount<MM3DModel>& model,
                                 MMResourceId knobId, const MMTaskCallback& callback,
                                 VPLObjButtonToolPomble* tool)
    : VPLObjSlider(scene, model, knobId, callback),
      mTool(tool),
      mCentre(ReadPoint(kCentreTable)),
      mRim(ReadPoint(kRimTable)) {
  mRim.mZ = kKnobDepth;
  PlaceKnob(mRim);
  mNormalAlpha = kReleasedAlpha;
  SetAlpha(mNormalAlpha);
}

float VPLPombleSlider::Radius() const {
  const float dx = mRim.mX - mCentre.mX;
  const float dy = mRim.mY - mCentre.mY;
  const float dz = mRim.mZ - mCentre.mZ;
  return std::sqrt(dx * dx + dy * dy + dz * dz);
}

MM3DVector VPLPombleSlider::OnCircle(float angle, float w) const {
  const float r = Radius();
  return MM3DVector(mCentre.mX + r * std::cos(angle), mCentre.mY + r * std::sin(angle), kKnobDepth,
                    w);
}

MM3DVector VPLPombleSlider::ComputeKnobPosition(const VPLPickEvent& event) {
  MM3DVector hit;
  if (!VPLIntersectSegmentPlane(event.mRay, kPlane[0], kPlane[1], kPlane[2], hit)) {
    return mKnobPosition;
  }
  const float r = Radius();
  const float g = r > 0.0f ? std::clamp((hit.mY - mCentre.mY) / r, -1.0f, 1.0f) : 0.0f;
  const float m = std::asin(g);
  mKnobPosition = OnCircle(m, event.mRay.mStart.mW);
  mTool->ApplyPose(m + kHalfPi, true);
  return mKnobPosition;
}

void VPLPombleSlider::SetFromValue(float pose) { PlaceKnob(OnCircle(pose * kPi - kHalfPi, 1.0f)); }

void VPLPombleSlider::OnRelease(const VPLPickEvent& event) {
  VPLObjSlider::OnRelease(event);
  mTool->PoseCharacter();
}

void VPLPombleSlider::ApplyHoverLook(float alpha, const MM3DColor& color) {
  SetAlpha(alpha);
  if (HasComponent(mHoverColor) && HasComponent(mNormalColor)) SetColor(color);
}

void VPLPombleSlider::OnHoverOn() {
  ApplyHoverLook(mHoverAlpha, mHoverColor);
  VPLObjSlider::OnHoverOn();
}

void VPLPombleSlider::OnHoverOff() {
  ApplyHoverLook(mNormalAlpha, mNormalColor);
  VPLObjSlider::OnHoverOff();
}
