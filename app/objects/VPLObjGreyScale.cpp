#include "app/objects/VPLObjGreyScale.h"

#include "app/objects/VPLMaterializer.h"
#include "app/objects/VPLObjDynamicPreview.h"
#include "app/objects/VPLSceneBase.h"
#include "mm3d/MM3DMathFunctions.h"

namespace {

constexpr float kByteScale = 0.003921569f;  // 1/255

// (1 - f) a + f b truncated toward zero, written so that the ends and equal
// bytes come out exactly rather than a hair below.
uint8_t MixByte(uint8_t a, uint8_t b, float f) {
  const auto from = static_cast<float>(a);
  return static_cast<uint8_t>(MM3DTruncate(from + f * (static_cast<float>(b) - from)));
}

}  // namespace

float VPLByteToFloat(uint8_t byte) { return static_cast<float>(byte) * kByteScale; }

MM3DColor VPLUnpack(const MM3DPackedColor& color) {
  return MM3DColor{VPLByteToFloat(color.mR), VPLByteToFloat(color.mG), VPLByteToFloat(color.mB),
                   VPLByteToFloat(color.mA)};
}

MM3DPackedColor VPLPack(const MM3DColor& color) {
  MM3DPackedColor packed{};
  packed.SetFromColor(color);
  return packed;
}

VPLObjGreyScale::VPLObjGreyScale(MMScene* scene, const UURefCount<MM3DModel>& model,
                                 MMResourceId knobId, const MMTaskCallback& callback,
                                 VPLMaterializer* materializer, VPLObjDynamicPreview* preview)
    : VPLObjSlider(scene, model, knobId, callback), mMaterializer(materializer), mPreview(preview) {
  mTrack.Position(0, mTrackMin);
  mTrack.Position(1, mTrackMax);
  mKnobPosition = mTrackMin;
  GetKnob().SetLocation(mKnobPosition);
  GetKnob().SetVisibility(kMMHidden);
  const MM3DColor base = mMaterializer != nullptr ? mMaterializer->GetColor() : MM3DColor{};
  SetColor(VPLPack(base), false, false);
  if (mPreview == nullptr || mMaterializer == nullptr) return;
  const MM3DColor first = VPLUnpack(VPLPack(base));
  const MM3DColor second = VPLUnpack(VPLPack(mMaterializer->GetSecondColor()));
  mPreview->SetColorA(first.mR, first.mG, first.mB, first.mA);
  mPreview->SetColorB(second.mR, second.mG, second.mB, second.mA);
}

void VPLObjGreyScale::OnHoverOn() {
  if (auto* scene = dynamic_cast<VPLSceneBase*>(GetScene())) {
    scene->PlayListSoundAtObject(*this, kHoverSoundList, false);
  }
  VPLObjSlider::OnHoverOn();
}

void VPLObjGreyScale::OnHoverOff() {
  if (auto* scene = dynamic_cast<VPLSceneBase*>(GetScene())) {
    scene->PlayListSoundAtObject(*this, kHoverSoundList, false);
  }
  VPLObjSlider::OnHoverOff();
}

void VPLObjGreyScale::OnRelease(const VPLPickEvent& event) {
  if (auto* scene = dynamic_cast<VPLSceneBase*>(GetScene())) {
    scene->PlayListSoundAtObject(*this, kClickSoundList, false);
  }
  VPLObjSlider::OnRelease(event);
}

uint8_t VPLObjGreyScale::CurrentAlpha() const {
  if (mMaterializer == nullptr) return 0;
  return VPLPack(MM3DColor{0.0f, 0.0f, 0.0f, mMaterializer->GetColor().mA}).mA;
}

void VPLObjGreyScale::SetColor(const MM3DPackedColor& color, bool apply, bool both) {
  if (MM3DIndexedMeshVertexData* block = mTrack.Block()) {
    if (block->mColors.Count() > 0) block->mColors[0] = color;
    if (block->mColors.Count() > 2) block->mColors[2] = color;
  }
  mKnobPosition = mTrackMin;
  const MM3DPackedColor withAlpha{color.mR, color.mG, color.mB, CurrentAlpha()};
  if (apply) ApplyToMaterializer(withAlpha, both);
  ShowOnPreview(withAlpha, both);
}

void VPLObjGreyScale::ShowOnPreview(const MM3DPackedColor& color, bool both) {
  if (mPreview == nullptr) return;
  const MM3DColor f = VPLUnpack(color);
  mPreview->SetColorA(f.mR, f.mG, f.mB, f.mA);
  if (both) mPreview->SetColorB(f.mR, f.mG, f.mB, f.mA);
}

void VPLObjGreyScale::ApplyToMaterializer(const MM3DPackedColor& color, bool both) {
  if (mMaterializer == nullptr) return;
  const MM3DColor f = VPLUnpack(color);
  mMaterializer->SetColor(f);
  if (mPreview == nullptr) return;
  if (both) mMaterializer->SetSecondColor(f);
  mMaterializer->Apply(mPreview);
}

void VPLObjGreyScale::GetEndColours(MM3DPackedColor& first, MM3DPackedColor& second) const {
  first = second = MM3DPackedColor{0, 0, 0, 0};
  const MM3DIndexedMeshVertexData* block = mTrack.Block();
  if (block == nullptr) return;
  if (block->mColors.Count() > 0) first = block->mColors[0];
  if (block->mColors.Count() > 1) second = block->mColors[1];
}

MM3DPackedColor VPLObjGreyScale::CurrentColour() const {
  MM3DPackedColor first{};
  MM3DPackedColor second{};
  GetEndColours(first, second);
  const float width = mTrackMax.mX - mTrackMin.mX;
  const float f = width == 0.0f ? 0.0f : (mKnobPosition.mX - mTrackMin.mX) / width;
  return MM3DPackedColor{MixByte(first.mR, second.mR, f), MixByte(first.mG, second.mG, f),
                         MixByte(first.mB, second.mB, f), 0};
}

void VPLObjGreyScale::MoveKnob(const VPLPickEvent& event) {
  VPLBlockHit hit;
  if (!mTrack.HitTriangle(mTrack.PickTriangle(*this, event.mRay), event.mRay, hit)) return;
  mKnobPosition = hit.mPoint;
  MM3DVector world;
  mTrack.WorldMatrix().TransformPoint(world, mKnobPosition);
  GetKnob().SetLocation(world);
  const bool both = !event.Has(kVPLAlternate);
  MM3DPackedColor color = CurrentColour();
  color.mA = CurrentAlpha();
  ApplyToMaterializer(color, both);
  ShowOnPreview(color, both);
}
