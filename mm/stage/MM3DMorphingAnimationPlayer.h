#pragma once
// A player that, when a new play starts while one runs, cross-fades from
// the pose at the clip time the old play stood at to the new play's pose
// over a morph time. It neither loops nor has a completion callback.

#include "foundation/uu/UUCallback.h"
#include "foundation/uu/UUOwned.h"
#include "mm3d/MM3DPlaySpan.h"

#include <cstdint>

class MM3DAnimationClip;
class MMScene;
class MMStage;

class MM3DMorphingAnimationPlayer {
 public:
  MM3DMorphingAnimationPlayer(MMScene* scene, MM3DAnimationClip* clip);
  ~MM3DMorphingAnimationPlayer();
  MM3DMorphingAnimationPlayer(const MM3DMorphingAnimationPlayer&) = delete;
  MM3DMorphingAnimationPlayer& operator=(const MM3DMorphingAnimationPlayer&) = delete;

  // Plays from clip time start to end (ms); while playing, the first morph
  // milliseconds blend from where the old play stood.
  void Play(int32_t start, int32_t end, int32_t morph);
  void Stop();
  bool IsPlaying() const { return mPlaying; }
  // The clip time in seconds now; finished tells whether the span has
  // elapsed.
  float GetCurrentTime(bool* finished = nullptr) const;
  void Pulse();

  int32_t GetClipDuration() const;
  int32_t GetClipStart() const;
  int32_t GetClipEnd() const;

 private:
  int32_t Now() const;
  MMStage* Stage() const;

  MMScene* mScene;
  MM3DAnimationClip* mClip;
  UUOwned<UUCallback> mPulseCallback;
  int32_t mStartClock = 0;
  MM3DPlaySpan mSpan;
  float mMorphTime = 0.0f;
  float mPreviousTime = 0.0f;
  bool mPlaying = false;
};
