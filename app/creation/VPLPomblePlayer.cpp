#include "app/creation/VPLPomblePlayer.h"

#include "mm/stage/MMScene.h"
#include "mm/stage/MMStage.h"
#include "mm3d/MM3DAnimationClip.h"

int32_t VPLPomblePlayer::FrameToMilliseconds(int32_t frame) {
  return static_cast<int32_t>(static_cast<int64_t>(frame) * 1000 / kFramesPerSecond);
}

VPLPomblePlayer::VPLPomblePlayer(MMScene* scene, MM3DAnimationClip* clip, const void* taskOwner)
    : MM3DAnimationPlayer(scene, clip), mTaskOwner(taskOwner) {}

void VPLPomblePlayer::PlayFrames(int32_t startFrame, int32_t endFrame, bool loop) {
  Stop();
  const int32_t start = FrameToMilliseconds(startFrame);
  const int32_t end = FrameToMilliseconds(endFrame);
  mSpan = MM3DPlaySpan::FromTo(start, end);
  mLoop = loop;
  Play(start, end, loop);
  mStartClock = Now();
}

// A loop of no length stays at its start instead of dividing by its
// length (the span's own rule).
void VPLPomblePlayer::Pulse() {
  bool finished = false;
  const int32_t clipTime =
      mSpan.ClipTimeAt(static_cast<int64_t>(Now()) - mStartClock, IsLooping(), finished);
  if (finished) mCompletionTask.Post(mTaskOwner);
  GetClip()->Apply(MM3DPlaySpan::ToSeconds(clipTime));
  if (!finished) return;
  mPausedElapsed = kNothingPaused;
  Finish();
}

bool VPLPomblePlayer::IsStanding() const {
  return mSpan.mStartTime == 0 && mSpan.mSpan == FrameToMilliseconds(1);
}

bool VPLPomblePlayer::Resume() {
  if (mPausedElapsed == kNothingPaused) return false;
  Play(mSpan.mStartTime, mSpan.mStartTime + mSpan.mSpan, mLoop);
  mStartClock = Now() - mPausedElapsed;
  return true;
}
