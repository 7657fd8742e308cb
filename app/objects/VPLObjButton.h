#pragma once
// The screens' buttons: clickable objects whose look and sounds come from a
// button-definition table: the frame ranges of the model's animation played
// on hover, press and click, the rest frame, and a sound list for each
// outcome. The plain button fires nothing; its three subclasses post their
// callback on the click, the press or the double-click, to run just after
// the input has been handled.

#include "app/objects/VPLObjEvent.h"

#include <cstdint>

// The tags of a button-definition table.
enum VPLButtonTag : int16_t {
  kVPLModelTag = 0,
  kVPLToolNumberTag = 1,
  kVPLAnswerTag = 5,
  kVPLToggleLookTag = 8,
  kVPLHoverFramesTag = 9,
  kVPLRestFramesTag = 11,
  kVPLPressFramesTag = 13,
  kVPLToggleFramesTag = 15,
  kVPLClickFramesTag = 17,
  kVPLClickSoundTag = 19,
  kVPLPressSoundTag = 20,
  kVPLHoverOnSoundTag = 21,
  kVPLHoverOffSoundTag = 22,
  kVPLDoubleClickSoundTag = 23,
  kVPLDragSoundTag = 24,
  kVPLReleaseOutsideSoundTag = 25,
  kVPLFrameRateTag = 26
};

class VPLObjButton : public VPLObjEvent {
 public:
  // The frame rate of a table without one, and always of the toggle range.
  static constexpr float kDefaultFrameRate = 30.0f;

  // With a definition the button shows its rest frame; -1 makes it silent
  // and still.
  VPLObjButton(MMScene* scene, const UURefCount<MM3DModel>& model, const MMTaskCallback& callback,
               MMResourceId definition);

  void OnHoverOn() override;
  void OnHoverOff() override;
  void OnPress(const VPLPickEvent& event) override;
  void OnRelease(const VPLPickEvent& event) override;
  void OnDoubleClick() override;
  void OnDrag(const VPLPickEvent& event) override;
  void OnReleaseOutside(const VPLPickEvent& event) override;

  MMResourceId GetDefinition() const { return mDefinition; }
  bool IsHovered() const { return mHovered; }

  // A frame of the ranges in clip milliseconds, truncated toward zero.
  static int32_t FrameTime(int32_t frame, float rate);

 protected:
  void SetDefinition(MMResourceId definition) { mDefinition = definition; }
  // Plays the range whose first frame the tag holds (the last frame is the
  // next tag's); false when the definition lacks it.
  bool PlayRange(int16_t firstTag, bool atDefaultRate = false);
  // Shows the last frame of the rest range, else of the click range.
  bool ShowRestFrame();
  // The sound list the tag names, placed at the button.
  void PlaySound(int16_t listTag);

 private:
  bool PlayFrames(int16_t firstTag, bool atDefaultRate, bool lastFrameOnly);

  MMResourceId mDefinition;
};

// Posts its callback on the click.
class VPLOnUpButtonObject : public VPLObjButton {
 public:
  using VPLObjButton::VPLObjButton;
  void OnRelease(const VPLPickEvent& event) override;
};

// Posts its callback on the press.
class VPLOnDownButtonObject : public VPLObjButton {
 public:
  using VPLObjButton::VPLObjButton;
  void OnPress(const VPLPickEvent& event) override;
};

// Posts its callback on the double-click.
class VPLOnDblClickButtonObject : public VPLObjButton {
 public:
  using VPLObjButton::VPLObjButton;
  void OnDoubleClick() override;
};
