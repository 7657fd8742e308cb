#include "app/objects/VPLObjColorPicker.h"

#include "app/objects/VPLObjGreyScale.h"
#include "app/objects/VPLSceneBase.h"
#include "mm3d/MM3DMathFunctions.h"

#include <cmath>

namespace {

float Length(const MM3DVector& v) {
  return std::sqrt(MM3DVector(v.mX, v.mY, v.mZ, 0.0f).LengthSquared());
}

// How far along the edge (a, b) the point lies, by its distance from the
// line through a along b's direction from the origin; 1 at most, and 1
// when either length is zero.
float EdgeWeight(const MM3DVector& a, const MM3DVector& b, const MM3DVector& q) {
  const float bLength = Length(b);
  const float edge = Length(a.Direction(b));
  if (bLength == 0.0f || edge == 0.0f) return 1.0f;
  MM3DVector n(b.mX, b.mY, b.mZ, 0.0f);
  n.Divide(bLength);
  const MM3DVector x = a.Sum(q.Cross(n));
  const float t = Length(a.Direction(x)) / edge;
  return t <= 1.0f ? t : 1.0f;
}

// t a + (1 - t) b truncated toward zero, written so that equal bytes give
// that byte for any t rather than one below.
uint8_t MixChannel(uint8_t a, uint8_t b, float t) {
  const auto to = static_cast<float>(b);
  return static_cast<uint8_t>(MM3DTruncate(to + t * (static_cast<float>(a) - to)));
}

MM3DPackedColor MixEdge(const MM3DPackedColor& a, const MM3DPackedColor& b, float t) {
  return MM3DPackedColor{MixChannel(a.mR, b.mR, t), MixChannel(a.mG, b.mG, t),
                         MixChannel(a.mB, b.mB, t), 0};
}

uint8_t Mean(uint8_t a, uint8_t b, uint8_t c) {
  return static_cast<uint8_t>((static_cast<int32_t>(a) + b + c) / 3);
}

}  // namespace

MM3DPackedColor VPLMixTriangleColour(const MM3DVector p[3], const MM3DPackedColor c[3],
                                     const MM3DVector& q) {
  const MM3DPackedColor e1 = MixEdge(c[0], c[2], EdgeWeight(p[0], p[2], q));
  const MM3DPackedColor e2 = MixEdge(c[0], c[1], EdgeWeight(p[0], p[1], q));
  const MM3DPackedColor e3 = MixEdge(c[1], c[2], EdgeWeight(p[1], p[2], q));
  return MM3DPackedColor{Mean(e1.mR, e2.mR, e3.mR), Mean(e1.mG, e2.mG, e3.mG),
                         Mean(e1.mB, e2.mB, e3.mB), 0};
}

VPLObjColorPicker::VPLObjColorPicker(MMScene* scene, const UURefCount<MM3DModel>& model,
                                     const MMTaskCallback& callback, VPLObjGreyScale* greyScale)
    : VPLObjEvent(scene, model, callback), mWheel(*this), mGreyScale(greyScale) {
  SetPosition(kPlaceX, kPlaceY, kPlaceZ);
}

void VPLObjColorPicker::PlaySoundList(MMResourceId list) {
  if (auto* scene = dynamic_cast<VPLSceneBase*>(GetScene())) {
    scene->PlayListSoundAtObject(*this, list, false);
  }
}

void VPLObjColorPicker::OnHoverOn() {
  if (mHovered) return;
  PlaySoundList(VPLObjGreyScale::kHoverSoundList);
  PlayAnimation(kHoverStart, kHoverEnd, false);
  mHovered = true;
}

void VPLObjColorPicker::OnHoverOff() {
  if (!mHovered) return;
  PlaySoundList(VPLObjGreyScale::kHoverSoundList);
  PlayAnimation(0, kHoverStart, false);
  mHovered = false;
}

void VPLObjColorPicker::OnPress(const VPLPickEvent& event) {
  mRay = event.mRay;
  Pick(event);
}

void VPLObjColorPicker::OnRelease(const VPLPickEvent& event) {
  PlaySoundList(VPLObjGreyScale::kClickSoundList);
  FireCallback();
  PlayAnimation(kHoverEnd, kClickEnd, false);
  mRay = event.mRay;
  Pick(event);
}

void VPLObjColorPicker::OnDrag(const VPLPickEvent& event) {
  mRay = event.mRay;
  Pick(event);
}

bool VPLObjColorPicker::Pick(const VPLPickEvent& event) {
  VPLBlockHit hit;
  if (!mWheel.HitTriangle(mWheel.PickTriangle(*this, event.mRay), event.mRay, hit)) return false;
  const MM3DIndexedMeshVertexData& block = *mWheel.Block();
  MM3DVector corners[3];
  MM3DPackedColor colours[3];
  for (int32_t k = 0; k < 3; ++k) {
    if (hit.mCorners[k] >= block.mColors.Count()) return false;
    mWheel.Position(hit.mCorners[k], corners[k]);
    colours[k] = block.mColors[hit.mCorners[k]];
  }
  const MM3DVector q(hit.mPoint.mX, hit.mPoint.mY, corners[0].mZ, 0.0f);
  mPicked = VPLMixTriangleColour(corners, colours, q);
  if (mGreyScale != nullptr) mGreyScale->SetColor(mPicked, true, !event.Has(kVPLAlternate));
  return true;
}
