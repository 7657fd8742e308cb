#pragma once
// A model's motion: a time range its players play and the animations that
// a time is applied to, in order (the later of two animations driving one
// field wins). The clip owns its animations and holds no current time.

#include "foundation/uu/UUGrowableArray.h"
#include "foundation/uu/UUOwned.h"
#include "mm3d/MM3DAnimation.h"

#include <cstdint>

class MM3DAnimationClip {
 public:
  MM3DAnimationClip() = default;
  // Takes over the animations of the array.
  MM3DAnimationClip(float startTime, float endTime, UUGrowableArray<MM3DAnimation*>& animations);
  ~MM3DAnimationClip();
  MM3DAnimationClip(const MM3DAnimationClip&) = delete;
  MM3DAnimationClip& operator=(const MM3DAnimationClip&) = delete;

  int32_t GetCount() const { return mAnimations.Count(); }
  MM3DAnimation* GetAnimation(int32_t index) const { return mAnimations[index]; }
  float GetStartTime() const { return mStartTime; }
  float GetEndTime() const { return mEndTime; }
  void SetStartTime(float seconds) { mStartTime = seconds; }
  void SetEndTime(float seconds) { mEndTime = seconds; }

  void AddAnimation(UUOwned<MM3DAnimation> animation);
  // Takes the animation out, closing the gap, and hands it to the caller.
  UUOwned<MM3DAnimation> RemoveAnimation(int32_t index);

  void Apply(float seconds);
  void ApplyBlended(float time1, float weight1, float time2, float weight2);
  // The same with every argument in 1/4096.
  void ApplyFixed(int32_t time);
  void ApplyBlendedFixed(int32_t time1, int32_t weight1, int32_t time2, int32_t weight2);

  // The range the animations' curves cover; a clip without animations
  // answers 0 for each.
  float GetEarliestStart() const;
  float GetLatestEnd() const;
  float GetAnimationSpan() const { return GetLatestEnd() - GetEarliestStart(); }

  // Start, end, count, then each animation with its kind code.
  bool Write(UUWriter& writer, MM3DModDatabase& database) const;

 private:
  UUGrowableArray<MM3DAnimation*> mAnimations;
  float mStartTime = 0.0f;
  float mEndTime = 0.0f;
};

// Reads a clip record into a new clip that replaces what clip held, even
// when the read fails; the clip keeps the animations read before a
// failure.
bool MM3DReadAnimationClip(UUReader& reader, MM3DModDatabase& database,
                           UUOwned<MM3DAnimationClip>& clip);
