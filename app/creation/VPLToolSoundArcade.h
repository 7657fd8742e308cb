#pragma once
// The arcade tool sound: a channel of its own for every tag the tool's
// script has, bound to that tag's sound, so that sounds of different
// moments play side by side; and the tools' own kinds on it: the rotate
// tool's accents on long steps, the draw and freehand tools' accents on
// fast steps and sharp turns of the stroke.

#include "app/creation/VPLToolSound.h"
#include "app/creation/VPLToolSoundLongSteps.h"

#include <array>
#include <memory>

class RU3DArcadeSoundChannel;

class VPLToolSoundArcade : public VPLToolSound {
 public:
  static constexpr int32_t kInterval = 500;

  VPLToolSoundArcade(VPLSceneCreationArea* area, MMResourceId scriptId);
  // Stops everything where the sound started.
  ~VPLToolSoundArcade() override;

  void StopAll(const MM3DVector& position, bool alternate) override;

  // The channel of the tag; null when the tag or its sound is missing.
  RU3DArcadeSoundChannel* GetChannel(int16_t tag) const;

 protected:
  RU3DLogicalSoundChannel* ChannelOf(int16_t tag) const override;

  std::array<std::unique_ptr<RU3DArcadeSoundChannel>, kVPLSoundTagCount> mChannels;
};

using VPLToolSoundRotate = VPLToolSoundLongSteps<VPLToolSoundArcade>;

// Accents where the stroke jumps (summed coordinates beyond kJump) or turns
// by more than kSharpTurn radians between two steps.
class VPLToolSoundDraw : public VPLToolSoundArcade {
 public:
  static constexpr float kJump = 15.0f;
  static constexpr float kSharpTurn = 2.0f;
  static constexpr float kLeastStep = 0.001f;
  using VPLToolSoundArcade::VPLToolSoundArcade;
  void PlayDrag(const MM3DVector& position, bool alternate) override;
  void SetStart(const MM3DVector& position, bool alternate) override;
  // Whether the step from the current position to the new one is an
  // accent; a step that is no jump turns the stroke's direction.
  bool TakeStep(const MM3DVector& position);
  float GetDirection() const { return mDirection; }

 private:
  float mDirection = 0.0f;
};

// The freehand tool's strokes sound as the draw tool's.
class VPLToolSoundFreehandShape : public VPLToolSoundDraw {
 public:
  using VPLToolSoundDraw::VPLToolSoundDraw;
};
