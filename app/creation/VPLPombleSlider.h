#pragma once
// The character tool's pose slider: its knob runs on the right half of a
// circle about the centre A through the rim point B, and only the
// pointer's height moves it. The knob's angle, 0 at the bottom to pi at
// the top, is the current part's pose on the preview at every move; when
// the knob is let go the character takes it.

#include "app/objects/VPLObjSlider.h"

class VPLObjButtonToolPomble;

class VPLPombleSlider : public VPLObjSlider {
 public:
  // The vector tables of the centre and of the rim point.
  static constexpr MMResourceId kCentreTable = 199;
  static constexpr MMResourceId kRimTable = 201;
  static constexpr float kReleasedAlpha = 0.35f;

  VPLPombleSlider(MMScene* scene, const UURefCount<MM3DModel>& model, MMResourceId knobId,
                  const MMTaskCallback& callback, VPLObjButtonToolPomble* tool);

  void OnHoverOn() override;
  void OnHoverOff() override;
  void OnRelease(const VPLPickEvent& event) override;
  // A ray that does not reach the slider's plane leaves the knob and the
  // pose as they were.
  MM3DVector ComputeKnobPosition(const VPLPickEvent& event) override;
  // The knob at the place of a pose, 0..1.
  void SetFromValue(float pose);

  const MM3DVector& GetCentre() const { return mCentre; }
  float Radius() const;

 private:
  void ApplyHoverLook(float alpha, const MM3DColor& color);
  // The knob on the circle at the angle from the centre's level.
  MM3DVector OnCircle(float angle, float w) const;

  VPLObjButtonToolPomble* mTool;
  MM3DVector mCentre{0.0f, 0.0f, 0.0f, 1.0f};
  MM3DVector mRim{0.0f, 0.0f, kKnobDepth, 1.0f};
};
