#pragma once
// The character tool's palette button. It makes sure the creation has
// Pomble and opens its options: six part buttons choosing a body part, a
// preview of that part alone, a pose slider on a half circle (the preview
// follows every knob move, the character takes the pose when the knob is
// let go, switching the part on) and, once all six parts are on, the
// perform and repeat toggles. The space key sways the character's first
// blend node while the button is current. The area keeps the move tool.

#include "app/creation/VPLObjButtonTool.h"

#include <cstdint>
#include <memory>

class VPLObjCreationChar;
class VPLPomblePartButton;
class VPLPomblePreviewObject;
class VPLPombleSlider;
class VPLPombleVisual;
class VPLToggleButtonObject;

class VPLObjButtonToolPomble : public VPLObjButtonTool {
 public:
  // The tool the area makes the move tool while the character is posed.
  static constexpr int32_t kCharacterTool = 10;
  // The space key's sway runs between these values, this far a key press.
  static constexpr float kKeyPoseMax = 4.0f;
  static constexpr float kKeyPoseStep = 0.01f;

  using VPLObjButtonTool::VPLObjButtonTool;
  ~VPLObjButtonToolPomble() override;

  bool HandleKey(const MMKeyEvent& event) override;
  void Engage() override;
  void Release() override;
  void OnSceneActivated() override;
  void OnCreationReset() override;
  void OnUndo() override { OnSceneActivated(); }
  // The perform toggle shows "play" (the screen calls it when a
  // performance ends).
  virtual void ResetPerformToggle();

  // Makes the part the current one: the preview shows it alone, placed for
  // it, and the knob shows its pose.
  void SelectPart(int32_t part);
  // The current part's pose on the preview for an angle of 0..pi; with
  // commit an undo point first and the preview's part switched on.
  void ApplyPose(float angle, bool commit);
  // The knob was let go: the character takes the preview's pose of the
  // current part, which is switched on.
  void PoseCharacter();
  void OnPerformToggled();
  void OnOptionToggled();
  // Every part the preview does not show goes back to pose 0.
  void ResetHiddenPartPoses();

  // Null when the creation has none.
  VPLObjCreationChar* Character() const;
  VPLPombleSlider* GetPoseSlider() const { return mPoseSlider; }
  VPLPombleVisual* GetPreviewVisual() const { return mPreviewVisual; }
  VPLPomblePreviewObject* GetPreview() const { return mPreview; }
  VPLObj* GetPedestal() const { return mPedestal.get(); }
  VPLToggleButtonObject* GetPerformToggle() const { return mPerformToggle; }
  VPLToggleButtonObject* GetOptionToggle() const { return mOptionToggle; }
  VPLPomblePartButton* GetPartButtons() const { return mPartButtons; }
  float GetKeyPose() const { return mKeyPose; }
  // The body part of the run, the head until another is chosen.
  static int32_t GetCurrentPart();

 private:
  void AddToggles();
  void AddPreview();
  void AddPartButtons();
  // Adds the character when the creation has none.
  void EnsureCharacter();
  // The toggles show exactly while the character has all its parts.
  void ShowToggles();
  void SetTogglesShown(bool shown);
  void PlacePreview(int32_t part);
  // A new performance after a pose when the settings ask for it.
  static bool PerformsAfterPose();
  void StepKeyPose();
  void ForgetOptions();

  VPLPombleSlider* mPoseSlider = nullptr;
  VPLPombleVisual* mPreviewVisual = nullptr;
  VPLPomblePreviewObject* mPreview = nullptr;
  VPLToggleButtonObject* mPerformToggle = nullptr;
  VPLToggleButtonObject* mOptionToggle = nullptr;
  VPLPomblePartButton* mPartButtons = nullptr;
  std::unique_ptr<VPLObj> mPedestal;
  float mKeyPose = 0.0f;
  bool mKeyPoseRising = true;
};
