#pragma once
// Plays an animation clip on a scene's clock: once per frame, through a
// stage notification, it sets the clip to the clip time that the elapsed
// milliseconds reach, forwards or backwards, looping or stopping at the
// end, and then runs the completion callback. A paused scene's clock stands
// still, and so does the clip.

#include "foundation/uu/UUCallback.h"
#include "foundation/uu/UUOwned.h"
#include "mm3d/MM3DPlaySpan.h"

#include <cstdint>

class MM3DAnimationClip;
class MMScene;
class MMStage;

class MM3DAnimationPlayer {
 public:
  // The clip belongs to the model and must outlive the play.
  MM3DAnimationPlayer(MMScene* scene, MM3DAnimationClip* clip);
  // Leaves no notification behind.
  virtual ~MM3DAnimationPlayer();
  MM3DAnimationPlayer(const MM3DAnimationPlayer&) = delete;
  MM3DAnimationPlayer& operator=(const MM3DAnimationPlayer&) = delete;

  // Plays from clip time start to end (ms); end before start plays
  // backwards. A play started while playing replaces the current one.
  virtual void Play(int32_t start, int32_t end, bool looping);
  // Called once per frame while playing.
  virtual void Pulse();

  // A play over the clip's own range.
  void PlayClip(bool looping);
  // A play from the clip's start that does not end in practice.
  void PlayOpenEnded();
  // Ends the play where it stands; the completion callback stays set and
  // is not run.
  void Stop();
  bool IsPlaying() const { return mPlaying; }
  bool IsLooping() const { return mPlaying && mLooping; }
  // Replaces (and deletes) the callback held before.
  void SetCompletionCallback(UUCallback* callback) { mCompletionCallback.Reset(callback); }

  int32_t GetClipDuration() const;
  int32_t GetClipStart() const;
  int32_t GetClipEnd() const;

 protected:
  MMScene* GetScene() const { return mScene; }
  MM3DAnimationClip* GetClip() const { return mClip; }
  // The scene's clock (ms).
  int32_t Now() const;
  // Stops, then runs and deletes the completion callback.
  void Finish();

 private:
  void Start(const MM3DPlaySpan& span, bool looping);
  MMStage* Stage() const;
  void Unregister();

  MMScene* mScene;
  MM3DAnimationClip* mClip;
  UUOwned<UUCallback> mPulseCallback;
  UUOwned<UUCallback> mCompletionCallback;
  int32_t mStartClock = 0;
  MM3DPlaySpan mSpan;
  bool mLooping = false;
  bool mPlaying = false;
};
