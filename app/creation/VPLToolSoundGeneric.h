#pragma once
// The generic tool sound: every moment on two positional channels of the
// area's sound group, one for the one-shots and one for the loop; and the
// tools' own kinds on it: the move tool's accents on long steps, the scale
// and primitive tools' loop pitch.

#include "app/creation/VPLToolSound.h"
#include "app/creation/VPLToolSoundLongSteps.h"

#include <memory>

class RU3DGenericSoundChannel;

// 16.16 fixed point: the sound's own rate; and a pitch that is left alone.
constexpr int32_t kVPLUnitPitch = 65536;
constexpr int32_t kVPLKeepPitch = -1;

class VPLToolSoundGeneric : public VPLToolSound {
 public:
  static constexpr int32_t kOneShotInterval = 500;
  static constexpr int32_t kLoopInterval = 250;

  VPLToolSoundGeneric(VPLSceneCreationArea* area, MMResourceId scriptId);
  // Stops everything where the sound started.
  ~VPLToolSoundGeneric() override;

  void StopAll(const MM3DVector& position, bool alternate) override;

  // Null while the area has no sound group.
  RU3DGenericSoundChannel* GetOneShotChannel() const { return mOneShot.get(); }
  RU3DGenericSoundChannel* GetLoopChannel() const { return mLoop.get(); }

 protected:
  // The loop's two tags sound on the loop channel, every other on the
  // one-shot channel.
  RU3DLogicalSoundChannel* ChannelOf(int16_t tag) const override;

  std::unique_ptr<RU3DGenericSoundChannel> mOneShot;
  std::unique_ptr<RU3DGenericSoundChannel> mLoop;
};

using VPLToolSoundMove = VPLToolSoundLongSteps<VPLToolSoundGeneric>;

// The loop rises as the object grows and falls as it shrinks, within
// kPitchRange of the start.
class VPLToolSoundScale : public VPLToolSoundGeneric {
 public:
  static constexpr float kPitchRange = 10.0f;
  using VPLToolSoundGeneric::VPLToolSoundGeneric;
  void PlayExtra(const MM3DVector& position, bool alternate) override;
  // With Shift the distance from the start counts, rising to the right;
  // without, the height, rising upward. kVPLKeepPitch at the start and from
  // the range on.
  static int32_t Pitch(const MM3DVector& start, const MM3DVector& position, bool alternate);
};

// The loop rises from 1.0 to 1.5 times its rate as the shape is drawn out
// up to kPitchRange from the start.
class VPLToolSoundPrimativeShape : public VPLToolSoundGeneric {
 public:
  static constexpr float kPitchRange = 50.0f;
  using VPLToolSoundGeneric::VPLToolSoundGeneric;
  void PlayExtra(const MM3DVector& position, bool alternate) override;
  static int32_t Pitch(const MM3DVector& start, const MM3DVector& position);
};
