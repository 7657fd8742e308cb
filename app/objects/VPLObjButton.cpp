#include "app/objects/VPLObjButton.h"

#include "app/objects/VPLSceneBase.h"
#include "app/objects/VPLScript.h"

VPLObjButton::VPLObjButton(MMScene* scene, const UURefCount<MM3DModel>& model,
                           const MMTaskCallback& callback, MMResourceId definition)
    : VPLObjEvent(scene, model, callback), mDefinition(definition) {
  if (mDefinition != kMMNoResource && !ShowRestFrame()) SetAlpha(mNormalAlpha);
}

int32_t VPLObjButton::FrameTime(int32_t frame, float rate) {
  if (!(rate > 0.0f)) rate = kDefaultFrameRate;
  return static_cast<int32_t>(static_cast<float>(frame) * 1000.0f / rate);
}

bool VPLObjButton::PlayRange(int16_t firstTag, bool atDefaultRate) {
  return PlayFrames(firstTag, atDefaultRate, false);
}

bool VPLObjButton::ShowRestFrame() {
  return PlayFrames(kVPLRestFramesTag, false, true) || PlayFrames(kVPLClickFramesTag, false, true);
}

bool VPLObjButton::PlayFrames(int16_t firstTag, bool atDefaultRate, bool lastFrameOnly) {
  if (mDefinition == kMMNoResource) return false;
  const VPLScript definition(mDefinition, kVPLButtonDefinition);
  if (definition.FindTag(firstTag) < 0) return false;
  float rate = kDefaultFrameRate;
  if (!atDefaultRate && definition.FindTag(kVPLFrameRateTag) >= 0) {
    rate = static_cast<float>(definition.GetTagInt32(kVPLFrameRateTag));
  }
  const int32_t last = FrameTime(definition.GetTagInt16(static_cast<int16_t>(firstTag + 1)), rate);
  const int32_t first = lastFrameOnly ? last : FrameTime(definition.GetTagInt16(firstTag), rate);
  PlayAnimation(first, last, false);
  return true;
}

void VPLObjButton::PlaySound(int16_t listTag) {
  auto* scene = dynamic_cast<VPLSceneBase*>(GetScene());
  if (mDefinition == kMMNoResource || scene == nullptr) return;
  const VPLScript definition(mDefinition, kVPLButtonDefinition);
  if (definition.FindTag(listTag) < 0) return;
  scene->PlayListSoundAtObject(*this, definition.GetTagScriptId(listTag), false);
}

void VPLObjButton::OnHoverOn() {
  if (mDefinition == kMMNoResource || mHovered) return;
  PlaySound(kVPLHoverOnSoundTag);
  PlayRange(kVPLHoverFramesTag);
  mHovered = true;
}

void VPLObjButton::OnHoverOff() {
  if (mDefinition == kMMNoResource || !mHovered) return;
  PlaySound(kVPLHoverOffSoundTag);
  if (!PlayRange(kVPLRestFramesTag)) PlayRange(kVPLClickFramesTag);
  mHovered = false;
}

void VPLObjButton::OnPress(const VPLPickEvent& /*event*/) {
  PlaySound(kVPLPressSoundTag);
  PlayRange(kVPLPressFramesTag);
}

void VPLObjButton::OnRelease(const VPLPickEvent& /*event*/) {
  PlaySound(kVPLClickSoundTag);
  PlayRange(kVPLClickFramesTag);
}

void VPLObjButton::OnDoubleClick() { PlaySound(kVPLDoubleClickSoundTag); }

void VPLObjButton::OnDrag(const VPLPickEvent& /*event*/) { PlaySound(kVPLDragSoundTag); }

void VPLObjButton::OnReleaseOutside(const VPLPickEvent& /*event*/) {
  PlaySound(kVPLReleaseOutsideSoundTag);
}

void VPLOnUpButtonObject::OnRelease(const VPLPickEvent& event) {
  VPLObjButton::OnRelease(event);
  FireCallback();
}

void VPLOnDownButtonObject::OnPress(const VPLPickEvent& event) {
  VPLObjButton::OnPress(event);
  FireCallback();
}

void VPLOnDblClickButtonObject::OnDoubleClick() {
  VPLObjButton::OnDoubleClick();
  FireCallback();
}
