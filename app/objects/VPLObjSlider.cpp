#include "app/objects/VPLObjSlider.h"

#include "app/objects/VPLObjButton.h"
#include "app/objects/VPLSceneBase.h"
#include "app/objects/VPLScript.h"

VPLObjSlider::VPLObjSlider(MMScene* scene, const UURefCount<MM3DModel>& model, MMResourceId knobId,
                           const MMTaskCallback& callback)
    : VPLObjEvent(scene, model, callback), mTrack(*this), mKnobId(knobId) {
  const VPLScript table(knobId, kVPLButtonDefinition);
  const MMResourceId knobModel = knobId != kMMNoResource && table.FindTag(kVPLModelTag) >= 0
                                     ? static_cast<MMResourceId>(table.GetTagUInt32(kVPLModelTag))
                                     : kMMNoResource;
  mKnob = std::make_unique<VPLObj>(scene, LoadModel(scene, knobModel));
  mKnob->SetScriptId(knobId);
  ReadTrackExtent();
  mKnobPosition = mTrackMin;
  mKnob->SetLocation(MM3DVector(mTrackMin.mX, mTrackMin.mY, kKnobDepth, mTrackMin.mW));
}

VPLObjSlider::~VPLObjSlider() { mKnob->Detach(); }

void VPLObjSlider::ReadTrackExtent() { GetBounds(mTrackMin, mTrackMax); }

void VPLObjSlider::PlaceKnob(const MM3DVector& position) {
  mKnobPosition = position;
  mKnob->SetLocation(position);
}

MM3DVector VPLObjSlider::KnobAt(float f) const {
  return MM3DVector(mTrackMin.mX + (mTrackMax.mX - mTrackMin.mX) * f,
                    mTrackMin.mY + (mTrackMax.mY - mTrackMin.mY) * 0.5f, kKnobDepth,
                    mKnobPosition.mW);
}

bool VPLObjSlider::PlayRange(int16_t firstTag, bool atDefaultRate) {
  if (mKnobId == kMMNoResource) return false;
  const VPLScript table(mKnobId, kVPLButtonDefinition);
  if (table.FindTag(firstTag) < 0) return false;
  float rate = VPLObjButton::kDefaultFrameRate;
  if (!atDefaultRate && table.FindTag(kVPLFrameRateTag) >= 0) {
    rate = static_cast<float>(table.GetTagInt32(kVPLFrameRateTag));
  }
  PlayAnimation(
      VPLObjButton::FrameTime(table.GetTagInt16(firstTag), rate),
      VPLObjButton::FrameTime(table.GetTagInt16(static_cast<int16_t>(firstTag + 1)), rate), false);
  return true;
}

void VPLObjSlider::PlaySound(int16_t listTag, bool loop) {
  auto* scene = dynamic_cast<VPLSceneBase*>(GetScene());
  if (mKnobId == kMMNoResource || scene == nullptr) return;
  const VPLScript table(mKnobId, kVPLButtonDefinition);
  if (table.FindTag(listTag) < 0) return;
  scene->PlayListSoundAtObject(*this, table.GetTagScriptId(listTag), loop);
}

void VPLObjSlider::OnHoverOn() {
  if (mHovered) return;
  PlaySound(kVPLHoverOnSoundTag);
  if (!PlayRange(kVPLHoverFramesTag)) SetAlpha(mHoverAlpha);
  mHovered = true;
}

void VPLObjSlider::OnHoverOff() {
  if (!mHovered) return;
  PlaySound(kVPLHoverOffSoundTag);
  if (!PlayRange(kVPLRestFramesTag) && !PlayRange(kVPLClickFramesTag)) SetAlpha(mNormalAlpha);
  mHovered = false;
}

void VPLObjSlider::OnPress(const VPLPickEvent& event) {
  mPressPosition = mKnobPosition;
  PlaySound(kVPLPressSoundTag);
  PlayRange(kVPLPressFramesTag);
  mRay = event.mRay;
  MoveKnob(event);
}

void VPLObjSlider::OnRelease(const VPLPickEvent& event) {
  FireCallback();
  PlaySound(kVPLClickSoundTag);
  PlayRange(kVPLToggleFramesTag);
  mRay = event.mRay;
  MoveKnob(event);
}

void VPLObjSlider::OnDrag(const VPLPickEvent& event) {
  const auto* scene = dynamic_cast<VPLSceneBase*>(GetScene());
  if (scene != nullptr && !scene->IsSoundPlaying()) PlaySound(kVPLDragSoundTag, true);
  mRay = event.mRay;
  MoveKnob(event);
}

void VPLObjSlider::ResetKnob() {
  BuildHitShape();
  ReadTrackExtent();
  PlaceKnob(mTrackMin);
}

void VPLObjSlider::MoveKnob(const VPLPickEvent& event) {
  mKnob->SetLocation(ComputeKnobPosition(event));
}

MM3DVector VPLObjSlider::ClampedTrackPoint(const MM3DVector& local) const {
  MM3DVector left;
  MM3DVector right;
  MM3DVector h(local.mX, local.mY, local.mZ, 1.0f);
  if (mTrack.Position(0, left) && h.mX < left.mX) h.mX = left.mX;
  if (mTrack.Position(2, right) && h.mX > right.mX) h.mX = right.mX;
  MM3DVector world;
  mTrack.WorldMatrix().TransformPoint(world, h);
  return world;
}

MM3DVector VPLObjSlider::ComputeKnobPosition(const VPLPickEvent& event) {
  const int32_t i = mTrack.PickTriangle(*this, event.mRay);
  if (i < 0) {
    mKnobPosition = mPressPosition;
    return mKnobPosition;
  }
  MM3DVector p = mPressPosition;
  VPLBlockHit hit;
  if (mTrack.HitTriangle(i, event.mRay, hit)) p = ClampedTrackPoint(hit.mPoint);
  mKnobPosition.mX = p.mX;
  mKnobPosition.mZ = kKnobDepth;
  return mKnobPosition;
}
