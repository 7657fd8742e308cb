#include "app/objects/VPLPercentageSlider.h"

#include "app/objects/VPLMaterializer.h"

VPLPercentageSlider::VPLPercentageSlider(MMScene* scene, const UURefCount<MM3DModel>& model,
                                         MMResourceId knobId, const MMTaskCallback& valueCallback)
    : VPLObjSlider(scene, model, knobId, MMTaskCallback()), mValueCallback(valueCallback) {}

void VPLPercentageSlider::MoveKnob(const VPLPickEvent& event) {
  VPLObjSlider::MoveKnob(event);
  PostOwned(mValueCallback);
}

float VPLPercentageSlider::GetValue() const {
  const float width = mTrackMax.mX - mTrackMin.mX;
  if (width == 0.0f) return 0.0f;
  return (GetKnob().GetWorldPosition().mX - mTrackMin.mX) / width;
}

void VPLPercentageSlider::SetValue(float value) { PlaceKnob(KnobAt(value)); }

void VPLIntensityPercentageSlider::ResetKnob() {
  VPLObjSlider::ResetKnob();
  if (mMaterializer == nullptr) return;
  if (mMaterializer->GetSpecularPower() > 1.0f) mMaterializer->SetSpecularPower(1.0f);
  PlaceKnob(KnobAt(1.0f - mMaterializer->GetSpecularPower()));
}

void VPLIntensityPercentageSlider::MoveKnob(const VPLPickEvent& event) {
  VPLPercentageSlider::MoveKnob(event);
  if (mMaterializer == nullptr) return;
  const float intensity = 1.0f - GetValue();
  mMaterializer->SetSpecularPower(intensity);
  mMaterializer->SetDiffuseCoefficient(intensity);
}

void VPLOpacityPercentageSlider::ResetKnob() {
  VPLObjSlider::ResetKnob();
  if (mMaterializer != nullptr) PlaceKnob(KnobAt(mMaterializer->GetColor().mA));
}

void VPLOpacityPercentageSlider::MoveKnob(const VPLPickEvent& event) {
  VPLPercentageSlider::MoveKnob(event);
  if (mMaterializer == nullptr) return;
  MM3DColor color = mMaterializer->GetColor();
  MM3DColor second = mMaterializer->GetSecondColor();
  const float f = GetValue();
  const float alpha = f < kOpaqueBelow ? 0.0f : (f > kMostTransparent ? kMostTransparent : f);
  color.mA = alpha;
  second.mA = alpha;
  mMaterializer->SetColor(color);
  mMaterializer->SetSecondColor(second);
}
