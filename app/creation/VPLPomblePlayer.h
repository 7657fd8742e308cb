#pragma once
// Plays ranges of Pomble's animation given in frames at 30 a second, and
// when a range that does not loop has played to its end, posts the task
// that chains the next step of the show (it runs at the task manager's
// next run, never inside the frame that ended the range). Stage thread
// only.

#include "mm/stage/MM3DAnimationPlayer.h"
#include "mm/tasks/MMTaskCallback.h"
#include "mm3d/MM3DPlaySpan.h"

#include <cstdint>

class VPLPomblePlayer : public MM3DAnimationPlayer {
 public:
  static constexpr int32_t kFramesPerSecond = 30;
  // No play to take up again.
  static constexpr int32_t kNothingPaused = -1;

  // Frame k starts at k x 1000 / 30 ms, truncated.
  static int32_t FrameToMilliseconds(int32_t frame);

  // The completion task is posted on behalf of the owner, so it is
  // withdrawn when the owner goes first.
  VPLPomblePlayer(MMScene* scene, MM3DAnimationClip* clip, const void* taskOwner);

  // Stops a running play first, so the frame notification is never taken
  // twice; an end before the start plays backwards.
  virtual void PlayFrames(int32_t startFrame, int32_t endFrame, bool loop);
  // Sets the clip; a play that does not loop and has passed its end posts
  // the completion task, stops and runs the completion callback once.
  void Pulse() override;
  // Takes up an interrupted play; false when there is none.
  virtual bool Resume();
  // An empty task clears it.
  void SetCompletionTask(const MMTaskCallback& task) { mCompletionTask = task; }
  void SetPausedElapsed(int32_t elapsed) { mPausedElapsed = elapsed; }
  int32_t GetPausedElapsed() const { return mPausedElapsed; }
  // Whether the last play is the first frame, which stands the character.
  bool IsStanding() const;
  // The range of the last play, in ms of the clip.
  const MM3DPlaySpan& GetSpan() const { return mSpan; }

 private:
  const void* mTaskOwner;
  MMTaskCallback mCompletionTask;
  MM3DPlaySpan mSpan;
  bool mLoop = false;
  int32_t mStartClock = 0;
  int32_t mPausedElapsed = kNothingPaused;
};
