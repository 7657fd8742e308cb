#pragma once
// The camera pads of the creation screen. Once the pointer has rested on a
// pad for half a second, every event that reaches it moves the creation's
// camera one step toward where the pointer lies on the pad, faster the
// nearer it is to the pad's centre lines; the pad tilts toward the
// direction and plays a start sound, then a looping one. The rotate pad
// raises, lowers and orbits the camera; the zoom pad moves it in or out.
// No click is needed and a pad never keeps the mouse.

#include "app/objects/VPLObjEvent.h"

#include <cstdint>

class VPLCameraMoves;
class VPLSceneBase;

class VPLObjEventCamera : public VPLObjEvent {
 public:
  // How long the pointer rests before the pad acts, in ms of scene time.
  static constexpr int32_t kArmDelay = 500;
  static constexpr float kTilt = 0.2617994f;  // 15 degrees
  // The pad's frame ranges play at this rate.
  static constexpr float kFrameRate = 30.0f;
  enum PadDirection : int32_t { kNoDirection = 0, kUp = 1, kRight = 2, kLeft = 4, kDown = 8 };

  VPLObjEventCamera(VPLSceneBase* scene, const UURefCount<MM3DModel>& model,
                    const MMTaskCallback& callback = MMTaskCallback());

  // Also the definition of the hover sound and frames.
  void SetScriptId(MMResourceId id) override;
  // Never keeps the mouse.
  bool HandleEvent(const VPLPickEvent& event) override;
  void OnHoverOn() override;
  void OnHoverOff() override;
  virtual bool Step(const VPLPickEvent& /*event*/) { return false; }
  // Also sets the rate of the step.
  virtual int32_t Direction(const VPLPickEvent& /*event*/) { return kNoDirection; }
  virtual void ComputeCentre();

  // The camera the pad moves, its owner's; null moves nothing.
  void SetCameraMoves(VPLCameraMoves* moves) { mMoves = moves; }
  float GetRate() const { return mRate; }
  bool IsArmed() const { return mArmed; }
  const MM3DVector& GetCentre() const { return mCentre; }
  float GetHalfWidth() const { return mHalfWidth; }
  float GetHalfHeight() const { return mHalfHeight; }

 protected:
  // The pointer's place on the pad's plane from its centre: dx to the left,
  // dy upward; false when the ray misses the plane.
  bool PointerOffset(const VPLPickEvent& event, float& dx, float& dy) const;
  // (half - |d|) / half; 0 for a pad without extent.
  static float RateAt(float half, float d);
  // A new direction stops the step sound and starts anew.
  void TakeDirection(int32_t direction);
  // The start sound on a new direction, else the loop when nothing plays.
  void PlayStepSound(MMResourceId start, MMResourceId loop);
  // The scene's sound, reached through these so a test can hear it.
  virtual void PlaySound(MMResourceId sound, bool loop);
  virtual void StopSound();
  virtual bool IsSoundPlaying() const;

  VPLCameraMoves* mMoves = nullptr;
  float mRate = 1.0f;

 private:
  int32_t Now() const;
  // Sound list 21 of the definition and its rest frames, looping or once.
  void PlayHoverLook(bool loop);

  VPLSceneBase* mScene;
  MM3DVector mCentre{0.0f, 0.0f, 0.0f, 1.0f};
  float mHalfWidth = 0.0f;
  float mHalfHeight = 0.0f;
  int32_t mHoverStart = 0;
  bool mArmed = false;
  MMResourceId mDefinition = kMMNoResource;
  int32_t mLastDirection = kNoDirection;
  bool mDirectionChanged = true;
};

// Raises and lowers the camera 30 degrees a step at full rate, orbits it
// 15 degrees; the start and loop sounds differ by direction.
class VPLObjEventCameraRotate : public VPLObjEventCamera {
 public:
  static constexpr float kRaiseStep = 0.5235988f;  // 30 degrees
  static constexpr float kOrbitStep = 0.2617994f;  // 15 degrees

  using VPLObjEventCamera::VPLObjEventCamera;
  bool Step(const VPLPickEvent& event) override;
  int32_t Direction(const VPLPickEvent& event) override;
};

// Zooms in above the centre line (on it too) and out below, 2 a step at
// full rate.
class VPLObjEventCameraZoom : public VPLObjEventCamera {
 public:
  static constexpr float kZoomStep = 2.0f;
  static constexpr MMResourceId kStartSound = 54;
  static constexpr MMResourceId kLoopSound = 55;

  using VPLObjEventCamera::VPLObjEventCamera;
  bool Step(const VPLPickEvent& event) override;
  int32_t Direction(const VPLPickEvent& event) override;
};
