#pragma once
// Sliders whose value is the knob's place along the track, 0 at its left
// end and 1 at its right, with a callback queued after every knob move;
// and the two that edit the current material: intensity (the diffuse
// coefficient and specular power, 1 at the left end) and opacity (the
// transparency of both colours, opaque in the first tenth and never above
// 0.9). The material sliders change the materializer their owner hands
// them; without one they only move.

#include "app/objects/VPLObjSlider.h"

class VPLMaterializer;

class VPLPercentageSlider : public VPLObjSlider {
 public:
  VPLPercentageSlider(MMScene* scene, const UURefCount<MM3DModel>& model, MMResourceId knobId,
                      const MMTaskCallback& valueCallback);

  void MoveKnob(const VPLPickEvent& event) override;
  // 0 for a track without width.
  float GetValue() const;
  // Not clamped: values outside 0 to 1 put the knob beyond the ends.
  void SetValue(float value);
  void SetMaterializer(VPLMaterializer* materializer) { mMaterializer = materializer; }

 protected:
  VPLMaterializer* mMaterializer = nullptr;

 private:
  MMTaskCallback mValueCallback;
};

class VPLIntensityPercentageSlider : public VPLPercentageSlider {
 public:
  using VPLPercentageSlider::VPLPercentageSlider;
  // A specular power above 1 is brought down to 1 first.
  void ResetKnob() override;
  void MoveKnob(const VPLPickEvent& event) override;
};

class VPLOpacityPercentageSlider : public VPLPercentageSlider {
 public:
  // Below this share of the track the colours are opaque.
  static constexpr float kOpaqueBelow = 0.1f;
  static constexpr float kMostTransparent = 0.9f;

  using VPLPercentageSlider::VPLPercentageSlider;
  void ResetKnob() override;
  void MoveKnob(const VPLPickEvent& event) override;
};
