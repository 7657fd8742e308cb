#pragma once
// The spinning preview of the current tool option on the palette: it turns
// about its y axis at 15 degrees a second whatever the frame rate, and
// pulses its colour between two colours when they differ in red, green and
// blue. Its scene ticks it from construction to destruction.

#include "app/objects/VPLObj.h"

class VPLSceneBase;

class VPLObjDynamicPreview : public VPLObj {
 public:
  // 15 degrees, in radians per second.
  static constexpr float kTurnRate = 0.2617994f;
  // How far one frame moves the pulse between its colours.
  static constexpr float kPulseStep = 0.05f;

  VPLObjDynamicPreview(VPLSceneBase* scene, const UURefCount<MM3DModel>& model);

  void Tick(int32_t now) override;
  // The second colour of a materializer applied to the preview.
  void TakeMaterialColors(const MM3DColor& color, const MM3DColor& second) override;
  // One step of the pulse: the colour between A and B at the phase, then
  // the phase moves on, turning at each end.
  virtual void StepPulse();
  virtual void SetColorA(float r, float g, float b, float a);
  virtual void SetColorB(float r, float g, float b, float a);

  bool IsPulsing() const { return mPulsing; }
  float GetPhase() const { return mPhase; }

 private:
  void UpdatePulsing();

  int32_t mLastTick;
  MM3DColor mColorA{0.0f, 0.0f, 0.0f, 0.0f};
  MM3DColor mColorB{0.0f, 0.0f, 0.0f, 0.0f};
  bool mPulsing = false;
  // The pulse starts at colour A, rising toward B.
  bool mRising = true;
  float mPhase = 0.0f;
};
